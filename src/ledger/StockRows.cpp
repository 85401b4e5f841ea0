#include "StockRows.h"

#include "sql/Database.h"
#include "sql/Statement.h"

namespace corvanta::ledger::rows {

namespace {

qint64 sumOfShares(sql::Database& db, const char* query, const QString& name)
{
    auto sum = db.prepare(query);
    sum.bind(1, name);
    return sum.step() ? sum.int64(0) : 0;
}

void bindOptional(sql::Statement& statement, int index, const std::optional<double>& value)
{
    if (value)
        statement.bind(index, *value);
    else
        statement.bindNull(index);
}

} // namespace

std::optional<OpenPosition> findOpenPosition(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT ID,数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1 "
                            "ORDER BY ID LIMIT 1");
    query.bind(1, name);
    if (!query.step())
        return std::nullopt;
    return OpenPosition{query.int64(0), query.int64(1)};
}

void insertOpenPosition(sql::Database& db, const NewOpenPosition& row)
{
    // Absent amounts and monitor mark take the column defaults.
    auto insert = db.prepare(
        "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,"
        "监控状态) VALUES (?1,?2,?3,'卖出',?4,?5,ifnull(?6,0),ifnull(?7,0),ifnull(-?7,0),'真',"
        "ifnull(?8,'否'))");
    insert.bind(1, row.date).bind(2, row.code).bind(3, row.name).bind(4, row.shares);
    bindOptional(insert, 5, row.price);
    bindOptional(insert, 6, row.fees);
    bindOptional(insert, 7, row.total);
    if (row.monitor)
        insert.bind(8, *row.monitor);
    else
        insert.bindNull(8);
    insert.run();
}

void changeShares(sql::Database& db, qint64 id, qint64 delta)
{
    auto update = db.prepare("UPDATE gpjl SET 数量=数量+?2 WHERE ID=?1");
    update.bind(1, id).bind(2, delta);
    update.run();
}

void deleteRow(sql::Database& db, qint64 id)
{
    auto remove = db.prepare("DELETE FROM gpjl WHERE ID=?1");
    remove.bind(1, id);
    remove.run();
}

qint64 sharesBought(sql::Database& db, const QString& name)
{
    return sumOfShares(
        db, "SELECT ifnull(sum(数量),0) FROM gpjl WHERE 交易状态='买入' AND 股票名=?1", name);
}

qint64 sharesSold(sql::Database& db, const QString& name)
{
    return sumOfShares(
        db,
        "SELECT ifnull(sum(数量),0) FROM gpjl WHERE 交易状态='卖出' AND 虚拟卖出='假' "
        "AND 股票名=?1",
        name);
}

bool hasRealSells(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT 1 FROM gpjl WHERE 交易状态='卖出' AND 虚拟卖出='假' "
                            "AND 股票名=?1 LIMIT 1");
    query.bind(1, name);
    return query.step();
}

std::optional<FirstBuy> findFirstBuy(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT 日期,股票代码 FROM gpjl WHERE 交易状态='买入' AND 股票名=?1 "
                            "ORDER BY ID LIMIT 1");
    query.bind(1, name);
    if (!query.step())
        return std::nullopt;
    return FirstBuy{query.text(0), query.text(1)};
}

void spreadMonitorMark(sql::Database& db, const QString& name)
{
    auto update = db.prepare("UPDATE gpjl SET 监控状态='是' WHERE 股票名=?1 "
                             "AND ifnull(监控状态,'')<>'是' AND EXISTS (SELECT 1 FROM gpjl "
                             "WHERE 股票名=?1 AND 监控状态='是')");
    update.bind(1, name);
    update.run();
}

} // namespace corvanta::ledger::rows
