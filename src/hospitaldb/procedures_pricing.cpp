#include "procedures.h"

#include <QDateTime>
#include <QTime>

#include <cmath>

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

const char *const RevenueColumns = "SELECT RevenueID, ItemName AS Revenue, WithItems, "
                                   "SearchInventory, LocationID FROM BUILD_FILE..tbCoRevenueCode "
                                   "WHERE OnCoActive = 'Y' AND ";

// Arguments: mode, text. The unit's active departments: mode 1 the code
// itself, modes 0 (the search list) and 2 (is there anything to list?) those
// whose code or name starts with the text, so a list opened because mode 2
// found rows is never empty.
Recordset searchRevenue(db::ProcedureContext &db, const QStringList &args)
{
    const QString mode = arg(args, 0).trimmed();
    const QString text = arg(args, 1).trimmed();
    QString condition;
    if (mode == QLatin1String("1")) {
        condition = QStringLiteral("upper(RevenueID) = ") + quote(text.toUpper());
    } else if (mode == QLatin1String("0") || mode == QLatin1String("2")) {
        const QString prefix = quote(text + QLatin1Char('%'));
        condition = QStringLiteral("(RevenueID LIKE %1 OR ItemName LIKE %1)").arg(prefix);
    } else {
        throw DatabaseError(
            QStringLiteral("spCancer_SearchRevenue: mode '%1' is not 0, 1 or 2.").arg(mode));
    }
    return db.query(QLatin1String(RevenueColumns) + condition +
                    QStringLiteral(" ORDER BY RevenueID"));
}

// The unit's departments for the code list beside the charge grid.
Recordset chargingCodes(db::ProcedureContext &db, const QStringList &)
{
    return db.query(QStringLiteral("SELECT RevenueID, ItemName AS Revenue FROM "
                                   "BUILD_FILE..tbCoRevenueCode WHERE OnCoActive = 'Y' "
                                   "ORDER BY RevenueID"));
}

// Today's holidays by the server's clock: those on today's date, and the
// fixed ones (same month and day every year) whatever year they were filed
// under. The one filed nearest to now comes first.
Recordset holidayToday(db::ProcedureContext &db, const QStringList &)
{
    const QDate today = db.now().date();
    const QString format = QStringLiteral("yyyy-MM-dd 00:00:00");
    return db.query(
        QStringLiteral("SELECT HolidayName, isnull(HolidayGreeting,'') AS HolidayGreeting "
                       "FROM BUILD_FILE..tbcoHolidays "
                       "WHERE (HolidayDate >= %1 AND HolidayDate < %2) "
                       "OR (isFixed = 1 AND month(HolidayDate) = %3 AND day(HolidayDate) = %4) "
                       "ORDER BY HolidayDate DESC")
            .arg(quote(today.toString(format)), quote(today.addDays(1).toString(format)))
            .arg(today.month())
            .arg(today.day()));
}

// Arguments: department, item, mode. The rate a service is first quoted at
// for an out-patient: its regular rate (RateA), or with mode 2 the
// assessment's alternative rate (RateG) where the service has one. No row for
// a service not on file.
Recordset firstRate(db::ProcedureContext &db, const QStringList &args)
{
    const bool rateG = arg(args, 2).trimmed() == QLatin1String("2");
    return db.query(QStringLiteral("SELECT %1 AS NewRate FROM BUILD_FILE..TbCoOtherRevenue "
                                   "WHERE OtherSectionID = %2 AND OtherRevenueID = %3")
                        .arg(rateG ? QStringLiteral("CASE WHEN isnull(RateG,0) > 0 THEN RateG "
                                                    "ELSE isnull(RateA,0) END")
                                   : QStringLiteral("isnull(RateA,0)"),
                             quote(arg(args, 0).trimmed()), quote(arg(args, 1).trimmed())));
}

// A time of day as the settings screen sends it ("13:05:00", "1:05:00 PM"),
// filed on the day the hospital's time-only columns use.
QString timeOfDay(const QString &column, const QString &value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return QStringLiteral("NULL");
    for (const char *format : {"HH:mm:ss", "H:mm:ss", "HH:mm", "H:mm", "h:mm:ss AP", "h:mm AP",
                               "hh:mm:ss AP", "hh:mm AP"}) {
        const QTime time = QTime::fromString(text.toUpper(), QLatin1String(format));
        if (time.isValid())
            return quote(
                QDateTime(QDate(1900, 1, 1), time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    throw DatabaseError(
        QStringLiteral("spHEmo_SaveSettings: %1 '%2' is not a time of day.").arg(column, text));
}

struct SettingArgument {
    const char *column;
    enum Kind { Flag, Rate, Time } kind;
};

// In the order the settings screen sends them.
const SettingArgument SettingArguments[] = {
    {"isAllowNewHemoStatRate", SettingArgument::Flag},
    {"isAllowHolidayRate", SettingArgument::Flag},
    {"isAllowAfterFivePMRate", SettingArgument::Flag},
    {"isAllowWeekendRate", SettingArgument::Flag},
    {"isAllowAfterFiveLabChemOnly", SettingArgument::Flag},
    {"isAllowAfterFiveAllRevenues", SettingArgument::Flag},
    {"HemoStatRate", SettingArgument::Rate},
    {"HolidayRate", SettingArgument::Rate},
    {"AfterFivePmRate", SettingArgument::Rate},
    {"WeekendRate", SettingArgument::Rate},
    {"MaxMarkupRate", SettingArgument::Rate},
    {"StatAndAfterFivePmRate", SettingArgument::Rate},
    {"StatAndWeekendRate", SettingArgument::Rate},
    {"HolidayAndWeekend", SettingArgument::Rate},
    {"HolidayAndAfterFivePmRate", SettingArgument::Rate},
    {"WeekendAfterFive", SettingArgument::Rate},
    {"dtWeekendStartMarkup", SettingArgument::Time},
    {"dtWeekendEndMarkup", SettingArgument::Time},
    {"isAssesmentMarkUp", SettingArgument::Flag},
    {"isPostChargeMarkUp", SettingArgument::Flag},
    {"dtSundayStartMarkup", SettingArgument::Time},
    {"dtSundayEndMarkup", SettingArgument::Time},
    {"IsAllowOPDShowLabSpecimen", SettingArgument::Flag},
};

// The 23 values of the settings screen into the one settings row, which is
// created when the table has none. A value that is not a flag, a number or a
// time refuses the whole save.
Recordset saveSettings(db::ProcedureContext &db, const QStringList &args)
{
    QStringList columns, values, assignments;
    int index = 0;
    for (const SettingArgument &setting : SettingArguments) {
        const QString column = QLatin1String(setting.column);
        const QString value = arg(args, index++).trimmed();
        QString literal;
        if (setting.kind == SettingArgument::Flag) {
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                throw DatabaseError(QStringLiteral("spHEmo_SaveSettings: %1 is '%2', not 0 or 1.")
                                        .arg(column, value));
            literal = value;
        } else if (setting.kind == SettingArgument::Rate) {
            bool ok = false;
            const double rate = value.toDouble(&ok);
            if (!ok || rate < 0 || !std::isfinite(rate))
                throw DatabaseError(QStringLiteral("spHEmo_SaveSettings: %1 '%2' is not a rate.")
                                        .arg(column, value));
            literal = QString::number(rate, 'g', 15);
        } else {
            literal = timeOfDay(column, value);
        }
        columns << column;
        values << literal;
        assignments << column + QStringLiteral(" = ") + literal;
    }
    db.exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET ") +
            assignments.join(QStringLiteral(", ")));
    if (db.query(QStringLiteral("SELECT SettingID FROM HEMODIALYSIS..tbHemo_settings")).atEnd())
        db.exec(QStringLiteral("INSERT INTO HEMODIALYSIS..tbHemo_settings (SettingID, %1) "
                               "VALUES (1, %2)")
                    .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    return {};
}

} // namespace

void registerPricingProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spCancer_SearchRevenue"),
                 searchRevenue);
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spCancer_ChargingCodes"),
                 chargingCodes);
    registry.add(QStringLiteral("BUILD_FILE"), QStringLiteral("Build_GetHolidayToday"),
                 holidayToday);
    registry.add(QStringLiteral("PATIENT_DATA"), QStringLiteral("OPD_GetFirstRate"), firstRate);
    registry.add(QStringLiteral("HEMODIALYSIS"), QStringLiteral("spHEmo_SaveSettings"),
                 saveSettings);
}

} // namespace chemodesk::hospital
