#pragma once

// The department password, asked before the rights screen and the department
// settings screen. After the right password the dialog closes and opens the
// screen GetForm names: 2 the rights screen, 3 the department settings
// (through the hook the main window sets).

#include "platform/mainpanel.h"
#include <QDialog>

#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

// OPDPassword of the hospital information; an empty text when there is none.
QString DepartmentPassword(Connection &connection);
// The refusal when the hospital has no department password: the screens it
// guards stay shut until one is set.
QString NoDepartmentPasswordMessage();

class frmDeletePassword : public QDialog {
    Q_OBJECT
public:
    explicit frmDeletePassword(Connection &connection, QWidget *parent = nullptr);

    int GetForm() const { return getForm_; }
    void setGetForm(int form) { getForm_ = form; }
    bool DeleteOK() const { return deleteOK_; }

    // What the rights screen needs: the main window's panel whose rights it
    // refreshes after a save, and the signed-in employee whose rights those are.
    void setUserSettingContext(platform::MainPanel *panel, const QString &employeeCode);
    // Opens the department settings screen (GetForm 3).
    void setDepartmentSettings(std::function<void()> show)
    {
        departmentSettings_ = std::move(show);
    }

    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdEnter = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enter();

    Connection &connection_;
    int getForm_ = 0;
    bool deleteOK_ = false;
    platform::MainPanel *panel_ = nullptr;
    QString employeeCode_;
    std::function<void()> departmentSettings_;
};

} // namespace chemodesk::session
