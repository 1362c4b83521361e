#pragma once

// The hospital system's user component: signs the employee in, owns the
// database connection for the whole run and tells who is signed in and where.
// This program only borrows the connection. It lies outside this program.

#include <QString>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {

class UserComponent {
public:
    virtual ~UserComponent() = default;

    // Set before the sign-in.
    virtual void setPasswordDeptCode(const QString &code) = 0;
    // The window the sign-in dialog belongs to.
    virtual void sethwndParentForm(QWidget *parent) = 0;

    // Shows the sign-in dialog.
    virtual void ShowMain() = 0;

    // True when the sign-in succeeded and SQLConnection() is usable.
    virtual bool Connected() const = 0;
    virtual Connection *SQLConnection() const = 0;

    // The signed-in employee's id: key of the rights row and the user written
    // into many stored-procedure calls.
    virtual QString EmployeeCode() const = 0;
    virtual QString EmployeeName() const = 0;

    // Report log-on; the server name is also shown in the status bar.
    virtual QString ServerName() const = 0;
    virtual QString Database() const = 0;
    virtual QString UserId() const = 0;
    virtual QString serverpassword() const = 0;
};

} // namespace chemodesk::platform
