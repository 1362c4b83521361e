#pragma once

// The hospital system's drug list component: a pick list of medicines or
// supplies for the first letters of a name. The hospital lists medicines
// either by brand or by generic name; both variants have this surface. It lies
// outside this program.

#include <QString>

class QLineEdit;

namespace chemodesk::platform {

class DrugList {
public:
    virtual ~DrugList() = default;

    // Adopts the connection; called at start.
    virtual bool InitConnection(const QString &connectionString) = 0;

    // True lists supplies, false medicines.
    virtual bool DrugsORCSR() const = 0;
    virtual void setDrugsORCSR(bool supplies) = 0;

    // Caption of the pick list.
    virtual QString ListTitle() const = 0;
    virtual void setListTitle(const QString &title) = 0;

    // Shows the pick list for the letters typed in `editBox` (at `location`,
    // unless it is empty) and returns the chosen item code, or an empty text
    // when nothing was chosen.
    virtual QString ShowList(QLineEdit *editBox, const QString &location) = 0;
};

} // namespace chemodesk::platform
