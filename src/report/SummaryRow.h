#pragma once

#include <QString>

#include <array>

namespace corvanta::report {

// The summary grid's columns, in display order.
enum SummaryColumn {
    NameColumn,
    BoughtColumn,
    BuyAverageColumn,
    SoldColumn,
    SellAverageColumn,
    HeldColumn,
    MarketValueColumn,
    PriceColumn,
    ProfitColumn,
    ProfitRatioColumn,
    IncomeColumn,
    OutlayColumn,
    FeesColumn,
    SellFeesColumn,
    BuyFeesColumn,
    ReturnColumn, // the money-weighted return, annualised
    SummaryColumnCount
};

// Profit is drawn red, loss blue; a row without a profit figure keeps the plain
// colours.
enum class RowTone { Plain, Profit, Loss };

// One row of the summary grid: a stock or the totals.
struct SummaryRow {
    std::array<QString, SummaryColumnCount> cells;
    RowTone tone = RowTone::Plain;
};

} // namespace corvanta::report
