// The charge entry screen's save buttons, Cancel Charges and Re-print
// ChargeSlip. The rules and the texts are in chargesave.cpp; here the
// confirmation by access code, the messages and what the screen shows after.

#include "chargelines.h"
#include "chargesave.h"
#include "frmcharge.h"

#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "session/serveraudit.h"
#include "widgets/messages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableWidget>

namespace chemodesk::charging {

using session::globals;

namespace {

const QString PrintCaption = QStringLiteral("Print ChargeSlip");
const QString ReprintCaption = QStringLiteral("RE-Print ChargeSlip");

} // namespace

bool frmCharge::confirmUser(bool reasonRequired)
{
    globals().ReasonRequired = reasonRequired;
    session::frmUserValidation dialog(connection_, this);
    widgets::execModal(dialog);
    return !globals().ValidatedUserId.trimmed().isEmpty();
}

SlipHeader frmCharge::slipHeader() const
{
    const session::Globals &g = globals();
    SlipHeader header;
    header.hospNum = txtHospNum->text();
    header.idNum = txtIdnum->text();
    header.room = txtRoomid->text();
    header.doctorId = txtDoctorID->text();
    header.doctorName = txtDoctor->text();
    header.patientType = patient_.inOut;
    header.sectionLabel = lblDeptCode->text();
    header.receivable = g.ReceivableMode;
    header.userId = g.ValidatedUserId;
    header.employeeCode = patient_.employeeCode;
    return header;
}

std::vector<ChargeLine> frmCharge::gridLines() const
{
    std::vector<ChargeLine> lines;
    const widgets::EntryGrid *g = mshflexEntry;
    for (int line = 1; line <= g->lineCount(); ++line)
        lines.push_back(
            {g->text(line, colDept), g->text(line, colItem), g->text(line, colDescription),
             g->text(line, colQuantity), g->text(line, colUnitPrice), g->text(line, colAmount),
             g->text(line, colStat), g->text(line, colLocation), g->text(line, colStockcardRevenue),
             g->text(line, colItemFlags), g->text(line, colPackageCode)});
    return lines;
}

void frmCharge::saveCharges(bool print)
{
    try {
        // Print/Save tells of a closed bill or a missing doctor before anyone
        // is asked to confirm.
        if (print) {
            if (const auto refusal = checkAccount(connection_, slipHeader())) {
                showRefusal(*refusal);
                return;
            }
        }
        // Nothing to save is told before anyone is asked for an access code.
        if (const auto refusal = checkLines(gridLines())) {
            showRefusal(*refusal);
            return;
        }
        if (!confirmUser(false))
            return;
        const SlipHeader header = slipHeader();
        auto refusal = checkAccount(connection_, header);
        const std::vector<ChargeLine> lines = gridLines();
        if (!refusal)
            refusal = checkLines(lines);
        if (refusal) {
            showRefusal(*refusal);
            return;
        }
        lastChargeSlip_ = saveChargeSlip(connection_, drugs_.Drug(), header, lines);
    } catch (const SaveRefused &refused) {
        showRefusal(refused.refusal());
        return;
    } catch (const DatabaseError &e) {
        // Nothing was written: the lines stay on the grid to be saved again.
        widgets::msgCritical(e.message());
        return;
    }
    clearLines();
    txtTotal->setText(QStringLiteral("0"));
    refreshList();
    stbSaved->showMessage(QStringLiteral("Saved under charge slip ") + lastChargeSlip_);
    if (print) {
        printSlip(lastChargeSlip_, PrintCaption);
        widgets::msgInformation(QStringLiteral("ChargeSlip Number : ") + lastChargeSlip_);
    }
}

bool frmCharge::selectedSavedCharge(SavedCharge &line)
{
    const int row = fraList->isHidden() ? -1 : MSHFlexList->currentRow();
    const QTableWidgetItem *slip = row >= 0 ? MSHFlexList->item(row, listSlip) : nullptr;
    if (!slip) {
        widgets::msgInformation(
            QStringLiteral("Choose the charge in the List of Charges Entered first."),
            QStringLiteral("Message"));
        listCharges();
        return false;
    }
    auto cell = [this, row](int column) {
        const QTableWidgetItem *item = MSHFlexList->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    line.status = cell(listStatus);
    line.dept = cell(listDept);
    line.item = cell(listItem);
    line.description = cell(listDescription);
    line.quantity = cell(listQty);
    line.amount = cell(listAmount);
    line.slip = cell(listSlip);
    line.location = cell(listLocation);
    return true;
}

void frmCharge::cancelCharge()
{
    if (!cancelCharges_) {
        widgets::msgInformation(
            QStringLiteral("You don't have enough rights to perform this operation."),
            QStringLiteral("Information"));
        return;
    }
    SavedCharge line;
    if (!selectedSavedCharge(line))
        return;
    try {
        if (const auto refusal = checkCancel(connection_, patient_.idNum, line)) {
            showRefusal(*refusal);
            return;
        }
        if (!widgets::msgYesNo(QStringLiteral("Are you sure you want to Cancel this Charge?")))
            return;
        if (!confirmUser(true))
            return;
        charging::cancelCharge(connection_, drugs_.Drug(), patient_.idNum, line,
                               globals().ValidatedUserId, globals().ValidationReason);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    refreshList();
    printSlip(line.slip, ReprintCaption);
}

void frmCharge::reprintChargeSlip()
{
    SavedCharge line;
    if (!selectedSavedCharge(line))
        return;
    // A second copy of a slip is recorded on the shared server before it is printed.
    try {
        session::recordAuditEvent(connection_, QStringLiteral("charge slip reprinted"), line.slip);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    printSlip(line.slip, ReprintCaption);
}

void frmCharge::refreshList()
{
    try {
        Get_Charges();
        LoadColor();
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmCharge::printSlip(const QString &slip, const QString &caption)
{
    if (printer_)
        printer_(chargeSlipPrint(slip, patient_.idNum, caption), this);
}

} // namespace chemodesk::charging
