#include "frmusersetting.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/dialogs/frmusersearching.h"
#include "session/rights.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace chemodesk::session {

namespace {

QString bit(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString SaveUserSettingText(const QString &employeeId, const UserRights &r)
{
    return sql::call(QStringLiteral("Clinical_Area"), QStringLiteral("sp_Cancer_SaveUserSetting"),
                     {employeeId, bit(r.CashAssessment), bit(r.NurseActivity), bit(r.PostCharge),
                      bit(r.CSRRequest), bit(r.PHRequest), bit(r.Maintenance), bit(r.Reports),
                      bit(r.ReceivableEntry), bit(r.PatientLedger), bit(r.CancelCharges)});
}

frmUserSetting::frmUserSetting(Connection &connection, platform::MainPanel *panel,
                               const QString &signedInEmployee, QWidget *parent)
    : QDialog(parent), connection_(connection), panel_(panel), signedInEmployee_(signedInEmployee)
{
    setObjectName(QStringLiteral("frmUserSetting"));
    setWindowTitle(QStringLiteral("User Settings"));

    auto lineEdit = [this](const char *name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->installEventFilter(this);
        return box;
    };
    txtEmpID = lineEdit("txtEmpID");
    txtEmpName = lineEdit("txtEmpName");
    txtEmpName->setReadOnly(true);
    txtEmpName->setFocusPolicy(Qt::NoFocus);
    txtSeach = lineEdit("txtSeach");
    cmdSearch = new QPushButton(QStringLiteral("Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));

    fraRights = new QGroupBox(QStringLiteral("Rights"), this);
    fraRights->setObjectName(QStringLiteral("fraRights"));
    auto check = [this](const char *name, const QString &caption) {
        auto *box = new QCheckBox(caption, fraRights);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    chkCashAssessment = check("chkCashAssessment", QStringLiteral("Cash &Assessment"));
    chkNurseActivity = check("chkNurseActivity", QStringLiteral("&Nurse Activity"));
    chkPostCharge = check("chkPostCharge", QStringLiteral("&Post Charge"));
    chkCsr = check("chkCsr", QStringLiteral("CS&R Request"));
    chkPh = check("chkPh", QStringLiteral("Pharmac&y Request"));
    chkMaintenance = check("chkMaintenance", QStringLiteral("&Maintenance"));
    chkReports = check("chkReports", QStringLiteral("Rep&orts"));
    chkReceivable = check("chkReceivable", QStringLiteral("Recei&vable Entry"));
    chkPatientLedger = check("chkPatientLedger", QStringLiteral("Patient's &Ledger"));
    chkCancelCharges = check("chkCancelCharges", QStringLiteral("Cancel Char&ges"));
    chkAll = check("chkAll", QStringLiteral("All Righ&ts"));

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *button : {cmdSearch, cmdSave, cmdClose})
        button->setAutoDefault(false);

    auto *grid = new QGridLayout(fraRights);
    const auto all = boxes();
    for (int i = 0; i < static_cast<int>(all.size()); ++i)
        grid->addWidget(all[static_cast<size_t>(i)], i % 5, i / 5);
    grid->addWidget(chkAll, 5, 0, 1, 2);

    auto *header = new QGridLayout;
    auto addLabel = [&](const QString &caption, QWidget *buddy, int row) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(buddy);
        header->addWidget(label, row, 0);
    };
    addLabel(QStringLiteral("Employee &ID:"), txtEmpID, 0);
    header->addWidget(txtEmpID, 0, 1);
    header->addWidget(txtEmpName, 0, 2);
    addLabel(QStringLiteral("Searc&h:"), txtSeach, 1);
    header->addWidget(txtSeach, 1, 1, 1, 2);
    header->addWidget(cmdSearch, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(fraRights);
    layout->addLayout(buttons);

    connect(chkAll, &QCheckBox::clicked, this, [this](bool checked) {
        // The first nine follow, then the cancellation right.
        const auto all = boxes();
        for (size_t i = 0; i < 9; ++i)
            all[i]->setChecked(checked);
        chkCancelCharges->setChecked(checked);
    });
    // Boxes loaded for one employee must not be saved under another id.
    connect(txtEmpID, &QLineEdit::textEdited, this, [this] {
        txtEmpName->clear();
        setEditable(false);
    });
    connect(cmdSearch, &QPushButton::clicked, this, &frmUserSetting::searchEmployee);
    connect(cmdSave, &QPushButton::clicked, this, &frmUserSetting::save);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    setEditable(false);
}

std::array<QCheckBox *, 10> frmUserSetting::boxes() const
{
    return {chkCashAssessment, chkNurseActivity, chkPostCharge, chkCsr,           chkPh,
            chkMaintenance,    chkReports,       chkReceivable, chkPatientLedger, chkCancelCharges};
}

UserRights frmUserSetting::rights() const
{
    UserRights r;
    r.hasRow = true;
    r.CashAssessment = chkCashAssessment->isChecked();
    r.NurseActivity = chkNurseActivity->isChecked();
    r.PostCharge = chkPostCharge->isChecked();
    r.CSRRequest = chkCsr->isChecked();
    r.PHRequest = chkPh->isChecked();
    r.Maintenance = chkMaintenance->isChecked();
    r.Reports = chkReports->isChecked();
    r.ReceivableEntry = chkReceivable->isChecked();
    r.PatientLedger = chkPatientLedger->isChecked();
    r.CancelCharges = chkCancelCharges->isChecked();
    return r;
}

void frmUserSetting::setRights(const UserRights &r)
{
    chkCashAssessment->setChecked(r.CashAssessment);
    chkNurseActivity->setChecked(r.NurseActivity);
    chkPostCharge->setChecked(r.PostCharge);
    chkCsr->setChecked(r.CSRRequest);
    chkPh->setChecked(r.PHRequest);
    chkMaintenance->setChecked(r.Maintenance);
    chkReports->setChecked(r.Reports);
    chkReceivable->setChecked(r.ReceivableEntry);
    chkPatientLedger->setChecked(r.PatientLedger);
    chkCancelCharges->setChecked(r.CancelCharges);
    const auto all = boxes();
    chkAll->setChecked(
        std::all_of(all.begin(), all.end(), [](QCheckBox *b) { return b->isChecked(); }));
}

void frmUserSetting::setEditable(bool editable)
{
    fraRights->setEnabled(editable);
    cmdSave->setEnabled(editable);
}

void frmUserSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (!txtEmpID->text().trimmed().isEmpty())
        loadEmployee();
    txtEmpID->setFocus();
}

bool frmUserSetting::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtEmpID) {
                loadEmployee();
                return true;
            }
            if (watched == txtSeach) {
                searchEmployee();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmUserSetting::loadEmployee()
{
    const QString id = txtEmpID->text().trimmed();
    setEditable(false);
    setRights({});
    if (id.isEmpty()) {
        txtEmpName->clear();
        return;
    }
    try {
        const Recordset employee = connection_.Open(EmployeeSearchById(id));
        if (employee.atEnd()) {
            txtEmpName->clear();
            widgets::msgInformation(QStringLiteral("Employee ID %1 was not found.").arg(id),
                                    QStringLiteral("Message"));
            txtEmpID->selectAll();
            txtEmpID->setFocus();
            return;
        }
        txtEmpName->setText(employee.Fields(QStringLiteral("EmployeeName")).trimmed());
        setRights(ReadUserRights(connection_, id));
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
        return;
    }
    setEditable(true);
}

void frmUserSetting::searchEmployee()
{
    frmUserSearching search(connection_, txtSeach->text(), this);
    if (widgets::execModal(search) != QDialog::Accepted || search.SelectedId().isEmpty())
        return;
    txtEmpID->setText(search.SelectedId());
    loadEmployee();
    txtEmpName->setText(search.SelectedName());
}

void frmUserSetting::save()
{
    const QString id = txtEmpID->text().trimmed();
    if (id.isEmpty()) {
        widgets::msgInformation(QStringLiteral("Please enter an employee ID."),
                                QStringLiteral("Message"));
        return;
    }
    try {
        connection_.Execute(SaveUserSettingText(id, rights()));
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
        return;
    }
    widgets::msgInformation(QStringLiteral("User Settings Successfully Saved! "),
                            QStringLiteral("Message"));
    try {
        LoadUserRights(connection_, signedInEmployee_, panel_);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message(), QStringLiteral("Message"));
    }
}

} // namespace chemodesk::session
