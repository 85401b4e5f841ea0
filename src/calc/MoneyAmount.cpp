#include "MoneyAmount.h"

#include "Numbers.h"

namespace corvanta {

MoneyAmount MoneyAmount::fromShown(const QString& shown, AmountUnit unit)
{
    if (unit == AmountUnit::Yuan)
        return MoneyAmount(shown);
    const auto tenThousands = num::parseNumber(shown);
    return MoneyAmount(tenThousands ? num::money(*tenThousands * 10000) : shown);
}

QString MoneyAmount::shown(AmountUnit unit) const
{
    if (unit == AmountUnit::Yuan)
        return m_yuan;
    const auto yuan = num::parseNumber(m_yuan);
    return yuan ? num::tenThousands(*yuan / 10000) : m_yuan;
}

} // namespace corvanta
