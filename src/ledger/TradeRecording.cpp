#include "TradeLedger.h"

#include "LedgerMessages.h"
#include "StockHoldings.h"
#include "StockRows.h"
#include "sql/Database.h"
#include "sql/Statement.h"

namespace corvanta::ledger {

namespace {

qint64 insertTrade(sql::Database& db, const TradeEntry& entry, const TradeValues& values)
{
    auto insert = db.prepare(
        "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,"
        "监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,'假','否',?10,"
        "?11,?12,?13)");
    const bool buy = entry.direction == Direction::Buy;
    insert.bind(1, values.date).bind(2, entry.code).bind(3, entry.name);
    insert.bind(4, buy ? u"买入" : u"卖出").bind(5, values.shares).bind(6, values.price);
    insert.bind(7, values.fees).bind(8, values.total).bind(9, -values.total);
    insert.bind(10, values.stampDuty).bind(11, values.commission).bind(12, values.transferFee);
    insert.bind(13, values.otherFee);
    insert.run();
    return db.lastInsertId();
}

// The open position takes the bought shares; the first buy prices it.
void openOrGrow(sql::Database& db, const TradeEntry& entry, const TradeValues& values)
{
    if (const auto open = rows::findOpenPosition(db, entry.name)) {
        rows::changeShares(db, open->id, values.shares);
        return;
    }
    rows::insertOpenPosition(db, {values.date, entry.code, entry.name, values.shares,
                                  values.breakEven, values.fees, values.total, std::nullopt});
}

// The open position gives up the sold shares and goes when none are left.
void shrinkOrClose(sql::Database& db, const QString& name, qint64 shares)
{
    const auto open = rows::findOpenPosition(db, name);
    if (!open)
        return;
    if (open->shares - shares > 0)
        rows::changeShares(db, open->id, -shares);
    else
        rows::deleteRow(db, open->id);
}

// Whether selling `shares` on `date` leaves more shares sold than held. With events
// the sale may also shrink what an event brought, so the history is played through.
bool oversells(sql::Database& db, const QString& name, const QString& date, qint64 shares)
{
    if (!hasEvents(db, name))
        return rows::sharesBought(db, name) < rows::sharesSold(db, name) + shares;
    QList<calc::StockTrade> trades = stockTrades(db, name);
    trades.append({0, QDate::fromString(date, Qt::ISODate), false, shares, 0});
    QList<calc::StockEvent> terms;
    for (const StoredEvent& event : stockEvents(db, name))
        terms.append(event.terms);
    return calc::playStockHistory(trades, terms).held < 0;
}

// The refusal of an over-sale; a stock without any event may be missing a 送转.
QString overSellRefusal(sql::Database& db, const QString& name)
{
    if (hasEvents(db, name))
        return messages::overSell.toString();
    return messages::overSell + messages::overSellEventHint;
}

} // namespace

RecordOutcome TradeLedger::recordBuy(TradeEntry entry)
{
    entry.direction = Direction::Buy;
    return record(entry);
}

RecordOutcome TradeLedger::recordSell(TradeEntry entry)
{
    entry.direction = Direction::Sell;
    return record(entry);
}

RecordOutcome TradeLedger::record(const TradeEntry& entry)
{
    const auto read = readTradeEntry(entry);
    if (const auto* refusal = std::get_if<QString>(&read))
        return {0, *refusal};
    const TradeValues& values = std::get<TradeValues>(read);
    const bool buy = entry.direction == Direction::Buy;

    sql::Transaction transaction(m_db);
    if (!buy && oversells(m_db, entry.name, values.date, values.shares))
        return {0, overSellRefusal(m_db, entry.name)};

    const qint64 id = insertTrade(m_db, entry, values);
    if (buy)
        openOrGrow(m_db, entry, values);
    else
        shrinkOrClose(m_db, entry.name, values.shares);
    // A trade before a record date changes what the event brought.
    if (hasEvents(m_db, entry.name))
        rows::rederiveOpenPosition(m_db, entry.name);
    rows::spreadMonitorMark(m_db, entry.name);
    transaction.commit();
    return {id, {}};
}

} // namespace corvanta::ledger
