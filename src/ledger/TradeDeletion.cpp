#include "TradeLedger.h"

#include "LedgerMessages.h"
#include "Schema.h"
#include "StockHoldings.h"
#include "StockRows.h"
#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// The real trade (not an open-position row) that is to be deleted.
struct Trade {
    qint64 id = 0;
    QString name;
    QString state;
    qint64 shares = 0;
    std::optional<double> price;
    QString monitor;
};

std::optional<Trade> findTrade(sql::Database& db, qint64 id)
{
    auto query = db.prepare("SELECT ID,股票名,交易状态,数量,价格,监控状态 FROM gpjl "
                            "WHERE ID=?1 AND 虚拟卖出='假' AND 股票名 IS NOT NULL");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    return Trade{query.int64(0), query.text(1),         query.text(2),
                 query.int64(3), query.optionalReal(4), query.text(5)};
}

QString refusalFor(const Trade& trade, qint64 openShares)
{
    return messages::deleteRefusalStart + trade.name +
           (openShares != 0 ? messages::deleteRefusalMismatch : messages::deleteRefusalSold);
}

// After a trade is gone: re-open the position when shares are held again (the sell
// that closed it was deleted).
void reopenIfHeld(sql::Database& db, const Trade& deleted)
{
    const auto firstBuy = rows::findFirstBuy(db, deleted.name);
    if (!firstBuy)
        return;
    const qint64 held = sharesHeld(db, deleted.name);
    if (held <= 0)
        return;
    rows::insertOpenPosition(db, {firstBuy->date, firstBuy->code, deleted.name, held, deleted.price,
                                  std::nullopt, std::nullopt, deleted.monitor});
}

// A trade changes what the stock's events brought, so its open position is derived
// afresh; a deletion leaving more shares sold than held is refused.
DeleteOutcome deleteTradeOfStockWithEvents(sql::Database& db, const Trade& trade)
{
    QList<calc::StockTrade> trades = stockTrades(db, trade.name);
    trades.removeIf([&](const calc::StockTrade& t) { return t.id == trade.id; });
    QList<calc::StockEvent> terms;
    for (const StoredEvent& event : stockEvents(db, trade.name))
        terms.append(event.terms);
    if (calc::playStockHistory(trades, terms).held < 0) {
        const auto open = rows::findOpenPosition(db, trade.name);
        return {DeleteOutcome::Status::Refused, refusalFor(trade, open ? open->shares : 0)};
    }
    rows::deleteRow(db, trade.id);
    rows::rederiveOpenPosition(db, trade.name);
    return {DeleteOutcome::Status::Deleted, {}};
}

} // namespace

std::optional<QString> TradeLedger::deleteQuestion(qint64 id) const
{
    const auto trade = findTrade(m_db, id);
    if (!trade)
        return std::nullopt;
    return messages::deleteQuestionStart + trade->name + trade->state +
           QString::number(trade->shares) + messages::deleteQuestionEnd;
}

DeleteOutcome TradeLedger::deleteTrade(qint64 id)
{
    sql::Transaction transaction(m_db);
    const auto trade = findTrade(m_db, id);
    if (!trade)
        return {DeleteOutcome::Status::NotFound, {}};
    const bool buy = trade->state == u"买入"_s;
    if (hasEvents(m_db, trade->name)) {
        const DeleteOutcome outcome = deleteTradeOfStockWithEvents(m_db, *trade);
        if (outcome.status == DeleteOutcome::Status::Deleted)
            transaction.commit();
        return outcome;
    }
    const auto open = rows::findOpenPosition(m_db, trade->name);
    const qint64 openShares = open ? open->shares : 0;

    // Once some of a stock's shares were sold, only a buy of shares still held can go.
    if (buy && openShares < trade->shares && rows::hasRealSells(m_db, trade->name))
        return {DeleteOutcome::Status::Refused, refusalFor(*trade, openShares)};

    rows::deleteRow(m_db, id);
    if (open) {
        const qint64 left = openShares + (buy ? -trade->shares : trade->shares);
        if (left > 0)
            rows::changeShares(m_db, open->id, left - openShares);
        else
            rows::deleteRow(m_db, open->id);
    } else {
        reopenIfHeld(m_db, *trade);
    }
    transaction.commit();
    return {DeleteOutcome::Status::Deleted, {}};
}

void TradeLedger::clearLedger()
{
    sql::Transaction transaction(m_db);
    m_db.exec("DELETE FROM gpjl");
    if (hasEventTable(m_db))
        m_db.exec("DELETE FROM fhsp");
    // The position summary's scratch tables exist only once a summary was built.
    if (tableExists(m_db, u"tmpdb1"_s))
        m_db.exec("DELETE FROM tmpdb1");
    if (tableExists(m_db, u"tmpdb2"_s))
        m_db.exec("DELETE FROM tmpdb2");
    if (tableExists(m_db, u"tmpdb3"_s))
        m_db.exec("DELETE FROM tmpdb3");
    transaction.commit();
}

} // namespace corvanta::ledger
