#pragma once

// Which report the report-range screen prints for a report number and a
// patient class, with its viewer caption and its parameters in the
// template's order.

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariantList>

namespace chemodesk::reports {

struct RangeContext {
    QString HospitalName;
    QString HospitalAddress;
    QString EmployeeCode;
    // The patient of the period ledger (report type "D").
    QString HospNum;
};

struct RangeReport {
    QString templateName; // empty: no report for this choice
    QString caption;
    QVariantList parameters;
};

// Report numbers: 1 audit, 2 monthly or census, 4 daily transactions,
// 5 adjustments and cancellations, 6 monthly transactions, 7 as 2 (the
// ledger's period report; type "D" prints the patient's charges in the period).
// Types: "A" all, "I" in-patients, "O" out-patients, "C" cash, "E" census.
RangeReport rangeReport(int reportNumber, const QString &reportType, const QDate &start,
                        const QDate &end, const RangeContext &context);

// The screen's caption for the report number before the caller sets its own.
QString rangeCaption(int reportNumber);

} // namespace chemodesk::reports
