// The template report: parameter values by type, what the source receives,
// the default database it runs in, groups and totals, subreports.

#include "fixture.h"

#include "reportengine/valueformat.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using chemodesk::testing::RecordingConnection;
using platform::ReportError;
using reportengine::TemplateEngine;
using reportengine::TemplateReport;

namespace {

const QString SmallSource =
    QStringLiteral("SELECT RevenueID, Description, Amount FROM CLINICAL_AREA..tbCancerCharges\n"
                   "WHERE TransDate >= '%1' AND IdNum = '%2' AND Quantity >= '%3'");

struct Opened {
    RecordingConnection db;
    TemplateEngine engine{[this]() -> Connection * { return &db; }};
    std::unique_ptr<platform::Report> report;

    explicit Opened(const char *text = test::SmallTemplate)
    {
        test::answerHospital(db);
        db.setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
        report = engine.OpenTemplate(test::writeTemplate(QString::fromUtf8(text)));
    }
    TemplateReport &ours() { return static_cast<TemplateReport &>(*report); }
};

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ReportError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(TemplateReportParameters, DateFieldsTakeDatesAndTheirTextEveryOtherTypeItsOwn)
{
    Opened r;
    ASSERT_EQ(r.report->ParameterFieldCount(), 3);
    EXPECT_EQ(r.report->ParameterFieldName(0), QStringLiteral("StartDate"));
    EXPECT_EQ(r.report->ParameterFieldType(0), platform::ParameterType::Date);

    r.report->AddCurrentValue(0, QStringLiteral("11/27/2026"));
    EXPECT_EQ(r.ours().currentValue(0), QVariant(QDate(2026, 11, 27)));
    r.report->AddCurrentValue(0, QDateTime(QDate(2026, 11, 28), QTime(9, 0)));
    EXPECT_EQ(r.ours().currentValue(0), QVariant(QDate(2026, 11, 28)));
    r.report->AddCurrentValue(2, QStringLiteral(" 2 "));
    EXPECT_EQ(r.ours().currentValue(2), QVariant(2.0));
    // Blank values leave the field without one.
    r.report->AddCurrentValue(1, QString());
    EXPECT_FALSE(r.ours().currentValue(1).has_value());

    struct Refused {
        int field;
        QVariant value;
        const char *kind;
    };
    const Refused refused[] = {{0, QStringLiteral("13/45/2026"), "takes a date"},
                               {0, QStringLiteral("tomorrow"), "takes a date"},
                               {2, QStringLiteral("two"), "takes a number"}};
    for (const Refused &c : refused) {
        const QString message = errorOf([&] { r.report->AddCurrentValue(c.field, c.value); });
        EXPECT_TRUE(message.contains(QLatin1String(c.kind))) << message.toStdString();
        EXPECT_TRUE(message.contains(r.ours().reportTemplate().path)) << message.toStdString();
    }
    EXPECT_TRUE(errorOf([&] {
                    r.report->AddCurrentValue(3, 1);
                }).contains(QStringLiteral("no parameter field 3")));
}

TEST(TemplateReportParameters, AFieldWithoutAValueReachesTheSourceEmptyAndPrintsEmpty)
{
    Opened r;
    r.report->AddCurrentValue(0, QStringLiteral("11/27/2026"));
    r.report->AddCurrentValue(1, QStringLiteral("O'NEIL"));
    const QString sent =
        SmallSource.arg(QStringLiteral("11/27/2026"), QStringLiteral("O''NEIL"), QString());
    r.db.answer(sent, test::smallRows());
    const reportengine::ReportDocument &doc = r.ours().document();
    EXPECT_TRUE(r.db.texts().contains(sent)) << r.db.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(doc.sections[0].header[1].text, QStringLiteral("From November 27, 2026 for O'NEIL"));

    // No value at all: the header prints nothing where the value would be.
    Opened empty;
    empty.db.answer(SmallSource.arg(QString(), QString(), QString()), test::smallRows());
    EXPECT_EQ(empty.ours().document().sections[0].header[1].text, QStringLiteral("From  for "));
}

TEST(TemplateReportDocument, GroupsFootersAndTotalsFollowTheRows)
{
    Opened r;
    r.db.answer(SmallSource.arg(QString(), QString(), QString()), test::smallRows());
    EXPECT_EQ(r.ours().document().dump(),
              QStringLiteral("REPORT Small Report (letter, portrait)\n"
                             "PRINTED 12/01/2026 04:30 PM\n"
                             "SECTION main: Small Report\n"
                             "TEXT center bold 12 | ST. JUDE GENERAL HOSPITAL\n"
                             "TEXT center | From  for \n"
                             "COLUMNS Dept. | Description | Amount\n"
                             "G1 Department LB\n"
                             "ROW LB | COMPLETE BLOOD COUNT | 455.00\n"
                             "ROW LB | SGOT / AST | 275.00\n"
                             "G1END Total LB: 2 |  |  | 730.00\n"
                             "G1 Department PH\n"
                             "ROW PH | CISPLATIN 50MG VIAL | 1,667.50\n"
                             "G1END Total PH: 1 |  |  | 1,667.50\n"
                             "TOTAL GRAND TOTAL |  |  | 2,397.50\n"));

    // No rows: the template's note, and totals of nothing.
    Opened none;
    none.db.answer(
        SmallSource.arg(QString(), QString(), QString()),
        chemodesk::testing::table({QStringLiteral("RevenueID"), QStringLiteral("Description"),
                                   QStringLiteral("Amount")}));
    const auto &doc = none.ours().document();
    ASSERT_EQ(doc.sections[0].rows.size(), 2u);
    EXPECT_EQ(doc.sections[0].rows[0].label, QStringLiteral("Nothing in this period."));
    EXPECT_EQ(doc.sections[0].rows[1].cells[2].text, QStringLiteral("0.00"));
}

TEST(TemplateReportDocument, AFailingSourceOrAMissingColumnNamesTheTemplate)
{
    Opened failing;
    failing.db.failOn(SmallSource.arg(QString(), QString(), QString()),
                      QStringLiteral("Invalid object name"));
    QString message = errorOf([&] { failing.ours().document(); });
    EXPECT_TRUE(message.contains(failing.ours().reportTemplate().path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Invalid object name"))) << message.toStdString();

    Opened lacking;
    lacking.db.answer(
        SmallSource.arg(QString(), QString(), QString()),
        chemodesk::testing::table({QStringLiteral("RevenueID"), QStringLiteral("Amount")}));
    message = errorOf([&] { lacking.ours().document(); });
    EXPECT_TRUE(
        message.contains(QStringLiteral("\"Description\", which its source does not return")))
        << message.toStdString();
}

TEST(TemplateReportLogOn, TheLogOnDatabaseDecidesWhereTheSourceRunsAndTheScreensKeepTheirs)
{
    Opened r;
    EXPECT_EQ(r.report->TableCount(), 1);
    EXPECT_EQ(r.report->TableLocation(0), QStringLiteral("CLINICAL_AREA.dbo.Small"));

    struct Seen : RecordingConnection {
        QStringList databases;
        Recordset Execute(const QString &text) override
        {
            databases << DefaultDatabase();
            return RecordingConnection::Execute(text);
        }
    };
    struct Case {
        QString location;
        platform::TableLogOn logOn;
        QString expected;
    };
    const Case cases[] = {
        {QString(), {}, QStringLiteral("CLINICAL_AREA")},
        {QStringLiteral("hemodialysis.dbo.Small"),
         {QStringLiteral("(local)"), QStringLiteral("/var/db/chemodesk.db"), {}, {}},
         QStringLiteral("HEMODIALYSIS")},
        {QString(),
         {QStringLiteral("srv"), QStringLiteral("Billing"), QStringLiteral("nurse"),
          QStringLiteral("pw")},
         QStringLiteral("BILLING")},
    };
    for (const Case &c : cases) {
        Seen db;
        test::answerHospital(db);
        db.answer(SmallSource.arg(QString(), QString(), QString()), test::smallRows());
        db.setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
        TemplateEngine engine([&db]() -> Connection * { return &db; });
        auto report =
            engine.OpenTemplate(test::writeTemplate(QString::fromLatin1(test::SmallTemplate)));
        if (!c.location.isEmpty())
            report->setTableLocation(0, c.location);
        report->SetTableLogOnInfo(0, c.logOn);
        static_cast<TemplateReport &>(*report).document();
        EXPECT_EQ(db.databases.last(), c.expected);
        EXPECT_EQ(db.DefaultDatabase(), QStringLiteral("CLINICAL_AREA"));
        EXPECT_EQ(static_cast<TemplateReport &>(*report).tableLogOn(0).user, c.logOn.user);
    }
    EXPECT_TRUE(errorOf([&] {
                    r.report->setTableLocation(0, QStringLiteral("nowhere.dbo.Small"));
                }).contains(QStringLiteral("the database \"nowhere\" does not exist")));
}

TEST(TemplateReportSubreports, ASubreportHasItsOwnFieldsAndSourceAndMayNameTheMainOnes)
{
    const char *text = "[report]\ntitle = Statement\n"
                       "[parameters]\nIdNum = text\n"
                       "[header]\ncenter = {reporttext} {@STATION}\n"
                       "[subreport Fees]\ntitle = Medical Fees\ndatabase = BILLING\n"
                       "[parameters]\nKind = text\n"
                       "[source]\nSELECT Amount FROM CLINICAL_AREA..tbCancerCharges WHERE IdNum = "
                       "'{IdNum}' AND RevenueID = '{Kind}'\n"
                       "[columns]\nAmount | Amount | 10 | #,##0.00\n";
    Opened r(text);
    r.report->AddCurrentValue(0, QStringLiteral("261001"));
    r.report->setReportText(QStringLiteral("ST. JUDE"));
    r.report->setFormulaText(QStringLiteral("station"), QStringLiteral("'ON'"));
    platform::Report &fees = r.report->OpenSubreport(QStringLiteral("fees"));
    EXPECT_EQ(&fees, &r.report->OpenSubreport(QStringLiteral("Fees")));
    EXPECT_EQ(fees.ParameterFieldCount(), 1);
    EXPECT_EQ(fees.TableLocation(0), QStringLiteral("BILLING.dbo.Fees"));
    fees.AddCurrentValue(0, QStringLiteral("MD"));
    const QString sent = QStringLiteral("SELECT Amount FROM CLINICAL_AREA..tbCancerCharges WHERE "
                                        "IdNum = '261001' AND RevenueID = 'MD'");
    r.db.answer(sent, chemodesk::testing::table({QStringLiteral("Amount")}, {{1500.0}}));
    const QString dump = r.ours().document().dump();
    EXPECT_TRUE(dump.contains(QStringLiteral("TEXT center | ST. JUDE ON\n"))) << dump.toStdString();
    EXPECT_TRUE(
        dump.contains(QStringLiteral("SECTION Fees: Medical Fees\nCOLUMNS Amount\nROW 1,500.00\n")))
        << dump.toStdString();
    EXPECT_TRUE(errorOf([&] {
                    r.report->OpenSubreport(QStringLiteral("Bill"));
                }).contains(QStringLiteral("has no subreport \"Bill\"")));
}

TEST(ValueFormats, NumbersAndDatesPrintAsTheHospitalsFormatsSay)
{
    using reportengine::formatDateTime;
    using reportengine::formatNumber;
    const struct {
        double value;
        const char *format;
        const char *expected;
    } numbers[] = {{1234.5, "##0.00", "1234.50"},
                   {1234.5, "#,##0.00", "1,234.50"},
                   {1234567.891, "#,##0.00", "1,234,567.89"},
                   {-0.001, "#,##0.00", "0.00"},
                   {-12.5, "##0.00", "-12.50"},
                   {4, "##0.##", "4"},
                   {1.5, "##0.##", "1.5"},
                   {2.5, "0", "3"},
                   {15, "####.00", "15.00"},
                   {1950, "P #,##0.00", "P 1,950.00"}};
    for (const auto &n : numbers)
        EXPECT_EQ(formatNumber(n.value, QLatin1String(n.format)), QLatin1String(n.expected))
            << n.format;

    const QDateTime moment(QDate(2026, 11, 7), QTime(15, 5, 9));
    const struct {
        const char *format;
        const char *expected;
    } dates[] = {{"mm/dd/yyyy", "11/07/2026"},
                 {"mmmm d, yyyy", "November 7, 2026"},
                 {"hh:mmAM/PM", "03:05PM"},
                 {"mm/dd/yyyy hh:mm:ss AM/PM", "11/07/2026 03:05:09 PM"},
                 {"yyyy/mm/dd", "2026/11/07"},
                 {"dddd", "Saturday"},
                 {"hh:nn", "15:05"}};
    for (const auto &d : dates)
        EXPECT_EQ(formatDateTime(moment, QLatin1String(d.format)), QLatin1String(d.expected))
            << d.format;

    EXPECT_EQ(reportengine::parseDateText(QStringLiteral("12/10/2026 03:15:00 PM")),
              QDateTime(QDate(2026, 12, 10), QTime(15, 15)));
    EXPECT_EQ(reportengine::parseDateText(QStringLiteral("2026-12-10 15:15:00")),
              QDateTime(QDate(2026, 12, 10), QTime(15, 15)));
    EXPECT_FALSE(reportengine::parseDateText(QStringLiteral("02/30/2026")));
}
