#pragma once

// The hospital system's drug catalogue component: medicines and supplies,
// their in- and out-patient prices, generic names, and the stock card written
// when an item is issued or the issue reversed. It lies outside this program.

#include <QString>

namespace chemodesk::platform {

struct InventPrices {
    double SellingPriceIn = 0.0;  // in-patient price
    double SellingPriceOut = 0.0; // out-patient price
};

class DrugGeneric {
public:
    virtual ~DrugGeneric() = default;

    // True when the item has a generic entry; the names below then describe it.
    virtual bool search(const QString &itemCode) = 0;
    virtual QString GenericName() const = 0;
    virtual QString ClassificationName() const = 0;
};

enum class StockCardKind {
    Issue,
    Reversal, // written as kind "C"
};

class Drug {
public:
    virtual ~Drug() = default;

    // True when the item exists (at `location`, unless it is empty); the
    // members below then describe it.
    virtual bool SearchDrug(const QString &code, const QString &location) = 0;
    virtual QString DrugCode() const = 0;
    virtual QString DrugName() const = 0;
    // True when the item is inactive.
    virtual bool Status() const = 0;
    virtual const InventPrices &Invent() const = 0;
    virtual DrugGeneric &Generic() = 0;

    // One stock-card entry for an item issued under a charge slip, or its
    // reversal; `departmentCode` is the department's stock-card code.
    virtual void AppendStockCard(const QString &chargeSlip, const QString &itemId,
                                 const QString &locationId, double quantity,
                                 const QString &departmentCode, StockCardKind kind) = 0;
};

class DrugCatalogue {
public:
    virtual ~DrugCatalogue() = default;

    // Adopts the connection; called at start.
    virtual bool InitConnect(const QString &connectionString) = 0;
    virtual platform::Drug &Drug() = 0;
};

} // namespace chemodesk::platform
