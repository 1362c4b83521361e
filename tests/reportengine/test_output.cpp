// A small report written as PDF, Excel and RTF files, printed, and laid out
// over several pages.

#include "fixture.h"

#include "reportengine/exporters.h"
#include "reportengine/pagelayout.h"
#include "reportengine/valueformat.h"
#include "reportengine/view/printing.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace chemodesk;
using chemodesk::testing::RecordingConnection;
using platform::ExportFormat;
using platform::ReportError;
using reportengine::TemplateReport;
using reportengine::ViewingEngine;

namespace {

const QString EmptySource =
    QStringLiteral("SELECT RevenueID, Description, Amount FROM CLINICAL_AREA..tbCancerCharges\n"
                   "WHERE TransDate >= '' AND IdNum = '' AND Quantity >= ''");

// `count` rows over two departments.
Recordset manyRows(int count)
{
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i < count / 2 ? QStringLiteral("LB") : QStringLiteral("PH"),
                        QStringLiteral("ITEM NUMBER %1").arg(i + 1), 10.0 * (i + 1)});
    return chemodesk::testing::table(
        {QStringLiteral("RevenueID"), QStringLiteral("Description"), QStringLiteral("Amount")},
        std::move(rows));
}

struct Report {
    RecordingConnection db;
    ViewingEngine engine{[this]() -> Connection * { return &db; }};
    std::unique_ptr<platform::Report> report;
    QString folder;

    explicit Report(int rows)
    {
        test::answerHospital(db);
        db.answer(EmptySource, manyRows(rows));
        const QString path = test::writeTemplate(QString::fromLatin1(test::SmallTemplate));
        folder = QFileInfo(path).path();
        report = engine.OpenTemplate(path);
    }
    TemplateReport &ours() { return static_cast<TemplateReport &>(*report); }
    QString file(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

int pdfPages(const QString &path)
{
    const QString text = QString::fromLatin1(readAll(path));
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

QString unzipped(const QString &archive, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

} // namespace

TEST(ReportOutput, ALongReportRunsOverPagesWithHeadsAndNumbersOnEach)
{
    Report r(120);
    const reportengine::PageLayout &pages = r.ours().layout();
    ASSERT_GE(pages.pageCount(), 3);
    const int last = pages.pageCount() - 1;
    EXPECT_TRUE(pages.pageTexts(0).contains(QStringLiteral("ST. JUDE GENERAL HOSPITAL")));
    EXPECT_TRUE(pages.pageTexts(0).contains(QStringLiteral("Page 1 of %1").arg(last + 1)));
    // Later pages: the running header and the column heads again.
    EXPECT_TRUE(pages.pageTexts(1).contains(QStringLiteral("Small Report")));
    EXPECT_TRUE(pages.pageTexts(1).contains(QStringLiteral("Description")));
    EXPECT_TRUE(pages.pageTexts(last).contains(QStringLiteral("GRAND TOTAL")));
    EXPECT_TRUE(pages.pageTexts(last).contains(QStringLiteral("Printed: 12/01/2026 04:30 PM")));
    // The group tree: each department with the page it starts on.
    ASSERT_EQ(pages.bookmarks().size(), 2u);
    EXPECT_EQ(pages.bookmarks()[0].page, 0);
    EXPECT_GT(pages.bookmarks()[1].page, 0);

    r.report->Export(r.file("long.pdf"), ExportFormat::Pdf);
    EXPECT_EQ(pdfPages(r.file("long.pdf")), pages.pageCount());
}

TEST(ReportOutput, PdfExcelAndRtfFilesHoldTheRows)
{
    Report r(3);
    r.report->Export(r.file("small.pdf"), ExportFormat::Pdf);
    EXPECT_TRUE(readAll(r.file("small.pdf")).startsWith("%PDF"));
    EXPECT_EQ(pdfPages(r.file("small.pdf")), 1);

    r.report->Export(r.file("small.xlsx"), ExportFormat::Excel);
    EXPECT_TRUE(readAll(r.file("small.xlsx")).startsWith("PK"));
    const QString strings = unzipped(r.file("small.xlsx"), QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_TRUE(strings.contains(QStringLiteral("ITEM NUMBER 2"))) << strings.toStdString();
    EXPECT_TRUE(strings.contains(QStringLiteral("Department PH")));
    // Amounts stay numbers, so the hospital's staff can add them up again.
    const QString sheet =
        unzipped(r.file("small.xlsx"), QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>20</v>"))) << sheet.toStdString();

    r.report->Export(r.file("small.rtf"), ExportFormat::RichText);
    const QByteArray rtf = readAll(r.file("small.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    for (const char *text :
         {"ITEM NUMBER 1", "ITEM NUMBER 3", "Department LB", "GRAND TOTAL", "60.00"})
        EXPECT_TRUE(rtf.contains(text)) << text;
}

// Dates and times go to a spreadsheet as date cells in the template's display format, so that
// it sorts and filters them by value: whether the engine returned a date or its text.
TEST(ReportOutput, ExcelWritesDatesAsDateCells)
{
    RecordingConnection db;
    test::answerHospital(db);
    const QString source = QStringLiteral("SELECT Description, TransDate FROM "
                                          "CLINICAL_AREA..tbCancerCharges");
    db.answer(source, chemodesk::testing::table(
                          {QStringLiteral("Description"), QStringLiteral("TransDate")},
                          {{QStringLiteral("A DATE"), QDateTime(QDate(2026, 11, 27), QTime(9, 0))},
                           {QStringLiteral("ITS TEXT"), QStringLiteral("12/01/2026 04:30:00 PM")},
                           {QStringLiteral("NONE"), QVariant()}}));
    ViewingEngine engine{[&db]() -> Connection * { return &db; }};
    const QString path = test::writeTemplate(QStringLiteral("[report]\ntitle = Dates\n"
                                                            "database = CLINICAL_AREA\n\n"
                                                            "[source]\n") +
                                             source +
                                             QStringLiteral("\n\n[columns]\n"
                                                            "Description | Description | 20\n"
                                                            "TransDate | Date | 16 | "
                                                            "mm/dd/yyyy hh:mmAM/PM\n"));
    auto report = engine.OpenTemplate(path);
    const QString out = QFileInfo(path).path() + QStringLiteral("/dates.xlsx");
    report->Export(out, ExportFormat::Excel);

    const QString sheet = unzipped(out, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>46353.375</v>"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>46357.6875</v>"))) << sheet.toStdString();
    const QString strings = unzipped(out, QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_FALSE(strings.contains(QStringLiteral("11/27/2026"))) << strings.toStdString();
    EXPECT_FALSE(strings.contains(QStringLiteral("12/01/2026"))) << strings.toStdString();
    const QString styles = unzipped(out, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"mm/dd/yyyy hh:mmAM/PM\"")))
        << styles.toStdString();
}

TEST(ReportOutput, RtfTextKeepsItsBracesBackslashesAndAccents)
{
    EXPECT_EQ(reportengine::rtfText(QStringLiteral("{A}\\B")), QByteArray("\\{A\\}\\\\B"));
    EXPECT_EQ(reportengine::rtfText(QStringLiteral("PE\u00d1A")), QByteArray("PE\\u209?A"));
}

TEST(ReportOutput, AFileThatCannotBeWrittenIsNamedAndNothingIsClaimed)
{
    Report r(3);
    const QString path = r.folder + QStringLiteral("/missing-folder/out");
    for (auto format : {ExportFormat::Pdf, ExportFormat::Excel, ExportFormat::RichText}) {
        try {
            r.report->Export(path, format);
            ADD_FAILURE() << "no error for format " << int(format);
        } catch (const ReportError &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
    }
}

TEST(ReportOutput, PrintOutPrintsEveryPageOnThePrinter)
{
    Report r(120);
    const QString path = r.file("printed.pdf");
    auto previous = reportengine::setPrinterSetup([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    });
    r.report->PrintOut();
    reportengine::setPrinterSetup(previous);
    EXPECT_EQ(pdfPages(path), r.ours().layout().pageCount());
}

// Every template of the Reports folder laid out with long values in every
// column (dates with times, reasons, names, big sums): nothing is cut short,
// whatever the column's width.
TEST(ReportOutput, EveryTemplateShowsLongValuesWhole)
{
    const QDateTime moment(QDate(2026, 12, 10), QTime(0, 30, 45));
    const QString reason = QStringLiteral(
        "Doctor's order: wrong item charged to the patient, to be posted again on a new slip");
    const QDir folder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    const QStringList files =
        folder.entryList({QStringLiteral("*.rpt"), QStringLiteral("*.RPT")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        const reportengine::ReportTemplate templ =
            reportengine::readTemplate(folder.filePath(file));
        reportengine::ReportDocument doc;
        doc.title = templ.main.title;
        doc.paper = templ.paper;
        doc.landscape = templ.landscape;
        doc.fontSize = templ.fontSize;
        doc.hospital = QStringLiteral("ST. JUDE GENERAL HOSPITAL");
        doc.printDate = moment;
        QStringList expected;
        for (int s = 0; s < templ.sectionCount(); ++s) {
            const reportengine::SectionSpec &layout = templ.section(s);
            reportengine::DocSection section;
            section.name = layout.name;
            section.title = layout.title;
            reportengine::DocRow detail;
            reportengine::DocRow total{
                reportengine::DocRow::Total, 0, QStringLiteral("GRAND TOTAL: 12345 line(s)"), {}};
            for (const reportengine::ColumnSpec &c : layout.columns) {
                const bool date = reportengine::isDateFormat(c.format);
                const bool number = !c.format.isEmpty() && !date;
                const Qt::Alignment align = c.align  ? c.align
                                            : number ? Qt::AlignRight
                                                     : Qt::AlignLeft;
                section.columns.push_back({c.caption, c.width, align, {}, {}});
                const QString value = date     ? reportengine::formatDateTime(moment, c.format)
                                      : number ? reportengine::formatNumber(-1234567.89, c.format)
                                               : reason;
                detail.cells.push_back({value, {}, {}});
                total.cells.push_back({number ? value : QString(), {}, {}});
                expected << value;
            }
            section.rows = {detail, detail, total};
            doc.sections.push_back(section);
        }
        const reportengine::PageLayout pages(doc);
        QStringList shown;
        for (int page = 0; page < pages.pageCount(); ++page) {
            EXPECT_EQ(pages.cutTexts(page), QStringList()) << "page " << page;
            shown << pages.pageTexts(page);
        }
        for (const QString &value : expected)
            EXPECT_TRUE(shown.contains(value)) << value.toStdString();
    }
}
