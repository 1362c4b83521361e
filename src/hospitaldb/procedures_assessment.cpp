#include "procedures.h"

// Cash assessments: the "OC" number, the assessed items, the slip lines
// printed, the department's list of assessments by status and the
// revocation of one the cashier has not yet been paid for.

#include "procedurevalues.h"

#include <QDateTime>

#include <cmath>
#include <map>
#include <vector>

namespace chemodesk::hospital {

using db::arg;
using sql::quote;
using namespace values;

namespace {

// Draws the next assessment number; the screen writes it "OC" + number.
Recordset drawAssessmentNum(db::ProcedureContext &db, const QStringList &)
{
    const qlonglong number =
        db.drawCounter(QStringLiteral("BILLING..tbAssessmentNum"), QStringLiteral("AssessmentNum"));
    return Recordset({QStringLiteral("AssessmentNum")}, {{QVariant(number)}});
}

// The name of an assessed item: from the item master for medicines and
// supplies, the department's examination list, or its services.
QString itemName(db::ProcedureContext &db, const QString &dept, const QString &item)
{
    const QString code = quote(item);
    QStringList texts;
    texts << QStringLiteral("SELECT ItemName AS Name FROM INVENTORY..tbInvMaster WHERE ItemID = ") +
                 code;
    if (dept.compare(QLatin1String("LB"), Qt::CaseInsensitive) == 0)
        texts.prepend(
            QStringLiteral(
                "SELECT LabExam AS Name FROM BUILD_FILE..tbcoLabExam WHERE LabExamID = ") +
            code);
    else if (dept.compare(QLatin1String("US"), Qt::CaseInsensitive) == 0)
        texts.prepend(QStringLiteral("SELECT UltraExam AS Name FROM BUILD_FILE..tbcoultraexam "
                                     "WHERE UltraExamID = ") +
                      code);
    if (dept.compare(QLatin1String("PH"), Qt::CaseInsensitive) != 0 &&
        dept.compare(QLatin1String("CS"), Qt::CaseInsensitive) != 0)
        texts.insert(texts.size() - 1,
                     QStringLiteral("SELECT OtherRevenue AS Name FROM BUILD_FILE..TbCoOtherRevenue "
                                    "WHERE OtherSectionID = ") +
                         quote(dept) + QStringLiteral(" AND OtherRevenueID = ") + code);
    for (const QString &text : texts) {
        const Recordset rs = db.query(text);
        if (!rs.atEnd())
            return rs.Fields(0).trimmed();
    }
    return {};
}

// One assessed item: reference number, patient name, item, department,
// quantity, amount, series, employee, admission and hospital numbers,
// doctor's code and name, the screen's working value, the package applied.
Recordset patientDataAssessment(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spPatient_data_Assessment";
    const QString dept = required(name, "department", value(args, 3));
    const QString item = required(name, "item", value(args, 2));
    db.exec(QStringLiteral(
                "INSERT INTO BILLING..tbCashAssessment (RefNum, PatientName, ItemID, RevenueID, "
                "Description, Quantity, Amount, TransType, UserID, IdNum, HospNum, DoctorID, "
                "DoctorName, ItemFlag, PackageID, TransDate, Revoked) VALUES (") +
            QStringList{quote(required(name, "reference number", value(args, 0))),
                        quote(value(args, 1)), quote(item), quote(dept),
                        orNull(itemName(db, dept, item)),
                        numberOrZero(name, "quantity", value(args, 4)),
                        numberOrZero(name, "amount", value(args, 5)), quote(value(args, 6)),
                        quote(value(args, 7)), orNull(value(args, 8)), orNull(value(args, 9)),
                        orNull(value(args, 10)), orNull(value(args, 11)), orNull(value(args, 12)),
                        orNull(value(args, 13)), now(db), QStringLiteral("0")}
                .join(QStringLiteral(", ")) +
            QLatin1Char(')'));
    return {};
}

// Every slip line printed: department and code joined, item, quantity,
// price, amount, employee.
Recordset globalDumpChargeSlip(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_GlobalDumpChargeSlip";
    db.exec(QStringLiteral("INSERT INTO CLINICAL_AREA..tbCancerGlobalChargePrint (ItemCode, "
                           "Description, Quantity, Price, Amount, UserID, PrintDate) VALUES (") +
            QStringList{quote(required(name, "item", value(args, 0))), quote(value(args, 1)),
                        numberOrZero(name, "quantity", value(args, 2)),
                        numberOrZero(name, "price", value(args, 3)),
                        numberOrZero(name, "amount", value(args, 4)), quote(value(args, 5)),
                        now(db)}
                .join(QStringLiteral(", ")) +
            QLatin1Char(')'));
    return {};
}

// A line of the slip being printed: department and code joined (the
// department is the code's first two letters), item, quantity, amount.
Recordset dumpChargeSlip(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spCancer_DumpChargeSlip";
    const QString joined = required(name, "item", value(args, 0));
    db.exec(QStringLiteral("INSERT INTO CLINICAL_AREA..tbCancerChargePrint (ItemID, Amount, "
                           "Quantity, RevenueID, Description) VALUES (") +
            QStringList{quote(joined.mid(2)), numberOrZero(name, "amount", value(args, 3)),
                        numberOrZero(name, "quantity", value(args, 2)), quote(joined.left(2)),
                        quote(value(args, 1))}
                .join(QStringLiteral(", ")) +
            QLatin1Char(')'));
    return {};
}

// ------------------------------------------------------------ the listing

const QString Listed = QStringLiteral(
    "SELECT RefNum, HospNum, IdNum, PatientName, TransDate, Amount, UserID, TransType, "
    "ORNumber, Revoked FROM BILLING..tbCashAssessment ");

// One row per assessment, in the order the rows first name it: hospital
// number (the revocation's first key), name, date, total, reference number,
// items, status ("OPEN", "REVOKED" or the cashier's receipt "OR..."),
// series (the revocation's third value) and the admission number the slip
// is printed for.
Recordset assessments(db::ProcedureContext &db, const QString &where)
{
    const QStringList columns = {
        QStringLiteral("HospNum"), QStringLiteral("PatientName"), QStringLiteral("AssessDate"),
        QStringLiteral("Amount"),  QStringLiteral("RefNum"),      QStringLiteral("Items"),
        QStringLiteral("Status"),  QStringLiteral("TransType"),   QStringLiteral("IdNum")};
    struct Assessment {
        QString hospNum, idNum, name, user, series, receipt;
        QDateTime date;
        double amount = 0;
        int items = 0;
        bool revoked = false;
    };
    std::vector<QString> order;
    std::map<QString, Assessment> byRef;
    for (Recordset rs = db.query(Listed + where +
                                 QStringLiteral(" ORDER BY TransDate DESC, RefNum, AssessID"));
         !rs.atEnd(); rs.MoveNext()) {
        const QString ref = rs.Fields(QStringLiteral("RefNum")).trimmed();
        auto [it, added] = byRef.try_emplace(ref);
        Assessment &a = it->second;
        if (added) {
            order.push_back(ref);
            a.hospNum = rs.Fields(QStringLiteral("HospNum")).trimmed();
            a.idNum = rs.Fields(QStringLiteral("IdNum")).trimmed();
            a.name = rs.Fields(QStringLiteral("PatientName")).trimmed();
            a.user = rs.Fields(QStringLiteral("UserID")).trimmed();
            a.series = rs.Fields(QStringLiteral("TransType")).trimmed();
            a.date = rs.Fields(QStringLiteral("TransDate")).toDateTime();
        }
        a.amount += rs.Fields(QStringLiteral("Amount")).toDouble();
        ++a.items;
        a.revoked = a.revoked || rs.Fields(QStringLiteral("Revoked")).toBool();
        if (a.receipt.isEmpty())
            a.receipt = rs.Fields(QStringLiteral("ORNumber")).trimmed();
    }
    Recordset::Builder out(columns, order.size());
    for (const QString &ref : order) {
        const Assessment &a = byRef.at(ref);
        out.addVariant(a.hospNum);
        out.addVariant(a.name);
        out.addVariant(a.date.toString(QStringLiteral("MM/dd/yyyy hh:mmAP")));
        out.addVariant(QString::number(a.amount, 'f', 2));
        out.addVariant(ref);
        out.addInteger(a.items);
        out.addVariant(a.revoked              ? QStringLiteral("REVOKED")
                       : !a.receipt.isEmpty() ? a.receipt
                                              : QStringLiteral("OPEN"));
        out.addVariant(a.series);
        out.addVariant(a.idNum);
    }
    return out.finish();
}

// Still waiting at the cashier, or made, paid or revoked today.
QString currentOnes(db::ProcedureContext &db)
{
    const QString today = quote(db.now().date().toString(QStringLiteral("yyyy-MM-dd")));
    return QStringLiteral("((isnull(Revoked, 0) = 0 AND ORNumber IS NULL) OR TransDate >= ") +
           today + QStringLiteral(" OR PaidDate >= ") + today +
           QStringLiteral(" OR RevokeDate >= ") + today + QLatin1Char(')');
}

// The assessments of patients whose name begins with the text; "Y" shows
// the earlier ones too, "N" only the current ones.
Recordset assessmentStatusNew(db::ProcedureContext &db, const QStringList &args)
{
    QString where =
        QStringLiteral("WHERE PatientName LIKE ") + quote(value(args, 0) + QLatin1Char('%'));
    if (value(args, 1).compare(QLatin1String("Y"), Qt::CaseInsensitive) != 0)
        where += QStringLiteral(" AND ") + currentOnes(db);
    return assessments(db, where);
}

// The current assessments of every patient.
Recordset assessmentStatus(db::ProcedureContext &db, const QStringList &)
{
    return assessments(db, QStringLiteral("WHERE ") + currentOnes(db));
}

// Takes an assessment back: hospital number, reference number, series. One
// the cashier has been paid for, or already revoked, is refused.
Recordset assessRevoke(db::ProcedureContext &db, const QStringList &args)
{
    const char *name = "spKidney_AssessRevoke";
    const QString ref = quote(required(name, "reference number", value(args, 1)));
    QString where = QStringLiteral(" WHERE RefNum = ") + ref +
                    QStringLiteral(" AND isnull(HospNum, '') = ") + quote(value(args, 0));
    if (!value(args, 2).isEmpty())
        where += QStringLiteral(" AND TransType = ") + quote(value(args, 2));
    // Taking the rows first makes a payment racing with this revocation wait,
    // and be seen.
    db.exec(QStringLiteral("UPDATE BILLING..tbCashAssessment SET Revoked = Revoked") + where);
    const Recordset rs = db.query(
        QStringLiteral("SELECT count(*) AS Items, sum(CASE WHEN ORNumber IS NULL THEN 0 ELSE 1 "
                       "END) AS Paid, sum(isnull(Revoked, 0)) AS Revoked "
                       "FROM BILLING..tbCashAssessment") +
        where);
    if (rs.atEnd() || rs.Fields(QStringLiteral("Items")).toLongLong() == 0)
        refuse(name, QStringLiteral("there is no assessment %1.").arg(value(args, 1)));
    if (rs.Fields(QStringLiteral("Paid")).toLongLong() > 0)
        refuse(name,
               QStringLiteral("assessment %1 has been paid at the cashier.").arg(value(args, 1)));
    if (rs.Fields(QStringLiteral("Revoked")).toLongLong() > 0)
        refuse(name, QStringLiteral("assessment %1 is already revoked.").arg(value(args, 1)));
    db.exec(QStringLiteral("UPDATE BILLING..tbCashAssessment SET Revoked = 1, RevokeDate = ") +
            now(db) + where);
    return {};
}

} // namespace

void registerAssessmentProcedures(db::ProcedureRegistry &registry)
{
    const QString unit = QStringLiteral("CLINICAL_AREA");
    registry.add(unit, QStringLiteral("spCancer_DrawAssessmentNum"), drawAssessmentNum);
    registry.add(QStringLiteral("PATIENT_DATA"), QStringLiteral("spPatient_data_Assessment"),
                 patientDataAssessment);
    registry.add(unit, QStringLiteral("spCancer_GlobalDumpChargeSlip"), globalDumpChargeSlip);
    registry.add(unit, QStringLiteral("spCancer_DumpChargeSlip"), dumpChargeSlip);
    registry.add(unit, QStringLiteral("spCancer_AssessmentStatusNew"), assessmentStatusNew);
    registry.add(unit, QStringLiteral("spCancer_AssessmentStatus"), assessmentStatus);
    registry.add(QStringLiteral("HEMODIALYSIS"), QStringLiteral("spKidney_AssessRevoke"),
                 assessRevoke);
}

} // namespace chemodesk::hospital
