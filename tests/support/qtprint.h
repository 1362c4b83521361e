#pragma once

// Readable failure messages for Qt values in every test.

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &value, std::ostream *os)
{
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QStringList &value, std::ostream *os)
{
    *os << '[';
    for (qsizetype i = 0; i < value.size(); ++i)
        *os << (i ? ", " : "") << '"' << value.at(i).toStdString() << '"';
    *os << ']';
}
