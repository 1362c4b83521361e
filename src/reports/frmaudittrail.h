#pragma once

// The shared server's audit trail: who (employee, workstation, login) did
// what and when, with the row before and after. The server shows it only to
// employees with the maintenance right; the embedded file keeps none.

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::reports {

class frmAuditTrail : public QDialog {
    Q_OBJECT
public:
    explicit frmAuditTrail(Connection &connection, QWidget *parent = nullptr);

    QDateEdit *dtpSince = nullptr;
    QPushButton *cmdShow = nullptr;
    QPushButton *cmdClose = nullptr;
    QTableWidget *grdTrail = nullptr;

    // Lists the entries from the chosen day on; false (after saying why) when there is no trail
    // to show.
    bool Show();

private:
    Connection &connection_;
};

} // namespace chemodesk::reports
