#include "hostedconnection.h"

#include "sqltext.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QTimeZone>
#include <QUrl>
#include <QUrlQuery>
#include <QVarLengthArray>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string>

namespace chemodesk::db {

namespace {

QAtomicInt connectionCounter;

// The longest text whose translation is kept for the next time.
constexpr qsizetype MaxKeptText = 8192;

// How long the server lets a workstation's session sit idle inside a
// transaction before ending it; another workstation waits on its locks at most
// this long.
constexpr int IdleInTransactionLimitMs = 5000;

QString engineMessage(const QSqlError &error)
{
    QString message = error.databaseText().trimmed();
    if (message.isEmpty())
        message = error.text().trimmed();
    return message;
}

// The driver's handles carry libpq's pointers, named by the struct or by its
// typedef depending on the headers Qt was built with.
bool isHandle(const QVariant &handle, const char *structName, const char *typedefName)
{
    return handle.isValid() && (qstrcmp(handle.typeName(), structName) == 0 ||
                                qstrcmp(handle.typeName(), typedefName) == 0);
}

PGconn *driverConnection(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!isHandle(handle, "pg_conn*", "PGconn*"))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

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

// The rows of a whole result, read from libpq's text form: the driver's own
// path would turn every date into a QDateTime through the time zone and back.
// Dates and times are kept as the ISO text SQLite keeps.
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

void sqliteGetDate(sqlite3_context *context, int, sqlite3_value **)
{
    auto *connection = static_cast<HostedConnection *>(sqlite3_user_data(context));
    const QByteArray text =
        connection->clockNow().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    sqlite3_result_text(context, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// As on the hospital's server: 1 when the value reads as a number, else 0.
void sqliteIsNumeric(sqlite3_context *context, int, sqlite3_value **argv)
{
    int result = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        result = 1;
        break;
    case SQLITE_TEXT: {
        bool ok = false;
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])))
            .trimmed()
            .toDouble(&ok);
        result = ok ? 1 : 0;
        break;
    }
    default:
        break;
    }
    sqlite3_result_int(context, result);
}

// TCP keepalives on the workstation's side: a server that vanished from the
// network is noticed in about a minute instead of when TCP gives up. The
// URL's own libpq options (sslmode, sslrootcert, ...) come after them and win.
QString serverConnectOptions(const QUrl &url)
{
    QStringList options = {QStringLiteral("connect_timeout=10"), QStringLiteral("keepalives=1"),
                           QStringLiteral("keepalives_idle=30"),
                           QStringLiteral("keepalives_interval=10"),
                           QStringLiteral("keepalives_count=3")};
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        // The driver separates options by ';' and hands them to libpq, which reads quoted values.
        if (key.isEmpty() || !key.contains(QRegularExpression(QStringLiteral("^[a-z_]+$"))))
            throw DatabaseError(
                QStringLiteral("The connection option '%1' is not a libpq option name.").arg(key));
        if (value.contains(QLatin1Char(';')))
            throw DatabaseError(
                QStringLiteral("The value of the connection option %1 may not hold ';'.").arg(key));
        QString quoted = value;
        quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('\''), QLatin1String("\\'"));
        options << key + QStringLiteral("='") + quoted + QLatin1Char('\'');
    }
    return options.join(QLatin1Char(';'));
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

// Case folding of the hospital's server, which folds every letter (Ñ as N is
// folded), where SQLite's NOCASE, upper() and lower() fold ASCII alone. Texts
// of ASCII letters only, nearly all of them, take the quick way and compare
// exactly as SQLite's own NOCASE does, so indexes built by it stay in order.
bool isAscii(const unsigned char *text, int length)
{
    for (int i = 0; i < length; ++i)
        if (text[i] & 0x80)
            return false;
    return true;
}

int compareFolded(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    const auto *x = static_cast<const unsigned char *>(a);
    const auto *y = static_cast<const unsigned char *>(b);
    const int common = std::min(lengthA, lengthB);
    int i = 0;
    for (; i < common; ++i) {
        unsigned char cx = x[i], cy = y[i];
        if ((cx | cy) & 0x80)
            break;
        if (cx >= 'A' && cx <= 'Z')
            cx = static_cast<unsigned char>(cx + 32);
        if (cy >= 'A' && cy <= 'Z')
            cy = static_cast<unsigned char>(cy + 32);
        if (cx != cy)
            return cx - cy;
    }
    if (i == common)
        return lengthA - lengthB;
    // From the first letter beyond ASCII on, by folded code points.
    const QList<uint> restA = QString::fromUtf8(reinterpret_cast<const char *>(x + i), lengthA - i)
                                  .toCaseFolded()
                                  .toUcs4();
    const QList<uint> restB = QString::fromUtf8(reinterpret_cast<const char *>(y + i), lengthB - i)
                                  .toCaseFolded()
                                  .toUcs4();
    const auto [ia, ib] = std::mismatch(restA.begin(), restA.end(), restB.begin(), restB.end());
    if (ia == restA.end())
        return ib == restB.end() ? 0 : -1;
    if (ib == restB.end())
        return 1;
    return *ia < *ib ? -1 : 1;
}

template <bool Upper> void sqliteChangeCase(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const auto *text = sqlite3_value_text(argv[0]);
    const int length = sqlite3_value_bytes(argv[0]);
    QByteArray out;
    if (isAscii(text, length)) {
        out = QByteArray(reinterpret_cast<const char *>(text), length);
        out = Upper ? out.toUpper() : out.toLower();
    } else {
        const QString value = QString::fromUtf8(reinterpret_cast<const char *>(text), length);
        out = (Upper ? value.toUpper() : value.toLower()).toUtf8();
    }
    sqlite3_result_text(context, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void registerUnicodeFolding(sqlite3 *handle)
{
    sqlite3_create_collation_v2(handle, "NOCASE", SQLITE_UTF8, nullptr, compareFolded, nullptr);
    sqlite3_create_function_v2(handle, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               sqliteChangeCase<true>, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "lower", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               sqliteChangeCase<false>, nullptr, nullptr, nullptr);
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
    : translator_(dialect, &registry), registry_(registry)
{
}

HostedConnection::~HostedConnection()
{
    finalizeStatements();
    if (db_.isValid()) {
        if (depth_ > 0) {
            QSqlQuery q(db_);
            q.exec(QStringLiteral("ROLLBACK"));
        }
        // The embedded file's statistics kept up as it grows, as SQLite advises at closing:
        // nothing else gathers them, and a look-up planned without them may walk a table.
        if (lite_ && !readOnly_)
            sqlite3_exec(lite_, "PRAGMA optimize", nullptr, nullptr, nullptr);
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
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
    c->name_ = QStringLiteral("chemodesk-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    if (postgres) {
        const QUrl url(target);
        c->db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), c->name_);
        c->db_.setHostName(url.host().isEmpty() ? QStringLiteral("127.0.0.1") : url.host());
        c->db_.setPort(url.port(5432));
        c->db_.setDatabaseName(url.path().mid(1));
        c->db_.setUserName(url.userName());
        c->db_.setPassword(url.password());
        c->db_.setConnectOptions(serverConnectOptions(url));
        c->readOnly_ = options.readOnly;
        c->connectionString_ =
            QStringLiteral(
                "Provider=PostgreSQL;Data Source=%1;Port=%2;Initial Catalog=%3;User ID=%4")
                .arg(c->db_.hostName())
                .arg(c->db_.port())
                .arg(c->db_.databaseName(), c->db_.userName());
    } else {
        c->db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c->name_);
        c->db_.setDatabaseName(target);
        c->readOnly_ = options.readOnly || fileIsReadOnly(target);
        c->db_.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(c->timeout_ * 1000) +
            (c->readOnly_ ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
        c->connectionString_ = QStringLiteral("Provider=SQLite;Data Source=%1").arg(target);
    }
    if (!c->db_.open())
        throw DatabaseError(
            QStringLiteral("Cannot open the database %1: %2")
                .arg(postgres ? QUrl(target).toString(QUrl::RemovePassword) : target,
                     openingProblem(engineMessage(c->db_.lastError()))));
    if (postgres) {
        c->server_ = driverConnection(c->db_);
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
        auto *handle = *static_cast<sqlite3 *const *>(c->db_.driver()->handle().constData());
        c->lite_ = handle;
        sqlite3_create_function_v2(handle, "getdate", 0, SQLITE_UTF8, c.get(), sqliteGetDate,
                                   nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(handle, "isnumeric", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, sqliteIsNumeric, nullptr, nullptr, nullptr);
        registerUnicodeFolding(handle);
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
    if (const std::shared_ptr<ShapeVariant> variant = shapeVariant(text))
        return runShape(variant, text);
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
    registerUnicodeFolding(handle);
}

std::shared_ptr<HostedConnection::ShapeVariant> HostedConnection::shapeVariant(const QString &text)
{
    if (!shapeOf(text, shapeKey_, literals_) || literals_.empty())
        return nullptr;
    auto shape = shapes_.find(shapeKey_);
    if (shape != shapes_.end()) {
        if (!shape->usable)
            return nullptr;
        for (const std::shared_ptr<ShapeVariant> &v : shape->variants) {
            bool same = true;
            for (size_t p = 0; p < v->pinned.size() && same; ++p)
                same = !v->pinned[p] || v->literals[p].value == literals_[p].value;
            if (same)
                return v;
        }
        // A text whose pinned values keep changing (a search's pattern) is
        // kept by its exact form instead.
        if (shape->variants.size() >= 8)
            return nullptr;
    } else {
        if (shapes_.size() >= 1024)
            forgetShapes();
        shape = shapes_.insert(shapeKey_, {});
    }
    std::optional<ShapeTranslation> translated = translator_.translateShape(text, literals_);
    if (!translated) {
        shape->usable = false;
        return nullptr;
    }
    auto v = std::make_shared<ShapeVariant>();
    v->pinned = std::move(translated->pinned);
    v->dates = std::move(translated->dates);
    v->literals = literals_;
    v->statements = std::move(translated->statements);
    v->call = std::move(translated->call);
    if (v->call) {
        v->call->key = ProcedureRegistry::key(v->call->database, v->call->name);
        std::vector<bool> taken(literals_.size());
        v->distinctSources = true;
        for (const ProcedureCall::Source &source : v->call->sources) {
            if (source.literal < 0)
                continue;
            if (taken[static_cast<size_t>(source.literal)])
                v->distinctSources = false;
            taken[static_cast<size_t>(source.literal)] = true;
        }
    }
    for (const auto &pieces : v->statements) {
        QString sql;
        ServerStatement server;
        for (const ShapePiece &piece : pieces) {
            sql += piece.text;
            if (piece.param < 0)
                continue;
            if (lite_) {
                sql += QLatin1Char('?') + QString::number(piece.param + 1);
            } else {
                // Each place a parameter of its own: the server reads each one's type
                // where it stands, as it reads a literal there.
                server.literals.push_back(piece.param);
                sql += QLatin1Char('$') + QString::number(server.literals.size());
            }
        }
        if (lite_) {
            v->sqlite << sql;
        } else {
            server.text = sql.toUtf8();
            v->server.push_back(std::move(server));
        }
    }
    v->known.resize(static_cast<size_t>(v->sqlite.size()));
    shape->variants.push_back(v);
    return v;
}

HostedConnection::BoundForm HostedConnection::boundForm(const QString &text, const Value *values,
                                                        size_t count, const QByteArray &numbers)
{
    const std::vector<qsizetype> at = placesFor(text, count);
    // The text with these values written in, read as any text is: the literal
    // each place becomes is found from the literals before it.
    BoundForm form;
    form.numbers = numbers;
    QString written;
    QString shape;
    std::vector<Literal> before;
    qsizetype copied = 0;
    for (size_t i = 0; i < count; ++i) {
        written += QStringView(text).mid(copied, at[i] - copied);
        copied = at[i] + 1;
        if (!shapeOf(written, shape, before))
            return form;
        form.places.push_back(static_cast<int>(before.size()));
        // A number's own value never matters to the translation of a bound place (one that
        // did would pin it, below); a negative one would read as a minus and a number.
        written += values[i].isNumber() ? QStringLiteral("1") : sql::quote(values[i].text());
    }
    written += QStringView(text).mid(copied);
    const std::shared_ptr<ShapeVariant> variant = shapeVariant(written);
    if (!variant)
        return form;
    for (size_t i = 0; i < count; ++i) {
        const auto place = static_cast<size_t>(form.places[i]);
        // A place the translation reads by its value (a LIKE pattern, a bit's
        // 'true') cannot be bound: its values are written in each time.
        if (place >= literals_.size() || literals_[place].number != values[i].isNumber() ||
            variant->pinned[place])
            return form;
    }
    form.literals = literals_;
    form.valueAt.assign(literals_.size(), -1);
    for (size_t i = 0; i < count; ++i)
        form.valueAt[static_cast<size_t>(form.places[i])] = static_cast<int>(i);
    form.variant = variant;
    return form;
}

Recordset HostedConnection::executeBound(const QString &text, const Value *values, size_t count)
{
    QVarLengthArray<char, 64> kinds(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i)
        kinds[static_cast<qsizetype>(i)] = values[i].isNumber() ? 1 : 0;
    const QByteArrayView numbers(kinds.constData(), kinds.size());
    std::vector<BoundForm> &forms = boundForms(text);
    auto form = std::find_if(forms.begin(), forms.end(),
                             [&numbers](const BoundForm &f) { return f.numbers == numbers; });
    if (form == forms.end()) {
        if (boundTexts_.size() + literalTexts_.size() >= 1024) {
            boundTexts_.clear();
            literalTexts_.clear();
            return executeBound(text, values, count);
        }
        BoundForm made = boundForm(text, values, count, numbers.toByteArray());
        std::vector<BoundForm> &again = boundForms(text); // shapeVariant() may have cleared it
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
    literals_ = std::move(literals);
    try {
        return runShape(variant, text);
    } catch (const DatabaseError &e) {
        // Said with the values written in, as the same text sent whole would be.
        if (e.text() != text)
            throw;
        throw DatabaseError(e.message(), withValuesWritten(text, values, count));
    }
}

std::vector<HostedConnection::BoundForm> &HostedConnection::boundForms(const QString &text)
{
    // A QStringLiteral has no allocation of its own: its characters stay where
    // they are, unchanged, for the program's life, and its address names it
    // without hashing the whole text at every call.
    if (!text.data_ptr().isMutable())
        return literalTexts_[{text.constData(), text.size()}];
    return boundTexts_[text];
}

void HostedConnection::forgetShapes()
{
    shapes_.clear();
    boundTexts_.clear();
    literalTexts_.clear();
    forgetServerStatements();
}

namespace {

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

// A text written as UTF-8 at `out`, which has room for three bytes for each of
// its UTF-16 units; returns the bytes written. ASCII, nearly every value bound,
// is copied without a buffer of its own.
qsizetype writeUtf8(char *out, const QString &text)
{
    const char16_t *s = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i < n && s[i] < 0x80; ++i)
        out[i] = static_cast<char>(s[i]);
    if (i == n)
        return n;
    const QByteArray rest = QStringView(text).mid(i).toUtf8();
    std::memcpy(out + i, rest.constData(), static_cast<size_t>(rest.size()));
    return i + rest.size();
}

// A number literal bound as SQLite reads it written: an integer when it is one
// and fits, else a double. Read without the locale's conversions (every amount
// of every line passes here); anything unusual is read by Qt as before.
void bindNumber(sqlite3_stmt *statement, int at, const QString &value)
{
    char ascii[64];
    const qsizetype n = value.size();
    bool plain = n > 0 && n < qsizetype(sizeof ascii);
    for (qsizetype i = 0; plain && i < n; ++i) {
        const char16_t c = value.at(i).unicode();
        plain = c < 0x80 && c > ' ' && c != '+';
        ascii[i] = static_cast<char>(c);
    }
    if (plain) {
        const char *end = ascii + n;
        qint64 integer = 0;
        if (const auto [stop, ec] = std::from_chars(ascii, end, integer);
            ec == std::errc() && stop == end) {
            sqlite3_bind_int64(statement, at, integer);
            return;
        }
        double real = 0;
        if (const auto [stop, ec] = std::from_chars(ascii, end, real);
            ec == std::errc() && stop == end) {
            sqlite3_bind_double(statement, at, real);
            return;
        }
    }
    bool whole = false;
    const qint64 integer = value.toLongLong(&whole);
    if (whole)
        sqlite3_bind_int64(statement, at, integer);
    else
        sqlite3_bind_double(statement, at, value.toDouble());
}

// The type PostgreSQL gives a number written as this literal: integer when it
// fits, else bigint, else numeric. A parameter of that type reads as the literal.
char serverNumberType(const QString &value)
{
    bool whole = false;
    const qlonglong number = value.toLongLong(&whole);
    if (!whole)
        return 'n';
    return number <= std::numeric_limits<qint32>::max() ? 'i' : 'l';
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

} // namespace

Recordset HostedConnection::runShape(const std::shared_ptr<ShapeVariant> &variant,
                                     const QString &text)
{
    std::vector<Literal> values = std::move(literals_);
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
            QByteArray types;
            std::vector<QByteArray> bound;
            std::vector<bool> nulls;
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
            const QString head = headWord(pieces.front().text);
            forgetBeforeChange(head);
            if (preparable(head)) {
                for (ServerPrepared &p : statement.prepared)
                    if (p.types == types)
                        prepared = &p;
                if (!prepared) {
                    statement.prepared.push_back({});
                    prepared = &statement.prepared.back();
                    prepared->types = types;
                }
            }
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

void HostedConnection::finalizeStatements()
{
    for (const Prepared &prepared : std::as_const(statements_))
        sqlite3_finalize(prepared.statement);
    statements_.clear();
    ++statementsGeneration_;
}

Recordset HostedConnection::runSqlite(const QString &sql, const QString &original,
                                      const std::vector<Literal> *binds, KnownStatement *known)
{
    if (damaged_ && !sql.startsWith(QLatin1String("ROLLBACK"), Qt::CaseInsensitive))
        throwDamaged({QStringLiteral("found damaged while in use")}, original, false);
    const Prepared *found = nullptr;
    if (known && known->generation == statementsGeneration_)
        found = &known->prepared;
    else if (auto kept = statements_.constFind(sql); kept != statements_.constEnd())
        found = &kept.value();
    if (!found) {
        // A long statement (a bulk load's) is not kept beside others: at most one at a time.
        if (statements_.size() >= 256 || sql.size() > MaxKeptText)
            finalizeStatements();
        const QByteArray utf8 = sql.toUtf8();
        const char *tail = nullptr;
        Prepared prepared;
        if (sqlite3_prepare_v3(lite_, utf8.constData(), static_cast<int>(utf8.size()),
                               SQLITE_PREPARE_PERSISTENT, &prepared.statement,
                               &tail) != SQLITE_OK) {
            if (readOnly_ && (sqlite3_extended_errcode(lite_) & 0xff) == SQLITE_READONLY) {
                sqlite3_finalize(prepared.statement);
                throwReadOnly(original);
            }
            const QString message = QString::fromUtf8(sqlite3_errmsg(lite_));
            const int code = sqlite3_extended_errcode(lite_);
            sqlite3_finalize(prepared.statement);
            checkDamage(code, original);
            throw DatabaseError(message, original);
        }
        if (!prepared.statement) // only blanks or a comment
            return {};
        if (tail && QByteArray(tail).trimmed().size() > 0) {
            sqlite3_finalize(prepared.statement);
            throw DatabaseError(QStringLiteral("Only one statement can be run at a time."),
                                original);
        }
        for (int i = 0; i < sqlite3_column_count(prepared.statement); ++i)
            prepared.columns << QString::fromUtf8(sqlite3_column_name(prepared.statement, i));
        // ?N is literal N-1 of the text.
        for (int p = 1; p <= sqlite3_bind_parameter_count(prepared.statement); ++p) {
            const char *name = sqlite3_bind_parameter_name(prepared.statement, p);
            prepared.params.push_back(name ? std::atoi(name + 1) - 1 : -1);
        }
        found = &statements_.insert(sql, prepared).value();
    }
    if (known && known->generation != statementsGeneration_) {
        known->prepared = *found;
        known->generation = statementsGeneration_;
    }
    sqlite3_stmt *statement = found->statement;
    // The texts bound, one after another in one buffer (on the stack for the
    // usual few hundred bytes), stay here until the statement has run. Every
    // place is bound at every run, so the bindings are not cleared after it; a
    // run without values clears them first.
    QVarLengthArray<char, 1024> texts;
    if (binds) {
        qsizetype room = 0;
        for (const int index : found->params)
            if (index >= 0 && static_cast<size_t>(index) < binds->size())
                room += (*binds)[static_cast<size_t>(index)].value.size() * 3;
        texts.resize(room); // never grown below: the bound pointers stay valid
        qsizetype used = 0;
        // The literals the statement holds are bound as the engine reads them
        // written: a text, an integer, a decimal.
        for (size_t p = 0; p < found->params.size(); ++p) {
            const int index = found->params[p];
            const int at = static_cast<int>(p) + 1;
            if (index < 0 || static_cast<size_t>(index) >= binds->size()) {
                sqlite3_bind_null(statement, at);
                continue;
            }
            const Literal &l = (*binds)[static_cast<size_t>(index)];
            if (l.null) {
                sqlite3_bind_null(statement, at);
            } else if (!l.number) {
                const qsizetype length = writeUtf8(texts.data() + used, l.value);
                sqlite3_bind_text(statement, at, texts.data() + used, static_cast<int>(length),
                                  SQLITE_STATIC);
                used += length;
            } else {
                bindNumber(statement, at, l.value);
            }
        }
    } else if (!found->params.empty()) {
        sqlite3_clear_bindings(statement);
    }
    const int count = static_cast<int>(found->columns.size());
    QStringList columns = found->columns;
    Recordset::Builder rows(std::move(columns), 128);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) {
            // One call into the library per value: the connection is this
            // thread's alone, so the value is read without the column calls' checks.
            sqlite3_value *value = sqlite3_column_value(statement, i);
            switch (sqlite3_value_type(value)) {
            case SQLITE_NULL:
                rows.addNull();
                break;
            case SQLITE_INTEGER:
                rows.addInteger(sqlite3_value_int64(value));
                break;
            case SQLITE_FLOAT:
                rows.addReal(sqlite3_value_double(value));
                break;
            default: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
                rows.addText(text, sqlite3_value_bytes(value));
            }
            }
        }
    }
    if (rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(lite_));
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (readOnly_ && (rc & 0xff) == SQLITE_READONLY)
            throwReadOnly(original);
        checkDamage(rc, original);
        throw DatabaseError(message, original);
    }
    sqlite3_reset(statement);
    if (count == 0)
        return {};
    return rows.finish();
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
                                const std::vector<Literal> *binds, bool kept, KnownStatement *known)
{
    ++engineStatements_;
    // A shape's statement is traced by runShape(), with its values written in.
    if (trace_ && !binds)
        trace_(sql);
    noteWrite(sql, original);
    if (lite_) {
        try {
            return runSqlite(sql, original, binds, known);
        } catch (const DatabaseError &) {
            ++engineErrors_;
            throw;
        }
    }
    const QByteArray text = sql.toUtf8();
    ServerPrepared *prepared = nullptr;
    const QString head = headWord(sql);
    if (kept && text.size() <= MaxKeptText && preparable(head)) {
        if (serverTexts_.size() >= 2048) {
            forgetServerStatements();
            serverTexts_.clear();
        }
        prepared = &serverTexts_[text];
    }
    forgetBeforeChange(head);
    return runServer({&text, prepared, nullptr, nullptr, [&sql] { return sql; }}, original);
}

bool HostedConnection::prepareOnServer(const QByteArray &text, ServerPrepared &prepared)
{
    if (prepared.session != serverSession_) {
        prepared.name.clear();
        prepared.uses = 0;
        prepared.refused = false;
        prepared.session = serverSession_;
    }
    if (!prepared.name.isEmpty())
        return true;
    // A statement sent once (a one-off text) is not prepared.
    if (prepared.refused || ++prepared.uses < 2)
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(server_);
    if (status != PQTRANS_IDLE && status != PQTRANS_INTRANS)
        return false;
    auto succeeded = [](PGresult *result) {
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        return ok;
    };
    // A statement the server cannot prepare (a value whose type it cannot tell
    // where it stands) would end an open transaction: a savepoint keeps it.
    const bool inside = status == PQTRANS_INTRANS;
    if (inside && !succeeded(PQexec(server_, "SAVEPOINT chemodesk_prepare")))
        return false;
    const QByteArray name = "chemodesk_" + QByteArray::number(++serverNames_);
    std::vector<Oid> types;
    types.reserve(static_cast<size_t>(prepared.types.size()));
    for (char type : std::as_const(prepared.types))
        types.push_back(serverType(type));
    const bool done = succeeded(PQprepare(server_, name.constData(), text.constData(),
                                          static_cast<int>(types.size()), types.data()));
    if (inside)
        succeeded(PQexec(server_, done ? "RELEASE SAVEPOINT chemodesk_prepare"
                                       : "ROLLBACK TO SAVEPOINT chemodesk_prepare; "
                                         "RELEASE SAVEPOINT chemodesk_prepare"));
    if (!done) {
        prepared.refused = true;
        return false;
    }
    prepared.name = name;
    ++serverPrepared_;
    return true;
}

void HostedConnection::forgetBeforeChange(const QString &head)
{
    // A statement prepared before its table changed could no longer return its rows.
    if (serverPrepared_ > 0 && (head == QLatin1String("ALTER") || head == QLatin1String("DROP") ||
                                head == QLatin1String("CREATE")))
        forgetServerStatements();
}

void HostedConnection::forgetServerStatements()
{
    if (server_ && serverPrepared_ > 0)
        PQclear(PQexec(server_, "DEALLOCATE ALL"));
    serverPrepared_ = 0;
    ++serverSession_;
}

Recordset HostedConnection::runServer(const ServerCall &call, const QString &original)
{
    PGresult *result = nullptr;
    const bool withValues = call.values && !call.values->empty();
    if (call.prepared && server_ && prepareOnServer(*call.text, *call.prepared)) {
        std::vector<const char *> values;
        if (withValues)
            for (size_t v = 0; v < call.values->size(); ++v)
                values.push_back(call.nulls && (*call.nulls)[v] ? nullptr
                                                                : (*call.values)[v].constData());
        result =
            PQexecPrepared(server_, call.prepared->name.constData(),
                           static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
    } else {
        result = PQexec(server_,
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
    ++engineErrors_;
    // Worded as the engine words it, its SQLSTATE after it.
    const QString state =
        result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    QString message = QString::fromUtf8(PQerrorMessage(server_));
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
    if (reconnecting_ || !serverConnectionLost(state))
        throw DatabaseError(message, original);
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

bool HostedConnection::serverConnectionLost(const QString &state) const
{
    // Connection exceptions, and the server shutting the session down.
    if (!db_.isOpen())
        return true;
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return true;
    return !server_ || PQstatus(server_) == CONNECTION_BAD;
}

void HostedConnection::reconnect()
{
    // Each try may wait for the server up to the connect time-out; while it
    // is away, statements fail at once instead of freezing the screens.
    constexpr qint64 RetryAfterMs = 30'000;
    if (lastFailedReconnect_.isValid() && !lastFailedReconnect_.hasExpired(RetryAfterMs))
        throw DatabaseError(QStringLiteral("The database server cannot be reached; the program "
                                           "will try again shortly."));
    // What was prepared went with the session.
    server_ = nullptr;
    serverPrepared_ = 0;
    ++serverSession_;
    db_.close();
    if (!db_.open()) {
        lastFailedReconnect_.start();
        throw DatabaseError(QStringLiteral("The connection to the database server was lost and "
                                           "cannot be made again: %1")
                                .arg(engineMessage(db_.lastError())));
    }
    server_ = driverConnection(db_);
    lastFailedReconnect_.invalidate();
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
    // SQLite opens a file it may not write for reading, whatever was asked.
    if (sqlite3_db_readonly(lite_, "main") == 1)
        readOnly_ = true;
    if (!options.verify)
        return;
    // The engine's check reads the whole file: a ward's file is checked at
    // every opening, a hospital's large one (about 0.7 s per 350 MB) only as
    // far as its header and schema here, and page by page as it is used (see
    // checkDamage); `chemodesk-admin check` checks any file whole.
    QStringList problems;
    try {
        if (QFileInfo(target_).size() <= options.wholeCheckUpTo)
            problems = integrityProblems();
        else
            executeNative(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DatabaseError &e) {
        problems << (damaged_ ? lastDamage_ : e.message());
    }
    if (!problems.isEmpty())
        throwDamaged(problems);
}

void HostedConnection::throwDamaged(const QStringList &problems, const QString &original,
                                    bool atOpening)
{
    damaged_ = true;
    throw DatabaseError(
        QStringLiteral("The database file %1 is damaged (%2). %3 Please contact IT: the file "
                       "must be restored from its latest backup.")
            .arg(QDir::toNativeSeparators(QFileInfo(target_).absoluteFilePath()),
                 problems.mid(0, 3).join(QStringLiteral("; ")),
                 atOpening ? QStringLiteral("It has not been opened, so nothing more is written "
                                            "to it.")
                           : QStringLiteral("What was being saved was not saved, and nothing "
                                            "more is written to it.")),
        original);
}

void HostedConnection::checkDamage(int code, const QString &original)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        lastDamage_ = QString::fromUtf8(sqlite3_errmsg(lite_));
        throwDamaged({lastDamage_}, original, false);
    }
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

void HostedConnection::throwReadOnly(const QString &original) const
{
    throw DatabaseError(
        QStringLiteral("The database file %1 can only be read on this workstation (it is "
                       "read-only): nothing was saved. Please contact IT if this workstation "
                       "should save to it.")
            .arg(QDir::toNativeSeparators(QFileInfo(target_).absoluteFilePath())),
        original);
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
    clockFixed_.reset();
    clockOffset_ = 0;
    clockTransaction_ = -1;
    Recordset rs = executeNative(
        QStringLiteral("SELECT name, value FROM %1 WHERE name IN ('clock_fixed', 'clock_offset')")
            .arg(table));
    for (; !rs.atEnd(); rs.MoveNext()) {
        if (rs.Fields(0).toString() == QLatin1String("clock_fixed"))
            clockFixed_ = QDateTime::fromString(rs.Fields(1).toString(),
                                                QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else
            clockOffset_ = rs.Fields(1).toLongLong();
    }
}

QDateTime HostedConnection::clockNow() const
{
    if (clockFixed_ && clockFixed_->isValid())
        return *clockFixed_;
    // The local time asked of the C library sets its time zone up again, a
    // look at /etc/localtime, on every reading: the zone's offset is kept
    // until its next change (or an hour, for a zone changed meanwhile).
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    if (utc >= zoneValidUntil_) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(utc);
        zoneOffset_ = local.offsetFromUtc();
        qint64 until = utc + 3600 * 1000;
        const QTimeZone zone = QTimeZone::systemTimeZone();
        if (zone.hasTransitions()) {
            const QTimeZone::OffsetData change = zone.nextTransition(local);
            if (change.atUtc.isValid())
                until = std::min(until, change.atUtc.toMSecsSinceEpoch());
        }
        zoneValidUntil_ = until;
    }
    // The same moment with the zone's offset written on it: read as local time
    // it would ask the C library again.
    return QDateTime::fromMSecsSinceEpoch(utc + clockOffset_ * 1000, Qt::OffsetFromUTC,
                                          zoneOffset_);
}

QDateTime HostedConnection::serverNow()
{
    // The embedded engine's clock is this program's: no statement to read it.
    if (lite_) {
        const QDateTime now = clockNow();
        return now.addMSecs(-now.time().msec()); // in whole seconds, as getdate() reads
    }
    if (depth_ > 0 && clockTransaction_ == transactions_)
        return transactionClock_;
    Recordset rs = Execute(QStringLiteral("SELECT getdate() AS Now"));
    const QDateTime now = rs.Fields(0).toDateTime();
    if (depth_ > 0) {
        clockTransaction_ = transactions_;
        transactionClock_ = now;
    }
    return now;
}

} // namespace chemodesk::db
