#pragma once

// Texts that differ only in their values (numbers and times written into them)
// translated once by their shape, their values bound; and the fixed texts with a
// "?" for each value, each kept with the shape its values make.

#include "fixedtext.h"
#include "procedurehost.h"
#include "serverengine.h"
#include "sqliteengine.h"
#include "translator.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace chemodesk::db {

// A translation kept for every text of one shape (see shapeOf()) whose pinned
// literals hold these values.
struct ShapeVariant {
    std::vector<bool> pinned;
    std::vector<bool> dates; // bound in the engines' form of a date
    std::vector<Literal> literals;
    std::vector<std::vector<ShapePiece>> statements;
    QStringList sqlite;                     // the statements with ?N where literal N-1 is bound
    std::vector<SqliteEngine::Known> known; // per statement of `sqlite`
    std::vector<ServerStatement> server;    // per statement, on PostgreSQL
    std::optional<ProcedureCall> call;      // its arguments from the text's literals
    bool distinctSources = false;           // each literal is one argument at most
};

// A fixed text with places for values, for one kind (number or not) of each value.
struct BoundForm {
    QByteArray numbers;                    // per value: 1 a number, 0 a text or NULL
    std::shared_ptr<ShapeVariant> variant; // null: the values written in each time
    std::vector<Literal> literals;         // the text's own literals, the values' among them
    std::vector<int> places;               // the literal each value is
    std::vector<int> valueAt;              // per literal: the value it is, or -1
};

class ShapeCache {
public:
    explicit ShapeCache(Translator &translator) : translator_(translator) {}
    // The PostgreSQL engine whose prepared statements the kept shapes hold.
    void setServer(ServerEngine *server) { server_ = server; }

    // The kept translation of the text's shape, the text's own literals read
    // into `literals`; null when the text is not kept by its shape.
    std::shared_ptr<ShapeVariant> variant(const QString &text, std::vector<Literal> &literals);

    // The kept forms of a fixed text.
    std::vector<BoundForm> &forms(const QString &text)
    {
        auto kept = texts_.find(text);
        if (kept != texts_.end())
            return *kept;
        // Kept by a copy of its own: a text read straight from a caller's
        // buffer (QString::fromRawData) would change with the buffer.
        return texts_[QString(text.constData(), text.size())];
    }
    std::vector<BoundForm> &forms(FixedText text) { return fixed_[{text.data(), text.size()}]; }
    // The form of a fixed text for these values' kinds (`numbers`).
    BoundForm form(const QString &text, const Value *values, size_t count,
                   const QByteArray &numbers);
    // True when no more fixed texts are kept until the forms are forgotten.
    bool formsFull() const { return texts_.size() + fixed_.size() >= 1024; }
    void forgetForms()
    {
        texts_.clear();
        fixed_.clear();
    }

    // Forgets every shape, and what was prepared on the server for them.
    void clear();

private:
    struct Shape {
        bool usable = true; // false: a text read otherwise
        std::vector<std::shared_ptr<ShapeVariant>> variants;
    };

    Translator &translator_;
    ServerEngine *server_ = nullptr;
    QHash<QString, Shape> shapes_;
    QHash<QString, std::vector<BoundForm>> texts_;
    QHash<std::pair<const char16_t *, qsizetype>, std::vector<BoundForm>> fixed_;
};

} // namespace chemodesk::db
