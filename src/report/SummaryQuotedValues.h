#pragma once

#include "AccountSeries.h"
#include "PositionSummary.h"

namespace corvanta::report {

// What the charts take from a summary: for a quoted one, each stock with unsold
// shares and a fetched price, with its market value as the grid shows it. A
// plain summary, and a held stock without a price, give nothing: the charts
// value those at cost.
QuotedValues quotedValues(const Summary& summary);

} // namespace corvanta::report
