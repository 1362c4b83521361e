#pragma once

#include "platform/connection.h"

#include <QDateTime>

#include <optional>

namespace chemodesk::db {

// The server clock as the database sets it for every workstation on it: fixed
// at a moment, offset from the real time, or the real time.
class ServerClock {
public:
    // Reads the settings from rows of (name, value): clock_fixed, clock_offset.
    void load(Recordset rows);

    // The moment the clock shows now, in this machine's zone.
    QDateTime now() const;

    // PostgreSQL reads the moment its transaction began: the moment read in
    // transaction `transaction`, if it was.
    std::optional<QDateTime> heldFor(qint64 transaction) const
    {
        if (heldTransaction_ == transaction)
            return held_;
        return std::nullopt;
    }
    void hold(qint64 transaction, const QDateTime &moment)
    {
        heldTransaction_ = transaction;
        held_ = moment;
    }

private:
    std::optional<QDateTime> fixed_;
    qint64 offset_ = 0; // seconds
    qint64 heldTransaction_ = -1;
    QDateTime held_;
    // The system zone's offset from UTC in seconds, good until the moment after it.
    mutable int zoneOffset_ = 0;
    mutable qint64 zoneValidUntil_ = 0;
};

} // namespace chemodesk::db
