#pragma once

// The drug catalogue component over the hospital's inventory: the item master
// (INVENTORY..tbInvMaster), stock and prices per location (tbinvent) and the
// stock card (tbInvStockCard). A DatabaseError reaches the calling screen.

#include "platform/connection.h"
#include "platform/drugcatalogue.h"

namespace chemodesk::components {

class MedicineGeneric : public platform::DrugGeneric {
public:
    explicit MedicineGeneric(Connection &connection) : connection_(connection) {}

    // False, and both names empty, for an item without a generic name
    // (supplies) or an unknown item.
    bool search(const QString &itemCode) override;
    QString GenericName() const override { return genericName_; }
    QString ClassificationName() const override { return classificationName_; }

private:
    Connection &connection_;
    QString genericName_;
    QString classificationName_;
};

class MedicineDrug : public platform::Drug {
public:
    explicit MedicineDrug(Connection &connection) : connection_(connection), generic_(connection) {}

    // Without a location the prices are those of the item's first location
    // (zero when it is stocked nowhere). A failed search clears the members,
    // so nothing of the previous item is read by mistake.
    bool SearchDrug(const QString &code, const QString &location) override;
    QString DrugCode() const override { return code_; }
    QString DrugName() const override { return name_; }
    bool Status() const override { return inactive_; }
    const platform::InventPrices &Invent() const override { return prices_; }
    platform::DrugGeneric &Generic() override { return generic_; }

    // An issue takes the quantity out, a reversal ("C") puts it back; dated by
    // the server clock, RefNum the slip. Refuses (DatabaseError, nothing
    // written) a quantity that is not above zero and an item not stocked at
    // the location, whose card no balance would ever count.
    void AppendStockCard(const QString &chargeSlip, const QString &itemId,
                         const QString &locationId, double quantity, const QString &departmentCode,
                         platform::StockCardKind kind) override;

private:
    Connection &connection_;
    MedicineGeneric generic_;
    QString code_;
    QString name_;
    bool inactive_ = false;
    platform::InventPrices prices_;
};

class MedicineCatalogue : public platform::DrugCatalogue {
public:
    explicit MedicineCatalogue(Connection &connection) : connection_(connection), drug_(connection)
    {
    }

    // True for the connection this catalogue was built with (its connection
    // string, or an empty text); false for any other.
    bool InitConnect(const QString &connectionString) override;
    platform::Drug &Drug() override { return drug_; }

private:
    Connection &connection_;
    MedicineDrug drug_;
};

} // namespace chemodesk::components
