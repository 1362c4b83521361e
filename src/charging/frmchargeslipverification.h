#pragma once

// Employees' charge slip booklets: an employee number, the booklet's next
// slip, and a slip number the booklet goes on at once it is known unused.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

// The booklet slip as other screens write it: "K" + number + "C".
QString bookletSlip(const QString &number);

class frmChargeSlipVerification : public QDialog {
    Q_OBJECT
public:
    explicit frmChargeSlipVerification(Connection &connection, QWidget *parent = nullptr);

    // Enter in the employee number: the employee and the booklet's next slip.
    bool findEmployee();
    // Enter in the slip number, and OK: checked, then the booklet goes on at it.
    bool acceptChargeSlip();

    QLineEdit *txtEmployeeID = nullptr;
    QLabel *lblEmployeeName = nullptr;
    QLineEdit *txtChargeSlip = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void forgetEmployee();
    bool validNumber(const QString &number);

    Connection &connection_;
    QString employee_;
    // The booklet's first and last slip; 0 when the booklet does not say.
    qlonglong first_ = 0;
    qlonglong last_ = 0;
};

} // namespace chemodesk::charging
