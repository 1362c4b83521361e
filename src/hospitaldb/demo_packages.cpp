// Charge packages: the unit's medicine and supply stations they issue from,
// an HMO package priced as a whole and NON - HMO packages priced by their
// items, and one package already charged under a slip of an employee's
// booklet, its stocked items' cards tied to the package.

#include "demoparts.h"

#include <QHash>
#include <QSet>

namespace chemodesk::hospital::demo {

namespace {

const QString Medicines = QStringLiteral("KM");
const QString Supplies = QStringLiteral("KU");
const QString MedicineStation = QStringLiteral("199");
const QString SupplyStation = QStringLiteral("200");

struct PackageItem {
    QString revenue;
    QString id;
    QString description;
    double quantity;
    double amount;
    QString location; // stocked items only
};

struct Package {
    const char *code;
    const char *name;
    bool hmo;
    double amount; // HMO packages only
    std::vector<PackageItem> items;
};

const Item &itemNamed(const Loaded &loaded, const char *prefix)
{
    for (const Item &item : loaded.items)
        if (item.name.startsWith(QLatin1String(prefix)))
            return item;
    throw DatabaseError(
        QStringLiteral("demo packages: no item named %1").arg(QLatin1String(prefix)));
}

const Service &serviceNamed(const Loaded &loaded, const char *section, const char *prefix)
{
    for (const Service &s : loaded.services)
        if (s.section == QLatin1String(section) && s.name.startsWith(QLatin1String(prefix)))
            return s;
    throw DatabaseError(
        QStringLiteral("demo packages: no service named %1").arg(QLatin1String(prefix)));
}

PackageItem medicine(const Loaded &loaded, const char *prefix, double quantity)
{
    const Item &item = itemNamed(loaded, prefix);
    return {Medicines, item.id, item.name, quantity, quantity * item.priceIn, MedicineStation};
}

PackageItem supply(const Loaded &loaded, const char *prefix, double quantity)
{
    const Item &item = itemNamed(loaded, prefix);
    return {Supplies, item.id, item.name, quantity, quantity * item.priceIn, SupplyStation};
}

PackageItem service(const Loaded &loaded, const char *section, const char *prefix)
{
    const Service &s = serviceNamed(loaded, section, prefix);
    return {s.section, s.id, s.name, 1, s.rateA, QString()};
}

std::vector<Package> packages(const Loaded &l)
{
    return {
        {"PKG01",
         "CHEMO DAY CARE PACKAGE (HMO)",
         true,
         6500,
         {medicine(l, "ONDANSETRON", 2), medicine(l, "DEXAMETHASONE", 2),
          medicine(l, "SODIUM CHLORIDE", 1), supply(l, "IV INFUSION SET", 1),
          supply(l, "DISPOSABLE SYRINGE 5CC", 2), service(l, "ON", "CHEMOTHERAPY ADMINISTRATION"),
          service(l, "LB", "COMPLETE BLOOD COUNT")}},
        {"PKG02",
         "PACLITAXEL-CARBOPLATIN CYCLE",
         false,
         0,
         {medicine(l, "PACLITAXEL", 1), medicine(l, "CARBOPLATIN", 1),
          medicine(l, "ONDANSETRON", 1), supply(l, "CHEMOTHERAPY ADMINISTRATION SET", 1),
          service(l, "ON", "CHEMOTHERAPY PREPARATION"), service(l, "XR", "CHEST PA")}},
        {"PKG03",
         "BLOOD TRANSFUSION PACKAGE",
         false,
         0,
         {service(l, "ON", "BLOOD TRANSFUSION SERVICE"), supply(l, "BLOOD TRANSFUSION SET", 1),
          service(l, "LB", "BLOOD TYPING"), service(l, "LB", "CROSSMATCHING")}},
    };
}

QStringList packageRow(const Package &p, const PackageItem &item, const QDateTime &built)
{
    return {str(QLatin1String(p.code)),
            str(QLatin1String(p.name)),
            str(p.hmo ? QStringLiteral("1") : QStringLiteral("0")),
            money(p.amount),
            str(item.revenue),
            str(item.id),
            str(item.description),
            QString::number(item.quantity),
            money(item.amount),
            str(QStringLiteral("1001")),
            date(built)};
}

const char *const PackageColumns = "PackageCode, PackageName, PackageType, PackageAmount, "
                                   "RevenueID, ItemID, ItemDescription, Quantity, Amount, UserID, "
                                   "DateBuilt";

// An admission the other demo parts and the tests leave alone: the last one
// still chargeable.
const Registration *chargedPatient(const Loaded &loaded)
{
    const Registration *chosen = nullptr;
    for (const Registration &r : loaded.registrations)
        if (r.inPatient && !r.billed && !r.discharged && !r.account.isEmpty() &&
            r.account != r.hospNum)
            chosen = &r;
    return chosen;
}

} // namespace

void loadPackages(Part &part)
{
    Connection &c = part.connection;
    const Loaded &loaded = part.loaded;

    // The stations a package's medicines and supplies are issued from. They are
    // not offered for charging item by item.
    insertRows(c, QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
               QStringLiteral("RevenueID, ItemName, LocationID, StockcardRevenueid, WithItems, "
                              "SearchInventory, OnCoActive, KidneyActive"),
               {{str(Medicines), str(QStringLiteral("UNIT MEDICINES (PACKAGES)")),
                 str(MedicineStation), str(Medicines), str(QStringLiteral("Y")), flag(true),
                 str(QStringLiteral("N")), str(QStringLiteral("Y"))},
                {str(Supplies), str(QStringLiteral("UNIT SUPPLIES (PACKAGES)")), str(SupplyStation),
                 str(Supplies), str(QStringLiteral("Y")), flag(true), str(QStringLiteral("N")),
                 str(QStringLiteral("Y"))}});
    insertRows(c, QStringLiteral("INVENTORY..tbInvLocation"),
               QStringLiteral("LocationID, LocationName, InventoryType"),
               {{str(MedicineStation), str(QStringLiteral("CANCER UNIT MEDICINE STATION")),
                 str(QStringLiteral("M"))},
                {str(SupplyStation), str(QStringLiteral("CANCER UNIT SUPPLY STATION")),
                 str(QStringLiteral("S"))}});

    const std::vector<Package> all = packages(loaded);
    const QDateTime built = at(Today.addDays(-30), 14, 0);
    std::vector<QStringList> rows;
    for (const Package &p : all)
        for (const PackageItem &item : p.items)
            rows.push_back(packageRow(p, item, built));
    insertRows(c, QStringLiteral("HEMODIALYSIS..tbhemopackage"), QLatin1String(PackageColumns),
               rows);

    // PKG02 charged yesterday under booklet slip K5012C (employee 1001's booklet
    // stands at 5013).
    const Registration *patient = chargedPatient(loaded);
    const QString slip = QStringLiteral("K5012C");
    const Package &charged = all[1];
    const QDateTime when = at(Today.addDays(-1), 10, 15);
    std::vector<QStringList> charges, logs, cards;
    QHash<QString, double> issued;
    for (const PackageItem &item : charged.items) {
        const QStringList values = {str(patient->hospNum),
                                    str(patient->idNum),
                                    str(item.id),
                                    money(item.amount),
                                    QString::number(item.quantity),
                                    date(when),
                                    str(item.revenue),
                                    str(QStringLiteral("X")),
                                    str(QStringLiteral("1001")),
                                    str(item.description),
                                    str(QStringLiteral("I")),
                                    str(QStringLiteral("D")),
                                    str(slip),
                                    strOrNull(item.location)};
        charges.push_back(QStringList(values) << str(QLatin1String(charged.code)));
        logs.push_back(QStringList(values) << str(QStringLiteral("PACKAGE PKG02")));
        if (!item.location.isEmpty()) {
            issued[item.location + QLatin1Char('/') + item.id] += item.quantity;
            cards.push_back({str(item.id), str(item.location), date(when), str(QStringLiteral("I")),
                             str(slip), str(item.revenue), num(0), QString::number(item.quantity),
                             money(item.amount / item.quantity * 0.6),
                             money(item.amount / item.quantity), str(patient->hospNum),
                             str(patient->idNum), str(QStringLiteral("1001")),
                             str(QLatin1String(charged.code))});
        }
    }
    const QString chargeColumns =
        QStringLiteral("HospNum, IdNum, ItemID, Amount, Quantity, TransDate, RevenueID, "
                       "RequestStatus, UserID, Description, PatientType, ChargeType, ChargeSlip, "
                       "LocationID");
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerCharges"),
               chargeColumns + QStringLiteral(", PackageID"), charges);
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerLogBook"),
               chargeColumns + QStringLiteral(", Remarks"), logs);

    // The stations' stock: a beginning balance, less what the slip above issued.
    std::vector<QStringList> invent;
    std::vector<QStringList> beginning;
    QSet<QString> stocked;
    for (const Package &p : all) {
        for (const PackageItem &item : p.items) {
            const QString key = item.location + QLatin1Char('/') + item.id;
            if (item.location.isEmpty() || stocked.contains(key))
                continue;
            stocked.insert(key);
            const Item &source = [&]() -> const Item & {
                for (const Item &i : loaded.items)
                    if (i.id == item.id)
                        return i;
                return loaded.items.front();
            }();
            const double start = double(part.random.between(5, 20) * 10);
            const double cost = source.priceOut * 0.7;
            invent.push_back({str(item.id), str(item.location),
                              QString::number(start - issued.value(key)), money(source.priceIn),
                              money(source.priceOut), money(cost), num(10), date(at(Today, 7, 0))});
            beginning.push_back({str(item.id), str(item.location),
                                 date(at(Today.addMonths(-1), 7, 0)), str(QStringLiteral("B")),
                                 str(QStringLiteral("BEGBAL")), null(), QString::number(start),
                                 num(0), money(cost), money(0), null(), null(),
                                 str(QStringLiteral("1001")), null()});
        }
    }
    insertRows(c, QStringLiteral("INVENTORY..tbinvent"),
               QStringLiteral("ItemID, LocationID, OnHand, SellingPriceIn, SellingPriceOut, "
                              "UnitCost, ReorderLevel, LastUpdated"),
               invent);
    beginning.insert(beginning.end(), cards.begin(), cards.end());
    insertRows(c, QStringLiteral("INVENTORY..tbInvStockCard"),
               QStringLiteral("ItemID, LocationID, TransDate, TransType, RefNum, RevenueID, "
                              "QuantityIn, QuantityOut, UnitCost, SellingPrice, HospNum, IdNum, "
                              "UserID, PackageID"),
               beginning);

    if (part.extraRow) {
        const Package &p = all[2];
        PackageItem extra = supply(loaded, "STERILE GLOVES", part.random.between(1, 4));
        insertRows(c, QStringLiteral("HEMODIALYSIS..tbhemopackage"), QLatin1String(PackageColumns),
                   {packageRow(p, extra, built)});
    }
}

} // namespace chemodesk::hospital::demo
