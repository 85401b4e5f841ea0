#pragma once

#include <QByteArray>

namespace corvanta::market {

// A current desktop browser's User-Agent: the real sources are reported to refuse
// outdated ones.
inline constexpr QByteArrayView browserUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/131.0.0.0 Safari/537.36";

} // namespace corvanta::market
