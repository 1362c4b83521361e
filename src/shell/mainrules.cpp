#include "mainrules.h"

#include "database/sqltext.h"
#include "platform/connection.h"

namespace chemodesk::shell {

QString closedAccountMessage(bool chargeAction)
{
    return QStringLiteral("The patient's account has already been closed . ") +
           QStringLiteral("If you have charges to make, notify the Billing staff") +
           (chargeAction ? QStringLiteral(" immediateley for further instructions.")
                         : QStringLiteral(" immediately for further instructions."));
}

QString personalAccountMessage()
{
    return QStringLiteral(
        "This patient is under personal account. Please update account if necessary.");
}

QString cashBasisMessage()
{
    return QStringLiteral("The patient's account has been placed under cash basis ") +
           QStringLiteral("by the Billing Officer. ") +
           QStringLiteral("Please refer to Billing Department for further instructions.");
}

QString dischargeNoticeMessage()
{
    return QStringLiteral("You have discharge notice.");
}

QString RoomClassOf(Connection &connection, const QString &IdNum)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select B.RoomClassID from Patient_data..tbPatient A left outer join") +
        QStringLiteral(" build_file..tbcoroom B on A.Roomid = B.roomid ") +
        QStringLiteral("left outer join ") +
        QStringLiteral(" Build_File..tbCoRoomClass C on B.roomclassid = c.roomclassid ") +
        QStringLiteral(" where A.Idnum = '") + sql::escape(IdNum) + QLatin1Char('\''));
    if (rs.atEnd())
        return QStringLiteral("A");
    const QString roomClass = rs.Fields(QStringLiteral("RoomClassID")).trimmed();
    return roomClass.isEmpty() ? QStringLiteral("A") : roomClass;
}

bool RequestChargeable(Connection &connection, RequestKind kind, const QString &IdNum)
{
    const bool supply = kind == RequestKind::CentralSupply;
    const Recordset rs = connection.Open(
        (supply ? QStringLiteral("select Okeycs from patient_data..tbpatient2 where idnum = '")
                : QStringLiteral("select Okeyph from patient_data..tbpatient2 where idnum = '")) +
        sql::escape(IdNum) + QLatin1Char('\''));
    if (rs.atEnd())
        return false;
    // Read as a flag: the engines hand a bit back as 1/0 or true/false.
    const Field flag = rs.Fields(supply ? QStringLiteral("OkeyCS") : QStringLiteral("OkeyPH"));
    return !flag.IsNull() && flag.toBool();
}

long DischargeNoticeCount(Connection &connection)
{
    const Recordset rs =
        connection.Execute(QStringLiteral("Clinical_Area..spCancer_LoadDischargeNoticeCount "));
    if (rs.atEnd())
        return 0;
    return static_cast<long>(rs.Fields(QStringLiteral("recCount")).toLongLong());
}

} // namespace chemodesk::shell
