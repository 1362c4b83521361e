#pragma once

// A real connection with chosen texts made to fail, as a server refusing a
// statement would: a text the rule picks raises DatabaseError with the given
// message and never reaches the database; every other call passes through.

#include "database/forwardingconnection.h"

#include <functional>
#include <memory>
#include <utility>

namespace chemodesk::test {

class FailingConnection : public db::ForwardingConnection {
public:
    using Rule = std::function<bool(const QString &text)>;

    FailingConnection(Connection &inner, Rule fails, QString message)
        : ForwardingConnection(inner), fails_(std::move(fails)), message_(std::move(message))
    {
    }

    Recordset Execute(const QString &text) override
    {
        if (fails_(text))
            throw DatabaseError(message_, text);
        return inner().Execute(text);
    }

    // The nth text that begins with `prefix` (in any case), that one only.
    static Rule nthStartingWith(QString prefix, int nth)
    {
        return [prefix = std::move(prefix), nth,
                seen = std::make_shared<int>(0)](const QString &text) {
            return text.startsWith(prefix, Qt::CaseInsensitive) && ++*seen == nth;
        };
    }

    // Every text that contains `part` (in any case).
    static Rule containing(QString part)
    {
        return [part = std::move(part)](const QString &text) {
            return text.contains(part, Qt::CaseInsensitive);
        };
    }

private:
    Rule fails_;
    QString message_;
};

} // namespace chemodesk::test
