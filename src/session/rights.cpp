#include "rights.h"

#include "database/sqltext.h"
#include "platform/connection.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

namespace chemodesk::session {

namespace {

bool granted(const Recordset &rs, const char *column)
{
    const Field field = rs.Fields(QLatin1String(column));
    return !field.IsNull() && field.toBool();
}

void enableButton(QWidget *window, const char *name, bool enabled)
{
    if (auto *button = window->findChild<QAbstractButton *>(QLatin1String(name)))
        button->setEnabled(enabled);
}

void enableAction(QWidget *window, const char *name, bool enabled)
{
    if (auto *action = window->findChild<QAction *>(QLatin1String(name)))
        action->setEnabled(enabled);
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

void ApplyUserRights(const UserRights &rights, QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    if (!rights.hasRow) {
        for (const char *button :
             {"cmdCash", "cmdResultEntry", "cmdPostCharge", "cmdCSRRequest", "cmdPharmacy"})
            enableButton(mainWindow, button, false);
        for (const char *menu : {"mnuMaintenance", "mnuReport", "mnuLedger"})
            enableAction(mainWindow, menu, false);
        return;
    }
    const struct {
        bool enabled;
        const char *button;
        const char *action;
    } gates[] = {
        {rights.CashAssessment, "cmdCash", "mnuCashAssessment"},
        {rights.NurseActivity, "cmdResultEntry", "mnuNurseActivity"},
        {rights.PostCharge, "cmdPostCharge", "mnuPostCharge"},
        {rights.CSRRequest, "cmdCSRRequest", "mnuCsr"},
        {rights.PHRequest, "cmdPharmacy", "mnuPhRequest"},
        {rights.Maintenance, nullptr, "mnuMaintenance"},
        {rights.Reports, nullptr, "mnuReport"},
        {rights.PatientLedger, nullptr, "mnuLedger"},
    };
    for (const auto &gate : gates) {
        if (gate.button)
            enableButton(mainWindow, gate.button, gate.enabled);
        enableAction(mainWindow, gate.action, gate.enabled);
    }
}

UserRights LoadUserRights(Connection &connection, const QString &employeeCode, QWidget *mainWindow)
{
    const UserRights rights = ReadUserRights(connection, employeeCode);
    ApplyUserRights(rights, mainWindow);
    return rights;
}

} // namespace chemodesk::session
