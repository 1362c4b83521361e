#include "module1.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/globals.h"

#include <QChar>
#include <QFileInfo>

#include <cmath>

namespace chemodesk::session {

bool IsNumeric(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    // toDouble also takes "inf" and "nan", which are no admission numbers.
    return ok && std::isfinite(value);
}

void GetServerDate(Connection &connection)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo"));
    if (rs.EOF_())
        return;
    const Field serverDate = rs.Fields(QStringLiteral("ServerDate"));
    if (serverDate.IsNull())
        return;
    const QDateTime value = serverDate.toDateTime();
    if (value.isValid())
        globals().ServerDate = value;
}

bool IsChargeAccount(Connection &connection, const QString &IdNum, const QString &patientClass)
{
    const QString prefix =
        patientClass == QLatin1String("I")
            ? QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum from "
                             "Patient_data..tbpatient where  idnum  = '")
            : QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum from "
                             "Patient_data..tboutpatient where  idnum  = '");
    const Recordset rs = connection.Open(prefix + sql::escape(IdNum) + QLatin1Char('\''));
    if (rs.EOF_())
        return false;
    // Char columns come back padded; a blank account is no account.
    const QString account = rs.Fields(QStringLiteral("AccountNum")).trimmed();
    const QString hospNum = rs.Fields(QStringLiteral("Hospnum")).trimmed();
    return !account.isEmpty() && account != hospNum;
}

bool IsAccountBilled(Connection &connection, const QString &IdNum)
{
    const QString prefix =
        IsNumeric(IdNum)
            ? QStringLiteral(
                  "Select Idnum, BillingDate from PATIENT_DATA..tbpatient where idnum = '")
            : QStringLiteral(
                  "Select Idnum, BillingDate from PATIENT_DATA..tbOutpatient where idnum = '");
    const Recordset rs =
        connection.Open(prefix + sql::escape(IdNum) + QStringLiteral("' and dcrdate is null"));
    if (rs.EOF_())
        return false;
    return !rs.Fields(QStringLiteral("BillingDate")).IsNull();
}

bool IsCoDoctor(Connection &connection, const QString &DoctorID)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = '") +
        sql::escape(DoctorID) + QLatin1Char('\''));
    return !rs.EOF_();
}

QString GetInventoryType(Connection &connection, const QString &LocationID)
{
    const Recordset rs =
        connection.Open(QStringLiteral("Select Isnull(InventoryType,'') As InventoryType From "
                                       "INVENTORY..tbInvLocation Where LocationID ='") +
                        sql::escape(LocationID) + QLatin1Char('\''));
    if (rs.EOF_())
        return {};
    return rs.Fields(QStringLiteral("InventoryType")).toString();
}

bool VerifyChargeSlip(Connection &connection, const QString &chargeSlip)
{
    const Recordset rs = connection.Open(QStringLiteral("laboratory..Verifiy_Chargeslip '") +
                                         sql::escape(chargeSlip) + QLatin1Char('\''));
    return !rs.EOF_();
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString NullToSpace(QVariant &value)
{
    if (!value.isValid() || value.isNull())
        value = QStringLiteral(" ");
    return value.toString();
}

QString NullToSpace(const Field &field)
{
    return field.IsNull() ? QStringLiteral(" ") : field.toString();
}

int UpperKey(int keyCode)
{
    // Qt's codes for keys without a character (Escape, F1, ...) lie above 0xFFFF.
    if (keyCode <= 0 || keyCode > 0xFFFF)
        return keyCode;
    return QChar(static_cast<char16_t>(keyCode)).toUpper().unicode();
}

void SetDepartmentConstants(const QString &department)
{
    if (department != QLatin1String("8"))
        return;
    Globals &g = globals();
    g.DepartmentCode = QStringLiteral("8");
    g.DepartmentName = QStringLiteral("CANCER");
    g.PasswordDeptCode = QStringLiteral("9");
}

void ReadHospitalInfoA(Connection &connection)
{
    const Recordset rs =
        connection.Execute(QStringLiteral("select * from PATIENT_DATA..tbhospitalInfo"));
    if (rs.EOF_())
        return;
    Globals &g = globals();
    g.HospitalName = rs.Fields(QStringLiteral("company")).toString();
    g.ClientName = rs.Fields(QStringLiteral("ClientName")).toString();
    g.HospitalAddress = rs.Fields(QStringLiteral("Address1")).toString();
    g.SeniorGetsIpdPrice = rs.Fields(QStringLiteral("scdgetipdprice")).toBool();
    g.DrugListByGeneric = rs.Fields(QStringLiteral("ByGeneric")).toBool();
}

void ReadHospitalInfoB(Connection &connection)
{
    const Recordset rs = connection.Open(QStringLiteral(
        "Select top 1 Getdate() [ServerDate],isnull(PhoneNum,'')PhoneNum, Company [Company], "
        "Address1 [Address], isnull(ClientName,'') as ClientName, isnull(ExDiscCashSupply,0) as "
        "ExDiscCashSupply, isnull(AllowZeroOnHand,0) as AllowZeroOnHand, "
        "isnull(AllowPriceChange,0) "
        "as AllowPriceChange, isnull(CompanyMarkup,0) as CompanyMarkup, "
        "isnull(isPharmaOptDiscountType, 0) as isPharmaOptDiscountType, "
        "isnull(isValidateCardNumber,0) as isValidateCardNumber, isnull(isMarkUpGroup,0) as "
        "isMarkUpGroup, isnull(isEmpOutPrice,0) as isEmpOutPrice  From "
        "Patient_Data..tbHospitalInfo"));
    if (rs.EOF_())
        return;
    Globals &g = globals();
    g.AllowZeroOnHand = rs.Fields(QStringLiteral("AllowZeroOnHand")).toString();
    g.HospitalPhone = rs.Fields(QStringLiteral("PhoneNum")).toString();
}

void GetHospitalInfo(Connection &connection)
{
    const Recordset rs =
        connection.Open(QStringLiteral("SELECT * FROM HEMODIALYSIS..tbKidneySettings"));
    if (rs.EOF_())
        return;
    Globals &g = globals();
    g.HemoPackageId = rs.Fields(QStringLiteral("HemoPackageId")).toString();
    g.ShowPackagedetail = rs.Fields(QStringLiteral("ShowPackagedetail")).toString();
    g.EnableAssessment = rs.Fields(QStringLiteral("EnableAssessment")).toBool();
    g.AllowEditAmount = rs.Fields(QStringLiteral("AllowEditAmount")).toBool();
    g.IsAllowAssessmentRateG = rs.Fields(QStringLiteral("IsAllowAssessmentRateG")).toBool();
    g.AllowRegisterPatient = rs.Fields(QStringLiteral("AllowRegisterPatient")).toBool();
    g.AllowPrintRequestForm = rs.Fields(QStringLiteral("AllowPrintRequestForm")).toBool();
}

} // namespace chemodesk::session
