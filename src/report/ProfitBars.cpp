#include "ProfitBars.h"

#include <QHash>

#include <algorithm>

namespace corvanta::report {

namespace {

// Numbers the second and later of equal labels.
void makeLabelsUnique(QList<ProfitBar>& bars)
{
    QHash<QString, int> seen; // label -> how many times it came so far
    for (ProfitBar& bar : bars) {
        const int repeat = ++seen[bar.label];
        if (repeat > 1)
            bar.label += QStringLiteral("(%1)").arg(repeat);
    }
}

} // namespace

QList<ProfitBar> profitBars(const QList<SellProfit>& profits, qsizetype maxBars)
{
    QList<ProfitBar> bars;
    maxBars = std::max<qsizetype>(1, maxBars);
    if (profits.size() <= maxBars) {
        bars.reserve(profits.size());
        for (const SellProfit& p : profits)
            bars.append({p.date + u'\n' + p.name, p.profit, p.cumulative, p.dividend});
    } else {
        // Runs of equal length, the last one shorter: linear in the sells.
        const qsizetype run = (profits.size() + maxBars - 1) / maxBars;
        bars.reserve(maxBars);
        for (qsizetype first = 0; first < profits.size(); first += run) {
            const qsizetype last = std::min(profits.size(), first + run) - 1;
            ProfitBar bar;
            for (qsizetype i = first; i <= last; ++i) {
                bar.profit += profits[i].profit;
                bar.dividend += profits[i].dividend;
            }
            bar.cumulative = profits[last].cumulative;
            const QString& from = profits[first].date;
            const QString& to = profits[last].date;
            bar.label = from == to ? from : from + u'～' + to;
            bars.append(bar);
        }
    }
    makeLabelsUnique(bars);
    return bars;
}

} // namespace corvanta::report
