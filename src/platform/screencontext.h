#pragma once

// What a screen is opened with. The main window makes one when a control is
// used: its connection, the components the screens share, the signed-in
// employee, the window to open over, its panel, and the selected patient as
// the panel showed it at that moment. A screen learns its patient here and
// nowhere else, so that a screen opened later, or from another control,
// cannot work on a patient some earlier action left behind.

#include <QString>

#include <functional>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {

class CodeSearch;
class DrugCatalogue;
class DrugList;
class KeyFilter;
class MainPanel;

// The selected patient when the control was used; all empty when none was.
struct SelectedPatient {
    QString hospNum;
    // The admission number of an in-patient, the registration number otherwise.
    QString idNum;
    QString name;
    // "I" for an admitted in-patient, "O" otherwise.
    QString inOut;
    // The rate column the admission's room is charged at ("A" for out-patients); filled by the
    // controls that price (Post Charge, Pharmacy), empty otherwise.
    QString roomClass;
    // Empty while the account is open.
    QString billingDate;

    bool isEmpty() const { return hospNum.trimmed().isEmpty(); }
    bool inPatient() const { return inOut == QLatin1String("I"); }
    bool operator==(const SelectedPatient &) const = default;
};

// The hospital components the entry screens share: made once for the
// signed-in employee's connection, made again when another signs in.
struct ScreenComponents {
    CodeSearch &codeSearch;
    DrugCatalogue &drugs;
    DrugList &drugList;
    KeyFilter &keys;
};

struct ScreenContext {
    ScreenContext(Connection &connection, MainPanel &panel) : connection(connection), panel(panel)
    {
    }

    Connection &connection;
    MainPanel &panel;
    // The window screens open over; may be null (tests).
    QWidget *parent = nullptr;
    // The signed-in employee's code; empty before sign-in.
    QString employeeCode;
    SelectedPatient patient;
    // The shared components, made on first use.
    std::function<ScreenComponents()> components;
};

} // namespace chemodesk::platform
