#pragma once

#include "StatementTrade.h"

namespace corvanta::sql {
class Database;
class Statement;
} // namespace corvanta::sql

// Writing one statement line into the ledger, inside a transaction the caller
// holds. Not part of the ledger's public interface.
namespace corvanta::ledger::statement {

// The trade row, then the open-position bookkeeping and the monitor mark of the
// stock, as recording a trade does, with these differences: the fees and amounts
// come from the statement, a sell is never refused for want of bought shares, and
// the open-position row a buy creates carries every column of the buy line.
// `otherFee` is written as 其它费用 when the line carries fees of its own.
void recordTrade(sql::Database& db, const StatementTrade& trade, double otherFee);

} // namespace corvanta::ledger::statement
