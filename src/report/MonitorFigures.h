#pragma once

#include "SummaryRow.h"

#include "calc/FeeRules.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace corvanta::report {

// The monitor grid's columns, in display order.
enum MonitorColumn {
    MonitorName,
    MonitorBought,
    MonitorBuyAverage,
    MonitorSold,
    MonitorSellAverage,
    MonitorHeld,
    MonitorPrice,
    MonitorMarketValue,
    MonitorProfit,
    MonitorIncome,
    MonitorOutlay,
    MonitorFees,
    MonitorSellFees,
    MonitorBuyFees,
    MonitorColumnCount
};

using MonitorCells = std::array<QString, MonitorColumnCount>;
using MonitorWidths = std::array<int, MonitorColumnCount>;

MonitorCells monitorColumnTitles();
// Pixels before the font's extra width.
MonitorWidths monitorBaseWidths();

// The monitor grid's texts: the totals row, then one row per monitored stock in
// the order of tmpdb3.
struct MonitorGrid {
    MonitorCells totals;
    QList<MonitorCells> rows;
    // The longest text seen in each column, in GBK bytes; 0 before any pass.
    MonitorWidths textWidths{};
    bool sized = false; // a pass or cycle has sized the columns
    // Rows are coloured by their P/L only while the list had stocks.
    bool coloured = false;
};

// One monitored stock as the monitor reads it: from the ledger in the initial
// pass, from its stored tmpdb3 row in a refresh cycle.
struct MonitorStock {
    qint64 rowId = 0; // the tmpdb3 row
    QString name;
    QString code; // priced under
    qint64 bought = 0;
    std::optional<double> buyAverage;
    qint64 soldQty = 0;
    double sellIncome = 0;
    double sellFee = 0;
    qint64 heldQty = 0;
    std::optional<double> buyPay;
    std::optional<double> buyFee;
};

// The initial pass writes every column and stores the figures back; a refresh
// cycle keeps the sell average, the amount paid and the buying fees shown.
enum class MonitorPass { Initial, Cycle };

// What one stock adds to the totals row.
struct MonitorSums {
    double marketValue = 0;
    double profit = 0;
    double income = 0;
    double outlay = 0;
    double fees = 0;
    double sellFees = 0;
    double buyFees = 0;
    MonitorSums& operator+=(const MonitorSums& other);
};

struct MonitorStockRow {
    // The cells the pass writes; none where the cell keeps its text.
    std::array<std::optional<QString>, MonitorColumnCount> cells;
    MonitorSums sums;
    // Written back to tmpdb3 by the initial pass.
    double sellAverage = 0;
    double price = 0;
    std::optional<double> feeTotal;
    std::optional<double> storedProfit;
};

// One stock of the monitor summary at `priceText`, the price found in the
// pass's quotes ("-" when none). Fees of the virtual sale of the unsold shares
// come from the selling side of `fees`; fees that cannot be priced count as 0.
MonitorStockRow computeMonitorStock(const MonitorStock& stock, const QString& priceText,
                                    const FeeSnapshot& fees, MonitorPass pass);

// The totals row: "合　　计", columns 1 to 6 empty, the sums in "0.00".
MonitorCells monitorTotalsRow(const MonitorSums& sums);

// Grows each column's longest text (GBK bytes) with the row's texts; the widths
// never shrink.
void foldTextWidths(MonitorWidths& textWidths, const MonitorCells& row, int firstColumn = 0);

// Column widths in pixels once texts have been seen: 6 a byte (or what a byte
// takes in a wider font), plus the font's extra width and 6.
MonitorWidths monitorColumnWidths(const MonitorWidths& textWidths, int extraWidth,
                                  int pixelsPerByte = 6);
// Before any pass: the base widths plus the font's extra width.
MonitorWidths monitorInitialWidths(int extraWidth);

// A text right-aligned in `bytes` GBK bytes, blanks on the left; longer texts
// are not cut.
QString padLeft(const QString& text, int bytes);

// The floating bar's line of a monitored stock (from its grid row) and of the
// head stock.
QString stockTickerLine(const MonitorCells& row);
QString headTickerLine(const QString& name, const QString& price, const QString& change);

} // namespace corvanta::report
