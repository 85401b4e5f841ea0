#pragma once

#include "MonitorFigures.h"
#include "ScratchTables.h"

#include <QStringList>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// The outcome of pricing the monitored stocks with one pass's quotes.
struct MonitorGridUpdate {
    MonitorGrid grid;
    QList<StoredFigures> stored; // the initial pass's figures for tmpdb3
    QString latestQuoteTime;
    std::optional<QString> timeLabel; // the time label, when a newer quote moved it
};

// Prices every stock with the quote record lines of the pass (each code's first
// record with a price) and fills the grid: a cycle writes its columns over the
// rows of `previous` (the initial pass's rows stay the rows of the grid), the
// initial pass replaces the rows. The totals row is re-added and the column
// widths grow with the header, the totals and the stock rows.
MonitorGridUpdate updateMonitorGrid(const QList<MonitorStock>& stocks, const QStringList& lines,
                                    const FeeSnapshot& fees, MonitorPass pass,
                                    const MonitorGrid& previous, const QString& latestQuoteTime);

// The stocks of the initial pass, from the freshly built scratch tables.
QList<MonitorStock> monitorStocks(const QList<StockFigures>& figures);

// The stocks of a refresh cycle: the tmpdb3 rows as stored, in name order,
// each priced under the stock table's code for its name or, for a name the
// table does not hold, the code of its own ledger rows.
QList<MonitorStock> readMonitorStocks(sql::Database& db);

} // namespace corvanta::report
