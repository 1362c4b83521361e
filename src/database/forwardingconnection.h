#pragma once

// A connection that hands every call to another one. Decorators that watch or
// change only the texts sent (counting, logging, a fault made on purpose)
// derive from it and override Execute alone.

#include "platform/connection.h"

namespace chemodesk::db {

class ForwardingConnection : public Connection {
public:
    explicit ForwardingConnection(Connection &inner) : inner_(inner) {}

    Recordset Execute(const QString &text) override { return inner_.Execute(text); }
    void BeginTrans() override { inner_.BeginTrans(); }
    void CommitTrans() override { inner_.CommitTrans(); }
    void RollbackTrans() override { inner_.RollbackTrans(); }
    int TransactionDepth() const override { return inner_.TransactionDepth(); }
    int CommandTimeout() const override { return inner_.CommandTimeout(); }
    void setCommandTimeout(int seconds) override { inner_.setCommandTimeout(seconds); }
    QString DefaultDatabase() const override { return inner_.DefaultDatabase(); }
    void setDefaultDatabase(const QString &database) override
    {
        inner_.setDefaultDatabase(database);
    }
    QString ConnectionString() const override { return inner_.ConnectionString(); }
    int State() const override { return inner_.State(); }

protected:
    Connection &inner() { return inner_; }

private:
    Connection &inner_;
};

} // namespace chemodesk::db
