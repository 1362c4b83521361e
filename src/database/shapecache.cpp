#include "shapecache.h"

#include "sqltext.h"

namespace chemodesk::db {

std::shared_ptr<ShapeVariant> ShapeCache::variant(const QString &text,
                                                  std::vector<Literal> &literals)
{
    QString key;
    if (!shapeOf(text, key, literals) || literals.empty())
        return nullptr;
    auto shape = shapes_.find(key);
    if (shape != shapes_.end()) {
        if (!shape->usable)
            return nullptr;
        for (const std::shared_ptr<ShapeVariant> &v : shape->variants) {
            bool same = true;
            for (size_t p = 0; p < v->pinned.size() && same; ++p)
                same = !v->pinned[p] || v->literals[p].value == literals[p].value;
            if (same)
                return v;
        }
        // A text whose pinned values keep changing (a search's pattern) is
        // kept by its exact form instead.
        if (shape->variants.size() >= 8)
            return nullptr;
    } else {
        if (shapes_.size() >= 1024)
            clear();
        shape = shapes_.insert(key, {});
    }
    std::optional<ShapeTranslation> translated = translator_.translateShape(text, literals);
    if (!translated) {
        shape->usable = false;
        return nullptr;
    }
    auto v = std::make_shared<ShapeVariant>();
    v->pinned = std::move(translated->pinned);
    v->dates = std::move(translated->dates);
    v->literals = literals;
    v->statements = std::move(translated->statements);
    v->call = std::move(translated->call);
    if (v->call) {
        v->call->key = ProcedureRegistry::key(v->call->database, v->call->name);
        std::vector<bool> taken(literals.size());
        v->distinctSources = true;
        for (const ProcedureCall::Source &source : v->call->sources) {
            if (source.literal < 0)
                continue;
            if (taken[static_cast<size_t>(source.literal)])
                v->distinctSources = false;
            taken[static_cast<size_t>(source.literal)] = true;
        }
    }
    const bool sqlite = translator_.dialect() == Dialect::SQLite;
    for (const auto &pieces : v->statements) {
        QString sql;
        ServerStatement server;
        for (const ShapePiece &piece : pieces) {
            sql += piece.text;
            if (piece.param < 0)
                continue;
            if (sqlite) {
                sql += QLatin1Char('?') + QString::number(piece.param + 1);
            } else {
                // Each place a parameter of its own: the server reads each one's type
                // where it stands, as it reads a literal there.
                server.literals.push_back(piece.param);
                sql += QLatin1Char('$') + QString::number(server.literals.size());
            }
        }
        if (sqlite) {
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

BoundForm ShapeCache::form(const QString &text, const Value *values, size_t count,
                           const QByteArray &numbers)
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
    std::vector<Literal> literals;
    const std::shared_ptr<ShapeVariant> found = variant(written, literals);
    if (!found)
        return form;
    for (size_t i = 0; i < count; ++i) {
        const auto place = static_cast<size_t>(form.places[i]);
        // A place the translation reads by its value (a LIKE pattern, a bit's
        // 'true') cannot be bound: its values are written in each time.
        if (place >= literals.size() || literals[place].number != values[i].isNumber() ||
            found->pinned[place])
            return form;
    }
    form.valueAt.assign(literals.size(), -1);
    for (size_t i = 0; i < count; ++i)
        form.valueAt[static_cast<size_t>(form.places[i])] = static_cast<int>(i);
    form.literals = std::move(literals);
    form.variant = found;
    return form;
}

void ShapeCache::clear()
{
    shapes_.clear();
    forgetForms();
    if (server_)
        server_->forgetStatements();
}

} // namespace chemodesk::db
