#include "procedures.h"
#include "procedurevalues.h"

// The department's request log book: medicines asked of the pharmacy and
// supplies of the central supply room, one row per item, the items of one
// save under one request number; and the list of earlier requests a form is
// reprinted from.

namespace chemodesk::hospital {

using sql::quote;
using namespace values;

namespace {

// One item of a pharmacy or central supply request. Values, in order:
//   1 hospital number   2 admission number   3 in/out type     4 item
//   5 amount            6 quantity           7 dosage          8 route (blank)
//   9 request date     10 request type PH/CS 11 doctor         12 doctor's name (blank: on file)
//  13 user             14 remarks            15 description    16 station
//  17 Y medicine / N supply                  18 the line's reference
// The screens send the items of one save in one transaction, each with the same
// date and user: the first item draws the request number, the others find it
// under that date, so a request is numbered once and whole.
Recordset appendLogBook(db::ProcedureContext &db, const QStringList &args, const QString &name)
{
    const QString hospNum = required(name, "hospital number", value(args, 0));
    const QString idNum = required(name, "admission number", value(args, 1));
    const QString item = required(name, "item", value(args, 3));
    const QString amountText = amount(name, value(args, 4));
    const QString quantityText = quantity(name, value(args, 5));
    const QString when = storedDateTime(name, value(args, 8));
    const QString type = value(args, 9).toUpper();
    if (type != QLatin1String("PH") && type != QLatin1String("CS"))
        refuse(name,
               QStringLiteral("the request type '%1' is neither PH nor CS.").arg(value(args, 9)));
    const QString doctor = value(args, 10);
    const QString user = required(name, "user", value(args, 12));
    QString doctorText = value(args, 11);
    if (doctorText.isEmpty())
        doctorText = doctorName(db, doctor);

    // The values bound: the texts are fixed, translated once for every line.
    const Recordset same = db.query(
        db::FixedText(u"SELECT max(RequestNum) AS RequestNum FROM CLINICAL_AREA..tbCancerRequest "
                      "WHERE IdNum = ? AND HospNum = ? AND RequestType = ? "
                      "AND RequestDate = ? AND UserID = ?"),
        {idNum, hospNum, type, when, user});
    qlonglong requestNum = same.Fields(0).IsNull() ? 0 : same.Fields(0).toLongLong();
    if (requestNum == 0)
        requestNum = db.drawCounter(QStringLiteral("CLINICAL_AREA..tbCancerRequestNum"),
                                    QStringLiteral("RequestNum"));

    db.exec(db::FixedText(u"INSERT INTO CLINICAL_AREA..tbCancerRequest (RequestNum, HospNum, "
                          "IdNum, PatientType, ItemID, Amount, Quantity, Dosage, Route, "
                          "RequestDate, RequestType, DoctorID, DoctorName, UserID, Remarks, "
                          "Description, StationID, ForPharmacy, Reference, LocationID, SavedAt) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {requestNum,
             hospNum,
             idNum,
             db::Value::orNull(value(args, 2).toUpper()),
             item,
             db::Value::number(amountText),
             db::Value::number(quantityText),
             db::Value::orNull(value(args, 6)),
             db::Value::orNull(value(args, 7)),
             when,
             type,
             db::Value::orNull(doctor),
             db::Value::orNull(doctorText),
             user,
             db::Value::orNull(value(args, 13)),
             db::Value::orNull(value(args, 14)),
             db::Value::orNull(value(args, 15)),
             db::Value::orNull(value(args, 16).toUpper()),
             db::Value::orNull(value(args, 17)),
             type == QLatin1String("PH") ? QStringLiteral("20") : QStringLiteral("21"),
             dateTimeText(db.now())});
    return {};
}

// Earlier requests of one type, newest first, one row per request: the
// reprint list. A non-empty first value keeps the requests of that patient
// (hospital or admission number); cancelled items are left out.
Recordset loadPHCSRequest(db::ProcedureContext &db, const QStringList &args)
{
    const QString patient = value(args, 0);
    QString text = QStringLiteral(
        "SELECT R.RequestNum, min(R.RequestDate) AS RequestDate, "
        "max(M.LastName + ', ' + isnull(M.FirstName, '') + ' ' + isnull(M.MiddleName, '')) "
        "AS PatientName, R.HospNum, R.IdNum, max(isnull(R.DoctorName, '')) AS DoctorName "
        "FROM CLINICAL_AREA..tbCancerRequest R "
        "LEFT OUTER JOIN PATIENT_DATA..tbMaster M ON M.HospNum = R.HospNum "
        "WHERE R.RequestType = %1 AND isnull(R.RequestStatus, 'X') <> 'C'");
    text = text.arg(quote(value(args, 1).toUpper()));
    if (!patient.isEmpty())
        text += QStringLiteral(" AND (R.IdNum = %1 OR R.HospNum = %1)").arg(quote(patient));
    text += QStringLiteral(" GROUP BY R.RequestNum, R.HospNum, R.IdNum "
                           "ORDER BY R.RequestNum DESC");
    Recordset rs = db.query(text);
    // The name as the forms print it, without the blank an absent middle name leaves.
    const QStringList columns = {QStringLiteral("RequestNum"),  QStringLiteral("RequestDate"),
                                 QStringLiteral("PatientName"), QStringLiteral("HospNum"),
                                 QStringLiteral("IdNum"),       QStringLiteral("DoctorName")};
    Recordset::Builder out(columns);
    for (; !rs.atEnd(); rs.MoveNext()) {
        out.addVariant(rs.Fields(0).Value());
        out.addVariant(rs.Fields(1).Value());
        out.addVariant(rs.Fields(2).trimmed());
        out.addVariant(rs.Fields(3).Value());
        out.addVariant(rs.Fields(4).Value());
        out.addVariant(rs.Fields(5).trimmed());
    }
    return out.finish();
}

} // namespace

void registerRequestProcedures(db::ProcedureRegistry &registry)
{
    // The department's call and the older screens' twin write the same log book.
    for (const char *name : {"spCancer_AppendCancerLogBook", "spKidney_AppendCancerLogBook"}) {
        const QString procedure = QLatin1String(name);
        registry.add(QStringLiteral("CLINICAL_AREA"), procedure,
                     [procedure](db::ProcedureContext &db, const QStringList &args) {
                         return appendLogBook(db, args, procedure);
                     });
    }
    registry.add(QStringLiteral("HEMODIALYSIS"), QStringLiteral("spHemo_LoadPHCSRequest"),
                 loadPHCSRequest);
}

} // namespace chemodesk::hospital
