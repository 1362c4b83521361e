// Dosage codes, and earlier pharmacy and central supply requests of patients
// still in the unit, so that the request forms have something to reprint.

#include "demoparts.h"

#include "session/module1.h"

#include <cmath>

namespace chemodesk::hospital::demo {

namespace {

void dosages(Connection &c)
{
    struct Entry {
        const char *code;
        const char *name;
        int frequency;
    };
    const Entry entries[] = {
        {"OD", "ONCE A DAY", 1},
        {"BID", "TWICE A DAY", 2},
        {"TID", "THREE TIMES A DAY", 3},
        {"QID", "FOUR TIMES A DAY", 4},
        {"Q4H", "EVERY 4 HOURS", 6},
        {"Q6H", "EVERY 6 HOURS", 4},
        {"Q8H", "EVERY 8 HOURS", 3},
        {"Q12H", "EVERY 12 HOURS", 2},
        {"HS", "AT BEDTIME", 1},
        {"PRN", "AS NEEDED", 1},
        {"STAT", "AT ONCE", 1},
        {"PREMED", "BEFORE CHEMOTHERAPY", 1},
        {"CYCLE", "ONCE PER CHEMOTHERAPY CYCLE", 1},
    };
    std::vector<QStringList> rows;
    for (const Entry &e : entries)
        rows.push_back({str(QLatin1String(e.code)), str(QLatin1String(e.name)), num(e.frequency)});
    // Taken off the list: found by its code no more.
    rows.push_back(
        {str(QStringLiteral("QOD")), str(QStringLiteral("EVERY OTHER DAY")), num(1), flag(false)});
    for (size_t i = 0; i + 1 < rows.size(); ++i)
        rows[i] << flag(true);
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoDosage"),
               QStringLiteral("DosageID, Dosage, Frequency, isActive"), rows);
}

// The price a request carries, as the screens price it: out-patients
// (registration numbers ending in "B") on a personal or company account pay
// the out-patient price, everyone else the in-patient price.
double priceFor(const Registration &r, const Item &item)
{
    const bool outPatient = r.idNum.endsWith(QLatin1Char('B'));
    const bool hmo = !r.account.isEmpty() && !session::IsNumeric(r.account);
    return outPatient && !hmo ? item.priceOut : item.priceIn;
}

void requests(Connection &c, Random &random, const std::vector<Registration> &registrations,
              const std::vector<Item> &items)
{
    std::vector<const Item *> medicines, supplies;
    for (const Item &item : items) {
        if (item.inactive || item.onHand <= 0)
            continue;
        (item.location == QLatin1String("20") ? medicines : supplies).push_back(&item);
    }
    const char *dosageCodes[] = {"OD", "BID", "TID", "Q8H", "PRN", "PREMED"};
    const char *users[] = {"1002", "1004"};
    const char *remarks[] = {"", "", "FOR CYCLE 2", "STAT PLEASE", "PRE-MEDICATION", ""};

    std::vector<QStringList> rows;
    int requestNum = 500;
    int n = 0;
    for (const Registration &r : registrations) {
        if (r.discharged || r.billed || ++n % 9 != 1)
            continue;
        const QString doctorText =
            r.doctor.isEmpty() ? QString() : QStringLiteral("DR. ") + doctorName(r.doctor);
        for (int kind = 0; kind < 2; ++kind) {
            const bool pharmacy = kind == 0;
            if (!pharmacy && random.chance(40))
                continue;
            const auto &pool = pharmacy ? medicines : supplies;
            const QDateTime when =
                at(Today.addDays(-random.between(0, 20)), random.between(7, 19), random.below(60));
            const QString user = QLatin1String(random.pick(users));
            const int lines = random.between(2, 4);
            const size_t first = size_t(random.below(int(pool.size())));
            ++requestNum;
            for (int line = 0; line < lines; ++line) {
                const Item &item = *pool[(first + size_t(line) * 3) % pool.size()];
                const int quantity = random.between(1, 6);
                const double amount = std::round(priceFor(r, item) * quantity * 100) / 100;
                rows.push_back({num(requestNum),
                                str(r.hospNum),
                                str(r.idNum),
                                str(r.inPatient ? QStringLiteral("I") : QStringLiteral("O")),
                                str(item.id),
                                money(amount),
                                num(quantity),
                                pharmacy ? str(QLatin1String(random.pick(dosageCodes))) : null(),
                                date(when),
                                str(pharmacy ? QStringLiteral("PH") : QStringLiteral("CS")),
                                strOrNull(r.doctor),
                                strOrNull(doctorText),
                                str(user),
                                strOrNull(QLatin1String(random.pick(remarks))),
                                str(item.name),
                                str(QStringLiteral("ON")),
                                str(pharmacy ? QStringLiteral("Y") : QStringLiteral("N")),
                                pharmacy ? str(QString()) : str(QStringLiteral("0")),
                                str(item.location),
                                date(when)});
            }
        }
    }
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerRequest"),
               QStringLiteral("RequestNum, HospNum, IdNum, PatientType, ItemID, Amount, Quantity, "
                              "Dosage, RequestDate, RequestType, DoctorID, DoctorName, UserID, "
                              "Remarks, Description, StationID, ForPharmacy, Reference, "
                              "LocationID, SavedAt"),
               rows);
    // The next number to be drawn.
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerRequestNum"),
               QStringLiteral("CounterID, RequestNum"), {{num(1), num(requestNum + 1)}});
}

} // namespace

void loadRequests(Part &part)
{
    dosages(part.connection);
    requests(part.connection, part.random, part.loaded.registrations, part.loaded.items);
    if (part.extraRow)
        insertRows(part.connection, QStringLiteral("BUILD_FILE..tbcoDosage"),
                   QStringLiteral("DosageID, Dosage, Frequency"),
                   {{str(QStringLiteral("Q%1D").arg(part.random.between(2, 7))),
                     str(QStringLiteral("EVERY FEW DAYS")), num(1)}});
}

} // namespace chemodesk::hospital::demo
