#include "frmchargeslipverification.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/module1.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace chemodesk::charging {

namespace {

const QString Invalid = QStringLiteral("Invalid Chargeslip Number!");

// A whole number above zero, written without leading zeros; empty otherwise.
QString wholeNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value != std::floor(value) || value > 1e15)
        return {};
    return QString::number(qlonglong(value));
}

} // namespace

QString bookletSlip(const QString &number)
{
    return QStringLiteral("K") + number + QStringLiteral("C");
}

frmChargeSlipVerification::frmChargeSlipVerification(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmChargeSlipVerification"));
    setWindowTitle(QStringLiteral("Change Charge Slip"));

    txtEmployeeID = new QLineEdit(this);
    txtEmployeeID->setObjectName(QStringLiteral("txtEmployeeID"));
    txtEmployeeID->setMaxLength(10);
    lblEmployeeName = new QLabel(this);
    lblEmployeeName->setObjectName(QStringLiteral("lblEmployeeName"));
    txtChargeSlip = new QLineEdit(this);
    txtChargeSlip->setObjectName(QStringLiteral("txtChargeSlip"));
    txtChargeSlip->setMaxLength(10);
    txtChargeSlip->setEnabled(false);
    cmdOK = widgets::namedButton(this, "cmdOK", QStringLiteral("&OK"));
    cmdOK->setEnabled(false);
    cmdClose = widgets::namedButton(this, "cmdClose", QStringLiteral("&Close"));

    auto *form = new QFormLayout;
    widgets::addLabelledRow(form, QStringLiteral("&Employee No.:"), txtEmployeeID);
    form->addRow(new QLabel(QStringLiteral("Name:"), this), lblEmployeeName);
    widgets::addLabelledRow(form, QStringLiteral("Charge &Slip No.:"), txtChargeSlip);
    auto *buttons = widgets::buttonRow({cmdOK, cmdClose});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(txtEmployeeID, txtChargeSlip);
    setTabOrder(txtChargeSlip, cmdOK);
    setTabOrder(cmdOK, cmdClose);
    txtEmployeeID->installEventFilter(this);
    txtChargeSlip->installEventFilter(this);
    connect(txtEmployeeID, &QLineEdit::textEdited, this, [this] { forgetEmployee(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { acceptChargeSlip(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    txtEmployeeID->setFocus();
}

bool frmChargeSlipVerification::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtEmployeeID)
                findEmployee();
            else if (watched == txtChargeSlip)
                acceptChargeSlip();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmChargeSlipVerification::forgetEmployee()
{
    employee_.clear();
    first_ = last_ = 0;
    lblEmployeeName->clear();
    txtChargeSlip->clear();
    txtChargeSlip->setEnabled(false);
    cmdOK->setEnabled(false);
}

bool frmChargeSlipVerification::findEmployee()
{
    forgetEmployee();
    const QString id = txtEmployeeID->text().trimmed();
    try {
        const Recordset employee = connection_.Open(
            QStringLiteral("SELECT * FROM PASSWORD..tbPAsswordMaster WHERE EMPLOYEEID = '") +
            sql::escape(id) + QLatin1Char('\''));
        if (id.isEmpty() || employee.atEnd()) {
            widgets::msgInformation(
                QStringLiteral("Please check your code and try again. ") + QLatin1Char('\n') +
                QStringLiteral("There is no employee number record that matched the code "
                               "entered."));
            txtEmployeeID->selectAll();
            txtEmployeeID->setFocus();
            return false;
        }
        lblEmployeeName->setText(
            employee.Fields(QStringLiteral("FirstName")).trimmed() + QLatin1Char(' ') +
            employee.Fields(QStringLiteral("MiddleName")).trimmed() + QLatin1Char(' ') +
            employee.Fields(QStringLiteral("LastName")).trimmed());
        const Recordset booklet = connection_.Open(
            QStringLiteral("Select * from Hemodialysis..tbKidneyChargeSlip where employeeid = '") +
            sql::escape(id) + QStringLiteral("' "));
        if (booklet.atEnd()) {
            widgets::msgInformation(
                QStringLiteral("There is no charge slip booklet issued to this employee."),
                QStringLiteral("Message"));
            txtEmployeeID->selectAll();
            txtEmployeeID->setFocus();
            return false;
        }
        employee_ = id;
        first_ = booklet.Fields(QStringLiteral("StartSlip")).toLongLong();
        last_ = booklet.Fields(QStringLiteral("EndSlip")).toLongLong();
        txtChargeSlip->setText(booklet.Fields(QStringLiteral("ChargeSlip")).trimmed());
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return false;
    }
    txtChargeSlip->setEnabled(true);
    cmdOK->setEnabled(true);
    txtChargeSlip->selectAll();
    txtChargeSlip->setFocus();
    return true;
}

// An unused slip of the employee's own booklet.
bool frmChargeSlipVerification::validNumber(const QString &number)
{
    if (number.isEmpty())
        return false;
    const qlonglong value = number.toLongLong();
    if ((first_ > 0 && value < first_) || (last_ > 0 && value > last_))
        return false;
    return !session::VerifyChargeSlip(connection_, bookletSlip(number));
}

bool frmChargeSlipVerification::acceptChargeSlip()
{
    if (employee_.isEmpty() && !findEmployee())
        return false;
    const QString number = wholeNumber(txtChargeSlip->text());
    try {
        if (!validNumber(number)) {
            widgets::msgInformation(Invalid);
            txtChargeSlip->selectAll();
            txtChargeSlip->setFocus();
            return false;
        }
        connection_.Execute(QStringLiteral("Hemodialysis..Update_Chargeslip '") +
                            sql::escape(employee_) + QStringLiteral("','") + sql::escape(number) +
                            QLatin1Char('\''));
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return false;
    }
    widgets::msgInformation(QStringLiteral("Available Charge Slip Number : ") + number,
                            QStringLiteral("Message"));
    accept();
    return true;
}

} // namespace chemodesk::charging
