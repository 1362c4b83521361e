#pragma once

// A connection for tests: records every text sent, in order, and answers from
// a script keyed by the exact text. A text without an answer gets an empty
// open record set, as a query that finds nothing would.

#include "platform/connection.h"

#include <QHash>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace chemodesk::testing {

// A record set for a script: column names and rows of values
// (QVariant() is a Null).
inline Recordset table(QStringList columns, std::vector<std::vector<QVariant>> rows = {})
{
    return Recordset(std::move(columns), std::move(rows));
}

class RecordingConnection : public Connection {
public:
    // Every sending of `text` answers a fresh copy of `rows`.
    void answer(const QString &text, Recordset rows) { standing_.insert(text, std::move(rows)); }

    // The next sending of `text` answers `rows`; queued answers come before
    // the standing one, in the order they were queued.
    void answerOnce(const QString &text, Recordset rows) { queued_[text].enqueue(std::move(rows)); }

    // Sending `text` raises DatabaseError (the text is still recorded).
    void failOn(const QString &text, const QString &message = QStringLiteral("scripted failure"))
    {
        failures_.insert(text, message);
    }

    // The texts sent, in order.
    const QStringList &texts() const { return texts_; }
    // The texts and the transaction calls ("BeginTrans", "CommitTrans",
    // "RollbackTrans"), in order.
    const QStringList &log() const { return log_; }
    void clearRecord()
    {
        texts_.clear();
        log_.clear();
    }

    Recordset Execute(const QString &text) override
    {
        texts_.append(text);
        log_.append(text);
        const auto failure = failures_.constFind(text);
        if (failure != failures_.constEnd())
            throw DatabaseError(failure.value(), text);
        auto queue = queued_.find(text);
        if (queue != queued_.end() && !queue->isEmpty())
            return queue->dequeue();
        const auto standing = standing_.constFind(text);
        if (standing != standing_.constEnd())
            return standing.value();
        return table({});
    }

    void BeginTrans() override
    {
        log_.append(QStringLiteral("BeginTrans"));
        ++depth_;
    }
    void CommitTrans() override
    {
        log_.append(QStringLiteral("CommitTrans"));
        if (depth_ == 0)
            throw DatabaseError(QStringLiteral("No transaction is active."));
        --depth_;
    }
    void RollbackTrans() override
    {
        log_.append(QStringLiteral("RollbackTrans"));
        if (depth_ == 0)
            throw DatabaseError(QStringLiteral("No transaction is active."));
        depth_ = 0;
    }
    int TransactionDepth() const override { return depth_; }

    int CommandTimeout() const override { return timeout_; }
    void setCommandTimeout(int seconds) override { timeout_ = seconds; }
    QString DefaultDatabase() const override { return database_; }
    void setDefaultDatabase(const QString &database) override { database_ = database; }
    QString ConnectionString() const override { return QStringLiteral("recording"); }
    int State() const override { return Recordset::adStateOpen; }

private:
    QHash<QString, Recordset> standing_;
    QHash<QString, QQueue<Recordset>> queued_;
    QHash<QString, QString> failures_;
    QStringList texts_;
    QStringList log_;
    int depth_ = 0;
    int timeout_ = 30;
    QString database_;
};

} // namespace chemodesk::testing
