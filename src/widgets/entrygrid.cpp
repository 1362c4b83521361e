#include "entrygrid.h"

#include "gridformat.h"
#include "messages.h"
#include "platform/keyfilter.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace chemodesk::widgets {

EntryGrid::EntryGrid(platform::KeyFilter *keys, QWidget *parent) : QTableWidget(parent), keys_(keys)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);

    txtEntry = new QLineEdit(viewport());
    txtEntry->setObjectName(QStringLiteral("txtEntry"));
    txtEntry->setFrame(false);
    // The cell being edited stands out from the rest of the grid.
    txtEntry->setStyleSheet(QStringLiteral(
        "QLineEdit { background: #fff7c2; border: 1px solid #3a6ea5; padding: 0 2px; }"));
    txtEntry->hide();
    txtEntry->installEventFilter(this);

    digits_ = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    decimal_ = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), this);

    // The box rides on its cell when the grid scrolls or a column changes width.
    auto follow = [this] {
        if (txtEntry->isVisible())
            placeBox();
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, follow);
}

EntryGrid::~EntryGrid() = default;

void EntryGrid::setColumns(const QString &format, std::vector<GridColumn> columns)
{
    const QList<FormatColumn> headers = parseFormatString(format);
    if (columns.size() < size_t(headers.size()))
        columns.resize(size_t(headers.size()));
    for (int i = 0; i < headers.size(); ++i)
        columns[size_t(i)].header = headers[i].header;
    columns_ = std::move(columns);
    setColumnCount(int(columns_.size()));
    QList<int> widths;
    for (const GridColumn &s : columns_)
        widths.append(s.widthTwips);
    applyFormatString(this, format, widths);
    for (int i = int(headers.size()); i < columnCount(); ++i)
        setHorizontalHeaderItem(i, new QTableWidgetItem(columns_[size_t(i)].header));
    resetLines();
}

void EntryGrid::setCodeColumns(int code, QList<int> sameAlso)
{
    codeColumn_ = code;
    sameAlso_ = std::move(sameAlso);
}

// ------------------------------------------------------------ procedures

bool EntryGrid::PutTextBox(int column, int line)
{
    const QString prompt = column >= 0 && size_t(column) < columns_.size()
                               ? columns_[size_t(column)].prompt
                               : QString();
    return PutTextBox(column, line, prompt);
}

bool EntryGrid::PutTextBox(int column, int line, const QString &prompt)
{
    if (prompt_ && !prompt.isEmpty())
        prompt_->setText(prompt);
    if (line < 1 || line > rowCount())
        return false;
    prepareLine(line);
    if (skipped(column)) {
        prepareLine(line_); // the box stays where it was, and so do its line's rules
        return false;
    }
    line_ = line;
    column_ = column;
    pointRefusedAt_.reset();
    const GridColumn &c = columns_[size_t(column)];
    txtEntry->setMaxLength(c.maxLength > 0 ? c.maxLength : 32767);
    txtEntry->setValidator(c.keys == KeyClass::Digits    ? digits_
                           : c.keys == KeyClass::Decimal ? decimal_
                                                         : nullptr);
    txtEntry->setAlignment(item(line - 1, column)
                               ? Qt::Alignment(item(line - 1, column)->textAlignment())
                               : Qt::AlignLeft | Qt::AlignVCenter);
    setCurrentCell(line - 1, column);
    scrollTo(model()->index(line - 1, column));
    placeBox();
    txtEntry->setText(text(line, column));
    txtEntry->selectAll();
    txtEntry->show();
    txtEntry->setFocus();
    return true;
}

bool EntryGrid::CompleteRow(int line) const
{
    if (line < 1 || line > rowCount())
        return false;
    if (rules_.isComplete)
        return rules_.isComplete(line);
    if (required_.isEmpty())
        return QualifiedRow(line);
    for (int column : required_)
        if (text(line, column).trimmed().isEmpty())
            return false;
    return true;
}

bool EntryGrid::AddRow()
{
    if (!CompleteRow(rowCount()))
        return false;
    insertRow(rowCount());
    setText(rowCount(), 0, QString::number(rowCount()));
    Q_EMIT linesChanged();
    return true;
}

void EntryGrid::DeleteRow()
{
    if (rowCount() > 1) {
        removeRow(line_ - 1);
        line_ = std::min(line_, rowCount());
        number();
    } else {
        clearCells(1, 1, columnCount() - 1);
    }
    preparedLine_ = 0;
    prepareLine(line_);
    PutTextBox(skipped(column_) ? firstColumn() : column_, line_);
    Q_EMIT linesChanged();
}

bool EntryGrid::QualifiedRow(int line) const
{
    return !text(line, qualifying_).trimmed().isEmpty();
}

bool EntryGrid::Check_Code(const QString &code, int line) const
{
    const QString wanted = code.trimmed();
    if (wanted.isEmpty())
        return false;
    for (int other = 1; other <= rowCount(); ++other) {
        if (other == line ||
            text(other, codeColumn_).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        bool same = true;
        for (int column : sameAlso_)
            same = same && text(other, column)
                                   .trimmed()
                                   .compare(text(line, column).trimmed(), Qt::CaseInsensitive) == 0;
        if (same)
            return true;
    }
    return false;
}

// -------------------------------------------------------- cells and cursor

QString EntryGrid::text(int line, int column) const
{
    const QTableWidgetItem *it = item(line - 1, column);
    return it ? it->text() : QString();
}

QTableWidgetItem *EntryGrid::cell(int line, int column)
{
    QTableWidgetItem *it = item(line - 1, column);
    if (!it) {
        it = new QTableWidgetItem;
        if (size_t(column) < columns_.size()) {
            const auto *header = horizontalHeaderItem(column);
            if (header)
                it->setTextAlignment(Qt::Alignment(header->textAlignment()));
        }
        setItem(line - 1, column, it);
    }
    return it;
}

void EntryGrid::setText(int line, int column, const QString &value)
{
    if (line < 1 || line > rowCount() || column < 0 || column >= columnCount())
        return;
    cell(line, column)->setText(value);
}

void EntryGrid::clearCells(int line, int first, int last)
{
    for (int column = first; column <= last && column < columnCount(); ++column)
        if (QTableWidgetItem *it = item(line - 1, column))
            it->setText(QString());
}

void EntryGrid::resetLines()
{
    clearContents();
    setRowCount(1);
    setText(1, 0, QStringLiteral("1"));
    line_ = 1;
    column_ = 1;
    preparedLine_ = 0;
    prepareLine(1);
    if (firstColumn() > 0)
        PutTextBox(firstColumn(), 1);
    Q_EMIT linesChanged();
}

double EntryGrid::columnSum(int column) const
{
    double sum = 0;
    for (int line = 1; line <= rowCount(); ++line)
        sum += text(line, column).trimmed().toDouble();
    return sum;
}

void EntryGrid::loadBox()
{
    txtEntry->setText(text(line_, column_));
    txtEntry->selectAll();
}

bool EntryGrid::nextLine()
{
    if (line_ < rowCount()) {
        prepareLine(line_ + 1);
        PutTextBox(firstColumn(), line_ + 1);
        return true;
    }
    if (!AddRow()) {
        loadBox();
        return false;
    }
    prepareLine(rowCount());
    PutTextBox(firstColumn(), rowCount());
    return true;
}

int EntryGrid::firstColumn() const
{
    return step(0, +1);
}

int EntryGrid::lastColumn() const
{
    return step(columnCount(), -1);
}

// ------------------------------------------------------------------ keys

bool EntryGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtEntry || event->type() != QEvent::KeyPress)
        return QTableWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    auto moveTo = [this](int column) {
        if (column > 0)
            PutTextBox(column, line_);
        return true;
    };
    auto moveLine = [this](int line) {
        if (line < 1 || line > rowCount())
            return true;
        prepareLine(line);
        PutTextBox(skipped(column_) ? firstColumn() : column_, line);
        return true;
    };
    switch (key->key()) {
    case Qt::Key_Left:
        return moveTo(step(column_, -1));
    case Qt::Key_Right:
        return moveTo(step(column_, +1));
    case Qt::Key_Home:
        return moveTo(firstColumn());
    case Qt::Key_End:
        return moveTo(lastColumn());
    case Qt::Key_Up:
        return moveLine(line_ - 1);
    case Qt::Key_Down:
        return moveLine(line_ + 1);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enter();
        return true;
    case Qt::Key_F3:
        if (rules_.onDeleteKey)
            rules_.onDeleteKey();
        else
            DeleteRow();
        return true;
    default:
        return typedKey(key);
    }
}

bool EntryGrid::refuse(const QString &why)
{
    QApplication::beep();
    if (prompt_)
        prompt_->setText(why);
    Q_EMIT keyRefused(why);
    return true;
}

// True when the key was refused or typed here in another form.
bool EntryGrid::typedKey(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint() || size_t(column_) >= columns_.size())
        return false;
    const QString wholeNumbers =
        QStringLiteral("Only whole numbers can be typed here: delete the number and type it "
                       "again.");
    switch (columns_[size_t(column_)].keys) {
    case KeyClass::Any:
        return false;
    case KeyClass::NotTyped:
        return refuse(QStringLiteral("This column is filled in by the program."));
    case KeyClass::Upper: {
        QString upper;
        for (const QChar ch : typed) {
            const int code = keys_ ? keys_->AllUppers(ch.unicode()) : ch.toUpper().unicode();
            upper.append(QChar(code));
        }
        txtEntry->insert(upper);
        return true;
    }
    case KeyClass::Digits:
        if (pointRefusedAt_ && !txtEntry->hasSelectedText() && txtEntry->text() == *pointRefusedAt_)
            return refuse(wholeNumbers);
        pointRefusedAt_.reset();
        for (const QChar ch : typed) {
            if (ch == QLatin1Char('.') || ch == QLatin1Char(',')) {
                pointRefusedAt_ = txtEntry->text();
                return refuse(wholeNumbers);
            }
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                return refuse(QStringLiteral("Only digits can be typed here."));
        }
        return false;
    case KeyClass::Decimal: {
        const QString decimal =
            QStringLiteral("Only digits and one decimal point can be typed here.");
        QString rest = txtEntry->text();
        if (txtEntry->hasSelectedText())
            rest.remove(txtEntry->selectionStart(), txtEntry->selectedText().size());
        for (const QChar ch : typed) {
            if (ch == QLatin1Char('.')) {
                if (rest.contains(QLatin1Char('.')))
                    return refuse(decimal);
                rest.append(ch);
            } else if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
                return refuse(decimal);
            }
        }
        return false;
    }
    }
    return false;
}

void EntryGrid::enter()
{
    const int line = line_;
    const int column = column_;
    Enter result = Enter::Next;
    if (rules_.onEnter)
        result = rules_.onEnter(line, column, txtEntry->text());
    else
        setText(line, column, txtEntry->text());
    if (result == Enter::Done)
        return;
    if (result == Enter::Stay) {
        txtEntry->selectAll();
        txtEntry->setFocus();
        return;
    }
    const int next = step(column, +1);
    if (next > 0)
        PutTextBox(next, line);
    else
        nextLine();
}

// ---------------------------------------------------------------- helpers

bool EntryGrid::skipped(int column) const
{
    return column <= 0 || column >= columnCount() || size_t(column) >= columns_.size() ||
           isColumnHidden(column) || !columns_[size_t(column)].editable || ExcemptCol(column);
}

int EntryGrid::step(int from, int direction) const
{
    for (int column = from + direction; column > 0 && column < columnCount(); column += direction)
        if (!skipped(column))
            return column;
    return -1;
}

void EntryGrid::prepareLine(int line)
{
    if (line == preparedLine_)
        return;
    preparedLine_ = line;
    if (rules_.onLineEntered)
        rules_.onLineEntered(line);
}

void EntryGrid::placeBox()
{
    const QRect r = visualRect(model()->index(line_ - 1, column_));
    txtEntry->setGeometry(r.x(), r.y(), std::max(r.width() - twipsToPixels(20), 10), r.height());
}

void EntryGrid::number()
{
    for (int line = 1; line <= rowCount(); ++line)
        setText(line, 0, QString::number(line));
}

void EntryGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() > 0 && PutTextBox(index.column(), index.row() + 1))
        return;
    QTableWidget::mousePressEvent(event);
}

void EntryGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    if (txtEntry->isVisible())
        placeBox();
}

bool confirmLineDeletion(bool lineHasEntry)
{
    if (!lineHasEntry) {
        msgInformation(QStringLiteral("Row cannot be deleted because there are no entries yet."),
                       QStringLiteral("MESSAGE"));
        return false;
    }
    return msgYesNo(QStringLiteral("Are you sure to delete the request?"));
}

} // namespace chemodesk::widgets
