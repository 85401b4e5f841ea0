#include "MonitorGridUpdate.h"

#include "ledger/SettingsKeys.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "market/QuoteParsing.h"
#include "market/QuoteSnapshot.h"

#include "calc/Numbers.h"

#include <QHash>

namespace corvanta::report {

namespace {

// The settings rows share gpmc with the stocks; their keys are never codes.
constexpr const char* storedRows =
    "SELECT t.rowid,t.股票名称,t.买入,t.买入均价,t.已卖,t.卖出收入,t.卖出费用,t.未卖,"
    "t.买入支付,t.买入费用,"
    "coalesce((SELECT gpid FROM gpmc WHERE gpmc=t.股票名称 AND " CORVANTA_STOCK_ROWS_ONLY
    " ORDER BY id LIMIT 1),"
    "(SELECT max(股票代码) FROM gpjl WHERE 股票名=t.股票名称 AND 虚拟卖出='真'),"
    "(SELECT max(股票代码) FROM gpjl WHERE 股票名=t.股票名称),'000000') "
    "FROM tmpdb3 t ORDER BY t.股票名称";

// The record lines of each code (a record's code is its first six characters),
// so each stock scans only its own records.
QHash<QString, QStringList> linesByCode(const QStringList& lines)
{
    QHash<QString, QStringList> byCode;
    for (const QString& line : lines) {
        if (market::recordKey(line).isEmpty())
            continue;
        byCode[market::recordKey(line).left(6)].append(line);
    }
    return byCode;
}

} // namespace

MonitorGridUpdate updateMonitorGrid(const QList<MonitorStock>& stocks, const QStringList& lines,
                                    const FeeSnapshot& fees, MonitorPass pass,
                                    const MonitorGrid& previous, const QString& latestQuoteTime)
{
    MonitorGridUpdate out;
    out.grid = previous;
    out.latestQuoteTime = latestQuoteTime;
    MonitorGrid& grid = out.grid;
    if (pass == MonitorPass::Initial)
        grid.rows = QList<MonitorCells>(stocks.size());
    const QHash<QString, QStringList> byCode = linesByCode(lines);
    MonitorSums sums;
    MonitorWidths rowWidths{};
    for (qsizetype k = 0; k < stocks.size() && k < grid.rows.size(); ++k) {
        const MonitorStock& stock = stocks[k];
        const market::RecordParse parse =
            market::parseQuoteRecord(stock.code, byCode.value(stock.code),
                                     market::RecordMode::PriceOnly, out.latestQuoteTime);
        out.latestQuoteTime = parse.latestQuoteTime;
        if (parse.timeLabel)
            out.timeLabel = parse.timeLabel;
        const MonitorStockRow row = computeMonitorStock(stock, parse.price, fees, pass);
        MonitorCells& cells = grid.rows[k];
        for (int column = 0; column < MonitorColumnCount; ++column)
            if (row.cells[column])
                cells[column] = *row.cells[column];
        sums += row.sums;
        foldTextWidths(rowWidths, cells, 1);
        if (pass == MonitorPass::Initial)
            out.stored.append({stock.rowId, stock.soldQty, row.sellAverage, stock.heldQty,
                               row.price, num::roundHalfAway(stock.sellIncome, 2),
                               num::roundHalfAway(stock.sellFee, 2), row.feeTotal,
                               row.storedProfit});
    }
    grid.totals = monitorTotalsRow(sums);
    foldTextWidths(grid.textWidths, monitorColumnTitles());
    foldTextWidths(grid.textWidths, grid.totals);
    for (int column = 1; column < MonitorColumnCount; ++column)
        grid.textWidths[column] = std::max(grid.textWidths[column], rowWidths[column]);
    grid.sized = true;
    grid.coloured = true;
    return out;
}

QList<MonitorStock> monitorStocks(const QList<StockFigures>& figures)
{
    QList<MonitorStock> stocks;
    stocks.reserve(figures.size());
    for (const StockFigures& f : figures)
        stocks.append({f.rowId, f.name, f.code, f.bought, f.buyAverage, f.soldQty, f.sellIncome,
                       f.sellFee, f.heldQty, f.buyPay, f.buyFee});
    return stocks;
}

QList<MonitorStock> readMonitorStocks(sql::Database& db)
{
    auto query = db.prepare(storedRows);
    QList<MonitorStock> stocks;
    while (query.step())
        stocks.append({query.int64(0), query.text(1), query.text(10), query.int64(2),
                       query.optionalReal(3), query.int64(4), query.real(5), query.real(6),
                       query.int64(7), query.optionalReal(8), query.optionalReal(9)});
    return stocks;
}

} // namespace corvanta::report
