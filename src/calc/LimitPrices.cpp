#include "LimitPrices.h"

#include "Numbers.h"

using namespace Qt::StringLiterals;

namespace corvanta {

double dailyLimitRatio(QStringView code, QStringView name)
{
    for (const auto prefix : {u"300", u"301", u"688", u"689"}) {
        if (code.startsWith(prefix))
            return 0.2;
    }
    if (name.contains(u"ST"))
        return 0.05;
    return 0.1;
}

std::optional<LimitPrices> limitPrices(QStringView code, QStringView name,
                                       QStringView previousClose, QStringView open)
{
    // A zero or negative price is no price (a record of a stock not traded yet).
    const auto price = [](QStringView text) -> std::optional<double> {
        const std::optional<double> value = num::parseNumber(text);
        return value && *value > 0 ? value : std::nullopt;
    };
    std::optional<double> base = price(previousClose);
    if (!base)
        base = price(open);
    if (!base)
        return std::nullopt;
    const double ratio = dailyLimitRatio(code, name);
    return LimitPrices{num::roundHalfAway(*base * (1 + ratio), 2),
                       num::roundHalfAway(*base * (1 - ratio), 2)};
}

LimitCaptions limitCaptions(const LimitPrices& limits)
{
    return {u"盈利抛售计算  涨停:"_s + num::money(limits.up),
            u"亏损抛售计算  跌停:"_s + num::money(limits.down)};
}

} // namespace corvanta
