#pragma once

// The access-code dialog: a second employee confirms a save or a cancellation
// with user id and access code. The caller sets globals().ReasonRequired,
// shows the dialog modally, then reads globals().ValidatedUserId (empty when
// the check failed or was abandoned), ValidatedUserName and ValidationReason.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

struct AccessCheck {
    bool valid = false;
    // "LastName, FirstName MiddleName" of the employee; empty when not valid.
    QString name;
};

// Asks the server whether the employee may confirm saves of the department:
// the access code goes scrambled with the access-code key.
AccessCheck CheckUserDepartmentAccess(Connection &connection, const QString &userId,
                                      const QString &accessCode);

class frmUserValidation : public QDialog {
    Q_OBJECT
public:
    explicit frmUserValidation(Connection &connection, QWidget *parent = nullptr);

    QLineEdit *txtUserID = nullptr;
    QLineEdit *txtAccessCode = nullptr;
    QLineEdit *txtReason = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Enter in the access-code box, and OK: the check, then the reason.
    void validateFromAccessCode();
    // Enter in the reason box: the reason, then the check.
    void validateFromReason();
    bool runCheck();
    bool reasonMissing();
    void finish();

    Connection &connection_;
};

} // namespace chemodesk::session
