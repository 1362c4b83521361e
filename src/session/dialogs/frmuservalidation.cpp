#include "frmuservalidation.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/globals.h"
#include "session/scrambler.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::session {

namespace {

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

AccessCheck CheckUserDepartmentAccess(Connection &connection, const QString &userId,
                                      const QString &accessCode)
{
    const QString encoded =
        Scramble(QStringLiteral("E"), QLatin1String(AccessCodeKey), accessCode.trimmed()).trimmed();
    const Recordset rs = connection.Open(
        QStringLiteral("Clinical_Area..sp_Check_User_Department_Access '") +
        sql::escape(userId.trimmed()) + QStringLiteral("','") + sql::escape(encoded) +
        QStringLiteral("','") + QStringLiteral("ON") + QLatin1Char('\''));
    AccessCheck check;
    if (rs.atEnd())
        return check;
    check.valid = true;
    check.name = rs.Fields(QStringLiteral("LastName")).toString() + QStringLiteral(", ") +
                 rs.Fields(QStringLiteral("FirstName")).toString() + QLatin1Char(' ') +
                 rs.Fields(QStringLiteral("MiddleName")).toString();
    return check;
}

frmUserValidation::frmUserValidation(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmUserValidation"));
    setWindowTitle(QStringLiteral("User Validation"));

    txtUserID = new QLineEdit(this);
    txtUserID->setObjectName(QStringLiteral("txtUserID"));
    txtAccessCode = new QLineEdit(this);
    txtAccessCode->setObjectName(QStringLiteral("txtAccessCode"));
    txtAccessCode->setEchoMode(QLineEdit::Password);
    txtReason = new QLineEdit(this);
    txtReason->setObjectName(QStringLiteral("txtReason"));
    cmdOK = widgets::namedButton(this, "cmdOK", QStringLiteral("&OK"));
    cmdClose = widgets::namedButton(this, "cmdClose", QStringLiteral("&Close"));

    auto *form = new QFormLayout;
    widgets::addLabelledRow(form, QStringLiteral("&User ID:"), txtUserID);
    widgets::addLabelledRow(form, QStringLiteral("&Access Code:"), txtAccessCode);
    widgets::addLabelledRow(form, QStringLiteral("&Reason:"), txtReason);
    auto *buttons = widgets::buttonRow({cmdOK, cmdClose});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(txtUserID, txtAccessCode);
    setTabOrder(txtAccessCode, txtReason);
    setTabOrder(txtReason, cmdOK);
    setTabOrder(cmdOK, cmdClose);
    for (QLineEdit *box : {txtUserID, txtAccessCode, txtReason})
        box->installEventFilter(this);

    connect(cmdOK, &QPushButton::clicked, this, &frmUserValidation::validateFromAccessCode);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    // A dialog closed without a check must not pass on the previous
    // confirmation: the caller reads these right after it closes.
    Globals &g = globals();
    g.ValidatedUserId.clear();
    g.ValidatedUserName.clear();
    g.ValidationReason.clear();
    txtUserID->setFocus();
}

bool frmUserValidation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (isEnter(key)) {
        if (watched == txtUserID)
            focusNextChild();
        else if (watched == txtAccessCode)
            validateFromAccessCode();
        else if (watched == txtReason)
            validateFromReason();
        return true;
    }
    if (key->key() == Qt::Key_Escape && watched == txtAccessCode) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool frmUserValidation::runCheck()
{
    AccessCheck check;
    try {
        check = CheckUserDepartmentAccess(connection_, txtUserID->text(), txtAccessCode->text());
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
        return false;
    }
    Globals &g = globals();
    g.ValidatedUserName = check.name;
    if (!check.valid) {
        widgets::msgInformation(QStringLiteral("Unauthorized User for this department"),
                                QStringLiteral("Message"));
        g.ValidatedUserId.clear();
        g.ValidationReason.clear();
        txtAccessCode->selectAll();
        txtAccessCode->setFocus();
    }
    return check.valid;
}

bool frmUserValidation::reasonMissing()
{
    if (!globals().ReasonRequired || !txtReason->text().trimmed().isEmpty())
        return false;
    widgets::msgInformation(QStringLiteral("Please Enter Reason for Cancellation"),
                            QStringLiteral("Message"));
    txtReason->setFocus();
    return true;
}

void frmUserValidation::validateFromAccessCode()
{
    if (runCheck() && !reasonMissing())
        finish();
}

void frmUserValidation::validateFromReason()
{
    if (!reasonMissing() && runCheck())
        finish();
}

void frmUserValidation::finish()
{
    Globals &g = globals();
    g.ValidatedUserId = txtUserID->text().trimmed();
    g.ValidationReason = txtReason->text().trimmed();
    accept();
}

} // namespace chemodesk::session
