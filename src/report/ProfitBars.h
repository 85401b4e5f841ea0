#pragma once

#include "report/AccountSeries.h"

#include <QList>
#include <QString>

namespace corvanta::report {

// One bar of the profit page: a sell, or a run of sells drawn as one.
struct ProfitBar {
    QString label;         // unique on the page
    qint64 profit = 0;     // fen
    qint64 cumulative = 0; // all sells' profit up to and including this bar's last
};

// The profit page's bars. Up to `maxBars` sells, a bar per sell labelled
// "date\nname"; more sells than that (more than the chart has pixels) are drawn
// as at most `maxBars` bars of consecutive sells, each with their summed profit,
// labelled by its first and last date. A category axis keeps one of two equal
// labels, so a repeated label (one stock sold twice on one day) is numbered:
// "(2)", "(3)", and so on.
QList<ProfitBar> profitBars(const QList<SellProfit>& profits, qsizetype maxBars);

} // namespace corvanta::report
