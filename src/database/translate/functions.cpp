#include "functiontable.h"

#include "database/procedurehost.h"

namespace chemodesk::db::translate {

SqlTemplate::SqlTemplate(const QString &text)
{
    qsizetype from = 0;
    auto addGlue = [&](qsizetype to) {
        if (to > from)
            pieces_.push_back({glue(text.mid(from, to - from))});
    };
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('$') || !text.at(i + 1).isDigit())
            continue;
        addGlue(i);
        const int arg = text.at(i + 1).digitValue();
        pieces_.push_back({{}, arg - 1});
        arity_ = std::max(arity_, static_cast<size_t>(arg));
        from = i + 2;
    }
    addGlue(text.size());
}

Tokens SqlTemplate::fill(const std::vector<Tokens> &args) const
{
    Tokens out;
    for (const Piece &p : pieces_) {
        const Tokens &part = p.arg < 0 ? p.glue : args[static_cast<size_t>(p.arg)];
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

void Call::need(size_t count) const
{
    if (args.size() != count)
        refuse(QStringLiteral("%1 with %2 arguments").arg(name.text).arg(args.size()));
}

void expandRegisteredFunctions(Tokens &t, const Context &ctx)
{
    if (!ctx.functions)
        return;
    for (int round = 0; round < 8; ++round) {
        bool expanded = false;
        for (qsizetype i = 0; i < size(t); ++i) {
            if (at(t, i).kind != Token::Word)
                continue;
            // The last part of DB..name, DB.dbo.name, dbo.name or name, then "(".
            qsizetype open = nextSig(t, i);
            if (!isSym(t, open, "("))
                continue;
            const QString *body = ctx.functions->findFunction(at(t, i).text);
            if (!body)
                continue;
            qsizetype begin = i;
            qsizetype p = prevSig(t, i);
            if (isSym(t, p, "..")) {
                begin = prevSig(t, p);
            } else if (isSym(t, p, ".")) {
                begin = prevSig(t, p);
                qsizetype q = prevSig(t, begin);
                if (isSym(t, q, "."))
                    begin = prevSig(t, q);
            }
            const qsizetype close = matchingParen(t, open);
            if (close < 0)
                ctx.refuse(QStringLiteral("an unclosed call of %1").arg(at(t, i).text));
            const auto args = splitArguments(t, open, close);
            QString expression = *body;
            for (int a = static_cast<int>(args.size()); a >= 1; --a)
                expression.replace(QLatin1Char('@') + QString::number(a),
                                   QLatin1Char('(') + render(args[static_cast<size_t>(a - 1)]) +
                                       QLatin1Char(')'));
            replaceRange(t, begin, close + 1,
                         tokenize(QLatin1Char('(') + expression + QLatin1Char(')')));
            expanded = true;
            break;
        }
        if (!expanded)
            return;
    }
    ctx.refuse(QStringLiteral("scalar functions calling themselves"));
}

namespace {

// Words before "(" that open a clause or a list rather than call a function.
bool callsFunction(const QString &lowerCaseWord)
{
    static const QSet<QString> clauseWords = {
        QStringLiteral("update"), QStringLiteral("group"),  QStringLiteral("order"),
        QStringLiteral("delete"), QStringLiteral("insert"), QStringLiteral("top"),
    };
    return !nonFunctionWords().contains(lowerCaseWord) && !clauseWords.contains(lowerCaseWord);
}

// Replaces the call whose name is at `i` and "(" at `open`; returns the index
// before the replacement, so that calls among its arguments are rewritten next.
qsizetype rewriteCall(Tokens &t, qsizetype i, qsizetype open, const Context &ctx)
{
    const Token name = at(t, i);
    const FunctionRow *row = functionRow(name.text.toLower());
    const FunctionForm *form = row ? &row->in(ctx.dialect()) : nullptr;
    if (form && form->kind == FunctionForm::Rename) {
        at(t, i) = resolved(form->name.isEmpty() ? name.text : form->name);
        return i - 1;
    }
    const qsizetype close = matchingParen(t, open);
    if (close < 0)
        ctx.refuse(QStringLiteral("an unclosed call of %1").arg(name.text));
    const std::vector<Tokens> args = splitArguments(t, open, close);
    const Call call{name, args, ctx};
    Tokens replacement;
    if (!form || form->kind == FunctionForm::Unsupported) {
        ctx.refuse(QStringLiteral("the function %1").arg(name.text));
    } else if (form->kind == FunctionForm::Template) {
        call.need(form->sql.arity());
        replacement = form->sql.fill(args);
    } else {
        // A rewrite may read its arguments' values: they become part of the translation.
        for (const Tokens &arg : args)
            for (const Token &x : arg)
                ctx.pin(x);
        replacement = form->rewrite(call);
    }
    replaceRange(t, i, close + 1, replacement);
    return i - 1;
}

} // namespace

void rewriteFunctions(Tokens &t, const Context &ctx)
{
    for (qsizetype i = 0; i < size(t); ++i) {
        if (at(t, i).kind != Token::Word)
            continue;
        const qsizetype open = nextSig(t, i);
        if (isSym(t, open, "(") && callsFunction(at(t, i).text.toLower()))
            i = rewriteCall(t, i, open, ctx);
    }
}

} // namespace chemodesk::db::translate
