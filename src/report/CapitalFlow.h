#pragma once

#include "LedgerTotals.h"

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// Walks the whole ledger by date and id: each buy is paid first from the cash of
// earlier sells and only the shortfall counts as new money; open-position rows
// move no money. Also counts the stocks bought and sums buys and real sells.
// Money is kept in whole fen, so a balance that comes to zero is exactly 0.
// No value when the ledger has no row at all.
std::optional<LedgerTotals> capitalFlow(sql::Database& db);

} // namespace corvanta::report
