#include "demodata.h"
#include "hospitaldb.h"
#include "surnames.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace chemodesk::hospital {

namespace {

using namespace demo;

// Generated hospital numbers are 8 digits from 20000001 up, admission numbers
// "3" and out-patient registration numbers "4" + "B" around the same 7-digit
// sequence: none can meet the demo data's 7-digit numbers or each other.
constexpr qlonglong FirstHospNum = 20000000;
constexpr qlonglong LastSequence = 9999999;
constexpr int RowsPerInsert = 500;
constexpr int RowsPerTransaction = 20000;

const QDate Today(2026, 12, 1);

// Literals prepared once: the same few hundred names and dates recur a million times.
struct Vocabulary {
    QStringList surnames, maleNames, femaleNames, barangays, streets, towns, provinces, hmos,
        companies, doctors, rooms;
    QStringList days;                   // "'yyyy-MM-dd" without the time and closing quote
    std::vector<double> surnameWeights; // cumulative

    const QString &surname(Random &random) const
    {
        const double u = double(random.next() >> 11) * (1.0 / 9007199254740992.0);
        const auto at = std::upper_bound(surnameWeights.begin(), surnameWeights.end(),
                                         u * surnameWeights.back());
        return surnames.at(std::min<qsizetype>(at - surnameWeights.begin(), surnames.size() - 1));
    }
    QDate firstDay;

    Vocabulary() : firstDay(1925, 1, 1)
    {
        // Rank r drawn with weight 1 / r^0.7: the first name about one in twenty.
        double total = 0;
        for (const char *s : GeneratedSurnames) {
            surnames << str(QString::fromUtf8(s));
            total += 1.0 / std::pow(double(surnames.size()), 0.7);
            surnameWeights.push_back(total);
        }
        for (const char *s : MaleNames)
            maleNames << str(QString::fromUtf8(s));
        for (const char *s : FemaleNames)
            femaleNames << str(QString::fromUtf8(s));
        for (const char *s : Barangays)
            barangays << str(QString::fromUtf8(s));
        for (const char *s : Streets)
            streets << QString::fromUtf8(s);
        for (const Place &p : Places) {
            towns << str(QString::fromUtf8(p.town));
            provinces << str(QString::fromUtf8(p.province));
        }
        for (const char *s : Hmos)
            hmos << str(QLatin1String(s));
        for (const char *s : Companies)
            companies << str(QLatin1String(s));
        for (int d = 101; d <= 120; ++d)
            doctors << str(QString::number(d));
        // The demo hospital's ordinary rooms.
        for (int n = 201; n <= 210; ++n)
            rooms << str(QString::number(n));
        for (int n = 301; n <= 310; ++n)
            rooms << str(QString::number(n));
        for (int n = 401; n <= 414; ++n)
            rooms << str(QString::number(n));
        for (int n = 1; n <= 6; ++n)
            rooms << str(QStringLiteral("ON-%1").arg(n, 2, 10, QLatin1Char('0')));
        for (QDate d = firstDay; d <= Today; d = d.addDays(1))
            days << QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd"));
    }

    // A date literal `daysBack` days before the reference day, at the given time.
    QString date(int daysBack, int hour, int minute) const
    {
        const qsizetype i = days.size() - 1 - daysBack;
        return days.at(i) + QStringLiteral(" %1:%2:00'")
                                .arg(hour, 2, 10, QLatin1Char('0'))
                                .arg(minute, 2, 10, QLatin1Char('0'));
    }
};

class Batch {
public:
    explicit Batch(const char *head) : head_(QLatin1String(head)) {}

    void add(const QString &values)
    {
        text_ += text_.isEmpty() ? head_ : QStringLiteral(", ");
        text_ += values;
    }
    void send(Connection &connection)
    {
        if (!text_.isEmpty())
            connection.Execute(text_);
        text_.clear();
    }

private:
    QString head_;
    QString text_;
};

qlonglong lastSequence(Connection &connection)
{
    const Recordset rs = connection.Execute(
        QStringLiteral(
            "SELECT MAX(HospNum) AS LastNum FROM PATIENT_DATA..tbMaster WHERE HospNum >= '%1'")
            .arg(FirstHospNum));
    if (rs.atEnd() || rs.Fields(QStringLiteral("LastNum")).IsNull())
        return 0;
    return rs.Fields(QStringLiteral("LastNum")).toLongLong() - FirstHospNum;
}

} // namespace

void generateRegistrations(Connection &connection, int count,
                           const std::function<void(int)> &progress)
{
    if (count <= 0)
        return;
    // Continue after the last generated patient, so a second run adds to the first.
    const qlonglong first = lastSequence(connection) + 1;
    if (first + count - 1 > LastSequence)
        throw DatabaseError(QStringLiteral("No room for %1 more generated patients").arg(count));

    static const Vocabulary words;
    Random random(quint64(first) * 7919 + 20261201);
    Batch master(
        "INSERT INTO PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, "
        "BirthDate, CivilStatus, HouseStreet, Barangay, Town, Province, SeniorCitizen, AccountNum, "
        "DateCreated) VALUES ");
    Batch admissions(
        "INSERT INTO PATIENT_DATA..tbPatient (IdNum, HospNum, AdmDate, DcrDate, BillingDate, "
        "RoomID, AccountNum, AttendingDr1) VALUES ");
    Batch flags("INSERT INTO PATIENT_DATA..tbPatient2 (IdNum, OkeyPH, OkeyCS) VALUES ");
    Batch outpatients(
        "INSERT INTO PATIENT_DATA..tbOutPatient (IdNum, HospNum, AdmDate, DcrDate, BillingDate, "
        "PatientType, ERNum, AccountNum, DoctorID1, RoomID) VALUES ");

    const int oldestVisit = int(QDate(2016, 1, 1).daysTo(Today));
    int written = 0;
    while (written < count) {
        Transaction transaction(connection);
        const int transactionEnd = std::min(count, written + RowsPerTransaction);
        while (written < transactionEnd) {
            const int batchEnd = std::min(transactionEnd, written + RowsPerInsert);
            for (; written < batchEnd; ++written) {
                const qlonglong sequence = first + written;
                const QString seq = QString::number(sequence).rightJustified(7, QLatin1Char('0'));
                const QString hospNum = QLatin1Char('\'') +
                                        QString::number(FirstHospNum + sequence) +
                                        QLatin1Char('\'');

                const bool female = random.chance(52);
                const int age = random.chance(8) ? random.between(0, 17) : random.between(18, 95);
                const int birthBack = age * 365 + random.below(365);
                const int place = random.below(int(words.towns.size()));
                // Visits spread evenly over the years. An admission lasts one to seven days
                // and an out-patient goes home the day he came, so only the admissions of the
                // last few days and today's out-patients are still in: a few hundred among a
                // million, as in a hospital's beds and clinics on any one day.
                const int visitBack = random.between(0, oldestVisit);
                const int hour = random.between(6, 20);
                const QString visit = words.date(visitBack, hour, random.below(60));
                const bool admitted = random.chance(35);
                const int stay = admitted ? random.between(1, 7) : 0;
                const bool current = admitted ? visitBack < stay : visitBack == 0;
                const QString closed = current ? null()
                                       : admitted
                                           ? words.date(visitBack - stay, 14, 0)
                                           : words.date(visitBack, std::min(23, hour + 3), 0);

                // Accounts: personal (Null or the hospital number), HMO or company.
                const int kind = random.below(100);
                const QString account =
                    kind < 25   ? null()
                    : kind < 45 ? hospNum
                    : kind < 80 ? words.hmos.at(random.below(int(words.hmos.size())))
                                : words.companies.at(random.below(int(words.companies.size())));

                master.add(QLatin1Char('(') + hospNum + QLatin1String(", ") +
                           words.surname(random) + QLatin1String(", ") +
                           (female ? words.femaleNames : words.maleNames).at(random.below(30)) +
                           QLatin1String(", ") + words.surname(random) +
                           (female ? QLatin1String(", 'F', ") : QLatin1String(", 'M', ")) +
                           words.date(birthBack, 0, 0) + QLatin1String(", '") +
                           QChar(age < 25 ? '1' : char('1' + random.below(4))) +
                           QLatin1String("', '") + QString::number(random.between(1, 999)) +
                           QLatin1Char(' ') +
                           words.streets.at(random.below(int(words.streets.size()))) +
                           QLatin1String("', ") +
                           words.barangays.at(random.below(int(words.barangays.size()))) +
                           QLatin1String(", ") + words.towns.at(place) + QLatin1String(", ") +
                           words.provinces.at(place) +
                           (age >= 60 ? QLatin1String(", 1, ") : QLatin1String(", 0, ")) + account +
                           QLatin1String(", ") + visit + QLatin1Char(')'));

                const QString doctor = words.doctors.at(random.below(int(words.doctors.size())));
                if (admitted) {
                    const QString idNum = QLatin1String("'3") + seq + QLatin1Char('\'');
                    admissions.add(QLatin1Char('(') + idNum + QLatin1String(", ") + hospNum +
                                   QLatin1String(", ") + visit + QLatin1String(", ") + closed +
                                   QLatin1String(", ") + closed + QLatin1String(", ") +
                                   words.rooms.at(random.below(int(words.rooms.size()))) +
                                   QLatin1String(", ") + account + QLatin1String(", ") + doctor +
                                   QLatin1Char(')'));
                    flags.add(
                        QLatin1Char('(') + idNum +
                        (random.chance(90) ? QLatin1String(", 1, 1)") : QLatin1String(", 0, 0)")));
                } else {
                    const int type = random.below(100);
                    const bool walkIn = type < 15;
                    const bool er = !walkIn && type < 25;
                    outpatients.add(QLatin1String("('4") + seq + QLatin1String("B', ") + hospNum +
                                    QLatin1String(", ") + visit + QLatin1String(", ") + closed +
                                    QLatin1String(", ") + closed +
                                    (walkIn ? QLatin1String(", 'W', ")
                                     : er   ? QLatin1String(", 'E', ")
                                            : QLatin1String(", 'O', ")) +
                                    (er ? QLatin1String("'ER") + seq + QLatin1Char('\'') : null()) +
                                    QLatin1String(", ") + (walkIn ? hospNum : account) +
                                    QLatin1String(", ") + doctor + QLatin1String(", 'OPD')"));
                }
            }
            master.send(connection);
            admissions.send(connection);
            flags.send(connection);
            outpatients.send(connection);
            if (progress)
                progress(written);
        }
        transaction.commit();
    }
}

} // namespace chemodesk::hospital
