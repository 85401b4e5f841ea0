#include "IndexLabels.h"

#include "calc/Numbers.h"
#include "market/MarketPrefix.h"
#include "market/QuoteSnapshot.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

// An index is read to two decimals, whatever a source sends (新浪 sends three).
QString twoDecimals(const QString& figure)
{
    const std::optional<double> value = num::parseNumber(figure);
    return value ? QString::number(*value, 'f', 2) : figure;
}

std::optional<TickerLabel> labelOf(const QString& caption, QStringView key,
                                   const QStringList& lines)
{
    // The last record of the index is the newest.
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (market::recordKey(*line) != key)
            continue;
        const market::QuoteSnapshot s = market::QuoteSnapshot::fromLine(*line);
        if (s.priceOrMissing() == u"-")
            return std::nullopt;
        const bool down = num::parseNumber(s.change).value_or(0) < 0;
        QString text = caption + twoDecimals(s.price);
        if (s.change != u"-")
            text += u"  "_s + (down ? QString() : u"+"_s) + twoDecimals(s.change);
        if (s.changeRatio != u"-")
            text += u"  "_s + (down ? QString() : u"+"_s) + s.changeRatio + u"%"_s;
        return TickerLabel{text, down ? u"green"_s : u"red"_s};
    }
    return std::nullopt;
}

} // namespace

QStringList indexKeys()
{
    return {market::shanghaiIndexKey.toString(), market::shenzhenIndexKey.toString()};
}

IndexLabels indexLabels(const QStringList& lines)
{
    return {labelOf(u"上证:"_s, market::shanghaiIndexKey, lines),
            labelOf(u"深成:"_s, market::shenzhenIndexKey, lines)};
}

} // namespace corvanta::report
