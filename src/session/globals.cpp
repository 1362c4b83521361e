#include "globals.h"

namespace chemodesk::session {

namespace {

Globals &instance()
{
    static Globals values;
    return values;
}

} // namespace

bool Globals::allowZeroOnHand() const
{
    // The server hands the bit back as "1"/"0" or "True"/"False".
    const QString text = AllowZeroOnHand.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok && number != 0.0;
}

Globals &globals()
{
    return instance();
}

void resetGlobals()
{
    instance() = Globals{};
}

} // namespace chemodesk::session
