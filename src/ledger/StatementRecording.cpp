#include "StatementRecording.h"

#include "sql/Database.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::statement {

// The open-position row is the buy line itself as a virtual sell, so both rows
// share the insert.
TradeWriter::TradeWriter(sql::Database& db)
    : m_db(db),
      m_insert(db.prepare(
          "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,"
          "监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?15,?11,"
          "?12,?13,?14)")),
      m_findOpen(db.prepare("SELECT ID,数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1 "
                            "ORDER BY ID")),
      m_findMark(db.prepare("SELECT EXISTS (SELECT 1 FROM gpjl WHERE 股票名=?1 AND "
                            "监控状态='是')")),
      m_changeShares(db.prepare("UPDATE gpjl SET 数量=数量+?2 WHERE ID=?1")),
      m_deleteRow(db.prepare("DELETE FROM gpjl WHERE ID=?1")),
      m_spreadMark(db.prepare("UPDATE gpjl SET 监控状态='是' WHERE 股票名=?1 "
                              "AND ifnull(监控状态,'')<>'是'"))
{
}

TradeWriter::StockState& TradeWriter::stateOf(const QString& name)
{
    const auto found = m_stocks.find(name);
    if (found != m_stocks.end())
        return found.value();

    StockState state;
    m_findOpen.bind(1, name);
    while (m_findOpen.step())
        state.open.append({m_findOpen.int64(0), m_findOpen.int64(1)});
    m_findOpen.reset();
    return m_stocks.insert(name, state).value();
}

// After the stock's first line: when any of its rows is monitored, all of them are
// from now on, and so are the rows still to come. The mark cannot go away later,
// as the trade rows that carry it stay.
void TradeWriter::settleMark(const QString& name, StockState& state)
{
    m_findMark.bind(1, name);
    state.monitored = m_findMark.step() && m_findMark.int64(0) != 0;
    m_findMark.reset();
    state.markKnown = true;
    if (state.monitored) {
        m_spreadMark.bind(1, name);
        m_spreadMark.run();
        m_spreadMark.reset();
    }
}

qint64 TradeWriter::insertRow(const StatementTrade& trade, double otherFee, bool openPosition,
                              bool monitored)
{
    m_insert.bind(1, trade.date).bind(2, trade.code).bind(3, trade.name);
    m_insert.bind(4, openPosition ? u"卖出"_s : trade.operation).bind(5, trade.shares);
    m_insert.bind(6, trade.price).bind(7, trade.fees).bind(8, trade.total).bind(9, -trade.total);
    m_insert.bind(10, openPosition ? u"真" : u"假");
    m_insert.bind(11, trade.stampDuty).bind(12, trade.commission).bind(13, trade.transferFee);
    const bool hasFees = trade.stampDuty + trade.commission + trade.transferFee > 0;
    m_insert.bind(14, hasFees ? otherFee : 0.0);
    m_insert.bind(15, monitored ? u"是" : u"否");
    m_insert.run();
    m_insert.reset();
    return m_db.lastInsertId();
}

void TradeWriter::record(const StatementTrade& trade, double otherFee)
{
    StockState& state = stateOf(trade.name);
    insertRow(trade, otherFee, false, state.monitored);

    auto changeShares = [&](OpenRow& open, qint64 delta) {
        m_changeShares.bind(1, open.id).bind(2, delta);
        m_changeShares.run();
        m_changeShares.reset();
        open.shares += delta;
    };
    if (trade.buy) {
        if (!state.open.isEmpty())
            changeShares(state.open.first(), trade.shares);
        else
            state.open.append({insertRow(trade, otherFee, true, state.monitored), trade.shares});
    } else if (!state.open.isEmpty()) {
        OpenRow& open = state.open.first();
        if (open.shares - trade.shares > 0) {
            changeShares(open, -trade.shares);
        } else {
            m_deleteRow.bind(1, open.id);
            m_deleteRow.run();
            m_deleteRow.reset();
            state.open.removeFirst();
        }
    }
    if (!state.markKnown)
        settleMark(trade.name, state);
}

} // namespace corvanta::ledger::statement
