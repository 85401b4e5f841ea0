#include "SummaryQuotedValues.h"

#include "calc/Numbers.h"

#include <cmath>

namespace corvanta::report {

QuotedValues quotedValues(const Summary& summary)
{
    QuotedValues values;
    if (!summary.quoted || summary.ledgerEmpty)
        return values;
    for (const SummaryRow& row : summary.stocks) {
        const auto shares = num::parseInteger(row.cells[HeldColumn]);
        const auto price = num::parseNumber(row.cells[PriceColumn]);
        const auto value = num::parseNumber(row.cells[MarketValueColumn]);
        if (!shares || *shares <= 0 || !price || *price <= 0 || !value)
            continue;
        values.insert(row.cells[NameColumn], {*shares, std::llround(*value * 100)});
    }
    return values;
}

} // namespace corvanta::report
