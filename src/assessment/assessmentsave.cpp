#include "assessmentsave.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "session/globals.h"

#include <cmath>

namespace chemodesk::assessment {

using Icon = widgets::MessageService::Icon;

namespace {

const QString Title = QStringLiteral("Assessment");

bool entered(const AssessmentLine &line)
{
    return !line.dept.trimmed().isEmpty();
}

// A number as the procedure receives it: no exponent, no trailing zeros.
QString numberText(const QString &text)
{
    QString number = QString::number(cellNumber(text), 'f', 4);
    while (number.endsWith(QLatin1Char('0')))
        number.chop(1);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return number;
}

} // namespace

void showRefusal(const Refusal &refusal)
{
    widgets::messages().message(refusal.text,
                                refusal.title.isEmpty() ? widgets::defaultTitle() : refusal.title,
                                refusal.icon);
}

QString assessmentNumber(qlonglong counter)
{
    return QStringLiteral("OC") + QString::number(counter);
}

double cellNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool doctorExists(Connection &connection, const QString &doctorId)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = '") +
        sql::escape(doctorId) + QLatin1Char('\''));
    return !rs.atEnd();
}

std::optional<Refusal> checkAssessment(Connection &connection, const AssessmentHeader &header,
                                       const std::vector<AssessmentLine> &lines)
{
    if (header.patientName.trimmed() == QLatin1String(","))
        return Refusal{QStringLiteral("Please enter the patient's lastname."), Title};
    if (header.doctorId != QLatin1String("0") && !doctorExists(connection, header.doctorId))
        return Refusal{QStringLiteral("Please enter patient's requesting doctor"), Title};
    for (const AssessmentLine &line : lines)
        if (entered(line) && cellNumber(line.quantity) == 0)
            return Refusal{QStringLiteral("Please enter the quantity for the exam ") + line.item +
                               QLatin1Char('.'),
                           Title};
    return std::nullopt;
}

QString assessmentText(const QString &refNum, const AssessmentHeader &header,
                       const AssessmentLine &line)
{
    const QStringList values = {refNum,
                                header.patientName.trimmed(),
                                line.code,
                                line.dept,
                                numberText(line.quantity),
                                numberText(line.amount),
                                QStringLiteral("OC"),
                                header.employeeCode,
                                header.idNum,
                                header.hospNum,
                                header.doctorId,
                                header.doctorName.trimmed(),
                                line.flag,
                                header.packageCode};
    QString text = QStringLiteral("Patient_Data..spPatient_data_Assessment ");
    for (qsizetype i = 0; i < values.size(); ++i)
        text += QLatin1Char('\'') + sql::escape(values.at(i)) +
                (i + 1 < values.size() ? QStringLiteral("', ") : QStringLiteral("'"));
    return text;
}

QString remarksText(const QString &remarks, const QString &refNum)
{
    return QStringLiteral("Update Billing..tbCashAssessment set Remarks = '") +
           sql::escape(remarks.trimmed()) + QStringLiteral("' where Refnum = '") +
           sql::escape(refNum) + QLatin1Char('\'');
}

QString globalDumpText(const AssessmentLine &line, const QString &employeeCode)
{
    return sql::call(
        QStringLiteral("Clinical_Area"), QStringLiteral("spCancer_GlobalDumpChargeSlip"),
        {line.dept + line.code, line.item, line.quantity, line.price, line.amount, employeeCode});
}

QString dumpText(const AssessmentLine &line)
{
    return sql::call(QStringLiteral("Clinical_Area"), QStringLiteral("spCancer_DumpChargeSlip"),
                     {line.dept + line.code, line.item, line.quantity, line.amount});
}

QString saveAssessment(Connection &connection, const AssessmentHeader &header,
                       const std::vector<AssessmentLine> &lines)
{
    Transaction transaction(connection);
    // Drawn by one statement on the server (add one, return the number
    // before) inside the save's transaction: the counter's row stays locked
    // for the other workstations until this save ends, and a failed save
    // gives its number back with its rows.
    const Recordset drawn =
        connection.Execute(QStringLiteral("Clinical_Area..spCancer_DrawAssessmentNum"));
    if (drawn.atEnd())
        throw DatabaseError(QStringLiteral("No assessment number could be drawn."));
    const QString refNum =
        assessmentNumber(drawn.Fields(QStringLiteral("AssessmentNum")).toLongLong());
    for (const AssessmentLine &line : lines)
        if (entered(line))
            connection.Execute(assessmentText(refNum, header, line));
    connection.Execute(remarksText(header.remarks, refNum));
    transaction.commit();
    return refNum;
}

void dumpSlip(Connection &connection, const std::vector<AssessmentLine> &lines,
              const QString &employeeCode)
{
    Transaction transaction(connection);
    for (const AssessmentLine &line : lines) {
        if (!entered(line))
            continue;
        connection.Execute(globalDumpText(line, employeeCode));
        connection.Execute(dumpText(line));
    }
    transaction.commit();
}

charging::SlipPrint assessmentSlipPrint(const QString &refNum, const QString &idNum,
                                        const QString &mode)
{
    const session::Globals &g = session::globals();
    charging::SlipPrint print;
    print.templatePath = QStringLiteral("\\Reports\\Chargeslip.RPT");
    print.parameters = {QVariant(refNum.trimmed() + QStringLiteral(" Assessment Slip :")),
                        QVariant(idNum.trimmed()),
                        QVariant(mode),
                        QVariant(g.HospitalName),
                        QVariant(g.HospitalAddress),
                        QVariant(refNum.trimmed())};
    print.caption = QStringLiteral("Print ChargeSlip");
    return print;
}

} // namespace chemodesk::assessment
