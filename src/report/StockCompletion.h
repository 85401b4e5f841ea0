#pragma once

#include "ScratchTables.h"
#include "StockFigures.h"
#include "SummaryRow.h"

#include "calc/FeeRules.h"

#include <QHash>
#include <QStringList>

#include <optional>

namespace corvanta::report {

// Current prices by code, from the quote record lines fetched for a summary
// (code,date,time,price,...). The whole first field is the code; a later line of
// a code replaces an earlier one; an empty price field counts as none ("-").
QHash<QString, QString> pricesFromLines(const QStringList& lines);

// What a quoted summary prices unsold holdings with: the fetched prices and the
// fee inputs of the selling side.
struct QuotedPricing {
    QHash<QString, QString> prices; // by code
    FeeSnapshot fees;
};

// The price a stock is valued at: the fetched one when it is a number, else 0
// (no quote, "-", or a text that is no number).
double quotedPrice(const QuotedPricing& pricing, const QString& code);

// What one stock adds to the totals row.
struct StockContribution {
    double marketValue = 0;
    double profit = 0;
    double income = 0;
    double outlay = 0;
    double fees = 0;
    double sellFees = 0;
    double buyFees = 0;
};

// One stock, finished: its grid row, the figures stored back in tmpdb3 and what
// it adds to the totals. Each group of cells is worked out on its own: a value
// that cannot be had (no number in the ledger, fees that do not price) empties
// its own cells and leaves the others.
struct CompletedStock {
    SummaryRow row;
    StoredFigures stored;
    std::optional<StockContribution> contribution;
    bool held = false;
};

// Completes one stock. Without pricing (the plain mode) nothing unsold is
// valued. With it, the unsold shares are sold virtually at the fetched price net
// of the selling fees, even at price 0: a holding without a quote then carries
// its minimum selling fees as a loss.
CompletedStock completeStock(const StockFigures& stock, const QuotedPricing* pricing);

} // namespace corvanta::report
