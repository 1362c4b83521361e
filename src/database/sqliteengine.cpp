#include "sqliteengine.h"

#include "kept.h"
#include "serverclock.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace chemodesk::db {

namespace {

void sqliteGetDate(sqlite3_context *context, int, sqlite3_value **)
{
    const auto *clock = static_cast<const ServerClock *>(sqlite3_user_data(context));
    const QByteArray text = clock->now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
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

} // namespace

SqliteEngine::SqliteEngine(sqlite3 *handle, const QString &path, bool readOnly)
    : handle_(handle), path_(path), readOnly_(readOnly)
{
}

std::unique_ptr<SqliteEngine> SqliteEngine::open(const QString &path, bool readOnly,
                                                 int busyTimeoutMs, const ServerClock &clock,
                                                 QString &problem)
{
    sqlite3 *handle = nullptr;
    const int mode =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &handle, mode, nullptr) != SQLITE_OK) {
        problem = handle ? QString::fromUtf8(sqlite3_errmsg(handle)).trimmed()
                         : QStringLiteral("out of memory");
        sqlite3_close(handle);
        return nullptr;
    }
    sqlite3_busy_timeout(handle, busyTimeoutMs);
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_create_function_v2(handle, "getdate", 0, SQLITE_UTF8, const_cast<ServerClock *>(&clock),
                               sqliteGetDate, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "isnumeric", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               sqliteIsNumeric, nullptr, nullptr, nullptr);
    registerFolding(handle);
    // SQLite opens a file it may not write for reading, whatever was asked.
    readOnly = readOnly || sqlite3_db_readonly(handle, "main") == 1;
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(handle, path, readOnly));
}

SqliteEngine::~SqliteEngine()
{
    close(false);
}

void SqliteEngine::close(bool rollback)
{
    if (!handle_)
        return;
    finalizeStatements();
    if (rollback)
        sqlite3_exec(handle_, "ROLLBACK", nullptr, nullptr, nullptr);
    // The embedded file's statistics kept up as it grows, as SQLite advises at closing:
    // nothing else gathers them, and a look-up planned without them may walk a table.
    if (!readOnly_)
        sqlite3_exec(handle_, "PRAGMA optimize", nullptr, nullptr, nullptr);
    sqlite3_close_v2(handle_);
    handle_ = nullptr;
}

void SqliteEngine::registerFolding(sqlite3 *handle)
{
    sqlite3_create_collation_v2(handle, "NOCASE", SQLITE_UTF8, nullptr, compareFolded, nullptr);
    sqlite3_create_function_v2(handle, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               sqliteChangeCase<true>, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(handle, "lower", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               sqliteChangeCase<false>, nullptr, nullptr, nullptr);
}

void SqliteEngine::finalizeStatements()
{
    for (const std::shared_ptr<Statement> &kept : std::as_const(statements_))
        sqlite3_finalize(kept->handle);
    statements_.clear();
    ++generation_;
}

Recordset SqliteEngine::run(const QString &sql, const QString &original,
                            const std::vector<Literal> *binds, Known *known)
{
    if (damaged_ && !sql.startsWith(QLatin1String("ROLLBACK"), Qt::CaseInsensitive))
        throwDamaged({QStringLiteral("found damaged while in use")}, original, false);
    Statement *found = nullptr;
    if (known && known->generation == generation_)
        found = known->statement;
    else if (auto kept = statements_.constFind(sql); kept != statements_.constEnd())
        found = kept.value().get();
    if (!found) {
        // A long statement (a bulk load's) is not kept beside others: at most one at a time.
        if (statements_.size() >= 256 || sql.size() > MaxKeptText)
            finalizeStatements();
        const QByteArray utf8 = sql.toUtf8();
        const char *tail = nullptr;
        auto prepared = std::make_shared<Statement>();
        if (sqlite3_prepare_v3(handle_, utf8.constData(), static_cast<int>(utf8.size()),
                               SQLITE_PREPARE_PERSISTENT, &prepared->handle, &tail) != SQLITE_OK) {
            if (readOnly_ && (sqlite3_extended_errcode(handle_) & 0xff) == SQLITE_READONLY) {
                sqlite3_finalize(prepared->handle);
                throwReadOnly(original);
            }
            const QString message = QString::fromUtf8(sqlite3_errmsg(handle_));
            const int code = sqlite3_extended_errcode(handle_);
            sqlite3_finalize(prepared->handle);
            checkDamage(code, original);
            throw DatabaseError(message, original);
        }
        if (!prepared->handle) // only blanks or a comment
            return {};
        if (tail && QByteArray(tail).trimmed().size() > 0) {
            sqlite3_finalize(prepared->handle);
            throw DatabaseError(QStringLiteral("Only one statement can be run at a time."),
                                original);
        }
        sqlite3_stmt *handle = prepared->handle;
        for (int i = 0; i < sqlite3_column_count(handle); ++i)
            prepared->columns << QString::fromUtf8(sqlite3_column_name(handle, i));
        // ?N is literal N-1 of the text.
        for (int p = 1; p <= sqlite3_bind_parameter_count(handle); ++p) {
            const char *name = sqlite3_bind_parameter_name(handle, p);
            prepared->params.push_back(name ? std::atoi(name + 1) - 1 : -1);
        }
        found = prepared.get();
        statements_.insert(sql, std::move(prepared));
    }
    if (known && known->generation != generation_) {
        known->statement = found;
        known->generation = generation_;
    }
    sqlite3_stmt *statement = found->handle;
    if (binds) {
        // The texts go one after another into the statement's own room, which
        // outlives every use SQLite makes of them. Every place is bound at every
        // run, so the bindings are not cleared after it; a run without values
        // clears them first.
        size_t room = 1; // never a null pointer: an empty text is bound as one, not as NULL
        for (const int index : found->params)
            if (index >= 0 && static_cast<size_t>(index) < binds->size())
                room += static_cast<size_t>((*binds)[static_cast<size_t>(index)].value.size()) * 3;
        if (found->texts.size() < room)
            found->texts.resize(room); // every text place is bound again below
        char *texts = found->texts.data();
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
                const qsizetype length = writeUtf8(texts + used, l.value);
                sqlite3_bind_text(statement, at, texts + used, static_cast<int>(length),
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
        const QString message = QString::fromUtf8(sqlite3_errmsg(handle_));
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

void SqliteEngine::throwDamaged(const QStringList &problems, const QString &original,
                                bool atOpening)
{
    damaged_ = true;
    throw DatabaseError(
        QStringLiteral("The database file %1 is damaged (%2). %3 Please contact IT: the file "
                       "must be restored from its latest backup.")
            .arg(QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath()),
                 problems.mid(0, 3).join(QStringLiteral("; ")),
                 atOpening ? QStringLiteral("It has not been opened, so nothing more is written "
                                            "to it.")
                           : QStringLiteral("What was being saved was not saved, and nothing "
                                            "more is written to it.")),
        original);
}

void SqliteEngine::checkDamage(int code, const QString &original)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) {
        lastDamage_ = QString::fromUtf8(sqlite3_errmsg(handle_));
        throwDamaged({lastDamage_}, original, false);
    }
}

void SqliteEngine::throwReadOnly(const QString &original) const
{
    throw DatabaseError(
        QStringLiteral("The database file %1 can only be read on this workstation (it is "
                       "read-only): nothing was saved. Please contact IT if this workstation "
                       "should save to it.")
            .arg(QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath())),
        original);
}

} // namespace chemodesk::db
