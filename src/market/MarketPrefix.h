#pragma once

#include <QString>
#include <QStringView>

namespace corvanta::market {

// The exchange prefix the real sources put before a six-digit code: "92", "4" or "8"
// is Beijing, "5", "6", "7" or "9" Shanghai, anything else Shenzhen. "92" is tested
// before "9": Beijing's new codes begin with it.
QString marketPrefix(QStringView code);

// Whether the text is a code the real sources can be asked for: six ASCII digits.
bool isSixDigitCode(QStringView code);

} // namespace corvanta::market
