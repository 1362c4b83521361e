#pragma once

// Surcharges by the calendar: the rate settings of the shared settings table,
// the holiday, weekend and after-five tests, the code that picks one surcharge
// percentage, the mark-up itself and the banner that announces it.
//
// Every test asks the server's clock at the moment it runs, never the
// workstation's. Procedures take the connection explicitly (the application
// passes globals().DbConnection) and the settings they read or fill; the
// program keeps one RateSettings, rateSettings(). Database errors reach the
// screen that asked.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

// The flags of the last LoadRateSettings, the last holiday answer and the
// base price the mark-up computation reads. All false and empty until loaded,
// so no surcharge applies before then.
struct RateSettings {
    bool isAllowNewHemoStatRate = false;
    bool isAllowHolidayRate = false;
    bool isAllowAfterFivePMRate = false;
    bool isAllowWeekendRate = false;
    bool isAllowAfterFiveLabChemOnly = false;
    bool isAllowAfterFiveAllRevenues = false;
    bool isAssesmentMarkUp = false;
    bool isPostChargeMarkUp = false;
    bool isAllowafter11amMarkup = false;
    bool isAllowOFWRate = false;
    bool IsAllowOPDShowLabSpecimen = false;
    bool isAllowERRate = false;
    bool isAllowICURate = false;
    bool isAllowHMORate = false;
    // Kept as loaded; the weekend test reads the day's window from the
    // settings row (the hospital row's when that day has none) at the moment.
    QString WeekendStartMarkup;
    QString WeekendEndMarkup;

    // From the last holiday query; empty when it found none.
    bool HolidayToday = false;
    QString HolidayName;
    QString HolidayGreeting;

    // Set by the caller before ApplyMarkup.
    double BasePrice = 0.0;
};

// The program's settings.
RateSettings &rateSettings();

// Reads the settings row into the flags. Without a row the flags stay as
// they were.
void LoadRateSettings(Connection &connection, RateSettings &settings);

// A row for today (fixed holidays by month and day) makes it a holiday; the
// name and greeting are those of the first row.
bool IsHolidayToday(Connection &connection, RateSettings &settings);

// Saturday inside Saturday's window, Sunday inside Sunday's, as the settings
// screen saved them (the hospital row's window where a day has none); a
// window ending before it starts wraps past midnight. False without a query
// when the weekend rate is off.
bool IsWeekendMarkup(Connection &connection, const RateSettings &settings);

// From 17:00:01 to midnight; false without a query when the rate is off.
bool IsAfterFivePM(Connection &connection, const RateSettings &settings);

// "1" to "7" for the combination in force, "X" for none. The holiday counts
// only while the holiday rate is on, as the weekend and after-five tests
// answer only while theirs are.
QString GetMarkupCode(Connection &connection, RateSettings &settings);

// The column of the settings row that holds the percentage of `code`;
// empty for "X" and anything unknown.
QString markupColumn(const QString &code);

// BasePrice raised by the percentage of the current code; unchanged for "X"
// or when there is no settings row.
double ApplyMarkup(Connection &connection, RateSettings &settings);

// Whether the item's price may be marked up: never for central supply and
// pharmacy items, otherwise only for exams listed with Fixrate "N".
bool IsMarkupAllowed(Connection &connection, const QString &RevenueID, const QString &ItemID);

// The first-visit rate of an item; `rateG` asks for the assessment's
// alternative rate. 0 when the server has none.
double GetFirstRate(Connection &connection, const QString &a, const QString &b, bool rateG);
// The same, with the department setting that chooses the rate column.
double GetFirstRate(Connection &connection, const QString &a, const QString &b);

// The laboratory section of an exam ("CH" for chemistry), trimmed; empty when
// the exam is unknown.
QString GetLabSectionID(Connection &connection, const QString &LabExamID);

// The banner runs only while surcharges and the assessment mark-up are on.
bool ratesBannerActive(const RateSettings &settings);
// The banner's text for a code; empty for codes without one.
QString ratesBannerText(const QString &code);
// One step of the banner's typing: one more character of `text`, or empty
// once the whole text has been shown, so it is typed again.
QString nextBannerCaption(const QString &current, const QString &text);

} // namespace chemodesk::charging
