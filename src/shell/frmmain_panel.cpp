// The main window as the screens' panel: the selected patient and the gated
// actions, by meaning, so that no screen needs to know the window's controls.

#include "frmmain.h"

#include "widgets/screenregistry.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace chemodesk::shell {

using platform::MainAction;

void frmMain::openScreen(const QString &action)
{
    launch(action, {});
}

platform::PanelPatient frmMain::patient() const
{
    return {txtHospNum->text(), txtIDNum->text(), txtPatName->text(), txtPatInOut->text(),
            txtBillingDate->text()};
}

void frmMain::showPatient(const platform::PanelPatient &patient)
{
    txtHospNum->setText(patient.hospNum);
    txtIDNum->setText(patient.idNum);
    txtPatName->setText(patient.name);
    txtBillingDate->setText(patient.billingDate);
    txtPatInOut->setText(patient.inOut);
    fraPat->show();
}

QPushButton *frmMain::buttonOf(MainAction action) const
{
    switch (action) {
    case MainAction::PatientList:
        return cmdPatientList;
    case MainAction::Register:
        return cmdRegister;
    case MainAction::CashAssessment:
        return cmdCash;
    case MainAction::NurseActivity:
        return cmdResultEntry;
    case MainAction::PostCharge:
        return cmdPostCharge;
    case MainAction::CSRRequest:
        return cmdCSRRequest;
    case MainAction::PharmacyRequest:
        return cmdPharmacy;
    case MainAction::Maintenance:
    case MainAction::Reports:
    case MainAction::Ledger:
    case MainAction::PatientLedger:
        break;
    }
    return nullptr;
}

QAction *frmMain::menuOf(MainAction action) const
{
    switch (action) {
    case MainAction::CashAssessment:
        return mnuCashAssessment;
    case MainAction::NurseActivity:
        return mnuNurseActivity;
    case MainAction::PostCharge:
        return mnuPostCharge;
    case MainAction::CSRRequest:
        return mnuCsr;
    case MainAction::PharmacyRequest:
        return mnuPhRequest;
    case MainAction::Maintenance:
        return mnuMaintenance->menuAction();
    case MainAction::Reports:
        return mnuReport->menuAction();
    case MainAction::Ledger:
        return mnuLedger;
    case MainAction::PatientLedger:
        return mnuMLedger;
    case MainAction::PatientList:
    case MainAction::Register:
        break;
    }
    return nullptr;
}

void frmMain::setButtonEnabled(MainAction action, bool enabled)
{
    if (QPushButton *button = buttonOf(action))
        button->setEnabled(enabled);
}

void frmMain::setMenuEnabled(MainAction action, bool enabled)
{
    if (QAction *item = menuOf(action))
        item->setEnabled(enabled);
}

bool frmMain::isButtonEnabled(MainAction action) const
{
    const QPushButton *button = buttonOf(action);
    return button && button->isEnabled();
}

bool frmMain::isMenuEnabled(MainAction action) const
{
    const QAction *item = menuOf(action);
    return item && item->isEnabled();
}

void frmMain::enterReceivableMode()
{
    for (MainAction action :
         {MainAction::PatientList, MainAction::Register, MainAction::PharmacyRequest,
          MainAction::CSRRequest, MainAction::NurseActivity})
        setButtonEnabled(action, false);
    cmdPostCharge->setText(QStringLiteral("Receivable Entry"));
}

} // namespace chemodesk::shell
