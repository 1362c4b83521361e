#include "chargelines.h"

#include <cmath>

namespace chemodesk::charging {

const QString ChargeGridFormat = QStringLiteral(
    "<# |<Dept.Code|<Item Code|< Item   Description    |<Quantity |<Unit Price|<Amount |< Stat "
    "|< Location");

std::vector<widgets::GridColumn> chargeColumns()
{
    const QString chargingCode = QStringLiteral(
        "Type the Charging Code..(See Department Codes for the list) click View help Code to view "
        "List of Code");
    const QString serviceCode = QStringLiteral(
        "Type the Service Code or First letters of Service Name then Press the <Enter> Key");
    const QString quantity = QStringLiteral("Type how many quantity to charge...");
    const QString amount = QStringLiteral("Type the total amount to charge.....");
    // header (from the format string), width in twips, maximum length, keys, prompt, editable
    return {
        {{}, 400, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 1000, 6, widgets::KeyClass::Upper, chargingCode, true},
        {{}, 1100, 8, widgets::KeyClass::Upper, serviceCode, true},
        {{}, 4400, 35, widgets::KeyClass::NotTyped, {}, true},
        {{}, 1100, 0, widgets::KeyClass::Digits, quantity, true},
        {{}, 1000, 0, widgets::KeyClass::Decimal, {}, true},
        {{}, 1200, 0, widgets::KeyClass::Decimal, amount, true},
        {{}, 700, 1, widgets::KeyClass::Upper, {}, true},
        {{}, 700, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
        {{}, 0, 0, widgets::KeyClass::NotTyped, {}, false},
    };
}

bool isDoctorLine(const QString &dept)
{
    return dept.trimmed().compare(QLatin1String("MD"), Qt::CaseInsensitive) == 0;
}

bool isDiscountLine(const QString &dept)
{
    return dept.trimmed().compare(QLatin1String("SM"), Qt::CaseInsensitive) == 0;
}

bool isTypedAmountLine(const QString &dept)
{
    return isDoctorLine(dept) || isDiscountLine(dept);
}

double signedAmount(const QString &dept, double amount)
{
    return isDiscountLine(dept) ? -std::abs(amount) : amount;
}

QString storedAmount(const QString &dept, const QString &amount)
{
    const QString typed = amount.trimmed();
    bool ok = false;
    const double value = typed.toDouble(&ok);
    if (!isDiscountLine(dept) || !ok || value == 0)
        return typed;
    return QString::number(signedAmount(dept, value), 'g', 15);
}

QList<int> exemptColumnsFor(const QString &dept)
{
    if (dept.trimmed().isEmpty())
        return {colItem, colDescription, colQuantity, colUnitPrice, colAmount, colStat};
    // Fees and discounts are typed in Amount; a discount line is skipped
    // like a fee, or its Amount could never be reached.
    if (isTypedAmountLine(dept))
        return {colDescription, colStat, colLocation};
    return {colDescription, colUnitPrice, colAmount, colLocation};
}

QList<int> exemptColumnsForPackageLine()
{
    return {colItem, colDescription, colQuantity, colUnitPrice, colAmount, colStat, colLocation};
}

bool chargeLineComplete(const QString &dept, const QString &item, const QString &quantity,
                        const QString &unitPrice, const QString &amount)
{
    if (dept.trimmed().isEmpty() || item.trimmed().isEmpty() || quantity.trimmed().isEmpty())
        return false;
    const double price = unitPrice.trimmed().toDouble();
    const double total = amount.trimmed().toDouble();
    if (price < 0 || total < 0)
        return false;
    return price != 0 || total != 0;
}

double withCardSurcharge(double price, const QString &percentText)
{
    bool ok = false;
    const double percent = percentText.trimmed().toDouble(&ok);
    if (!ok || percent <= 0)
        return price;
    return price + price * (percent / 100.0);
}

bool validCardPercentage(const QString &text)
{
    bool ok = false;
    const double percent = text.trimmed().toDouble(&ok);
    return ok && percent >= 0 && percent <= 100;
}

QString formatAmount(double value)
{
    return QString::number(value, 'f', 2);
}

QString formatPrice(double value)
{
    return QString::number(std::round(value * 100.0) / 100.0, 'g', 15);
}

bool validStatCode(const QString &text)
{
    return text == QLatin1String("Y") || text == QLatin1String("y") || text == QLatin1String("N");
}

} // namespace chemodesk::charging
