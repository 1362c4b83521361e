#include "serverclock.h"

#include <QTimeZone>

#include <algorithm>

namespace chemodesk::db {

void ServerClock::load(Recordset rows)
{
    fixed_.reset();
    offset_ = 0;
    heldTransaction_ = -1;
    for (; !rows.atEnd(); rows.MoveNext()) {
        if (rows.Fields(0).toString() == QLatin1String("clock_fixed"))
            fixed_ = QDateTime::fromString(rows.Fields(1).toString(),
                                           QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else
            offset_ = rows.Fields(1).toLongLong();
    }
}

QDateTime ServerClock::now() const
{
    if (fixed_ && fixed_->isValid())
        return *fixed_;
    // The local time asked of the C library sets its time zone up again, a
    // look at /etc/localtime, on every reading: the zone's offset is kept
    // until its next change (or an hour, for a zone changed meanwhile).
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    if (utc >= zoneValidUntil_) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(utc);
        zoneOffset_ = local.offsetFromUtc();
        qint64 until = utc + 3600 * 1000;
        const QTimeZone zone = QTimeZone::systemTimeZone();
        if (zone.hasTransitions()) {
            const QTimeZone::OffsetData change = zone.nextTransition(local);
            if (change.atUtc.isValid())
                until = std::min(until, change.atUtc.toMSecsSinceEpoch());
        }
        zoneValidUntil_ = until;
    }
    // The same moment with the zone's offset written on it: read as local time
    // it would ask the C library again.
    return QDateTime::fromMSecsSinceEpoch(utc + offset_ * 1000, Qt::OffsetFromUTC, zoneOffset_);
}

} // namespace chemodesk::db
