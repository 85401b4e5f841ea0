#pragma once

#include "LedgerTotals.h"

#include <QStringList>

#include <optional>

namespace corvanta::report {

// The totals report's content, rebuilt on every showing from the last summary.
struct TotalsReport {
    QStringList lines;
    // The balance box's new text; none when it keeps its previous one.
    std::optional<QString> balanceText;
};

// Words the whole account: money put in, holdings at the current price, the
// resulting profit or loss, buy and sell totals, fees and the cash left. Before
// any summary, or without any buy, only "空" between empty lines.
// `marketValueText` is the summary's total market value as shown; a text that
// is no number counts as 0.
TotalsReport totalsReport(const LedgerTotals& totals, const QString& marketValueText);

} // namespace corvanta::report
