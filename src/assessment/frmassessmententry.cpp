#include "frmassessmententry.h"

#include "assessmentpackage.h"

#include "charging/frmchargeslipno.h"
#include "charging/linepricing.h"
#include "charging/pricerules.h"
#include "components/stockonhand.h"
#include "database/sqltext.h"
#include "packages/packagedialogs.h"
#include "platform/codesearch.h"
#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "platform/druglist.h"
#include "reports/reportprocs.h"
#include "session/globals.h"
#include "session/module1.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace chemodesk::assessment {

using Enter = widgets::EntryGrid::Enter;
using Icon = widgets::MessageService::Icon;
using platform::ListKind;
using session::globals;

namespace {

const QString Information = QStringLiteral("Information");

void box(const QString &text, Icon icon, const QString &title = {})
{
    widgets::messages().message(text, title.isEmpty() ? widgets::defaultTitle() : title, icon);
}

QString money(double value)
{
    return QString::number(value, 'f', 2);
}

bool yes(const QString &text)
{
    return text.trimmed().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Y") : QStringLiteral("N");
}

// The hourglass while the assessment is written, whatever ends the writing.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

std::vector<widgets::GridColumn> assessColumns()
{
    const QString dept = QStringLiteral("Type the department code (click Department Codes for "
                                        "the list)");
    const QString code = QStringLiteral("Type the code or the first letters of the name, then "
                                        "press <Enter>");
    const QString quantity = QStringLiteral("Type the quantity...");
    const QString stat = QStringLiteral("Y for a stat request, N otherwise");
    // header, width in twips, maximum length, keys, prompt, editable
    return {
        {{}, 300, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 1000, 2, widgets::KeyClass::Upper, dept, true},
        {{}, 1200, 10, widgets::KeyClass::Upper, code, true},
        {{}, 3900, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 1000, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 1000, 6, widgets::KeyClass::Any, quantity, true},
        {{}, 1000, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 500, 1, widgets::KeyClass::Upper, stat, true},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
    };
}

const QString GridFormat =
    QStringLiteral("<|<Department|<Code|<Particular|>Price|>Quantity|>Amount|||||^Stat||");

// Lays a row in the grid's columns. Without an amount of its own the row's
// amount is left for computeAmount; a laboratory section only where the row
// has one.
void putRow(widgets::EntryGrid &grid, int line, const AssessmentRow &row)
{
    grid.setText(line, colDept, row.dept);
    grid.setText(line, colCode, row.code);
    grid.setText(line, colParticular, row.particular);
    grid.setText(line, colPrice, money(row.price));
    grid.setText(line, colQuantity, row.quantity);
    if (row.amount)
        grid.setText(line, colAmount, money(*row.amount));
    grid.setText(line, colZeroPriced, yesNo(row.baseRate == 0));
    grid.setText(line, colBaseRate, money(row.baseRate));
    grid.setText(line, colStocked, yesNo(row.stocked));
    grid.setText(line, colMarkup, yesNo(row.markup));
    grid.setText(line, colStat, yesNo(row.stat));
    grid.setText(line, colFlag, row.location);
    if (row.labSection)
        grid.setText(line, colLabSection, *row.labSection);
}

// A package's item goes on the first empty line, or a new one.
void putPackageRow(widgets::EntryGrid &grid, const AssessmentRow &row)
{
    int line = 1;
    while (line <= grid.lineCount() && !grid.text(line, colDept).trimmed().isEmpty())
        ++line;
    if (line > grid.lineCount()) {
        grid.insertRow(grid.rowCount());
        grid.setText(line, colLine, QString::number(line));
    }
    putRow(grid, line, row);
}

} // namespace

PackageDialog opdPackageDialog(Connection &connection)
{
    return [&connection](widgets::EntryGrid &grid, const QString &chargesType,
                         QWidget *parent) -> QString {
        AssessmentPackageTarget target(
            [&grid](const AssessmentRow &row) { putPackageRow(grid, row); });
        packages::frmOPDPackage dialog(connection, parent);
        dialog.setChargesType(chargesType);
        dialog.setSourceGrid(&target);
        if (widgets::execModal(dialog) != QDialog::Accepted || !dialog.applied().applied)
            return {};
        return dialog.applied().code;
    };
}

AssessmentPatient frmAssessmentEntry::patientOf(const platform::ScreenContext &context)
{
    const platform::SelectedPatient &chosen = context.patient;
    return {chosen.idNum, chosen.hospNum, chosen.inOut, context.employeeCode};
}

frmAssessmentEntry::frmAssessmentEntry(Connection &connection,
                                       charging::ChargeComponents components,
                                       AssessmentPatient patient, QWidget *parent)
    : QDialog(parent), connection_(connection), codeSearch_(components.codeSearch),
      drugs_(components.drugs), drugList_(components.drugList), patient_(std::move(patient)),
      rates_(charging::rateSettings()), printer_(reports::ShowPrintout)
{
    setObjectName(QStringLiteral("frmAssessmentEntry"));
    setWindowTitle(QStringLiteral("Assessment Entry"));
    buildUi();
    grdTable = new widgets::EntryGrid(&components.keys, fraExams);
    grdTable->setObjectName(QStringLiteral("grdTable"));
    txtEntry = grdTable->txtEntry;
    static_cast<QVBoxLayout *>(fraExams->layout())->insertWidget(0, grdTable, 1);
    setUpGrid();
    loadScreen();
}

frmAssessmentEntry::~frmAssessmentEntry() = default;

// ------------------------------------------------------------------- window

void frmAssessmentEntry::buildUi()
{
    auto line = [this](const char *name, bool readOnly) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(readOnly);
        return edit;
    };
    txtIdnum = line("txtIdnum", true);
    txtHospNum = line("txtHospNum", true);
    txtSname = line("txtSname", false);
    txtDoctorID = line("txtDoctorID", false);
    txtDoctorID->setMaximumWidth(90);
    txtDoctor = line("txtDoctor", true);
    cmdDoctor = widgets::namedButton(this, "cmdDoctor", QStringLiteral("..."));
    cmdDoctor->setMaximumWidth(32);

    auto *patientBox = new QGroupBox(QStringLiteral("Patient"), this);
    auto *form = new QGridLayout(patientBox);
    form->addWidget(new QLabel(QStringLiteral("Adm. Num."), patientBox), 0, 0);
    form->addWidget(txtIdnum, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Hosp. Num."), patientBox), 0, 2);
    form->addWidget(txtHospNum, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("Patient Name"), patientBox), 1, 0);
    form->addWidget(txtSname, 1, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Requesting Doctor"), patientBox), 2, 0);
    auto *doctorRow = new QHBoxLayout;
    doctorRow->addWidget(txtDoctorID);
    doctorRow->addWidget(txtDoctor, 1);
    doctorRow->addWidget(cmdDoctor);
    form->addLayout(doctorRow, 2, 1, 1, 3);

    auto *rates = new QGroupBox(QStringLiteral("Mark-ups"), this);
    rates->setObjectName(QStringLiteral("fraRates"));
    auto *ratesLayout = new QVBoxLayout(rates);
    auto rateLabel = [&](const char *name) {
        auto *label = new QLabel(rates);
        label->setObjectName(QLatin1String(name));
        ratesLayout->addWidget(label);
        return label;
    };
    lblStatRate = rateLabel("lblStatRate");
    lblAfterFivePmRate = rateLabel("lblAfterFivePmRate");
    lblWeekendRate = rateLabel("lblWeekendRate");
    lblHolidayRate = rateLabel("lblHolidayRate");

    auto *top = new QHBoxLayout;
    top->addWidget(patientBox, 3);
    top->addWidget(rates, 1);

    lblMessageRates = new QLabel(this);
    lblMessageRates->setObjectName(QStringLiteral("lblMessageRates"));
    QFont bannerFont = lblMessageRates->font();
    bannerFont.setBold(true);
    lblMessageRates->setFont(bannerFont);
    lblMessageRates->setStyleSheet(QStringLiteral("color: #b00000"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this,
            [this] { lblMessageRates->setText(scrollBanner(lblMessageRates->text())); });

    fraExams = new QGroupBox(QStringLiteral("Examinations"), this);
    fraExams->setObjectName(QStringLiteral("fraExams"));
    auto *exams = new QVBoxLayout(fraExams);
    auto *below = new QHBoxLayout;
    lblRevenuecodes = new QLabel(QStringLiteral("<u>Department Codes</u>"), fraExams);
    lblRevenuecodes->setObjectName(QStringLiteral("lblRevenuecodes"));
    lblRevenuecodes->setCursor(Qt::PointingHandCursor);
    lblRevenuecodes->installEventFilter(this);
    chkStat = new QCheckBox(QStringLiteral("Stat"), fraExams);
    chkStat->setObjectName(QStringLiteral("chkStat"));
    txtGross = new QLineEdit(fraExams);
    txtGross->setObjectName(QStringLiteral("txtGross"));
    txtGross->setReadOnly(true);
    txtGross->setAlignment(Qt::AlignRight);
    txtGross->setMaximumWidth(140);
    below->addWidget(lblRevenuecodes);
    below->addWidget(chkStat);
    below->addStretch(1);
    below->addWidget(new QLabel(QStringLiteral("Total"), fraExams));
    below->addWidget(txtGross);
    exams->addLayout(below);

    grdRevenue = new QTableWidget(this);
    grdRevenue->setObjectName(QStringLiteral("grdRevenue"));
    grdRevenue->setColumnCount(2);
    grdRevenue->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Deparment")});
    grdRevenue->verticalHeader()->hide();
    grdRevenue->horizontalHeader()->setStretchLastSection(true);
    grdRevenue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRevenue->setMaximumWidth(260);
    grdRevenue->hide();

    auto *remarks = new QGroupBox(QStringLiteral("Remarks"), this);
    auto *remarksLayout = new QVBoxLayout(remarks);
    txtRemarks = line("txtRemarks", false);
    txtRemarks->setMaxLength(100);
    remarksLayout->addWidget(txtRemarks);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));

    cmdSave = widgets::namedButton(this, "cmdSave", QStringLiteral("&Save"));
    cmdSavePrint = widgets::namedButton(this, "cmdSavePrint", QStringLiteral("Save && &Print"));
    cmdDelete = widgets::namedButton(this, "cmdDelete", QStringLiteral("&Delete"));
    cmdPackage = widgets::namedButton(this, "cmdPackage", QStringLiteral("View Packages"));
    cmdExit = widgets::namedButton(this, "cmdExit", QStringLiteral("E&xit"));
    cmdPackage->setEnabled(false);

    auto *middle = new QHBoxLayout;
    middle->addWidget(fraExams, 1);
    middle->addWidget(grdRevenue);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblMessageRates);
    layout->addLayout(middle, 1);
    layout->addWidget(remarks);
    layout->addWidget(lblMessage);
    layout->addLayout(widgets::buttonRow({cmdPackage, cmdDelete, cmdSave, cmdSavePrint, cmdExit}));

    connect(cmdSave, &QPushButton::clicked, this, [this] { save(false); });
    connect(cmdSavePrint, &QPushButton::clicked, this, [this] { save(true); });
    connect(cmdDelete, &QPushButton::clicked, this, &frmAssessmentEntry::deleteRow);
    connect(cmdPackage, &QPushButton::clicked, this, &frmAssessmentEntry::choosePackage);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdDoctor, &QPushButton::clicked, this, &frmAssessmentEntry::chooseDoctor);
    connect(txtDoctorID, &QLineEdit::returnPressed, this, &frmAssessmentEntry::lookUpDoctor);
    // A name left beside a code typed over would be saved with the wrong doctor.
    connect(txtDoctorID, &QLineEdit::textEdited, txtDoctor, &QLineEdit::clear);
    connect(chkStat, &QCheckBox::clicked, this, [this] { repriceAll(); });
    resize(1000, 620);
}

void frmAssessmentEntry::setUpGrid()
{
    grdTable->setPromptLabel(lblMessage);
    grdTable->setQualifyingColumn(colDept);
    grdTable->setCodeColumns(colCode, {colDept});
    widgets::EntryGrid::Rules rules;
    rules.onEnter = [this](int line, int column, const QString &text) {
        return onEnter(line, column, text);
    };
    rules.isComplete = [this](int line) {
        return !grdTable->text(line, colDept).trimmed().isEmpty() &&
               !grdTable->text(line, colCode).trimmed().isEmpty() &&
               cellNumber(grdTable->text(line, colQuantity)) > 0;
    };
    rules.onDeleteKey = [this] { deleteRow(); };
    grdTable->setRules(std::move(rules));
    grdTable->setColumns(GridFormat, assessColumns());
    grdTable->horizontalHeader()->setStretchLastSection(false);
    grdTable->horizontalHeader()->setSectionResizeMode(colParticular, QHeaderView::Stretch);
    connect(grdTable, &widgets::EntryGrid::linesChanged, this, &frmAssessmentEntry::recomputeTotal);
}

void frmAssessmentEntry::setPackageDialog(PackageDialog dialog)
{
    packageDialog_ = std::move(dialog);
    cmdPackage->setEnabled(bool(packageDialog_));
}

bool frmAssessmentEntry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblRevenuecodes && event->type() == QEvent::MouseButtonRelease) {
        showDepartments();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ------------------------------------------------------------------ opening

void frmAssessmentEntry::loadScreen()
{
    txtIdnum->setText(patient_.idNum);
    txtHospNum->setText(patient_.hospNum);
    txtGross->setText(money(0));
    widgets::showingErrors([&] {
        const Recordset master = connection_.Open(
            QStringLiteral("SELECT * FROM PATIENT_DATA..tbMaster Where HospNum = '") +
            sql::escape(patient_.hospNum) + QLatin1Char('\''));
        txtSname->setText(master.atEnd()
                              ? QStringLiteral(",")
                              : master.Fields(QStringLiteral("LastName")).trimmed() +
                                    QStringLiteral(", ") +
                                    master.Fields(QStringLiteral("FirstName")).trimmed());
        if (!patient_.idNum.trimmed().isEmpty()) {
            const Recordset doctor =
                connection_.Open(QStringLiteral("Clinical_Area..spCancer_GetDoctor '") +
                                 sql::escape(patient_.idNum) + QLatin1Char('\''));
            if (!doctor.atEnd()) {
                txtDoctorID->setText(doctor.Fields(QStringLiteral("DoctorID1")).trimmed());
                lookUpDoctor();
            }
        }
        loadDepartments();
        charging::LoadRateSettings(connection_, rates_);
        loadStat();
        loadRates();
    });
    grdTable->PutTextBox(colDept, 1);
}

void frmAssessmentEntry::loadDepartments()
{
    const std::vector<Department> departments = activeDepartments(connection_);
    grdRevenue->setRowCount(0);
    for (const Department &department : departments) {
        const int row = grdRevenue->rowCount();
        grdRevenue->insertRow(row);
        grdRevenue->setItem(row, 0, new QTableWidgetItem(department.id));
        grdRevenue->setItem(row, 1, new QTableWidgetItem(department.name));
    }
}

void frmAssessmentEntry::showDepartments()
{
    grdRevenue->setVisible(!grdRevenue->isVisible());
}

void frmAssessmentEntry::loadStat()
{
    if (statOnOpening(connection_, rates_, globals().ClientName))
        chkStat->setChecked(true);
}

void frmAssessmentEntry::loadRates()
{
    const SurchargeLabels labels = readSurchargeLabels(connection_);
    lblStatRate->setText(labels.stat);
    lblAfterFivePmRate->setText(labels.afterFive);
    lblWeekendRate->setText(labels.weekend);
    lblHolidayRate->setText(labels.holiday);
    banner_ = ratesBanner(connection_, rates_);
    if (banner_.isEmpty()) {
        lblMessageRates->clear();
        Timer1->stop();
    } else {
        lblMessageRates->setText(banner_ + QString(8, QLatin1Char(' ')));
        Timer1->start();
    }
}

// -------------------------------------------------------------------- keys

widgets::EntryGrid::Enter frmAssessmentEntry::onEnter(int line, int column, const QString &text)
{
    Enter result = Enter::Stay;
    widgets::showingErrors([&] {
        result = Enter::Next;
        switch (column) {
        case colDept:
            result = enterDepartment(line, text);
            break;
        case colCode:
            result = enterCode(line, text);
            break;
        case colQuantity:
            result = enterQuantity(line, text);
            break;
        case colStat:
            result = enterStat(line, text);
            break;
        default:
            break;
        }
        if (result == Enter::Next && column == grdTable->lastColumn() &&
            line == grdTable->lineCount() && grdTable->lineCount() >= MaxItems &&
            grdTable->CompleteRow(line)) {
            box(QStringLiteral("Data entry is limited to 8 items only."), Icon::Information);
            grdTable->loadBox();
            result = Enter::Done;
        }
    });
    return result;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterDepartment(int line, const QString &text)
{
    const QString dept = text.trimmed().toUpper();
    if (!acceptedDepartment(connection_, dept)) {
        box(QStringLiteral("Invalid Code"), Icon::Information);
        return Enter::Stay;
    }
    // What was looked up under another department does not belong to this one.
    if (grdTable->text(line, colDept).trimmed() != dept) {
        grdTable->clearCells(line, colCode, assessColumnCount - 1);
        recomputeTotal();
    }
    grdTable->setText(line, colDept, dept);
    return Enter::Next;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterCode(int line, const QString &text)
{
    switch (itemKind(connection_, grdTable->text(line, colDept).trimmed())) {
    case ItemKind::Medicine:
        return enterMedicine(line, text);
    case ItemKind::Supply:
        return enterSupply(line, text);
    case ItemKind::Exam:
        break;
    }
    return enterExam(line, text);
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterExam(int line, const QString &text)
{
    const QString dept = grdTable->text(line, colDept).trimmed();
    const ExamRecord record = examRecord(dept);
    codeSearch_.setSearchMode(true);
    codeSearch_.setOtherSectionID(dept);
    if (!codeSearch_.SearchListing(text.trimmed(), record.kind))
        return Enter::Stay;
    auto field = [&](const char *column) {
        return examField(codeSearch_, record.kind, QLatin1String(column));
    };
    const QString code = field("ResultCode").trimmed();
    if (grdTable->Check_Code(code, line)) {
        box(QStringLiteral("Exam already selected."), Icon::Information);
        grdTable->clearCells(line, colCode, assessColumnCount - 1);
        grdTable->loadBox();
        recomputeTotal();
        return Enter::Stay;
    }
    charging::ServiceRates rates;
    if (globals().IsAllowAssessmentRateG)
        rates.RateG = field("RateG").toDouble();
    else
        rates.RateA = field("RateA").toDouble();
    AssessmentRow row;
    row.dept = dept;
    row.code = code;
    row.particular = field(record.nameField).trimmed();
    row.baseRate = charging::assessmentRate(rates, globals().IsAllowAssessmentRateG);
    row.quantity = QStringLiteral("1");
    row.markup = markupApplies(record.kind, rates_);
    row.stat = chkStat->isChecked();
    row.labSection = record.kind == ListKind::LABExam ? field("LabSectionID").trimmed() : QString();
    // Priced from the rate as the grid keeps it, to the cent, as any later
    // repricing reads it back.
    row.price =
        rowPrice(connection_, rates_, cellNumber(money(row.baseRate)), false, row.markup, row.stat);
    putRow(*grdTable, line, row);
    computeAmount(line);
    return Enter::Next;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterMedicine(int line, const QString &text)
{
    const QString location = departmentLocation(connection_, QStringLiteral("PH"));
    platform::Drug &drug = drugs_.Drug();
    QString code = text.trimmed();
    if (!session::IsNumeric(code)) {
        drugList_.setDrugsORCSR(false);
        txtEntry->setText(code);
        code = drugList_.ShowList(txtEntry, location).trimmed();
        txtEntry->setText(code.isEmpty() ? text : code);
    }
    if (code.isEmpty() || !drug.SearchDrug(code, location)) {
        box(QStringLiteral("Code Not Exists!"), Icon::Information);
        return Enter::Stay;
    }
    if (grdTable->Check_Code(drug.DrugCode(), line)) {
        box(QStringLiteral("Can't charge the same Medicine/Supply !"), Icon::Information);
        return Enter::Stay;
    }
    if (globals().allowZeroOnHand() &&
        components::stockOnHand(connection_, drug.DrugCode(), location) <= 0) {
        box(drug.DrugName() + QStringLiteral(" has no stocks left. The system can't process the "
                                             "specified item."),
            Icon::Information);
        return Enter::Stay;
    }
    putRow(*grdTable, line, stockedRow(line, drug.Invent().SellingPriceOut, location));
    computeAmount(line);
    return Enter::Next;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterSupply(int line, const QString &text)
{
    const QString dept = grdTable->text(line, colDept).trimmed();
    QString location = departmentLocation(connection_, dept);
    if (location.isEmpty())
        location = QStringLiteral("CS");
    platform::Drug &drug = drugs_.Drug();
    QString code = text.trimmed();
    drugList_.setDrugsORCSR(true);
    if (!session::IsNumeric(code)) {
        txtEntry->setText(code);
        code = drugList_.ShowList(txtEntry, location).trimmed();
        txtEntry->setText(code.isEmpty() ? text : code);
    }
    if (code.isEmpty() || !drug.SearchDrug(code, location)) {
        box(QStringLiteral("Code Not Exists!"), Icon::Information);
        return Enter::Stay;
    }
    if (grdTable->Check_Code(drug.DrugCode(), line)) {
        box(QStringLiteral("Supply already selected."), Icon::Information);
        return Enter::Stay;
    }
    const double price = charging::patientSellingPrice(patient_.inOut, drug.Invent().SellingPriceIn,
                                                       drug.Invent().SellingPriceOut);
    putRow(*grdTable, line, stockedRow(line, price, location));
    computeAmount(line);
    return Enter::Next;
}

// The row of the medicine or supply the catalogue last found, at `price`.
AssessmentRow frmAssessmentEntry::stockedRow(int line, double price, const QString &location)
{
    platform::Drug &drug = drugs_.Drug();
    AssessmentRow row;
    row.dept = grdTable->text(line, colDept).trimmed();
    row.code = drug.DrugCode();
    row.particular = drug.DrugName();
    row.price = price;
    row.baseRate = price;
    row.quantity = QStringLiteral("1");
    row.stocked = true;
    row.stat = chkStat->isChecked();
    row.location = location;
    return row;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterQuantity(int line, const QString &text)
{
    const QString typed = text.trimmed();
    bool numeric = false;
    const double quantity = typed.toDouble(&numeric);
    if (!typed.isEmpty() && (!numeric || !std::isfinite(quantity) || quantity < 0)) {
        box(QStringLiteral("Invalid Quantity.."), Icon::Critical, Information);
        return Enter::Stay;
    }
    if (cellNumber(grdTable->text(line, colPrice)) == 0) {
        box(QStringLiteral("Unable to proceed with Zero(0) amount Please Contact EDP for further "
                           "instruction."),
            Icon::Question, Information);
        return Enter::Stay;
    }
    const QString location = grdTable->text(line, colFlag).trimmed();
    if (yes(grdTable->text(line, colStocked)) && globals().allowZeroOnHand() && !typed.isEmpty()) {
        const double stock =
            components::stockOnHand(connection_, grdTable->text(line, colCode).trimmed(), location);
        if (quantity > stock) {
            box(QStringLiteral("Available stockOnhand for this item is : (") +
                    QString::number(stock, 'g', 15) + QStringLiteral(") ") +
                    QStringLiteral("\r\n") +
                    QStringLiteral(" Please enter quantity not greater than the stock onhand"),
                Icon::Information);
            grdTable->setText(line, colQuantity, QStringLiteral("1"));
            computeAmount(line);
            grdTable->loadBox();
            return Enter::Stay;
        }
    }
    if (typed.isEmpty()) {
        box(QStringLiteral("Input quantity."), Icon::Exclamation);
        return Enter::Stay;
    }
    grdTable->setText(line, colQuantity, typed);
    computeAmount(line);
    return Enter::Next;
}

widgets::EntryGrid::Enter frmAssessmentEntry::enterStat(int line, const QString &text)
{
    const QString stat = text.trimmed().toUpper();
    if (stat == QLatin1String("Y") && !chkStat->isChecked()) {
        chkStat->setChecked(true);
        repriceAll();
    } else if (stat == QLatin1String("N") && chkStat->isChecked()) {
        chkStat->setChecked(false);
        repriceAll();
    }
    if (!grdTable->text(line, colDept).trimmed().isEmpty() && stat.isEmpty())
        grdTable->setText(line, colStat,
                          chkStat->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    return Enter::Next;
}

// ----------------------------------------------------------------- prices

double frmAssessmentEntry::examPrice(int line)
{
    return rowPrice(connection_, rates_, cellNumber(grdTable->text(line, colBaseRate)),
                    yes(grdTable->text(line, colStocked)), yes(grdTable->text(line, colMarkup)),
                    chkStat->isChecked());
}

void frmAssessmentEntry::setPrice(int line, double price)
{
    grdTable->setText(line, colPrice, money(price));
}

void frmAssessmentEntry::computeAmount(int line)
{
    const QString quantity = grdTable->text(line, colQuantity).trimmed();
    grdTable->setText(line, colAmount,
                      quantity.isEmpty() ? QString()
                                         : money(cellNumber(quantity) *
                                                 cellNumber(grdTable->text(line, colPrice))));
    recomputeTotal();
}

void frmAssessmentEntry::recomputeTotal()
{
    txtGross->setText(money(grdTable->columnSum(colAmount)));
}

void frmAssessmentEntry::repriceAll()
{
    widgets::showingErrors([&] {
        for (int line = 1; line <= grdTable->lineCount(); ++line) {
            if (grdTable->text(line, colDept).trimmed().isEmpty() ||
                grdTable->text(line, colCode).trimmed().isEmpty())
                continue;
            // Medicines and supplies carry the flag but no surcharge.
            grdTable->setText(line, colStat, yesNo(chkStat->isChecked()));
            if (!yes(grdTable->text(line, colStocked)))
                setPrice(line, examPrice(line));
            computeAmount(line);
        }
    });
    recomputeTotal();
}

// ----------------------------------------------------------------- doctor

void frmAssessmentEntry::chooseDoctor()
{
    widgets::showingErrors([&] {
        codeSearch_.setSearchMode(true);
        if (!codeSearch_.SearchListing(txtDoctorID->text().trimmed(), ListKind::Doctor))
            return;
        auto field = [this](const char *column) {
            return codeSearch_.DoctorRecord(QLatin1String(column)).trimmed();
        };
        txtDoctorID->setText(field("ResultCode"));
        txtDoctor->setText(QStringLiteral("DR. ") + field("LastName") + QStringLiteral(", ") +
                           field("FirstName") + QLatin1Char(' ') + field("MiddleName"));
    });
}

void frmAssessmentEntry::lookUpDoctor()
{
    widgets::showingErrors([&] {
        codeSearch_.setSearchMode(false);
        const bool found =
            codeSearch_.SearchListing(txtDoctorID->text().trimmed(), ListKind::Doctor);
        codeSearch_.setSearchMode(true);
        if (!found) {
            txtDoctor->clear();
            return;
        }
        txtDoctor->setText(QStringLiteral("(PF) DR. ") +
                           codeSearch_.DoctorRecord(QStringLiteral("LastName")).trimmed() +
                           QStringLiteral(", ") +
                           codeSearch_.DoctorRecord(QStringLiteral("FirstName")).trimmed());
    });
}

// ----------------------------------------------------------------- actions

std::vector<AssessmentLine> frmAssessmentEntry::gridLines() const
{
    std::vector<AssessmentLine> lines;
    for (int line = 1; line <= grdTable->lineCount(); ++line) {
        if (grdTable->text(line, colDept).trimmed().isEmpty())
            continue;
        auto cell = [&](int column) { return grdTable->text(line, column).trimmed(); };
        lines.push_back({cell(colDept), cell(colCode), cell(colParticular), cell(colPrice),
                         cell(colQuantity), cell(colAmount), cell(colFlag)});
    }
    return lines;
}

AssessmentHeader frmAssessmentEntry::header() const
{
    return {txtSname->text(),
            txtIdnum->text().trimmed(),
            txtHospNum->text().trimmed(),
            txtDoctorID->text().trimmed(),
            txtDoctor->text(),
            patient_.employeeCode,
            txtRemarks->text(),
            packageCode_};
}

void frmAssessmentEntry::save(bool print)
{
    const std::vector<AssessmentLine> lines = gridLines();
    if (lines.empty()) {
        box(QStringLiteral("Cannot continue. No Data to save !"), Icon::Question, Information);
        return;
    }
    const AssessmentHeader head = header();
    bool saved = false;
    widgets::showingErrors([&] {
        if (auto refusal = checkAssessment(connection_, head, lines)) {
            showRefusal(*refusal);
            return;
        }
        const WaitCursor wait;
        assessmentNumber_ = saveAssessment(connection_, head, lines);
        saved = true;
    });
    if (!saved)
        return;
    if (!print) {
        charging::frmChargeSlipNo slip(this);
        slip.setChargeSlip(assessmentNumber_.trimmed());
        widgets::execModal(slip);
        accept();
        return;
    }
    // The assessment is saved; a failure here only leaves the print tables
    // without its lines.
    widgets::showingErrors([&] { dumpSlip(connection_, lines, patient_.employeeCode); });
    printer_(assessmentSlipPrint(assessmentNumber_, head.idNum, QStringLiteral("HD")), this);
    accept();
}

void frmAssessmentEntry::deleteRow()
{
    const int line = grdTable->currentLine();
    if (grdTable->text(line, colDept).trimmed().isEmpty()) {
        box(QStringLiteral("Row cannot be deleted because there are no entries yet."),
            Icon::Information, QStringLiteral("MESSAGE"));
        return;
    }
    if (!widgets::msgYesNo(QStringLiteral("Are you sure to delete the request?"),
                           QStringLiteral("MESSAGE")))
        return;
    grdTable->DeleteRow();
    recomputeTotal();
    grdTable->PutTextBox(colDept, grdTable->currentLine());
}

void frmAssessmentEntry::choosePackage()
{
    if (!packageDialog_)
        return;
    const QString code = packageDialog_(*grdTable, QStringLiteral("Assessment"), this).trimmed();
    if (code.isEmpty())
        return;
    packageCode_ = code;
    fraExams->setEnabled(false);
    recomputeTotal();
}

} // namespace chemodesk::assessment
