#pragma once

// Runs our own implementations of the hospital server's stored procedures.
// A screen sends "Clinical_Area..spCancer_GetPatient 'I','','',''" exactly as
// it would to the hospital's server; the connection recognises the call and
// hands it here. A call the screen makes alone runs in one transaction, so it
// happens whole or not at all; inside the screen's transaction it is part of
// that, undone with it (a procedure that only reads needs neither).

#include "fixedtext.h"
#include "platform/connection.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <vector>

namespace chemodesk::db {

class HostedConnection;

// A value bound to a "?" of a procedure's text: a text, a number, or NULL. It
// reaches the engine as given, never written into the text.
class Value {
public:
    Value() = default; // NULL
    Value(std::nullptr_t) {}
    Value(const QString &text) : kind_(Text), text_(text) {}
    Value(QString &&text) : kind_(Text), text_(std::move(text)) {}
    Value(const char *) = delete; // a text says whether it is one: QStringLiteral
    Value(int number) : Value(qlonglong(number)) {}
    Value(qlonglong number) : kind_(Number), text_(QString::number(number)) {}
    Value(double number);
    // A number in the form a literal of it is written ("91.5", "-2").
    static Value number(QString written)
    {
        Value v;
        v.kind_ = Number;
        v.text_ = std::move(written);
        return v;
    }
    // NULL for an empty text, as a blank the screens leave is stored.
    static Value orNull(QString text) { return text.isEmpty() ? Value() : Value(std::move(text)); }

    bool isNull() const { return kind_ == Null; }
    bool isNumber() const { return kind_ == Number; }
    // A text's value, or a number as written; empty for NULL.
    const QString &text() const { return text_; }
    // The value as a literal of the screens' dialect: quoted, a number, or NULL.
    QString literal() const;

private:
    enum Kind { Null, Text, Number };
    Kind kind_ = Null;
    QString text_;
};

// The places of the "?" in a text of the screens' dialect (not those inside
// literals, names or comments), in order.
std::vector<qsizetype> placeholders(const QString &text);
// The same, for `count` values: throws DatabaseError when the places and the values do not match.
std::vector<qsizetype> placesFor(const QString &text, size_t count);
// The text with each value written in as a literal where its "?" stands.
// Throws DatabaseError when the places and the values do not match.
QString withValuesWritten(const QString &text, const Value *values, size_t count);

// What a procedure body may do. Texts are written in the same dialect the
// screens use and go through the same translation, so one body serves every
// backend. Bind arguments with the "?" forms, or embed them with sql::quote().
class ProcedureContext {
public:
    virtual ~ProcedureContext() = default;
    virtual Recordset query(const QString &text) = 0;
    virtual void exec(const QString &text) = 0;
    // A fixed text with a "?" for each value, in order: the values are bound,
    // so a value is never read as part of the statement and comes back as given.
    // The text's translation is kept and serves every call with new values.
    virtual Recordset query(const QString &text, std::initializer_list<Value> values)
    {
        return query(withValuesWritten(text, values.begin(), values.size()));
    }
    virtual void exec(const QString &text, std::initializer_list<Value> values)
    {
        exec(withValuesWritten(text, values.begin(), values.size()));
    }
    // The same for a text held as a literal (FixedText(u"...")): what is kept of
    // it is found by the literal's address rather than by reading the text.
    virtual Recordset query(FixedText text, std::initializer_list<Value> values)
    {
        return query(text.text(), values);
    }
    virtual void exec(FixedText text, std::initializer_list<Value> values)
    {
        exec(text.text(), values);
    }
    // Adds one to an integer column in a single statement and returns the
    // value before the increment, so two workstations never draw the same
    // number. `table` is written as the screens write it ("CLINICAL_AREA..tb").
    // `where` is a condition in the screens' dialect, empty for a one-row table.
    virtual qlonglong drawCounter(const QString &table, const QString &column,
                                  const QString &where = {}) = 0;
    // The server clock, fixed or offset where the database says so.
    virtual QDateTime now() = 0;
    // The connection underneath, for the few bodies that must call the server's own functions
    // (what the workstation's login may not read itself).
    virtual HostedConnection *hosted() { return nullptr; }
};

// Arguments arrive unquoted (the call's literals with doubled apostrophes undone);
// missing trailing arguments read as empty texts through arg().
using Procedure = std::function<Recordset(ProcedureContext &, const QStringList &args)>;

inline QString arg(const QStringList &args, int index)
{
    return index < args.size() ? args.at(index) : QString();
}

class ProcedureRegistry {
public:
    static ProcedureRegistry &instance();

    struct Entry {
        Procedure body;
        // Only reads: called outside a transaction, runs without one of its own.
        bool readOnly = false;
    };

    // database and name as the screens spell them; matched case-insensitively.
    void add(const QString &database, const QString &name, Procedure body);
    // A procedure that only reads; the host refuses it a write.
    void addReadOnly(const QString &database, const QString &name, Procedure body);
    const Procedure *find(const QString &database, const QString &name) const;
    const Entry *entry(const QString &database, const QString &name) const;
    // The key a procedure is kept under: a call read by its shape works it out once.
    static QString key(const QString &database, const QString &name);
    const Entry *entryByKey(const QString &key) const;
    bool contains(const QString &database, const QString &name) const
    {
        return find(database, name);
    }
    QStringList names() const;

    // A scalar function the screens call inside a text, such as
    // "HEMODIALYSIS.dbo.fn_HemoIPDPrice('123')". The body is an expression in
    // the screens' dialect with @1, @2, ... standing for the arguments; the
    // translation puts the call's argument expressions in their place.
    void addFunction(const QString &database, const QString &name, const QString &expression);
    const QString *findFunction(const QString &name) const;

private:
    QHash<QString, Entry> procedures_;
    QHash<QString, QString> functions_;
};

} // namespace chemodesk::db
