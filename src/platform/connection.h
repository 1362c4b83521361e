#pragma once

// The database client every screen talks to. Its surface follows the one the
// screens were written against: text commands in, record sets read by column
// name out, explicit transactions and a command time-out.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace chemodesk {

// A failing text raises this; what() and message() carry the server's words.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString &message, const QString &text = {})
        : std::runtime_error(message.toStdString()), message_(message), text_(text)
    {
    }
    QString message() const { return message_; }
    // The text that was sent, for logs; never shown to the user.
    QString text() const { return text_; }

private:
    QString message_;
    QString text_;
};

// One column value of the current row. A Null is kept apart from an empty text.
class Field {
public:
    Field() = default;
    Field(QString name, QVariant value) : name_(std::move(name)), value_(std::move(value)) {}

    const QString &Name() const { return name_; }
    bool IsNull() const { return !value_.isValid() || value_.isNull(); }
    const QVariant &Value() const { return value_; }

    // Null reads as an empty text, false or zero: the Null test of every read.
    QString toString() const;
    QString trimmed() const { return toString().trimmed(); }
    bool toBool() const;
    double toDouble() const;
    qlonglong toLongLong() const;
    // Accepts what either engine hands back: a date-time value or its text.
    QDateTime toDateTime() const;

private:
    QString name_;
    QVariant value_;
};

// Rows fetched whole when opened (a client cursor): RecordCount is exact and
// the connection is free again as soon as Open returns. Values are kept in one
// compact buffer and become QVariants only when a field is read.
class Recordset {
public:
    enum StateValue { adStateClosed = 0, adStateOpen = 1 };

    Recordset() = default;
    Recordset(QStringList columns, const std::vector<std::vector<QVariant>> &rows);

    int State() const { return open_ ? adStateOpen : adStateClosed; }
    bool EOF_() const { return !open_ || position_ >= rowCount_; }
    // ADO spells it EOF, which the C library already defines as a macro.
    bool atEnd() const { return EOF_(); }
    bool BOF() const { return !open_ || rowCount_ == 0; }
    long RecordCount() const { return open_ ? static_cast<long>(rowCount_) : -1; }
    void MoveNext()
    {
        if (position_ < rowCount_)
            ++position_;
    }
    void MoveFirst() { position_ = 0; }
    void Close();

    int FieldCount() const { return static_cast<int>(columns_.size()); }
    const QStringList &ColumnNames() const { return columns_; }
    bool HasField(const QString &name) const { return indexOf(name) >= 0; }
    // Case-insensitive, as the server's names are. Unknown names raise
    // DatabaseError, so a misspelt column is found in the first test.
    Field Fields(const QString &name) const;
    Field Fields(int index) const;
    Field operator[](const QString &name) const { return Fields(name); }

    // Filling a record set cell by cell, row by row (engines' fast paths).
    class Builder {
    public:
        explicit Builder(QStringList columns, size_t expectedRows = 16);
        void addNull() { cells_.push_back({Cell::Null, 0, 0}); }
        void addInteger(qint64 value) { cells_.push_back({Cell::Integer, 0, value}); }
        void addBool(bool value) { cells_.push_back({Cell::Bool, 0, value ? 1 : 0}); }
        void addReal(double value);
        void addText(const char *utf8, int length)
        {
            cells_.push_back(
                {Cell::Text, static_cast<quint32>(length), static_cast<qint64>(text_.size())});
            text_.append(utf8, static_cast<size_t>(length));
        }
        void addVariant(const QVariant &value);
        Recordset finish();

    private:
        friend class Recordset;
        struct Cell {
            enum Type : quint8 { Null, Integer, Real, Text, Bool };
            Type type;
            quint32 length; // of a text
            qint64 value;   // the number, or where a text starts
        };
        QStringList columns_;
        std::vector<Cell> cells_;
        std::string text_;
    };

private:
    int indexOf(const QString &name) const;
    QVariant value(size_t row, int column) const;

    QStringList columns_;
    std::vector<Builder::Cell> cells_;
    std::string text_;
    size_t rowCount_ = 0;
    size_t position_ = 0;
    bool open_ = false;
};

class Connection {
public:
    virtual ~Connection() = default;

    // Runs one text; rows it returns come back as an open record set
    // (empty and closed for row-less statements).
    virtual Recordset Execute(const QString &text) = 0;
    // Opens a record set on a text (client cursor). Same as Execute, kept
    // apart so call sites read as the screens were specified.
    Recordset Open(const QString &text) { return Execute(text); }

    // Nested BeginTrans opens a savepoint: an inner Rollback undoes only the
    // inner unit, and nothing is durable before the outermost Commit.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void RollbackTrans() = 0;
    virtual int TransactionDepth() const = 0;

    virtual int CommandTimeout() const = 0;
    virtual void setCommandTimeout(int seconds) = 0;
    virtual QString DefaultDatabase() const = 0;
    virtual void setDefaultDatabase(const QString &database) = 0;
    virtual QString ConnectionString() const = 0;
    virtual int State() const = 0;
};

// Rolls back unless committed: a save happens whole or not at all.
class Transaction {
public:
    explicit Transaction(Connection &connection) : connection_(connection)
    {
        connection_.BeginTrans();
    }
    ~Transaction()
    {
        if (!done_) {
            try {
                connection_.RollbackTrans();
            } catch (...) {
            }
        }
    }
    void commit()
    {
        connection_.CommitTrans();
        done_ = true;
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &connection_;
    bool done_ = false;
};

} // namespace chemodesk
