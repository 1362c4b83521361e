#pragma once

// The reversible scrambling the hospital system uses for access codes. The
// codes are stored scrambled, and the access check compares scrambled texts,
// so this must stay byte-for-byte what the rest of the hospital system writes.

#include <QString>

namespace chemodesk::session {

// The key every access code is scrambled with.
inline constexpr auto AccessCodeKey = "KESTRAVOLUNPH";

// mode "E" scrambles `text`, mode "D" unscrambles it; any other mode gives an
// empty text. Character codes 1 to 254 survive a round trip.
QString Scramble(const QString &mode, const QString &key, const QString &text);

} // namespace chemodesk::session
