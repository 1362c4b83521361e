#pragma once

// The department's access rights of one employee: the row of the rights table,
// read at sign-in and after the rights screen saves, and applied to the main
// window's actions through its panel. Reading is kept apart from applying so the main
// window can put a button back to its rights state after disabling it.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class MainPanel;
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

// Enables or disables the main window's gated actions: the buttons and File
// menu items of cash assessment, nurse activity, post charge, CSR and
// pharmacy requests, and the Maintenance and Reports menus and the ledger
// item. Without a row the five buttons and the three menus are disabled and
// the five paired menu items keep their state. A null panel is left alone.
void ApplyUserRights(const UserRights &rights, platform::MainPanel *panel);

// Reads and applies; returns what was read.
UserRights LoadUserRights(Connection &connection, const QString &employeeCode,
                          platform::MainPanel *panel);

} // namespace chemodesk::session
