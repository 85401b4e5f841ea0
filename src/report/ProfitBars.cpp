#include "ProfitBars.h"

#include <QHash>

namespace corvanta::report {

QList<ProfitBar> profitBars(const QList<SellProfit>& profits)
{
    QList<ProfitBar> bars;
    bars.reserve(profits.size());
    QHash<QString, int> seen; // label -> how many times it came so far
    for (const SellProfit& p : profits) {
        QString label = p.date + u'\n' + p.name;
        const int repeat = ++seen[label];
        if (repeat > 1)
            label += QStringLiteral("(%1)").arg(repeat);
        bars.append({label, p.profit, p.cumulative});
    }
    return bars;
}

} // namespace corvanta::report
