#pragma once

// The embedded engine, driven through SQLite's own library: statements kept
// prepared for the texts the screens repeat, values bound as the engine reads
// them written, rows copied without a driver's per-value conversions.

#include "platform/connection.h"
#include "tokenizer.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace chemodesk::db {

class ServerClock;

class SqliteEngine {
public:
    // A prepared statement kept for its text.
    struct Statement {
        sqlite3_stmt *handle = nullptr;
        QStringList columns;
        std::vector<int> params; // the literal bound at each ?N (-1: none)
        // The texts bound at its last run. SQLite reads a bound text where it
        // stands until the place is bound again or the statement is finalized,
        // so they live as long as the statement does; the room only grows.
        std::vector<char> texts;
    };
    // A statement as last found among the kept ones, good while none has been
    // finalized since: a shape's statement runs without a look-up of its text.
    struct Known {
        qint64 generation = -1;
        Statement *statement = nullptr;
    };

    // Opens the file, for reading only when asked; null, and the engine's words
    // in `problem`, when it cannot. getdate() answers from `clock`.
    static std::unique_ptr<SqliteEngine> open(const QString &path, bool readOnly, int busyTimeoutMs,
                                              const ServerClock &clock, QString &problem);
    ~SqliteEngine();
    SqliteEngine(const SqliteEngine &) = delete;
    SqliteEngine &operator=(const SqliteEngine &) = delete;

    // The case folding (NOCASE, upper, lower) every program writing an embedded
    // database must register: its NOCASE indexes are kept in this order.
    static void registerFolding(sqlite3 *handle);

    // Runs one statement; `binds`: the literals its ?N stand for.
    Recordset run(const QString &sql, const QString &original, const std::vector<Literal> *binds,
                  Known *known);
    // At closing: an open transaction undone, and the statistics kept up.
    void close(bool rollback);

    // True when the file is opened for reading only (as asked, or because it cannot be written).
    bool readOnly() const { return readOnly_; }
    // The engine found the file damaged while in use: nothing more is sent to
    // it but the undoing of what was open.
    bool damaged() const { return damaged_; }
    const QString &lastDamage() const { return lastDamage_; }
    [[noreturn]] void throwDamaged(const QStringList &problems, const QString &original = {},
                                   bool atOpening = true);

private:
    SqliteEngine(sqlite3 *handle, const QString &path, bool readOnly);
    void finalizeStatements();
    [[noreturn]] void throwReadOnly(const QString &original) const;
    // Raises the damaged-file refusal when `code` (a SQLite result code) says
    // the file is damaged.
    void checkDamage(int code, const QString &original);

    sqlite3 *handle_ = nullptr;
    QString path_;
    bool readOnly_ = false;
    bool damaged_ = false;
    QString lastDamage_;
    // Each apart from the table, so that a Known's pointer stays good until it is finalized.
    QHash<QString, std::shared_ptr<Statement>> statements_;
    qint64 generation_ = 0; // one more each time the statements are finalized
};

} // namespace chemodesk::db
