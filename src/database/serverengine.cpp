#include "serverengine.h"

#include "kept.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace chemodesk::db {

namespace {

// PostgreSQL's type numbers (pg_type.oid) of the values read specially.
enum PgType : Oid {
    PgBool = 16,
    PgInt8 = 20,
    PgInt2 = 21,
    PgInt4 = 23,
    PgFloat4 = 700,
    PgFloat8 = 701,
    PgDate = 1082,
    PgTimestamp = 1114,
    PgTimestampTz = 1184,
    PgNumeric = 1700,
};

// A number in the engine's text form, whatever the program's locale.
template <typename T> T parsed(const char *text, int length)
{
    T value{};
    std::from_chars(text, text + length, value);
    return value;
}

// The rows of a whole result, read from libpq's text form: dates and times are
// kept as the ISO text SQLite keeps, never turned into a QDateTime through the
// time zone and back.
Recordset pgRows(const PGresult *result)
{
    const int columns = PQnfields(result);
    const int rows = PQntuples(result);
    QStringList names;
    std::vector<Oid> types;
    for (int c = 0; c < columns; ++c) {
        names << QString::fromUtf8(PQfname(result, c));
        types.push_back(PQftype(result, c));
    }
    Recordset::Builder builder(std::move(names), static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(result, r, c)) {
                builder.addNull();
                continue;
            }
            const char *text = PQgetvalue(result, r, c);
            const int length = PQgetlength(result, r, c);
            switch (types[static_cast<size_t>(c)]) {
            case PgBool:
                builder.addBool(text[0] == 't');
                break;
            case PgInt2:
            case PgInt4:
            case PgInt8:
                builder.addInteger(parsed<qint64>(text, length));
                break;
            case PgFloat4:
            case PgFloat8:
            case PgNumeric:
                builder.addReal(parsed<double>(text, length));
                break;
            case PgDate: {
                const std::string day =
                    std::string(text, static_cast<size_t>(length)) + " 00:00:00";
                builder.addText(day.data(), static_cast<int>(day.size()));
                break;
            }
            case PgTimestamp:
            case PgTimestampTz:
                // Without fractions of a second or a zone.
                builder.addText(text, std::min(length, 19));
                break;
            default:
                builder.addText(text, length);
            }
        }
    }
    return builder.finish();
}

// A value of libpq's connection string, quoted.
QString quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// TCP keepalives on the workstation's side: a server that vanished from the
// network is noticed in about a minute instead of when TCP gives up. The
// URL's own libpq options (sslmode, sslrootcert, ...) come after them and win.
QStringList serverConnectOptions(const QUrl &url)
{
    QStringList options = {QStringLiteral("connect_timeout=10"), QStringLiteral("keepalives=1"),
                           QStringLiteral("keepalives_idle=30"),
                           QStringLiteral("keepalives_interval=10"),
                           QStringLiteral("keepalives_count=3")};
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key.isEmpty() || !key.contains(QRegularExpression(QStringLiteral("^[a-z_]+$"))))
            throw DatabaseError(
                QStringLiteral("The connection option '%1' is not a libpq option name.").arg(key));
        // The connection settings have always refused it (';' once separated the options).
        if (value.contains(QLatin1Char(';')))
            throw DatabaseError(
                QStringLiteral("The value of the connection option %1 may not hold ';'.").arg(key));
        options << key + QLatin1Char('=') + quoted(value);
    }
    return options;
}

// The few failures of a verified connection said so the IT knows where to look.
QString openingProblem(const QString &engineText)
{
    if (engineText.contains(QLatin1String("does not match host name")))
        return QStringLiteral("The database server's certificate names another host than the one "
                              "connected to; the connection was refused (%1)")
            .arg(engineText);
    if (engineText.contains(QLatin1String("certificate verify failed")) ||
        engineText.contains(QLatin1String("root certificate file")))
        return QStringLiteral("The database server's certificate could not be verified against "
                              "the trusted root certificate; the connection was refused (%1)")
            .arg(engineText);
    if (engineText.contains(QLatin1String("server does not support SSL")))
        return QStringLiteral("The database server does not offer an encrypted connection, which "
                              "the connection settings require (%1)")
            .arg(engineText);
    return engineText;
}

// The type PostgreSQL gives a number written as this literal: integer when it
// fits, else bigint, else numeric. A parameter of that type reads as the literal.
char serverNumberType(const QString &value)
{
    bool whole = false;
    const qlonglong number = value.toLongLong(&whole);
    if (!whole)
        return 'n';
    // Either side of int4's range: a value below it is as much a bigint as one above.
    return number >= std::numeric_limits<qint32>::min() &&
                   number <= std::numeric_limits<qint32>::max()
               ? 'i'
               : 'l';
}

Oid serverType(char type)
{
    switch (type) {
    case 'i':
        return PgInt4;
    case 'l':
        return PgInt8;
    case 'n':
        return PgNumeric;
    default:
        return 0; // a text: its type read from where it stands, as a literal's is
    }
}

// The first word of a statement, in upper case.
QString headWord(const QString &sql)
{
    qsizetype i = 0;
    while (i < sql.size() && (sql.at(i).isSpace() || sql.at(i) == QLatin1Char('(')))
        ++i;
    qsizetype end = i;
    while (end < sql.size() && sql.at(end).isLetter())
        ++end;
    return sql.mid(i, end - i).toUpper();
}

// Statements the server prepares: the ones that read or change rows.
bool preparable(const QString &head)
{
    return head == QLatin1String("SELECT") || head == QLatin1String("INSERT") ||
           head == QLatin1String("UPDATE") || head == QLatin1String("DELETE") ||
           head == QLatin1String("WITH");
}

bool succeeded(PGresult *result)
{
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    return ok;
}

} // namespace

std::unique_ptr<ServerEngine> ServerEngine::open(const QUrl &url, QString &problem)
{
    QStringList options = {QStringLiteral("host=") + quoted(url.host().isEmpty()
                                                                ? QStringLiteral("127.0.0.1")
                                                                : url.host()),
                           QStringLiteral("port=") + quoted(QString::number(url.port(5432)))};
    const QString database = url.path().mid(1);
    if (!database.isEmpty())
        options << QStringLiteral("dbname=") + quoted(database);
    if (!url.userName().isEmpty())
        options << QStringLiteral("user=") + quoted(url.userName());
    if (!url.password().isEmpty())
        options << QStringLiteral("password=") + quoted(url.password());
    options << serverConnectOptions(url);
    std::unique_ptr<ServerEngine> engine(
        new ServerEngine(options.join(QLatin1Char(' ')).toLocal8Bit()));
    if (!engine->connect(problem)) {
        problem = openingProblem(problem);
        return nullptr;
    }
    return engine;
}

ServerEngine::~ServerEngine()
{
    close(false);
}

void ServerEngine::close(bool rollback)
{
    if (!connection_)
        return;
    if (rollback)
        PQclear(PQexec(connection_, "ROLLBACK"));
    PQfinish(connection_);
    connection_ = nullptr;
}

bool ServerEngine::connect(QString &problem)
{
    PGconn *connection = PQconnectdb(options_.constData());
    // Dates in ISO form, as the rows are read; texts in UTF-8.
    if (PQstatus(connection) != CONNECTION_BAD &&
        succeeded(PQexec(connection, "SET CLIENT_ENCODING TO 'UNICODE'; SET DATESTYLE TO 'ISO'; "
                                     "SET bytea_output TO escape"))) {
        connection_ = connection;
        return true;
    }
    problem = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    PQfinish(connection);
    return false;
}

ServerPrepared *ServerEngine::textStatement(const QString &sql, const QByteArray &text, bool kept)
{
    ServerPrepared *prepared = nullptr;
    const QString head = headWord(sql);
    if (kept && text.size() <= MaxKeptText && preparable(head)) {
        if (texts_.size() >= 2048) {
            forgetStatements();
            texts_.clear();
        }
        prepared = &texts_[text];
    }
    forgetBeforeChange(head);
    return prepared;
}

ServerPrepared *ServerEngine::shapeStatement(ServerStatement &statement, const QString &head,
                                             const std::vector<Literal> &values,
                                             std::vector<QByteArray> &bound,
                                             std::vector<bool> &nulls)
{
    QByteArray types;
    bound.reserve(statement.literals.size());
    for (int literal : statement.literals) {
        const Literal &l = values[static_cast<size_t>(literal)];
        // NULL takes its type from where it stands, as a text does.
        types += l.number && !l.null ? serverNumberType(l.value) : 't';
        bound.push_back(l.value.toUtf8());
        if (l.null) {
            nulls.resize(statement.literals.size());
            nulls[bound.size() - 1] = true;
        }
    }
    ServerPrepared *prepared = nullptr;
    const QString word = headWord(head);
    forgetBeforeChange(word);
    if (preparable(word)) {
        for (ServerPrepared &p : statement.prepared)
            if (p.types == types)
                prepared = &p;
        if (!prepared) {
            statement.prepared.push_back({});
            prepared = &statement.prepared.back();
            prepared->types = types;
        }
    }
    return prepared;
}

bool ServerEngine::prepare(const QByteArray &text, ServerPrepared &prepared)
{
    if (prepared.session != session_) {
        prepared.name.clear();
        prepared.uses = 0;
        prepared.refused = false;
        prepared.session = session_;
    }
    if (!prepared.name.isEmpty())
        return true;
    // A statement sent once (a one-off text) is not prepared.
    if (prepared.refused || ++prepared.uses < 2)
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(connection_);
    if (status != PQTRANS_IDLE && status != PQTRANS_INTRANS)
        return false;
    // A statement the server cannot prepare (a value whose type it cannot tell
    // where it stands) would end an open transaction: a savepoint keeps it.
    const bool inside = status == PQTRANS_INTRANS;
    if (inside && !succeeded(PQexec(connection_, "SAVEPOINT chemodesk_prepare")))
        return false;
    const QByteArray name = "chemodesk_" + QByteArray::number(++names_);
    std::vector<Oid> types;
    types.reserve(static_cast<size_t>(prepared.types.size()));
    for (char type : std::as_const(prepared.types))
        types.push_back(serverType(type));
    const bool done = succeeded(PQprepare(connection_, name.constData(), text.constData(),
                                          static_cast<int>(types.size()), types.data()));
    if (inside)
        succeeded(PQexec(connection_, done ? "RELEASE SAVEPOINT chemodesk_prepare"
                                           : "ROLLBACK TO SAVEPOINT chemodesk_prepare; "
                                             "RELEASE SAVEPOINT chemodesk_prepare"));
    if (!done) {
        prepared.refused = true;
        return false;
    }
    prepared.name = name;
    ++prepared_;
    return true;
}

void ServerEngine::forgetBeforeChange(const QString &head)
{
    // A statement prepared before its table changed could no longer return its rows.
    if (prepared_ > 0 && (head == QLatin1String("ALTER") || head == QLatin1String("DROP") ||
                          head == QLatin1String("CREATE")))
        forgetStatements();
}

void ServerEngine::forgetStatements()
{
    if (connection_ && prepared_ > 0)
        PQclear(PQexec(connection_, "DEALLOCATE ALL"));
    prepared_ = 0;
    ++session_;
}

Recordset ServerEngine::run(const Call &call, const QString &original)
{
    PGresult *result = nullptr;
    const bool withValues = call.values && !call.values->empty();
    if (call.prepared && connection_ && prepare(*call.text, *call.prepared)) {
        std::vector<const char *> values;
        if (withValues)
            for (size_t v = 0; v < call.values->size(); ++v)
                values.push_back(call.nulls && (*call.nulls)[v] ? nullptr
                                                                : (*call.values)[v].constData());
        result =
            PQexecPrepared(connection_, call.prepared->name.constData(),
                           static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
    } else {
        result = PQexec(connection_,
                        withValues ? call.written().toUtf8().constData() : call.text->constData());
    }
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_TUPLES_OK) {
        Recordset rows = pgRows(result);
        PQclear(result);
        return rows;
    }
    if (status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY) {
        PQclear(result);
        return {};
    }
    // Worded as the engine words it, its SQLSTATE after it.
    const QString state =
        result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    QString message = QString::fromUtf8(PQerrorMessage(connection_));
    if (result)
        message += QStringLiteral("(%1)").arg(state);
    message = message.trimmed();
    // The server's own refusals (rights, the audit trail) carry the very text a screen shows.
    if (state == QLatin1String("CDR01"))
        message = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)).trimmed();
    PQclear(result);
    if (call.prepared && !call.prepared->name.isEmpty() && state == QLatin1String("0A000")) {
        // Its table changed on the server since it was prepared: prepared again
        // when it next repeats.
        call.prepared->name.clear();
        call.prepared->uses = 0;
    }
    if (connectionLost(state))
        throw ConnectionLost(message, original);
    throw DatabaseError(message, original);
}

bool ServerEngine::connectionLost(const QString &state) const
{
    // Connection exceptions, and the server shutting the session down.
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return true;
    return !connection_ || PQstatus(connection_) == CONNECTION_BAD;
}

void ServerEngine::reconnect()
{
    // Each try may wait for the server up to the connect time-out; while it
    // is away, statements fail at once instead of freezing the screens.
    constexpr qint64 RetryAfterMs = 30'000;
    if (lastFailedReconnect_.isValid() && !lastFailedReconnect_.hasExpired(RetryAfterMs))
        throw DatabaseError(QStringLiteral("The database server cannot be reached; the program "
                                           "will try again shortly."));
    // What was prepared went with the session.
    PQfinish(connection_);
    connection_ = nullptr;
    prepared_ = 0;
    ++session_;
    QString problem;
    if (!connect(problem)) {
        lastFailedReconnect_.start();
        throw DatabaseError(QStringLiteral("The connection to the database server was lost and "
                                           "cannot be made again: %1")
                                .arg(problem));
    }
    lastFailedReconnect_.invalidate();
}

} // namespace chemodesk::db
