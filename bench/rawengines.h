#pragma once

// What the benchmarks set beside the layer: the same engine statements sent
// straight to SQLite's library and through libpq, as a careful programmer
// would; a message service that counts boxes; and a fresh demo hospital on
// either engine.

#include "database/forwardingconnection.h"
#include "database/hostedconnection.h"
#include "hospitaldb/database.h"
#include "widgets/messages.h"

#include <QDateTime>
#include <QHash>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <vector>

namespace chemodesk::bench {

// Passes every text on and counts it.
class CountingConnection : public db::ForwardingConnection {
public:
    using ForwardingConnection::ForwardingConnection;
    Recordset Execute(const QString &text) override
    {
        ++statements;
        if (recording)
            texts << text;
        return inner().Execute(text);
    }

    long statements = 0;
    bool recording = false;
    QStringList texts;
};

// ------------------------------------------------- the raw engines
// What a careful programmer would write on each engine's own library for the
// same work: one statement prepared per shape and reused with each
// statement's values bound, the engine
// settings the layer gives its connections, and none of the layer's own
// additions (a savepoint around each procedure call, a transaction around a
// call that only reads): only a transaction where the work itself writes.

inline bool layerTransactionControl(const QString &sql)
{
    const QString head = sql.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    for (const char *word : {"BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT", "RELEASE"})
        if (head == QLatin1String(word))
            return true;
    return false;
}

// The engine statements of one piece of work, without the layer's own
// transaction control; inside one transaction when the work writes.
inline QStringList rawWork(const QStringList &recorded, bool writes, const QString &begin)
{
    QStringList work;
    if (writes)
        work << begin;
    for (const QString &sql : recorded)
        if (!layerTransactionControl(sql))
            work << sql;
    if (writes)
        work << QStringLiteral("COMMIT");
    return work;
}

inline void sqliteGetDate(sqlite3_context *context, int, sqlite3_value **)
{
    const QByteArray now =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    sqlite3_result_text(context, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

// One value of a statement, in the bytes the engine's library takes.
struct RawValue {
    enum Kind { Text, Integer, Real } kind = Text;
    QByteArray text; // a text, or a number as written (what PostgreSQL reads)
    qint64 integer = 0;
    double real = 0;
    // PostgreSQL's type of a number's literal (int4, int8, numeric); 0 for a text,
    // whose type the server reads from where it stands.
    Oid serverType() const
    {
        if (kind == Real)
            return 1700;
        if (kind == Integer)
            return integer >= -2147483648LL && integer <= 2147483647LL ? 23 : 20;
        return 0;
    }
};

// A statement as a programmer who cannot know tomorrow's values writes it: its
// literals taken out (`?N` on SQLite, `$N` on PostgreSQL) and bound. A LIKE
// pattern and a LIMIT or OFFSET count stay in the text: the planners read them.
struct RawShape {
    QByteArray sql;
    std::vector<RawValue> values;
};

inline RawShape rawShape(const QString &sql, bool sqlite)
{
    RawShape out;
    QString text;
    QString lastWord; // the last keyword or name before the current place
    auto kept = [&lastWord] {
        for (const char *word : {"LIKE", "ILIKE", "GLOB", "ESCAPE", "LIMIT", "OFFSET"})
            if (lastWord.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    auto wordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    auto placeholder = [&](RawValue value) {
        out.values.push_back(std::move(value));
        text += (sqlite ? QLatin1Char('?') : QLatin1Char('$')) + QString::number(out.values.size());
    };
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            QString value;
            for (; j < n; ++j) {
                if (sql.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && sql.at(j + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        ++j;
                        continue;
                    }
                    break;
                }
                value += sql.at(j);
            }
            const bool cast =
                j + 2 < n && sql.at(j + 1) == QLatin1Char(':') && sql.at(j + 2) == QLatin1Char(':');
            if (kept() || cast)
                text += sql.mid(i, j + 1 - i);
            else
                placeholder({RawValue::Text, value.toUtf8()});
            i = j + 1;
        } else if (c == QLatin1Char('"')) {
            const qsizetype j = sql.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = j < 0 ? n : j + 1;
            text += sql.mid(i, end - i);
            i = end;
        } else if (c.isDigit() && (i == 0 || !wordChar(sql.at(i - 1)))) {
            qsizetype j = i;
            while (j < n && (sql.at(j).isDigit() || sql.at(j) == QLatin1Char('.')))
                ++j;
            const QString number = sql.mid(i, j - i);
            if (kept() || (j < n && wordChar(sql.at(j)))) {
                text += number;
            } else if (number.contains(QLatin1Char('.'))) {
                placeholder({RawValue::Real, number.toUtf8(), 0, number.toDouble()});
            } else {
                bool whole = false;
                const qint64 v = number.toLongLong(&whole);
                if (whole)
                    placeholder({RawValue::Integer, number.toUtf8(), v, 0});
                else
                    placeholder({RawValue::Real, number.toUtf8(), 0, number.toDouble()});
            }
            i = j;
        } else if (wordChar(c)) {
            qsizetype j = i;
            while (j < n && wordChar(sql.at(j)))
                ++j;
            lastWord = sql.mid(i, j - i);
            text += lastWord;
            i = j;
        } else {
            if (!c.isSpace())
                lastWord.clear();
            text += c;
            ++i;
        }
    }
    out.sql = text.toUtf8();
    return out;
}

// An embedded file opened as the layer opens it, with one statement prepared
// per shape of the work's statements and each statement's values bound;
// run() binds, steps and resets them in order.
class RawSqlite {
public:
    RawSqlite(const QString &path, const QStringList &work)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        for (const char *pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                                   "PRAGMA busy_timeout = 30000"})
            sqlite3_exec(db_, pragma, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db_, "getdate", 0, SQLITE_UTF8, nullptr, sqliteGetDate, nullptr,
                                   nullptr, nullptr);
        // The database's NOCASE indexes are in this folding's order: a program writing them
        // with SQLite's own would put rows out of order.
        db::HostedConnection::registerFolding(db_);
        QHash<QByteArray, sqlite3_stmt *> distinct;
        for (const QString &sql : work) {
            RawShape shape = rawShape(sql, true);
            sqlite3_stmt *&stmt = distinct[shape.sql];
            if (!stmt) {
                if (sqlite3_prepare_v3(db_, shape.sql.constData(), int(shape.sql.size()),
                                       SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
                    error_ = sqlite3_errmsg(db_) + QByteArray(": ") + shape.sql;
                    return;
                }
                prepared_.push_back(stmt);
            }
            sequence_.push_back({stmt, std::move(shape.values)});
        }
    }
    ~RawSqlite()
    {
        for (sqlite3_stmt *stmt : prepared_)
            sqlite3_finalize(stmt);
        sqlite3_close(db_);
    }
    RawSqlite(const RawSqlite &) = delete;
    RawSqlite &operator=(const RawSqlite &) = delete;

    bool run()
    {
        for (const Step &step : sequence_) {
            sqlite3_stmt *stmt = step.statement;
            int at = 0;
            for (const RawValue &v : step.values) {
                ++at;
                switch (v.kind) {
                case RawValue::Text:
                    sqlite3_bind_text(stmt, at, v.text.constData(), int(v.text.size()),
                                      SQLITE_STATIC);
                    break;
                case RawValue::Integer:
                    sqlite3_bind_int64(stmt, at, v.integer);
                    break;
                case RawValue::Real:
                    sqlite3_bind_double(stmt, at, v.real);
                    break;
                }
            }
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_value(stmt, 0));
            sqlite3_reset(stmt);
            if (rc != SQLITE_DONE) {
                error_ = sqlite3_errmsg(db_);
                return false;
            }
        }
        return true;
    }
    // Empty while all is well.
    const QByteArray &error() const { return error_; }
    std::size_t statements() const { return sequence_.size(); }

private:
    struct Step {
        sqlite3_stmt *statement;
        std::vector<RawValue> values;
    };
    sqlite3 *db_ = nullptr;
    std::vector<sqlite3_stmt *> prepared_;
    std::vector<Step> sequence_;
    QByteArray error_;
};

// A server connection of its own with one statement prepared per shape of the
// work's statements (PQprepare, a number's parameter typed as its literal
// reads); run() executes them in order with each one's values
// (PQexecPrepared). A statement the server cannot prepare with its values
// apart is prepared with them written in.
class RawPostgres {
public:
    RawPostgres(const QString &url, const QStringList &work)
        : db_(PQconnectdb(url.toUtf8().constData()))
    {
        if (PQstatus(db_) != CONNECTION_OK) {
            error_ = PQerrorMessage(db_);
            return;
        }
        QHash<QByteArray, QByteArray> distinct;
        auto prepare = [this, &distinct](const QByteArray &sql, const std::vector<Oid> &types,
                                         bool last) -> QByteArray {
            QByteArray &name = distinct[sql];
            if (!name.isEmpty())
                return name;
            const QByteArray next = QByteArray("s") + QByteArray::number(distinct.size());
            PGresult *result =
                PQprepare(db_, next.constData(), sql.constData(), int(types.size()), types.data());
            const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
            if (!ok && last)
                error_ = PQresultErrorMessage(result) + QByteArray(": ") + sql;
            PQclear(result);
            if (!ok) {
                distinct.remove(sql);
                return QByteArray();
            }
            name = next;
            return name;
        };
        for (const QString &sql : work) {
            RawShape shape = rawShape(sql, false);
            std::vector<Oid> types;
            for (const RawValue &v : shape.values)
                types.push_back(v.serverType());
            QByteArray name = prepare(shape.sql, types, false);
            if (name.isEmpty()) {
                shape.values.clear();
                name = prepare(sql.toUtf8(), {}, true);
                if (name.isEmpty())
                    return;
            }
            sequence_.push_back({name, std::move(shape.values), {}});
            for (const RawValue &v : sequence_.back().values)
                sequence_.back().pointers.push_back(v.text.constData());
        }
    }
    ~RawPostgres() { PQfinish(db_); }
    RawPostgres(const RawPostgres &) = delete;
    RawPostgres &operator=(const RawPostgres &) = delete;

    bool run()
    {
        for (const Step &step : sequence_) {
            PGresult *result = PQexecPrepared(db_, step.name.constData(), int(step.pointers.size()),
                                              step.pointers.data(), nullptr, nullptr, 0);
            const ExecStatusType status = PQresultStatus(result);
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
                error_ = PQresultErrorMessage(result);
                PQclear(result);
                return false;
            }
            if (PQntuples(result) > 0)
                benchmark::DoNotOptimize(PQgetvalue(result, 0, 0));
            PQclear(result);
        }
        return true;
    }
    const QByteArray &error() const { return error_; }
    std::size_t statements() const { return sequence_.size(); }

private:
    struct Step {
        QByteArray name;
        std::vector<RawValue> values;
        std::vector<const char *> pointers; // into values, as libpq takes them
    };
    PGconn *db_;
    std::vector<Step> sequence_;
    QByteArray error_;
};

// Runs a save through the layer once per iteration, after two runs that warm
// the translations and prepared statements (a statement is prepared on the
// server when it repeats); counts per save the texts sent and the statements
// the engine received, as the connection counts them (a trace would add its
// own cost to the layer's).
// `s.sweep()`, where the saving has one, runs after each save outside the
// measurement and takes its rows away, as the raw side's sweep does for its
// replay: both then save into the same table. A table left to grow tenfold
// within a run, while its statistics still describe it as it was, keeps the
// server on a plan made for the small table (a scan where an index would
// serve), which no ward sees: autovacuum gathers them again long before.
template <class Saving> void runThroughLayer(benchmark::State &state, Saving &s)
{
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    s.save();
    s.save();
    const long sent = s.counting->statements;
    const qint64 received = s.database->engineStatements();
    qint64 swept = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.save());
        if constexpr (requires { s.sweep(); }) {
            state.PauseTiming();
            const qint64 before = s.database->engineStatements();
            s.sweep();
            swept += s.database->engineStatements() - before;
            state.ResumeTiming();
        }
    }
    const double n = double(state.iterations());
    state.counters["statements"] = double(s.counting->statements - sent) / n;
    state.counters["engine_statements"] =
        double(s.database->engineStatements() - received - swept) / n;
}

// Runs the raw side's work once per iteration; a failure ends the benchmark
// with the engine's words.
// `sweep`, when given, runs after each iteration outside the measurement: it
// takes away the rows a replayed save added, so that a replay, whose values are
// the same every time, finds no more rows than the layer's save with its own.
template <class Raw> void runRaw(benchmark::State &state, Raw &raw, Raw *sweep = nullptr)
{
    if (!raw.error().isEmpty() || (sweep && !sweep->error().isEmpty())) {
        state.SkipWithError((raw.error().isEmpty() ? sweep->error() : raw.error()).constData());
        return;
    }
    for (auto _ : state) {
        if (!raw.run()) {
            state.SkipWithError(raw.error().constData());
            return;
        }
        if (sweep) {
            state.PauseTiming();
            sweep->run();
            state.ResumeTiming();
        }
    }
    state.counters["engine_statements"] = double(raw.statements());
}

// Runs the benchmarks the command line selects; the caller has made the
// application object and tidies what outlives it after.
inline int runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A box during a measurement means the path measured is not the one meant.
class CountBoxes : public widgets::MessageService {
public:
    int message(const QString &, const QString &, Icon, QMessageBox::StandardButtons) override
    {
        ++shown;
        return QMessageBox::Ok;
    }
    int exec(QDialog &) override
    {
        ++shown;
        return 0;
    }
    int shown = 0;
};

// A fresh demo hospital: a file of its own, or a database of its own on the
// server named by CHEMODESK_BENCH_PG; empty when that is unset.
inline QString demoTarget(bool postgres, const QTemporaryDir &dir, const QString &name)
{
    if (!postgres) {
        const QString path = dir.filePath(name + QStringLiteral(".db"));
        hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
        return path;
    }
    const QString server = qEnvironmentVariable("CHEMODESK_BENCH_PG");
    if (server.isEmpty())
        return {};
    const QString database = QStringLiteral("chemodesk_bench_") + name;
    {
        auto admin = db::HostedConnection::open(server);
        admin->executeNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database));
        admin->executeNative(QStringLiteral("CREATE DATABASE %1").arg(database));
    }
    QUrl url(server);
    url.setPath(QLatin1Char('/') + database);
    auto c = hospital::openDatabase(url.toString());
    hospital::InitOptions options;
    options.demo = true;
    hospital::initDatabase(*c, options);
    return url.toString();
}

} // namespace chemodesk::bench
