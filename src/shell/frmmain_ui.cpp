// The main window's controls: buttons, the selected-patient panel and the
// menus, each named as the department's documents name it.

#include "backgroundarea.h"
#include "frmmain.h"
#include "widgets/screenregistry.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::shell {

namespace {

QLineEdit *panelBox(QWidget *parent, const char *name, const QString &hint, int width)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setPlaceholderText(hint);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    if (width > 0)
        box->setFixedWidth(width);
    return box;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *line = menu->addSeparator();
    line->setObjectName(QLatin1String(name));
    return line;
}

QMenu *namedMenu(QMenu *menu, const char *name)
{
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

// Puts a button back to disabled whenever something enables it while no
// screen is registered under its name, so that rights alone never offer a
// screen that does not exist.
class DisabledWithoutScreen : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            auto *control = static_cast<QWidget *>(watched);
            if (control->isEnabled() && !widgets::screens().has(control->objectName()))
                control->setEnabled(false);
        }
        return false;
    }
};

} // namespace

QPushButton *frmMain::addButton(const char *name, const QString &caption, void (frmMain::*action)())
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setMinimumHeight(40);
    button->setMinimumWidth(112);
    connect(button, &QPushButton::clicked, this, action);
    return button;
}

QAction *frmMain::addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

void frmMain::gateOnScreen(QAction *item, const QPushButton *runs)
{
    const QString screen = runs ? runs->objectName() : QString();
    auto gate = [item, screen] {
        const widgets::ScreenRegistry &registry = widgets::screens();
        if (item->isEnabled() &&
            (!registry.has(item->objectName()) || (!screen.isEmpty() && !registry.has(screen))))
            item->setEnabled(false);
    };
    connect(item, &QAction::changed, item, gate);
    gate();
}

void frmMain::gateOnScreen(QPushButton *button)
{
    button->installEventFilter(new DisabledWithoutScreen(button));
    if (!widgets::screens().has(button->objectName()))
        button->setEnabled(false);
}

void frmMain::buildPanel(QWidget *central)
{
    auto *buttons = new QFrame(central);
    buttons->setObjectName(QStringLiteral("fraButtons"));
    buttons->setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(6, 6, 6, 6);
    cmdPatientList =
        addButton("cmdPatientList", QStringLiteral("&Patient List"), &frmMain::PatientList);
    cmdClosePatient =
        addButton("cmdClosePatient", QStringLiteral("Cl&ose Patient"), &frmMain::ClosePatient);
    cmdPostCharge =
        addButton("cmdPostCharge", QStringLiteral("Post &Charge"), &frmMain::PostCharge);
    cmdCash = addButton("cmdCash", QStringLiteral("Cash &Assess."), &frmMain::CashAssessment);
    cmdResultEntry =
        addButton("cmdResultEntry", QStringLiteral("&Nurse Activity"), &frmMain::NurseActivity);
    cmdCSRRequest = addButton("cmdCSRRequest", QStringLiteral("CSR Request"), &frmMain::CSRRequest);
    cmdPharmacy = addButton("cmdPharmacy", QStringLiteral("Pharmacy"), &frmMain::PharmacyRequest);
    cmdDatasheet = addButton("cmdDatasheet", QStringLiteral("&Datasheet"), &frmMain::Datasheet);
    cmdRegister = addButton("cmdRegister", QStringLiteral("&Register"), &frmMain::Register);
    for (QPushButton *button :
         {cmdPatientList, cmdClosePatient, cmdPostCharge, cmdCash, cmdResultEntry, cmdCSRRequest,
          cmdPharmacy, cmdDatasheet, cmdRegister}) {
        button->setParent(buttons);
        row->addWidget(button);
    }
    row->addStretch();
    // Patient List, Close Patient and Register act on this window itself.
    for (QPushButton *button :
         {cmdPostCharge, cmdCash, cmdResultEntry, cmdCSRRequest, cmdPharmacy, cmdDatasheet})
        gateOnScreen(button);

    fraPat = new QFrame(central);
    fraPat->setObjectName(QStringLiteral("fraPat"));
    fraPat->setFrameShape(QFrame::StyledPanel);
    auto *patient = new QHBoxLayout(fraPat);
    patient->setContentsMargins(8, 4, 8, 4);
    Label2 = new QLabel(QStringLiteral("Selected Patient:"), fraPat);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    txtHospNum = panelBox(fraPat, "txtHospNum", QStringLiteral("Hosptial Num / Patient ID"), 170);
    txtIDNum = panelBox(fraPat, "txtIDNum", QStringLiteral("ID Num / Reg. Num"), 150);
    txtPatName = panelBox(fraPat, "txtPatName", QStringLiteral("Patient Name"), 0);
    txtPatInOut = panelBox(fraPat, "txtPatInOut", QStringLiteral("In/Out Patient"), 110);
    txtPatName->setFont(bold);
    patient->addWidget(Label2);
    patient->addWidget(txtHospNum);
    patient->addWidget(txtIDNum);
    patient->addWidget(txtPatName, 1);
    patient->addWidget(txtPatInOut);
    fraPat->hide();

    // The billing date of the chosen patient: read by the checks, never shown.
    fraHidden = new QFrame(central);
    fraHidden->setObjectName(QStringLiteral("fraHidden"));
    txtBillingDate = panelBox(fraHidden, "txtBillingDate", QString(), 0);
    fraHidden->hide();

    mdiArea_ = new BackgroundArea(central);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));

    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buttons);
    layout->addWidget(fraPat);
    layout->addWidget(fraHidden);
    layout->addWidget(mdiArea_, 1);
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();

    mnuFile = namedMenu(bar->addMenu(QStringLiteral("&File")), "mnuFile");
    mnuPatientList = addItem(mnuFile, "mnuPatientList", QStringLiteral("Patients' List"));
    mnuCashAssessment = addItem(mnuFile, "mnuCashAssessment", QStringLiteral("Assessment"));
    mnuPostCharge = addItem(mnuFile, "mnuPostCharge", QStringLiteral("Post Charge"));
    mnuNurseActivity = addItem(mnuFile, "mnuNurseActivity", QStringLiteral("Nurse Activity"));
    mnuCsr = addItem(mnuFile, "mnuCsr", QStringLiteral("CSR Request"));
    mnuPhRequest = addItem(mnuFile, "mnuPhRequest", QStringLiteral("Pharmacy Request"));
    mnuLedger = addItem(mnuFile, "mnuLedger", QStringLiteral("Patient's Ledger"));
    mnuReceivable = addItem(mnuFile, "mnuReceivable", QStringLiteral("Receivable Entry"));
    mnuUserSetting = addItem(mnuFile, "mnuUserSetting", QStringLiteral("User Settings"));
    mnuExit2 = addItem(mnuFile, "mnuExit2", QStringLiteral("Exit"));
    connect(mnuPatientList, &QAction::triggered, this, &frmMain::PatientList);
    connect(mnuCashAssessment, &QAction::triggered, this, &frmMain::CashAssessment);
    connect(mnuPostCharge, &QAction::triggered, this, &frmMain::PostCharge);
    connect(mnuNurseActivity, &QAction::triggered, this, &frmMain::NurseActivity);
    connect(mnuCsr, &QAction::triggered, this, &frmMain::CSRRequest);
    connect(mnuPhRequest, &QAction::triggered, this, &frmMain::PharmacyRequest);
    connect(mnuLedger, &QAction::triggered, this, &frmMain::PatientLedger);
    connect(mnuReceivable, &QAction::triggered, this, [this] { DepartmentPassword(2); });
    connect(mnuUserSetting, &QAction::triggered, this, [this] { DepartmentPassword(2); });
    connect(mnuExit2, &QAction::triggered, this, &QWidget::close);

    mnuRequest = namedMenu(bar->addMenu(QStringLiteral("Re&quest")), "mnuRequest");
    mnuAssessment = addItem(mnuRequest, "mnuAssessment", QStringLiteral("&Assessment"));
    separator(mnuRequest, "mnuSep3");
    mnuHemoTransac =
        addItem(mnuRequest, "mnuHemoTransac", QStringLiteral("Hemodialysis Transaction"));
    mnuCash = addItem(mnuRequest, "mnuCash", QStringLiteral("Cash Patient"));
    separator(mnuRequest, "mnusep");
    mnuExit = addItem(mnuRequest, "mnuExit", QStringLiteral("E&xit"));
    connect(mnuHemoTransac, &QAction::triggered, this, &frmMain::showPatientList);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    mnuResult = namedMenu(bar->addMenu(QStringLiteral("&Results")), "mnuResult");
    // Result entry belongs to the laboratory's own program; these only show where it is.
    addItem(mnuResult, "mnuResultEntry", QStringLiteral("Result &Entry"))->setEnabled(false);
    addItem(mnuResult, "mnuRandomResult", QStringLiteral("Random - &Result Entry"))
        ->setEnabled(false);
    separator(mnuResult, "mnuSep2");
    addItem(mnuResult, "mnuResultInquiry", QStringLiteral("Result Inquiry"))->setEnabled(false);

    mnuReport = namedMenu(bar->addMenu(QStringLiteral("Re&ports")), "mnuReport");
    QMenu *audit = namedMenu(mnuReport->addMenu(QStringLiteral("Audit Report")), "mnuA");
    addItem(audit, "mnuReportAudit", QStringLiteral("Audit Report All"));
    addItem(audit, "mnuAuditIn", QStringLiteral("Audit Report InPatient"));
    addItem(audit, "mnuAuditOut", QStringLiteral("Audit Report OutPatient"));
    addItem(audit, "mnuAuditCash", QStringLiteral("Audit Report Cash"));
    QMenu *monthly = namedMenu(mnuReport->addMenu(QStringLiteral("Monthly Report")), "mnuMonth");
    addItem(monthly, "mnuReportMonthly", QStringLiteral("Monthly Report All"));
    addItem(monthly, "mnuMonthIn", QStringLiteral("Monthly Report InPatient"));
    addItem(monthly, "mnuMonthOut", QStringLiteral("Monthly Report OutPatient"));
    addItem(monthly, "mnuMonthCash", QStringLiteral("Monthly Report Cash"));
    QMenu *daily =
        namedMenu(mnuReport->addMenu(QStringLiteral("Daily Transaction Report")), "mnuDaily");
    addItem(daily, "mnuReportDailyTrans", QStringLiteral("Daily Transaction Report All"));
    addItem(daily, "mnuMonthTrans", QStringLiteral("Monthly Transaction Report"));
    addItem(daily, "mnuReportAdjustment", QStringLiteral("Daily Adjustment/Cancellation Report"));
    addItem(mnuReport, "mnuCensus", QStringLiteral("Census Report"));
    separator(mnuReport, "mnuseparators");
    mnuMLedger = addItem(mnuReport, "mnuMLedger", QStringLiteral("Patient's Ledger"));
    for (QMenu *menu : {audit, monthly, daily})
        for (QAction *item : menu->actions())
            connect(item, &QAction::triggered, this,
                    [this, name = item->objectName()] { openScreen(name); });
    connect(mnuReport->findChild<QAction *>(QStringLiteral("mnuCensus")), &QAction::triggered, this,
            [this] { openScreen(QStringLiteral("mnuCensus")); });
    connect(mnuMLedger, &QAction::triggered, this,
            [this] { openScreen(QStringLiteral("mnuMLedger")); });

    mnuMaintenance = namedMenu(bar->addMenu(QStringLiteral("Maintenance")), "mnuMaintenance");
    addItem(mnuMaintenance, "mnuBuildPack", QStringLiteral("Build Package"));
    mnuDischargeNotice =
        addItem(mnuMaintenance, "mnuDischargeNotice", QStringLiteral("Discharge Notice"));
    addItem(mnuMaintenance, "mnuReportStatus", QStringLiteral("Assessment Status"));
    mnuViewResults = addItem(mnuMaintenance, "mnuViewResults", QStringLiteral("View Results"));
    addItem(mnuMaintenance, "mnuChange", QStringLiteral("Change Charge Slip"));
    mnuSetup = addItem(mnuMaintenance, "mnuSetup", QStringLiteral("Cancer System Settings"));
    // Not among the hospital's own items: the shared server's trail of who did what.
    addItem(mnuMaintenance, "mnuAuditTrail", QStringLiteral("Audit Trail"));
    mnuLock = addItem(mnuMaintenance, "mnuLock", QStringLiteral("Lock"));
    mnuAbout = addItem(mnuMaintenance, "mnuAbout", QStringLiteral("&About"));
    for (const char *name : {"mnuBuildPack", "mnuReportStatus", "mnuChange", "mnuAuditTrail"}) {
        const QString key = QLatin1String(name);
        connect(mnuMaintenance->findChild<QAction *>(key), &QAction::triggered, this,
                [this, key] { openScreen(key); });
    }
    connect(mnuDischargeNotice, &QAction::triggered, this, &frmMain::DischargeNotice);
    connect(mnuViewResults, &QAction::triggered, this, &frmMain::ViewResults);
    connect(mnuSetup, &QAction::triggered, this, [this] { DepartmentPassword(3); });
    connect(mnuLock, &QAction::triggered, this, &frmMain::Lock);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::About);

    // Screens that later parts of the program bring.
    gateOnScreen(mnuCashAssessment, cmdCash);
    gateOnScreen(mnuPostCharge, cmdPostCharge);
    gateOnScreen(mnuNurseActivity, cmdResultEntry);
    gateOnScreen(mnuCsr, cmdCSRRequest);
    gateOnScreen(mnuPhRequest, cmdPharmacy);
    for (QAction *item : {mnuLedger, mnuAssessment, mnuCash, mnuMLedger, mnuDischargeNotice,
                          mnuViewResults, mnuSetup})
        gateOnScreen(item);
    for (QMenu *menu : {audit, monthly, daily})
        for (QAction *item : menu->actions())
            gateOnScreen(item);
    for (const char *name :
         {"mnuCensus", "mnuBuildPack", "mnuReportStatus", "mnuChange", "mnuAuditTrail"})
        gateOnScreen(findChild<QAction *>(QLatin1String(name)));
    connect(mnuAssessment, &QAction::triggered, this,
            [this] { openScreen(QStringLiteral("mnuAssessment")); });
    connect(mnuCash, &QAction::triggered, this, [this] { openScreen(QStringLiteral("mnuCash")); });
    declareGates();
}

// Who may open what, for every control that opens a screen: the registry asks it whichever way
// the screen is reached (button, menu item, shortcut, link).
void frmMain::declareGates()
{
    using platform::MainAction;
    using widgets::ScreenGate;
    widgets::ScreenRegistry &registry = widgets::screens();
    const auto patientAction = [&](std::initializer_list<const char *> names, MainAction right) {
        for (const char *name : names)
            registry.setGate(QLatin1String(name), ScreenGate::onPatient(right));
    };
    patientAction({"cmdPostCharge", "mnuPostCharge"}, MainAction::PostCharge);
    patientAction({"cmdResultEntry", "mnuNurseActivity", "Label7"}, MainAction::NurseActivity);
    patientAction({"cmdCSRRequest", "mnuCsr"}, MainAction::CSRRequest);
    patientAction({"cmdPharmacy", "mnuPhRequest"}, MainAction::PharmacyRequest);
    // The older assessment works on the selected patient with the assessment's right.
    ScreenGate cash = ScreenGate::onPatient(MainAction::CashAssessment);
    cash.patientFirst = true;
    for (const char *name : {"cmdCash", "mnuCashAssessment", "mnuAssessment"})
        registry.setGate(QLatin1String(name), cash);
    ScreenGate ledger = ScreenGate::onPatient(MainAction::Ledger);
    ledger.noPatient = {QStringLiteral("Please Select a Patient to Edit Registration!"),
                        QStringLiteral("Message"), widgets::MessageService::Information};
    registry.setGate(QStringLiteral("mnuLedger"), ledger);
    registry.setGate(QStringLiteral("mnuMLedger"), ScreenGate::onPatient(MainAction::Reports));
    for (QAction *item : mnuReport->findChildren<QAction *>())
        if (!item->objectName().isEmpty() && item != mnuMLedger && !item->isSeparator() &&
            !item->menu())
            registry.setGate(item->objectName(), ScreenGate::rightOf(MainAction::Reports));
    for (QAction *item : mnuMaintenance->actions())
        if (!item->objectName().isEmpty() && !item->isSeparator())
            registry.setGate(item->objectName(), ScreenGate::rightOf(MainAction::Maintenance));
    registry.setGate(mnuViewResults->objectName(), ScreenGate::onPatient(MainAction::Maintenance));
    // The datasheet's print is of the selected patient.
    registry.setGate(cmdDatasheet->objectName(), ScreenGate::onPatient(std::nullopt));
}

} // namespace chemodesk::shell
