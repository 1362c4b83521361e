#pragma once

// Passes every text on to a real connection and keeps it, so a test can see,
// or run again, exactly what the code sent.

#include "database/forwardingconnection.h"

#include <QStringList>

namespace chemodesk::testing {

class TextRecorder : public db::ForwardingConnection {
public:
    using ForwardingConnection::ForwardingConnection;
    Recordset Execute(const QString &text) override
    {
        texts.append(text);
        return inner().Execute(text);
    }
    QStringList texts;
};

} // namespace chemodesk::testing
