#include "EventEffects.h"

#include "ledger/StockHoldings.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

namespace corvanta::report {

namespace {

constexpr const char* tradesByName =
    "SELECT ID,日期,交易状态='买入',ifnull(数量,0),ifnull(总金额,0),股票名 FROM gpjl WHERE "
    "股票名 IN (SELECT 股票名 FROM fhsp) AND (交易状态='买入' OR (交易状态='卖出' AND "
    "虚拟卖出='假')) ORDER BY ID";
constexpr const char* tradesInOnePass =
    "SELECT ID,日期,交易状态='买入',ifnull(数量,0),ifnull(总金额,0),股票名 FROM gpjl NOT "
    "INDEXED WHERE 股票名 IN (SELECT 股票名 FROM fhsp) AND (交易状态='买入' OR (交易状态='卖出' "
    "AND 虚拟卖出='假')) ORDER BY ID";

// The real trades of every stock with events, each stock's in ID order: the rows
// ledger::stockTrades reads, in one query rather than one a stock, which a ledger
// with events on hundreds of stocks would feel in every report. Looking a stock's
// rows up by name costs about as much as reading a hundred rows in storage order:
// with events on more than a hundredth as many stocks as the ledger has rows, one
// pass over the ledger is the quicker.
QHash<QString, QList<calc::StockTrade>> tradesOfStocksWithEvents(sql::Database& db,
                                                                 qsizetype stocks)
{
    auto rows = db.prepare("SELECT ifnull(max(ID),0) FROM gpjl");
    const qint64 ledgerRows = rows.step() ? rows.int64(0) : 0;
    auto query = db.prepare(qint64(stocks) * 100 >= ledgerRows ? tradesInOnePass : tradesByName);
    QHash<QString, QList<calc::StockTrade>> trades;
    QString lastName;
    QList<calc::StockTrade>* last = nullptr;
    while (query.step()) {
        // A stock's trades mostly follow one another: one lookup a run.
        const QString name = query.text(5);
        if (!last || name != lastName) {
            lastName = name;
            last = &trades[name];
        }
        last->append({query.int64(0), ledger::ledgerDate(query.text(1)), query.int64(2) != 0,
                      query.int64(3), query.real(4)});
    }
    return trades;
}

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
    if (events.isEmpty())
        return out;
    const QHash<QString, QList<calc::StockTrade>> trades =
        tradesOfStocksWithEvents(db, events.size());
    for (auto stock = events.cbegin(); stock != events.cend(); ++stock) {
        QList<calc::StockEvent> terms;
        terms.reserve(stock->size());
        for (const ledger::StoredEvent& event : *stock)
            terms.append(event.terms);
        const calc::StockHistory history = calc::playStockHistory(trades.value(stock.key()), terms);
        addHistory(out, stock.key(), history);
    }
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
