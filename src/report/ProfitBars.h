#pragma once

#include "report/AccountSeries.h"

#include <QList>
#include <QString>

namespace corvanta::report {

// One bar of the profit page: a sell, or a run of sells drawn as one.
struct ProfitBar {
    QString label;         // "date\nname", unique on the page
    qint64 profit = 0;     // fen
    qint64 cumulative = 0; // all sells' profit up to and including this bar's last
};

// The profit page's bars, one per sell. A category axis keeps one of two equal
// labels, so a repeated "date\nname" (one stock sold twice on one day) is
// numbered: "(2)", "(3)", and so on.
QList<ProfitBar> profitBars(const QList<SellProfit>& profits);

} // namespace corvanta::report
