#pragma once

// The department's access rights of one employee: the row of the rights table,
// read at sign-in and after the rights screen saves, and applied to the main
// window's buttons and menus. Reading is kept apart from applying so the main
// window can put a button back to its rights state after disabling it.

#include <QString>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

// A flag grants only when it reads exactly true: Null and 0 do not.
struct UserRights {
    bool hasRow = false;
    bool CashAssessment = false;
    bool NurseActivity = false;
    bool PostCharge = false;
    bool CSRRequest = false;
    bool PHRequest = false;
    bool Maintenance = false;
    bool Reports = false;
    bool ReceivableEntry = false;
    bool PatientLedger = false;
    bool CancelCharges = false;

    bool operator==(const UserRights &) const = default;
};

// The employee's row of CLINICAL_AREA..tbCancerUserSetting; no row gives
// hasRow false and nothing granted.
UserRights ReadUserRights(Connection &connection, const QString &employeeCode);

// Enables or disables the main window's gated controls by objectName: the
// buttons (cmdCash, cmdResultEntry, cmdPostCharge, cmdCSRRequest, cmdPharmacy)
// and the actions (mnuCashAssessment, mnuNurseActivity, mnuPostCharge, mnuCsr,
// mnuPhRequest, and the menus' actions mnuMaintenance, mnuReport, mnuLedger).
// Without a row the five buttons and the three menus are disabled and the five
// paired menu items keep their state. Controls the window lacks are skipped.
void ApplyUserRights(const UserRights &rights, QWidget *mainWindow);

// Reads and applies; returns what was read.
UserRights LoadUserRights(Connection &connection, const QString &employeeCode, QWidget *mainWindow);

} // namespace chemodesk::session
