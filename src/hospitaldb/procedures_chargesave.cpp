#include "procedures.h"
#include "procedurevalues.h"

// The procedures a charge slip is saved, cancelled and renumbered with: the
// unit's charge, log book and print rows, the laboratory, radiology and
// pulmonary requests written beside them, and the employees' slip booklets.
// Every value is checked before anything is written: a number that is not a
// number is refused with the procedure's name, never stored as zero.

#include <cmath>

namespace chemodesk::hospital {

using sql::quote;
using namespace values;

namespace {

QString flag(const char *procedure, const char *what, const QString &text)
{
    if (text.isEmpty() || text == QLatin1String("0"))
        return QStringLiteral("0");
    if (text == QLatin1String("1"))
        return QStringLiteral("1");
    refuse(procedure, QStringLiteral("the %1 '%2' is not 0 or 1.").arg(QLatin1String(what), text));
}

// One row; values already quoted or literal. Kept free of %-placeholders, so
// no typed value is ever taken for one.
void insert(db::ProcedureContext &db, const char *table, const char *columns,
            const QStringList &values)
{
    db.exec(QStringLiteral("INSERT INTO ") + QLatin1String(table) + QStringLiteral(" (") +
            QLatin1String(columns) + QStringLiteral(") VALUES (") +
            values.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

// ------------------------------------------------------------ unit's rows

// item, amount, quantity, department, description, location, stock-card
// department, line flags: one line of the slip the charge-slip report prints.
Recordset saveChargePrint(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_SaveChargePrint";
    insert(db, "CLINICAL_AREA..tbCancerChargePrint",
           "ItemID, Amount, Quantity, RevenueID, Description, LocationID, StockcardRevenueID, "
           "LineFlags",
           {quote(required(name, "item", value(args, 0))), amount(name, value(args, 1)),
            quantity(name, value(args, 2)), quote(required(name, "department", value(args, 3))),
            quote(value(args, 4)), orNull(value(args, 5)), orNull(value(args, 6)),
            orNull(value(args, 7))});
    return {};
}

// The values both the log book and the unit's charge begin with.
struct ChargeValues {
    QString hospNum, idNum, item, amount, quantity, date, dept, status, user, description,
        patientType, kind, room, section, doctor, slip;
};

ChargeValues chargeValues(const char *name, const QStringList &args)
{
    ChargeValues v;
    v.hospNum = quote(required(name, "hospital number", value(args, 0)));
    v.idNum = quote(required(name, "admission number", value(args, 1)));
    v.item = quote(required(name, "item", value(args, 2)));
    v.amount = amount(name, value(args, 3));
    v.quantity = quantity(name, value(args, 4));
    v.date = quote(storedDateTime(name, value(args, 5)));
    v.dept = quote(required(name, "department", value(args, 6)));
    const QString status = value(args, 7).toUpper();
    if (status != QLatin1String("X"))
        refuse(name, QStringLiteral("a new charge is posted with status 'X', not '%1'.")
                         .arg(value(args, 7)));
    v.status = quote(status);
    v.user = quote(required(name, "user", value(args, 8)));
    v.description = quote(value(args, 9));
    v.patientType = orNull(value(args, 10));
    const QString kind = value(args, 11).toUpper();
    if (kind != QLatin1String("D") && kind != QLatin1String("P"))
        refuse(name, QStringLiteral("the kind '%1' is neither D nor P.").arg(value(args, 11)));
    v.kind = quote(kind);
    v.room = orNull(value(args, 12));
    v.section = orNull(value(args, 13));
    v.doctor = orNull(value(args, 14));
    v.slip = quote(required(name, "charge slip", value(args, 15)));
    return v;
}

QStringList leading(const ChargeValues &v)
{
    return {v.hospNum, v.idNum,   v.item,   v.amount,      v.quantity,    v.date,
            v.dept,    v.status,  v.user,   v.description, v.patientType, v.kind,
            v.room,    v.section, v.doctor, v.slip};
}

#define LEADING_COLUMNS                                                                            \
    "HospNum, IdNum, ItemID, Amount, Quantity, TransDate, RevenueID, RequestStatus, UserID, "      \
    "Description, PatientType, ChargeType, RoomID, SectionCode, DoctorID, ChargeSlip"

// The sixteen values of the unit's charge, then the line's location and the
// requesting doctor's name.
Recordset appendLogBook(db::ProcedureContext &db, const QStringList &args)
{
    const ChargeValues v = chargeValues("spCancer_Append_LogBook", args);
    insert(db, "CLINICAL_AREA..tbCancerLogBook", LEADING_COLUMNS ", LocationID, DoctorName",
           leading(v) << orNull(value(args, 16)) << orNull(value(args, 17)));
    return {};
}

// The unit's charge. Values, in order:
//   1 hospital number    2 admission number  3 item            4 amount
//   5 quantity           6 charge date       7 department      8 status "X"
//   9 user confirmed    10 description      11 patient type   12 kind D / P
//  13 room              14 section label    15 doctor's code  16 charge slip
//  17 location          18 receivable 0/1   19 doctor's name  20 stock-card department
Recordset appendCharging(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_Append_Charging";
    const ChargeValues v = chargeValues(name, args);
    insert(db, "CLINICAL_AREA..tbCancerCharges",
           LEADING_COLUMNS ", LocationID, isReceivable, DoctorName, StockcardRevenueID",
           leading(v) << orNull(value(args, 16)) << flag(name, "receivable flag", value(args, 17))
                      << orNull(value(args, 18)) << orNull(value(args, 19)));
    return {};
}

// ------------------------------------------------------ department requests

// hospital number, admission number, item, amount, quantity, department,
// user, room, doctor's code, doctor's name, charge slip, location.
Recordset saveLabMaster(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "Nurse_SaveLabMaster";
    const QString item = required(name, "item", value(args, 2));
    const Recordset exam =
        db.query(QStringLiteral("SELECT LabSectionID FROM BUILD_FILE..tbcoLabExam "
                                "WHERE LabExamID = ") +
                 quote(item));
    insert(db, "LABORATORY..tbLabRequest",
           "HospNum, IdNum, ItemID, Amount, Quantity, RevenueID, UserID, RoomID, DoctorID, "
           "DoctorName, ChargeSlip, LocationID, RequestDate, RequestStatus, LabSectionID",
           {quote(required(name, "hospital number", value(args, 0))),
            quote(required(name, "admission number", value(args, 1))), quote(item),
            amount(name, value(args, 3)), quantity(name, value(args, 4)),
            quote(required(name, "department", value(args, 5))),
            quote(required(name, "user", value(args, 6))), orNull(value(args, 7)),
            orNull(value(args, 8)), orNull(value(args, 9)),
            quote(required(name, "charge slip", value(args, 10))), orNull(value(args, 11)), now(db),
            QStringLiteral("'X'"),
            exam.atEnd() ? QStringLiteral("NULL") : orNull(exam.Fields(0).trimmed())});
    return {};
}

// 1 section, 2 hospital number, 3 admission number, 4 item, 5 quantity,
// 6 amount, 7 description, 8 room, 9 charge slip, 10 doctor's code, 11 user.
Recordset saveRadioRequest(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spRadio_SaveRequestOnly";
    const QString doctor = value(args, 9);
    insert(db, "RADIOLOGY..tbRadioRequest",
           "RevenueID, HospNum, IdNum, ItemID, Quantity, Amount, Description, RoomID, ChargeSlip, "
           "DoctorID, DoctorName, RequestDate, UserID, RequestStatus",
           {quote(required(name, "section", value(args, 0))),
            quote(required(name, "hospital number", value(args, 1))),
            quote(required(name, "admission number", value(args, 2))),
            quote(required(name, "item", value(args, 3))), quantity(name, value(args, 4)),
            amount(name, value(args, 5)), quote(value(args, 6)), orNull(value(args, 7)),
            quote(required(name, "charge slip", value(args, 8))), orNull(doctor),
            orNull(doctorName(db, doctor)), now(db), quote(required(name, "user", value(args, 10))),
            QStringLiteral("'X'")});
    return {};
}

// The next pulmonary request number. The row is locked first, so that a
// second workstation asking before this one has advanced the counter waits
// for it instead of reading the same number.
Recordset pulmoGetRequestNum(db::ProcedureContext &db, const QStringList &)
{
    db.exec(QStringLiteral("UPDATE CLINICAL_AREA..tbPulmoRequestNum SET RequestNum = RequestNum"));
    Recordset rs =
        db.query(QStringLiteral("SELECT RequestNum FROM CLINICAL_AREA..tbPulmoRequestNum"));
    if (rs.RecordCount() != 1)
        refuse("sp_pulmogetrequestnum", QStringLiteral("the request counter has no single row."));
    return rs;
}

Recordset pulmoIncRequestNum(db::ProcedureContext &db, const QStringList &)
{
    db.exec(
        QStringLiteral("UPDATE CLINICAL_AREA..tbPulmoRequestNum SET RequestNum = RequestNum + 1"));
    return {};
}

// 1 request number, 2 hospital number, 3 admission number, 4 item,
// 5 description, 6 remarks (empty), 7 amount, 8 quantity, 9 room,
// 10 doctor's code, 11 doctor's name, 12 cash flag ("0": charged to the
// account), 13 charge slip, 14 user, 15-18 the result's reader, date,
// interpretation and remarks (empty until the result is entered).
Recordset pulmoAddRequest(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "sp_PulmoAddRequest";
    const double requestNum = number(name, "request number", value(args, 0));
    if (requestNum <= 0 || requestNum != std::floor(requestNum))
        refuse(name, QStringLiteral("the request number '%1' is not a whole number above zero.")
                         .arg(value(args, 0)));
    flag(name, "cash flag", value(args, 11));
    insert(db, "CLINICAL_AREA..tbPulmoRequest",
           "RequestNum, HospNum, IdNum, ItemID, Description, Remarks, Amount, Quantity, RoomID, "
           "DoctorID, DoctorName, ChargeSlip, UserID, RequestDate, RequestStatus",
           {literal(requestNum), quote(required(name, "hospital number", value(args, 1))),
            quote(required(name, "admission number", value(args, 2))),
            quote(required(name, "item", value(args, 3))), quote(value(args, 4)),
            orNull(value(args, 5)), amount(name, value(args, 6)), quantity(name, value(args, 7)),
            orNull(value(args, 8)), orNull(value(args, 9)), orNull(value(args, 10)),
            quote(required(name, "charge slip", value(args, 12))),
            quote(required(name, "user", value(args, 13))), now(db), QStringLiteral("'X'")});
    return {};
}

// ---------------------------------------------------------- cancellations

QString lineOf(const char *name, const QStringList &args)
{
    return QStringLiteral("IdNum = %1 AND ItemID = %2 AND ChargeSlip = %3 AND RevenueID = %4")
        .arg(quote(required(name, "admission number", value(args, 0))),
             quote(required(name, "item", value(args, 1))),
             quote(required(name, "charge slip", value(args, 2))),
             quote(required(name, "department", value(args, 3))));
}

// admission number, item, charge slip, department: what the line still
// amounts to (nothing once cancelled).
Recordset verifyCharges(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(QStringLiteral("SELECT isnull(sum(Amount), 0) AS Amount "
                                   "FROM CLINICAL_AREA..tbCancerCharges WHERE %1 "
                                   "AND isnull(RequestStatus, 'X') <> 'C'")
                        .arg(lineOf("spCancer_VerifyCharges", args)));
}

// admission number, item, charge slip, department, status "C", cancellation
// date, user confirmed, reason. A line with a result entered meanwhile is
// refused; the department's request of the line, not yet resulted, is
// cancelled with it so that no examination is done for a cancelled charge.
Recordset updateCharging(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_UpdateCharging";
    const QString where = lineOf(name, args);
    if (value(args, 4).toUpper() != QLatin1String("C"))
        refuse(
            name,
            QStringLiteral("a charge is cancelled with status 'C', not '%1'.").arg(value(args, 4)));
    const QString date = quote(storedDateTime(name, value(args, 5)));
    const QString user = quote(required(name, "user", value(args, 6)));
    const Recordset line =
        db.query(QStringLiteral("SELECT isnull(RequestStatus, 'X') AS RequestStatus "
                                "FROM CLINICAL_AREA..tbCancerCharges WHERE %1 "
                                "AND isnull(RequestStatus, 'X') <> 'C'")
                     .arg(where));
    if (line.atEnd())
        refuse(name, QStringLiteral("item %1 of charge slip %2 has no charge left to cancel.")
                         .arg(value(args, 1), value(args, 2)));
    if (line.Fields(0).trimmed().toUpper() == QLatin1String("R"))
        refuse(name, QStringLiteral("item %1 of charge slip %2 has a result entered.")
                         .arg(value(args, 1), value(args, 2)));
    db.exec(QStringLiteral("UPDATE CLINICAL_AREA..tbCancerCharges SET RequestStatus = 'C', "
                           "CancelDate = %1, CancelledBy = %2, CancelReason = %3 WHERE %4 "
                           "AND isnull(RequestStatus, 'X') <> 'C'")
                .arg(date, user, orNull(value(args, 7)), where));
    const QString request =
        QStringLiteral(" SET RequestStatus = 'C' WHERE IdNum = %1 AND "
                       "ItemID = %2 AND ChargeSlip = %3 AND "
                       "isnull(RequestStatus, 'X') = 'X'")
            .arg(quote(value(args, 0)), quote(value(args, 1)), quote(value(args, 2)));
    for (const char *table :
         {"LABORATORY..tbLabRequest", "RADIOLOGY..tbRadioRequest", "CLINICAL_AREA..tbPulmoRequest"})
        db.exec(QStringLiteral("UPDATE ") + QLatin1String(table) + request);
    return {};
}

// ------------------------------------------------------------ slip booklets

// employee, number: the employee's booklet goes on at that number, which
// becomes the next one available. Only a number of the booklet is taken.
Recordset updateChargeslip(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "Update_Chargeslip";
    const QString employee = required(name, "employee", value(args, 0));
    const double slip = number(name, "charge slip number", value(args, 1));
    if (slip <= 0 || slip != std::floor(slip))
        refuse(name, QStringLiteral("the charge slip number '%1' is not a whole number above "
                                    "zero.")
                         .arg(value(args, 1)));
    const Recordset booklet =
        db.query(QStringLiteral("SELECT StartSlip, EndSlip FROM HEMODIALYSIS..tbKidneyChargeSlip "
                                "WHERE EmployeeID = %1")
                     .arg(quote(employee)));
    if (booklet.atEnd())
        refuse(name, QStringLiteral("employee %1 has no charge slip booklet.").arg(employee));
    const Field first = booklet.Fields(QStringLiteral("StartSlip"));
    const Field last = booklet.Fields(QStringLiteral("EndSlip"));
    if ((!first.IsNull() && slip < first.toDouble()) || (!last.IsNull() && slip > last.toDouble()))
        refuse(name, QStringLiteral("charge slip %1 is not in the booklet of employee %2.")
                         .arg(literal(slip), employee));
    db.exec(QStringLiteral("UPDATE HEMODIALYSIS..tbKidneyChargeSlip SET ChargeSlip = %1 "
                           "WHERE EmployeeID = %2")
                .arg(literal(slip), quote(employee)));
    return {};
}

} // namespace

void registerChargeSaveProcedures(db::ProcedureRegistry &registry)
{
    const QString unit = QStringLiteral("CLINICAL_AREA");
    registry.add(unit, QStringLiteral("spCancer_SaveChargePrint"), saveChargePrint);
    registry.add(unit, QStringLiteral("spCancer_Append_LogBook"), appendLogBook);
    registry.add(unit, QStringLiteral("spCancer_Append_Charging"), appendCharging);
    registry.add(unit, QStringLiteral("sp_pulmogetrequestnum"), pulmoGetRequestNum);
    registry.add(unit, QStringLiteral("sp_pulmoincrequestnum"), pulmoIncRequestNum);
    registry.add(unit, QStringLiteral("sp_PulmoAddRequest"), pulmoAddRequest);
    registry.add(unit, QStringLiteral("spCancer_VerifyCharges"), verifyCharges);
    registry.add(unit, QStringLiteral("spCancer_UpdateCharging"), updateCharging);
    registry.add(QStringLiteral("STATION"), QStringLiteral("Nurse_SaveLabMaster"), saveLabMaster);
    registry.add(QStringLiteral("RADIOLOGY"), QStringLiteral("spRadio_SaveRequestOnly"),
                 saveRadioRequest);
    registry.add(QStringLiteral("HEMODIALYSIS"), QStringLiteral("Update_Chargeslip"),
                 updateChargeslip);
}

} // namespace chemodesk::hospital
