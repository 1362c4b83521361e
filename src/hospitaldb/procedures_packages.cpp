#include "procedures.h"

// Charge packages: building and replacing a package's item rows, the package
// lists the pick dialogs show, the items a saved package line is written
// from, and the charges posted under a package. One store serves them all,
// HEMODIALYSIS..tbhemopackage; every value is checked before anything is
// written, so a malformed row is refused with the procedure's name.

#include "procedurevalues.h"
#include "session/module1.h"

#include <cmath>

namespace chemodesk::hospital {

using db::arg;
using sql::quote;
using namespace values;

namespace {

QString packageType(const char *procedure, const QString &text)
{
    if (text != QLatin1String("1") && text != QLatin1String("0"))
        refuse(procedure,
               QStringLiteral("the package type '%1' is neither 1 (HMO) nor 0 (NON - HMO).")
                   .arg(text));
    return quote(text);
}

// The location an item of a package is issued from: the unit's medicine
// ("KM") and supply ("KU") stations; other departments issue nothing.
const char *const ItemLocation =
    "CASE WHEN P.RevenueID = 'KM' THEN '199' WHEN P.RevenueID = 'KU' THEN '200' ELSE '' END";

struct PackageRow {
    QString code, item, revenue, quantity, amount, user, description, type, name, packageAmount;
};

// One item row, written in place of the item's row of the package if it has one.
void writeRow(db::ProcedureContext &db, const PackageRow &row)
{
    db.exec(QStringLiteral("DELETE FROM HEMODIALYSIS..tbhemopackage WHERE PackageCode = ") +
            quote(row.code) + QStringLiteral(" AND RevenueID = ") + quote(row.revenue) +
            QStringLiteral(" AND ItemID = ") + quote(row.item));
    db.exec(QStringLiteral("INSERT INTO HEMODIALYSIS..tbhemopackage (PackageCode, PackageName, "
                           "PackageType, PackageAmount, RevenueID, ItemID, ItemDescription, "
                           "Quantity, Amount, UserID, DateBuilt) VALUES (") +
            QStringList{quote(row.code), orNull(row.name), row.type, row.packageAmount,
                        quote(row.revenue), quote(row.item), orNull(row.description), row.quantity,
                        row.amount, orNull(row.user), now(db)}
                .join(QStringLiteral(", ")) +
            QLatin1Char(')'));
}

// 1 package code, 2 item, 3 department, 4 quantity, 5 amount, 6 user,
// 7 description, 8 package type, 9 package name, 10 package amount.
Recordset buildPackage(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spKidney_BuildPackage";
    writeRow(db, {required(name, "package code", value(args, 0)),
                  required(name, "item", value(args, 1)),
                  required(name, "department", value(args, 2)).toUpper(),
                  quantity(name, value(args, 3)), numberOrZero(name, "amount", value(args, 4)),
                  value(args, 5), value(args, 6), packageType(name, value(args, 7)), value(args, 8),
                  numberOrZero(name, "package amount", value(args, 9))});
    return {};
}

// As spKidney_BuildPackage, with the package's former code eighth: the item's
// row under that code is replaced by the one under the new code, and every
// row of the package takes the header given.
Recordset updatePackage(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spKidney_UpdatePackage";
    const PackageRow row{required(name, "package code", value(args, 0)),
                         required(name, "item", value(args, 1)),
                         required(name, "department", value(args, 2)).toUpper(),
                         quantity(name, value(args, 3)),
                         numberOrZero(name, "amount", value(args, 4)),
                         value(args, 5),
                         value(args, 6),
                         packageType(name, value(args, 8)),
                         value(args, 9),
                         numberOrZero(name, "package amount", value(args, 10))};
    const QString oldCode = value(args, 7);
    if (!oldCode.isEmpty() && oldCode != row.code)
        db.exec(QStringLiteral("DELETE FROM HEMODIALYSIS..tbhemopackage WHERE PackageCode = ") +
                quote(oldCode) + QStringLiteral(" AND RevenueID = ") + quote(row.revenue) +
                QStringLiteral(" AND ItemID = ") + quote(row.item));
    writeRow(db, row);
    db.exec(QStringLiteral("UPDATE HEMODIALYSIS..tbhemopackage SET PackageName = ") +
            orNull(row.name) + QStringLiteral(", PackageType = ") + row.type +
            QStringLiteral(", PackageAmount = ") + row.packageAmount +
            QStringLiteral(" WHERE PackageCode = ") + quote(row.code));
    return {};
}

// The packages on offer: code, name and the gross total, which is the
// package's own price for an HMO package and the sum of its items otherwise.
// The argument is the asking unit's number; every package is offered to every
// unit.
Recordset admPackages(db::ProcedureContext &db, const QStringList &)
{
    return db.query(QStringLiteral(
        "SELECT P.PackageCode AS Code, max(P.PackageName) AS Description, "
        "CASE WHEN max(P.PackageType) = '1' THEN max(P.PackageAmount) ELSE sum(P.Amount) END "
        "AS GrossTotal, max(P.PackageType) AS PackageType "
        "FROM HEMODIALYSIS..tbhemopackage P GROUP BY P.PackageCode ORDER BY P.PackageCode"));
}

// The items of one package as the pick dialogs list them.
Recordset admPackageItems(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(QStringLiteral("SELECT P.ItemID AS Code, P.RevenueID AS Revenue, "
                                   "P.ItemDescription AS Description, P.Quantity AS Qty, "
                                   "P.Amount AS Amt, ") +
                    QLatin1String(ItemLocation) +
                    QStringLiteral(" AS Location FROM HEMODIALYSIS..tbhemopackage P "
                                   "WHERE P.PackageCode = ") +
                    quote(value(args, 0)) + QStringLiteral(" ORDER BY P.RevenueID, P.ItemID"));
}

// The items a package line of a charge slip is written from, with the
// stock-card department and location of the stocked ones.
Recordset packageItems(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(QStringLiteral("SELECT P.RevenueID, P.ItemID, P.Quantity, P.Amount, "
                                   "isnull(R.StockcardRevenueid, P.RevenueID) AS InvCode, ") +
                    QLatin1String(ItemLocation) +
                    QStringLiteral(" AS LocationID, P.ItemDescription "
                                   "FROM HEMODIALYSIS..tbhemopackage P "
                                   "LEFT OUTER JOIN BUILD_FILE..tbCoRevenueCode R "
                                   "ON R.RevenueID = P.RevenueID WHERE P.PackageCode = ") +
                    quote(value(args, 0)) + QStringLiteral(" ORDER BY P.RevenueID, P.ItemID"));
}

// Dates arrive as the screens send them, "MM/DD/YYYY hh:mm:ss AM/PM".
QString dateTime(const char *procedure, const QString &text)
{
    const QString upper = text.trimmed().toUpper();
    const qsizetype space = upper.indexOf(QLatin1Char(' '));
    const QDate date = QDate::fromString(upper.left(space), QStringLiteral("M/d/yyyy"));
    const QTime time = QTime::fromString(upper.mid(space + 1), QStringLiteral("h:mm:ss AP"));
    if (space < 0 || !date.isValid() || !time.isValid())
        refuse(procedure, QStringLiteral("the date '%1' is not a date and time "
                                         "(MM/DD/YYYY hh:mm:ss AM/PM).")
                              .arg(text));
    return quote(date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                 time.toString(QStringLiteral("HH:mm:ss")));
}

// One item of a package charged under a slip, in the unit's charges and log
// book. Values, in order:
//   1 hospital number   2 admission number   3 item          4 amount
//   5 quantity          6 charge date        7 department    8 status "X"
//   9 user             10 description       11 kind "D"     12 charge slip
//  13 location         14 package code
Recordset appendChargingNew(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_AppendChargingNew";
    const QString idNum = required(name, "admission number", value(args, 1));
    if (value(args, 7).toUpper() != QLatin1String("X"))
        refuse(name, QStringLiteral("a new charge is posted with status 'X', not '%1'.")
                         .arg(value(args, 7)));
    if (value(args, 10).toUpper() != QLatin1String("D"))
        refuse(name, QStringLiteral("a package item is charged with kind 'D', not '%1'.")
                         .arg(value(args, 10)));
    const QStringList values = {quote(required(name, "hospital number", value(args, 0))),
                                quote(idNum),
                                quote(required(name, "item", value(args, 2))),
                                literal(number(name, "amount", value(args, 3))),
                                quantity(name, value(args, 4)),
                                dateTime(name, value(args, 5)),
                                quote(required(name, "department", value(args, 6))),
                                QStringLiteral("'X'"),
                                quote(required(name, "user", value(args, 8))),
                                quote(value(args, 9)),
                                session::IsNumeric(idNum) ? QStringLiteral("'I'")
                                                          : QStringLiteral("'O'"),
                                QStringLiteral("'D'"),
                                quote(required(name, "charge slip", value(args, 11))),
                                orNull(value(args, 12))};
    const QString columns =
        QStringLiteral("HospNum, IdNum, ItemID, Amount, Quantity, TransDate, RevenueID, "
                       "RequestStatus, UserID, Description, PatientType, ChargeType, ChargeSlip, "
                       "LocationID");
    const QString package = quote(required(name, "package code", value(args, 13)));
    db.exec(QStringLiteral("INSERT INTO CLINICAL_AREA..tbCancerCharges (") + columns +
            QStringLiteral(", PackageID) VALUES (") + values.join(QStringLiteral(", ")) +
            QStringLiteral(", ") + package + QLatin1Char(')'));
    db.exec(QStringLiteral("INSERT INTO CLINICAL_AREA..tbCancerLogBook (") + columns +
            QStringLiteral(", Remarks) VALUES (") + values.join(QStringLiteral(", ")) +
            QStringLiteral(", ") + quote(QStringLiteral("PACKAGE ") + value(args, 13)) +
            QLatin1Char(')'));
    return {};
}

// charge slip, admission number, package code: the lines posted under the
// package on that slip, cancelled ones included (their status says so).
Recordset packageCharges(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(
        QStringLiteral("SELECT RevenueID, ItemID, Description, Quantity, Amount, "
                       "isnull(RequestStatus, 'X') AS RequestStatus, TransDate, UserID "
                       "FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = %1 AND IdNum = %2 "
                       "AND PackageID = %3 ORDER BY ChargeID")
            .arg(quote(value(args, 0)), quote(value(args, 1)), quote(value(args, 2))));
}

} // namespace

void registerPackageProcedures(db::ProcedureRegistry &registry)
{
    const QString hemo = QStringLiteral("HEMODIALYSIS");
    const QString unit = QStringLiteral("CLINICAL_AREA");
    registry.add(hemo, QStringLiteral("spKidney_BuildPackage"), buildPackage);
    registry.add(hemo, QStringLiteral("spKidney_UpdatePackage"), updatePackage);
    registry.add(hemo, QStringLiteral("spKidney_GetPackageCharges"), packageCharges);
    registry.add(unit, QStringLiteral("sp_Get_AdmPackages"), admPackages);
    registry.add(unit, QStringLiteral("sp_Get_ADMPackage_Items"), admPackageItems);
    registry.add(QStringLiteral("STATION"), QStringLiteral("sp_Get_ADMPackage_Items"),
                 admPackageItems);
    registry.add(unit, QStringLiteral("spCancer_GetPackageItems"), packageItems);
    registry.add(unit, QStringLiteral("spCancer_AppendChargingNew"), appendChargingNew);
}

} // namespace chemodesk::hospital
