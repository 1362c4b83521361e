// The request entry screen: its controls, the Enter rules of its grid, and
// its buttons.

#include "requestentry.h"

#include "components/stockonhand.h"
#include "database/sqltext.h"
#include "frmreprintrequestform.h"
#include "platform/codesearch.h"
#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "platform/druglist.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "session/module1.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::requests {

using Enter = widgets::EntryGrid::Enter;
using session::globals;

namespace {

// Where the unit price of a line is kept, on its Amount cell.
constexpr int UnitPriceRole = Qt::UserRole + 1;

const QString PromptCode =
    QStringLiteral("Type Item Code or first 4 letters of Item Name then Press <Enter>....");
const QString PromptDosage =
    QStringLiteral("Type Dosage Code or first letters of Dosage Name then Press <Enter>....");
const QString PromptQuantity = QStringLiteral("Type Quantity to request then Press <Enter>....");
const QString PromptRemarks = QStringLiteral("Type Addition Remarks and then Press <Enter>....");

// A box with the program's title and no icon.
void plain(const QString &text)
{
    widgets::messages().message(text, widgets::defaultTitle(), widgets::MessageService::NoIcon);
}

void question(const QString &text, const QString &title)
{
    widgets::messages().message(text, title, widgets::MessageService::Question);
}

QString plainNumber(double value)
{
    return QString::number(value, 'g', 15);
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent, int index = -1)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (index >= 0)
        b->setProperty("index", index);
    return b;
}

} // namespace

RequestKind pharmacyKind()
{
    RequestKind k;
    k.screenName = QStringLiteral("frmPHEntry");
    k.caption = QStringLiteral("Pharmacy Request Entry");
    k.format = QStringLiteral(
        "<# |<Code |<Item Description    |<Dosage |<Quantity|<Amount |<Remarks    |");
    k.columns = 8;
    k.location = QStringLiteral("20");
    k.dosage = true;
    k.byGenericName = true;
    k.searchAtLocation = false;
    k.suppliesList = false;
    k.messageWhenNoPick = true;
    k.billingCheckFirst = true;
    k.sameItemMessage = QStringLiteral("Can't Request the Same Medicine!");
    k.saveButtonName = QStringLiteral("vkCommand1");
    k.reprintButtonCaption = QStringLiteral("Reprint");
    k.reprintType = QStringLiteral("PH");
    k.reprintCaption = QStringLiteral("Reprint Pharmacy Request Form");
    k.call = pharmacyCall(false);
    k.olderCall = pharmacyCall(true);
    return k;
}

RequestKind centralSupplyKind()
{
    RequestKind k;
    k.screenName = QStringLiteral("frmCSREntry");
    k.caption = QStringLiteral("Central Supply Request Entry");
    k.format =
        QStringLiteral("<# |<Code |<Item Description    |<Dosage |<Quantity|<Amount |<Remarks ");
    k.columns = 7;
    k.location = QStringLiteral("21");
    k.dosage = false;
    k.byGenericName = false;
    k.searchAtLocation = true;
    k.suppliesList = true;
    k.messageWhenNoPick = false;
    k.billingCheckFirst = false;
    k.sameItemMessage = QStringLiteral("Can't Request the Same Supply!");
    k.saveButtonName = QStringLiteral("vkcmdSave");
    k.reprintButtonCaption = QStringLiteral("&Reprint");
    k.reprintType = QStringLiteral("CS");
    k.reprintCaption = QStringLiteral("Reprint CSR Request Form");
    k.call = centralSupplyCall(false);
    k.olderCall = centralSupplyCall(true);
    return k;
}

RequestEntry::RequestEntry(RequestKind kind, Connection &connection, RequestComponents components,
                           RequestPatient patient, platform::MainPanel *panel, QWidget *parent)
    : QDialog(parent), kind_(std::move(kind)), connection_(connection),
      codeSearch_(components.codeSearch), drugs_(components.drugs), drugList_(components.drugList),
      keys_(components.keys), patient_(std::move(patient)), panel_(panel)
{
    setObjectName(kind_.screenName);
    setWindowTitle(kind_.caption);
    buildUi();
    txtHospNum->setText(patient_.hospNum);
    txtIDNum->setText(patient_.idNum);
    txtPatInOut->setText(patient_.inOut);
    txtPatientName->setText(patient_.name);
    cmdRePrint->setVisible(globals().AllowPrintRequestForm);
    mshflexEntry->PutTextBox(colCode, 1);
}

RequestEntry::~RequestEntry() = default;

// ------------------------------------------------------------------ layout

void RequestEntry::buildUi()
{
    auto *layout = new QVBoxLayout(this);

    auto *patientBox = new QGroupBox(this);
    auto *patientGrid = new QGridLayout(patientBox);
    txtHospNum = widgets::readOnlyBox("txtHospNum", patientBox);
    txtIDNum = widgets::readOnlyBox("txtIDNum", patientBox);
    txtPatInOut = widgets::readOnlyBox("txtPatInOut", patientBox);
    txtPatientName = widgets::readOnlyBox("txtPatientName", patientBox);
    txtPatInOut->setMaximumWidth(40);
    patientGrid->addWidget(new QLabel(QStringLiteral("Hosp. Num."), patientBox), 0, 0);
    patientGrid->addWidget(txtHospNum, 0, 1);
    patientGrid->addWidget(new QLabel(QStringLiteral("Adm. Num."), patientBox), 0, 2);
    patientGrid->addWidget(txtIDNum, 0, 3);
    patientGrid->addWidget(txtPatInOut, 0, 4);
    patientGrid->addWidget(new QLabel(QStringLiteral("Patient Name"), patientBox), 0, 5);
    patientGrid->addWidget(txtPatientName, 0, 6);
    patientGrid->setColumnStretch(6, 3);
    layout->addWidget(patientBox);

    mshflexEntry = new widgets::EntryGrid(&keys_, this);
    mshflexEntry->setObjectName(QStringLiteral("mshflexEntry"));
    mshflexEntry->setFocusPolicy(Qt::NoFocus);
    txtEntry = mshflexEntry->txtEntry;
    layout->addWidget(mshflexEntry, 1);

    auto *messageBox = new QGroupBox(QStringLiteral("Message"), this);
    auto *messageLayout = new QVBoxLayout(messageBox);
    lblMessage = new QLabel(messageBox);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    messageLayout->addWidget(lblMessage);
    layout->addWidget(messageBox);

    auto *bar = new QHBoxLayout;
    cmdSave = button(kind_.saveButtonName, QStringLiteral("&Save"), this);
    vkcmdDelete = button(QStringLiteral("vkcmdDelete"), QStringLiteral("&Delete"), this);
    cmdRePrint = button(QStringLiteral("cmdRePrint"), kind_.reprintButtonCaption, this);
    vkcmdClose = button(QStringLiteral("vkcmdClose"), QStringLiteral("&Close"), this);
    const char *const older[3] = {"&Save", "&Close", "&Delete"};
    for (int i = 0; i < 3; ++i) {
        cmdMedOption[i] = button(QStringLiteral("cmdMedOption"), QLatin1String(older[i]), this, i);
        cmdMedOption[i]->hide();
    }
    bar->addWidget(cmdSave);
    bar->addWidget(vkcmdDelete);
    bar->addWidget(cmdRePrint);
    bar->addStretch(1);
    bar->addWidget(vkcmdClose);
    layout->addLayout(bar);

    setUpGrid();
    resize(900, 480);

    connect(cmdSave, &QPushButton::clicked, this, &RequestEntry::saveRequest);
    connect(vkcmdDelete, &QPushButton::clicked, this, &RequestEntry::deleteLine);
    connect(cmdRePrint, &QPushButton::clicked, this, &RequestEntry::reprint);
    connect(vkcmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdMedOption[0], &QPushButton::clicked, this, &RequestEntry::saveOlderLayout);
    connect(cmdMedOption[1], &QPushButton::clicked, this, &RequestEntry::closeOlderLayout);
    connect(cmdMedOption[2], &QPushButton::clicked, this, &RequestEntry::deleteLine);
}

void RequestEntry::setUpGrid()
{
    using widgets::GridColumn;
    using widgets::KeyClass;
    // Column 0 takes an eleventh of the grid; the description four times the code.
    std::vector<GridColumn> columns = {
        {QString(), 500, 0, KeyClass::NotTyped, QString(), false},
        {QString(), 1000, 6, KeyClass::Upper, PromptCode, true},
        {QString(), 4000, 35, KeyClass::Upper, QString(), false},
        {QString(), 900, 8, KeyClass::Upper, kind_.dosage ? PromptDosage : QString(), kind_.dosage},
        {QString(), 900, 5, KeyClass::Digits, PromptQuantity, true},
        {QString(), 1000, 5, KeyClass::NotTyped, QString(), false},
        {QString(), 2400, 30, KeyClass::Upper, PromptRemarks, true},
    };
    if (kind_.columns > 7)
        columns.push_back({QString(), 0, 0, KeyClass::NotTyped, QString(), false});

    mshflexEntry->setPromptLabel(lblMessage);
    mshflexEntry->setQualifyingColumn(colCode);
    mshflexEntry->setCodeColumns(colCode);
    mshflexEntry->setExemptColumns(kind_.dosage ? QList<int>{colDescription, colAmount}
                                                : QList<int>{colDescription, colDosage, colAmount});
    widgets::EntryGrid::Rules rules;
    rules.onEnter = [this](int line, int column, const QString &text) {
        return onEnter(line, column, text);
    };
    rules.isComplete = [this](int line) { return CompleteRow(line); };
    rules.onDeleteKey = [this] { deleteLine(); };
    mshflexEntry->setRules(std::move(rules));
    mshflexEntry->setColumns(kind_.format, std::move(columns));
    if (kind_.columns > 7)
        mshflexEntry->setColumnHidden(colReference, true);
    mshflexEntry->horizontalHeader()->setStretchLastSection(false);
    mshflexEntry->horizontalHeader()->setSectionResizeMode(colDescription, QHeaderView::Stretch);
}

void RequestEntry::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3) {
        deleteLine();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ------------------------------------------------------------- line rules

bool RequestEntry::CompleteRow(int line) const
{
    const widgets::EntryGrid *g = mshflexEntry;
    return lineComplete({g->text(line, colCode), QString(), g->text(line, colDosage),
                         g->text(line, colQuantity), g->text(line, colAmount), QString(),
                         QString()},
                        kind_.dosage);
}

bool RequestEntry::Check_IfHMO(const QString &IdNum)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '") +
        sql::escape(IdNum) + QLatin1Char('\''));
    if (rs.atEnd())
        return false;
    return !session::IsNumeric(rs.Fields(QStringLiteral("AccountNum")).trimmed());
}

QString RequestEntry::attendingDoctor(const QString &idNum)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("select isnull(DoctorID1,'')as DoctorID1  from PATIENT_DATA..tbOutPatient "
                       "where IDnum = '") +
        sql::escape(idNum) + QLatin1Char('\''));
    return rs.atEnd() ? QString() : rs.Fields(QStringLiteral("DoctorID1")).trimmed();
}

double RequestEntry::unitPrice(int line) const
{
    const QTableWidgetItem *cell = mshflexEntry->item(line - 1, colAmount);
    return cell ? cell->data(UnitPriceRole).toDouble() : 0.0;
}

// Before a quantity the Amount cell shows the unit price itself.
void RequestEntry::setUnitPrice(int line, double price)
{
    mshflexEntry->setText(line, colAmount, plainNumber(price));
    mshflexEntry->item(line - 1, colAmount)->setData(UnitPriceRole, price);
}

// The amount follows every quantity written, from the unit price kept apart.
void RequestEntry::setQuantity(int line, const QString &quantity)
{
    mshflexEntry->setText(line, colQuantity, quantity);
    if (!quantity.trimmed().isEmpty() && !mshflexEntry->text(line, colAmount).isEmpty())
        mshflexEntry->setText(line, colAmount,
                              plainNumber(unitPrice(line) * quantity.trimmed().toDouble()));
}

Enter RequestEntry::onEnter(int line, int column, const QString &text)
{
    Enter result = Enter::Stay;
    widgets::showingErrors([&] {
        switch (column) {
        case colCode:
            result = enterCode(line, text);
            break;
        case colDosage:
            result = enterDosage(line, text);
            break;
        case colQuantity:
            result = enterQuantity(line, text);
            break;
        case colRemarks:
            result = enterRemarks(line, text);
            break;
        default:
            mshflexEntry->setText(line, column, text);
            result = Enter::Next;
            break;
        }
    });
    return result;
}

Enter RequestEntry::enterCode(int line, const QString &text)
{
    platform::Drug &drug = drugs_.Drug();
    const QString location = kind_.searchAtLocation ? kind_.location : QString();
    QString code = text.trimmed();
    // A number other than 0 is a code; anything else the first letters of a name.
    if (code.toDouble() == 0) {
        txtEntry->setText(code);
        drugList_.setDrugsORCSR(kind_.suppliesList);
        code = drugList_.ShowList(txtEntry, location).trimmed();
        txtEntry->setText(code);
        if (code.isEmpty()) {
            if (kind_.messageWhenNoPick)
                widgets::msgInformation(QStringLiteral("Please Enter Quantity!"));
            txtEntry->setText(text);
            return Enter::Stay;
        }
    }
    if (!drug.SearchDrug(code, location)) {
        plain(QStringLiteral("Code Not Exists!"));
        return Enter::Stay;
    }
    if (globals().allowZeroOnHand()) {
        stockOnHand_ = components::stockOnHand(connection_, drug.DrugCode(), kind_.location);
        if (stockOnHand_ == 0) {
            widgets::msgInformation(drug.DrugName() +
                                    QStringLiteral(" has no stocks left. The system can't process "
                                                   "the specified item."));
            mshflexEntry->clearCells(line, colCode, colRemarks);
            mshflexEntry->loadBox();
            return Enter::Stay;
        }
    }
    if (drug.Status()) {
        widgets::msgExclamation(QStringLiteral("Record is inactive...please reenter..."),
                                QStringLiteral("Message"));
        return Enter::Stay;
    }
    code = drug.DrugCode();
    if (Check_Code(code, line)) {
        plain(kind_.sameItemMessage);
        txtEntry->clear();
        return Enter::Stay;
    }
    // What was on the line for another item does not belong to this one.
    if (mshflexEntry->text(line, colCode).trimmed() != code)
        mshflexEntry->clearCells(line, colDescription, colAmount);
    mshflexEntry->setText(line, colCode, code);
    const platform::InventPrices &prices = drug.Invent();
    double price = prices.SellingPriceIn;
    if (kind_.byGenericName && globals().DrugListByGeneric) {
        if (drug.Generic().search(code))
            mshflexEntry->setText(line, colDescription,
                                  drug.Generic().GenericName() + QLatin1Char('(') +
                                      drug.Generic().ClassificationName() + QLatin1Char(')'));
        price = patient_.inOut.trimmed() == QLatin1String("I") ? prices.SellingPriceIn
                                                               : prices.SellingPriceOut;
        mshflexEntry->setText(line, colDosage, QStringLiteral("PRN"));
        mshflexEntry->setText(line, colDescription, drug.DrugName());
        setUnitPrice(line, price);
        setQuantity(line, QStringLiteral("1"));
        return Enter::Next;
    }
    const QString idNum = patient_.idNum.trimmed();
    if (idNum.endsWith(QLatin1Char('B'), Qt::CaseInsensitive))
        price = Check_IfHMO(idNum) ? prices.SellingPriceIn : prices.SellingPriceOut;
    mshflexEntry->setText(line, colDescription, drug.DrugName());
    setUnitPrice(line, price);
    // A quantity already on the line is priced again.
    if (!mshflexEntry->text(line, colQuantity).trimmed().isEmpty())
        setQuantity(line, mshflexEntry->text(line, colQuantity));
    return Enter::Next;
}

Enter RequestEntry::enterDosage(int line, const QString &text)
{
    if (!codeSearch_.SearchListing(text.trimmed(), platform::ListKind::Dosage)) {
        plain(QStringLiteral("Dosage Code Does not Exist !"));
        return Enter::Stay;
    }
    mshflexEntry->setText(line, colDosage,
                          codeSearch_.DosageRecord(QStringLiteral("ResultCode")).trimmed());
    setQuantity(line, codeSearch_.DosageRecord(QStringLiteral("Frequency")).trimmed());
    return Enter::Next;
}

Enter RequestEntry::enterQuantity(int line, const QString &text)
{
    const double quantity = text.trimmed().toDouble();
    if (quantity <= 0) {
        plain(QStringLiteral("Quantity should be greater than zero!"));
        return Enter::Stay;
    }
    if (globals().allowZeroOnHand()) {
        // The stock of the line's own item, whichever line the cursor came from.
        stockOnHand_ = components::stockOnHand(
            connection_, mshflexEntry->text(line, colCode).trimmed(), kind_.location);
        if (quantity > stockOnHand_) {
            widgets::msgInformation(
                QStringLiteral("Available stockOnhand for this item is : (") +
                plainNumber(stockOnHand_) + QStringLiteral(") ") + QStringLiteral("\r\n") +
                QStringLiteral(" Please enter quantity not greater than the stock onhand"));
            setQuantity(line, QStringLiteral("1"));
            mshflexEntry->loadBox();
            return Enter::Stay;
        }
    }
    setQuantity(line, plainNumber(quantity));
    return Enter::Next;
}

Enter RequestEntry::enterRemarks(int line, const QString &text)
{
    mshflexEntry->setText(line, colRemarks, text);
    if (CompleteRow(line))
        AddRow();
    return Enter::Next;
}

// ------------------------------------------------------------------- save

std::vector<RequestLine> RequestEntry::gridLines() const
{
    std::vector<RequestLine> lines;
    const widgets::EntryGrid *g = mshflexEntry;
    for (int line = 1; line <= g->lineCount(); ++line)
        lines.push_back({g->text(line, colCode), g->text(line, colDescription),
                         g->text(line, colDosage), g->text(line, colQuantity),
                         g->text(line, colAmount), g->text(line, colRemarks),
                         kind_.columns > 7 ? g->text(line, colReference) : QString()});
    return lines;
}

bool RequestEntry::anyCompleteLine() const
{
    for (int line = 1; line <= mshflexEntry->lineCount(); ++line)
        if (CompleteRow(line))
            return true;
    return false;
}

bool RequestEntry::send(const LogBookCall &call, const RequestHeader &header)
{
    try {
        requests::saveRequest(connection_, call, header, gridLines(), kind_.dosage);
        return true;
    } catch (const DatabaseError &e) {
        // Nothing of the request was kept; the lines stay to be saved again.
        widgets::msgCritical(QStringLiteral("The request was not saved:\n") + e.message());
        return false;
    }
}

void RequestEntry::saveRequest()
{
    bool saved = false;
    widgets::showingErrors([&] {
        RequestHeader header;
        header.hospNum = txtHospNum->text();
        header.idNum = txtIDNum->text();
        header.doctorId = attendingDoctor(header.idNum);
        auto billClosed = [&] {
            if (!session::IsAccountBilled(connection_, header.idNum))
                return false;
            widgets::msgInformation(QStringLiteral("Patient's bill has been closed.  Please "
                                                   "verify with Billing section."),
                                    QStringLiteral("MESSAGE"));
            return true;
        };
        auto nothingToSave = [&] {
            if (anyCompleteLine())
                return false;
            question(QStringLiteral("Cannot continue. No Data to save !"),
                     QStringLiteral("Information"));
            return true;
        };
        if (kind_.billingCheckFirst ? billClosed() || nothingToSave()
                                    : nothingToSave() || billClosed())
            return;
        header.inOut = txtPatInOut->text();

        globals().ReasonRequired = false;
        globals().ValidatedUserId.clear();
        session::frmUserValidation dialog(connection_, this);
        widgets::execModal(dialog);
        header.userId = globals().ValidatedUserId.trimmed();
        if (header.userId.isEmpty())
            return;

        session::GetServerDate(connection_);
        if (!globals().ServerDate.isValid())
            throw DatabaseError(QStringLiteral("The server's date and time could not be read."));
        header.dateTime = requestDate(globals().ServerDate);
        saved = send(kind_.call, header);
    });
    if (!saved)
        return;
    widgets::msgInformation(QStringLiteral("Successfully Saved..."),
                            QStringLiteral("Hemodialysis"));
    accept();
}

// The older layout's save: the patient the screen was opened on (the
// datasheet's), the signed-in employee, no access code.
void RequestEntry::saveOlderLayout()
{
    try {
        RequestHeader header;
        header.hospNum = patient_.hospNum;
        header.idNum = patient_.idNum;
        header.inOut = txtPatInOut->text();
        header.doctorId = attendingDoctor(header.idNum);
        header.userId = patient_.employeeCode;
        session::GetServerDate(connection_);
        if (!globals().ServerDate.isValid())
            throw DatabaseError(QStringLiteral("The server's date and time could not be read."));
        header.dateTime = requestDate(globals().ServerDate);
        if (!send(kind_.olderCall, header))
            return;
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    widgets::msgInformation(QStringLiteral("Successfully Saved..."),
                            QStringLiteral("CANCER DEPARTMENT"));
    accept();
}

void RequestEntry::closeOlderLayout()
{
    if (widgets::msgOkCancel(QStringLiteral("Are you sure to close this program?"),
                             QStringLiteral("OPD Registration System")))
        reject();
}

// ----------------------------------------------------------- delete, reprint

void RequestEntry::deleteLine()
{
    bool anyEntry = false;
    for (int line = 1; line <= mshflexEntry->lineCount() && !anyEntry; ++line)
        anyEntry = QualifiedRow(line);
    if (!anyEntry) {
        question(QStringLiteral("Cannot continue. No Data to delete !"),
                 QStringLiteral("Information"));
        return;
    }
    if (!widgets::confirmLineDeletion(QualifiedRow(mshflexEntry->currentLine())))
        return;
    mshflexEntry->DeleteRow();
}

void RequestEntry::reprint()
{
    openReprintRequestForm(connection_, patient_.hospNum, kind_.reprintType, kind_.reprintCaption,
                           this);
}

} // namespace chemodesk::requests
