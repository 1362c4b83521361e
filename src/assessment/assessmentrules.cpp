#include "assessmentrules.h"

#include "charging/linepricing.h"
#include "charging/pricerules.h"
#include "database/sqltext.h"

#include <QLocale>

namespace chemodesk::assessment {

using platform::ListKind;

ExamRecord examRecord(const QString &dept)
{
    const QString d = dept.trimmed().toUpper();
    if (d == QLatin1String("LB"))
        return {ListKind::LABExam, "LabExam"};
    if (d == QLatin1String("PA") || d == QLatin1String("PT"))
        return {ListKind::PTExam, "PTExam"};
    if (d == QLatin1String("XR"))
        return {ListKind::XRayExam, "XrayExam"};
    if (d == QLatin1String("CT"))
        return {ListKind::CTExam, "ctExam"};
    if (d == QLatin1String("US"))
        return {ListKind::UltraSound, "Ultraexam"};
    if (d == QLatin1String("AU"))
        return {ListKind::AudioExam, "AudioExam"};
    if (d == QLatin1String("NU"))
        return {ListKind::NuclearExam, "nuclearExam"};
    if (d == QLatin1String("HS"))
        return {ListKind::HSExam, "hsExam"};
    if (d == QLatin1String("RT"))
        return {ListKind::RTSExam, "RtsExam"};
    // "DA", "MN", "EM", "LM", "LC", "RS", "UR" and the other services.
    return {ListKind::OtherRevenue, "OtherRevenue"};
}

Field examField(const platform::CodeSearch &search, ListKind kind, const QString &column)
{
    switch (kind) {
    case ListKind::LABExam:
        return search.LABExamRecord(column);
    case ListKind::PTExam:
        return search.PTExamRecord(column);
    case ListKind::XRayExam:
        return search.XRayExamRecord(column);
    case ListKind::CTExam:
        return search.CTExamRecord(column);
    case ListKind::UltraSound:
        return search.UltraSoundRecord(column);
    case ListKind::AudioExam:
        return search.AudioExamRecord(column);
    case ListKind::NuclearExam:
        return search.NuclearExamRecord(column);
    case ListKind::HSExam:
        return search.HSExamRecord(column);
    case ListKind::RTSExam:
        return search.RTSExamRecord(column);
    default:
        return search.OtherRevenueRecord(column);
    }
}

const QStringList &examDepartments()
{
    static const QStringList codes = {
        QStringLiteral("MD"), QStringLiteral("LB"), QStringLiteral("XR"), QStringLiteral("CT"),
        QStringLiteral("US"), QStringLiteral("HS"), QStringLiteral("AU"), QStringLiteral("PA"),
        QStringLiteral("NU"), QStringLiteral("PT"), QStringLiteral("DA"), QStringLiteral("DZ"),
        QStringLiteral("MN"), QStringLiteral("UR"), QStringLiteral("HQ")};
    return codes;
}

std::vector<Department> activeDepartments(Connection &connection)
{
    std::vector<Department> departments;
    for (Recordset rs =
             connection.Open(QStringLiteral("SELECT REVENUEID, ItemName as RevenueName FROM "
                                            "Build_File..tbCoRevenueCode where OnCoActive =  'Y'"));
         !rs.atEnd(); rs.MoveNext())
        departments.push_back({rs.Fields(QStringLiteral("RevenueID")).trimmed(),
                               rs.Fields(QStringLiteral("RevenueName")).trimmed()});
    return departments;
}

QString departmentLocation(Connection &connection, const QString &dept)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select isnull(locationid,'') AS LocationID, StockCardRevenueid from "
                       "BUILD_FILE..tbCoRevenueCode where revenueid = '") +
        sql::escape(dept) + QLatin1Char('\''));
    return rs.atEnd() ? QString() : rs.Fields(QStringLiteral("LocationID")).trimmed();
}

bool acceptedDepartment(Connection &connection, const QString &dept)
{
    if (examDepartments().contains(dept) || dept == QLatin1String("PH"))
        return true;
    return !departmentLocation(connection, dept).isEmpty();
}

ItemKind itemKind(Connection &connection, const QString &dept)
{
    if (dept == QLatin1String("PH"))
        return ItemKind::Medicine;
    if (!examDepartments().contains(dept) && !departmentLocation(connection, dept).isEmpty())
        return ItemKind::Supply;
    return ItemKind::Exam;
}

bool markupApplies(ListKind kind, const charging::RateSettings &settings)
{
    return kind == ListKind::OtherRevenue ? settings.isAssesmentMarkUp
                                          : settings.isAllowNewHemoStatRate;
}

double rowPrice(Connection &connection, charging::RateSettings &settings, double baseRate,
                bool stocked, bool markup, bool stat)
{
    if (stocked)
        return baseRate;
    return charging::surchargedPrice(connection, settings, baseRate, markup, stat);
}

bool statDay(const QString &clientName, const QString &dayName)
{
    const QString client = clientName.trimmed();
    if (client == QLatin1String("QXR"))
        return dayName == QLatin1String("Sunday");
    return dayName == QLatin1String("Saturday") ||
           (dayName == QLatin1String("Sunday") && client != QLatin1String("ZVT"));
}

StatCalendar readStatCalendar(Connection &connection)
{
    StatCalendar calendar;
    const Recordset now = connection.Open(QStringLiteral("Select getdate() as Date"));
    if (!now.atEnd())
        calendar.today = now.Fields(QStringLiteral("Date")).toDateTime().date();
    for (Recordset rs = connection.Open(
             QStringLiteral("Select * from Build_File..tbcoHolidays where isFixed = 'true'"));
         !rs.atEnd(); rs.MoveNext())
        calendar.fixedHolidays.push_back(
            rs.Fields(QStringLiteral("HolidayDate")).toDateTime().date());
    const Recordset time = connection.Open(
        QStringLiteral("select getdate() as Time from patient_data..tbhospitalinfo"));
    if (!time.atEnd())
        calendar.clockDay = time.Fields(QStringLiteral("Time")).toDateTime().date();
    return calendar;
}

bool onFixedHoliday(const QDate &today, const std::vector<QDate> &fixedHolidays)
{
    if (!today.isValid())
        return false;
    for (const QDate &holiday : fixedHolidays)
        if (holiday.month() == today.month() && holiday.day() == today.day())
            return true;
    return false;
}

bool statAtOpening(const StatCalendar &calendar, const QString &clientName)
{
    if (onFixedHoliday(calendar.today, calendar.fixedHolidays))
        return true;
    const QString day =
        QLocale(QLocale::English).toString(calendar.clockDay, QStringLiteral("dddd"));
    return statDay(clientName, day);
}

bool statOnOpening(Connection &connection, const charging::RateSettings &settings,
                   const QString &clientName)
{
    if (!settings.isAllowNewHemoStatRate)
        return false;
    return statAtOpening(readStatCalendar(connection), clientName);
}

SurchargeLabels readSurchargeLabels(Connection &connection)
{
    const Recordset rs =
        connection.Open(QStringLiteral("Select * from HEMODIALYSIS..tbHemo_settings"));
    auto label = [&](const char *caption, const char *column) -> QString {
        const QString percent = rs.atEnd()
                                    ? QStringLiteral("0")
                                    : QString::number(rs.Fields(QLatin1String(column)).toDouble());
        return QLatin1String(caption) + percent + QLatin1Char('%');
    };
    return {label("Stat: ", "HemoStatRate"), label("After 5PM: ", "AfterFivePmRate"),
            label("Weekend: ", "WeekendRate"), label("Holiday: ", "HolidayRate")};
}

QString ratesBanner(Connection &connection, charging::RateSettings &settings)
{
    if (!charging::ratesBannerActive(settings))
        return {};
    return charging::ratesBannerText(charging::GetMarkupCode(connection, settings));
}

QString scrollBanner(const QString &text)
{
    return text.isEmpty() ? text : text.mid(1) + text.at(0);
}

} // namespace chemodesk::assessment
