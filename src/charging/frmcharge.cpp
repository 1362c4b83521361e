// The charge entry screen: its controls and what it shows when it opens.
// The Enter rules of the grid are in frmcharge_enter.cpp, the saved-charges
// list, the doctor entry and the buttons in frmcharge_actions.cpp.

#include "frmcharge.h"

#include "chargelines.h"
#include "widgets/dialogparts.h"
#include "widgets/gridformat.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/globals.h"
#include "session/module1.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::charging {

using session::globals;

namespace {

QPushButton *button(const char *name, const QString &caption, QWidget *parent, int index = -1)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    if (index >= 0)
        b->setProperty("index", index);
    return b;
}

QTableWidget *listGrid(const char *name, QWidget *parent)
{
    auto *grid = new QTableWidget(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

} // namespace

frmCharge::frmCharge(Connection &connection, ChargeComponents components, ChargePatient patient,
                     platform::MainPanel *panel, QWidget *parent)
    : QDialog(parent), connection_(connection), codeSearch_(components.codeSearch),
      drugs_(components.drugs), drugList_(components.drugList), keys_(components.keys),
      patient_(std::move(patient)), rates_(rateSettings()), panel_(panel),
      printer_(reports::ShowPrintout)
{
    setObjectName(QStringLiteral("frmCharge"));
    setWindowTitle(QStringLiteral("Post Charges"));
    buildUi();
    loadScreen();
}

frmCharge::~frmCharge() = default;

// ------------------------------------------------------------------ layout

void frmCharge::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildPatientPanel());

    auto *middle = new QHBoxLayout;
    mshflexEntry = new widgets::EntryGrid(&keys_, this);
    mshflexEntry->setObjectName(QStringLiteral("mshflexEntry"));
    mshflexEntry->setFocusPolicy(Qt::NoFocus);
    txtEntry = mshflexEntry->txtEntry;
    middle->addWidget(mshflexEntry, 1);

    fraDept = new QGroupBox(QStringLiteral("Department Codes") + QString(12, QLatin1Char(' ')) +
                                QStringLiteral("[X]"),
                            this);
    fraDept->setObjectName(QStringLiteral("fraDept"));
    fraDept->setToolTip(QStringLiteral("Click the frame to hide the list"));
    fraDept->installEventFilter(this);
    auto *deptLayout = new QVBoxLayout(fraDept);
    grdRevenue = listGrid("grdRevenue", fraDept);
    grdRevenue->setFocusPolicy(Qt::NoFocus);
    grdRevenue->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    deptLayout->addWidget(grdRevenue);
    fraDept->setFixedWidth(widgets::twipsToPixels(35 + 600 + 2200) + 90);
    middle->addWidget(fraDept);
    layout->addLayout(middle, 3);

    auto *status = new QHBoxLayout;
    fraMessage = new QGroupBox(QStringLiteral("Message"), this);
    fraMessage->setObjectName(QStringLiteral("fraMessage"));
    auto *messageLayout = new QVBoxLayout(fraMessage);
    lblMessage = new QLabel(fraMessage);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    messageLayout->addWidget(lblMessage);
    status->addWidget(fraMessage, 1);

    fraVisa = new QGroupBox(QStringLiteral("WITH VISA"), this);
    fraVisa->setObjectName(QStringLiteral("fraVisa"));
    auto *visaLayout = new QHBoxLayout(fraVisa);
    visaLayout->addWidget(new QLabel(QStringLiteral("PERCENTAGE %"), fraVisa));
    txtVisa = new QLineEdit(fraVisa);
    txtVisa->setObjectName(QStringLiteral("txtVisa"));
    txtVisa->setMaximumWidth(70);
    visaLayout->addWidget(txtVisa);
    Command3 = button("Command3", QStringLiteral("SAVE"), fraVisa);
    Command4 = button("Command4", QStringLiteral("CANCEL"), fraVisa);
    visaLayout->addWidget(Command3);
    visaLayout->addWidget(Command4);
    fraVisa->hide();
    status->addWidget(fraVisa);

    auto *totalFrame = new QGroupBox(QStringLiteral("Grand Total"), this);
    auto *totalLayout = new QVBoxLayout(totalFrame);
    txtTotal = widgets::readOnlyBox("txtTotal", totalFrame);
    txtTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = txtTotal->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    txtTotal->setFont(big);
    txtTotal->setMinimumWidth(160);
    totalLayout->addWidget(txtTotal);
    status->addWidget(totalFrame);
    layout->addLayout(status);

    fraList = new QGroupBox(QStringLiteral("List of Charges Entered"), this);
    fraList->setObjectName(QStringLiteral("fraList"));
    auto *listLayout = new QGridLayout(fraList);
    MSHFlexList = listGrid("MSHFlexList", fraList);
    listLayout->addWidget(MSHFlexList, 0, 0, 1, 3);
    txtMessage = new QLabel(QStringLiteral("No Charges Entered........"), fraList);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    listLayout->addWidget(txtMessage, 1, 0);
    listLayout->addWidget(new QLabel(QStringLiteral("Charge Slip Total"), fraList), 1, 1,
                          Qt::AlignRight);
    txtSlipTotal = widgets::readOnlyBox("txtSlipTotal", fraList);
    txtSlipTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtSlipTotal->setMaximumWidth(140);
    listLayout->addWidget(txtSlipTotal, 1, 2);
    fraList->hide();
    layout->addWidget(fraList, 2);

    layout->addWidget(buildButtons());
    // A plain Save shows no box; the clerk still sees that the slip was saved, and under which
    // number.
    stbSaved = new QStatusBar(this);
    stbSaved->setObjectName(QStringLiteral("stbSaved"));
    stbSaved->setSizeGripEnabled(false);
    layout->addWidget(stbSaved);
    setUpGrid();
    resize(1120, 640);

    connect(chkDiscounted, &QCheckBox::toggled, this, [this] { repriceStockedLines(); });
    connect(vkcmdHelpCode, &QPushButton::clicked, fraDept, &QWidget::show);
    connect(Command2, &QPushButton::clicked, this, [this] {
        fraVisa->show();
        txtVisa->setFocus();
    });
    connect(Command3, &QPushButton::clicked, this, &frmCharge::saveCardPercentage);
    connect(Command4, &QPushButton::clicked, this, &frmCharge::cancelCardPercentage);
    connect(MSHFlexList, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row >= 0 && row != previousRow)
                    showSlipTotal(row);
            });
    connect(txtVisa, &QLineEdit::returnPressed, this, &frmCharge::saveCardPercentage);
    connect(cmdDoctor, &QPushButton::clicked, this, &frmCharge::chooseDoctor);
    txtDoctorID->installEventFilter(this);
    // A name left beside a code typed over would be saved with the wrong doctor.
    connect(txtDoctorID, &QLineEdit::textEdited, txtDoctor, &QLineEdit::clear);
    connect(vkCommand1[0], &QPushButton::clicked, this, [this] { saveCharges(false); });
    connect(vkCommand1[5], &QPushButton::clicked, this, [this] { saveCharges(true); });
    connect(vkcmdOption[0], &QPushButton::clicked, this, &frmCharge::cancelCharge);
    connect(vkcmdOption[1], &QPushButton::clicked, this, &frmCharge::reprintChargeSlip);
    connect(vkCommand1[1], &QPushButton::clicked, this, &frmCharge::clearLines);
    connect(vkCommand1[2], &QPushButton::clicked, this, &frmCharge::reject);
    connect(vkCommand1[3], &QPushButton::clicked, this, &frmCharge::listCharges);
    connect(vkCommand1[4], &QPushButton::clicked, this, &frmCharge::deleteLine);
    connect(vkbtnHemoPckge, &QPushButton::clicked, this, &frmCharge::openPackageList);
    connect(mshflexEntry, &widgets::EntryGrid::linesChanged, this, &frmCharge::recomputeTotal);
}

QWidget *frmCharge::buildPatientPanel()
{
    auto *panel = new QGroupBox(this);
    auto *grid = new QGridLayout(panel);
    auto label = [panel](const char *text) { return new QLabel(QLatin1String(text), panel); };
    txtIdnum = widgets::readOnlyBox("txtIdnum", panel);
    txtHospNum = widgets::readOnlyBox("txtHospNum", panel);
    txtPxName = widgets::readOnlyBox("txtPxName", panel);
    txtRoomid = widgets::readOnlyBox("txtRoomid", panel);
    grid->addWidget(label("Adm. Num."), 0, 0);
    grid->addWidget(txtIdnum, 0, 1);
    grid->addWidget(label("Hosp. Num."), 0, 2);
    grid->addWidget(txtHospNum, 0, 3);
    grid->addWidget(label("Patient Name"), 0, 4);
    grid->addWidget(txtPxName, 0, 5);
    grid->addWidget(label("Room"), 0, 6);
    grid->addWidget(txtRoomid, 0, 7);

    fmSenior = new QLabel(QStringLiteral("Senior Citizen"), panel);
    fmSenior->setObjectName(QStringLiteral("fmSenior"));
    fmSenior->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background: #b03030; font-weight: bold; padding: 2px 8px; }"));
    fmSenior->hide();
    grid->addWidget(fmSenior, 0, 8);
    lblDeptCode = new QLabel(panel);
    lblDeptCode->setObjectName(QStringLiteral("lblDeptCode"));
    lblDeptCode->hide();

    grid->addWidget(label("Requesting Doctor"), 1, 0);
    txtDoctorID = new QLineEdit(panel);
    txtDoctorID->setObjectName(QStringLiteral("txtDoctorID"));
    txtDoctorID->setMaxLength(10);
    grid->addWidget(txtDoctorID, 1, 1);
    txtDoctor = widgets::readOnlyBox("txtDoctor", panel);
    grid->addWidget(txtDoctor, 1, 2, 1, 4);
    cmdDoctor = button("cmdDoctor", QStringLiteral(". . ."), panel);
    cmdDoctor->setToolTip(QStringLiteral("Choose the requesting doctor from the list"));
    grid->addWidget(cmdDoctor, 1, 6);
    chkDiscounted = new QCheckBox(QStringLiteral("&Discounted Price"), panel);
    chkDiscounted->setObjectName(QStringLiteral("chkDiscounted"));
    grid->addWidget(chkDiscounted, 1, 7, 1, 2);
    grid->setColumnStretch(5, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return panel;
}

QWidget *frmCharge::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const char *const captions[6] = {"&Save",   "&Clear",     "E&xit", "&List of Charges Entered",
                                     "&Delete", "&Print/Save"};
    for (int i = 0; i < 6; ++i)
        vkCommand1[i] = button("vkCommand1", QLatin1String(captions[i]), bar, i);
    vkcmdOption[0] = button("vkcmdOption", QStringLiteral("Cancel Charges"), bar, 0);
    vkcmdOption[1] = button("vkcmdOption", QStringLiteral("Re-print ChargeSlip"), bar, 1);
    for (QPushButton *b : vkcmdOption)
        b->setToolTip(QStringLiteral("The line chosen in the List of Charges Entered"));
    vkbtnHemoPckge = button("vkbtnHemoPckge", QStringLiteral("Cancer Package"), bar);
    vkbtnHemoPckge->setToolTip(QStringLiteral("Charge a package's items"));
    Command2 = button("Command2", QStringLiteral("With VISA"), bar);
    vkcmdHelpCode = button("vkcmdHelpCode", QStringLiteral("View help Code"), bar);

    for (int i : {0, 5, 1, 4, 3})
        row->addWidget(vkCommand1[i]);
    row->addSpacing(12);
    row->addWidget(vkcmdOption[0]);
    row->addWidget(vkcmdOption[1]);
    row->addWidget(vkbtnHemoPckge);
    row->addWidget(Command2);
    row->addWidget(vkcmdHelpCode);
    row->addStretch(1);
    row->addWidget(vkCommand1[2]);
    return bar;
}

void frmCharge::setUpGrid()
{
    mshflexEntry->setPromptLabel(lblMessage);
    mshflexEntry->setQualifyingColumn(colDept);
    mshflexEntry->setCodeColumns(colItem, {colDept});
    widgets::EntryGrid::Rules rules;
    rules.onEnter = [this](int line, int column, const QString &text) {
        return onEnter(line, column, text);
    };
    rules.isComplete = [this](int line) {
        const widgets::EntryGrid *g = mshflexEntry;
        return chargeLineComplete(g->text(line, colDept), g->text(line, colItem),
                                  g->text(line, colQuantity), g->text(line, colUnitPrice),
                                  g->text(line, colAmount));
    };
    rules.onLineEntered = [this](int line) {
        department_ = mshflexEntry->text(line, colDept).trimmed();
        mshflexEntry->setExemptColumns(packageOf(line).isEmpty() ? exemptColumnsFor(department_)
                                                                 : exemptColumnsForPackageLine());
        stocked_ = !mshflexEntry->text(line, colLocation).trimmed().isEmpty();
        location_ = mshflexEntry->text(line, colLocation).trimmed();
        stockcardRevenue_ = mshflexEntry->text(line, colStockcardRevenue).trimmed();
    };
    rules.onDeleteKey = [this] { deleteLine(); };
    mshflexEntry->setRules(std::move(rules));
    mshflexEntry->setColumns(ChargeGridFormat, chargeColumns());
    mshflexEntry->horizontalHeader()->setStretchLastSection(false);
    mshflexEntry->horizontalHeader()->setSectionResizeMode(colDescription, QHeaderView::Stretch);
}

bool frmCharge::PutTextBoxReturn(int column, int line)
{
    if (column == colDept)
        return mshflexEntry->PutTextBox(
            column, line,
            QStringLiteral("Type the Charging Code..(See Department Codes for the list)"));
    return mshflexEntry->PutTextBox(column, line);
}

// ----------------------------------------------------------------- opening

void frmCharge::loadScreen()
{
    txtPxName->setText(patient_.name);
    txtHospNum->setText(patient_.hospNum);
    txtIdnum->setText(patient_.idNum);
    txtRoomid->setText(patient_.room);
    txtTotal->setText(formatAmount(0));
    try {
        loadPatient();
        mshflexEntry->PutTextBox(colDept, 1);
        loadDepartments();
        applyReceivableMode();
        const Recordset rights = connection_.Open(
            QStringLiteral("Select * from Clinical_Area..tbCancerUserSetting where EmpID = '") +
            sql::escape(patient_.employeeCode) + QLatin1Char('\''));
        cancelCharges_ =
            !rights.atEnd() && rights.Fields(QStringLiteral("isCancelCharges")).toBool();
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    vkcmdOption[0]->setEnabled(cancelCharges_);
}

void frmCharge::loadPatient()
{
    const Recordset master =
        connection_.Open(QStringLiteral("SELECT * FROM PATIENT_DATA..tbMaster Where HospNum = '") +
                         sql::escape(patient_.hospNum) + QLatin1Char('\''));
    fmSenior->setVisible(!master.atEnd() &&
                         master.Fields(QStringLiteral("SeniorCitizen")).toBool());

    const Recordset doctor =
        connection_.Open(QStringLiteral("Clinical_Area..spCancer_GetDoctor '") +
                         sql::escape(patient_.idNum) + QLatin1Char('\''));
    if (!doctor.atEnd()) {
        const bool outPatient = patient_.inOut == QLatin1String("O");
        const QString code =
            doctor.Fields(outPatient ? QStringLiteral("DoctorID1") : QStringLiteral("attendingdr1"))
                .trimmed();
        // A registration without a doctor on file leaves the doctor to be chosen.
        if (!code.isEmpty()) {
            txtDoctorID->setText(code);
            txtDoctor->setText(QStringLiteral("Dr. ") +
                               doctor.Fields(QStringLiteral("Doctor")).trimmed());
        }
    }
}

void frmCharge::loadDepartments()
{
    Recordset rs = connection_.Open(QStringLiteral("Clinical_Area..spCancer_ChargingCodes"));
    const QStringList names = rs.ColumnNames();
    grdRevenue->setColumnCount(3);
    grdRevenue->setRowCount(int(std::max<long>(rs.RecordCount(), 0)));
    int row = 0;
    for (; !rs.atEnd(); rs.MoveNext(), ++row) {
        grdRevenue->setItem(row, 0, new QTableWidgetItem);
        for (int column = 0; column < 2 && column < rs.FieldCount(); ++column)
            grdRevenue->setItem(row, column + 1, new QTableWidgetItem(rs.Fields(column).trimmed()));
    }
    widgets::applyFormatString(grdRevenue, QStringLiteral("  |<Code |  Description "),
                               {35, 600, 2200});

    if (session::IsNumeric(patient_.idNum)) {
        const Recordset room = connection_.Open(
            QStringLiteral("Select roomid from patient_data..tbpatient where idnum = '") +
            sql::escape(patient_.idNum) + QLatin1Char('\''));
        if (!room.atEnd())
            txtRoomid->setText(room.Fields(QStringLiteral("roomid")).trimmed());
    }
}

void frmCharge::applyReceivableMode()
{
    if (!globals().ReceivableMode)
        return;
    setWindowTitle(QStringLiteral("Receivable Entry"));
    if (panel_)
        panel_->enterReceivableMode();
}

bool frmCharge::CheckDepartment(const QString &code) const
{
    const QString wanted = code.trimmed();
    if (wanted.isEmpty())
        return false;
    for (int row = 0; row < grdRevenue->rowCount(); ++row) {
        const QTableWidgetItem *item = grdRevenue->item(row, 1);
        if (item && item->text().trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// -------------------------------------------------------------- form keys

bool frmCharge::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == fraDept && event->type() == QEvent::MouseButtonPress) {
        fraDept->hide();
        return true;
    }
    if (watched == txtDoctorID && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            searchDoctor();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCharge::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3) {
        deleteLine();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmCharge::reject()
{
    bool unsaved = false;
    for (int line = 1; line <= mshflexEntry->lineCount() && !unsaved; ++line)
        unsaved = mshflexEntry->QualifiedRow(line);
    const QString question = QStringLiteral("Are you sure to close this program?");
    if (widgets::msgOkCancel(unsaved ? QStringLiteral("The charges entered have not been saved "
                                                      "and will be lost. ") +
                                           question
                                     : question,
                             QStringLiteral("Hemo Dialysis Module")))
        QDialog::reject();
}

} // namespace chemodesk::charging
