#pragma once

// A small template over a scripted connection, written to a file as the
// Reports folder holds them.

#include "reportengine/templatereport.h"
#include "support/recordingconnection.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QUuid>

namespace chemodesk::test {

inline QString writeTemplate(const QString &text, const QString &name = QStringLiteral("Small.rpt"))
{
    const QString dir = QStringLiteral(CHEMODESK_TEST_TMP) + QStringLiteral("/reportengine-") +
                        QUuid::createUuid().toString(QUuid::Id128).left(8);
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
    return path;
}

// Lines of the unit's charges: two departments, three lines.
inline const char *SmallTemplate = R"(# A small report.
[report]
title = Small Report
database = CLINICAL_AREA
empty = Nothing in this period.

[parameters]
StartDate = date
Patient = text
Quantity = number

[source]
SELECT RevenueID, Description, Amount FROM CLINICAL_AREA..tbCancerCharges
WHERE TransDate >= '{StartDate}' AND IdNum = '{Patient}' AND Quantity >= '{Quantity}'

[header]
center bold 12 = {hospital}
center = From {StartDate:mmmm d, yyyy} for {Patient}

[columns]
RevenueID   | Dept.       | 6
Description | Description | 30
Amount      | Amount      | 10 | #,##0.00

[group]
field = RevenueID
header = Department {RevenueID}
footer = Total {RevenueID}: {count}
sum = Amount

[totals]
label = GRAND TOTAL
sum = Amount
)";

inline const QString HospitalQuery =
    QStringLiteral("SELECT Company, GetDate() AS ServerDate FROM PATIENT_DATA..tbHospitalInfo");

inline void answerHospital(testing::RecordingConnection &db)
{
    db.answer(HospitalQuery,
              testing::table({QStringLiteral("Company"), QStringLiteral("ServerDate")},
                             {{QStringLiteral("ST. JUDE GENERAL HOSPITAL"),
                               QDateTime(QDate(2026, 12, 1), QTime(16, 30))}}));
}

inline Recordset smallRows()
{
    return testing::table(
        {QStringLiteral("RevenueID"), QStringLiteral("Description"), QStringLiteral("Amount")},
        {{QStringLiteral("LB"), QStringLiteral("COMPLETE BLOOD COUNT"), 455.0},
         {QStringLiteral("LB"), QStringLiteral("SGOT / AST"), 275.0},
         {QStringLiteral("PH"), QStringLiteral("CISPLATIN 50MG VIAL"), 1667.5}});
}

} // namespace chemodesk::test
