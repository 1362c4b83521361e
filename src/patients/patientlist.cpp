#include "patientlist.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "platform/patientlistrows.h"

namespace chemodesk::patients {

QString patientListMode(int option, bool previous)
{
    switch (option) {
    case InPatientOption:
        return previous ? QStringLiteral("T") : QStringLiteral("I");
    case CashOption:
        return QStringLiteral("C");
    default:
        return previous ? QStringLiteral("D") : QStringLiteral("O");
    }
}

QString patientClassOf(int option)
{
    switch (option) {
    case InPatientOption:
        return QStringLiteral("I");
    case CashOption:
        return QStringLiteral("C");
    default:
        return QStringLiteral("O");
    }
}

QString patientListText(const QString &mode, const QString &lastName, const QString &hospNum,
                        const QString &idNum)
{
    return QStringLiteral("Clinical_Area..spCancer_GetPatient '") + sql::escape(mode) +
           QStringLiteral("','") + sql::escape(lastName) + QStringLiteral("','") +
           sql::escape(hospNum) + QStringLiteral("','") + sql::escape(idNum) + QStringLiteral("'");
}

QString moreMatchText()
{
    return QStringLiteral("More patients match than the first %1 shown: please narrow the search "
                          "(last name, hospital # or admission #).")
        .arg(platform::PatientListRows);
}

bool CheckCash(Connection &connection, const QString &IdNum)
{
    Recordset rs =
        connection.Open(QStringLiteral("Select * from Patient_data..tboutPatient where idnum = '") +
                        sql::escape(IdNum) + QStringLiteral("'"));
    if (rs.atEnd())
        return false;
    return rs.Fields(QStringLiteral("PatientType")).toString() == QLatin1String("W") &&
           rs.Fields(QStringLiteral("AccountNum")).toString() ==
               rs.Fields(QStringLiteral("HospNum")).toString();
}

bool HasReceivableRight(Connection &connection, const QString &employeeCode)
{
    Recordset rs = connection.Open(
        QStringLiteral("Select * from Clinical_Area..tbCancerUserSetting where EmpID = '") +
        sql::escape(employeeCode) + QStringLiteral("'"));
    if (rs.atEnd())
        return false;
    return rs.Fields(QStringLiteral("isReceivableEntry")).toBool();
}

} // namespace chemodesk::patients
