#include "frmusersearching.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::session {

namespace {

const QString SelectEmployees =
    QStringLiteral("select EmployeeID , isnull(LastName,'') + ' , ' +  isnull(FirstName,'') as "
                   "EmployeeName from Password..tbpasswordmaster ");

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

QString EmployeeSearchById(const QString &id)
{
    return SelectEmployees + QStringLiteral("where employeeid = '") + sql::escape(id) +
           QLatin1Char('\'');
}

QString EmployeeSearchByName(const QString &lastName)
{
    return SelectEmployees + QStringLiteral("where LastNAme Like '") + sql::escape(lastName) +
           QStringLiteral("%'");
}

QStringList frmUserSearching::headers()
{
    return {QStringLiteral("EMPLOYEEID.# "), QStringLiteral("EMPLOYEE NAME  ")};
}

frmUserSearching::frmUserSearching(Connection &connection, const QString &searchText,
                                   QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmUserSearching"));
    setWindowTitle(QStringLiteral("Employee Search"));

    txtSearchID = new QLineEdit(this);
    txtSearchID->setObjectName(QStringLiteral("txtSearchID"));
    txtSearchName = new QLineEdit(this);
    txtSearchName->setObjectName(QStringLiteral("txtSearchName"));
    MSHFlexList = new QTableWidget(0, 2, this);
    MSHFlexList->setObjectName(QStringLiteral("MSHFlexList"));
    MSHFlexList->setHorizontalHeaderLabels(headers());
    MSHFlexList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    MSHFlexList->horizontalHeader()->setStretchLastSection(true);
    MSHFlexList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSHFlexList->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSHFlexList->setSelectionMode(QAbstractItemView::SingleSelection);
    MSHFlexList->setTabKeyNavigation(false);
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *button : {cmdSelect, cmdClose})
        button->setAutoDefault(false);

    auto *form = new QFormLayout;
    auto addRow = [&](const QString &caption, QLineEdit *box) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(box);
        form->addRow(label, box);
    };
    addRow(QStringLiteral("Employee &ID:"), txtSearchID);
    addRow(QStringLiteral("Last &Name:"), txtSearchName);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MSHFlexList);
    layout->addLayout(buttons);
    resize(480, 360);

    for (QObject *watched :
         {static_cast<QObject *>(txtSearchID), static_cast<QObject *>(txtSearchName),
          static_cast<QObject *>(MSHFlexList)})
        watched->installEventFilter(this);
    for (QLineEdit *box : {txtSearchID, txtSearchName})
        connect(box, &QLineEdit::editingFinished, box,
                [box] { box->setText(box->text().toUpper()); });
    connect(MSHFlexList, &QTableWidget::cellDoubleClicked, this, [this] { selectRow(); });
    connect(cmdSelect, &QPushButton::clicked, this, &frmUserSearching::selectRow);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    txtSearchName->setText(searchText.toUpper());
    search(EmployeeSearchByName(searchText.trimmed()));
    txtSearchName->setFocus();
}

bool frmUserSearching::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        if (watched == txtSearchID)
            search(EmployeeSearchById(txtSearchID->text().trimmed()));
        else if (watched == txtSearchName)
            search(EmployeeSearchByName(txtSearchName->text().trimmed()));
        else
            selectRow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmUserSearching::search(const QString &text)
{
    Recordset rs;
    try {
        rs = connection_.Open(text);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
        return;
    }
    MSHFlexList->setRowCount(0);
    for (; !rs.atEnd(); rs.MoveNext()) {
        const int row = MSHFlexList->rowCount();
        MSHFlexList->insertRow(row);
        MSHFlexList->setItem(
            row, 0, new QTableWidgetItem(rs.Fields(QStringLiteral("EmployeeID")).trimmed()));
        MSHFlexList->setItem(
            row, 1, new QTableWidgetItem(rs.Fields(QStringLiteral("EmployeeName")).trimmed()));
    }
    if (MSHFlexList->rowCount() > 0)
        MSHFlexList->selectRow(0);
}

void frmUserSearching::selectRow()
{
    const int row = MSHFlexList->currentRow();
    if (row < 0 || row >= MSHFlexList->rowCount()) {
        widgets::msgInformation(QStringLiteral("Please select an employee."),
                                QStringLiteral("Message"));
        return;
    }
    selectedId_ = MSHFlexList->item(row, 0)->text();
    selectedName_ = MSHFlexList->item(row, 1)->text();
    accept();
}

} // namespace chemodesk::session
