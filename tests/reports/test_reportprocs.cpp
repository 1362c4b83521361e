// The report procedures: log-on and location per variant, the parameter
// rules, template paths, and showing the report.

#include "fakeengine.h"
#include "support/scriptedmessages.h"
#include "testpaths.h"

#include "reports/frmreportviewer.h"
#include "reports/reportprocs.h"
#include "session/globals.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace chemodesk;
using platform::ParameterType;
using reports::ReportLogOn;

namespace {

class ReportProcs : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = reports::setReportEngine(&engine);
        engine.fields = {{QStringLiteral("StartDate"), ParameterType::Date},
                         {QStringLiteral("EndDate"), ParameterType::DateTime},
                         {QStringLiteral("Title"), ParameterType::Text}};
        reports::reportLogOn() =
            ReportLogOn{QStringLiteral("HOSPSRV"), QStringLiteral("/data/chemodesk.db"),
                        QStringLiteral("nurse"), QStringLiteral("secret"), QStringLiteral("1001")};
        session::globals().HospitalName = QStringLiteral("ST. JUDE GENERAL HOSPITAL");
    }
    void TearDown() override
    {
        reports::setReportEngine(previous_);
        reports::reportLogOn() = {};
        session::resetGlobals();
    }

    test::FakeEngine engine;
    platform::ReportEngine *previous_ = nullptr;
};

} // namespace

TEST_F(ReportProcs, EachVariantLogsOnAndMovesTheTablesAsItSays)
{
    struct Case {
        std::function<void()> open;
        QStringList expected;
    };
    const QVariantList none;
    const Case cases[] = {
        {[&] { reports::OpenReport(QStringLiteral("X.rpt"), none); },
         {"logon HOSPSRV /data/chemodesk.db nurse secret"}},
        {[&] { reports::OpenReportBilling(QStringLiteral("X.rpt"), none); },
         {"logon HOSPSRV Billing nurse secret"}},
        {[&] { reports::OpenReportTreatment(QStringLiteral("X.rpt"), none); },
         {"location hemodialysis.dbo.Report", "logon HOSPSRV /data/chemodesk.db nurse secret"}},
        {[&] {
             reports::OpenReportWithDb(QStringLiteral("X.rpt"), QStringLiteral("BILLING"), none);
         },
         {"text ST. JUDE GENERAL HOSPITAL", "logon HOSPSRV BILLING nurse secret"}},
        {[&] {
             reports::OpenReportReports(QStringLiteral("X.rpt"), none, QStringLiteral("1000001"));
         },
         {"text 1000001", "location Reports.dbo.Report", "logon HOSPSRV Reports sa "}},
    };
    for (const Case &c : cases) {
        c.open();
        ASSERT_TRUE(engine.last);
        EXPECT_EQ(reports::CurrentReport(), engine.last);
        EXPECT_EQ(engine.last->log, c.expected);
    }

    reports::OpenReport(QStringLiteral("X.rpt"), none);
    reports::OpenSubreportBilling(QStringLiteral("HospitalBill"), {QStringLiteral("261001")});
    test::FakeReport &sub = *engine.last->subreports.at(QStringLiteral("HospitalBill"));
    EXPECT_EQ(sub.log, (QStringList{"location billing.dbo.HospitalBill",
                                    "logon HOSPSRV billing sa ", "value 0"}));

    reports::LogOnTable(*engine.last, 0, QStringLiteral("PATIENT_DATA"));
    EXPECT_EQ(engine.last->log.mid(1), (QStringList{"location PATIENT_DATA.dbo.Report",
                                                    "logon HOSPSRV PATIENT_DATA nurse secret"}));
}

TEST_F(ReportProcs, ParametersFillTheFieldsInOrderWithDatesForDateFields)
{
    reports::OpenReport(QStringLiteral("X.rpt"),
                        {QStringLiteral("11/27/2026"), QStringLiteral("12/01/2026"),
                         QStringLiteral("CANCER AUDIT REPORT")});
    EXPECT_EQ(engine.last->values.at(0), QVariant(QDate(2026, 11, 27)));
    EXPECT_EQ(engine.last->values.at(1), QVariant(QDateTime(QDate(2026, 12, 1), QTime(0, 0))));
    EXPECT_EQ(engine.last->values.at(2), QVariant(QStringLiteral("CANCER AUDIT REPORT")));

    // Short: the rest keep no value. Extra: ignored. Empty: nothing touched.
    reports::OpenReport(QStringLiteral("X.rpt"), {QStringLiteral("11/27/2026")});
    EXPECT_EQ(engine.last->values.size(), 1u);
    reports::OpenReport(QStringLiteral("X.rpt"),
                        {QStringLiteral("11/27/2026"), QStringLiteral("11/27/2026"),
                         QStringLiteral("T"), QStringLiteral("extra")});
    EXPECT_EQ(engine.last->values.size(), 3u);
    reports::OpenReport(QStringLiteral("X.rpt"), {});
    EXPECT_TRUE(engine.last->values.empty());
    EXPECT_EQ(engine.last->log.size(), 1); // the log-on only

    // Plain adding hands the text on as it is.
    reports::OpenReportWithDb(QStringLiteral("X.rpt"), QStringLiteral("BILLING"),
                              {QStringLiteral("11/27/2026")});
    EXPECT_EQ(engine.last->values.at(0), QVariant(QStringLiteral("11/27/2026")));

    try {
        reports::OpenReport(QStringLiteral("X.rpt"), {QStringLiteral("someday")});
        ADD_FAILURE() << "a text that is no date was sent on";
    } catch (const platform::ReportError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("StartDate takes a date")))
            << e.message().toStdString();
    }
}

TEST_F(ReportProcs, TemplatePathsLieInTheReportsFolderWhateverTheSpelling)
{
    const QString folder =
        QStringLiteral(CHEMODESK_TEST_TMP) + QStringLiteral("/reportprocs/Reports");
    QDir().mkpath(folder);
    QFile(folder + QStringLiteral("/Chargeslip.RPT")).open(QIODevice::WriteOnly);
    reports::setReportsFolder(folder);
    EXPECT_EQ(reports::ReportPath(QStringLiteral("\\Reports\\ChargeSlip.rpt")),
              folder + QStringLiteral("/Chargeslip.RPT"));
    EXPECT_EQ(reports::ReportPath(QStringLiteral("Chargeslip.RPT")),
              folder + QStringLiteral("/Chargeslip.RPT"));
    EXPECT_EQ(reports::ReportPath(QStringLiteral("\\Reports\\Missing.rpt")),
              folder + QStringLiteral("/Missing.rpt"));
    EXPECT_EQ(reports::ReportPath(folder + QStringLiteral("/Chargeslip.RPT")),
              folder + QStringLiteral("/Chargeslip.RPT"));

    reports::OpenReport(QStringLiteral("\\Reports\\chargeslip.rpt"), {});
    EXPECT_EQ(engine.opened.last(), folder + QStringLiteral("/Chargeslip.RPT"));
    reports::setReportsFolder({});
}

TEST_F(ReportProcs, ShowReportShowsTheViewerWithItsCaptionAndFlags)
{
    test::ScriptedMessages messages;
    reports::OpenReport(QStringLiteral("X.rpt"), {});
    bool shown = false;
    messages.onDialog([&](QDialog &dialog) {
        auto *viewer = qobject_cast<reports::frmReportviewer *>(&dialog);
        EXPECT_TRUE(viewer);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print DataSheet"));
        EXPECT_TRUE(viewer->ShowGroupTree);
        EXPECT_TRUE(viewer->CRViewer1);
        EXPECT_TRUE(viewer->CRViewer1->property("groupTree").toBool());
        shown = true;
        return QDialog::Accepted;
    });
    reports::ShowReport(true, QStringLiteral("Print DataSheet"), false);
    EXPECT_TRUE(shown);
    EXPECT_EQ(engine.last->printed, 0);

    messages.onDialog([](QDialog &) { return QDialog::Accepted; });
    reports::ShowReport(false, QStringLiteral("Print ChargeSlip"), true);
    EXPECT_EQ(engine.last->printed, 1);

    // A report that cannot run is not shown: the error reaches the screen.
    engine.failViewer = true;
    const int before = messages.dialogsShown();
    EXPECT_THROW(reports::ShowReport(false, QStringLiteral("X"), false), platform::ReportError);
    EXPECT_EQ(messages.dialogsShown(), before);
}
