#include "rangereports.h"

namespace chemodesk::reports {

namespace {

QString day(const QDate &date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

QString rangeCaption(int reportNumber)
{
    switch (reportNumber) {
    case 1:
        return QStringLiteral("Audit Report");
    case 2:
    case 7:
        return QStringLiteral("Monthly Report");
    case 4:
        return QStringLiteral("Daily Transaction Report");
    case 5:
        return QStringLiteral("Adjustment Report");
    case 6:
        return QStringLiteral("Monthly Transaction Report");
    default:
        return QStringLiteral("Report");
    }
}

RangeReport rangeReport(int reportNumber, const QString &reportType, const QDate &start,
                        const QDate &end, const RangeContext &c)
{
    const QString type = reportType.trimmed().toUpper();
    const QString from = day(start);
    const QString to = day(end);
    switch (reportNumber) {
    case 1: {
        static const QHash<QString, QString> titles = {
            {QStringLiteral("A"), QStringLiteral("CANCER AUDIT REPORT ALLPATIENT")},
            {QStringLiteral("I"), QStringLiteral("CANCER AUDIT REPORT INPATIENT")},
            {QStringLiteral("O"), QStringLiteral("CANCER AUDIT REPORT OUTPATIENT")},
            {QStringLiteral("C"), QStringLiteral("CANCER AUDIT REPORT CASHPATIENT")},
        };
        if (!titles.contains(type))
            return {};
        return {QStringLiteral("CancerAudit.rpt"),
                QStringLiteral("Audit Report"),
                {from, to, type, c.EmployeeCode, titles.value(type), c.HospitalName,
                 c.HospitalAddress}};
    }
    case 2:
    case 7: {
        if (type == QLatin1String("E"))
            return {QStringLiteral("CensusReport.rpt"),
                    QStringLiteral("Census Report"),
                    {from, to, c.HospitalName, c.HospitalAddress}};
        if (reportNumber == 7 && type == QLatin1String("D"))
            return {QStringLiteral("CancerPatientLedger.rpt"),
                    QStringLiteral("Cancer Patient Ledger"),
                    {from, to, c.HospNum, c.HospitalName, c.HospitalAddress}};
        struct Monthly {
            const char *file;
            const char *caption;
        };
        static const QHash<QString, Monthly> monthly = {
            {QStringLiteral("A"), {"Monthly_Report.rpt", "ALL PATIENT"}},
            {QStringLiteral("I"), {"Monthly_Report_INPATIENT.rpt", "INPATIENT"}},
            {QStringLiteral("O"), {"Monthly_Report_OUTPATIENT.rpt", "OUTPATIENT"}},
            {QStringLiteral("C"), {"Monthly_Report_CashPATIENT.rpt", "CASH PATIENT"}},
        };
        if (!monthly.contains(type))
            return {};
        const Monthly m = monthly.value(type);
        return {QLatin1String(m.file),
                QStringLiteral("Monthly Report"),
                {c.HospitalName, c.HospitalAddress, QStringLiteral("Cancer Monthly Report"), from,
                 to, type, QLatin1String(m.caption)}};
    }
    case 4:
    case 6:
        return {QStringLiteral("DailyTransactionReport.rpt"),
                reportNumber == 4 ? QStringLiteral("Daily Transaction Report")
                                  : QStringLiteral("Monthly Transaction Report"),
                {from, to, QStringLiteral("C"), c.HospitalAddress, c.HospitalName,
                 QStringLiteral("CANCER TRANSACTION REPORT")}};
    case 5:
        return {QStringLiteral("AdjustmentReport.rpt"),
                QStringLiteral("Adjustment Report"),
                {from, to, c.HospitalName, c.HospitalAddress,
                 QStringLiteral("CANCER TRANSACTION REPORT"), QStringLiteral("C")}};
    default:
        return {};
    }
}

} // namespace chemodesk::reports
