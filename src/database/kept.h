#pragma once

#include <QtGlobal>

namespace chemodesk::db {

// The longest text whose translation, or prepared statement, the connection
// keeps for the next time: a bulk load's long texts come once, and a thousand of
// them kept would hold hundreds of megabytes.
inline constexpr qsizetype MaxKeptText = 8192;

} // namespace chemodesk::db
