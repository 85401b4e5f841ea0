#include "PriceLadder.h"

#include "LimitPrices.h"
#include "Numbers.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace corvanta {

namespace {

using num::parseInteger;
using num::parseNumber;

constexpr double levelStep = 0.005;

struct LadderLimits {
    QString up;
    QString down;
};

// The day's limits as the header shows them; "-" when no price carries them.
LadderLimits ladderLimitPrices(const LadderInputs& in)
{
    const auto limits = limitPrices(in.code, in.name, in.prevClose, in.open);
    if (!limits)
        return {u"-"_s, u"-"_s};
    return {num::money(limits->up), num::money(limits->down)};
}

// " ↑  0.5%" for the first level, then " ↑" and the percentage as "  .0".
QString levelCaption(int k, bool up)
{
    const QString arrow = up ? u" ↑"_s : u" ↓"_s;
    if (k == 1)
        return arrow + u"  0.5%"_s;
    return arrow + num::blankPadded(k * 0.5) + u"%"_s;
}

// Fills one half of the ladder; false when a value stopped it.
bool fillHalf(PriceLadder& ladder, double open, double quantity, double total,
              const FeeSnapshot& trade, bool up)
{
    const int first = up ? 0 : 3;
    for (int k = 1; k <= ladderLevels; ++k) {
        const double step = open * levelStep * k;
        // The sale is priced at the level as written out in full, not at its
        // rounded caption.
        const auto price = parseNumber(num::general(up ? open + step : open - step));
        const auto sale =
            price ? tradeValueAfterFees(trade, quantity, *price, Direction::Sell) : std::nullopt;
        if (!sale || !std::isfinite(*sale)) {
            ladder.problem = u"价位表未算完：费率或其他费用无法识别"_s;
            return false;
        }
        const double pl = *sale - total;
        auto& row = ladder.rows[std::size_t(k - 1)];
        row[std::size_t(first)] = num::money(*price) + levelCaption(k, up);
        row[std::size_t(first + 1)] = num::money(pl);
        if (total == 0) {
            ladder.problem = u"价位表未算完：支付总额为0，无法计算盈利比率"_s;
            return false;
        }
        row[std::size_t(first + 2)] = num::money(pl * 100 / total) + u"%"_s;
    }
    return true;
}

} // namespace

QStringList ladderColumnHeaders()
{
    return {u"盈利价位"_s, u"盈利金额"_s, u"盈利比率"_s,
            u"亏损价位"_s, u"亏损金额"_s, u"亏损比率"_s};
}

PriceLadder buildPriceLadder(const LadderInputs& in)
{
    PriceLadder ladder;
    if (in.trade.quantity.trimmed().isEmpty() || in.trade.price.trimmed().isEmpty() ||
        in.open.trimmed().isEmpty())
        return ladder;
    ladder.attempted = true;
    const auto open = parseNumber(in.open);
    if (!open) {
        ladder.problem = u"价位表未算完：今开价格“"_s + in.open.trimmed() + u"”不是数字"_s;
        return ladder;
    }
    const auto quantity = parseInteger(in.trade.quantity);
    if (!quantity) {
        ladder.problem =
            u"价位表未算完：买入数量“"_s + in.trade.quantity.trimmed() + u"”不是整数"_s;
        return ladder;
    }
    const auto total = parseNumber(in.total);
    if (!total) {
        ladder.problem = u"价位表未算完：支付总额“"_s + in.total.trimmed() + u"”不是数字"_s;
        return ladder;
    }
    if (fillHalf(ladder, *open, double(*quantity), *total, in.trade, true))
        fillHalf(ladder, *open, double(*quantity), *total, in.trade, false);
    return ladder;
}

CellTone ladderCellTone(const PriceLadder& ladder, int row, int column)
{
    if (!ladder.attempted || row < 0 || row > ladderLevels || column < 0 || column >= ladderColumns)
        return CellTone::None;
    const bool upper = column < 3;
    if (row == 0)
        return upper ? CellTone::Profit : CellTone::Loss;
    const auto& cells = ladder.rows[std::size_t(row - 1)];
    if (cells[std::size_t(column)].isEmpty())
        return CellTone::None;
    if (!upper)
        return CellTone::Loss;
    if (row > 10)
        return CellTone::Profit;
    // The profit as shown decides, so a break-even that reads ".00" is red.
    const auto profit = parseNumber(cells[1]);
    return profit && *profit < 0 ? CellTone::Loss : CellTone::Profit;
}

LadderHeader ladderHeader(const LadderInputs& in)
{
    const LadderLimits limits = ladderLimitPrices(in);
    return {in.name + u" "_s + u" 买入价格:"_s + in.trade.price + u"  数量:"_s + in.trade.quantity +
                u"  今开:"_s + in.open + u"  昨收:"_s + in.prevClose + u"  涨停:"_s + limits.up +
                u"  跌停:"_s + limits.down,
            u"　　　　  时价:"_s + in.current + u"  　　 主买:  "_s + in.bestBid +
                u"    主卖:  "_s + in.bestAsk};
}

QString ladderCopyText(const PriceLadder& ladder)
{
    const QString rule = QString(38, u'=');
    QString text;
    auto addRow = [&](const auto& cells) {
        for (const QString& cell : cells)
            text += cell + u"　"_s;
        text += u"\n"_s + rule + u"\n"_s;
    };
    addRow(ladderColumnHeaders());
    for (const auto& row : ladder.rows)
        addRow(row);
    return text;
}

} // namespace corvanta
