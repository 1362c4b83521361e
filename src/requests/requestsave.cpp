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
    const QString reference = call.sendsReference ? line.reference.trimmed() : QStringLiteral("0");
    // The route and the doctor's name go blank, the station "ON".
    const QStringView values[] = {
        header.hospNum,   header.idNum,     header.inOut,     line.code,
        line.amount,      line.quantity,    line.dosage,      u" ",
        header.dateTime,  call.requestType, header.doctorId,  u" ",
        header.userId,    line.remarks,     line.description, u"ON",
        call.forPharmacy, reference,
    };
    // Written straight into one text sized for it: every line of every save is made here.
    qsizetype room = call.opening.size() + 4 * qsizetype(std::size(values));
    for (const QStringView value : values)
        room += value.size();
    QString text;
    text.reserve(room);
    text += call.opening;
    for (size_t i = 0; i < std::size(values); ++i) {
        if (i > 0)
            text += QLatin1String("','");
        if (values[i].contains(QLatin1Char('\'')))
            text += sql::escape(values[i].toString());
        else
            text += values[i];
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
