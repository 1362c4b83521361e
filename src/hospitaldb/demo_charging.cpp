// Revenue codes, services and their prices, holidays, items and stock; then
// the charge slips already saved, with the requests and stock issues they made.

#include "demoparts.h"

#include <QHash>

#include <cmath>

namespace chemodesk::hospital::demo {

namespace {

double roundTo5(double value)
{
    return std::round(value / 5.0) * 5.0;
}

void holidays(Connection &c)
{
    struct Holiday {
        const char *day;
        const char *name;
        const char *greeting;
        bool fixed;
    };
    const Holiday holidays[] = {
        {"2026-11-01", "ALL SAINTS' DAY", "", true},
        {"2026-11-02", "ALL SOULS' DAY", "", true},
        {"2026-11-30", "BONIFACIO DAY", "", true},
        {"2026-12-08", "FEAST OF THE IMMACULATE CONCEPTION", "", true},
        {"2026-12-24", "CHRISTMAS EVE", "Merry Christmas!", true},
        {"2026-12-25", "CHRISTMAS DAY", "Merry Christmas!", true},
        {"2026-12-30", "RIZAL DAY", "", true},
        {"2026-12-31", "LAST DAY OF THE YEAR", "Happy New Year!", true},
        {"2027-01-01", "NEW YEAR'S DAY", "Happy New Year!", true},
        {"2027-02-06", "CHINESE NEW YEAR", "Kung Hei Fat Choi!", false},
        {"2027-02-25", "EDSA REVOLUTION ANNIVERSARY", "", true},
        {"2027-03-25", "MAUNDY THURSDAY", "", false},
        {"2027-03-26", "GOOD FRIDAY", "", false},
        {"2027-03-27", "BLACK SATURDAY", "", false},
        {"2027-04-09", "ARAW NG KAGITINGAN", "", true},
        {"2027-05-01", "LABOR DAY", "Happy Labor Day!", true},
        {"2027-06-12", "INDEPENDENCE DAY", "Happy Independence Day!", true},
        {"2027-08-30", "NATIONAL HEROES DAY", "", false},
    };
    std::vector<QStringList> rows;
    for (const Holiday &h : holidays)
        rows.push_back({str(QLatin1String(h.day) + QLatin1String(" 00:00:00")),
                        str(QLatin1String(h.name)), strOrNull(QLatin1String(h.greeting)),
                        flag(h.fixed)});
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoHolidays"),
               QStringLiteral("HolidayDate, HolidayName, HolidayGreeting, isFixed"), rows);
}

// ------------------------------------------------ departments and services

void revenueCodes(Connection &c)
{
    struct Code {
        const char *id;
        const char *name;
        const char *location;
        bool withItems;
        bool inventory;
        bool cancer;
        bool kidney;
    };
    const Code codes[] = {
        {"LB", "LABORATORY", "", true, false, true, true},
        {"PH", "PHARMACY", "20", true, true, true, true},
        {"CS", "CENTRAL SUPPLY", "21", true, true, true, true},
        {"XR", "X-RAY", "", true, false, true, true},
        {"US", "ULTRASOUND", "", true, false, true, true},
        {"CT", "CT-SCAN", "", true, false, true, false},
        {"MI", "MAGNETIC RESONANCE IMAGING", "", true, false, true, false},
        {"MM", "MAMMOGRAPHY", "", true, false, true, false},
        {"WC", "WOMEN'S CENTER IMAGING", "", true, false, true, false},
        {"PA", "PULMONARY", "", true, false, true, false},
        {"HS", "HEART STATION", "", true, false, true, true},
        {"PT", "REHABILITATION MEDICINE", "", true, false, true, false},
        {"NU", "NUCLEAR MEDICINE", "", true, false, true, false},
        {"ON", "ONCOLOGY SERVICES", "", true, false, true, false},
        {"MD", "PROFESSIONAL FEE", "", false, false, true, true},
        {"SM", "PATIENT DISCOUNT", "", false, false, true, true},
        {"KS", "KIDNEY SERVICES", "", true, false, false, true},
        {"OR", "OPERATING ROOM", "", true, false, false, false},
    };
    std::vector<QStringList> rows;
    for (const Code &code : codes) {
        const QString location = QLatin1String(code.location);
        rows.push_back(
            {str(QLatin1String(code.id)), str(QLatin1String(code.name)), strOrNull(location),
             location.isEmpty() ? null() : str(QLatin1String(code.id)),
             str(code.withItems ? QStringLiteral("Y") : QStringLiteral("N")), flag(code.inventory),
             str(code.cancer ? QStringLiteral("Y") : QStringLiteral("N")),
             str(code.kidney ? QStringLiteral("Y") : QStringLiteral("N"))});
    }
    insertRows(c, QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
               QStringLiteral("RevenueID, ItemName, LocationID, StockcardRevenueid, WithItems, "
                              "SearchInventory, OnCoActive, KidneyActive"),
               rows);
}

double classRate(const Service &s, const QString &roomClass)
{
    static const double factor[] = {1.0, 1.10, 1.20, 1.30, 1.40};
    const int i = roomClass.isEmpty() ? 0 : roomClass.at(0).unicode() - 'A';
    return roomClass.isEmpty() || i < 0 || i > 4 ? s.rateA : roundTo5(s.rateA * factor[i]);
}

std::vector<Service> services(Connection &c)
{
    struct Entry {
        const char *name;
        int rate;
        const char *labSection;
    };
    // Codes are numeric so that typed letters always start a name search.
    struct Section {
        const char *id;
        int firstCode;
        bool fixed;
        std::vector<Entry> entries;
    };
    const std::vector<Section> sections = {
        {"LB",
         1001,
         false,
         {{"COMPLETE BLOOD COUNT (CBC)", 350, "HE"},
          {"PLATELET COUNT", 200, "HE"},
          {"RETICULOCYTE COUNT", 250, "HE"},
          {"PERIPHERAL BLOOD SMEAR", 400, "HE"},
          {"PROTHROMBIN TIME (PT/INR)", 450, "HE"},
          {"ACTIVATED PARTIAL THROMBOPLASTIN TIME", 450, "HE"},
          {"CREATININE", 220, "CH"},
          {"BLOOD UREA NITROGEN (BUN)", 220, "CH"},
          {"SGPT / ALT", 250, "CH"},
          {"SGOT / AST", 250, "CH"},
          {"ALKALINE PHOSPHATASE", 300, "CH"},
          {"TOTAL BILIRUBIN (B1, B2)", 380, "CH"},
          {"ALBUMIN", 250, "CH"},
          {"SODIUM", 230, "CH"},
          {"POTASSIUM", 230, "CH"},
          {"MAGNESIUM", 350, "CH"},
          {"IONIZED CALCIUM", 450, "CH"},
          {"URIC ACID", 220, "CH"},
          {"FASTING BLOOD SUGAR", 150, "CH"},
          {"LACTATE DEHYDROGENASE (LDH)", 450, "CH"},
          {"CEA (CARCINOEMBRYONIC ANTIGEN)", 1350, "IS"},
          {"CA 125", 1650, "IS"},
          {"CA 15-3", 1650, "IS"},
          {"CA 19-9", 1650, "IS"},
          {"PSA, TOTAL", 1200, "IS"},
          {"ALPHA-FETOPROTEIN (AFP)", 1250, "IS"},
          {"HBSAG SCREENING", 350, "IS"},
          {"URINALYSIS", 120, "CM"},
          {"FECALYSIS", 120, "CM"},
          {"BLOOD TYPING (ABO/RH)", 200, "BB"},
          {"CROSSMATCHING", 650, "BB"}}},
        {"XR",
         2001,
         false,
         {{"CHEST PA", 450, ""},
          {"CHEST PA / LATERAL", 750, ""},
          {"ABDOMEN SUPINE / UPRIGHT", 850, ""},
          {"SKULL APL", 700, ""},
          {"METASTATIC BONE SURVEY", 3200, ""},
          {"LUMBOSACRAL SPINE APL", 900, ""}}},
        {"US",
         3001,
         false,
         {{"WHOLE ABDOMEN ULTRASOUND", 2800, ""},
          {"BREAST ULTRASOUND, BILATERAL", 2200, ""},
          {"PELVIC ULTRASOUND", 1500, ""},
          {"THYROID ULTRASOUND", 1600, ""},
          {"HEPATOBILIARY TREE ULTRASOUND", 1700, ""},
          {"KUB ULTRASOUND", 1600, ""}}},
        {"CT",
         4001,
         true,
         {{"CT SCAN CHEST WITH CONTRAST", 9500, ""},
          {"CT SCAN WHOLE ABDOMEN TRIPLE PHASE", 14500, ""},
          {"CT SCAN HEAD PLAIN", 5500, ""},
          {"CT SCAN NECK WITH CONTRAST", 9000, ""}}},
        {"MI",
         5001,
         true,
         {{"MRI BRAIN WITH CONTRAST", 18500, ""}, {"MRI LUMBOSACRAL SPINE", 16500, ""}}},
        {"MM",
         6001,
         false,
         {{"MAMMOGRAPHY, BILATERAL", 2500, ""},
          {"MAMMOGRAPHY, UNILATERAL", 1600, ""},
          {"SPOT COMPRESSION VIEW", 900, ""}}},
        {"WC",
         6101,
         false,
         {{"BONE DENSITOMETRY (DEXA)", 2800, ""},
          {"BREAST CORE NEEDLE BIOPSY, US GUIDED", 6500, ""}}},
        {"PA",
         7001,
         false,
         {{"SPIROMETRY", 1500, ""},
          {"ARTERIAL BLOOD GAS", 1200, ""},
          {"NEBULIZATION", 250, ""},
          {"PULSE OXIMETRY MONITORING", 300, ""}}},
        {"HS",
         7101,
         false,
         {{"ECG 12 LEADS", 400, ""},
          {"2D ECHOCARDIOGRAPHY WITH DOPPLER", 3500, ""},
          {"HOLTER MONITORING 24H", 3800, ""}}},
        {"PT",
         7201,
         false,
         {{"PHYSICAL THERAPY SESSION", 600, ""}, {"LYMPHEDEMA MANAGEMENT SESSION", 900, ""}}},
        {"NU", 7301, true, {{"WHOLE BODY BONE SCAN", 9800, ""}, {"THYROID SCAN", 4500, ""}}},
        // The unit's own services.
        {"ON",
         8001,
         false,
         {{"CHEMOTHERAPY ADMINISTRATION FEE", 1500, ""},
          {"CHEMOTHERAPY PREPARATION FEE", 1200, ""},
          {"INFUSION CHAIR USE, PER SESSION", 800, ""},
          {"IV HYDRATION SERVICE", 500, ""},
          {"CHEMOPORT FLUSHING", 750, ""},
          {"BLOOD TRANSFUSION SERVICE", 900, ""},
          {"BONE MARROW ASPIRATION ASSIST", 2500, ""},
          {"INTRATHECAL CHEMOTHERAPY ASSIST", 2000, ""},
          {"NURSING CARE FEE", 450, ""},
          {"ONCOLOGY NURSE COUNSELING", 300, ""}}},
    };

    std::vector<Service> all;
    for (const Section &section : sections) {
        int code = section.firstCode;
        for (const Entry &e : section.entries)
            all.push_back({QLatin1String(section.id), QString::number(code++),
                           QLatin1String(e.name), double(e.rate), section.fixed,
                           QLatin1String(e.labSection)});
    }
    // A few laboratory prices are fixed too, whatever the time of day.
    for (Service &s : all)
        if (s.name.startsWith(QLatin1String("CA ")) || s.name.startsWith(QLatin1String("CEA")))
            s.fixed = true;

    std::vector<QStringList> other, listing, lab, ultra;
    for (const Service &s : all) {
        const QString fix = s.fixed ? QStringLiteral("Y") : QStringLiteral("N");
        other.push_back(
            {str(s.section), str(s.id), str(s.name), money(s.rateA),
             money(classRate(s, QStringLiteral("B"))), money(classRate(s, QStringLiteral("C"))),
             money(classRate(s, QStringLiteral("D"))), money(classRate(s, QStringLiteral("E"))),
             money(roundTo5(s.rateA * 0.90)), money(roundTo5(s.rateA * 1.15)),
             money(roundTo5(s.rateA * 1.20)), money(roundTo5(s.rateA * 1.25)), str(fix)});
        listing.push_back({str(s.section), str(s.id), str(s.name), str(fix)});
        const QStringList rates = {money(s.rateA),
                                   money(classRate(s, QStringLiteral("B"))),
                                   money(classRate(s, QStringLiteral("C"))),
                                   money(classRate(s, QStringLiteral("D"))),
                                   money(classRate(s, QStringLiteral("E"))),
                                   money(roundTo5(s.rateA * 0.90))};
        if (s.section == QLatin1String("LB"))
            lab.push_back(QStringList{str(s.id), str(s.name), str(s.labSection)} + rates);
        if (s.section == QLatin1String("US"))
            ultra.push_back(QStringList{str(s.id), str(s.name)} + rates);
    }
    // One retired service, still on file.
    other.push_back({str(QStringLiteral("ON")), str(QStringLiteral("8099")),
                     str(QStringLiteral("CHEMOTHERAPY ADMINISTRATION FEE (OLD RATE)")), money(1000),
                     money(1100), money(1200), money(1300), money(1400), money(900), money(1150),
                     money(1200), money(1250), str(QStringLiteral("N"))});

    const QString otherColumns =
        QStringLiteral("OtherSectionID, OtherRevenueID, OtherRevenue, RateA, RateB, RateC, "
                       "RateD, RateE, RateG, RateH, RateI, IcuRate, Fixrate");
    insertRows(c, QStringLiteral("BUILD_FILE..TbCoOtherRevenue"), otherColumns, other);
    c.Execute(QStringLiteral("UPDATE BUILD_FILE..TbCoOtherRevenue SET isActive = 0 "
                             "WHERE OtherSectionID = 'ON' AND OtherRevenueID = '8099'"));
    insertRows(c, QStringLiteral("BILLING..tbBillExamListing"),
               QStringLiteral("RevenueID, ItemID, Description, FixRate"), listing);
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoLabExam"),
               QStringLiteral(
                   "LabExamID, LabExam, LabSectionID, RateA, RateB, RateC, RateD, RateE, RateG"),
               lab);
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoultraexam"),
               QStringLiteral("UltraExamID, UltraExam, RateA, RateB, RateC, RateD, RateE, RateG"),
               ultra);
    return all;
}

// ------------------------------------------------------------- inventory

std::vector<Item> inventory(Connection &c, Random &random)
{
    insertRows(c, QStringLiteral("INVENTORY..tbInvLocation"),
               QStringLiteral("LocationID, LocationName, InventoryType"),
               {{str(QStringLiteral("20")), str(QStringLiteral("MAIN PHARMACY")),
                 str(QStringLiteral("M"))},
                {str(QStringLiteral("21")), str(QStringLiteral("CENTRAL SUPPLY ROOM")),
                 str(QStringLiteral("S"))},
                {str(QStringLiteral("22")), str(QStringLiteral("OPERATING ROOM PHARMACY")),
                 str(QStringLiteral("M"))},
                {str(QStringLiteral("30")), str(QStringLiteral("GENERAL STORES")),
                 str(QStringLiteral("S"))}});

    struct Entry {
        const char *name;
        const char *generic;
        const char *classification;
        const char *unit;
        double price; // out-patient price
    };
    const Entry medicines[] = {
        {"CISPLATIN 50MG/50ML VIAL", "CISPLATIN", "ANTINEOPLASTIC", "VIAL", 1450},
        {"CARBOPLATIN 450MG/45ML VIAL", "CARBOPLATIN", "ANTINEOPLASTIC", "VIAL", 4850},
        {"PACLITAXEL 300MG/50ML VIAL", "PACLITAXEL", "ANTINEOPLASTIC", "VIAL", 6200},
        {"DOCETAXEL 80MG/4ML VIAL", "DOCETAXEL", "ANTINEOPLASTIC", "VIAL", 7800},
        {"DOXORUBICIN 50MG VIAL", "DOXORUBICIN", "ANTINEOPLASTIC", "VIAL", 2350},
        {"CYCLOPHOSPHAMIDE 1G VIAL", "CYCLOPHOSPHAMIDE", "ANTINEOPLASTIC", "VIAL", 1650},
        {"FLUOROURACIL 500MG/10ML AMPULE", "FLUOROURACIL", "ANTINEOPLASTIC", "AMP", 380},
        {"GEMCITABINE 1G VIAL", "GEMCITABINE", "ANTINEOPLASTIC", "VIAL", 3900},
        {"OXALIPLATIN 100MG VIAL", "OXALIPLATIN", "ANTINEOPLASTIC", "VIAL", 5400},
        {"VINCRISTINE 1MG/ML VIAL", "VINCRISTINE", "ANTINEOPLASTIC", "VIAL", 950},
        {"ETOPOSIDE 100MG/5ML VIAL", "ETOPOSIDE", "ANTINEOPLASTIC", "VIAL", 720},
        {"METHOTREXATE 50MG/2ML VIAL", "METHOTREXATE", "ANTINEOPLASTIC", "VIAL", 650},
        {"IRINOTECAN 100MG/5ML VIAL", "IRINOTECAN", "ANTINEOPLASTIC", "VIAL", 4100},
        {"CAPECITABINE 500MG TABLET", "CAPECITABINE", "ANTINEOPLASTIC", "TAB", 95},
        {"LEUCOVORIN 50MG VIAL", "CALCIUM FOLINATE", "ANTIDOTE", "VIAL", 560},
        {"MESNA 400MG/4ML AMPULE", "MESNA", "ANTIDOTE", "AMP", 310},
        {"ONDANSETRON 8MG/4ML AMPULE", "ONDANSETRON", "ANTIEMETIC", "AMP", 185},
        {"GRANISETRON 1MG/ML AMPULE", "GRANISETRON", "ANTIEMETIC", "AMP", 420},
        {"METOCLOPRAMIDE 10MG/2ML AMPULE", "METOCLOPRAMIDE", "ANTIEMETIC", "AMP", 45},
        {"DEXAMETHASONE 4MG/ML AMPULE", "DEXAMETHASONE", "CORTICOSTEROID", "AMP", 38},
        {"HYDROCORTISONE 100MG VIAL", "HYDROCORTISONE", "CORTICOSTEROID", "VIAL", 160},
        {"DIPHENHYDRAMINE 50MG/ML AMPULE", "DIPHENHYDRAMINE", "ANTIHISTAMINE", "AMP", 42},
        {"FAMOTIDINE 20MG/2ML AMPULE", "FAMOTIDINE", "H2 BLOCKER", "AMP", 75},
        {"OMEPRAZOLE 40MG VIAL", "OMEPRAZOLE", "PROTON PUMP INHIBITOR", "VIAL", 240},
        {"FILGRASTIM 300MCG PREFILLED SYRINGE", "FILGRASTIM", "HEMATOPOIETIC", "PFS", 2650},
        {"EPOETIN ALFA 4000IU PREFILLED SYRINGE", "EPOETIN ALFA", "HEMATOPOIETIC", "PFS", 1350},
        {"ZOLEDRONIC ACID 4MG/5ML VIAL", "ZOLEDRONIC ACID", "BISPHOSPHONATE", "VIAL", 3100},
        {"ALLOPURINOL 300MG TABLET", "ALLOPURINOL", "ANTIGOUT", "TAB", 9},
        {"PARACETAMOL 500MG TABLET", "PARACETAMOL", "ANALGESIC", "TAB", 4},
        {"TRAMADOL 50MG CAPSULE", "TRAMADOL", "ANALGESIC", "CAP", 18},
        {"MORPHINE SULFATE 10MG/ML AMPULE", "MORPHINE", "OPIOID ANALGESIC", "AMP", 120},
        {"FUROSEMIDE 20MG/2ML AMPULE", "FUROSEMIDE", "DIURETIC", "AMP", 28},
        {"MANNITOL 20% 500ML BOTTLE", "MANNITOL", "DIURETIC", "BOT", 260},
        {"POTASSIUM CHLORIDE 40MEQ/20ML VIAL", "POTASSIUM CHLORIDE", "ELECTROLYTE", "VIAL", 65},
        {"MAGNESIUM SULFATE 250MG/ML AMPULE", "MAGNESIUM SULFATE", "ELECTROLYTE", "AMP", 55},
        {"SODIUM CHLORIDE 0.9% 1L", "SODIUM CHLORIDE", "IV FLUID", "BOT", 110},
        {"DEXTROSE 5% IN WATER 1L", "DEXTROSE", "IV FLUID", "BOT", 105},
        {"LACTATED RINGER'S SOLUTION 1L", "LACTATED RINGER'S", "IV FLUID", "BOT", 115},
        {"HEPARIN 5000IU/ML VIAL", "HEPARIN", "ANTICOAGULANT", "VIAL", 210},
        {"CHLORPHENAMINE 10MG/ML AMPULE", "CHLORPHENAMINE", "ANTIHISTAMINE", "AMP", 35},
    };
    const Entry supplies[] = {
        {"IV CANNULA G22", "", "IV ACCESS", "PC", 65},
        {"IV CANNULA G24", "", "IV ACCESS", "PC", 65},
        {"IV INFUSION SET, ADULT", "", "IV ACCESS", "SET", 85},
        {"CHEMOTHERAPY ADMINISTRATION SET, NON-PVC", "", "IV ACCESS", "SET", 420},
        {"EXTENSION TUBING 150CM", "", "IV ACCESS", "PC", 55},
        {"THREE-WAY STOPCOCK", "", "IV ACCESS", "PC", 45},
        {"HUBER NEEDLE 20G FOR IMPLANTED PORT", "", "IV ACCESS", "PC", 680},
        {"HEPARIN LOCK", "", "IV ACCESS", "PC", 38},
        {"BLOOD TRANSFUSION SET", "", "IV ACCESS", "SET", 150},
        {"DISPOSABLE SYRINGE 1CC", "", "SYRINGE", "PC", 8},
        {"DISPOSABLE SYRINGE 3CC", "", "SYRINGE", "PC", 9},
        {"DISPOSABLE SYRINGE 5CC", "", "SYRINGE", "PC", 10},
        {"DISPOSABLE SYRINGE 10CC", "", "SYRINGE", "PC", 14},
        {"STERILE GAUZE 4X4, PACK OF 10", "", "DRESSING", "PK", 35},
        {"TRANSPARENT FILM DRESSING 6X7CM", "", "DRESSING", "PC", 48},
        {"MICROPORE TAPE 1 INCH", "", "DRESSING", "ROLL", 62},
        {"ALCOHOL SWAB", "", "DRESSING", "PC", 2},
        {"COTTON BALLS, PACK", "", "DRESSING", "PK", 25},
        {"STERILE GLOVES SIZE 7", "", "PROTECTIVE", "PAIR", 32},
        {"EXAMINATION GLOVES, BOX OF 100", "", "PROTECTIVE", "BOX", 320},
        {"CHEMOTHERAPY GOWN, DISPOSABLE", "", "PROTECTIVE", "PC", 180},
        {"N95 RESPIRATOR MASK", "", "PROTECTIVE", "PC", 75},
        {"SURGICAL MASK", "", "PROTECTIVE", "PC", 6},
        {"SHARPS CONTAINER 1L", "", "WASTE", "PC", 95},
        {"CHEMOTHERAPY WASTE BAG", "", "WASTE", "PC", 28},
        {"URINE COLLECTION BAG", "", "UROLOGY", "PC", 55},
        {"FOLEY CATHETER FR16", "", "UROLOGY", "PC", 85},
        {"NASOGASTRIC TUBE FR16", "", "GASTRO", "PC", 60},
        {"CHLORHEXIDINE 2% SOLUTION 500ML", "", "ANTISEPTIC", "BOT", 230},
        {"POVIDONE IODINE 10% 120ML", "", "ANTISEPTIC", "BOT", 120},
    };

    std::vector<Item> items;
    std::vector<QStringList> master;
    auto addItems = [&](const auto &entries, int firstCode, const QString &location,
                        const QString &type) {
        int code = firstCode;
        int n = 0;
        for (const Entry &e : entries) {
            const QString id = QString::number(code++);
            // Every ninth item has run out; two have been taken off the formulary.
            const bool empty = ++n % 9 == 0;
            const bool inactive = n == 13 || n == 22;
            const double stock = empty ? 0 : double(random.between(2, 60) * 10);
            items.push_back({id, QLatin1String(e.name), location,
                             std::round(e.price * 1.15 * 4) / 4, e.price, stock, inactive});
            master.push_back({str(id), str(QLatin1String(e.name)),
                              strOrNull(QLatin1String(e.generic)),
                              str(QLatin1String(e.classification)), str(QLatin1String(e.unit)),
                              str(type), flag(inactive)});
        }
    };
    addItems(medicines, 10001, QStringLiteral("20"), QStringLiteral("M"));
    addItems(supplies, 20001, QStringLiteral("21"), QStringLiteral("S"));
    insertRows(
        c, QStringLiteral("INVENTORY..tbInvMaster"),
        QStringLiteral(
            "ItemID, ItemName, GenericName, ClassificationName, UnitOfMeasure, ItemType, Inactive"),
        master);
    return items;
}

// Stock on hand, with a beginning-balance card per item so that the cards
// add up to what tbinvent says.
void writeStock(Connection &c, const std::vector<Item> &items, const QHash<QString, double> &begin,
                const std::vector<QStringList> &issues)
{
    std::vector<QStringList> invent, cards;
    auto add = [&](const Item &item, const QString &location, double start, double onHand) {
        const double cost = item.priceOut * 0.7;
        invent.push_back({str(item.id), str(location), QString::number(onHand), money(item.priceIn),
                          money(item.priceOut), money(cost), num(20), date(at(Today, 7, 0))});
        cards.push_back({str(item.id), str(location), date(at(Today.addMonths(-1), 7, 0)),
                         str(QStringLiteral("B")), str(QStringLiteral("BEGBAL")), null(),
                         QString::number(start), num(0), money(cost), money(0), null(), null(),
                         str(QStringLiteral("1001"))});
    };
    for (const Item &item : items)
        add(item, item.location, begin.value(item.id), item.onHand);
    // The operating-room pharmacy keeps a few of the anti-emetics too.
    for (const Item &item : items)
        if (item.name.startsWith(QLatin1String("ONDANSETRON")) ||
            item.name.startsWith(QLatin1String("DEXAMETHASONE")))
            add(item, QStringLiteral("22"), 40, 40);
    cards.insert(cards.end(), issues.begin(), issues.end());

    insertRows(
        c, QStringLiteral("INVENTORY..tbinvent"),
        QStringLiteral("ItemID, LocationID, OnHand, SellingPriceIn, SellingPriceOut, UnitCost, "
                       "ReorderLevel, LastUpdated"),
        invent);
    insertRows(
        c, QStringLiteral("INVENTORY..tbInvStockCard"),
        QStringLiteral("ItemID, LocationID, TransDate, TransType, RefNum, RevenueID, QuantityIn, "
                       "QuantityOut, UnitCost, SellingPrice, HospNum, IdNum, UserID"),
        cards);
}

// ----------------------------------------------------------------- charges

void charges(Connection &c, Random &random, const std::vector<Registration> &registrations,
             const std::vector<Service> &services, std::vector<Item> &items)
{
    // Charge-account patients whose bill is still open.
    std::vector<const Registration *> chargeable;
    for (const Registration &r : registrations)
        if (!r.billed && !r.discharged && !r.account.isEmpty() && r.account != r.hospNum)
            chargeable.push_back(&r);

    auto servicesOf = [&](const char *section) {
        std::vector<const Service *> list;
        for (const Service &s : services)
            if (s.section == QLatin1String(section))
                list.push_back(&s);
        return list;
    };
    const auto onServices = servicesOf("ON");
    const auto labExams = servicesOf("LB");
    const auto xrays = servicesOf("XR");
    const auto pulmo = servicesOf("PA");

    QHash<QString, double> begin;
    for (const Item &item : items)
        begin.insert(item.id, item.onHand);

    std::vector<QStringList> chargeRows, logRows, cardRows, labRows, radioRows, pulmoRows,
        printRows;
    const QString users[] = {QStringLiteral("1001"), QStringLiteral("1002"),
                             QStringLiteral("1005")};

    for (int slip = 0; slip < 20; ++slip) {
        const Registration &p = *chargeable[size_t(slip * 7) % chargeable.size()];
        const QString slipNo = QStringLiteral("G%1C").arg(1500 + slip);
        QDateTime when = at(Today.addDays(-(19 - slip) / 4), 9 + slip % 8, (slip * 13) % 60);
        if (when < p.admitted)
            when = p.admitted.addSecs(3600);
        const QString user = users[slip % 3];
        const QString patientType = p.inPatient ? QStringLiteral("I") : QStringLiteral("O");
        const QString drName = QLatin1String("DR. ") + doctorName(p.doctor);

        enum Kind { OnService, Medicine, Supply, Lab, Xray, Fee, Pulmo };
        std::vector<Kind> lines = {OnService, Medicine, Supply};
        if (slip % 3 == 0)
            lines.push_back(Lab);
        if (slip % 5 == 2)
            lines.push_back(Xray);
        if (slip % 6 == 1)
            lines.push_back(Fee);
        if (slip == 11)
            lines.push_back(Pulmo);

        for (size_t line = 0; line < lines.size(); ++line) {
            QString revenue, itemId, description, location, stockRevenue;
            double quantity = 1;
            double amount = 0;
            QString chargeType = QStringLiteral("D");
            switch (lines[line]) {
            case OnService: {
                const Service &s = *onServices[size_t(slip + line) % 3];
                revenue = s.section, itemId = s.id, description = s.name;
                amount = p.inPatient ? classRate(s, p.roomClass) : s.rateA;
                break;
            }
            case Medicine:
            case Supply: {
                const QString where =
                    lines[line] == Medicine ? QStringLiteral("20") : QStringLiteral("21");
                std::vector<Item *> stocked;
                for (Item &candidate : items)
                    if (candidate.location == where && !candidate.inactive &&
                        candidate.onHand >= 10)
                        stocked.push_back(&candidate);
                Item *item = random.pick(stocked);
                revenue =
                    where == QLatin1String("20") ? QStringLiteral("PH") : QStringLiteral("CS");
                itemId = item->id, description = item->name, location = where,
                stockRevenue = revenue;
                quantity = random.between(1, 4);
                amount = quantity * (p.inPatient ? item->priceIn : item->priceOut);
                item->onHand -= quantity;
                cardRows.push_back({str(itemId), str(where), date(when), str(QStringLiteral("I")),
                                    str(slipNo), str(revenue), num(0), QString::number(quantity),
                                    money(item->priceOut * 0.7), money(amount / quantity),
                                    str(p.hospNum), str(p.idNum), str(user)});
                break;
            }
            case Lab: {
                const Service &s = *labExams[size_t(slip * 3) % labExams.size()];
                revenue = s.section, itemId = s.id, description = s.name;
                amount = p.inPatient ? classRate(s, p.roomClass) : s.rateA;
                labRows.push_back({str(p.hospNum), str(p.idNum), str(itemId), money(amount), num(1),
                                   str(revenue), str(user), str(p.roomId), str(p.doctor),
                                   str(drName), str(slipNo), null(), date(when),
                                   str(slip == 0 ? QStringLiteral("R") : QStringLiteral("X")),
                                   str(s.labSection)});
                break;
            }
            case Xray: {
                const Service &s = *xrays[size_t(slip) % xrays.size()];
                revenue = s.section, itemId = s.id, description = s.name;
                amount = p.inPatient ? classRate(s, p.roomClass) : s.rateA;
                radioRows.push_back({str(revenue), str(p.hospNum), str(p.idNum), str(itemId),
                                     str(description), num(1), money(amount), str(p.roomId),
                                     str(p.doctor), str(drName), str(slipNo), date(when),
                                     str(user)});
                break;
            }
            case Fee:
                revenue = QStringLiteral("MD"), itemId = p.doctor, chargeType = QStringLiteral("P");
                description =
                    QLatin1String("DR. ") + doctorName(p.doctor).section(QLatin1String(", "), 1) +
                    QLatin1Char(' ') + doctorName(p.doctor).section(QLatin1String(", "), 0, 0);
                amount = 500.0 * random.between(3, 10);
                break;
            case Pulmo: {
                const Service &s = *pulmo[2];
                revenue = s.section, itemId = s.id, description = s.name;
                amount = p.inPatient ? classRate(s, p.roomClass) : s.rateA;
                pulmoRows.push_back({num(300), str(p.hospNum), str(p.idNum), str(itemId),
                                     str(description), money(amount), num(1), date(when),
                                     str(p.roomId), str(p.doctor), str(drName), str(slipNo),
                                     str(user)});
                break;
            }
            }

            // One medicine line was charged by mistake and cancelled the same day.
            const bool cancelled = slip == 4 && lines[line] == Medicine;
            const QString status = cancelled                         ? QStringLiteral("C")
                                   : slip == 0 && lines[line] == Lab ? QStringLiteral("R")
                                                                     : QStringLiteral("X");
            chargeRows.push_back({str(p.hospNum),
                                  str(p.idNum),
                                  str(itemId),
                                  money(amount),
                                  QString::number(quantity),
                                  date(when),
                                  str(revenue),
                                  str(status),
                                  str(user),
                                  str(description),
                                  str(patientType),
                                  str(chargeType),
                                  str(p.roomId),
                                  str(p.doctor),
                                  str(slipNo),
                                  strOrNull(location),
                                  str(drName),
                                  strOrNull(stockRevenue),
                                  cancelled ? date(when.addSecs(1800)) : null(),
                                  cancelled ? str(QStringLiteral("1001")) : null(),
                                  cancelled ? str(QStringLiteral("WRONG ITEM CHARGED")) : null()});
            logRows.push_back({str(p.hospNum), str(p.idNum), str(itemId), money(amount),
                               QString::number(quantity), date(when), str(revenue),
                               str(QStringLiteral("X")), str(user), str(description),
                               str(patientType), str(chargeType), str(p.roomId), str(p.doctor),
                               str(slipNo), strOrNull(location), str(drName)});
            if (cancelled) {
                for (Item &item : items)
                    if (item.id == itemId)
                        item.onHand += quantity;
                cardRows.push_back({str(itemId), str(location), date(when.addSecs(1800)),
                                    str(QStringLiteral("C")), str(slipNo), str(revenue),
                                    QString::number(quantity), num(0), money(0),
                                    money(amount / quantity), str(p.hospNum), str(p.idNum),
                                    str(QStringLiteral("1001"))});
            }
            // The print table still holds the last slip saved.
            if (slip == 19)
                printRows.push_back({str(itemId), money(amount), QString::number(quantity),
                                     str(revenue), str(description), strOrNull(location),
                                     strOrNull(stockRevenue), null()});
        }
    }

    const QString chargeColumns = QStringLiteral(
        "HospNum, IdNum, ItemID, Amount, Quantity, TransDate, RevenueID, RequestStatus, UserID, "
        "Description, PatientType, ChargeType, RoomID, DoctorID, ChargeSlip, LocationID, "
        "DoctorName, "
        "StockcardRevenueID, CancelDate, CancelledBy, CancelReason");
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerCharges"), chargeColumns, chargeRows);
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerLogBook"),
               QStringLiteral("HospNum, IdNum, ItemID, Amount, Quantity, TransDate, RevenueID, "
                              "RequestStatus, UserID, "
                              "Description, PatientType, ChargeType, RoomID, DoctorID, ChargeSlip, "
                              "LocationID, DoctorName"),
               logRows);
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerChargePrint"),
               QStringLiteral("ItemID, Amount, Quantity, RevenueID, Description, LocationID, "
                              "StockcardRevenueID, LineFlags"),
               printRows);
    insertRows(c, QStringLiteral("LABORATORY..tbLabRequest"),
               QStringLiteral("HospNum, IdNum, ItemID, Amount, Quantity, RevenueID, UserID, "
                              "RoomID, DoctorID, DoctorName, "
                              "ChargeSlip, LocationID, RequestDate, RequestStatus, LabSectionID"),
               labRows);
    insertRows(
        c, QStringLiteral("RADIOLOGY..tbRadioRequest"),
        QStringLiteral(
            "RevenueID, HospNum, IdNum, ItemID, Description, Quantity, Amount, RoomID, DoctorID, "
            "DoctorName, ChargeSlip, RequestDate, UserID"),
        radioRows);
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbPulmoRequest"),
               QStringLiteral("RequestNum, HospNum, IdNum, ItemID, Description, Amount, Quantity, "
                              "RequestDate, RoomID, "
                              "DoctorID, DoctorName, ChargeSlip, UserID"),
               pulmoRows);
    writeStock(c, items, begin, cardRows);
}

} // namespace

void loadPrices(Part &part)
{
    holidays(part.connection);
    revenueCodes(part.connection);
    part.loaded.services = services(part.connection);
    part.loaded.items = inventory(part.connection, part.random);
    if (part.extraRow)
        insertRows(part.connection, QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
                   QStringLiteral("RevenueID, ItemName, WithItems"),
                   {{str(QStringLiteral("ZZ")),
                     str(QStringLiteral("SECTION %1").arg(part.random.between(1, 99))),
                     str(QStringLiteral("N"))}});
}

void loadCharges(Part &part)
{
    Connection &c = part.connection;
    // Next numbers to be drawn: the existing charges below used G1500C to G1519C
    // and pulmonary request 300.
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbGenericChargeslip"),
               QStringLiteral("CounterID, ChargeSlip"), {{num(1), num(1520)}});
    insertRows(c, QStringLiteral("CLINICAL_AREA..tbPulmoRequestNum"),
               QStringLiteral("CounterID, RequestNum"), {{num(1), num(301)}});

    charges(c, part.random, part.loaded.registrations, part.loaded.services, part.loaded.items);
    if (part.extraRow)
        insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancerLogBook"),
                   QStringLiteral("HospNum, IdNum, ItemID, Quantity, ChargeSlip"),
                   {{str(QStringLiteral("1000001")), str(QStringLiteral("261001")),
                     str(QStringLiteral("10001")), num(part.random.between(1, 4)),
                     str(QStringLiteral("G1599C"))}});
}

} // namespace chemodesk::hospital::demo
