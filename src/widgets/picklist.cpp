#include "picklist.h"

#include "database/sqltext.h"
#include "widgets/messages.h"
#include "widgets/recordsetfilter.h"
#include "widgets/recordsetmodel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace chemodesk::widgets {

namespace {

RecordsetColumn shownColumn(const PickColumn &column)
{
    switch (column.format) {
    case PickColumn::Number:
        return {column.field, column.header, QString(), Qt::AlignRight | Qt::AlignVCenter};
    case PickColumn::Amount:
        return {column.field, column.header, QStringLiteral("0.00"), {}};
    case PickColumn::Text:
        break;
    }
    return {column.field, column.header, QString(), {}};
}

std::vector<RecordsetColumn> shownColumns(const std::vector<PickColumn> &columns)
{
    std::vector<RecordsetColumn> out;
    for (const PickColumn &column : columns)
        out.push_back(shownColumn(column));
    return out;
}

// A key that types a character into the search box.
bool typesText(const QKeyEvent *event)
{
    return !event->text().isEmpty() && event->text().at(0).isPrint() &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

} // namespace

QString startsWith(const QString &column, const QString &text)
{
    QString pattern;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return column + QStringLiteral(" LIKE ") + sql::quote(pattern + QLatin1Char('%')) +
           QStringLiteral(" ESCAPE '\\'");
}

PickList::PickList(const QString &caption, std::vector<PickColumn> columns, Source source,
                   QWidget *parent)
    : QDialog(parent), source_(std::move(source))
{
    setObjectName(QStringLiteral("frmPickList"));
    setWindowTitle(caption);

    auto *label = new QLabel(QStringLiteral("&Search:"), this);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    label->setBuddy(txtSearch);

    // Every column of the rows is kept so that the chosen one is read whole;
    // the rows come in the source's order, narrowed by the source.
    model_ = new RecordsetModel(shownColumns(columns), this);
    rows_ = new RecordsetFilterModel(this);
    rows_->setSourceModel(model_);
    grdList = new QTableView(this);
    grdList->setObjectName(QStringLiteral("grdList"));
    grdList->setModel(rows_);
    grdList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdList->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdList->setSelectionMode(QAbstractItemView::SingleSelection);
    grdList->setTabKeyNavigation(false);
    grdList->verticalHeader()->hide();
    grdList->verticalHeader()->setDefaultSectionSize(grdList->fontMetrics().height() + 6);
    // The name (second column) takes the room the codes and numbers leave.
    grdList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdList->horizontalHeader()->setMinimumSectionSize(60);
    if (model_->columnCount() > 1)
        grdList->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter is ours (it picks the current row), never a default button's.
    cmdSelect->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(label);
    searchRow->addWidget(txtSearch, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(grdList, 1);
    layout->addLayout(buttons);
    resize(640, 420);
    setTabOrder(txtSearch, grdList);
    setTabOrder(grdList, cmdSelect);
    setTabOrder(cmdSelect, cmdCancel);

    // Only what the user types narrows the list.
    connect(txtSearch, &QLineEdit::textEdited, this, &PickList::refill);
    connect(grdList, &QTableView::doubleClicked, this, &PickList::accept);
    connect(cmdSelect, &QPushButton::clicked, this, &PickList::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &PickList::reject);
    txtSearch->installEventFilter(this);
    grdList->installEventFilter(this);
}

int PickList::search(const QString &text)
{
    txtSearch->setText(text);
    fill(source_(text));
    return rowCount();
}

int PickList::rowCount() const
{
    return rows_->rowCount();
}

void PickList::refill()
{
    // Typing is this dialog's own edge: a failing query empties the list and
    // says why, and the user may type on or cancel.
    try {
        fill(source_(txtSearch->text()));
    } catch (const DatabaseError &e) {
        fill(Recordset());
        widgets::msgCritical(e.message());
    }
}

void PickList::fill(Recordset rows)
{
    model_->setRecordset(std::move(rows));
    if (rowCount() > 0)
        grdList->selectRow(0);
    cmdSelect->setEnabled(rowCount() > 0);
}

void PickList::accept()
{
    const QModelIndex current = grdList->currentIndex();
    if (!current.isValid())
        return;
    chosen_ = model_->record(model_->sourceRow(current));
    QDialog::accept();
}

bool PickList::move(int key)
{
    const int rows = rowCount();
    if (rows == 0)
        return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
               key == Qt::Key_PageDown;
    const int rowHeight = std::max(1, grdList->verticalHeader()->defaultSectionSize());
    const int page = std::max(1, grdList->viewport()->height() / rowHeight - 1);
    int row = std::max(0, grdList->currentIndex().row());
    switch (key) {
    case Qt::Key_Up:
        row -= 1;
        break;
    case Qt::Key_Down:
        row += 1;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    default:
        return false;
    }
    grdList->selectRow(std::clamp(row, 0, rows - 1));
    return true;
}

void PickList::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The typed text is the start of the search: typing goes on after it.
    // Queued, so that it follows the first focus the window hands out, which
    // selects the whole box.
    QMetaObject::invokeMethod(
        this,
        [this] {
            txtSearch->setFocus(Qt::OtherFocusReason);
            txtSearch->deselect();
            txtSearch->end(false);
        },
        Qt::QueuedConnection);
}

void PickList::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return;
    }
    if (move(key))
        return;
    // Letters typed anywhere in the dialog go to the search box.
    if (typesText(event)) {
        txtSearch->setFocus();
        QCoreApplication::sendEvent(txtSearch, event);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtSearch || watched == grdList)) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
        // In the search box the arrows move the list so typing can go on.
        if (watched == txtSearch && move(key))
            return true;
        if (watched == grdList && typesText(keyEvent)) {
            txtSearch->setFocus();
            QCoreApplication::sendEvent(txtSearch, keyEvent);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::widgets
