#include "MarketKind.h"

namespace corvanta {

MarketFlags flagsFor(MarketKind market)
{
    switch (market) {
    case MarketKind::ShenzhenA:
        return {0, 1};
    case MarketKind::ShanghaiA:
        return {1, 1};
    case MarketKind::WarrantOrFund:
        break;
    }
    return {0, 0};
}

MarketKind inferMarket(QStringView code)
{
    if (code.startsWith(u'6'))
        return MarketKind::ShanghaiA;
    if (code.startsWith(u'0') || code.startsWith(u'3'))
        return MarketKind::ShenzhenA;
    return MarketKind::WarrantOrFund;
}

std::optional<MarketKind> marketOfStoredCode(QStringView code)
{
    if (code.startsWith(u'6'))
        return MarketKind::ShanghaiA;
    if (code.startsWith(u'0') || code.startsWith(u'3'))
        return MarketKind::ShenzhenA;
    if (code.startsWith(u"58"))
        return MarketKind::WarrantOrFund;
    return std::nullopt;
}

int stampDutyFlagForCode(QStringView code)
{
    return flagsFor(inferMarket(code)).stampDuty;
}

} // namespace corvanta
