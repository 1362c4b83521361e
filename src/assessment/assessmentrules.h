#pragma once

// The cash assessment's rules that need no window: the departments it takes
// and where each one's items are looked up, what one row of its grid holds,
// the stat day at opening, the surcharge labels and banner, and an item's
// price. Inputs are plain values; rules that read the server take the
// connection, and the program-wide settings are the caller's to pass.

#include "platform/codesearch.h"
#include "platform/connection.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace chemodesk::charging {
struct RateSettings;
}

namespace chemodesk::assessment {

// ------------------------------------------------------------- departments

// How the items of a department are chosen and priced.
enum class ItemKind {
    Exam,     // the code search, at the department's rate
    Medicine, // the drug catalogue at the pharmacy's location
    Supply,   // the drug list of supplies at the department's location
};

// The record an examination of a department is read from, and its name
// field.
struct ExamRecord {
    platform::ListKind kind;
    const char *nameField;
};
ExamRecord examRecord(const QString &dept);
// A column of the record of `kind` that the code search last chose.
Field examField(const platform::CodeSearch &search, platform::ListKind kind, const QString &column);

// The departments priced as examinations ("MD", "LB", "XR", ...).
const QStringList &examDepartments();

// A department of the list shown beside the grid.
struct Department {
    QString id;
    QString name;
};
// The active departments of the unit.
std::vector<Department> activeDepartments(Connection &connection);

// The department's issuing location; empty for departments without stock.
QString departmentLocation(Connection &connection, const QString &dept);
// Examination departments and the pharmacy are taken as they are; any other
// only when it issues stock, which is asked of the server then.
bool acceptedDepartment(Connection &connection, const QString &dept);
// The pharmacy gives medicines, any other stocked department that is not an
// examination one supplies, the rest examinations.
ItemKind itemKind(Connection &connection, const QString &dept);

// --------------------------------------------------------------- grid rows

// One row of the assessment grid as plain values; the screen lays them in
// its columns.
struct AssessmentRow {
    QString dept;
    QString code;
    QString particular;
    double price = 0.0;    // unit price, surcharges included
    double baseRate = 0.0; // before surcharges; 0 marks the row zero-priced
    QString quantity;
    std::optional<double> amount; // a package's; otherwise quantity x price
    bool stocked = false;         // medicines and supplies
    bool markup = false;          // calendar surcharges apply
    bool stat = false;
    QString location;                  // a stocked item's, sent with the row
    std::optional<QString> labSection; // an examination's
};

// Whether the calendar surcharges apply to an item of the record `kind`:
// other revenue items follow the assessment mark-up, examinations the
// surcharges' own switch.
bool markupApplies(platform::ListKind kind, const charging::RateSettings &settings);

// The unit price of a row now: medicines and supplies as listed, anything
// else surcharged by the calendar when `markup`, and by stat when `stat`.
double rowPrice(Connection &connection, charging::RateSettings &settings, double baseRate,
                bool stocked, bool markup, bool stat);

// -------------------------------------------------------- stat and banner

// The weekday names ("dddd") that check Stat at opening, for a hospital code.
bool statDay(const QString &clientName, const QString &dayName);

// What the server says of today when the screen opens.
struct StatCalendar {
    QDate today;                      // "Select getdate() as Date"; null when unread
    std::vector<QDate> fixedHolidays; // holidays filed as fixed, any year
    QDate clockDay;                   // the hospital row's clock; null when unread
};
// Reads the calendar: the date, the fixed holidays, then the clock.
StatCalendar readStatCalendar(Connection &connection);
// A fixed holiday falls on today's month and day, whatever its year.
bool onFixedHoliday(const QDate &today, const std::vector<QDate> &fixedHolidays);
// Fixed holidays, and the hospital's weekend days, make every assessment of
// the day a stat one.
bool statAtOpening(const StatCalendar &calendar, const QString &clientName);
// The same, read from the server; false without a query while surcharges
// are off.
bool statOnOpening(Connection &connection, const charging::RateSettings &settings,
                   const QString &clientName);

// The captions of the surcharge frame ("Stat: 25%", ...), "0" for each
// without a settings row.
struct SurchargeLabels {
    QString stat;
    QString afterFive;
    QString weekend;
    QString holiday;
};
SurchargeLabels readSurchargeLabels(Connection &connection);

// The banner for the surcharges in force; empty while they or the
// assessment mark-up are off, or none is in force.
QString ratesBanner(Connection &connection, charging::RateSettings &settings);
// The banner's next step: its first character moved to the end.
QString scrollBanner(const QString &text);

} // namespace chemodesk::assessment
