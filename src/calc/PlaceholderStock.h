#pragma once

#include <QStringView>

namespace corvanta {

// The stock the trade form and the monitor show before a real one is chosen. No
// listed stock has this code or name, so neither is recorded, fetched or
// monitored.
inline constexpr QStringView placeholderCode = u"000000";
inline constexpr QStringView placeholderName = u"无名股票";

} // namespace corvanta
