// The charge entry screen's buttons, the saved-charges list, the requesting
// doctor, the discounted-price box and the card surcharge panel.

#include "chargelines.h"
#include "frmcharge.h"
#include "serviceprice.h"
#include "widgets/gridformat.h"

#include "database/sqltext.h"
#include "platform/codesearch.h"
#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>

namespace chemodesk::charging {

namespace {

const QString ListFormat = QStringLiteral("  |<Dept. |<Item. #|< Item   Description    "
                                          "|<QTY|<Amount |<ChargeSlip |<Initial |< Location #");

} // namespace

// ---------------------------------------------------------- grid buttons

void frmCharge::clearLines()
{
    mshflexEntry->resetLines();
    recomputeTotal();
}

void frmCharge::deleteLine()
{
    const int line = mshflexEntry->currentLine();
    if (!widgets::confirmLineDeletion(QualifiedRow(line)))
        return;
    DeleteRow();
    recomputeTotal();
}

// ------------------------------------------------------ saved charges list

void frmCharge::Get_Charges()
{
    Recordset rs = connection_.Open(QStringLiteral("Clinical_Area..List_All_CancerCharges '") +
                                    sql::escape(patient_.idNum) + QStringLiteral("','ON'"));
    MSHFlexList->clearContents();
    MSHFlexList->setColumnCount(listColumnCount);
    MSHFlexList->setRowCount(int(std::max<long>(rs.RecordCount(), 0)));
    const char *const fields[listColumnCount] = {"RequestStatus", "RevenueID", "ItemID",
                                                 "Description",   "Quantity",  "Amount",
                                                 "ChargeSlip",    "Initial",   "LocationID"};
    int row = 0;
    for (; !rs.atEnd(); rs.MoveNext(), ++row) {
        for (int column = 0; column < listColumnCount; ++column) {
            const Field field = rs.Fields(QLatin1String(fields[column]));
            QString text = field.trimmed();
            if (column == listAmount)
                text = formatAmount(field.toDouble());
            else if (column == listQty)
                text = QString::number(field.toDouble(), 'g', 15);
            auto *item = new QTableWidgetItem(text);
            if (column == listQty || column == listAmount)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            MSHFlexList->setItem(row, column, item);
        }
    }
    widgets::applyFormatString(MSHFlexList, ListFormat,
                               {250, 700, 900, 3600, 600, 1100, 1200, 800, 1000});
    widgets::widenToContents(MSHFlexList);
    txtMessage->setVisible(MSHFlexList->rowCount() == 0);
    txtSlipTotal->clear();
}

// Cancelled lines in red, lines with a result already entered in blue.
void frmCharge::LoadColor()
{
    for (int row = 0; row < MSHFlexList->rowCount(); ++row) {
        const QTableWidgetItem *status = MSHFlexList->item(row, listStatus);
        const QString code = status ? status->text().trimmed().toUpper() : QString();
        QColor colour;
        if (code == QLatin1String("C"))
            colour = Qt::red;
        else if (code == QLatin1String("R"))
            colour = Qt::blue;
        for (int column = 0; column < MSHFlexList->columnCount(); ++column)
            if (QTableWidgetItem *item = MSHFlexList->item(row, column))
                item->setForeground(colour.isValid() ? QBrush(colour) : QBrush());
    }
}

void frmCharge::listCharges()
{
    widgets::showingErrors([this] {
        Get_Charges();
        LoadColor();
        fraList->show();
        if (MSHFlexList->rowCount() > 0) {
            MSHFlexList->selectRow(0);
            if (txtSlipTotal->text().isEmpty()) // the row was current already
                showSlipTotal(0);
        }
    });
}

void frmCharge::showSlipTotal(int listRow)
{
    const QTableWidgetItem *slip = MSHFlexList->item(listRow, listSlip);
    if (!slip)
        return;
    widgets::showingErrors([&] {
        const Recordset rs = connection_.Open(
            QStringLiteral("Clinical_Area..List_All_CancerCharges_TotalAmountPerChargeSlip '") +
            sql::escape(patient_.idNum) + QStringLiteral("','KS','") +
            sql::escape(slip->text().trimmed()) + QLatin1Char('\''));
        txtSlipTotal->setText(
            formatAmount(rs.atEnd() ? 0.0 : rs.Fields(QStringLiteral("Amount")).toDouble()));
    });
}

// ------------------------------------------------------- requesting doctor

void frmCharge::searchDoctor()
{
    const QString typed = txtDoctorID->text().trimmed();
    if (typed == QLatin1String("0"))
        return;
    bool found = false;
    if (!widgets::showingErrors([&] {
            codeSearch_.setSearchMode(true);
            found = codeSearch_.SearchListing(typed, platform::ListKind::Doctor);
        }) ||
        !found)
        return;
    txtDoctorID->setText(codeSearch_.DoctorRecord(QStringLiteral("ResultCode")).trimmed());
    txtDoctor->setText(
        QStringLiteral("DR. ") + codeSearch_.DoctorRecord(QStringLiteral("FirstName")).trimmed() +
        QLatin1Char(' ') + codeSearch_.DoctorRecord(QStringLiteral("LastName")).trimmed());
    focusNextChild();
}

void frmCharge::chooseDoctor()
{
    bool chosen = false;
    if (!widgets::showingErrors([&] {
            codeSearch_.setSearchMode(true);
            chosen = codeSearch_.SearchListing(QString(), platform::ListKind::Doctor);
        }) ||
        !chosen)
        return;
    auto field = [this](const char *column) {
        return codeSearch_.DoctorRecord(QLatin1String(column)).trimmed();
    };
    txtDoctorID->setText(field("ResultCode"));
    txtDoctor->setText(QStringLiteral("DR. ") + field("LastName") + QLatin1Char(',') +
                       QLatin1Char(' ') + field("FirstName") + QLatin1Char(' ') +
                       field("MiddleName"));
}

// ------------------------------------------------------- discounted price

// Medicines and supplies go to the out-patient price while the box is
// ticked, and back to the patient's own price list when it is cleared.
void frmCharge::repriceStockedLines()
{
    try {
        const bool discounted = chkDiscounted->isChecked();
        bool ipdKnown = false;
        platform::Drug &drug = drugs_.Drug();
        for (int line = 1; line <= mshflexEntry->lineCount(); ++line) {
            const QString item = mshflexEntry->text(line, colItem).trimmed();
            const QString location = mshflexEntry->text(line, colLocation).trimmed();
            // A package's items keep the package's prices.
            if (item.isEmpty() || location.isEmpty() || !packageOf(line).isEmpty())
                continue;
            if (!ipdKnown) {
                ipdPrice_ = GetIPDPrice(connection_, patient_.idNum);
                ipdKnown = true;
            }
            if (!drug.SearchDrug(item, location))
                continue;
            const double price = MedicinePrice(ipdPrice_, discounted, drug.Invent().SellingPriceIn,
                                               drug.Invent().SellingPriceOut);
            setUnitPrice(line, price);
            if (mshflexEntry->text(line, colStat).trimmed() == QLatin1String("Y")) {
                QTableWidgetItem *cell = mshflexEntry->item(line - 1, colUnitPrice);
                cell->setText(StatPrice(connection_, price));
                cell->setData(StatBasePriceRole, price);
            }
            computeAmount(line);
        }
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    recomputeTotal();
}

// ------------------------------------------------------- card surcharge

void frmCharge::saveCardPercentage()
{
    if (!txtVisa->text().trimmed().isEmpty() && !validCardPercentage(txtVisa->text())) {
        widgets::msgExclamation(QStringLiteral("Please enter a percentage from 0 to 100."),
                                QStringLiteral("Message"));
        txtVisa->setFocus();
        txtVisa->selectAll();
        return;
    }
    fraVisa->hide();
    txtEntry->setFocus();
}

void frmCharge::cancelCardPercentage()
{
    txtVisa->clear();
    fraVisa->hide();
    txtEntry->setFocus();
}

} // namespace chemodesk::charging
