#pragma once

// Saving the lines of the charge screen under one charge slip, and cancelling
// a saved line, without the screen: the checks that must pass, the texts each
// line is written with, and the save itself. A save happens whole or not at
// all: every text of one slip runs in one transaction, so a failure half-way
// leaves no line, stock card or request behind.

#include "platform/connection.h"
#include "widgets/messages.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class Drug;
}

namespace chemodesk::charging {

// One line of the entry grid, as typed and looked up.
struct ChargeLine {
    QString dept;
    QString item;
    QString description;
    QString quantity;
    QString unitPrice;
    QString amount;
    QString stat;
    QString location;         // issuing location of a stocked item
    QString stockcardRevenue; // department code its stock card carries
    QString flags;            // the service's Fixrate
    QString packageCode;      // a line of a package: saved as the package's item
};

// What every text of a slip carries besides the line.
struct SlipHeader {
    QString hospNum;
    QString idNum;
    QString room;
    QString doctorId;
    QString doctorName;
    QString patientType;  // "I" / "O" of the selected patient
    QString sectionLabel; // the screen's section label, empty
    bool receivable = false;
    QString userId;       // who confirmed with the access code
    QString employeeCode; // the signed-in employee, recorded on package lines
};

// A refusal as the screen shows it.
struct Refusal {
    QString text;
    QString title; // empty: the program's title
    widgets::MessageService::Icon icon = widgets::MessageService::Information;
};
void showRefusal(const Refusal &refusal);

// The admission's (numeric number) or registration's open stay has a
// billing date.
bool IsBillClosed(Connection &connection, const QString &IdNum);

// The bill and the requesting doctor. Late charges posted as receivables go
// to billed accounts on purpose, so the bill is not checked for them.
std::optional<Refusal> checkAccount(Connection &connection, const SlipHeader &header);
// At least one complete line, and an amount on every line entered.
std::optional<Refusal> checkLines(const std::vector<ChargeLine> &lines);

// "G" + counter + "C".
QString chargeSlipNumber(qlonglong counter);
// "MM/DD/YYYY hh:mm:ss AM/PM", the form dates are sent to the server in.
QString chargeDate(const QDateTime &when);

bool isLaboratory(const QString &dept);
bool isRadiology(const QString &dept);
bool isPulmonary(const QString &dept);

// The texts of one line, in the order they are sent.
QString updateBalanceText(const QString &item, const QString &location);
QString chargePrintText(const ChargeLine &line);
QString logBookText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                    const QString &date);
QString labRequestText(const SlipHeader &header, const ChargeLine &line, const QString &slip);
QString radiologyRequestText(const SlipHeader &header, const ChargeLine &line, const QString &slip);
QString pulmonaryRequestText(const QString &requestNum, const SlipHeader &header,
                             const ChargeLine &line, const QString &slip);
QString appendChargingText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                           const QString &date);

// Lines that came from a package are written from the package as stored:
// its items with their stock-card department and location.
QString packageItemsText(const QString &packageCode);
// Fourteen values: hospital number, admission number, item, amount,
// quantity, date, department, "X", the signed-in employee, description, "D",
// slip, location, package code.
QString appendChargingNewText(const SlipHeader &header, const ChargeLine &line, const QString &slip,
                              const QString &date);
// Ties the stock card an item of the slip was issued with to its package.
QString tiePackageStockCardText(const QString &packageCode, const QString &item,
                                const QString &slip);

// A save refused inside its transaction, for a reason the screen tells as it
// would have at entry (the stock on hand of a shelf gone since). Nothing of
// the slip is written.
class SaveRefused : public DatabaseError {
public:
    explicit SaveRefused(Refusal refusal)
        : DatabaseError(refusal.text), refusal_(std::move(refusal))
    {
    }
    const Refusal &refusal() const { return refusal_; }

private:
    Refusal refusal_;
};

// Where the department keeps no stock at zero (AllowZeroOnHand), every
// stocked line's quantity against its shelf's stock on hand, read under the
// shelf's lock so that two saves never both issue the last items. The
// screen's rule and words.
std::optional<Refusal> checkStockInSave(Connection &connection,
                                        const std::vector<ChargeLine> &lines);

// Draws the slip number and writes every line under it: stock card and
// balance of stocked items, print row, log book, the department's request,
// the unit's charge; then the lines of packages, each item as the package
// stores it, its stock card tied to the package. Returns the slip. A DatabaseError (SaveRefused
// when the stock is short) leaves nothing written; the checks above are the caller's.
QString saveChargeSlip(Connection &connection, platform::Drug &drug, const SlipHeader &header,
                       const std::vector<ChargeLine> &lines);

// A line of the saved-charges list.
struct SavedCharge {
    QString status; // X posted, R result entered, C cancelled
    QString dept;
    QString item;
    QString description;
    QString quantity;
    QString amount;
    QString slip;
    QString location;
};

// A result entered, or nothing left to cancel.
std::optional<Refusal> checkCancel(Connection &connection, const QString &idNum,
                                   const SavedCharge &line);
// Puts an issued item back on the shelf (reversing stock card, balance) and
// marks the line cancelled, in one transaction.
void cancelCharge(Connection &connection, platform::Drug &drug, const QString &idNum,
                  const SavedCharge &line, const QString &userId, const QString &reason);

} // namespace chemodesk::charging
