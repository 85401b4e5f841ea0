#include "StatementRecording.h"

#include "StockRows.h"
#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::statement {

namespace {

// The trade row and the open-position row share one statement: the latter is the
// buy line itself as a virtual sell.
void insertRow(sql::Database& db, const StatementTrade& trade, double otherFee, bool openPosition)
{
    auto insert = db.prepare(
        "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,"
        "监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,'否',?11,"
        "?12,?13,?14)");
    insert.bind(1, trade.date).bind(2, trade.code).bind(3, trade.name);
    insert.bind(4, openPosition ? u"卖出"_s : trade.operation).bind(5, trade.shares);
    insert.bind(6, trade.price).bind(7, trade.fees).bind(8, trade.total).bind(9, -trade.total);
    insert.bind(10, openPosition ? u"真" : u"假");
    insert.bind(11, trade.stampDuty).bind(12, trade.commission).bind(13, trade.transferFee);
    const bool hasFees = trade.stampDuty + trade.commission + trade.transferFee > 0;
    insert.bind(14, hasFees ? otherFee : 0.0);
    insert.run();
}

} // namespace

void recordTrade(sql::Database& db, const StatementTrade& trade, double otherFee)
{
    insertRow(db, trade, otherFee, false);
    const auto open = rows::findOpenPosition(db, trade.name);
    if (trade.buy) {
        if (open)
            rows::changeShares(db, open->id, trade.shares);
        else
            insertRow(db, trade, otherFee, true);
    } else if (open) {
        if (open->shares - trade.shares > 0)
            rows::changeShares(db, open->id, -trade.shares);
        else
            rows::deleteRow(db, open->id);
    }
    rows::spreadMonitorMark(db, trade.name);
}

} // namespace corvanta::ledger::statement
