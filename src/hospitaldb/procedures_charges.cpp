#include "procedures.h"

#include "session/module1.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// The requesting doctor of an admission (numeric number) or out-patient
// registration: the attending physician, under both names the screens read.
// No row when the registration names no doctor on file.
Recordset getDoctor(db::ProcedureContext &db, const QStringList &args)
{
    const QString idNum = arg(args, 0).trimmed();
    const bool admission = session::IsNumeric(idNum);
    const QString table = admission ? QStringLiteral("PATIENT_DATA..tbPatient")
                                    : QStringLiteral("PATIENT_DATA..tbOutPatient");
    const QString doctor =
        admission ? QStringLiteral("R.AttendingDr1") : QStringLiteral("R.DoctorID1");
    return db.query(
        QStringLiteral("SELECT %1 AS DoctorID1, %1 AS attendingdr1, "
                       "D.LastName + ', ' + isnull(D.FirstName, '') AS Doctor "
                       "FROM %2 R INNER JOIN BUILD_FILE..tbCoDoctor D ON D.DoctorID = %1 "
                       "WHERE R.IdNum = %3")
            .arg(doctor, table, quote(idNum)));
}

QString initials(const Recordset &rs)
{
    QString out;
    for (const char *name : {"FirstName", "MiddleName", "LastName"}) {
        const QString part = rs.Fields(QLatin1String(name)).trimmed();
        if (!part.isEmpty())
            out += part.at(0);
    }
    return out.isEmpty() ? rs.Fields(QStringLiteral("UserID")).trimmed() : out;
}

// The unit's saved charge lines of an admission, cancelled and resulted ones
// included (the list colours them by RequestStatus), oldest first. The unit's
// table holds only its own station's lines, so any other station has none.
// Initial: the initials of the employee who posted the line.
Recordset listCharges(db::ProcedureContext &db, const QStringList &args)
{
    const QStringList columns = {QStringLiteral("RequestStatus"), QStringLiteral("RevenueID"),
                                 QStringLiteral("ItemID"),        QStringLiteral("Description"),
                                 QStringLiteral("Quantity"),      QStringLiteral("Amount"),
                                 QStringLiteral("ChargeSlip"),    QStringLiteral("Initial"),
                                 QStringLiteral("LocationID"),    QStringLiteral("TransDate")};
    Recordset::Builder out(columns);
    if (arg(args, 1).trimmed().compare(QLatin1String("ON"), Qt::CaseInsensitive) != 0)
        return out.finish();
    Recordset rs = db.query(
        QStringLiteral("SELECT C.RequestStatus, C.RevenueID, C.ItemID, C.Description, C.Quantity, "
                       "C.Amount, C.ChargeSlip, C.UserID, P.FirstName, P.MiddleName, P.LastName, "
                       "C.LocationID, C.TransDate "
                       "FROM CLINICAL_AREA..tbCancerCharges C "
                       "LEFT OUTER JOIN PASSWORD..tbPasswordMaster P ON P.EmployeeID = C.UserID "
                       "WHERE C.IdNum = %1 ORDER BY C.TransDate, C.ChargeID")
            .arg(quote(arg(args, 0).trimmed())));
    for (; !rs.atEnd(); rs.MoveNext()) {
        for (const QString &column : columns) {
            if (column == QLatin1String("Initial"))
                out.addVariant(initials(rs));
            else
                out.addVariant(rs.Fields(column).Value());
        }
    }
    return out.finish();
}

// What a charge slip of the admission still amounts to: its lines less the
// cancelled ones. The second value is the slip series the screens name ("KS",
// shared with the dialysis unit); this unit's slips are totalled whole.
Recordset slipTotal(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(QStringLiteral("SELECT isnull(sum(Amount), 0) AS Amount "
                                   "FROM CLINICAL_AREA..tbCancerCharges "
                                   "WHERE IdNum = %1 AND ChargeSlip = %2 "
                                   "AND isnull(RequestStatus, 'X') <> 'C'")
                        .arg(quote(arg(args, 0).trimmed()), quote(arg(args, 2).trimmed())));
}

} // namespace

void registerChargeProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spCancer_GetDoctor"), getDoctor);
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("List_All_CancerCharges"),
                 listCharges);
    registry.add(QStringLiteral("CLINICAL_AREA"),
                 QStringLiteral("List_All_CancerCharges_TotalAmountPerChargeSlip"), slipTotal);
}

} // namespace chemodesk::hospital
