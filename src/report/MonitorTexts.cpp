#include "MonitorTexts.h"

#include "calc/GbkLength.h"
#include "calc/Numbers.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

QString nextProgressMark(const QString& label, bool started)
{
    const QString first = u"行情更新"_s;
    QString next = label;
    if (next.isEmpty() || next == u"网络连接超时!"_s)
        next = first;
    if (gbkByteCount(next) > 16)
        return first;
    return next + (started ? u">"_s : u"|"_s);
}

std::optional<MonitorGain> monitorGain(const FeeSnapshot& trade, const QString& current,
                                       const QString& paid, bool withYuan)
{
    if (current.isEmpty() || current == u"-"_s || paid.isEmpty())
        return std::nullopt;
    const auto quantity = num::parseNumber(trade.quantity);
    const auto price = num::parseNumber(current);
    const auto paidValue = num::parseNumber(paid);
    // No shares is no trade: a gain of its fees alone would be money of nothing.
    if (!quantity || !price || !paidValue || *quantity == 0)
        return std::nullopt;
    const auto value = tradeValueAfterFees(trade, *quantity, *price, Direction::Sell);
    if (!value)
        return std::nullopt;
    const double gain = *value - *paidValue;
    return MonitorGain{u"当前价格盈亏:"_s + num::money(gain) + (withYuan ? u"元"_s : QString()),
                       num::roundHalfAway(gain, 2) < 0};
}

std::optional<MonitorTotals> monitorTotals(const FeeSnapshot& trade)
{
    if (trade.quantity.isEmpty() || trade.price.isEmpty())
        return std::nullopt;
    const auto quantity = num::parseNumber(trade.quantity);
    const auto price = num::parseNumber(trade.price);
    if (!quantity || !price)
        return std::nullopt;
    const auto fees = tradeFees(trade, *quantity, *price);
    if (!fees)
        return std::nullopt;
    const double rounded = num::parseNumber(num::money(*fees)).value_or(0);
    return MonitorTotals{num::money(*fees), num::money(*price * *quantity + rounded)};
}

int barWidthFromAnswer(const QString& answer)
{
    const auto width = num::parseInteger(answer);
    if (!width || *width < 120 || *width > 600)
        return 300;
    return int(*width);
}

MonitorFontMetrics monitorFontMetrics(int sizeIndex)
{
    const int extra = 9 * sizeIndex;
    return {sizeIndex + 8, extra, extra / 4 + 18};
}

} // namespace corvanta::report
