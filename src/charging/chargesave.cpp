#include "chargesave.h"

#include "chargelines.h"
#include "revenuecode.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "platform/drugcatalogue.h"
#include "session/globals.h"
#include "session/module1.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace chemodesk::charging {

using session::globals;
using Icon = widgets::MessageService::Icon;

namespace {

const QString Unit = QStringLiteral("Clinical_Area");

bool entered(const ChargeLine &line)
{
    return !line.dept.trimmed().isEmpty();
}

// Department, item and quantity: what a line needs to be written at all.
bool complete(const ChargeLine &line)
{
    return entered(line) && !line.item.trimmed().isEmpty() && !line.quantity.trimmed().isEmpty();
}

bool hasAmount(const ChargeLine &line)
{
    bool ok = false;
    const double amount = line.amount.trimmed().toDouble(&ok);
    return ok && std::isfinite(amount) && amount != 0;
}

QString kindOf(const ChargeLine &line)
{
    return isDoctorLine(line.dept) ? QStringLiteral("P") : QStringLiteral("D");
}

QString stockcardCode(const ChargeLine &line)
{
    const QString code = line.stockcardRevenue.trimmed();
    return code.isEmpty() ? line.dept.trimmed() : code;
}

double quantityOf(const QString &text)
{
    bool ok = false;
    const double quantity = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(quantity))
        throw DatabaseError(
            QStringLiteral("The quantity '%1' is not a number.").arg(text.trimmed()));
    return quantity;
}

// The server's clock, read now, as the texts carry it.
QString serverDate(Connection &connection)
{
    session::GetServerDate(connection);
    const QDateTime now = globals().ServerDate;
    if (!now.isValid())
        throw DatabaseError(QStringLiteral("The server's date and time could not be read."));
    return chargeDate(now);
}

QString t(const QString &text)
{
    return text.trimmed();
}

} // namespace

void showRefusal(const Refusal &refusal)
{
    widgets::messages().message(refusal.text,
                                refusal.title.isEmpty() ? widgets::defaultTitle() : refusal.title,
                                refusal.icon);
}

bool IsBillClosed(Connection &connection, const QString &IdNum)
{
    return session::IsAccountBilled(connection, IdNum);
}

std::optional<Refusal> checkAccount(Connection &connection, const SlipHeader &header)
{
    if (!header.receivable && IsBillClosed(connection, header.idNum))
        return Refusal{QStringLiteral("Patient's bill has been closed.  Please verify with "
                                      "Billing section."),
                       QStringLiteral("MESSAGE"), Icon::Information};
    if (header.doctorId.trimmed().isEmpty() || header.doctorName.trimmed().isEmpty())
        return Refusal{QStringLiteral("Cannot save charges with no requesting doctor."),
                       QStringLiteral("MEssage"), Icon::Information};
    return std::nullopt;
}

std::optional<Refusal> checkLines(const std::vector<ChargeLine> &lines)
{
    bool any = false;
    for (const ChargeLine &line : lines)
        any = any || complete(line);
    if (!any)
        return Refusal{QStringLiteral("Can't Save a Blank Charge!! Enter a Charge first....."),
                       QString(), Icon::Exclamation};
    // A line begun but not finished would otherwise be left out silently.
    for (const ChargeLine &line : lines)
        if (entered(line) && (!complete(line) || !hasAmount(line)))
            return Refusal{QStringLiteral("Can't Save Zero/Blank Amount..."), QString(),
                           Icon::Exclamation};
    return std::nullopt;
}

QString chargeSlipNumber(qlonglong counter)
{
    return QStringLiteral("G") + QString::number(counter) + QStringLiteral("C");
}

QString chargeDate(const QDateTime &when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

bool isLaboratory(const QString &dept)
{
    return dept.trimmed().compare(QLatin1String("LB"), Qt::CaseInsensitive) == 0;
}

bool isRadiology(const QString &dept)
{
    static const QStringList sections = {QStringLiteral("WC"), QStringLiteral("MI"),
                                         QStringLiteral("MM"), QStringLiteral("US"),
                                         QStringLiteral("CT"), QStringLiteral("XR")};
    return sections.contains(dept.trimmed(), Qt::CaseInsensitive);
}

bool isPulmonary(const QString &dept)
{
    return dept.trimmed().compare(QLatin1String("PA"), Qt::CaseInsensitive) == 0;
}

// ------------------------------------------------------------------ texts

QString updateBalanceText(const QString &item, const QString &location)
{
    return QStringLiteral("Inventory..sp_Inv_UpdateBalance '") + sql::escape(t(item)) +
           QStringLiteral("', '") + sql::escape(t(location)) + QLatin1Char('\'');
}

QString chargePrintText(const ChargeLine &line)
{
    return sql::call(Unit, QStringLiteral("spCancer_SaveChargePrint"),
                     {t(line.item), storedAmount(line.dept, line.amount), t(line.quantity),
                      t(line.dept), t(line.description), t(line.location), t(line.stockcardRevenue),
                      t(line.flags)});
}

namespace {

// The sixteen values the log book and the unit's charge begin with.
QStringList leadingValues(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                          const QString &date)
{
    return {t(header.hospNum),     t(header.idNum),
            t(line.item),          storedAmount(line.dept, line.amount),
            t(line.quantity),      date,
            t(line.dept),          QStringLiteral("X"),
            t(header.userId),      t(line.description),
            t(header.patientType), kindOf(line),
            t(header.room),        t(header.sectionLabel),
            t(header.doctorId),    slip};
}

} // namespace

// Then the line's location and the requesting doctor's name.
QString logBookText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                    const QString &date)
{
    return sql::call(Unit, QStringLiteral("spCancer_Append_LogBook"),
                     leadingValues(header, line, slip, date)
                         << t(line.location) << t(header.doctorName));
}

QString labRequestText(const SlipHeader &header, const ChargeLine &line, const QString &slip)
{
    return sql::call(QStringLiteral("Station"), QStringLiteral("Nurse_SaveLabMaster"),
                     {t(header.hospNum), t(header.idNum), t(line.item), t(line.amount),
                      t(line.quantity), t(line.dept), t(header.userId), t(header.room),
                      t(header.doctorId), t(header.doctorName), slip, t(line.location)});
}

// Section, patient's numbers, item, quantity, amount, description, room,
// slip (ninth), doctor's code, user (last).
QString radiologyRequestText(const SlipHeader &header, const ChargeLine &line, const QString &slip)
{
    return sql::call(QStringLiteral("RADIOLOGY"), QStringLiteral("spRadio_SaveRequestOnly"),
                     {t(line.dept), t(header.hospNum), t(header.idNum), t(line.item),
                      t(line.quantity), t(line.amount), t(line.description), t(header.room), slip,
                      t(header.doctorId), t(header.userId)});
}

// Request number, hospital and admission numbers, item, description, remarks
// (empty), amount, quantity, room, doctor's code and name, cash flag "0",
// slip, user, and four result values left empty.
QString pulmonaryRequestText(const QString &requestNum, const SlipHeader &header,
                             const ChargeLine &line, const QString &slip)
{
    const QString sep = QStringLiteral("','");
    return QStringLiteral("CLINICAL_AREA..sp_PulmoAddRequest'") + sql::escape(t(requestNum)) + sep +
           sql::escape(t(header.hospNum)) + sep + sql::escape(t(header.idNum)) + sep +
           sql::escape(t(line.item)) + sep + sql::escape(t(line.description)) +
           QStringLiteral("','','") + sql::escape(t(line.amount)) + sep +
           sql::escape(t(line.quantity)) + sep + sql::escape(t(header.room)) + sep +
           sql::escape(t(header.doctorId)) + sep + sql::escape(t(header.doctorName)) +
           QStringLiteral("','0','") + sql::escape(slip) + sep + sql::escape(t(header.userId)) +
           QStringLiteral("','','','',''");
}

// 17 location, 18 receivable flag, 19 doctor's name, 20 stock-card department.
QString appendChargingText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                           const QString &date)
{
    return sql::call(Unit, QStringLiteral("spCancer_Append_Charging"),
                     leadingValues(header, line, slip, date)
                         << t(line.location)
                         << (header.receivable ? QStringLiteral("1") : QStringLiteral("0"))
                         << t(header.doctorName) << t(line.stockcardRevenue));
}

QString packageItemsText(const QString &packageCode)
{
    return QStringLiteral("Clinical_Area..spCancer_GetPackageItems '") +
           sql::escape(t(packageCode)) + QLatin1Char('\'');
}

QString appendChargingNewText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                              const QString &date)
{
    return sql::call(Unit, QStringLiteral("spCancer_AppendChargingNew"),
                     {t(header.hospNum), t(header.idNum), t(line.item), t(line.amount),
                      t(line.quantity), date, t(line.dept), QStringLiteral("X"),
                      t(header.employeeCode), t(line.description), QStringLiteral("D"), slip,
                      t(line.location), t(line.packageCode)});
}

QString tiePackageStockCardText(const QString &packageCode, const QString &item,
                                const QString &slip)
{
    return QStringLiteral("UPDATE INVENTORY..tbInvStockCard ") +
           QStringLiteral("SET PackageID = '") + sql::escape(t(packageCode)) + QStringLiteral("'") +
           QStringLiteral(" WHERE ItemID = '") + sql::escape(t(item)) +
           QStringLiteral("' AND RefNum = '") + sql::escape(slip) + QStringLiteral("'");
}

// ------------------------------------------------------------------- save

std::optional<Refusal> checkStockInSave(Connection &connection,
                                        const std::vector<ChargeLine> &lines)
{
    if (!globals().allowZeroOnHand())
        return std::nullopt;
    // Shelves taken in one order by every save, so two saves never wait on
    // each other's.
    std::vector<const ChargeLine *> stocked;
    for (const ChargeLine &line : lines)
        if (complete(line) && !t(line.location).isEmpty())
            stocked.push_back(&line);
    std::stable_sort(stocked.begin(), stocked.end(), [](const ChargeLine *a, const ChargeLine *b) {
        return std::pair(t(a->location), t(a->item)) < std::pair(t(b->location), t(b->item));
    });
    for (const ChargeLine *stockedLine : stocked) {
        const ChargeLine &line = *stockedLine;
        const QString shelf = QStringLiteral(" where ItemID = '") + sql::escape(t(line.item)) +
                              QStringLiteral("' and LocationID = '") +
                              sql::escape(t(line.location)) + QLatin1Char('\'');
        // Taking the shelf's row first makes a save racing for the same items
        // wait here, and read the stock after the other's issue.
        connection.Execute(QStringLiteral("Update INVENTORY..tbinvent set OnHand = OnHand") +
                           shelf);
        const Recordset rs = connection.Execute(
            QStringLiteral("select isnull(OnHand,0)Onhand from INVENTORY..tbinvent") + shelf);
        const double stock = rs.atEnd() ? 0.0 : rs.Fields(QStringLiteral("Onhand")).toDouble();
        if (quantityOf(line.quantity) > stock)
            return Refusal{QStringLiteral("Available stockOnhand for this item is : (") +
                               QString::number(stock, 'g', 15) + QStringLiteral(") ") +
                               QLatin1Char('\n') +
                               QStringLiteral(" Please enter quantity not greater than the "
                                              "stock onhand"),
                           QString(), Icon::Information};
    }
    return std::nullopt;
}

namespace {

// The package lines of the grid, each written as its package stores the item.
// A line whose item the package no longer holds refuses the whole save
// rather than charge what the package does not say.
void savePackageLines(Connection &connection, platform::Drug &drug, const SlipHeader &header,
                      const std::vector<ChargeLine> &lines, const QString &slip,
                      const QString &date)
{
    std::vector<QString> packages;
    for (const ChargeLine &line : lines)
        if (complete(line) && !t(line.packageCode).isEmpty() &&
            std::find(packages.begin(), packages.end(), t(line.packageCode).toUpper()) ==
                packages.end())
            packages.push_back(t(line.packageCode).toUpper());
    for (const QString &package : packages) {
        std::vector<ChargeLine> stored;
        for (Recordset rs = connection.Open(packageItemsText(package)); !rs.atEnd();
             rs.MoveNext()) {
            ChargeLine item;
            item.dept = rs.Fields(QStringLiteral("RevenueID")).trimmed();
            item.item = rs.Fields(QStringLiteral("ItemID")).trimmed();
            item.description = rs.Fields(QStringLiteral("ItemDescription")).trimmed();
            item.quantity =
                QString::number(rs.Fields(QStringLiteral("Quantity")).toDouble(), 'g', 15);
            item.amount = QString::number(rs.Fields(QStringLiteral("Amount")).toDouble(), 'f', 2);
            item.location = rs.Fields(QStringLiteral("LocationID")).trimmed();
            item.stockcardRevenue = rs.Fields(QStringLiteral("InvCode")).trimmed();
            item.packageCode = package;
            stored.push_back(item);
        }
        for (const ChargeLine &line : lines) {
            if (!complete(line) || t(line.packageCode).toUpper() != package)
                continue;
            const auto item = std::find_if(stored.begin(), stored.end(), [&](const ChargeLine &s) {
                return s.dept.compare(t(line.dept), Qt::CaseInsensitive) == 0 &&
                       s.item.compare(t(line.item), Qt::CaseInsensitive) == 0;
            });
            if (item == stored.end())
                throw DatabaseError(QStringLiteral("Package %1 does not hold item %2 of %3 any "
                                                   "more. Choose the package again.")
                                        .arg(package, t(line.item), t(line.dept)));
            if (!item->location.isEmpty()) {
                drug.AppendStockCard(slip, item->item, item->location, quantityOf(item->quantity),
                                     stockcardCode(*item), platform::StockCardKind::Issue);
                connection.Execute(updateBalanceText(item->item, item->location));
            }
            connection.Execute(chargePrintText(*item));
            connection.Execute(appendChargingNewText(header, *item, slip, date));
            if (!item->location.isEmpty())
                connection.Execute(tiePackageStockCardText(package, item->item, slip));
        }
    }
}

} // namespace

QString saveChargeSlip(Connection &connection, platform::Drug &drug, const SlipHeader &header,
                       const std::vector<ChargeLine> &lines)
{
    Transaction transaction(connection);
    if (auto refusal = checkStockInSave(connection, lines))
        throw SaveRefused(std::move(*refusal));

    connection.Execute(QStringLiteral("Delete Clinical_Area..tbCancerChargePrint"));
    const QString date = serverDate(connection);

    // The number is drawn by one statement on the server (add one, return the
    // number before), never read and written back in two steps, so two
    // workstations never draw the same one. Drawn as late as the lines allow:
    // the counter's row stays locked, for every other workstation's save,
    // until this one ends. A failed save rolls the draw back with everything
    // else where the counter takes part in the transaction, as ours does;
    // where it does not, the number is consumed and leaves a gap in the
    // series, never a duplicate.
    const Recordset drawn =
        connection.Execute(QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip"));
    if (drawn.atEnd())
        throw DatabaseError(QStringLiteral("No charge slip number could be drawn."));
    const QString slip = chargeSlipNumber(drawn.Fields(QStringLiteral("ChargeSlip")).toLongLong());

    for (const ChargeLine &line : lines) {
        if (!complete(line) || !t(line.packageCode).isEmpty())
            continue;
        if (!t(line.location).isEmpty()) {
            drug.AppendStockCard(slip, t(line.item), t(line.location), quantityOf(line.quantity),
                                 stockcardCode(line), platform::StockCardKind::Issue);
            connection.Execute(updateBalanceText(line.item, line.location));
        }
        connection.Execute(chargePrintText(line));
        connection.Execute(logBookText(header, line, slip, date));
        if (isLaboratory(line.dept)) {
            connection.Execute(labRequestText(header, line, slip));
        } else if (isRadiology(line.dept)) {
            connection.Execute(radiologyRequestText(header, line, slip));
        } else if (isPulmonary(line.dept)) {
            const Recordset next =
                connection.Open(QStringLiteral("CLINICAL_AREA..sp_pulmogetrequestnum"));
            if (next.atEnd())
                throw DatabaseError(QStringLiteral("No pulmonary request number could be drawn."));
            const QString requestNum = next.Fields(QStringLiteral("RequestNum")).trimmed();
            connection.Execute(QStringLiteral("CLINICAL_AREA..sp_pulmoincrequestnum"));
            connection.Execute(pulmonaryRequestText(requestNum, header, line, slip));
        }
        connection.Execute(appendChargingText(header, line, slip, date));
    }
    savePackageLines(connection, drug, header, lines, slip, date);
    transaction.commit();
    return slip;
}

// ----------------------------------------------------------------- cancel

std::optional<Refusal> checkCancel(Connection &connection, const QString &idNum,
                                   const SavedCharge &line)
{
    if (t(line.status).compare(QLatin1String("R"), Qt::CaseInsensitive) == 0)
        return Refusal{QStringLiteral("Can't Cancel this Charges. You have already entered a "
                                      "result for this charge!"),
                       QStringLiteral("Message"), Icon::Information};
    const Recordset rs =
        connection.Open(sql::call(Unit, QStringLiteral("spCancer_VerifyCharges"),
                                  {t(idNum), t(line.item), t(line.slip), t(line.dept)}));
    if (rs.atEnd() || rs.Fields(QStringLiteral("Amount")).toDouble() == 0)
        return Refusal{QStringLiteral("Can't Cancel this Charges. The Total Amount is already "
                                      "Zero!"),
                       QStringLiteral("Message"), Icon::Information};
    return std::nullopt;
}

void cancelCharge(Connection &connection, platform::Drug &drug, const QString &idNum,
                  const SavedCharge &line, const QString &userId, const QString &reason)
{
    Transaction transaction(connection);
    if (!t(line.location).isEmpty()) {
        QString location, stockcard;
        CheckLocationID(connection, t(line.dept), location, stockcard);
        drug.AppendStockCard(
            t(line.slip), t(line.item), t(line.location), quantityOf(line.quantity),
            stockcard.isEmpty() ? t(line.dept) : stockcard, platform::StockCardKind::Reversal);
        // Without it the shelf would keep counting the returned items as issued.
        connection.Execute(updateBalanceText(line.item, line.location));
    }
    const QString date = serverDate(connection);
    connection.Execute(sql::call(Unit, QStringLiteral("spCancer_UpdateCharging"),
                                 {t(idNum), t(line.item), t(line.slip), t(line.dept),
                                  QStringLiteral("C"), date, t(userId), t(reason)}));
    transaction.commit();
}

} // namespace chemodesk::charging
