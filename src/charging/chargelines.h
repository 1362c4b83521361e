#pragma once

// The charge entry grid's columns and the line rules that need no widget:
// which columns a kind of line skips, when a line is complete, the card
// surcharge and the number formats of the grid.

#include "widgets/entrygrid.h"

#include <QList>
#include <QString>

#include <vector>

namespace chemodesk::charging {

// Columns of the charge entry grid.
enum ChargeColumn {
    colLine = 0,
    colDept = 1,
    colItem = 2,
    colDescription = 3,
    colQuantity = 4,
    colUnitPrice = 5,
    colAmount = 6,
    colStat = 7,
    colLocation = 8,
    colStockcardRevenue = 9, // hidden: the department code stock cards carry
    colItemFlags = 10,       // hidden: the service's Fixrate
    colPackageCode = 11,     // hidden: the package a line came from; saved as the package's
    chargeColumnCount = 12,
};

// Columns of the list of charges entered (saved lines of the admission).
enum SavedListColumn {
    listStatus = 0, // X posted, R result entered, C cancelled
    listDept,
    listItem,
    listDescription,
    listQty,
    listAmount,
    listSlip,
    listInitial,
    listLocation,
    listColumnCount
};

// On the Unit Price cell of a stat line: the price before the stat surcharge.
constexpr int StatBasePriceRole = Qt::UserRole + 1;

extern const QString ChargeGridFormat;
std::vector<widgets::GridColumn> chargeColumns();

// Professional fee and patient discount lines: their amount is typed.
bool isDoctorLine(const QString &dept);
bool isDiscountLine(const QString &dept);
bool isTypedAmountLine(const QString &dept);

// A discount is typed as the amount taken off and kept as a credit, a
// negative amount, so that every sum of the account's lines (the billing
// office's included) deducts it; any other line as typed.
double signedAmount(const QString &dept, double amount);
// The amount a line is saved with: the typed text, a discount's negated.
QString storedAmount(const QString &dept, const QString &amount);

// A line that came from a package stops only at its department: its item,
// quantity and price are the package's.
QList<int> exemptColumnsForPackageLine();
// The columns the cursor skips on a line of `dept`. Location is always
// filled by the program. A line without a department stops at its code.
QList<int> exemptColumnsFor(const QString &dept);

// Department, item and quantity filled; price and amount neither negative
// nor both zero.
bool chargeLineComplete(const QString &dept, const QString &item, const QString &quantity,
                        const QString &unitPrice, const QString &amount);

// The unit price with the card surcharge of `percentText` (a percentage);
// unchanged when the text is empty, not a number or not above zero.
double withCardSurcharge(double price, const QString &percentText);

// A valid surcharge percentage: a number from 0 to 100.
bool validCardPercentage(const QString &text);

// Amounts and totals in the grid: "0.00".
QString formatAmount(double value);
// A price as the grid keeps it: rounded to cents, no trailing zeros.
QString formatPrice(double value);

// Y, y or N.
bool validStatCode(const QString &text);

} // namespace chemodesk::charging
