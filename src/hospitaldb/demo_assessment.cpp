// Cash assessments of out-patients and walk-ins over the days before the
// demo's day: some still waiting at the cashier, some paid (an official
// receipt "OR..."), some revoked.

#include "demoparts.h"

namespace chemodesk::hospital::demo {

namespace {

// The first number the demo's assessments use; the counter stands after the last.
constexpr int FirstNumber = 1001;
constexpr int Assessments = 14;

enum class Status { Open, Paid, Revoked };

Status statusOf(int n)
{
    // The last few, of the demo's own day, still wait at the cashier.
    if (n >= Assessments - 3)
        return Status::Open;
    switch (n % 3) {
    case 0:
        return Status::Paid;
    case 1:
        return Status::Revoked;
    default:
        return Status::Open;
    }
}

} // namespace

void loadAssessments(Part &part)
{
    Connection &c = part.connection;
    Random &random = part.random;
    std::vector<const Registration *> patients;
    for (const Registration &r : part.loaded.registrations)
        if (!r.inPatient && !r.discharged)
            patients.push_back(&r);
    std::vector<const Service *> services;
    for (const Service &s : part.loaded.services)
        for (const char *section : {"LB", "XR", "US", "HS"})
            if (s.section == QLatin1String(section))
                services.push_back(&s);
    std::vector<const Item *> medicines;
    for (const Item &i : part.loaded.items)
        if (!i.inactive && i.location == QLatin1String("20") && i.onHand > 20)
            medicines.push_back(&i);

    std::vector<QStringList> rows;
    for (int n = 0; n < Assessments && !patients.empty(); ++n) {
        const Registration &p = *patients[size_t(random.below(int(patients.size())))];
        const QString ref = QStringLiteral("OC") + QString::number(FirstNumber + n);
        const int daysBack = (Assessments - 1 - n) / 2;
        const QDateTime when = at(Today.addDays(-daysBack),
                                  daysBack == 0 ? 7 : random.between(8, 16), random.below(4) * 15);
        const Status status = statusOf(n);
        const QString doctor = QStringLiteral("DR. ") + doctorName(p.doctor);
        const QString user = n % 2 ? QStringLiteral("1005") : QStringLiteral("1001");
        const int lines = random.between(1, 4);
        for (int l = 0; l < lines; ++l) {
            QString dept, item, description, flagValue;
            double quantity = 1, amount = 0;
            if (l == lines - 1 && !medicines.empty() && random.chance(50)) {
                const Item &m = *medicines[size_t(random.below(int(medicines.size())))];
                dept = QStringLiteral("PH");
                item = m.id;
                description = m.name;
                quantity = random.between(1, 10);
                amount = m.priceOut * quantity;
                flagValue = m.location;
            } else {
                const Service &s = *services[size_t(random.below(int(services.size())))];
                dept = s.section;
                item = s.id;
                description = s.name;
                amount = s.rateA;
            }
            rows.push_back(
                {str(ref),
                 str(p.name),
                 str(item),
                 str(dept),
                 str(description),
                 QString::number(quantity),
                 money(amount),
                 str(QStringLiteral("OC")),
                 str(user),
                 str(p.idNum),
                 str(p.hospNum),
                 str(p.doctor),
                 str(doctor),
                 strOrNull(flagValue),
                 date(when),
                 status == Status::Paid ? str(QStringLiteral("OR%1").arg(204500 + n * 7)) : null(),
                 status == Status::Paid ? date(when.addSecs(40 * 60)) : null(),
                 flag(status == Status::Revoked),
                 status == Status::Revoked ? date(when.addSecs(25 * 60)) : null(),
                 n == 2 ? str(QStringLiteral("FOLLOW-UP AFTER CYCLE 3")) : null()});
        }
    }
    insertRows(c, QStringLiteral("BILLING..tbCashAssessment"),
               QStringLiteral("RefNum, PatientName, ItemID, RevenueID, Description, Quantity, "
                              "Amount, TransType, UserID, IdNum, HospNum, DoctorID, DoctorName, "
                              "ItemFlag, TransDate, ORNumber, PaidDate, Revoked, RevokeDate, "
                              "Remarks"),
               rows);
    c.Execute(QStringLiteral("UPDATE BILLING..tbAssessmentNum SET AssessmentNum = ") +
              QString::number(FirstNumber + Assessments));
    // The first assessment's first item once more.
    if (part.extraRow && !rows.empty()) {
        QStringList extra = rows.front();
        extra[5] = QString::number(random.between(2, 5));
        insertRows(c, QStringLiteral("BILLING..tbCashAssessment"),
                   QStringLiteral("RefNum, PatientName, ItemID, RevenueID, Description, Quantity, "
                                  "Amount, TransType, UserID, IdNum, HospNum, DoctorID, "
                                  "DoctorName, ItemFlag, TransDate, ORNumber, PaidDate, Revoked, "
                                  "RevokeDate, Remarks"),
                   {extra});
    }
}

} // namespace chemodesk::hospital::demo
