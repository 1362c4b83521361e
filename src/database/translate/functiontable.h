#pragma once

// The T-SQL functions the screens call, one row each, with what SQLite and
// PostgreSQL are given instead (functiontable.cpp).

#include "passes.h"

#include <functional>

namespace chemodesk::db::translate {

// SQL with the call's arguments in place of $1 to $9: "instr($2,$1)".
// Tokenized once, when the table is built, not per statement.
class SqlTemplate {
public:
    SqlTemplate() = default;
    SqlTemplate(const char *text) : SqlTemplate(QString::fromLatin1(text)) {}
    explicit SqlTemplate(const QString &text);

    // The highest $n: the number of arguments the call must have.
    size_t arity() const { return arity_; }
    Tokens fill(const std::vector<Tokens> &args) const;

private:
    struct Piece {
        Tokens glue;
        int arg = -1; // index into the arguments, or -1 for glue
    };
    std::vector<Piece> pieces_;
    size_t arity_ = 0;
};

// One template per engine, for the small tables inside a rewrite.
struct EngineForms {
    EngineForms(SqlTemplate both) : sqlite(both), postgres(std::move(both)) {}
    EngineForms(SqlTemplate sqlite, SqlTemplate postgres)
        : sqlite(std::move(sqlite)), postgres(std::move(postgres))
    {
    }
    SqlTemplate sqlite;
    SqlTemplate postgres;
};

// A call as the screen wrote it.
struct Call {
    const Token &name;
    const std::vector<Tokens> &args;
    const Context &ctx;

    // Refuses a call with another number of arguments.
    void need(size_t count) const;
    [[noreturn]] void refuse(const QString &construct) const { ctx.refuse(construct); }
    const SqlTemplate &pick(const EngineForms &forms) const
    {
        return ctx.dialect() == Dialect::SQLite ? forms.sqlite : forms.postgres;
    }
};

using Rewrite = std::function<Tokens(const Call &)>;

// What one engine is given for one T-SQL function.
struct FunctionForm {
    enum Kind {
        Unsupported, // refused by name
        Rename,      // the name changes, the arguments stay as written
        Template,    // the call is replaced by `sql` with its arguments filled in
        Custom       // the call is replaced by what `rewrite` builds
    };
    FunctionForm() = default;
    FunctionForm(const char *templateText) : kind(Template), sql(templateText) {}

    Kind kind = Unsupported;
    QString name; // Rename: the engine's name; empty keeps the name as written
    SqlTemplate sql;
    Rewrite rewrite;
};

struct FunctionRow {
    const char *name; // lower case
    FunctionForm sqlite;
    FunctionForm postgres;

    const FunctionForm &in(Dialect d) const { return d == Dialect::SQLite ? sqlite : postgres; }
};

// The row of a T-SQL function, or nullptr: no engine knows it.
const FunctionRow *functionRow(const QString &lowerCaseName);

} // namespace chemodesk::db::translate
