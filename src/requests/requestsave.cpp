#include "requestsave.h"

#include "database/sqltext.h"
#include "platform/connection.h"

namespace chemodesk::requests {

LogBookCall pharmacyCall(bool olderLayout)
{
    return {olderLayout ? QStringLiteral("Clinical_Area..spKidney_AppendCancerLogBook '")
                        : QStringLiteral("Clinical_Area..spCancer_AppendCancerLogBook '"),
            QStringLiteral("PH"), QStringLiteral("Y"), true};
}

LogBookCall centralSupplyCall(bool olderLayout)
{
    // The older layout's text has two blanks before its first quote.
    return {olderLayout ? QStringLiteral("Clinical_Area..spKidney_AppendCancerLogBook  '")
                        : QStringLiteral("Clinical_Area..spCancer_AppendCancerLogBook '"),
            QStringLiteral("CS"), QStringLiteral("N"), false};
}

bool lineComplete(const RequestLine &line, bool needsDosage)
{
    auto filled = [](const QString &text) { return !text.trimmed().isEmpty(); };
    return filled(line.code) && filled(line.amount) && filled(line.quantity) &&
           (!needsDosage || filled(line.dosage));
}

QString requestDate(const QDateTime &when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

QString logBookText(const LogBookCall &call, const RequestHeader &header, const RequestLine &line)
{
    const QStringList values = {
        header.hospNum,   header.idNum,
        header.inOut,     line.code,
        line.amount,      line.quantity,
        line.dosage,      QStringLiteral(" "),
        header.dateTime,  call.requestType,
        header.doctorId,  QStringLiteral(" "),
        header.userId,    line.remarks,
        line.description, QStringLiteral("ON"),
        call.forPharmacy, call.sendsReference ? line.reference.trimmed() : QStringLiteral("0"),
    };
    qsizetype room = call.opening.size() + 3 * values.size();
    for (const QString &v : values)
        room += v.size() + 2; // an apostrophe or two doubled
    QString text;
    text.reserve(room);
    text += call.opening;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += QStringLiteral("','");
        text += sql::escape(values.at(i));
    }
    return text + QLatin1Char('\'');
}

int saveRequest(Connection &connection, const LogBookCall &call, const RequestHeader &header,
                const std::vector<RequestLine> &lines, bool needsDosage)
{
    int sent = 0;
    Transaction transaction(connection);
    for (const RequestLine &line : lines) {
        if (!lineComplete(line, needsDosage))
            continue;
        connection.Execute(logBookText(call, header, line));
        ++sent;
    }
    transaction.commit();
    return sent;
}

} // namespace chemodesk::requests
