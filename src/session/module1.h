#pragma once

// Small shared procedures every screen leans on: the server clock, the account
// checks made before charging, a few lookups and the start-up reads of
// hospital and department settings. The window helpers are in
// session/dialogs/windows.h.
//
// Database procedures take the connection explicitly; the application passes
// globals().DbConnection. None of them traps a DatabaseError: a failing text
// reaches the screen that asked. An empty result is not an error.

#include <QString>
#include <QVariant>

namespace chemodesk {
class Connection;
class Field;
} // namespace chemodesk

namespace chemodesk::session {

// The trimmed text reads as a finite number; an empty text does not.
// In-patient admission numbers are numeric, out-patient registrations are not.
bool IsNumeric(const QString &text);

// Stores the server's date and time in globals().ServerDate; leaves it as it
// was when the query gives no row or a Null.
void GetServerDate(Connection &connection);

// False for a personal account: no registration row, an empty account number,
// or an account number equal to the hospital number. Reads the patient table
// of `patientClass` ("I" admissions, anything else out-patients).
bool IsChargeAccount(Connection &connection, const QString &IdNum, const QString &patientClass);

// True when the open (not discharged) registration has a billing date.
bool IsAccountBilled(Connection &connection, const QString &IdNum);

bool IsCoDoctor(Connection &connection, const QString &DoctorID);

// Empty when the location is unknown.
QString GetInventoryType(Connection &connection, const QString &LocationID);

// True when the slip number is already in use.
bool VerifyChargeSlip(Connection &connection, const QString &chargeSlip);

// A file, not a folder, exists at `path`.
bool FileExists(const QString &path);

// A Null becomes one blank, written back into `value`; anything else its text.
QString NullToSpace(QVariant &value);
QString NullToSpace(const Field &field);

// The code of the upper-case form of a typed character; 0 and keys that are
// not characters come back unchanged.
int UpperKey(int keyCode);

// Sets DepartmentCode, DepartmentName and PasswordDeptCode for department "8";
// any other code leaves them.
void SetDepartmentConstants(const QString &department);

// Hospital name, client, address and the two price/list flags (first row).
void ReadHospitalInfoA(Connection &connection);
// AllowZeroOnHand and HospitalPhone.
void ReadHospitalInfoB(Connection &connection);
// The department settings of the shared settings table.
void GetHospitalInfo(Connection &connection);

} // namespace chemodesk::session
