#pragma once

#include <QString>

namespace corvanta::windows {

// The program's texts break their lines with a carriage return, alone or before
// a line feed; labels and tooltips break only at a line feed.
inline QString lineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace corvanta::windows
