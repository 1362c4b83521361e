#pragma once

// The rights screen: the department's ten rights of one employee, loaded by
// employee id, ticked, and saved. After a save the signed-in employee's rights
// are applied to the main window again, so a change of one's own rights shows
// at once.

#include "platform/mainpanel.h"
#include <QDialog>

#include <QString>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

struct UserRights;

// The save call: the employee id and the ten rights as "0" or "1", in the
// order of the screen's boxes.
QString SaveUserSettingText(const QString &employeeId, const UserRights &rights);

class frmUserSetting : public QDialog {
    Q_OBJECT
public:
    // `panel`: the main window's, whose actions a save for the signed-in
    // employee re-applies (may be null).
    frmUserSetting(Connection &connection, platform::MainPanel *panel,
                   const QString &signedInEmployee, QWidget *parent = nullptr);

    QLineEdit *txtEmpID = nullptr;
    QLineEdit *txtEmpName = nullptr;
    QLineEdit *txtSeach = nullptr;
    QPushButton *cmdSearch = nullptr;
    QGroupBox *fraRights = nullptr;
    QCheckBox *chkCashAssessment = nullptr;
    QCheckBox *chkNurseActivity = nullptr;
    QCheckBox *chkPostCharge = nullptr;
    QCheckBox *chkCsr = nullptr;
    QCheckBox *chkPh = nullptr;
    QCheckBox *chkMaintenance = nullptr;
    QCheckBox *chkReports = nullptr;
    QCheckBox *chkReceivable = nullptr;
    QCheckBox *chkPatientLedger = nullptr;
    QCheckBox *chkCancelCharges = nullptr;
    QCheckBox *chkAll = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdClose = nullptr;

    // Loads the rights of the employee in txtEmpID; an unknown employee is
    // refused with a message and leaves the boxes locked.
    void loadEmployee();
    // Opens the employee search with the text of txtSeach.
    void searchEmployee();
    void save();

    // The boxes as rights, and back.
    UserRights rights() const;
    void setRights(const UserRights &rights);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setEditable(bool editable);
    std::array<QCheckBox *, 10> boxes() const;

    Connection &connection_;
    platform::MainPanel *panel_ = nullptr;
    QString signedInEmployee_;
    bool shownOnce_ = false;
};

} // namespace chemodesk::session
