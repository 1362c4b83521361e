#include "frmmain.h"

#include "assistant/agentcharacter.h"
#include "backgroundarea.h"
#include "components/shared.h"
#include "demonotice.h"
#include "mainrules.h"
#include "patients/frmsearchpatient.h"
#include "platform/connection.h"
#include "session/globals.h"
#include "session/module1.h"
#include "singleinstance.h"
#include "usercomponent/currentuser.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace chemodesk::shell {

using session::globals;

namespace {

// Notices are counted again this often, so a discharge ordered during the
// day is announced without anyone opening the notice list.
constexpr int NoticePollMs = 10 * 60 * 1000;
// While notices wait, the assistant stirs now and then to be noticed.
constexpr int MerlinStirMs = 45 * 1000;

// Dates as the department's workstations show them.
const QLocale Workstation(QLocale::English, QLocale::UnitedStates);

} // namespace

frmMain::frmMain(MainWindowOptions options, QWidget *parent)
    : QMainWindow(parent), options_(std::move(options))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("TOLVEX - CHEMOTHERAPY DEPARTMENT"));
    resize(1180, 760);

    auto *central = new QWidget(this);
    buildPanel(central);
    setCentralWidget(central);
    buildMenus();

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(false);
    const int widths[] = {260, 220, 220, 90};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        panels_[i]->setMinimumWidth(widths[i]);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(panels_[i], i == 0 ? 1 : 0);
    }

    tmrServerDateTime = new QTimer(this);
    tmrServerDateTime->setObjectName(QStringLiteral("tmrServerDateTime"));
    tmrServerDateTime->setInterval(1000);
    connect(tmrServerDateTime, &QTimer::timeout, this, &frmMain::serverClockTick);
    tmrNotice = new QTimer(this);
    tmrNotice->setObjectName(QStringLiteral("tmrNotice"));
    tmrNotice->setInterval(NoticePollMs);
    connect(tmrNotice, &QTimer::timeout, this, &frmMain::CheckDischargeNotices);
    tmrMerlin = new QTimer(this);
    tmrMerlin->setObjectName(QStringLiteral("tmrMerlin"));
    tmrMerlin->setInterval(MerlinStirMs);
    connect(tmrMerlin, &QTimer::timeout, this, &frmMain::merlinTick);

    Agent1 = new assistant::AgentCharacter(this);
}

frmMain::~frmMain()
{
    // The list reports its unloading while it is destroyed; this window is
    // past listening by then.
    if (patientList_)
        patientList_->disconnect(this);
    // The patient list and the components borrow the user's connection: they go first.
    delete patientList_;
    components_.reset();
    if (globals().DbConnection && user_ && globals().DbConnection == user_->SQLConnection())
        globals().DbConnection = nullptr;
}

QString frmMain::programFolder() const
{
    return options_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                            : options_.programFolder;
}

Connection *frmMain::connection() const
{
    return user_ ? user_->SQLConnection() : nullptr;
}

QString frmMain::statusPanel(int panel) const
{
    return panel >= 1 && panel <= 4 ? panels_[panel - 1]->text() : QString();
}

// ------------------------------------------------------------------- start-up

bool frmMain::startUp()
{
    auto &g = globals();
    instance_ = std::make_unique<SingleInstance>(options_.instanceLockPath);
    if (!instance_->acquire()) {
        instance_.reset();
        widgets::msgInformation(QStringLiteral("Program Already Open"), QStringLiteral("Message"));
        close();
        return false;
    }

    session::SetDepartmentConstants(QStringLiteral("8"));
    if (!signIn()) {
        close();
        return false;
    }

    Connection &c = *connection();
    try {
        g.DbConnection = &c;
        c.setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
        g.StationCode = QStringLiteral("ON");
        g.StationName = QStringLiteral("Visual Tolvex - Cancer Service");
        refreshStatusBar();
        session::ReadHospitalInfoA(c);
        g.RefNumCode = QStringLiteral("C");
        c.setCommandTimeout(120);
        session::ReadHospitalInfoB(c);
        // The screens test the department settings; left unread they would
        // stay empty all day.
        GetHospitalInfo();
        widgets::screens().runStartup(c, *this);
        session::GetServerDate(c);
        refreshStatusBar();
        applyRights(session::ReadUserRights(c, user_->EmployeeCode()));
        tmrServerDateTime->start();
        mnuMLedger->setEnabled(false);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        close();
        return false;
    }

    loadBackground();
    if (!loadAssistant()) {
        close();
        return false;
    }
    // Where no window manager maximises, the screen's size does.
    if (QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    showPatientList();
    setWindowTitle(QStringLiteral("TOLVEX - CHEMOTHERAPY DEPARTMENT. Version: ") +
                   QStringLiteral(CHEMODESK_VERSION));
    shell::showDemoNotice(*this, shell::runsOnDemoDatabase(&c));

    CheckDischargeNotices();
    return true;
}

bool frmMain::signIn()
{
    user_ = options_.userFactory ? options_.userFactory()
                                 : std::make_unique<CurrentUser>(options_.userSettingsPath);
    if (!user_)
        return false;
    user_->setPasswordDeptCode(globals().PasswordDeptCode);
    user_->sethwndParentForm(this);
    user_->ShowMain();
    return user_->Connected() && user_->SQLConnection();
}

void frmMain::GetHospitalInfo()
{
    if (Connection *c = connection())
        session::GetHospitalInfo(*c);
}

void frmMain::loadBackground()
{
    const QString folder = programFolder();
    const QStringList candidates{folder + QStringLiteral("/background.jpg"),
                                 folder + QStringLiteral("/../background.jpg")};
    for (const QString &path : candidates) {
        if (session::FileExists(path) && mdiArea_->setPicture(path))
            return;
    }
}

// The program does not start without its assistant: a file that is missing
// or unreadable is refused alike.
bool frmMain::loadAssistant()
{
    const QString path = QDir::cleanPath(programFolder() + QStringLiteral("/merlin.acs"));
    if (session::FileExists(path) && Agent1->Load(QStringLiteral("merlin"), path))
        return true;
    widgets::messages().message(QStringLiteral("Verify ") + path, widgets::defaultTitle(),
                                widgets::MessageService::NoIcon);
    return false;
}

void frmMain::applyRights(const session::UserRights &rights)
{
    rights_ = rights;
    session::ApplyUserRights(rights_, this);
}

// ------------------------------------------------------------- patient list

void frmMain::showPatientList()
{
    if (patientList_) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(patientList_->parentWidget()))
            mdiArea_->setActiveSubWindow(sub);
        return;
    }
    Connection *c = connection();
    if (!c)
        return;
    auto *list = new patients::frmSearchPatient(*c, this);
    list->setEmployeeCode(user_->EmployeeCode());
    list->setDatasheetAvailable(widgets::screens().has(QStringLiteral("Label7")));
    connect(list, &patients::frmSearchPatient::datasheetRequested, this,
            [this](int tab, const QString &resultCategory) {
                datasheetTab_ = tab;
                resultCategory_ = resultCategory;
                openScreen(QStringLiteral("Label7"));
            });
    connect(list, &patients::frmSearchPatient::unloaded, this, &frmMain::patientListUnloaded);
    list->setReceivableEntryAvailable(widgets::screens().has(QStringLiteral("lblReceivableEntry")));
    connect(list, &patients::frmSearchPatient::receivableEntryRequested, this,
            &frmMain::openReceivableList);
    patientList_ = list;
    QMdiSubWindow *sub = mdiArea_->addSubWindow(list);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Measured after the frame has been laid out at its final size.
    layout()->activate();
    centralWidget()->layout()->activate();
    const QSize area = mdiArea_->viewport()->size();
    // Room kept for the patient panel, which takes its place above once a
    // patient is chosen.
    const int panel = fraPat->isHidden() ? fraPat->sizeHint().height() : 0;
    sub->setGeometry(12, 12, std::max(640, area.width() * 3 / 4),
                     std::max(420, area.height() - 24 - panel));
    sub->show();
    list->ListView1->setFocus();
}

// Closing the list gives the action buttons back. Each returns to what the
// employee's rights allow, never simply to enabled.
void frmMain::patientListUnloaded()
{
    globals().PatientListLoaded = false;
    if (closing_)
        return;
    session::ApplyUserRights(rights_, this);
    mnuViewResults->setEnabled(true);
    mnuMLedger->setEnabled(false);
}

// The receivable list is modal: once it returns, charges are ordinary again,
// whatever the list or the charge screen did to the buttons meanwhile.
void frmMain::openReceivableList()
{
    openScreen(QStringLiteral("lblReceivableEntry"));
    leaveReceivableMode();
}

void frmMain::leaveReceivableMode()
{
    globals().ReceivableMode = false;
    cmdPostCharge->setText(QStringLiteral("Post &Charge"));
    cmdPatientList->setEnabled(true);
    cmdRegister->setEnabled(true);
    session::ApplyUserRights(rights_, this);
}

void frmMain::hidePatientData(bool hidden)
{
    fraPat->setVisible(!hidden && !txtHospNum->text().isEmpty());
    if (patientList_) {
        QWidget *frame = qobject_cast<QMdiSubWindow *>(patientList_->parentWidget());
        (frame ? frame : patientList_.data())->setVisible(!hidden);
    }
}

// ------------------------------------------------------------ status and timers

void frmMain::refreshStatusBar()
{
    const auto &g = globals();
    panels_[0]->setText(user_ ? user_->EmployeeName() : QString());
    panels_[1]->setText(QStringLiteral("Server :") + (user_ ? user_->ServerName() : QString()));
    panels_[2]->setText(g.ServerDate.isValid()
                            ? Workstation.toString(g.ServerDate.date(), QLocale::LongFormat)
                            : QString());
    panels_[3]->setText(g.ServerDate.isValid()
                            ? Workstation.toString(g.ServerDate.time(), QStringLiteral("hh:mm AP"))
                            : QString());
}

void frmMain::serverClockTick()
{
    // The lock screen may be swapping users; the program-wide connection is
    // the one that is alive.
    if (Connection *c = globals().DbConnection) {
        try {
            session::GetServerDate(*c);
        } catch (const DatabaseError &e) {
            // The clock keeps its last value; the next tick tries again.
            qWarning("Server clock: %s", qPrintable(e.message()));
        }
    }
    refreshStatusBar();
}

void frmMain::CheckDischargeNotices()
{
    tmrNotice->stop();
    // Announced only to an employee who can open the notices.
    const bool canAct =
        mnuMaintenance->menuAction()->isEnabled() && mnuDischargeNotice->isEnabled();
    if (!canAct) {
        tmrMerlin->stop();
        Agent1->Hide();
    } else if (Connection *c = globals().DbConnection) {
        try {
            if (DischargeNoticeCount(*c) > 0) {
                tmrMerlin->start();
                Agent1->Show();
                Agent1->MoveTo(650, 450);
                Agent1->Play(QStringLiteral("announce"));
                Agent1->Speak(dischargeNoticeMessage());
                Agent1->Play(QStringLiteral("idle1_1"));
            } else {
                tmrMerlin->stop();
            }
        } catch (const DatabaseError &e) {
            // Nobody asked for this count: no box, the next poll tries again.
            qWarning("Discharge notices: %s", qPrintable(e.message()));
        }
    }
    tmrNotice->start();
}

void frmMain::merlinTick()
{
    if (Agent1->isVisible() && !Agent1->isBusy())
        Agent1->Play(QStringLiteral("idle1_2"));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    closing_ = true;
    tmrServerDateTime->stop();
    tmrNotice->stop();
    tmrMerlin->stop();
    Agent1->Hide();
    // The patient list and the other windows go with the frame.
    if (patientList_)
        patientList_->disconnect(this);
    mdiArea_->closeAllSubWindows();
    QMainWindow::closeEvent(event);
    Q_EMIT unloaded();
}

} // namespace chemodesk::shell
