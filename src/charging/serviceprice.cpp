#include "serviceprice.h"

#include "pricerules.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/module1.h"

namespace chemodesk::charging {

namespace {

QString quoted(const QString &value)
{
    return sql::escape(value) + QLatin1Char('\'');
}

// One rate column of the unit's own service `item`, when it is on file.
std::optional<double> unitServiceRate(Connection &connection, const QString &item,
                                      const char *column)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue") +
        QStringLiteral(" where OtherSectionID = 'ON' And OtherRevenueID = '") + quoted(item));
    if (rs.atEnd())
        return std::nullopt;
    return rs.Fields(QLatin1String(column)).toDouble();
}

ServicePrice special(double value)
{
    return {value, formatRate(value)};
}

} // namespace

bool Check_IfICURate(Connection &connection, const QString &IdNum)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select B.StationID From PATIENT_DATA..tbPatient A") +
        QStringLiteral(" INNER JOIN BUILD_FILE..TbCoRoom B ON A.RoomID = B.RoomID") +
        QStringLiteral(" Where A.IdNum =  '") + quoted(IdNum));
    if (rs.atEnd())
        return false;
    const QString station = rs.Fields(QStringLiteral("StationID")).trimmed().toUpper();
    return station == QLatin1String("ICU") || station == QLatin1String("NUR") ||
           station == QLatin1String("PICU");
}

std::optional<double> GetICURate(Connection &connection, const QString &item)
{
    return unitServiceRate(connection, item, "IcuRate");
}

bool Check_IfERRate(Connection &connection, const QString &IdNum)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = '") +
        quoted(IdNum));
    // With the ER rule on, every registered out-patient is charged the
    // emergency-room rate, whether or not the registration carries an ER number.
    return !rs.atEnd();
}

std::optional<double> GetERRate(Connection &connection, const QString &item)
{
    return unitServiceRate(connection, item, "RateI");
}

bool Check_IfHMO(Connection &connection, const QString &IdNum)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '") +
        quoted(IdNum));
    if (rs.atEnd())
        return false;
    // Companies have numeric account numbers, HMOs lettered ones; an empty
    // one is the patient's own account.
    const QString account = rs.Fields(QStringLiteral("AccountNum")).trimmed();
    return !account.isEmpty() && !session::IsNumeric(account);
}

std::optional<double> GetHMORate(Connection &connection, const QString &section,
                                 const QString &item)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue Where OtherSectionID = '") +
        sql::escape(section) + QStringLiteral("' And OtherRevenueID = '") + quoted(item));
    if (rs.atEnd())
        return std::nullopt;
    return rs.Fields(QStringLiteral("RateH")).toDouble();
}

QString GetRoomClass(Connection &connection, const QString &IdNum)
{
    const Recordset rs = connection.Open(
        QStringLiteral(
            "select Isnull(B.RoomClassID,'A')RoomClassID from Patient_data..tbPatient A ") +
        QStringLiteral("Left Outer Join BUILD_FILE..TbCoRoom B on A.RoomID = B.RoomID ") +
        QStringLiteral("where A.Idnum = '") + quoted(IdNum));
    const QString roomClass =
        rs.atEnd() ? QString() : rs.Fields(QStringLiteral("RoomClassID")).trimmed().toUpper();
    return roomClass.isEmpty() ? QStringLiteral("A") : roomClass;
}

ServicePrice ServiceBasePrice(Connection &connection, RateSettings &settings,
                              const QString &patientClass, const QString &IdNum,
                              const QString &section, const QString &item,
                              const ServiceRates &rates)
{
    LoadRateSettings(connection, settings);
    if (patientClass.trimmed().compare(QLatin1String("I"), Qt::CaseInsensitive) == 0) {
        if (settings.isAllowICURate && Check_IfICURate(connection, IdNum)) {
            if (const auto rate = GetICURate(connection, item))
                return special(*rate);
        }
        const double rate = classRate(rates, GetRoomClass(connection, IdNum));
        return {rate, formatStored(rate)};
    }
    // The ER rule, when on, decides alone: the HMO rule is not reached. An
    // out-patient without a registration is charged the regular rate.
    if (settings.isAllowERRate) {
        if (Check_IfERRate(connection, IdNum)) {
            if (const auto rate = GetERRate(connection, item))
                return special(*rate);
        }
    } else if (settings.isAllowHMORate && Check_IfHMO(connection, IdNum)) {
        if (const auto rate = GetHMORate(connection, section, item))
            return special(*rate);
    }
    return {rates.RateA, formatStored(rates.RateA)};
}

QString StatPrice(Connection &connection, double price)
{
    const Recordset rs =
        connection.Open(QStringLiteral("Select * from Clinical_Area..tbCancer_settings"));
    const double rate = rs.atEnd() ? 0.0 : rs.Fields(QStringLiteral("HemoStatRate")).toDouble();
    return formatStat(price + price * rate / 100.0);
}

bool GetIPDPrice(Connection &connection, const QString &IdNum)
{
    const Recordset rs =
        connection.Open(QStringLiteral("SELECT isnull(HEMODIALYSIS.dbo.fn_HemoIPDPrice('") +
                        sql::escape(IdNum) + QStringLiteral("'),'N') as IPDPrice"));
    return !rs.atEnd() && rs.Fields(QStringLiteral("IPDPrice")).trimmed() == QLatin1String("Y");
}

QString formatRate(double value)
{
    QString text = QString::number(value, 'f', 2);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

QString formatStat(double value)
{
    return QString::number(value, 'f', 2);
}

QString formatStored(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace chemodesk::charging
