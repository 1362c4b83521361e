#pragma once

// The drug list component: a pick list of the active medicines (ItemType M)
// or supplies (S) whose name starts with the letters typed in an edit box, at
// one location or across all. Hospitals that list medicines by generic name
// build it with byGeneric, which matches and sorts by the generic name
// instead. A DatabaseError of the first search reaches the calling screen.

#include "platform/connection.h"
#include "platform/druglist.h"

namespace chemodesk::components {

class MedicineList : public platform::DrugList {
public:
    explicit MedicineList(Connection &connection, bool byGeneric = false)
        : connection_(connection), byGeneric_(byGeneric)
    {
    }

    // True for the connection this list was built with (its connection
    // string, or an empty text); false for any other.
    bool InitConnection(const QString &connectionString) override;

    bool DrugsORCSR() const override { return supplies_; }
    void setDrugsORCSR(bool supplies) override { supplies_ = supplies; }
    // "Medicines" or "Supplies" until a title is set.
    QString ListTitle() const override;
    void setListTitle(const QString &title) override { title_ = title; }

    // Nothing matching shows no list and gives an empty text; the caller
    // says what that means for its line.
    QString ShowList(QLineEdit *editBox, const QString &location) override;

    bool ByGeneric() const { return byGeneric_; }

private:
    QString listText(const QString &typed, const QString &location) const;

    Connection &connection_;
    bool byGeneric_;
    bool supplies_ = false;
    QString title_;
};

} // namespace chemodesk::components
