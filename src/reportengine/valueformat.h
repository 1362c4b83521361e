#pragma once

// Formats of the report templates, as the hospital's reports spell them:
// numbers "##0.00", "#,##0.00", "0"; dates and times "mm/dd/yyyy",
// "mmmm dd, yyyy", "hh:mmAM/PM", "mm/dd/yyyy hh:mm:ss AM/PM".

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

namespace chemodesk::reportengine {

// A format with date or time letters; anything else formats numbers.
bool isDateFormat(const QString &format);

QString formatNumber(double value, const QString &format);
QString formatDateTime(const QDateTime &value, const QString &format);

// A value as a template prints it: Null and invalid values print empty; an
// empty format prints dates as "mm/dd/yyyy" (with the time when there is one)
// and numbers as they are.
QString formatValue(const QVariant &value, const QString &format);

// A date or date-time value of either engine: a QDateTime, a QDate, or its
// text ("mm/dd/yyyy", "mm/dd/yyyy hh:mm:ss AM/PM", "yyyy-mm-dd hh:mm:ss").
std::optional<QDateTime> toDateTime(const QVariant &value);
// The same for typed text only.
std::optional<QDateTime> parseDateText(const QString &text);

// A number of either engine, or numeric text.
std::optional<double> toNumber(const QVariant &value);

} // namespace chemodesk::reportengine
