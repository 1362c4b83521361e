// What Enter does in each column of the charge entry grid: the department,
// the item (medicine or supply from stock, doctor, discount, service), the
// quantity, a changed unit price, a typed amount and the stat flag.
// Every refusal leaves the cursor in the cell that caused it.

#include "chargelines.h"
#include "components/stockonhand.h"
#include "frmcharge.h"
#include "linepricing.h"
#include "pricerules.h"
#include "revenuecode.h"
#include "serviceprice.h"

#include "packages/clsbuildpack.h"
#include "platform/codesearch.h"
#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "platform/druglist.h"
#include "session/globals.h"
#include "session/module1.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace chemodesk::charging {

using Enter = widgets::EntryGrid::Enter;
using session::globals;

namespace {

// A box with the program's title and no icon.
void plain(const QString &text, const QString &title = {})
{
    widgets::messages().message(text, title.isEmpty() ? widgets::defaultTitle() : title,
                                widgets::MessageService::NoIcon);
}

void question(const QString &text, const QString &title)
{
    widgets::messages().message(text, title, widgets::MessageService::Question);
}

const QString Information = QStringLiteral("Information");

} // namespace

widgets::EntryGrid::Enter frmCharge::onEnter(int line, int column, const QString &text)
{
    Enter result = Enter::Stay;
    widgets::showingErrors([&] {
        switch (column) {
        case colDept:
            result = enterDepartment(line, text);
            break;
        case colItem:
            result = enterItem(line, text);
            break;
        case colQuantity:
            result = enterQuantity(line, text);
            break;
        case colUnitPrice:
            result = enterUnitPrice(line, text);
            break;
        case colAmount:
            result = enterAmount(line, text);
            break;
        case colStat:
            result = enterStat(line, text);
            break;
        default:
            result = Enter::Next;
            break;
        }
    });
    return result;
}

// ------------------------------------------------------------- department

widgets::EntryGrid::Enter frmCharge::enterDepartment(int line, const QString &text)
{
    const QString code = text.trimmed().toUpper();
    // A package's line keeps its department; the cursor passes on.
    if (!packageOf(line).isEmpty() &&
        mshflexEntry->text(line, colDept).trimmed().compare(code, Qt::CaseInsensitive) == 0)
        return Enter::Next;
    if (!code.isEmpty() &&
        packages::clsBuildPack(connection_, patient_.employeeCode).CheckPackCode(code)) {
        takePackage(line, code);
        return Enter::Done;
    }
    if (!CheckDepartment(code)) {
        plain(QStringLiteral("Department Code Not Exist!!!"));
        return Enter::Stay;
    }
    // What was looked up under another department does not belong to this one.
    if (mshflexEntry->text(line, colDept).trimmed().compare(code, Qt::CaseInsensitive) != 0) {
        mshflexEntry->clearCells(line, colItem, chargeColumnCount - 1);
        recomputeTotal();
    }
    mshflexEntry->setText(line, colDept, code);
    department_ = code;
    stocked_ = false;
    location_.clear();
    mshflexEntry->setExemptColumns(exemptColumnsFor(code));
    return Enter::Next;
}

// ------------------------------------------------------------------- item

widgets::EntryGrid::Enter frmCharge::enterItem(int line, const QString &text)
{
    lblMessage->setText(QStringLiteral("Type how many quantity to charge..."));
    department_ = mshflexEntry->text(line, colDept).trimmed();
    if (isDoctorLine(department_))
        return enterDoctorItem(line, text);
    if (isDiscountLine(department_))
        return enterDiscountItem(line, text);
    if (Check_LocationID(department_))
        return enterStockedItem(line, text);
    return enterService(line, text);
}

bool frmCharge::Check_LocationID(const QString &code)
{
    stocked_ = CheckLocationID(connection_, code, location_, stockcardRevenue_);
    return stocked_;
}

double frmCharge::onHand(const QString &item, const QString &location)
{
    return components::stockOnHand(connection_, item, location);
}

widgets::EntryGrid::Enter frmCharge::enterStockedItem(int line, const QString &text)
{
    ipdPrice_ = GetIPDPrice(connection_, patient_.idNum);
    platform::Drug &drug = drugs_.Drug();
    QString code = text.trimmed();
    if (!session::IsNumeric(code)) {
        txtEntry->setText(code);
        code = drugList_.ShowList(txtEntry, location_).trimmed();
        txtEntry->setText(code.isEmpty() ? text : code);
    }
    if (code.isEmpty() || !drug.SearchDrug(code, location_)) {
        plain(QStringLiteral("Code Not Exists!"));
        return Enter::Stay;
    }
    const QString item = drug.DrugCode();
    if (globals().allowZeroOnHand() && onHand(item, location_) <= 0) {
        widgets::msgInformation(drug.DrugName() +
                                QStringLiteral(" has no stocks left. The system can't process the "
                                               "specified item."));
        // Nothing of the line's former item may stay behind either.
        mshflexEntry->clearCells(line, colItem, chargeColumnCount - 1);
        mshflexEntry->loadBox();
        recomputeTotal();
        return Enter::Stay;
    }
    if (Check_Code(item, line)) {
        plain(QStringLiteral("Can't charge the same Medicine/Supply !"));
        return Enter::Stay;
    }
    // Items taken off the formulary are not issued any more.
    if (drug.Status()) {
        widgets::msgExclamation(QStringLiteral("Record is inactive...please reenter..."),
                                QStringLiteral("Message"));
        return Enter::Stay;
    }
    mshflexEntry->setText(line, colItem, item);
    mshflexEntry->setText(line, colDescription, drug.DrugName());
    mshflexEntry->setText(line, colLocation, location_);
    mshflexEntry->setText(line, colStockcardRevenue, stockcardRevenue_);
    mshflexEntry->setText(line, colItemFlags, QString());
    if (mshflexEntry->text(line, colStat).trimmed().isEmpty())
        mshflexEntry->setText(line, colStat, QStringLiteral("N"));
    const double price = MedicinePrice(ipdPrice_, chkDiscounted->isChecked(),
                                       drug.Invent().SellingPriceIn, drug.Invent().SellingPriceOut);
    setUnitPrice(line, price);
    computeAmount(line);
    if (price == 0) {
        question(QStringLiteral("Cant proceed with zero amount. Please contact MIS department."),
                 Information);
        return Enter::Stay;
    }
    return Enter::Next;
}

widgets::EntryGrid::Enter frmCharge::enterDoctorItem(int line, const QString &text)
{
    codeSearch_.setSearchMode(true);
    if (!codeSearch_.SearchListing(text.trimmed(), platform::ListKind::Doctor))
        return Enter::Stay;
    const QString code = codeSearch_.DoctorRecord(QStringLiteral("ResultCode")).trimmed();
    if (Check_Code(code, line)) {
        plain(QStringLiteral("Can't charge the same Service !"));
        return Enter::Stay;
    }
    mshflexEntry->setText(line, colItem, code);
    mshflexEntry->setText(
        line, colDescription,
        QStringLiteral("DR. ") + codeSearch_.DoctorRecord(QStringLiteral("FirstName")).trimmed() +
            QLatin1Char(' ') + codeSearch_.DoctorRecord(QStringLiteral("LastName")).trimmed());
    mshflexEntry->setText(line, colQuantity, QStringLiteral("1"));
    setUnitPrice(line, 0);
    mshflexEntry->setText(line, colAmount, QStringLiteral("0"));
    recomputeTotal();
    mshflexEntry->PutTextBox(colAmount, line);
    return Enter::Done;
}

// A discount line carries the code typed, or its department's when none was.
widgets::EntryGrid::Enter frmCharge::enterDiscountItem(int line, const QString &text)
{
    const QString code = text.trimmed().isEmpty() ? department_ : text.trimmed().toUpper();
    mshflexEntry->setText(line, colItem, code);
    mshflexEntry->setText(line, colDescription, QStringLiteral("PATIENT DISCOUNT "));
    if (mshflexEntry->text(line, colQuantity).trimmed().isEmpty())
        mshflexEntry->setText(line, colQuantity, QStringLiteral("1"));
    if (mshflexEntry->text(line, colUnitPrice).trimmed().isEmpty())
        setUnitPrice(line, 0);
    mshflexEntry->PutTextBox(colAmount, line);
    return Enter::Done;
}

widgets::EntryGrid::Enter frmCharge::enterService(int line, const QString &text)
{
    codeSearch_.setOtherSectionID(department_);
    codeSearch_.setSearchMode(true);
    if (!codeSearch_.SearchListing(text.trimmed(), platform::ListKind::OtherRevenue))
        return Enter::Stay;
    auto record = [this](const char *column) {
        return codeSearch_.OtherRevenueRecord(QLatin1String(column));
    };
    const QString code = record("ResultCode").trimmed();
    if (Check_Code(code, line)) {
        plain(QStringLiteral("Can't charge the same Service !"));
        return Enter::Stay;
    }
    mshflexEntry->setText(line, colItem, code);
    mshflexEntry->setText(line, colDescription, record("OtherRevenue").trimmed());
    mshflexEntry->setText(line, colQuantity, QStringLiteral("1"));
    mshflexEntry->setText(line, colStat, QStringLiteral("N"));
    mshflexEntry->setText(line, colLocation, QString());
    mshflexEntry->setText(line, colStockcardRevenue, QString());
    fixRate_ = record("Fixrate").trimmed().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0;
    mshflexEntry->setText(line, colItemFlags, fixRate_ ? QStringLiteral("Y") : QStringLiteral("N"));

    ServiceRates rates;
    rates.RateA = record("RateA").toDouble();
    rates.RateB = record("RateB").toDouble();
    rates.RateC = record("RateC").toDouble();
    rates.RateD = record("RateD").toDouble();
    rates.RateE = record("RateE").toDouble();
    rates.RateH = record("RateH").toDouble();
    rates.RateI = record("RateI").toDouble();
    const ServicePrice price = ServiceBasePrice(connection_, rates_, patient_.inOut, patient_.idNum,
                                                department_, code, rates);
    setUnitPrice(line, price.value);
    mshflexEntry->setText(line, colUnitPrice, price.text);
    computeAmount(line);
    return Enter::Next;
}

// --------------------------------------------------------------- quantity

widgets::EntryGrid::Enter frmCharge::enterQuantity(int line, const QString &text)
{
    lblMessage->setText(QStringLiteral("Type the Charging Code..(See Department Codes for the "
                                       "list) click View help Code to view list of code"));
    const QString dept = mshflexEntry->text(line, colDept).trimmed();
    const double quantity = text.trimmed().toDouble();
    if (!isTypedAmountLine(dept) && quantity <= 0) {
        plain(QStringLiteral("Quantity should be greater than Zero!"));
        return Enter::Stay;
    }
    const QString location = mshflexEntry->text(line, colLocation).trimmed();
    const QString item = mshflexEntry->text(line, colItem).trimmed();
    if (!location.isEmpty() && globals().allowZeroOnHand()) {
        const double stock = onHand(item, location);
        if (quantity > stock) {
            widgets::msgInformation(
                QStringLiteral("Available stockOnhand for this item is : (") +
                QString::number(stock, 'g', 15) + QStringLiteral(") ") + QLatin1Char('\n') +
                QStringLiteral(" Please enter quantity not greater than the stock onhand"));
            mshflexEntry->setText(line, colQuantity, QStringLiteral("1"));
            computeAmount(line);
            mshflexEntry->loadBox();
            return Enter::Stay;
        }
    }
    mshflexEntry->setText(line, colQuantity, text.trimmed());
    if (!isDoctorLine(dept) && mshflexEntry->text(line, colUnitPrice).trimmed().toDouble() == 0) {
        plain(QStringLiteral("Unable to proceed Zero Unit Price, Please Contact MIS Department ") +
              QLatin1Char('\n') + QStringLiteral(" for further instruction!"));
        return Enter::Stay;
    }
    computeAmount(line);
    return Enter::Next;
}

// ------------------------------------------------------ unit price, amount

widgets::EntryGrid::Enter frmCharge::enterUnitPrice(int line, const QString &text)
{
    const double typed = text.trimmed().toDouble();
    if (typed <= 0) {
        plain(QStringLiteral("Quantity should be greater than Zero!"), QStringLiteral("Message"));
        return Enter::Stay;
    }
    if (typed < mshflexEntry->text(line, colUnitPrice).trimmed().toDouble()) {
        plain(QStringLiteral("Quantity should be greater than original value!"));
        mshflexEntry->loadBox();
        return Enter::Stay;
    }
    setUnitPrice(line, withCardSurcharge(typed, txtVisa->text()));
    computeAmount(line);
    mshflexEntry->nextLine();
    return Enter::Done;
}

widgets::EntryGrid::Enter frmCharge::enterAmount(int line, const QString &text)
{
    const QString typed = text.trimmed();
    mshflexEntry->setText(line, colAmount,
                          typed.isEmpty() ? QString() : formatAmount(typed.toDouble()));
    recomputeTotal();
    return Enter::Next;
}

// ------------------------------------------------------------------- stat

widgets::EntryGrid::Enter frmCharge::enterStat(int line, const QString &text)
{
    const QString stat = text.trimmed();
    QTableWidgetItem *priceCell = mshflexEntry->item(line - 1, colUnitPrice);
    const bool wasStat = priceCell && priceCell->data(StatBasePriceRole).isValid();
    if (!validStatCode(stat)) {
        question(QStringLiteral("Invalid Stat Code!"), Information);
        mshflexEntry->setText(line, colStat, QStringLiteral("N"));
    } else {
        mshflexEntry->setText(line, colStat, stat.toUpper());
    }
    const bool isStat = mshflexEntry->text(line, colStat) == QLatin1String("Y");
    // The surcharge is laid on the price before it, once, and taken off again
    // when the line is no longer stat.
    if (isStat && !wasStat && priceCell) {
        const double base = priceCell->text().trimmed().toDouble();
        const QString raised = StatPrice(connection_, base);
        priceCell->setText(raised);
        priceCell->setData(StatBasePriceRole, base);
    } else if (!isStat && wasStat) {
        setUnitPrice(line, priceCell->data(StatBasePriceRole).toDouble());
    }
    computeAmount(line);
    if (!validStatCode(stat)) {
        mshflexEntry->loadBox();
        return Enter::Stay;
    }
    return Enter::Next;
}

// ---------------------------------------------------------------- helpers

// A new price drops any stat surcharge laid on the old one.
void frmCharge::setUnitPrice(int line, double price)
{
    mshflexEntry->setText(line, colUnitPrice, formatPrice(price));
    mshflexEntry->item(line - 1, colUnitPrice)->setData(StatBasePriceRole, QVariant());
}

// Amount follows quantity and price, except on fee and discount lines whose
// typed amount stands while they carry no unit price.
void frmCharge::computeAmount(int line)
{
    const QString dept = mshflexEntry->text(line, colDept);
    const double price = mshflexEntry->text(line, colUnitPrice).trimmed().toDouble();
    if (!(isTypedAmountLine(dept) && price == 0)) {
        const QString quantity = mshflexEntry->text(line, colQuantity).trimmed();
        mshflexEntry->setText(line, colAmount,
                              quantity.isEmpty() ? QString()
                                                 : formatAmount(quantity.toDouble() * price));
    }
    recomputeTotal();
}

void frmCharge::recomputeTotal()
{
    // Discounts are taken off, as they are when saved.
    double total = 0;
    for (int line = 1; line <= mshflexEntry->lineCount(); ++line)
        total += signedAmount(mshflexEntry->text(line, colDept),
                              mshflexEntry->text(line, colAmount).trimmed().toDouble());
    txtTotal->setText(formatAmount(total));
}

} // namespace chemodesk::charging
