#pragma once

// Lets GoogleTest print Qt strings readably in failure messages.

#include <ostream>

#include <QString>
#include <QStringList>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '[' << l.join(QStringLiteral(" | ")).toStdString() << ']';
}
