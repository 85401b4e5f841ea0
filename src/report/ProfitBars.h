#pragma once

#include "report/AccountSeries.h"

#include <QList>
#include <QString>

namespace corvanta::report {

// One bar of the profit page: a sell, a cash dividend, or a run of them drawn as one.
struct ProfitBar {
    QString label;         // unique on the page
    qint64 profit = 0;     // fen: the sells'
    qint64 cumulative = 0; // the running total up to and including this bar's last
    qint64 dividend = 0;   // fen: the dividends' before tax
};

// The profit page's bars. Up to `maxBars` sells and dividends, a bar each labelled
// "date\nname"; more than that (more than the chart has pixels) are drawn as at
// most `maxBars` bars of consecutive ones, each with their summed profit and
// dividends, labelled by its first and last date. A category axis keeps one of two equal
// labels, so a repeated label (one stock sold twice on one day) is numbered:
// "(2)", "(3)", and so on.
QList<ProfitBar> profitBars(const QList<SellProfit>& profits, qsizetype maxBars);

} // namespace corvanta::report
