#pragma once

#include <QList>
#include <QString>

#include <array>

namespace corvanta::sql {
class Database;
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

} // namespace corvanta::report
