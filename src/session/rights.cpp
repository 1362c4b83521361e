#include "rights.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "platform/mainpanel.h"

#include <utility>

namespace chemodesk::session {

namespace {

bool granted(const Recordset &rs, const char *column)
{
    const Field field = rs.Fields(QLatin1String(column));
    return !field.IsNull() && field.toBool();
}

} // namespace

UserRights ReadUserRights(Connection &connection, const QString &employeeCode)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select * from CLINICAL_AREA..tbCancerUserSetting where EmpID = '") +
        sql::escape(employeeCode) + QLatin1Char('\''));
    UserRights rights;
    if (rs.atEnd())
        return rights;
    rights.hasRow = true;
    rights.CashAssessment = granted(rs, "isCashAssessment");
    rights.NurseActivity = granted(rs, "isNurseActivity");
    rights.PostCharge = granted(rs, "isPostCharge");
    rights.CSRRequest = granted(rs, "isCSRReqeust");
    rights.PHRequest = granted(rs, "isPHRequest");
    rights.Maintenance = granted(rs, "isMaintenance");
    rights.Reports = granted(rs, "isReports");
    rights.ReceivableEntry = granted(rs, "isReceivableEntry");
    rights.PatientLedger = granted(rs, "isPatientLedger");
    rights.CancelCharges = granted(rs, "isCancelCharges");
    return rights;
}

void ApplyUserRights(const UserRights &rights, platform::MainPanel *panel)
{
    using platform::MainAction;
    if (!panel)
        return;
    if (!rights.hasRow) {
        for (MainAction action :
             {MainAction::CashAssessment, MainAction::NurseActivity, MainAction::PostCharge,
              MainAction::CSRRequest, MainAction::PharmacyRequest})
            panel->setButtonEnabled(action, false);
        for (MainAction menu : {MainAction::Maintenance, MainAction::Reports, MainAction::Ledger})
            panel->setMenuEnabled(menu, false);
        return;
    }
    const std::pair<MainAction, bool> gates[] = {
        {MainAction::CashAssessment, rights.CashAssessment},
        {MainAction::NurseActivity, rights.NurseActivity},
        {MainAction::PostCharge, rights.PostCharge},
        {MainAction::CSRRequest, rights.CSRRequest},
        {MainAction::PharmacyRequest, rights.PHRequest},
        {MainAction::Maintenance, rights.Maintenance},
        {MainAction::Reports, rights.Reports},
        {MainAction::Ledger, rights.PatientLedger},
    };
    for (const auto &[action, enabled] : gates) {
        panel->setButtonEnabled(action, enabled);
        panel->setMenuEnabled(action, enabled);
    }
}

UserRights LoadUserRights(Connection &connection, const QString &employeeCode,
                          platform::MainPanel *panel)
{
    const UserRights rights = ReadUserRights(connection, employeeCode);
    ApplyUserRights(rights, panel);
    return rights;
}

} // namespace chemodesk::session
