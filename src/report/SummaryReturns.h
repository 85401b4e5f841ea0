#pragma once

#include "AccountReturns.h"
#include "PositionSummary.h"

#include <QString>

#include <optional>

namespace corvanta::report {

// A return as the grid shows it: "12.34%", or "无法计算" when no rate fits.
QString returnText(std::optional<double> rate);

// Fills the return column: each stock's return in its row, the account's in the
// totals row, and the column's title naming how the shares still held are
// valued (at market when any is, at cost otherwise). When some are at market, a
// held stock valued at cost says so in its cell, and so does the totals row.
void addReturns(Summary& summary, const AccountReturns& returns);

} // namespace corvanta::report
