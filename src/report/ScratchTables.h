#pragma once

#include "StockFigures.h"

#include "LedgerPass.h"

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// Which ledger rows the aggregation reads: the position summary takes every
// stock, the monitor only the stocks on its list.
enum class SummaryScope { WholeLedger, MonitoredStocks };

// Drops and re-creates the scratch tables from the ledger, each with
// CREATE TABLE … AS SELECT:
//   tmpdb1: 股票名, 数量, 买入价, 费用, 总金额, 盈亏金额 — per name with a buy;
//   tmpdb2: 股票名, 数量, 卖价, 费用, 总金额, 盈亏金额 — per name with a sell row
//           (real or open position);
//   tmpdb3: 股票名称, 买入, 买入均价, 已卖, 卖出均价, 未卖, 时价, 卖出收入, 买入支付,
//           盈亏金额, 费用合计, 卖出费用, 买入费用 — per name in both.
// Quantities are integers, everything else floating point. The caller holds the
// transaction (std::logic_error without one), so a failure leaves the tables as
// they were before.
//
// Returns the stocks of tmpdb3 in its row order, with the sums of their real
// sells and open positions over the whole ledger, whatever the scope. A stock is
// priced under the stock table's code for its name; a name the table does not
// hold (a renamed stock) under the code of its own ledger rows.
QList<StockFigures> buildScratchTables(sql::Database& db, SummaryScope scope);
// The same from a ledger already read.
QList<StockFigures> buildScratchTables(sql::Database& db, SummaryScope scope,
                                       const LedgerPass& pass);

// The finished figures of one stock, written back to its tmpdb3 row. A group
// whose figures could not be worked out keeps the row's aggregated values.
struct StoredFigures {
    qint64 rowId = 0;
    qint64 soldQty = 0;
    double sellAverage = 0;
    qint64 heldQty = 0;
    double price = 0;
    double sellIncome = 0; // rounded to the cent
    double sellFee = 0;    // rounded to the cent
    std::optional<double> feeTotal;
    std::optional<double> profit;
};

// Writes the finished figures back, each to its tmpdb3 row.
void storeFigures(sql::Database& db, const QList<StoredFigures>& figures);

} // namespace corvanta::report
