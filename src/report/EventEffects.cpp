#include "EventEffects.h"

#include "ledger/StockHoldings.h"

namespace corvanta::report {

namespace {

void addHistory(EventEffects& out, const QString& name, const calc::StockHistory& history)
{
    for (const calc::EventOutcome& event : history.events) {
        if (!event.paid.isValid())
            continue;
        out.effects.append(
            {name, event.paid, event.newShares(), event.cashFen, event.taxAtPaymentFen});
    }
    for (const calc::SaleOutcome& sale : history.sales)
        if (sale.taxFen != 0)
            out.saleTaxFen.insert(sale.id, sale.taxFen);
}

} // namespace

EventEffects eventEffects(sql::Database& db)
{
    EventEffects out;
    const auto events = ledger::allStockEvents(db);
    for (auto stock = events.cbegin(); stock != events.cend(); ++stock)
        addHistory(out, stock.key(), ledger::stockHistory(db, stock.key()));
    return out;
}

EventEffects eventEffects(const QHash<QString, calc::StockHistory>& histories)
{
    EventEffects out;
    for (auto stock = histories.cbegin(); stock != histories.cend(); ++stock)
        addHistory(out, stock.key(), stock.value());
    return out;
}

} // namespace corvanta::report
