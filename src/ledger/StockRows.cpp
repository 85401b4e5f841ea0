#include "StockRows.h"

#include "StockHoldings.h"

#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <QList>

#include <cmath>

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

// A stock's first buy, with the amounts that priced its open position.
struct BuyRow {
    QString date;
    QString code;
    qint64 shares = 0;
    double price = 0;
    double fees = 0;
    double total = 0;
    double stampDuty = 0;
    double commission = 0;
    double transferFee = 0;
};

std::optional<BuyRow> findFirstBuyRow(sql::Database& db, const QString& name)
{
    auto query = db.prepare(
        "SELECT 日期,股票代码,数量,ifnull(价格,0),ifnull(费用,0),ifnull(总金额,0),"
        "ifnull(印花税,0),ifnull(佣金,0),ifnull(过户费等,0) FROM gpjl WHERE 交易状态='买入' "
        "AND 虚拟卖出='假' AND 股票名=?1 ORDER BY ID LIMIT 1");
    query.bind(1, name);
    if (!query.step())
        return std::nullopt;
    return BuyRow{query.text(0), query.text(1), query.int64(2), query.real(3), query.real(4),
                  query.real(5), query.real(6), query.real(7),  query.real(8)};
}

// The break-even price the fee calculator gave the buy: (total + transfer fee) /
// ((1 − commission rate − stamp rate) × shares). The rates are those the stored
// commission and stamp duty make of the trade amount. Without a usable amount the
// buy's own price stands in.
double breakEvenOf(const BuyRow& buy)
{
    const double amount = buy.total - buy.fees;
    if (amount <= 0 || buy.shares <= 0)
        return buy.price;
    const double keptShare = 1 - buy.commission / amount - buy.stampDuty / amount;
    if (keptShare <= 0)
        return buy.price;
    const double breakEven = (buy.total + buy.transferFee) / (keptShare * double(buy.shares));
    return std::isfinite(breakEven) ? num::roundHalfAway(breakEven, 3) : buy.price;
}

QList<OpenPosition> openPositions(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT ID,数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1 "
                            "ORDER BY ID");
    query.bind(1, name);
    QList<OpenPosition> positions;
    while (query.step())
        positions.append({query.int64(0), query.int64(1)});
    return positions;
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

void rederiveOpenPosition(sql::Database& db, const QString& name)
{
    const qint64 held = sharesHeld(db, name);
    const QList<OpenPosition> open = openPositions(db, name);
    qsizetype surplusFrom = 0;
    if (held > 0 && !open.isEmpty()) {
        if (open.first().shares != held)
            changeShares(db, open.first().id, held - open.first().shares);
        surplusFrom = 1;
    } else if (held > 0) {
        if (const auto buy = findFirstBuyRow(db, name)) {
            insertOpenPosition(db, {buy->date, buy->code, name, held, breakEvenOf(*buy), buy->fees,
                                    buy->total, std::nullopt});
            spreadMonitorMark(db, name);
        }
    }
    for (qsizetype i = surplusFrom; i < open.size(); ++i)
        deleteRow(db, open[i].id);
}

} // namespace corvanta::ledger::rows
