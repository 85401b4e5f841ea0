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

// "红利税", shown only for a stock with a sale that bears dividend tax, so that
// other stocks show the columns they always did. It follows 费用, where the narrow
// panel shows it, and moves the later columns one to the right.
inline constexpr int DetailTaxColumn = DetailFeesColumn + 1;

// One real trade of the stock; sells are drawn blue, everything else red.
struct TradeDetailRow {
    std::array<QString, TradeDetailColumnCount> cells; // numbers in shortest general form
    QString dividendTax; // a sale's 红利税, "50.00"; empty when it bears none
    bool sell = false;
};

std::array<QString, TradeDetailColumnCount> tradeDetailTitles();
QString dividendTaxTitle();

// The real trades of one stock name (open-position row left out), by id, each
// sale with the dividend tax it bears.
QList<TradeDetailRow> tradeDetailRows(sql::Database& db, const QString& name);

// The same panel listing the monitored stocks with their buys summed: five
// columns (name, bought, average price, fees, amount) in the first cells.
inline constexpr int monitoredStockColumnCount = 5;
std::array<QString, TradeDetailColumnCount> monitoredStockTitles();
QList<TradeDetailRow> monitoredStockRows(const QList<ledger::MonitoredStock>& stocks);

} // namespace corvanta::report
