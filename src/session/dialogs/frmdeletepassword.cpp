#include "frmdeletepassword.h"

#include "platform/connection.h"
#include "session/dialogs/frmusersetting.h"
#include "widgets/messages.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::session {

QString DepartmentPassword(Connection &connection)
{
    const Recordset rs =
        connection.Open(QStringLiteral("select OPDPassword from PATIENT_DATA..tbHospitalInfo"));
    if (rs.atEnd())
        return {};
    return rs.Fields(QStringLiteral("OPDPassword")).toString();
}

QString NoDepartmentPasswordMessage()
{
    return QStringLiteral("No department password is set. Ask IT to set one before using this "
                          "screen.");
}

frmDeletePassword::frmDeletePassword(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmDeletePassword"));
    setWindowTitle(QStringLiteral("Password"));

    auto *label = new QLabel(QStringLiteral("&Password:"), this);
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    label->setBuddy(txtPassword);
    cmdEnter = new QPushButton(QStringLiteral("&Enter"), this);
    cmdEnter->setObjectName(QStringLiteral("cmdEnter"));
    cmdEnter->setAutoDefault(false);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(txtPassword);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnter);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    txtPassword->installEventFilter(this);
    connect(cmdEnter, &QPushButton::clicked, this, &frmDeletePassword::enter);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmDeletePassword::setUserSettingContext(platform::MainPanel *panel,
                                              const QString &employeeCode)
{
    panel_ = panel;
    employeeCode_ = employeeCode;
}

void frmDeletePassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtPassword->setFocus();
}

bool frmDeletePassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enter();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmDeletePassword::enter()
{
    QString expected;
    try {
        expected = DepartmentPassword(connection_);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
        return;
    }
    // Without a password set, an empty one would open the rights screen to
    // anybody signed in.
    if (expected.isEmpty()) {
        widgets::msgExclamation(NoDepartmentPasswordMessage());
        reject();
        return;
    }
    if (txtPassword->text() != expected) {
        widgets::msgInformation(QStringLiteral("Password not valid!"));
        txtPassword->selectAll();
        txtPassword->setFocus();
        return;
    }
    deleteOK_ = true;
    accept();
    if (getForm_ == 2) {
        frmUserSetting screen(connection_, panel_, employeeCode_, parentWidget());
        widgets::execModal(screen);
    } else if (getForm_ == 3 && departmentSettings_) {
        departmentSettings_();
    }
}

} // namespace chemodesk::session
