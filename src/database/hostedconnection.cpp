#include "hostedconnection.h"

#include "kept.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>
#include <QVarLengthArray>

#include <algorithm>

namespace chemodesk::db {

namespace {

// How long the server lets a workstation's session sit idle inside a
// transaction before ending it; another workstation waits on its locks at most
// this long.
constexpr int IdleInTransactionLimitMs = 5000;

// A file this workstation may read but not write: its permissions say so, or
// the share or disk holding it is read-only.
bool fileIsReadOnly(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return false;
    constexpr auto Writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !file.isWritable() || !(file.permissions() & Writable);
}

// A statement of a shape with the text's own values written where they stand,
// exactly as the translation of the whole text writes them.
QString withValues(const std::vector<ShapePiece> &pieces, const std::vector<Literal> &literals)
{
    QString sql;
    for (const ShapePiece &piece : pieces) {
        sql += piece.text;
        if (piece.param < 0)
            continue;
        const Literal &l = literals[static_cast<size_t>(piece.param)];
        if (l.null) {
            sql += QLatin1String("NULL");
        } else if (l.number) {
            sql += l.value;
        } else {
            sql += QLatin1Char('\'');
            sql += QString(l.value).replace(QLatin1Char('\''), QLatin1String("''"));
            sql += QLatin1Char('\'');
        }
    }
    return sql;
}

class Context : public ProcedureContext {
public:
    explicit Context(HostedConnection &connection) : connection_(connection) {}
    Recordset query(const QString &text) override { return connection_.Execute(text); }
    void exec(const QString &text) override { connection_.Execute(text); }
    Recordset query(const QString &text, std::initializer_list<Value> values) override
    {
        return connection_.executeBound(text, values.begin(), values.size());
    }
    void exec(const QString &text, std::initializer_list<Value> values) override
    {
        connection_.executeBound(text, values.begin(), values.size());
    }
    Recordset query(FixedText text, std::initializer_list<Value> values) override
    {
        return connection_.executeBound(text, values.begin(), values.size());
    }
    void exec(FixedText text, std::initializer_list<Value> values) override
    {
        connection_.executeBound(text, values.begin(), values.size());
    }
    qlonglong drawCounter(const QString &table, const QString &column,
                          const QString &where) override
    {
        QString text = QStringLiteral("UPDATE %1 SET %2 = %2 + 1").arg(table, column);
        if (!where.isEmpty())
            text += QStringLiteral(" WHERE ") + where;
        text += QStringLiteral(" RETURNING %1 - 1 AS Drawn").arg(column);
        Recordset rs = connection_.Execute(text);
        if (rs.RecordCount() != 1)
            throw DatabaseError(
                QStringLiteral("The counter %1 of %2 has no single row to draw from.")
                    .arg(column, table));
        return rs.Fields(0).toLongLong();
    }
    QDateTime now() override { return connection_.serverNow(); }
    HostedConnection *hosted() override { return &connection_; }

private:
    HostedConnection &connection_;
};

} // namespace

HostedConnection::HostedConnection(Dialect dialect, const ProcedureRegistry &registry)
    : translator_(dialect, &registry), registry_(registry), shapes_(translator_)
{
}

HostedConnection::~HostedConnection()
{
    if (lite_)
        lite_->close(depth_ > 0);
    if (server_)
        server_->close(depth_ > 0);
}

std::unique_ptr<HostedConnection> HostedConnection::open(const QString &target,
                                                         const ProcedureRegistry &registry,
                                                         const OpenOptions &options)
{
    const bool postgres = target.startsWith(QLatin1String("postgresql://")) ||
                          target.startsWith(QLatin1String("postgres://"));
    std::unique_ptr<HostedConnection> c(
        new HostedConnection(postgres ? Dialect::PostgreSQL : Dialect::SQLite, registry));
    c->target_ = target;
    QString problem;
    if (postgres) {
        const QUrl url(target);
        c->readOnly_ = options.readOnly;
        c->connectionString_ =
            QStringLiteral(
                "Provider=PostgreSQL;Data Source=%1;Port=%2;Initial Catalog=%3;User ID=%4")
                .arg(url.host().isEmpty() ? QStringLiteral("127.0.0.1") : url.host())
                .arg(url.port(5432))
                .arg(url.path().mid(1), url.userName());
        c->server_ = ServerEngine::open(url, problem);
        if (!c->server_)
            throw DatabaseError(QStringLiteral("Cannot open the database %1: %2")
                                    .arg(url.toString(QUrl::RemovePassword), problem));
        c->shapes_.setServer(c->server_.get());
        c->startServerSession();
        if (c->readOnly_) {
            c->reloadClock();
            return c;
        }
        // Workstations first started together on a new server would all try to create the table; on
        // PostgreSQL, CREATE TABLE IF NOT EXISTS is not safe against that, so the creation is
        // serialised.
        c->executeNative(QStringLiteral("DO $$BEGIN IF to_regclass('public.chemodesk_meta') IS "
                                        "NULL THEN PERFORM pg_advisory_xact_lock(730001); "
                                        "CREATE TABLE IF NOT EXISTS public.chemodesk_meta (name "
                                        "text PRIMARY KEY, value text); END IF; END$$"));
    } else {
        c->connectionString_ = QStringLiteral("Provider=SQLite;Data Source=%1").arg(target);
        c->lite_ = SqliteEngine::open(target, options.readOnly || fileIsReadOnly(target),
                                      c->timeout_ * 1000, c->clock_, problem);
        if (!c->lite_)
            throw DatabaseError(
                QStringLiteral("Cannot open the database %1: %2").arg(target, problem));
        c->readOnly_ = c->lite_->readOnly();
        // Before anything touches the file: programs started together on a new file wait for
        // each other's locks (the switch to WAL among them) instead of failing at once.
        c->setCommandTimeout(c->timeout_);
        c->checkSqliteFile(options);
        if (c->readOnly_) {
            // A file made by another program may have no clock settings to read; an unverified
            // one is left for its caller to examine.
            try {
                if (!c->executeNative(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = "
                                                     "'table' AND name = 'chemodesk_meta'"))
                         .atEnd())
                    c->reloadClock();
            } catch (const DatabaseError &) {
                if (options.verify)
                    throw;
            }
            return c;
        }
        c->executeNative(QStringLiteral("PRAGMA journal_mode = WAL"));
        c->executeNative(QStringLiteral("PRAGMA synchronous = NORMAL"));
        c->executeNative(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS chemodesk_meta (name TEXT PRIMARY KEY, value TEXT)"));
    }
    c->reloadClock();
    return c;
}

void HostedConnection::setCommandTimeout(int seconds)
{
    if (seconds < 0)
        throw DatabaseError(QStringLiteral("The command time-out cannot be negative."));
    timeout_ = seconds;
    if (dialect() == Dialect::PostgreSQL)
        executeNative(QStringLiteral("SET statement_timeout = %1").arg(qint64(seconds) * 1000));
    else
        executeNative(QStringLiteral("PRAGMA busy_timeout = %1").arg(qint64(seconds) * 1000));
}

Recordset HostedConnection::Execute(const QString &text)
{
    auto cached = translations_.constFind(text);
    if (cached != translations_.constEnd())
        return runTranslation(cached.value(), text, true);
    // A long text (a bulk load's many rows) comes once: kept, a thousand of them would
    // hold hundreds of megabytes.
    if (text.size() > MaxKeptText)
        return runTranslation(translator_.translate(text), text, false);
    std::vector<Literal> literals;
    if (const std::shared_ptr<ShapeVariant> variant = shapes_.variant(text, literals))
        return runShape(variant, std::move(literals), text);
    if (translations_.size() >= 1024)
        translations_.clear();
    cached = translations_.insert(text, translator_.translate(text));
    return runTranslation(cached.value(), text, true);
}

Recordset HostedConnection::runTranslation(const Translation &cached, const QString &text,
                                           bool kept)
{
    // A copy: a procedure's own texts may drop the kept translations.
    const Translation translation = cached;
    if (translation.call)
        return runCall(*translation.call, translation.call->args, text);
    std::optional<Recordset> first;
    for (const QString &statement : translation.statements) {
        Recordset rs = run(statement, text, nullptr, kept);
        if (!first && rs.State() == Recordset::adStateOpen)
            first = std::move(rs);
    }
    return first ? std::move(*first) : Recordset();
}

void HostedConnection::registerFolding(sqlite3 *handle)
{
    SqliteEngine::registerFolding(handle);
}

Recordset HostedConnection::executeBound(const QString &text, const Value *values, size_t count)
{
    return runBound(text, text, values, count);
}

Recordset HostedConnection::executeBound(FixedText text, const Value *values, size_t count)
{
    return runBound(text, text.text(), values, count);
}

template <typename Key>
Recordset HostedConnection::runBound(const Key &key, const QString &text, const Value *values,
                                     size_t count)
{
    QVarLengthArray<char, 64> kinds(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i)
        kinds[static_cast<qsizetype>(i)] = values[i].isNumber() ? 1 : 0;
    const QByteArrayView numbers(kinds.constData(), kinds.size());
    std::vector<BoundForm> &forms = shapes_.forms(key);
    auto form = std::find_if(forms.begin(), forms.end(),
                             [&numbers](const BoundForm &f) { return f.numbers == numbers; });
    if (form == forms.end()) {
        if (shapes_.formsFull()) {
            shapes_.forgetForms();
            return runBound(key, text, values, count);
        }
        BoundForm made = shapes_.form(text, values, count, numbers.toByteArray());
        std::vector<BoundForm> &again = shapes_.forms(key); // form() may have forgotten them
        again.push_back(std::move(made));
        form = again.end() - 1;
    }
    // Copies: what runs may make the kept forms be forgotten.
    const std::shared_ptr<ShapeVariant> variant = form->variant;
    if (!variant)
        return Execute(withValuesWritten(text, values, count));
    // The text's own literals, each value in its place.
    std::vector<Literal> literals;
    literals.reserve(form->literals.size());
    for (size_t p = 0; p < form->literals.size(); ++p) {
        const int v = form->valueAt[p];
        if (v < 0)
            literals.push_back(form->literals[p]);
        else
            literals.push_back({form->literals[p].number, values[v].text(), values[v].isNull()});
    }
    try {
        return runShape(variant, std::move(literals), text);
    } catch (const DatabaseError &e) {
        // Said with the values written in, as the same text sent whole would be.
        if (e.text() != text)
            throw;
        throw DatabaseError(e.message(), withValuesWritten(text, values, count));
    }
}

Recordset HostedConnection::runShape(const std::shared_ptr<ShapeVariant> &variant,
                                     std::vector<Literal> values, const QString &text)
{
    for (size_t p = 0; p < values.size(); ++p)
        if (variant->dates[p] && !values[p].null)
            values[p].value = engineDate(values[p].value);
    if (variant->call) {
        // Kept alive by the copy of the variant the caller holds.
        const ProcedureCall &call = *variant->call;
        QStringList args;
        args.reserve(static_cast<qsizetype>(call.sources.size()));
        for (const ProcedureCall::Source &source : call.sources) {
            if (source.literal < 0) {
                args.emplace_back();
                continue;
            }
            QString &value = values[static_cast<size_t>(source.literal)].value;
            if (source.negative)
                args << QLatin1Char('-') + value;
            else if (variant->distinctSources) // each value passed on, not shared
                args << std::move(value);
            else
                args << value;
        }
        return runCall(call, args, text);
    }
    std::optional<Recordset> first;
    for (size_t i = 0; i < variant->statements.size(); ++i) {
        const std::vector<ShapePiece> &pieces = variant->statements[i];
        Recordset rs;
        if (lite_) {
            if (trace_)
                trace_(withValues(pieces, values));
            rs = run(variant->sqlite.at(static_cast<qsizetype>(i)), text, &values, false,
                     &variant->known[i]);
        } else {
            ++engineStatements_;
            auto written = [&pieces, &values] { return withValues(pieces, values); };
            if (trace_)
                trace_(written());
            noteWrite(pieces.front().text, text);
            ServerStatement &statement = variant->server[i];
            std::vector<QByteArray> bound;
            std::vector<bool> nulls;
            ServerPrepared *prepared =
                server_->shapeStatement(statement, pieces.front().text, values, bound, nulls);
            rs = runServer(
                {&statement.text, prepared, &bound, nulls.empty() ? nullptr : &nulls, written},
                text);
        }
        if (!first && rs.State() == Recordset::adStateOpen)
            first = std::move(rs);
    }
    return first ? std::move(*first) : Recordset();
}

Recordset HostedConnection::executeNative(const QString &sql)
{
    return run(sql, sql, nullptr);
}

void HostedConnection::noteWrite(const QString &sql, const QString &original)
{
    if (readsOnly(sql))
        return;
    // Outside a transaction a write could not be undone: refused before it is sent.
    if (!readOnlyCall_.isEmpty())
        throw DatabaseError(
            QStringLiteral("The procedure %1 only reads; it cannot change anything.")
                .arg(readOnlyCall_),
            original);
    ++writes_;
}

Recordset HostedConnection::run(const QString &sql, const QString &original,
                                const std::vector<Literal> *binds, bool kept,
                                SqliteEngine::Known *known)
{
    ++engineStatements_;
    // A shape's statement is traced by runShape(), with its values written in.
    if (trace_ && !binds)
        trace_(sql);
    noteWrite(sql, original);
    if (lite_) {
        try {
            return lite_->run(sql, original, binds, known);
        } catch (const DatabaseError &) {
            ++engineErrors_;
            throw;
        }
    }
    const QByteArray text = sql.toUtf8();
    ServerPrepared *prepared = server_->textStatement(sql, text, kept);
    return runServer({&text, prepared, nullptr, nullptr, [&sql] { return sql; }}, original);
}

Recordset HostedConnection::runServer(const ServerEngine::Call &call, const QString &original)
{
    try {
        return server_->run(call, original);
    } catch (const ServerEngine::ConnectionLost &lost) {
        ++engineErrors_;
        if (reconnecting_)
            throw DatabaseError(lost.message(), lost.text());
    } catch (const DatabaseError &) {
        ++engineErrors_;
        throw;
    }
    reconnecting_ = true;
    const auto done = qScopeGuard([this] { reconnecting_ = false; });
    reconnect();
    const QString sql = call.written();
    // The server undid the open transaction with the connection, unless
    // the link broke on the commit itself, after the server had done it.
    if (depth_ > 0) {
        depth_ = 0;
        failedAt_ = 0;
        if (sql.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0)
            throw DatabaseError(QStringLiteral("The connection to the database server was "
                                               "lost while saving and has been made again. "
                                               "Please check whether it was saved, and do "
                                               "it again if not."),
                                original);
        throw DatabaseError(QStringLiteral("The connection to the database server was lost "
                                           "and has been made again. What was being saved "
                                           "was not saved: please do it again."),
                            original);
    }
    // A statement that changes nothing is sent again (to be prepared again on
    // the new session when it repeats); anything else may or may not have
    // been done before the link broke, so the user decides.
    if (!changesNothing(sql))
        throw DatabaseError(QStringLiteral("The connection to the database server was lost "
                                           "and has been made again. Please check whether "
                                           "the last change was made, and do it again if not."),
                            original);
    return runServer(call, original);
}

void HostedConnection::reconnect()
{
    server_->reconnect();
    startServerSession();
    if (reconnected_)
        reconnected_(*this);
}

void HostedConnection::startServerSession()
{
    executeNative(QStringLiteral("SET client_min_messages = warning"));
    setCommandTimeout(timeout_);
    limitServerSessionStalls();
    if (readOnly_)
        executeNative(QStringLiteral("SET default_transaction_read_only = on"));
}

void HostedConnection::limitServerSessionStalls()
{
    // A workstation that stops in the middle of a save (hung, or cut off the
    // network) would hold the rows it locked - the slip counter among them -
    // and stall every other workstation's save for the statement time-out or
    // until TCP gives up. The server ends such a session after a few idle
    // seconds inside a transaction, and probes a silent peer's connection.
    executeNative(
        QStringLiteral("SELECT set_config('idle_in_transaction_session_timeout', '%1', false), "
                       "set_config('tcp_keepalives_idle', '30', false), "
                       "set_config('tcp_keepalives_interval', '10', false), "
                       "set_config('tcp_keepalives_count', '3', false), "
                       "set_config('tcp_user_timeout', '60000', false)")
            .arg(IdleInTransactionLimitMs));
}

void HostedConnection::checkSqliteFile(const OpenOptions &options)
{
    if (!options.verify)
        return;
    // The engine's check reads the whole file: a ward's file is checked at
    // every opening, a hospital's large one (about 0.7 s per 350 MB) only as
    // far as its header and schema here, and page by page as it is used (see
    // SqliteEngine::run); `chemodesk-admin check` checks any file whole.
    QStringList problems;
    try {
        if (QFileInfo(target_).size() <= options.wholeCheckUpTo)
            problems = integrityProblems();
        else
            executeNative(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DatabaseError &e) {
        problems << (lite_->damaged() ? lite_->lastDamage() : e.message());
    }
    if (!problems.isEmpty())
        lite_->throwDamaged(problems);
}

QStringList HostedConnection::integrityProblems(bool thorough)
{
    if (!lite_)
        return {};
    QStringList problems;
    for (Recordset rs = executeNative(thorough ? QStringLiteral("PRAGMA integrity_check")
                                               : QStringLiteral("PRAGMA quick_check"));
         !rs.atEnd(); rs.MoveNext())
        problems << rs.Fields(0).toString();
    if (problems == QStringList{QStringLiteral("ok")})
        return {};
    return problems;
}

bool HostedConnection::readsOnly(const QString &sql)
{
    // Run for every statement: no copy of the text.
    qsizetype i = 0;
    while (i < sql.size() && (sql.at(i).isSpace() || sql.at(i) == QLatin1Char('(')))
        ++i;
    const QStringView head = QStringView(sql).mid(i, 6);
    return head.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
           head.left(4).compare(QLatin1String("SET "), Qt::CaseInsensitive) == 0 ||
           head.left(4).compare(QLatin1String("SHOW"), Qt::CaseInsensitive) == 0;
}

bool HostedConnection::changesNothing(const QString &sql)
{
    const QString head = sql.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    return head == QLatin1String("SELECT") || head == QLatin1String("BEGIN") ||
           head == QLatin1String("SET") || head == QLatin1String("SHOW");
}

Recordset HostedConnection::runCall(const ProcedureCall &call, const QStringList &args,
                                    const QString &text)
{
    const ProcedureRegistry::Entry *entry = call.key.isEmpty()
                                                ? registry_.entry(call.database, call.name)
                                                : registry_.entryByKey(call.key);
    if (!entry)
        throw DatabaseError(QStringLiteral("Could not find stored procedure '%1..%2'.")
                                .arg(call.database, call.name),
                            text);
    Context context(*this);
    if (depth_ == 0 && entry->readOnly) {
        // Reads only: each statement sees what is committed, as a transaction of
        // its own would, without the two statements that would open and close it.
        readOnlyCall_ = call.database + QLatin1String("..") + call.name;
        const auto done = qScopeGuard([this] { readOnlyCall_.clear(); });
        return entry->body(context, args);
    }
    if (depth_ > 0) {
        // Inside the caller's transaction no savepoint of its own: what the
        // call did before failing stays until the caller undoes the whole
        // transaction, and a commit of it is refused (see CommitTrans).
        const qint64 before = writes_;
        const qint64 errorsBefore = engineErrors_;
        try {
            return entry->body(context, args);
        } catch (...) {
            if (writes_ != before || engineErrors_ != errorsBefore)
                failedAt_ = failedAt_ == 0 ? depth_ : std::min(failedAt_, depth_);
            throw;
        }
    }
    Transaction transaction(*this);
    Recordset result = entry->body(context, args);
    transaction.commit();
    return result;
}

void HostedConnection::BeginTrans()
{
    if (depth_ == 0) {
        executeNative(dialect() == Dialect::SQLite ? QStringLiteral("BEGIN IMMEDIATE")
                                                   : QStringLiteral("BEGIN"));
        ++transactions_;
    } else {
        executeNative(QStringLiteral("SAVEPOINT sp%1").arg(depth_));
    }
    ++depth_;
}

void HostedConnection::CommitTrans()
{
    if (depth_ == 0)
        throw DatabaseError(QStringLiteral("No transaction is active."));
    if (failedAt_ > 0 && depth_ == 1) {
        // A procedure failed inside this transaction after changing something:
        // keeping the rest would keep half a save.
        failedAt_ = 0;
        depth_ = 0;
        executeNative(QStringLiteral("ROLLBACK"));
        throw DatabaseError(QStringLiteral("A step of this save failed, so nothing of it was "
                                           "saved. Please save it again."));
    }
    if (failedAt_ == depth_)
        --failedAt_; // released into the enclosing unit
    if (depth_ == 1) {
        try {
            executeNative(QStringLiteral("COMMIT"));
        } catch (const DatabaseError &) {
            // A commit the engine refused leaves nothing half done.
            try {
                executeNative(QStringLiteral("ROLLBACK"));
            } catch (const DatabaseError &) {
            }
            depth_ = 0;
            failedAt_ = 0;
            throw;
        }
    } else {
        executeNative(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_ - 1));
    }
    --depth_;
}

void HostedConnection::RollbackTrans()
{
    if (depth_ == 0)
        throw DatabaseError(QStringLiteral("No transaction is active."));
    --depth_;
    if (failedAt_ > depth_)
        failedAt_ = 0; // what failed is undone
    if (depth_ == 0) {
        executeNative(QStringLiteral("ROLLBACK"));
    } else {
        executeNative(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(depth_));
        executeNative(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(depth_));
    }
}

void HostedConnection::setMeta(const QString &key, const QString &value)
{
    const QString table = dialect() == Dialect::PostgreSQL ? QStringLiteral("public.chemodesk_meta")
                                                           : QStringLiteral("chemodesk_meta");
    if (value.isNull())
        executeNative(QStringLiteral("DELETE FROM %1 WHERE name = '%2'").arg(table, key));
    else
        executeNative(
            QStringLiteral("INSERT INTO %1 (name, value) VALUES ('%2', '%3') ON CONFLICT (name) DO "
                           "UPDATE SET value = excluded.value")
                .arg(table, key, QString(value).replace(QLatin1Char('\''), QLatin1String("''"))));
}

void HostedConnection::setClockFixed(const QDateTime &moment)
{
    setMeta(QStringLiteral("clock_offset"), QString());
    setMeta(QStringLiteral("clock_fixed"), moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    reloadClock();
}

void HostedConnection::setClockOffset(qint64 seconds)
{
    setMeta(QStringLiteral("clock_fixed"), QString());
    setMeta(QStringLiteral("clock_offset"), QString::number(seconds));
    reloadClock();
}

void HostedConnection::clearClock()
{
    setMeta(QStringLiteral("clock_fixed"), QString());
    setMeta(QStringLiteral("clock_offset"), QString());
    reloadClock();
}

void HostedConnection::reloadClock()
{
    const QString table = dialect() == Dialect::PostgreSQL ? QStringLiteral("public.chemodesk_meta")
                                                           : QStringLiteral("chemodesk_meta");
    clock_.load(executeNative(
        QStringLiteral("SELECT name, value FROM %1 WHERE name IN ('clock_fixed', 'clock_offset')")
            .arg(table)));
}

QDateTime HostedConnection::serverNow()
{
    // The embedded engine's clock is this program's: no statement to read it.
    if (lite_) {
        const QDateTime now = clock_.now();
        return now.addMSecs(-now.time().msec()); // in whole seconds, as getdate() reads
    }
    if (depth_ > 0)
        if (const std::optional<QDateTime> held = clock_.heldFor(transactions_))
            return *held;
    Recordset rs = Execute(QStringLiteral("SELECT getdate() AS Now"));
    const QDateTime now = rs.Fields(0).toDateTime();
    if (depth_ > 0)
        clock_.hold(transactions_, now);
    return now;
}

} // namespace chemodesk::db
