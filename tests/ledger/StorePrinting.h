#pragma once

#include <QString>

#include <ostream>

// Failure messages show texts as texts rather than as arrays of 2-byte objects.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
