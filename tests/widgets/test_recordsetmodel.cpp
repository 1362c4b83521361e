// The record set model and its sorting and filtering proxy, under Qt's model
// tester: what a grid shows (formats, Nulls, alignment), that a header click
// orders dates and amounts by value rather than by their text, that typed
// text narrows the rows in any case, and that the caller reads the chosen
// row by column name through the proxy.

#include "platform/connection.h"
#include "widgets/recordsetfilter.h"
#include "widgets/recordsetmodel.h"

#include <QAbstractItemModelTester>
#include <QDateTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace chemodesk;
using widgets::RecordsetColumn;
using widgets::RecordsetFilterModel;
using widgets::RecordsetModel;

namespace {

// The tester reports through qWarning; a test fails on any of its words
// rather than aborting the whole program.
class ModelChecks {
public:
    ModelChecks()
    {
        current = this;
        previous_ = qInstallMessageHandler(&ModelChecks::handle);
    }
    ~ModelChecks()
    {
        qInstallMessageHandler(previous_);
        current = nullptr;
    }
    void watch(QAbstractItemModel *model)
    {
        testers_.push_back(std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::Warning));
    }
    QStringList failures;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (current && qstrcmp(context.category, "qt.modeltest") == 0 && type >= QtWarningMsg)
            current->failures << text;
        else if (current && current->previous_)
            current->previous_(type, context, text);
    }
    static inline ModelChecks *current = nullptr;
    QtMessageHandler previous_ = nullptr;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers_;
};

QVariant null()
{
    return {};
}

QStringList shown(const QAbstractItemModel &model, int column)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, column).data().toString();
    return out;
}

// Rows of a small service list: a code, a name, a date and an amount, with
// the amount's text order unlike its value order and a Null in each of them.
Recordset services()
{
    return Recordset({QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("Posted"),
                      QStringLiteral("Amount"), QStringLiteral("SectionID")},
                     {{QStringLiteral("8001"), QStringLiteral("CHEMOTHERAPY ADMINISTRATION FEE"),
                       QStringLiteral("2024-01-02 09:15:00"), 1500.0, QStringLiteral("ON")},
                      {QStringLiteral("8005"), QStringLiteral("Chemoport flushing"),
                       QStringLiteral("2023-12-31 00:00:00"), 95.5, QStringLiteral("ON")},
                      {QStringLiteral("7010"), QStringLiteral("IV insertion"), null(), 250,
                       QStringLiteral("LB")},
                      {QStringLiteral("8002"), null(), QStringLiteral("2023-03-05 00:00:00"),
                       null(), QStringLiteral("ON")}});
}

std::vector<RecordsetColumn> serviceColumns()
{
    return {{QStringLiteral("code"), QStringLiteral("Code")},
            {QStringLiteral("NAME"), QStringLiteral("Description")},
            {QStringLiteral("Posted"), QStringLiteral("Date"), QStringLiteral("mm/dd/yyyy")},
            {QStringLiteral("Amount"), QString(), QStringLiteral("##0.00")}};
}

TEST(RecordsetModel, TesterFindsNoFaultAcrossResetsSortsAndFilters)
{
    ModelChecks checks;
    RecordsetModel model(serviceColumns());
    RecordsetFilterModel rows;
    checks.watch(&model);
    rows.setSourceModel(&model);
    checks.watch(&rows);

    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 4);
    model.setRecordset(Recordset()); // closed: nothing to show
    EXPECT_EQ(rows.rowCount(), 0);
    model.setRecordset(Recordset(services().ColumnNames(), {})); // open, no rows
    EXPECT_EQ(rows.rowCount(), 0);
    model.setRecordset(services());
    EXPECT_EQ(rows.rowCount(), 4);
    for (int column = 0; column < model.columnCount(); ++column) {
        rows.sort(column, Qt::AscendingOrder);
        rows.sort(column, Qt::DescendingOrder);
    }
    rows.setFilterText(QStringLiteral("chemo"));
    EXPECT_EQ(rows.rowCount(), 2);
    // A reset while sorted and filtered: the new rows are sorted and filtered too.
    model.setRecordset(Recordset(services().ColumnNames(),
                                 {{QStringLiteral("9"), QStringLiteral("CHEMO ONE"), null(), 1},
                                  {QStringLiteral("1"), QStringLiteral("OTHER"), null(), 2},
                                  {QStringLiteral("5"), QStringLiteral("chemo two"), null(), 3}}));
    EXPECT_EQ(shown(rows, 0), (QStringList{QStringLiteral("5"), QStringLiteral("9")}));
    rows.setFilterText(QString());
    EXPECT_EQ(rows.rowCount(), 3);
    model.setRecordset(Recordset());
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(checks.failures, QStringList());
}

// One value in one column: its text, its alignment (the heading's too) and
// what it sorts by.
struct DisplayCase {
    const char *name;
    QVariant raw;
    QString format;
    Qt::Alignment alignment; // as configured; none: the column's default
    QString text;
    Qt::Alignment shownAlignment;
    QVariant sortValue;
};

TEST(RecordsetModel, WritesEachValueInItsColumnsFormat)
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    const QDateTime afternoon(QDate(2024, 3, 5), QTime(14, 7));
    const DisplayCase cases[] = {
        {"text", QStringLiteral("abc"), {}, {}, QStringLiteral("abc"), left, QStringLiteral("abc")},
        {"Null text", null(), {}, {}, QString(), left, null()},
        {"empty text is not Null", QStringLiteral(""), {}, {}, QString(), left, QStringLiteral("")},
        {"integer as it comes", 40, {}, {}, QStringLiteral("40"), left, 40},
        {"real as it comes", 12.5, {}, {}, QStringLiteral("12.5"), left, 12.5},
        {"amount 0.00", 1500, QStringLiteral("0.00"), {}, QStringLiteral("1500.00"), right, 1500.0},
        {"amount ##0.00", 0.5, QStringLiteral("##0.00"), {}, QStringLiteral("0.50"), right, 0.5},
        {"amount negative",
         -12.5,
         QStringLiteral("##0.00"),
         {},
         QStringLiteral("-12.50"),
         right,
         -12.5},
        {"amount as numeric text",
         QStringLiteral("12.5"),
         QStringLiteral("0.00"),
         {},
         QStringLiteral("12.50"),
         right,
         12.5},
        {"Null amount", null(), QStringLiteral("0.00"), {}, QString(), right, null()},
        {"date of ISO text",
         QStringLiteral("2024-03-05 00:00:00"),
         QStringLiteral("mm/dd/yyyy"),
         {},
         QStringLiteral("03/05/2024"),
         left,
         QDateTime(QDate(2024, 3, 5), QTime(0, 0))},
        {"date of a date-time",
         afternoon,
         QStringLiteral("mm/dd/yyyy"),
         {},
         QStringLiteral("03/05/2024"),
         left,
         afternoon},
        {"date of mm/dd/yyyy text",
         QStringLiteral("03/05/2024 02:07PM"),
         QStringLiteral("mm/dd/yyyy"),
         {},
         QStringLiteral("03/05/2024"),
         left,
         afternoon},
        {"time afternoon",
         QStringLiteral("2024-03-05 14:07:00"),
         QStringLiteral("hh:mmAM/PM"),
         {},
         QStringLiteral("02:07PM"),
         left,
         afternoon},
        {"time morning",
         QStringLiteral("2024-03-05 09:30:00"),
         QStringLiteral("hh:mmAM/PM"),
         {},
         QStringLiteral("09:30AM"),
         left,
         QDateTime(QDate(2024, 3, 5), QTime(9, 30))},
        {"Null date", null(), QStringLiteral("mm/dd/yyyy"), {}, QString(), left, null()},
        {"alignment as configured",
         QStringLiteral("M"),
         {},
         centre,
         QStringLiteral("M"),
         centre,
         QStringLiteral("M")},
        {"number right as configured", 7, {}, right, QStringLiteral("7"), right, 7},
    };
    for (const DisplayCase &c : cases) {
        SCOPED_TRACE(c.name);
        RecordsetModel model(
            {{QStringLiteral("Value"), QStringLiteral("Heading"), c.format, c.alignment}});
        model.setRecordset(Recordset({QStringLiteral("VALUE")}, {{c.raw}}));
        const QModelIndex cell = model.index(0, 0);
        const QVariant text = cell.data(Qt::DisplayRole);
        EXPECT_EQ(text.typeId(), QMetaType::QString);
        EXPECT_EQ(text.toString(), c.text);
        EXPECT_EQ(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>(), c.shownAlignment);
        EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                  c.shownAlignment);
        EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Heading"));
        const QVariant sortValue = cell.data(RecordsetModel::SortRole);
        EXPECT_EQ(sortValue.isValid(), c.sortValue.isValid());
        if (c.sortValue.isValid()) {
            EXPECT_EQ(RecordsetFilterModel::compareValues(sortValue, c.sortValue), 0)
                << sortValue.toString().toStdString();
        }
    }
}

// One column of values sorted by the proxy; the order, as shown, ascending.
struct SortCase {
    const char *name;
    QString format;
    std::vector<QVariant> values;
    QStringList ascending;
};

TEST(RecordsetFilterModel, SortsByValueNotByTheShownText)
{
    const SortCase cases[] = {
        // As text, 01/02/2024 would come before 12/31/2023.
        {"dates across a year",
         QStringLiteral("mm/dd/yyyy"),
         {QStringLiteral("2024-01-02 00:00:00"), QStringLiteral("2023-12-31 00:00:00"), null(),
          QStringLiteral("2023-02-01 00:00:00")},
         {QString(), QStringLiteral("02/01/2023"), QStringLiteral("12/31/2023"),
          QStringLiteral("01/02/2024")}},
        // As text, 01:00PM would come first.
        {"times of a day",
         QStringLiteral("hh:mmAM/PM"),
         {QStringLiteral("2024-03-05 13:00:00"), QStringLiteral("2024-03-05 09:00:00"),
          QStringLiteral("2024-03-05 11:00:00")},
         {QStringLiteral("09:00AM"), QStringLiteral("11:00AM"), QStringLiteral("01:00PM")}},
        // As text, 10.00 and 100.00 would come before 9.50.
        {"amounts",
         QStringLiteral("##0.00"),
         {100, 9.5, null(), 10.0},
         {QString(), QStringLiteral("9.50"), QStringLiteral("10.00"), QStringLiteral("100.00")}},
        {"amounts of numeric text",
         QStringLiteral("0.00"),
         {QStringLiteral("100"), QStringLiteral("9.5"), QStringLiteral("-3")},
         {QStringLiteral("-3.00"), QStringLiteral("9.50"), QStringLiteral("100.00")}},
        {"integers as they come",
         QString(),
         {10, 9, 100},
         {QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("100")}},
        // Case-sensitive, the capitals would all come first.
        {"texts in any case",
         QString(),
         {QStringLiteral("beta"), QStringLiteral("Gamma"), QStringLiteral("alpha2"),
          QStringLiteral("Alpha")},
         {QStringLiteral("Alpha"), QStringLiteral("alpha2"), QStringLiteral("beta"),
          QStringLiteral("Gamma")}},
    };
    for (const SortCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<QVariant>> rows;
        for (const QVariant &value : c.values)
            rows.push_back({value});
        RecordsetModel model({{QStringLiteral("V"), QString(), c.format}});
        model.setRecordset(Recordset({QStringLiteral("V")}, rows));
        RecordsetFilterModel sorted;
        sorted.setSourceModel(&model);
        sorted.sort(0, Qt::AscendingOrder);
        EXPECT_EQ(shown(sorted, 0), c.ascending);
        sorted.sort(0, Qt::DescendingOrder);
        QStringList descending = c.ascending;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(shown(sorted, 0), descending);
    }
}

// Typed text against the shown columns: which codes stay.
struct FilterCase {
    const char *name;
    QString text;
    QStringList fields; // none: every column
    RecordsetFilterModel::Match match;
    QStringList codes;
};

TEST(RecordsetFilterModel, TypedTextNarrowsTheRowsInAnyCase)
{
    using Match = RecordsetFilterModel::Match;
    const QStringList all = {QStringLiteral("8001"), QStringLiteral("8005"), QStringLiteral("7010"),
                             QStringLiteral("8002")};
    const FilterCase cases[] = {
        {"nothing typed", QString(), {QStringLiteral("Name")}, Match::Contains, all},
        {"lower case finds capitals",
         QStringLiteral("chemo"),
         {QStringLiteral("Name")},
         Match::Contains,
         {QStringLiteral("8001"), QStringLiteral("8005")}},
        {"capitals find lower case",
         QStringLiteral("FLUSH"),
         {QStringLiteral("Name")},
         Match::Contains,
         {QStringLiteral("8005")}},
        {"inside a word",
         QStringLiteral("sert"),
         {QStringLiteral("Name")},
         Match::Contains,
         {QStringLiteral("7010")}},
        {"starts with, not inside",
         QStringLiteral("sert"),
         {QStringLiteral("Name")},
         Match::StartsWith,
         {}},
        {"starts with",
         QStringLiteral("iv "),
         {QStringLiteral("Name")},
         Match::StartsWith,
         {QStringLiteral("7010")}},
        // 8002 has a Null name: only its code holds "800".
        {"one column of several",
         QStringLiteral("800"),
         {QStringLiteral("Code"), QStringLiteral("Name")},
         Match::Contains,
         {QStringLiteral("8001"), QStringLiteral("8005"), QStringLiteral("8002")}},
        {"a column not searched",
         QStringLiteral("800"),
         {QStringLiteral("Name")},
         Match::Contains,
         {}},
        // The date as shown, not the engine's ISO text.
        {"the shown date", QStringLiteral("12/31"), {}, Match::Contains, {QStringLiteral("8005")}},
        {"not the stored date", QStringLiteral("2023-12"), {}, Match::Contains, {}},
        {"the shown amount",
         QStringLiteral("95.50"),
         {},
         Match::Contains,
         {QStringLiteral("8005")}},
    };
    RecordsetModel model(serviceColumns());
    model.setRecordset(services());
    for (const FilterCase &c : cases) {
        SCOPED_TRACE(c.name);
        RecordsetFilterModel rows;
        rows.setSourceModel(&model);
        QList<int> columns;
        for (const QString &field : c.fields)
            columns << model.columnOf(field);
        rows.setFilterColumns(columns);
        rows.setMatch(c.match);
        rows.setFilterText(c.text);
        EXPECT_EQ(shown(rows, 0), c.codes);
    }
}

TEST(RecordsetModel, TheCallerReadsTheChosenRowByNameThroughTheProxy)
{
    RecordsetModel model(serviceColumns());
    model.setRecordset(services());
    RecordsetFilterModel rows;
    rows.setSourceModel(&model);
    rows.sort(model.columnOf(QStringLiteral("Amount")), Qt::DescendingOrder);

    const QModelIndex top = rows.index(0, 1);
    EXPECT_EQ(model.sourceRow(top), 0);
    EXPECT_EQ(model.value(top, QStringLiteral("CODE")).toString(), QStringLiteral("8001"));
    // Columns not shown are kept for the caller.
    EXPECT_EQ(model.value(rows.index(1, 0), QStringLiteral("sectionid")).toString(),
              QStringLiteral("LB"));
    EXPECT_TRUE(model.value(rows.index(3, 0), QStringLiteral("Amount")).IsNull());
    EXPECT_EQ(model.sourceRow(QModelIndex()), -1);

    Recordset chosen = model.record(model.sourceRow(rows.index(2, 0)));
    EXPECT_EQ(chosen.RecordCount(), 1);
    EXPECT_EQ(chosen.ColumnNames(), services().ColumnNames());
    EXPECT_EQ(chosen.Fields(QStringLiteral("Code")).toString(), QStringLiteral("8005"));
    EXPECT_DOUBLE_EQ(chosen.Fields(QStringLiteral("Amount")).toDouble(), 95.5);

    // Misspelt or missing, found at once, as a record set's are.
    EXPECT_THROW(model.value(0, QStringLiteral("Cod")), DatabaseError);
    EXPECT_THROW(model.value(4, QStringLiteral("Code")), DatabaseError);
    EXPECT_THROW(model.record(-1), DatabaseError);
    EXPECT_EQ(model.columnOf(QStringLiteral("SectionID")), -1);

    // Rows without a chosen column are refused and the shown rows stay.
    EXPECT_THROW(model.setRecordset(Recordset({QStringLiteral("Code"), QStringLiteral("Name")},
                                              {{QStringLiteral("1"), QStringLiteral("x")}})),
                 DatabaseError);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.value(0, QStringLiteral("Code")).toString(), QStringLiteral("8001"));
}

TEST(RecordsetModel, WithoutChosenColumnsShowsEveryColumnUnderItsName)
{
    ModelChecks checks;
    RecordsetModel model;
    checks.watch(&model);
    EXPECT_EQ(model.columnCount(), 0);
    model.setRecordset(services());
    ASSERT_EQ(model.columnCount(), 5);
    QStringList headings;
    for (int column = 0; column < model.columnCount(); ++column)
        headings << model.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headings, services().ColumnNames());
    EXPECT_EQ(model.index(2, 3).data().toString(), QStringLiteral("250"));
    EXPECT_EQ(model.index(2, 2).data().toString(), QString());
    model.setRecordset(Recordset());
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(checks.failures, QStringList());
}

// The screens describe their grids with one format string: the model takes
// its headings and alignments from it.
TEST(RecordsetModel, ColumnsFromAGridsFormatString)
{
    const auto columns = widgets::formatStringColumns(
        QStringLiteral("<Code  |^Date |>Amount "),
        {QStringLiteral("Code"), QStringLiteral("Posted"), QStringLiteral("Amount")},
        {QString(), QStringLiteral("mm/dd/yyyy"), QStringLiteral("##0.00")});
    RecordsetModel model(columns);
    model.setRecordset(services());
    QStringList headings;
    for (int column = 0; column < model.columnCount(); ++column)
        headings << model.headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{QStringLiteral("Code"), QStringLiteral("Date"),
                                     QStringLiteral("Amount")}));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("12/31/2023"));
    EXPECT_EQ(model.index(1, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("95.50"));
    EXPECT_EQ(model.index(1, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace
