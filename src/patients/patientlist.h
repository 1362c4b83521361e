#pragma once

// The rules of the patient list that need no widget: which list each option
// asks for, the text that asks for it, and the two look-ups of the list.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::patients {

// The option buttons of the list, by index.
enum PatientOption { InPatientOption = 0, CashOption = 1, OutPatientOption = 2 };

// The mode the list procedure takes: current I, C, O; previous T, C, D.
QString patientListMode(int option, bool previous);

// The patient class the list stands for: "I", "C" or "O".
QString patientClassOf(int option);

// The call that fills the list; each search text escaped as typed.
QString patientListText(const QString &mode, const QString &lastName, const QString &hospNum,
                        const QString &idNum);

// The line under a full list: more patients match than it shows.
QString moreMatchText();

// A walk-in cash patient: registration of type "W" on the patient's own
// account. Raises DatabaseError when the text fails.
bool CheckCash(Connection &connection, const QString &IdNum);

// The employee's receivable-entry right; no rights row means none.
bool HasReceivableRight(Connection &connection, const QString &employeeCode);

} // namespace chemodesk::patients
