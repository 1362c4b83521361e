// Every template of the Reports folder against the demo database, on each
// engine, with the server clock fixed: the printed lines must match the golden
// files in golden/. CHEMODESK_UPDATE_GOLDEN=1 writes them anew (SQLite).

#include "support/enginetest.h"
#include "testpaths.h"

#include "reportengine/reporttemplate.h"
#include "reportengine/templatereport.h"
#include "reports/rangereports.h"
#include "reports/reportprocs.h"
#include "session/globals.h"
#include "session/module1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

const QString GoldenFolder = QStringLiteral(CHEMODESK_SOURCE_DIR "/tests/reports/golden");

struct Golden {
    QString name;
    std::function<void()> open;
};

std::vector<Golden> cases()
{
    using reports::rangeReport;
    std::vector<Golden> out;
    auto range = [&](int number, const char *type, const QDate &start, const QDate &end,
                     const QString &name) {
        out.push_back({name, [=] {
                           const auto &g = session::globals();
                           const auto chosen =
                               rangeReport(number, QLatin1String(type), start, end,
                                           {g.HospitalName, g.HospitalAddress,
                                            QStringLiteral("1001"), QStringLiteral("1000001")});
                           reports::OpenReport(reports::ReportPath(chosen.templateName),
                                               chosen.parameters);
                       }});
    };
    const QDate from(2026, 11, 27), to(2026, 12, 1);
    for (const char *type : {"A", "I", "O", "C"}) {
        range(1, type, from, to, QStringLiteral("CancerAudit-%1").arg(QLatin1String(type)));
        range(2, type, from, to, QStringLiteral("Monthly-%1").arg(QLatin1String(type)));
    }
    range(2, "E", from, to, QStringLiteral("CensusReport"));
    range(4, "A", QDate(2026, 11, 30), to, QStringLiteral("DailyTransactionReport"));
    range(5, "A", QDate(2026, 11, 1), to, QStringLiteral("AdjustmentReport"));
    range(7, "D", QDate(2026, 11, 1), to, QStringLiteral("CancerPatientLedger"));

    const auto &g = session::globals();
    out.push_back({QStringLiteral("DataSheet"), [&g] {
                       reports::OpenReportTreatment(
                           reports::ReportPath(QStringLiteral("\\Reports\\DataSheet.rpt")),
                           {QStringLiteral("261001"), g.HospitalName, g.HospitalAddress});
                   }});
    out.push_back({QStringLiteral("Chargeslip-print"), [&g] {
                       reports::OpenReport(
                           reports::ReportPath(QStringLiteral("\\Reports\\Chargeslip.RPT")),
                           {QStringLiteral("ChargeSlip Number : G1519C"),
                            QStringLiteral("2650096B"), QStringLiteral("ON"), g.HospitalName,
                            g.HospitalAddress});
                   }});
    out.push_back({QStringLiteral("Chargeslip-reprint"), [&g] {
                       reports::OpenReport(
                           reports::ReportPath(QStringLiteral("\\Reports\\ChargeSlip.rpt")),
                           {QStringLiteral("Cancer Slip No.: G1504C"), QStringLiteral("261052"),
                            QStringLiteral("ON"), g.HospitalName, g.HospitalAddress,
                            QStringLiteral("G1504C")});
                   }});
    // A pharmacy request of admission 261021, and its central supply request by number alone.
    struct RequestForm {
        const char *name;
        const char *request;
        const char *idNum;
    };
    for (const RequestForm form : {RequestForm{"PHCSRequestForm-PH", "505", "261021"},
                                   RequestForm{"PHCSRequestForm-CS", "506", ""}}) {
        out.push_back(
            {QLatin1String(form.name), [&g, form] {
                 reports::OpenReport(
                     reports::ReportPath(QStringLiteral("\\Reports\\PHCSRequestForm.rpt")),
                     {QLatin1String(form.request), QLatin1String(form.idNum), g.HospitalName,
                      g.HospitalAddress});
             }});
    }
    const QVariantList ledger = {QStringLiteral("261013"),
                                 QStringLiteral("HMO-0001"),
                                 g.HospitalAddress,
                                 QStringLiteral("RAMIREZ, JERICHO"),
                                 QStringLiteral("12 RIZAL ST., POBLACION"),
                                 QStringLiteral("HEALTHPLUS"),
                                 QStringLiteral("1000013"),
                                 QStringLiteral("11/14/2026"),
                                 QString(),
                                 QStringLiteral("413"),
                                 QStringLiteral("1500.00"),
                                 QStringLiteral("10:30AM"),
                                 QString(),
                                 QStringLiteral("DELA CRUZ, ROSARIO M."),
                                 QString(),
                                 QString()};
    out.push_back({QStringLiteral("StatementOfAccountPatientsLedgerByDepartment"), [ledger] {
                       reports::OpenReportWithDb(
                           reports::ReportPath(QStringLiteral(
                               "\\Reports\\StatementOfAccountPatientsLedgerByDepartment.rpt")),
                           QStringLiteral("BILLING"), ledger);
                   }});
    out.push_back({QStringLiteral("SOACompleteDetailed"), [ledger] {
                       reports::OpenReportWithDb(reports::ReportPath(QStringLiteral(
                                                     "\\Reports\\SOACompleteDetailed.rpt")),
                                                 QStringLiteral("BILLING"), ledger);
                       reports::OpenSubreportBilling(QStringLiteral("HospitalBill"), {});
                       reports::OpenSubreportBilling(QStringLiteral("MedicalFee"), {});
                   }});
    return out;
}

QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class ReportGolden : public test::EngineTest {};

} // namespace

TEST(ReportTemplates, EveryTemplateOfTheReportsFolderReads)
{
    const QDir folder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    const QStringList files =
        folder.entryList({QStringLiteral("*.rpt"), QStringLiteral("*.RPT")}, QDir::Files);
    EXPECT_GE(files.size(), 14);
    for (const QString &file : files) {
        try {
            reportengine::readTemplate(folder.filePath(file));
        } catch (const platform::ReportError &e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
}

TEST_P(ReportGolden, TheTemplatesPrintWhatTheGoldenFilesHold)
{
    db->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(16, 30)));
    auto &g = session::globals();
    g.DbConnection = db.get();
    session::ReadHospitalInfoA(*db);
    reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    reports::reportLogOn() = {
        QStringLiteral("(local)"), test::lastTarget(), {}, {}, QStringLiteral("1001")};
    const bool update =
        !qEnvironmentVariableIsEmpty("CHEMODESK_UPDATE_GOLDEN") && GetParam() == "sqlite";

    for (const Golden &c : cases()) {
        SCOPED_TRACE(c.name.toStdString());
        try {
            c.open();
            auto &report = dynamic_cast<reportengine::TemplateReport &>(*reports::CurrentReport());
            const QString dump = report.document().dump();
            EXPECT_EQ(db->DefaultDatabase(), QStringLiteral("CLINICAL_AREA"));
            const QString path = GoldenFolder + QLatin1Char('/') + c.name + QStringLiteral(".txt");
            if (update) {
                QDir().mkpath(GoldenFolder);
                QFile f(path);
                f.open(QIODevice::WriteOnly);
                f.write(dump.toUtf8());
                continue;
            }
            EXPECT_EQ(dump, readFile(path));
        } catch (const platform::ReportError &e) {
            ADD_FAILURE() << e.message().toStdString();
        }
    }
    reports::setReportsFolder({});
    reports::reportLogOn() = {};
    reports::setReportEngine(nullptr);
    session::resetGlobals();
}

CHEMODESK_ENGINE_TESTS(ReportGolden);
