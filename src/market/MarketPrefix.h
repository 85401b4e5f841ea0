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

// The key a real source answers a code under: "sh600000" for a six-digit code, the
// text itself when it already carries its market ("sh000001", an index, whose
// digits alone would name a share of the other exchange), empty otherwise.
QString sourceKey(QStringView code);

// The two indexes the monitor shows beside its quotes: 上证指数 and 深证成指.
inline constexpr QStringView shanghaiIndexKey = u"sh000001";
inline constexpr QStringView shenzhenIndexKey = u"sz399001";

} // namespace corvanta::market
