#pragma once

// The user component: signs the employee in against the hospital's employee
// table, owns the connection for the whole run and tells who is signed in and
// where. Where the data lives is remembered in the component's own settings
// file. For scripted demos and tests, a [signin] group with the employee in
// that file, and the access code in CHEMODESK_ACCESS_CODE, sign in without
// showing the dialog. On the shared server the server checks the code and
// binds its session to the employee.

#include "platform/usercomponent.h"

#include <QPointer>
#include <QString>

#include <memory>

namespace chemodesk::db {
class HostedConnection;
}

namespace chemodesk {

struct DatabaseChoice;

class CurrentUser : public platform::UserComponent {
public:
    // An empty path means the user's own "signin.ini" in the program's
    // configuration folder.
    explicit CurrentUser(QString settingsPath = {});
    ~CurrentUser() override;

    void setPasswordDeptCode(const QString &code) override { passwordDeptCode_ = code; }
    QString PasswordDeptCode() const { return passwordDeptCode_; }
    void sethwndParentForm(QWidget *parent) override { parent_ = parent; }
    QWidget *hwndParentForm() const { return parent_; }

    void ShowMain() override;

    bool Connected() const override { return connected_; }
    Connection *SQLConnection() const override;
    QString EmployeeCode() const override { return employeeCode_; }
    QString EmployeeName() const override { return employeeName_; }
    QString ServerName() const override { return serverName_; }
    QString Database() const override { return database_; }
    QString UserId() const override { return userId_; }
    QString serverpassword() const override { return serverPassword_; }

    QString settingsPath() const { return settingsPath_; }

private:
    enum class Outcome { SignedIn, Refused, Failed };
    // One attempt: opens (or keeps) the connection for `choice` and checks the
    // employee. Shows what went wrong.
    Outcome trySignIn(const DatabaseChoice &choice, const QString &employee,
                      const QString &accessCode);
    void signOut();

    QString settingsPath_;
    QString passwordDeptCode_;
    QPointer<QWidget> parent_;
    std::unique_ptr<db::HostedConnection> connection_;
    QString openedTarget_;
    bool connected_ = false;
    QString employeeCode_;
    QString employeeName_;
    QString serverName_;
    QString database_;
    QString userId_;
    QString serverPassword_;
};

} // namespace chemodesk
