#pragma once

// What the saving procedures share to read their arguments: every value is
// checked before anything is written, and a value that is not what it should
// be is refused with the procedure's name, never stored as zero or blank.

#include "database/procedurehost.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace chemodesk::hospital::values {

// The argument at index, trimmed; absent is empty.
QString value(const QStringList &args, int index);
// Quoted, or NULL for an empty value.
QString orNull(const QString &text);
[[noreturn]] void refuse(const QString &procedure, const QString &why);
QString required(const QString &procedure, const char *what, const QString &text);
double number(const QString &procedure, const char *what, const QString &text);
// A number as a literal the engines read back exactly.
QString literal(double v);
// A text of digits with at most one point as literal() would write its number,
// without reading it into a double; nothing for any other text, or one whose
// literal would need an exponent or more than fifteen digits.
std::optional<QString> plainDecimal(QStringView text);
// A quantity charged, issued or requested: a number above zero, as a literal.
QString quantity(const QString &procedure, const QString &text);
QString amount(const QString &procedure, const QString &text);
// A number as a literal, an empty text being zero (a blank the screens leave).
QString numberOrZero(const QString &procedure, const char *what, const QString &text);
// "MM/DD/YYYY hh:mm:ss AM/PM" as the screens send it, a wall-clock value
// (never through the workstation's time zone), in the form the database
// stores, unquoted.
QString storedDateTime(const QString &procedure, const QString &text);
// A moment as "yyyy-MM-dd HH:mm:ss", unquoted.
QString dateTimeText(const QDateTime &moment);
// The server's present moment, quoted.
QString now(db::ProcedureContext &db);
// "DR. " and the doctor's name on file; empty for no doctor or an unknown one.
QString doctorName(db::ProcedureContext &db, const QString &doctor);

} // namespace chemodesk::hospital::values
