#include "frmrequest.h"

#include "database/sqltext.h"
#include "platform/codesearch.h"
#include "platform/connection.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::requests {

namespace {

using Enter = widgets::EntryGrid::Enter;
using platform::ListKind;

const QString GridFormat = QStringLiteral(
    " |<CODE|<DESCRIPTION                                      |<QTY|<AMOUNT|<SECTION|STAT|"
    "<REMARKS");

std::vector<widgets::GridColumn> requestColumns()
{
    using widgets::KeyClass;
    // header (from the format string), width in twips, maximum length, keys, prompt, editable
    return {
        {{}, 400, 0, KeyClass::NotTyped, {}, false},
        {{},
         1000,
         10,
         KeyClass::Upper,
         QStringLiteral("Type the Examination Code or First Letter(s) of the Examination name "
                        "then Press the <Enter> Key"),
         true},
        {{}, 4200, 0, KeyClass::NotTyped, {}, false},
        {{}, 600, 3, KeyClass::Digits, {}, true},
        {{}, 1000, 0, KeyClass::NotTyped, {}, false},
        {{}, 900, 0, KeyClass::NotTyped, {}, false},
        {{},
         600,
         1,
         KeyClass::Upper,
         QStringLiteral("Type [Y]-YES if the Exam. is STAT and [N]-NO if it is Routine"),
         true},
        {{}, 2600, 30, KeyClass::Upper, QStringLiteral("Type additional Remarks....."), true},
    };
}

QString amountText(double value)
{
    return QString::number(value, 'f', 2);
}

QString normalisedClass(const QString &rateClass)
{
    const QString c = rateClass.trimmed().toUpper();
    static const QStringList classes = {QStringLiteral("A"), QStringLiteral("B"),
                                        QStringLiteral("C"), QStringLiteral("D"),
                                        QStringLiteral("E")};
    return classes.contains(c) ? c : QStringLiteral("A");
}

} // namespace

frmRequest::frmRequest(Connection &connection, ExamOrderComponents components,
                       const QString &department, const QString &rateClass, QStringList ordersList,
                       QWidget *parent)
    : QDialog(parent), connection_(connection), codeSearch_(components.codeSearch),
      department_(department.trimmed().toUpper()), rateClass_(normalisedClass(rateClass)),
      ordersList_(std::move(ordersList))
{
    setObjectName(QStringLiteral("frmRequest"));
    const QString title = department_ == QLatin1String("LB")   ? QStringLiteral("Laboratory")
                          : department_ == QLatin1String("XR") ? QStringLiteral("X-Ray")
                          : department_ == QLatin1String("US") ? QStringLiteral("Ultrasound")
                                                               : department_;
    setWindowTitle(title + QStringLiteral(" Request"));

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Department"), this));
    txtDept = new QLineEdit(department_, this);
    txtDept->setObjectName(QStringLiteral("txtDept"));
    txtDept->setReadOnly(true);
    txtDept->setFocusPolicy(Qt::NoFocus);
    txtDept->setMaximumWidth(60);
    top->addWidget(txtDept);
    top->addWidget(new QLabel(QStringLiteral("Rate Class ") + rateClass_, this));
    top->addStretch(1);

    mshflexEntry = new widgets::EntryGrid(components.keys, this);
    mshflexEntry->setObjectName(QStringLiteral("mshflexEntry"));
    mshflexEntry->setFocusPolicy(Qt::NoFocus);
    txtEntry = mshflexEntry->txtEntry;

    auto *messageFrame = new QGroupBox(QStringLiteral("Message"), this);
    auto *messageLayout = new QVBoxLayout(messageFrame);
    lblMessage = new QLabel(messageFrame);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    messageLayout->addWidget(lblMessage);

    cmdOK = widgets::namedButton(this, "cmdOK", QStringLiteral("&OK"));
    cmdDelete = widgets::namedButton(this, "cmdDelete", QStringLiteral("&Delete"));
    cmdCancel = widgets::namedButton(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mshflexEntry, 1);
    layout->addWidget(messageFrame);
    layout->addLayout(widgets::buttonRow({cmdOK, cmdDelete, cmdCancel}));
    resize(900, 420);

    mshflexEntry->setPromptLabel(lblMessage);
    mshflexEntry->setQualifyingColumn(colCode);
    mshflexEntry->setCodeColumns(colCode);
    mshflexEntry->setRequiredColumns({colCode, colDescription, colQuantity, colStat});
    widgets::EntryGrid::Rules rules;
    rules.onEnter = [this](int line, int column, const QString &text) {
        return onEnter(line, column, text);
    };
    rules.onDeleteKey = [this] { deleteLine(); };
    mshflexEntry->setRules(std::move(rules));
    mshflexEntry->setColumns(GridFormat, requestColumns());
    mshflexEntry->horizontalHeader()->setStretchLastSection(false);
    mshflexEntry->horizontalHeader()->setSectionResizeMode(colDescription, QHeaderView::Stretch);
    mshflexEntry->resetLines();
    mshflexEntry->PutTextBox(colCode, 1);

    connect(cmdOK, &QPushButton::clicked, this, &frmRequest::acceptOrders);
    connect(cmdDelete, &QPushButton::clicked, this, &frmRequest::deleteLine);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmRequest::~frmRequest() = default;

std::vector<ExamOrder> frmRequest::orders() const
{
    std::vector<ExamOrder> out;
    const widgets::EntryGrid *g = mshflexEntry;
    for (int line = 1; line <= g->lineCount(); ++line) {
        if (!g->CompleteRow(line))
            continue;
        out.push_back({g->text(line, colCode).trimmed(), g->text(line, colDescription).trimmed(),
                       g->text(line, colQuantity).trimmed(), g->text(line, colAmount).trimmed(),
                       g->text(line, colSection).trimmed(), g->text(line, colStat).trimmed(),
                       g->text(line, colRemarks).trimmed()});
    }
    return out;
}

void frmRequest::acceptOrders()
{
    accept();
}

void frmRequest::deleteLine()
{
    const int line = mshflexEntry->currentLine();
    if (!widgets::confirmLineDeletion(mshflexEntry->QualifiedRow(line)))
        return;
    mshflexEntry->DeleteRow();
}

Enter frmRequest::onEnter(int line, int column, const QString &text)
{
    switch (column) {
    case colCode:
        try {
            return enterCode(line, text);
        } catch (const DatabaseError &e) {
            widgets::msgCritical(e.message());
            return Enter::Stay;
        }
    case colQuantity:
        return enterQuantity(line, text);
    case colStat: {
        const QString stat = text.trimmed().toUpper();
        if (stat.isEmpty()) {
            mshflexEntry->setText(line, colStat, QStringLiteral("N"));
            return Enter::Next;
        }
        if (stat != QLatin1String("Y") && stat != QLatin1String("N"))
            return Enter::Stay;
        mshflexEntry->setText(line, colStat, stat);
        return Enter::Next;
    }
    default:
        mshflexEntry->setText(line, column, text.trimmed());
        return Enter::Next;
    }
}

void frmRequest::refuse(const QString &text, const QString &title)
{
    widgets::msgExclamation(text, title);
    txtEntry->clear();
}

Enter frmRequest::enterCode(int line, const QString &text)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return Enter::Stay;
    Exam exam;
    if (!lookUp(typed, exam))
        return Enter::Stay;
    if (mshflexEntry->Check_Code(exam.code, line)) {
        refuse(QStringLiteral("Can't Request the Same Examination!"), QStringLiteral("Message"));
        return Enter::Stay;
    }
    for (const QString &ordered : ordersList_) {
        if (ordered.trimmed().compare(exam.code, Qt::CaseInsensitive) == 0) {
            refuse(QStringLiteral("Examination is already in the Orders List!"), QString());
            return Enter::Stay;
        }
    }
    mshflexEntry->setText(line, colCode, exam.code);
    mshflexEntry->setText(line, colDescription, exam.name);
    mshflexEntry->setText(line, colQuantity, QStringLiteral("1"));
    setUnitRate(line, exam.rate);
    mshflexEntry->setText(line, colAmount, amountText(exam.rate));
    mshflexEntry->setText(line, colSection, exam.section);
    mshflexEntry->setText(line, colStat, QStringLiteral("N"));
    return Enter::Next;
}

Enter frmRequest::enterQuantity(int line, const QString &text)
{
    const int quantity = text.trimmed().toInt();
    if (quantity <= 0) {
        widgets::msgInformation(QStringLiteral("Quantity should be greater than zero!"));
        return Enter::Stay;
    }
    mshflexEntry->setText(line, colQuantity, QString::number(quantity));
    // From the rate kept beside the line, so entering the quantity again does
    // not multiply the amount again.
    mshflexEntry->setText(line, colAmount, amountText(unitRate(line) * quantity));
    return Enter::Next;
}

bool frmRequest::lookUp(const QString &typed, Exam &exam)
{
    const QString rate = QStringLiteral("Rate") + rateClass_;
    codeSearch_.setSearchMode(true);
    if (department_ == QLatin1String("LB")) {
        if (!codeSearch_.SearchListing(typed, ListKind::LABExam))
            return false;
        exam = {codeSearch_.LABExamRecord(QStringLiteral("ResultCode")).trimmed(),
                codeSearch_.LABExamRecord(QStringLiteral("LabExam")).trimmed(),
                codeSearch_.LABExamRecord(QStringLiteral("LabSectionID")).trimmed(),
                codeSearch_.LABExamRecord(rate).toDouble()};
        return true;
    }
    if (department_ == QLatin1String("XR")) {
        if (!codeSearch_.SearchListing(typed, ListKind::XRayExam))
            return false;
        exam = {codeSearch_.XRayExamRecord(QStringLiteral("ResultCode")).trimmed(),
                codeSearch_.XRayExamRecord(QStringLiteral("XrayExam")).trimmed(), QString(),
                codeSearch_.XRayExamRecord(rate).toDouble()};
        return true;
    }
    if (department_ == QLatin1String("US")) {
        if (ultrasound(typed, exam))
            return true;
        // Not a code: the first letters of a name, through the pick list.
        if (!codeSearch_.SearchListing(typed, ListKind::UltraSound))
            return false;
        return ultrasound(codeSearch_.UltraSoundRecord(QStringLiteral("ResultCode")).trimmed(),
                          exam);
    }
    return false;
}

bool frmRequest::ultrasound(const QString &code, Exam &exam)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("select * from build_file..tbcoultraexam where ultraexamid = '") +
        sql::escape(code) + QLatin1Char('\''));
    if (rs.atEnd())
        return false;
    exam = {rs.Fields(QStringLiteral("ultraexamid")).trimmed(),
            rs.Fields(QStringLiteral("Ultraexam")).trimmed(), QString(),
            rs.Fields(QStringLiteral("Rate") + rateClass_).toDouble()};
    return true;
}

void frmRequest::setUnitRate(int line, double rate)
{
    mshflexEntry->setText(line, colAmount, mshflexEntry->text(line, colAmount));
    if (QTableWidgetItem *it = mshflexEntry->item(line - 1, colAmount))
        it->setData(Qt::UserRole, rate);
}

double frmRequest::unitRate(int line) const
{
    const QTableWidgetItem *it = mshflexEntry->item(line - 1, colAmount);
    return it ? it->data(Qt::UserRole).toDouble() : 0;
}

} // namespace chemodesk::requests
