#include "StatementRecording.h"

#include "StockRows.h"
#include "sql/Database.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::statement {

// The open-position row is the buy line itself as a virtual sell, so both rows
// share the insert. The other statements are those of the ledger's row helpers.
TradeWriter::TradeWriter(sql::Database& db)
    : m_db(db),
      m_insert(db.prepare(
          "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,"
          "监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,'否',?11,"
          "?12,?13,?14)")),
      m_findOpen(db.prepare("SELECT ID,数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1 "
                            "ORDER BY ID LIMIT 1")),
      m_changeShares(db.prepare("UPDATE gpjl SET 数量=数量+?2 WHERE ID=?1")),
      m_spreadMark(db.prepare("UPDATE gpjl SET 监控状态='是' WHERE 股票名=?1 "
                              "AND ifnull(监控状态,'')<>'是' AND EXISTS (SELECT 1 FROM gpjl "
                              "WHERE 股票名=?1 AND 监控状态='是')"))
{
}

void TradeWriter::insertRow(const StatementTrade& trade, double otherFee, bool openPosition)
{
    m_insert.bind(1, trade.date).bind(2, trade.code).bind(3, trade.name);
    m_insert.bind(4, openPosition ? u"卖出"_s : trade.operation).bind(5, trade.shares);
    m_insert.bind(6, trade.price).bind(7, trade.fees).bind(8, trade.total).bind(9, -trade.total);
    m_insert.bind(10, openPosition ? u"真" : u"假");
    m_insert.bind(11, trade.stampDuty).bind(12, trade.commission).bind(13, trade.transferFee);
    const bool hasFees = trade.stampDuty + trade.commission + trade.transferFee > 0;
    m_insert.bind(14, hasFees ? otherFee : 0.0);
    m_insert.run();
    m_insert.reset();
}

void TradeWriter::record(const StatementTrade& trade, double otherFee)
{
    insertRow(trade, otherFee, false);

    m_findOpen.bind(1, trade.name);
    std::optional<rows::OpenPosition> open;
    if (m_findOpen.step())
        open = rows::OpenPosition{m_findOpen.int64(0), m_findOpen.int64(1)};
    m_findOpen.reset();

    auto changeShares = [&](qint64 delta) {
        m_changeShares.bind(1, open->id).bind(2, delta);
        m_changeShares.run();
        m_changeShares.reset();
    };
    if (trade.buy) {
        if (open)
            changeShares(trade.shares);
        else
            insertRow(trade, otherFee, true);
    } else if (open) {
        if (open->shares - trade.shares > 0)
            changeShares(-trade.shares);
        else
            rows::deleteRow(m_db, open->id);
    }

    m_spreadMark.bind(1, trade.name);
    m_spreadMark.run();
    m_spreadMark.reset();
}

} // namespace corvanta::ledger::statement
