#include "clsoutpatientsearch.h"

#include "frmregisteredopd.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/messages.h"

namespace chemodesk::patients {

namespace {

const QString DateFormat = QStringLiteral("MM/dd/yyyy");
const QString TimeFormat = QStringLiteral("hh:mmAP");

QString dateOf(const Field &field, const QString &format)
{
    return field.IsNull() ? QString() : field.toDateTime().toString(format);
}

} // namespace

clsOutpatientSearch::clsOutpatientSearch(Connection &connection, QWidget *dialogParent)
    : connection_(connection), dialogParent_(dialogParent)
{
}

QString clsOutpatientSearch::lookupText(const QString &text)
{
    return QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', '") + sql::escape(text) +
           QStringLiteral("'");
}

bool clsOutpatientSearch::ValidatePatient(const QString &text)
{
    Recordset rs = connection_.Open(lookupText(text));
    if (rs.RecordCount() != 1) {
        frmRegisteredOPD picker(connection_, text, dialogParent_);
        widgets::execModal(picker);
        if (!picker.Valid)
            return false;
        const QString chosen = picker.ResultCode;
        rs = connection_.Open(lookupText(chosen));
        // The number is looked up by its first characters: take the row that
        // is exactly the one chosen, and nothing when it has gone meanwhile.
        for (; !rs.atEnd(); rs.MoveNext())
            if (rs.Fields(QStringLiteral("IdNum")).toString() == chosen)
                break;
        if (rs.atEnd())
            return false;
    }
    fill(rs);
    return true;
}

void clsOutpatientSearch::fill(const Recordset &rs)
{
    auto text = [&](const char *column) { return rs.Fields(QLatin1String(column)).toString(); };
    IDNumber_ = text("IdNum");
    HospitalNumber_ = text("HospNum");
    LastName_ = text("LastName");
    FirstName_ = text("FirstName");
    MiddleName_ = text("MiddleName");
    AccountNum_ = text("AccountNum");
    Company_ = text("Company");
    const Field admitted = rs.Fields(QStringLiteral("AdmDate"));
    AdmDate_ = dateOf(admitted, DateFormat);
    AdmTime_ = dateOf(admitted, TimeFormat);
    const Field discharged = rs.Fields(QStringLiteral("DcrDate"));
    DcrDate_ = dateOf(discharged, DateFormat);
    DcrTime_ = dateOf(discharged, TimeFormat);
    BillingDate_ = dateOf(rs.Fields(QStringLiteral("BillingDate")), DateFormat);
    Sex_ = text("Sex");
    BirthDate_ = text("BirthDate");
    Age_ = text("Age");
    HouseStreet_ = text("HouseStreet");
    Barangay_ = text("Barangay");
    Town_ = text("Town");
    Province_ = text("Province");
    CivilStatus_ = text("CivilStatus");
    if (CivilStatus_.trimmed().isEmpty())
        CivilStatus_ = QStringLiteral("1");
}

} // namespace chemodesk::patients
