#pragma once

#include "LedgerPass.h"
#include "LedgerTotals.h"

#include "calc/StockEvents.h"

#include <QHash>
#include <QString>

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
// The events' cash arrives on their ex-dates (less a tax withheld at payment) and
// the dividend tax of a sale leaves on its date. The stocks with events, played
// through on the way, go to `histories` when given.
std::optional<LedgerTotals> capitalFlow(sql::Database& db,
                                        QHash<QString, calc::StockHistory>* histories = nullptr);
// The same over a ledger already read; `db` gives the events.
std::optional<LedgerTotals> capitalFlow(sql::Database& db, const LedgerPass& pass,
                                        QHash<QString, calc::StockHistory>* histories = nullptr);

} // namespace corvanta::report
