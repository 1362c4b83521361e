#include "pricerules.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/globals.h"

namespace chemodesk::charging {

namespace {

const QString TimeFormat = QStringLiteral("HH:mm:ss");

// A time of day as the weekend test compares it; a Null reads as an empty
// text, an open bound of the window.
QString timeText(const Field &field)
{
    if (field.IsNull())
        return {};
    const QDateTime moment = field.toDateTime();
    return moment.isValid() ? moment.toString(TimeFormat) : QString();
}

} // namespace

RateSettings &rateSettings()
{
    static RateSettings settings;
    return settings;
}

void LoadRateSettings(Connection &connection, RateSettings &s)
{
    const Recordset rs =
        connection.Open(QStringLiteral("Select * from HemoDialysis..tbHemo_settings"));
    if (rs.atEnd())
        return;
    auto flag = [&rs](const char *column) { return rs.Fields(QLatin1String(column)).toBool(); };
    s.isAllowNewHemoStatRate = flag("isAllowNewHemoStatRate");
    s.isAllowHolidayRate = flag("isAllowHolidayRate");
    s.isAllowAfterFivePMRate = flag("isAllowAfterFivePMRate");
    s.isAllowWeekendRate = flag("isAllowWeekendRate");
    s.isAllowAfterFiveLabChemOnly = flag("isAllowAfterFiveLabChemOnly");
    s.isAllowAfterFiveAllRevenues = flag("isAllowAfterFiveAllRevenues");
    s.isAssesmentMarkUp = flag("isAssesmentMarkUp");
    s.isPostChargeMarkUp = flag("isPostChargeMarkUp");
    s.isAllowafter11amMarkup = flag("isAllowafter11amMarkup");
    s.isAllowOFWRate = flag("isAllowOFWRate");
    s.IsAllowOPDShowLabSpecimen = flag("IsAllowOPDShowLabSpecimen");
    s.isAllowERRate = flag("isAllowERRate");
    s.isAllowICURate = flag("isAllowICURate");
    s.isAllowHMORate = flag("isAllowHMORate");
    s.WeekendStartMarkup = QStringLiteral("12:01:00");
    s.WeekendEndMarkup = QStringLiteral("11:59:59");
}

bool IsHolidayToday(Connection &connection, RateSettings &s)
{
    const Recordset rs = connection.Open(QStringLiteral("Build_file..Build_GetHolidayToday"));
    s.HolidayToday = !rs.atEnd();
    // A name left over from yesterday's holiday would greet the wrong day.
    s.HolidayName =
        s.HolidayToday ? rs.Fields(QStringLiteral("HolidayName")).toString() : QString();
    s.HolidayGreeting =
        s.HolidayToday ? rs.Fields(QStringLiteral("HolidayGreeting")).toString() : QString();
    return s.HolidayToday;
}

bool IsWeekendMarkup(Connection &connection, const RateSettings &s)
{
    if (!s.isAllowWeekendRate)
        return false;
    const Recordset rs = connection.Open(
        QStringLiteral("select getdate()as  Time, * from Patient_data..tbhospitalinfo"));
    if (rs.atEnd())
        return false;
    const QDateTime now = rs.Fields(QStringLiteral("Time")).toDateTime();
    const int day = now.date().dayOfWeek();
    if (day != Qt::Saturday && day != Qt::Sunday)
        return false;
    // The settings screen keeps one window for Saturday and one for Sunday;
    // the hospital row's single window stands for a day the screen never set.
    QString start = timeText(rs.Fields(QStringLiteral("dtWeekendStartMarkup")));
    QString end = timeText(rs.Fields(QStringLiteral("dtWeekendEndMarkup")));
    const Recordset settings =
        connection.Open(QStringLiteral("Select * from HEMODIALYSIS..tbHemo_settings"));
    if (!settings.atEnd()) {
        const bool saturday = day == Qt::Saturday;
        const Field dayStart = settings.Fields(saturday ? QStringLiteral("dtWeekendStartMarkup")
                                                        : QStringLiteral("dtSundayStartMarkup"));
        const Field dayEnd = settings.Fields(saturday ? QStringLiteral("dtWeekendEndMarkup")
                                                      : QStringLiteral("dtSundayEndMarkup"));
        if (!dayStart.IsNull() || !dayEnd.IsNull()) {
            start = timeText(dayStart);
            end = timeText(dayEnd);
        }
    }
    // An open bound reaches the edge of the day.
    if (start.isEmpty())
        start = QStringLiteral("00:00:00");
    if (end.isEmpty())
        end = QStringLiteral("23:59:59");
    const QString time = now.toString(TimeFormat);
    // A window that wraps past midnight (start later than end) covers both
    // ends of the day; any other only the hours between.
    if (start <= end)
        return time >= start && time <= end;
    return time >= start || time <= end;
}

bool IsAfterFivePM(Connection &connection, const RateSettings &s)
{
    if (!s.isAllowAfterFivePMRate)
        return false;
    const Recordset rs = connection.Open(
        QStringLiteral("Select getdate() as Time from patient_data..tbhospitalinfo"));
    if (rs.atEnd())
        return false;
    const QDateTime now = rs.Fields(QStringLiteral("Time")).toDateTime();
    return now.isValid() && now.toString(TimeFormat) >= QLatin1String("17:00:01");
}

QString GetMarkupCode(Connection &connection, RateSettings &s)
{
    // Each rule asks the clock again, so a rule is decided on the moment it
    // is reached.
    auto holiday = [&] { return s.isAllowHolidayRate && IsHolidayToday(connection, s); };
    auto weekend = [&] { return IsWeekendMarkup(connection, s); };
    auto afterFive = [&] { return IsAfterFivePM(connection, s); };
    if (holiday() && weekend() && afterFive())
        return QStringLiteral("7");
    if (holiday() && afterFive())
        return QStringLiteral("6");
    if (holiday() && weekend())
        return QStringLiteral("5");
    if (weekend() && afterFive())
        return QStringLiteral("4");
    if (weekend())
        return QStringLiteral("3");
    if (afterFive())
        return QStringLiteral("2");
    if (holiday())
        return QStringLiteral("1");
    return QStringLiteral("X");
}

QString markupColumn(const QString &code)
{
    static const char *const columns[] = {
        "HolidayRate",       "AfterFivePmRate",           "WeekendRate",  "WeekendAfterFive",
        "HolidayAndWeekend", "HolidayAndAfterFivePmRate", "MaxMarkupRate"};
    bool ok = false;
    const int n = code.toInt(&ok);
    return ok && n >= 1 && n <= 7 ? QLatin1String(columns[n - 1]) : QString();
}

double ApplyMarkup(Connection &connection, RateSettings &s)
{
    const double price = s.BasePrice;
    const Recordset rs =
        connection.Open(QStringLiteral("Select * from HEMODIALYSIS..tbHemo_settings"));
    if (rs.atEnd())
        return price;
    const QString column = markupColumn(GetMarkupCode(connection, s));
    if (column.isEmpty())
        return price;
    const double rate = rs.Fields(column).toDouble();
    return price + (rate / 100.0) * price;
}

bool IsMarkupAllowed(Connection &connection, const QString &RevenueID, const QString &ItemID)
{
    const QString revenue = RevenueID.trimmed();
    if (revenue.compare(QLatin1String("CS"), Qt::CaseInsensitive) == 0 ||
        revenue.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0)
        return false;
    const Recordset rs = connection.Open(
        QStringLiteral("Select FixRate from Billing..tbBillExamListing where RevenueID = '") +
        sql::escape(RevenueID) + QStringLiteral("' and ItemID = '") + sql::escape(ItemID) +
        QLatin1Char('\''));
    return !rs.atEnd() && rs.Fields(QStringLiteral("Fixrate")).trimmed() == QLatin1String("N");
}

double GetFirstRate(Connection &connection, const QString &a, const QString &b, bool rateG)
{
    const Recordset rs =
        connection.Open(QStringLiteral("Patient_data..OPD_GetFirstRate '") + sql::escape(a) +
                        QStringLiteral("', '") + sql::escape(b) + QStringLiteral("', '") +
                        (rateG ? QStringLiteral("2") : QStringLiteral("1")) + QLatin1Char('\''));
    return rs.atEnd() ? 0.0 : rs.Fields(QStringLiteral("NewRate")).toDouble();
}

double GetFirstRate(Connection &connection, const QString &a, const QString &b)
{
    return GetFirstRate(connection, a, b, session::globals().IsAllowAssessmentRateG);
}

QString GetLabSectionID(Connection &connection, const QString &LabExamID)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select isnull(LabSectionID,'') LabSectionID from Build_File..tbcoLabExam "
                       "where LabExamID = '") +
        sql::escape(LabExamID) + QLatin1Char('\''));
    return rs.atEnd() ? QString() : rs.Fields(QStringLiteral("LabSectionID")).trimmed();
}

bool ratesBannerActive(const RateSettings &s)
{
    return s.isAllowNewHemoStatRate && s.isAssesmentMarkUp;
}

QString ratesBannerText(const QString &code)
{
    static const char *const texts[] = {
        "Holiday Rate is activated.",
        "After 5PM Rate is activated.",
        "Weekend Rate is activated.",
        "Weekend Rate and After 5PM Rate are activated.",
        "Holiday Rate And Weekend Rate are activated.",
        "Holiday Rate and After 5PM Rate are activated.",
        "Holiday Rate, Weekend Rate, and After 5PM Rate are activated.",
        "After 11am CHEMISTRY Rate are activated.",
    };
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= 8 ? QLatin1String(texts[n - 1]) : QString();
}

QString nextBannerCaption(const QString &current, const QString &text)
{
    if (current == text)
        return {};
    return text.left(current.size() + 1);
}

} // namespace chemodesk::charging
