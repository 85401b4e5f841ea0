#pragma once

#include "LedgerTotals.h"

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// Walks the whole ledger by date and id: each buy is paid first from the cash of
// earlier sells and only the shortfall counts as new money; open-position rows
// move no money. Also sums buys and real sells; the stocks bought are counted
// by the summary from its scratch table. Money is kept in whole fen, so a
// balance that comes to zero is exactly 0. No value when the ledger has no row.
std::optional<LedgerTotals> capitalFlow(sql::Database& db);

} // namespace corvanta::report
