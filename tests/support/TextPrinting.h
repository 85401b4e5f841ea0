#pragma once

#include <QString>

#include <ostream>

// GoogleTest's failure messages show texts as texts rather than as arrays of
// 2-byte objects.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
