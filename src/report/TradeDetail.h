#pragma once

#include <QList>
#include <QString>

#include <array>

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
struct MonitoredStock;
}

namespace corvanta::report {

// The trade-detail panel's columns, in display order.
enum TradeDetailColumn {
    DetailDateColumn,
    DetailNameColumn,
    DetailStateColumn,
    DetailQuantityColumn,
    DetailPriceColumn,
    DetailFeesColumn,
    DetailTotalColumn,
    DetailCodeColumn,
    DetailNumberColumn, // the trade's id
    TradeDetailColumnCount
};

// One real trade of the stock; sells are drawn blue, everything else red.
struct TradeDetailRow {
    std::array<QString, TradeDetailColumnCount> cells; // numbers in shortest general form
    bool sell = false;
};

std::array<QString, TradeDetailColumnCount> tradeDetailTitles();

// The real trades of one stock name (open-position row left out), by id.
QList<TradeDetailRow> tradeDetailRows(sql::Database& db, const QString& name);

// The same panel listing the monitored stocks with their buys summed: five
// columns (name, bought, average price, fees, amount) in the first cells.
inline constexpr int monitoredStockColumnCount = 5;
std::array<QString, TradeDetailColumnCount> monitoredStockTitles();
QList<TradeDetailRow> monitoredStockRows(const QList<ledger::MonitoredStock>& stocks);

} // namespace corvanta::report
