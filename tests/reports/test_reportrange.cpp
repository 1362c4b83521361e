// The report-range screen: which template each report number and patient
// class prints, with its caption and its parameters in order, and the date
// check before anything is printed.

#include "fakeengine.h"
#include "support/scriptedmessages.h"

#include "reports/frmreportrange.h"
#include "reports/rangereports.h"
#include "reports/reportprocs.h"
#include "session/globals.h"

#include <QDateEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace chemodesk;
using reports::rangeReport;

namespace {

const QDate Start(2026, 11, 27);
const QDate End(2026, 12, 1);
const reports::RangeContext Context{QStringLiteral("HOSPITAL"), QStringLiteral("ADDRESS"),
                                    QStringLiteral("1001"), QStringLiteral("1000001")};

QStringList texts(const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << v.toString();
    return out;
}

} // namespace

TEST(RangeReports, EachNumberAndClassPrintsItsTemplateWithTheParametersInOrder)
{
    struct Case {
        int number;
        const char *type;
        const char *templ;
        const char *caption;
        QStringList parameters;
    };
    const QStringList monthly = {"HOSPITAL", "ADDRESS", "Cancer Monthly Report", "11/27/2026",
                                 "12/01/2026"};
    const QStringList census = {"11/27/2026", "12/01/2026", "HOSPITAL", "ADDRESS"};
    const QStringList transactions = {"11/27/2026", "12/01/2026", "C",
                                      "ADDRESS",    "HOSPITAL",   "CANCER TRANSACTION REPORT"};
    const Case cases[] = {
        {1,
         "A",
         "CancerAudit.rpt",
         "Audit Report",
         {"11/27/2026", "12/01/2026", "A", "1001", "CANCER AUDIT REPORT ALLPATIENT", "HOSPITAL",
          "ADDRESS"}},
        {1,
         "I",
         "CancerAudit.rpt",
         "Audit Report",
         {"11/27/2026", "12/01/2026", "I", "1001", "CANCER AUDIT REPORT INPATIENT", "HOSPITAL",
          "ADDRESS"}},
        {1,
         "O",
         "CancerAudit.rpt",
         "Audit Report",
         {"11/27/2026", "12/01/2026", "O", "1001", "CANCER AUDIT REPORT OUTPATIENT", "HOSPITAL",
          "ADDRESS"}},
        {1,
         "C",
         "CancerAudit.rpt",
         "Audit Report",
         {"11/27/2026", "12/01/2026", "C", "1001", "CANCER AUDIT REPORT CASHPATIENT", "HOSPITAL",
          "ADDRESS"}},
        {2, "A", "Monthly_Report.rpt", "Monthly Report", monthly + QStringList{"A", "ALL PATIENT"}},
        {2, "I", "Monthly_Report_INPATIENT.rpt", "Monthly Report",
         monthly + QStringList{"I", "INPATIENT"}},
        {2, "O", "Monthly_Report_OUTPATIENT.rpt", "Monthly Report",
         monthly + QStringList{"O", "OUTPATIENT"}},
        {2, "C", "Monthly_Report_CashPATIENT.rpt", "Monthly Report",
         monthly + QStringList{"C", "CASH PATIENT"}},
        {2, "E", "CensusReport.rpt", "Census Report", census},
        {7, "I", "Monthly_Report_INPATIENT.rpt", "Monthly Report",
         monthly + QStringList{"I", "INPATIENT"}},
        {7, "E", "CensusReport.rpt", "Census Report", census},
        {7,
         "D",
         "CancerPatientLedger.rpt",
         "Cancer Patient Ledger",
         {"11/27/2026", "12/01/2026", "1000001", "HOSPITAL", "ADDRESS"}},
        {4, "A", "DailyTransactionReport.rpt", "Daily Transaction Report", transactions},
        {6, "A", "DailyTransactionReport.rpt", "Monthly Transaction Report", transactions},
        {5,
         "A",
         "AdjustmentReport.rpt",
         "Adjustment Report",
         {"11/27/2026", "12/01/2026", "HOSPITAL", "ADDRESS", "CANCER TRANSACTION REPORT", "C"}},
        // Choices no menu makes print nothing.
        {1, "E", "", "", {}},
        {2, "D", "", "", {}},
        {3, "A", "", "", {}},
    };
    for (const Case &c : cases) {
        const auto chosen = rangeReport(c.number, QLatin1String(c.type), Start, End, Context);
        EXPECT_EQ(chosen.templateName, QLatin1String(c.templ)) << c.number << c.type;
        EXPECT_EQ(chosen.caption, QLatin1String(c.caption)) << c.number << c.type;
        EXPECT_EQ(texts(chosen.parameters), c.parameters) << c.number << c.type;
    }
}

class RangeScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = reports::setReportEngine(&engine);
        using platform::ParameterType;
        engine.fields = {{QStringLiteral("StartDate"), ParameterType::Date},
                         {QStringLiteral("EndDate"), ParameterType::Date}};
        for (const char *name :
             {"ReportType", "EmployeeCode", "Title", "HospitalName", "HospitalAddress"})
            engine.fields.push_back({QLatin1String(name), ParameterType::Text});
        session::globals().ServerDate = QDateTime(QDate(2026, 12, 1), QTime(16, 30));
        session::globals().HospitalName = QStringLiteral("HOSPITAL");
        session::globals().HospitalAddress = QStringLiteral("ADDRESS");
        reports::reportLogOn().EmployeeCode = QStringLiteral("1001");
    }
    void TearDown() override
    {
        reports::setReportEngine(previous_);
        reports::reportLogOn() = {};
        session::resetGlobals();
    }

    test::ScriptedMessages messages;
    test::FakeEngine engine;
    platform::ReportEngine *previous_ = nullptr;
};

TEST_F(RangeScreen, OpensOnTheServerDateWithTheReportsCaption)
{
    reports::frmReportRange audit(1, QStringLiteral("A"));
    EXPECT_EQ(audit.windowTitle(), QStringLiteral("Audit Report"));
    EXPECT_EQ(audit.dtpStartDate->date(), QDate(2026, 12, 1));
    EXPECT_EQ(audit.dtpEndDate->date(), QDate(2026, 12, 1));
    EXPECT_EQ(audit.dtpStartDate->displayFormat(), QStringLiteral("MM/dd/yyyy"));
    EXPECT_TRUE(audit.cmdView->isDefault());
    EXPECT_EQ(reports::frmReportRange(5, QStringLiteral("A")).windowTitle(),
              QStringLiteral("Adjustment Report"));
}

TEST_F(RangeScreen, AnEndBeforeTheStartIsRefusedAndEqualDatesPrint)
{
    reports::frmReportRange screen(1, QStringLiteral("I"));
    screen.dtpStartDate->setDate(QDate(2026, 11, 30));
    screen.dtpEndDate->setDate(QDate(2026, 11, 29));
    screen.cmdView->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("End date must be greater than start date."));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Exclamation);
    EXPECT_TRUE(engine.opened.isEmpty());
    EXPECT_EQ(screen.result(), 0);

    screen.dtpEndDate->setDate(QDate(2026, 11, 30));
    QString caption;
    messages.onDialog([&](QDialog &viewer) {
        caption = viewer.windowTitle();
        return QDialog::Accepted;
    });
    screen.cmdView->click();
    EXPECT_EQ(messages.shown().size(), 1u);
    ASSERT_EQ(engine.opened.size(), 1);
    EXPECT_TRUE(engine.opened.first().endsWith(QStringLiteral("/Reports/CancerAudit.rpt")));
    EXPECT_EQ(engine.last->values.at(0), QVariant(QDate(2026, 11, 30)));
    EXPECT_EQ(engine.last->values.at(1), QVariant(QDate(2026, 11, 30)));
    EXPECT_EQ(engine.last->values.at(2), QVariant(QStringLiteral("I")));
    EXPECT_EQ(engine.last->values.at(4), QVariant(QStringLiteral("CANCER AUDIT REPORT INPATIENT")));
    EXPECT_EQ(caption, QStringLiteral("Audit Report"));
    EXPECT_EQ(screen.result(), QDialog::Accepted);
}

TEST_F(RangeScreen, AReportThatFailsIsShownAsAMessageAndTheScreenStays)
{
    engine.failViewer = true;
    reports::frmReportRange screen(2, QStringLiteral("E"));
    screen.cmdView->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("the source failed"));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Critical);
    EXPECT_EQ(screen.result(), 0);
}
