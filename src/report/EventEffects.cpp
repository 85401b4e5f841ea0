#include "EventEffects.h"

#include "ledger/StockHoldings.h"

namespace corvanta::report {

EventEffects eventEffects(sql::Database& db)
{
    EventEffects out;
    const auto events = ledger::allStockEvents(db);
    for (auto stock = events.cbegin(); stock != events.cend(); ++stock) {
        const calc::StockHistory history = ledger::stockHistory(db, stock.key());
        for (const calc::EventOutcome& event : history.events) {
            if (!event.paid.isValid())
                continue;
            out.effects.append(
                {stock.key(), event.paid, event.newShares(), event.cashFen, event.taxAtPaymentFen});
        }
        for (const calc::SaleOutcome& sale : history.sales)
            if (sale.taxFen != 0)
                out.saleTaxFen.insert(sale.id, sale.taxFen);
    }
    return out;
}

} // namespace corvanta::report
