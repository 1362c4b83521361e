#include "picklist.h"

#include "database/sqltext.h"
#include "widgets/messages.h"

#include <QAbstractTableModel>
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

// The rows of the last search, every column kept so that the chosen one can
// be read whole; only the grid's columns are shown.
class PickListModel : public QAbstractTableModel {
public:
    PickListModel(std::vector<PickColumn> shown, QObject *parent)
        : QAbstractTableModel(parent), shown_(std::move(shown))
    {
    }

    void reset(Recordset rows)
    {
        beginResetModel();
        columns_ = rows.ColumnNames();
        rows_.clear();
        index_.clear();
        for (const PickColumn &column : shown_) {
            int found = -1;
            for (qsizetype i = 0; i < columns_.size() && found < 0; ++i)
                if (columns_.at(i).compare(column.field, Qt::CaseInsensitive) == 0)
                    found = int(i);
            index_.push_back(found);
        }
        for (rows.MoveFirst(); !rows.atEnd(); rows.MoveNext()) {
            std::vector<QVariant> row;
            for (int i = 0; i < rows.FieldCount(); ++i)
                row.push_back(rows.Fields(i).Value());
            rows_.push_back(std::move(row));
        }
        endResetModel();
    }

    Recordset row(int r) const { return Recordset(columns_, {rows_.at(size_t(r))}); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(shown_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const PickColumn &column = shown_.at(size_t(index.column()));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(column.format == PickColumn::Text
                                           ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const int source = index_.at(size_t(index.column()));
        if (source < 0)
            return {};
        const Field value(column.field, rows_.at(size_t(index.row())).at(size_t(source)));
        if (value.IsNull() || column.format == PickColumn::Text)
            return value.toString();
        if (column.format == PickColumn::Amount)
            return QString::number(value.toDouble(), 'f', 2);
        return QString::number(value.toDouble(), 'g', 15);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return shown_.at(size_t(section)).header;
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    std::vector<PickColumn> shown_;
    std::vector<int> index_;
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
};

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

    model_ = new PickListModel(std::move(columns), this);
    grdList = new QTableView(this);
    grdList->setObjectName(QStringLiteral("grdList"));
    grdList->setModel(model_);
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
    return model_->rowCount();
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
    model_->reset(std::move(rows));
    if (rowCount() > 0)
        grdList->selectRow(0);
    cmdSelect->setEnabled(rowCount() > 0);
}

void PickList::accept()
{
    const QModelIndex current = grdList->currentIndex();
    if (!current.isValid())
        return;
    chosen_ = model_->row(current.row());
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
