#pragma once

// Department (revenue) codes: a typed code validated and completed against
// the unit's departments, and where a department issues its stock from.

#include <QString>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

class clsRevenueCode {
public:
    // `dialogParent` parents the search dialog a partial code opens.
    explicit clsRevenueCode(Connection &connection, QWidget *dialogParent = nullptr);

    // True when `RevenueID` names one of the unit's departments exactly, or
    // when a partial code was completed by a choice in the "Revenue Codes"
    // search; the properties then hold that department. A code that matches
    // nothing is refused with a message; a cancelled search answers false
    // silently. Either way the properties keep what they held.
    bool ValidateRevenue(const QString &RevenueID);

    const QString &RevenueID() const { return revenueId_; }
    const QString &Revenue() const { return revenue_; }
    const QString &WithItems() const { return withItems_; }
    bool SearchInventory() const { return searchInventory_; }
    // Empty for a department that carries no stock.
    const QString &LocationID() const { return locationId_; }

private:
    Connection &connection_;
    QWidget *dialogParent_;
    QString revenueId_;
    QString revenue_;
    QString withItems_;
    bool searchInventory_ = false;
    QString locationId_;
};

// The search text for one mode: "0" list, "1" exact code, "2" partial.
QString SearchRevenueText(const QString &mode, const QString &code);

// The department's issuing location: true when the department has one.
// `location` is empty otherwise.
bool CheckLocationID(Connection &connection, const QString &code, QString &location);

// The issuing location with the department code stock-card entries carry:
// true when the department has a location; both are empty otherwise.
bool CheckLocationID(Connection &connection, const QString &code, QString &location,
                     QString &stockcardRevenueId);

} // namespace chemodesk::charging
