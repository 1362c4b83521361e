#include "frmsearch.h"

#include "widgets/dialogparts.h"
#include "widgets/pickergrid.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace chemodesk::patients {

frmSearch::frmSearch(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmSearch"));
    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    txtSearchStr = new QLineEdit(this);
    txtSearchStr->setObjectName(QStringLiteral("txtSearchStr"));
    lblCaption->setBuddy(txtSearchStr);
    grdDispWindow = widgets::makePickerGrid(this);
    grdDispWindow->setObjectName(QStringLiteral("grdDispWindow"));
    // Enter is handled per control below, never by a default button.
    cmdSelect = widgets::namedButton(this, "cmdSelect", QStringLiteral("&Select"));
    cmdSelect->setEnabled(false);
    cmdCancel = widgets::namedButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    auto *buttons = widgets::buttonRow({cmdSelect, cmdCancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblCaption);
    layout->addWidget(txtSearchStr);
    layout->addWidget(grdDispWindow, 1);
    layout->addLayout(buttons);
    resize(520, 380);

    // Only what the user types refills: a code copied in from the grid must
    // not narrow the list away from the row it came from.
    connect(txtSearchStr, &QLineEdit::textEdited, this, &frmSearch::fillList);
    connect(grdDispWindow, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (const QTableWidgetItem *item = grdDispWindow->item(row, 0))
            txtSearchStr->setText(item->text());
    });
    connect(grdDispWindow, &QTableWidget::cellDoubleClicked, this, [this] { selectRow(); });
    connect(cmdSelect, &QPushButton::clicked, this, &frmSearch::selectRow);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::reject);
    txtSearchStr->installEventFilter(this);
    grdDispWindow->installEventFilter(this);
}

QString frmSearch::queryText(const QString &query, const QString &searchText)
{
    return QString(query).replace(QStringLiteral("##"), sql::escape(searchText));
}

void frmSearch::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    load();
}

void frmSearch::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Valid = false;
    setWindowTitle(SearchCaption);
    lblCaption->setText(SearchCaption);
    txtSearchStr->setText(Criteria);
    txtSearchStr->setEnabled(!DisableSearch);
    fillList();
    if (DisableSearch)
        grdDispWindow->setFocus();
    else
        txtSearchStr->setFocus();
}

void frmSearch::fillList()
{
    try {
        Recordset rs = connection_.Execute(queryText(Query, txtSearchStr->text()));
        widgets::fillPickerGrid(grdDispWindow, rs);
    } catch (const DatabaseError &e) {
        grdDispWindow->setRowCount(0);
        widgets::msgCritical(e.message());
    }
    cmdSelect->setEnabled(grdDispWindow->rowCount() > 0);
}

void frmSearch::selectRow()
{
    if (!cmdSelect->isEnabled() || grdDispWindow->currentRow() < 0)
        return;
    ResultCode = widgets::currentText(grdDispWindow, 0);
    Valid = true;
    accept();
}

void frmSearch::reject()
{
    Valid = false;
    QDialog::reject();
}

bool frmSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSearchStr && event->type() == QEvent::FocusIn) {
        // After the mouse press that gave the focus has placed the cursor.
        QTimer::singleShot(0, txtSearchStr, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && (watched == txtSearchStr || watched == grdDispWindow)) {
            selectRow();
            return true;
        }
        if (watched == txtSearchStr && key == Qt::Key_Down) {
            grdDispWindow->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::patients
