// Reading templates: every problem names the file (and the line where there
// is one), so the hospital's IT staff can mend a template by its message.

#include "fixture.h"
#include "testpaths.h"

#include "reportengine/reporttemplate.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using platform::ParameterType;
using platform::ReportError;
using reportengine::parseTemplate;
using reportengine::readTemplate;

namespace {

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

TEST(ReportTemplate, ReadsParametersInOrderWithTheirTypesAndTheLayout)
{
    const auto t =
        parseTemplate(QString::fromLatin1(test::SmallTemplate), QStringLiteral("Small.rpt"));
    ASSERT_EQ(t.main.parameters.size(), 3u);
    EXPECT_EQ(t.main.parameters[0].name, QStringLiteral("StartDate"));
    EXPECT_EQ(t.main.parameters[0].type, ParameterType::Date);
    EXPECT_EQ(t.main.parameters[1].type, ParameterType::Text);
    EXPECT_EQ(t.main.parameters[2].type, ParameterType::Number);
    ASSERT_EQ(t.main.columns.size(), 3u);
    EXPECT_EQ(t.main.columns[2].format, QStringLiteral("#,##0.00"));
    EXPECT_EQ(t.main.columns[2].width, 10);
    ASSERT_EQ(t.main.groups.size(), 1u);
    EXPECT_EQ(t.main.groups[0].sums, QStringList{"Amount"});
    EXPECT_TRUE(t.main.totals.present);
    EXPECT_EQ(t.main.sourceLine, 13);
    EXPECT_TRUE(t.main.header[0].bold);
    EXPECT_EQ(t.main.header[0].align, Qt::AlignHCenter);
}

TEST(ReportTemplate, AMissingFileIsNamedInTheError)
{
    const QString path =
        QStringLiteral(CHEMODESK_TEST_TMP) + QStringLiteral("/no-such-folder/CancerAudit.rpt");
    const QString message = errorOf([&] { readTemplate(path); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("does not exist"))) << message.toStdString();
}

TEST(ReportTemplate, ABinaryFileIsRefusedByName)
{
    const QString path =
        test::writeTemplate(QString::fromLatin1("\x01\x02", 2) + QChar(0) + QStringLiteral("rest"),
                            QStringLiteral("Old.rpt"));
    const QString message = errorOf([&] { readTemplate(path); });
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("not a text template"))) << message.toStdString();
}

TEST(ReportTemplate, BrokenTemplatesAreRefusedWithFileLineAndProblem)
{
    struct Case {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"[report]\ntitle = X\n[colums]\nA\n", "Broken.rpt\", line 3: unknown section [colums]"},
        {"title = X\n", "line 1: text before the first section"},
        {"[report]\ncolour = red\n", "line 2: unknown key \"colour\" in [report]"},
        {"[parameters]\nStart = day\n", "line 2: unknown parameter type \"day\""},
        {"[parameters]\nA = text\na = date\n", "line 3: the parameter \"a\" is listed twice"},
        {"[parameters]\nA = text\n[source]\nSELECT 1\nWHERE x = '{B}'\n",
         "line 5: the source names {B}, which is no parameter"},
        {"[source]\nSELECT A FROM T\n[columns]\nA\n[totals]\nsum = B\n",
         "sums \"B\", which is not one of its columns"},
        {"[columns]\nA\n", "the report has columns, groups or totals but no [source]"},
        {"[report]\ndatabase = NOWHERE\n", "\"NOWHERE\" is not one of the hospital's databases"},
        {"[header]\nmiddle = X\n", "line 2: unknown style \"middle\""},
        {"[header]\ncenter = {Name\n", "an unclosed \"{\""},
        {"[source]\nSELECT A FROM T\n[group]\nheader = {A}\n",
         "a [group] of the report has no field"},
        {"[subreport]\n", "a subreport needs a name"},
        {"[subreport A]\n[subreport a]\n", "the subreport \"a\" is defined twice"},
        {"[columns]\nA | B | wide\n", "the width of column \"A\" must be a number"},
    };
    for (const Case &c : cases) {
        const QString message = errorOf(
            [&] { parseTemplate(QString::fromLatin1(c.text), QStringLiteral("Broken.rpt")); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("Report template \"Broken.rpt\"")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(c.expected)))
            << c.text << " gave: " << message.toStdString();
    }
}

TEST(ReportTemplate, SourcesKeepTheirTextAndSubreportsMayUseTheMainParameters)
{
    const auto t =
        parseTemplate(QStringLiteral("[parameters]\nIdNum = text\n"
                                     "[source]\n"
                                     "SELECT [ServerDate] = 1 -- a comment\n"
                                     "# not a comment in SQL\n"
                                     "[subreport Fees]\n"
                                     "database = billing\n"
                                     "[source]\nSELECT A FROM T WHERE IdNum = '{IdNum}'\n"),
                      QStringLiteral("Sub.rpt"));
    EXPECT_TRUE(t.main.source.contains(QStringLiteral("# not a comment in SQL")));
    ASSERT_EQ(t.subreports.size(), 1u);
    EXPECT_EQ(t.subreports[0].name, QStringLiteral("Fees"));
    EXPECT_EQ(t.subreports[0].database, QStringLiteral("BILLING"));
}
