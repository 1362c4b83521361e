#include "security.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

namespace chemodesk::hospital {

namespace {

// In the order they are applied: each file's objects may use those of the files before it.
const char *const FileNames[] = {"roles", "signin", "audit", "password", "rights", "grants"};

GuardFile readGuardFile(const char *name)
{
    const QString path = QStringLiteral(":/hospitaldb/guard/%1.sql").arg(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("The server guard's file %1 is missing from this "
                                           "program.")
                                .arg(path));
    return {QStringLiteral("guard/%1.sql").arg(QLatin1String(name)),
            QString::fromUtf8(file.readAll())};
}

struct Statement {
    QString text;
    int line = 0;
};

bool identifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The statements of a file as psql would send them: split at semicolons outside comments,
// quotes and dollar-quoted bodies, each with the line it starts on and without the comments
// before it.
std::vector<Statement> splitStatements(const QString &sql)
{
    static const QRegularExpression dollarTag(QStringLiteral("\\$([A-Za-z_][A-Za-z0-9_]*)?\\$"));
    std::vector<Statement> out;
    int line = 1;
    int start = -1; // where the statement's first token is
    int startLine = 0;
    auto finish = [&](int end) {
        if (start >= 0)
            out.push_back({sql.mid(start, end - start).trimmed(), startLine});
        start = -1;
    };
    auto begin = [&](int at) {
        if (start < 0) {
            start = at;
            startLine = line;
        }
    };
    // Moves past `closing` from `from`, counting lines; answers the index after it.
    auto skipTo = [&](int from, const QString &closing) {
        const int found = sql.indexOf(closing, from);
        const int end = found < 0 ? sql.size() : found + closing.size();
        line += QStringView(sql).mid(from, end - from).count(QLatin1Char('\n'));
        return end;
    };
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            i = sql.indexOf(QLatin1Char('\n'), i);
            if (i < 0)
                break;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            i = skipTo(i + 2, QStringLiteral("*/"));
            continue;
        }
        if (c == QLatin1Char('\n')) {
            ++line;
            ++i;
            continue;
        }
        if (c.isSpace()) {
            ++i;
            continue;
        }
        begin(i);
        if (c == QLatin1Char(';')) {
            finish(i);
            ++i;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside closes and opens again: the same text.
            i = skipTo(i + 1, QString(c));
        } else if (c == QLatin1Char('$') && (i == 0 || !identifierChar(sql.at(i - 1)))) {
            const auto tag = dollarTag.match(sql, i, QRegularExpression::NormalMatch,
                                             QRegularExpression::AnchorAtOffsetMatchOption);
            i = tag.hasMatch() ? skipTo(i + tag.capturedLength(), tag.captured()) : i + 1;
        } else {
            ++i;
        }
    }
    finish(sql.size());
    return out;
}

// What a statement acts on, as the IT would look it up: its words up to the first parenthesis
// or body, e.g. "CREATE OR REPLACE FUNCTION public.chemodesk_sign_in"; a DO block by its file
// and line alone (the server's message tells the statement inside).
QString statementObject(const QString &statement)
{
    QString head = statement.simplified();
    for (const QString &stop : {QStringLiteral("("), QStringLiteral(" AS "), QStringLiteral("$$"),
                                QStringLiteral(" FOR EACH ")}) {
        const int at = head.indexOf(stop);
        if (at > 0)
            head.truncate(at);
    }
    head = head.trimmed();
    if (head == QLatin1String("DO"))
        return QStringLiteral("a DO block");
    if (head.size() > 100)
        head = head.left(100) + QStringLiteral("...");
    return head;
}

void runFile(db::HostedConnection &connection, const GuardFile &file)
{
    for (const Statement &statement : splitStatements(file.text)) {
        try {
            connection.executeNative(statement.text);
        } catch (const DatabaseError &e) {
            QString message = QStringLiteral("Setting up the server's guard failed at %1 (%2, "
                                             "line %3): %4")
                                  .arg(statementObject(statement.text), file.name)
                                  .arg(statement.line)
                                  .arg(e.message());
            // Only a refusal of privilege is a matter of who runs it.
            if (e.message().endsWith(QLatin1String("(42501)")))
                message += QStringLiteral("\nThe guard is set up by a superuser, or by the "
                                          "database's owner with CREATEROLE.");
            throw DatabaseError(message, e.text());
        }
    }
}

} // namespace

const std::vector<GuardFile> &guardFiles()
{
    static const std::vector<GuardFile> files = [] {
        std::vector<GuardFile> read;
        for (const char *name : FileNames)
            read.push_back(readGuardFile(name));
        return read;
    }();
    return files;
}

QString guardScript()
{
    QString out =
        QStringLiteral("-- The hospital database's guard on a shared PostgreSQL server, revision "
                       "%1.\n"
                       "-- For a database whose schema is up to date; chemodesk-admin init applies "
                       "the same.\n"
                       "-- Apply as a superuser (or the database's owner with CREATEROLE):\n"
                       "--   psql -v ON_ERROR_STOP=1 -f THIS_FILE postgresql://HOST/DATABASE\n\n"
                       "BEGIN;\n")
            .arg(serverSecurityRevision());
    for (const GuardFile &file : guardFiles()) {
        out += QStringLiteral("\n-- ==== %1 ====\n\n").arg(file.name);
        out += file.text;
        if (!file.text.endsWith(QLatin1Char('\n')))
            out += QLatin1Char('\n');
    }
    out += QStringLiteral("\nCOMMIT;\n");
    return out;
}

QString serverSecurityRevision()
{
    static const QString revision = [] {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const GuardFile &file : guardFiles()) {
            hash.addData(file.name.toUtf8());
            hash.addData(QByteArrayView("\0", 1));
            hash.addData(file.text.toUtf8());
            hash.addData(QByteArrayView("\0", 1));
        }
        return QString::fromLatin1(hash.result().toHex().left(16));
    }();
    return revision;
}

bool revealPasswordTable(db::HostedConnection &connection)
{
    if (connection.dialect() != db::Dialect::PostgreSQL)
        return false;
    if (connection
            .executeNative(QStringLiteral(
                "SELECT 1 WHERE to_regclass('chemodesk_private.tbpasswordmaster') IS NOT NULL"))
            .atEnd())
        return false;
    connection.executeNative(QStringLiteral("DROP VIEW IF EXISTS password.tbpasswordmaster"));
    connection.executeNative(
        QStringLiteral("ALTER TABLE chemodesk_private.tbpasswordmaster SET SCHEMA password"));
    return true;
}

void hidePasswordTable(db::HostedConnection &connection)
{
    if (connection.dialect() != db::Dialect::PostgreSQL)
        return;
    for (const GuardFile &file : guardFiles())
        if (file.name == QLatin1String("guard/password.sql"))
            runFile(connection, file);
}

void secureServer(db::HostedConnection &connection)
{
    if (connection.dialect() != db::Dialect::PostgreSQL)
        return;
    Transaction transaction(connection);
    for (const GuardFile &file : guardFiles())
        runFile(connection, file);
    transaction.commit();
}

} // namespace chemodesk::hospital
