#include "ScratchTables.h"

#include "ledger/SettingsKeys.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QHash>

#include <stdexcept>

namespace corvanta::report {

namespace {

// The ledger is read once, in storage order, into sums per stock name, side,
// open-position mark and monitor mark; the scratch tables and each stock's
// figures are made from those few rows. (Walking the ledger by its name index
// would fetch the rows one by one, each page decrypted again and again.)
constexpr const char* ledgerSums =
    "CREATE TEMP TABLE ledger_sums AS SELECT 股票名 AS name,交易状态 AS state,"
    "虚拟卖出 AS open,监控状态 AS monitored,sum(数量) AS quantity,sum(价格) AS priceSum,"
    "count(价格) AS priceCount,sum(费用) AS fees,sum(总金额) AS total,"
    "sum(盈亏金额) AS profit,max(股票代码) AS code "
    "FROM gpjl NOT INDEXED GROUP BY 股票名,交易状态,虚拟卖出,监控状态";

// The restriction is one of these fixed pieces, never text from outside.
constexpr const char* tmpdb1All =
    "CREATE TABLE tmpdb1 AS SELECT name AS 股票名,CAST(sum(quantity) AS INTEGER) AS 数量,"
    "CAST(sum(priceSum)/sum(priceCount) AS REAL) AS 买入价,CAST(sum(fees) AS REAL) AS 费用,"
    "CAST(sum(total) AS REAL) AS 总金额,CAST(sum(profit) AS REAL) AS 盈亏金额 "
    "FROM temp.ledger_sums WHERE state='买入' GROUP BY name ORDER BY name";
constexpr const char* tmpdb1Monitored =
    "CREATE TABLE tmpdb1 AS SELECT name AS 股票名,CAST(sum(quantity) AS INTEGER) AS 数量,"
    "CAST(sum(priceSum)/sum(priceCount) AS REAL) AS 买入价,CAST(sum(fees) AS REAL) AS 费用,"
    "CAST(sum(total) AS REAL) AS 总金额,CAST(sum(profit) AS REAL) AS 盈亏金额 "
    "FROM temp.ledger_sums WHERE state='买入' AND monitored='是' GROUP BY name ORDER BY name";
constexpr const char* tmpdb2All =
    "CREATE TABLE tmpdb2 AS SELECT name AS 股票名,CAST(sum(quantity) AS INTEGER) AS 数量,"
    "CAST(sum(priceSum)/sum(priceCount) AS REAL) AS 卖价,CAST(sum(fees) AS REAL) AS 费用,"
    "CAST(sum(total) AS REAL) AS 总金额,CAST(sum(profit) AS REAL) AS 盈亏金额 "
    "FROM temp.ledger_sums WHERE state='卖出' GROUP BY name ORDER BY name";
constexpr const char* tmpdb2Monitored =
    "CREATE TABLE tmpdb2 AS SELECT name AS 股票名,CAST(sum(quantity) AS INTEGER) AS 数量,"
    "CAST(sum(priceSum)/sum(priceCount) AS REAL) AS 卖价,CAST(sum(fees) AS REAL) AS 费用,"
    "CAST(sum(total) AS REAL) AS 总金额,CAST(sum(profit) AS REAL) AS 盈亏金额 "
    "FROM temp.ledger_sums WHERE state='卖出' AND monitored='是' GROUP BY name ORDER BY name";
// The sold figures mix real sells with the open position; the completion of
// each stock replaces them.
constexpr const char* tmpdb3 =
    "CREATE TABLE tmpdb3 AS SELECT tmpdb1.股票名 AS 股票名称,tmpdb1.数量 AS 买入,"
    "CAST((tmpdb1.总金额-tmpdb1.费用)/tmpdb1.数量 AS REAL) AS 买入均价,tmpdb2.数量 AS 已卖,"
    "CAST((tmpdb2.总金额+tmpdb2.费用)/tmpdb2.数量 AS REAL) AS 卖出均价,tmpdb2.数量 AS 未卖,"
    "tmpdb2.卖价 AS 时价,tmpdb2.总金额 AS 卖出收入,tmpdb1.总金额 AS 买入支付,"
    "CAST(tmpdb2.总金额-tmpdb1.总金额 AS REAL) AS 盈亏金额,"
    "CAST(tmpdb1.费用+tmpdb2.费用 AS REAL) AS 费用合计,tmpdb2.费用 AS 卖出费用,"
    "tmpdb1.费用 AS 买入费用 FROM tmpdb1,tmpdb2 WHERE tmpdb1.股票名=tmpdb2.股票名 "
    "ORDER BY tmpdb1.股票名";

// Per stock of tmpdb3: its real sells and its open position over the whole
// ledger, and the codes of its own rows (the open position's first).
constexpr const char* figures =
    "SELECT t.rowid,t.股票名称,t.买入,t.买入均价,t.买入支付,t.买入费用,"
    "s.soldQty,s.sellFee,s.sellIncome,s.heldQty,coalesce(s.heldCode,s.anyCode) "
    "FROM tmpdb3 t LEFT JOIN (SELECT name,"
    "sum(CASE WHEN state='卖出' AND open='假' THEN quantity END) AS soldQty,"
    "sum(CASE WHEN state='卖出' AND open='假' THEN fees END) AS sellFee,"
    "sum(CASE WHEN state='卖出' AND open='假' THEN total END) AS sellIncome,"
    "sum(CASE WHEN state='卖出' AND open='真' THEN quantity END) AS heldQty,"
    "max(CASE WHEN state='卖出' AND open='真' THEN code END) AS heldCode,"
    "max(code) AS anyCode FROM temp.ledger_sums GROUP BY name) s "
    "ON s.name=t.股票名称 ORDER BY t.rowid";

// The settings rows share gpmc with the stocks; their keys are never codes.
constexpr const char* stockCodes =
    "SELECT gpmc,gpid FROM gpmc WHERE " CORVANTA_STOCK_ROWS_ONLY " ORDER BY id DESC";

constexpr const char* storeRow =
    "UPDATE tmpdb3 SET 已卖=?2,卖出均价=?3,未卖=?4,时价=?5,卖出收入=?6,卖出费用=?7,"
    "费用合计=coalesce(?8,费用合计),盈亏金额=coalesce(?9,盈亏金额) WHERE rowid=?1";

// The first code of each name in the stock table.
QHash<QString, QString> codesByName(sql::Database& db)
{
    QHash<QString, QString> codes;
    auto query = db.prepare(stockCodes);
    while (query.step())
        codes.insert(query.text(0), query.text(1)); // later rows first: the first wins
    return codes;
}

void bindOptional(sql::Statement& statement, int index, const std::optional<double>& value)
{
    if (value)
        statement.bind(index, *value);
    else
        statement.bindNull(index);
}

// The stocks of tmpdb3 with their figures from the ledger's sums.
QList<StockFigures> readStockFigures(sql::Database& db)
{
    const QHash<QString, QString> codes = codesByName(db);
    auto query = db.prepare(figures);
    QList<StockFigures> stocks;
    while (query.step()) {
        StockFigures stock;
        stock.rowId = query.int64(0);
        stock.name = query.text(1);
        stock.code = codes.value(stock.name, query.text(10));
        stock.bought = query.int64(2);
        stock.buyAverage = query.optionalReal(3);
        stock.buyPay = query.optionalReal(4);
        stock.buyFee = query.optionalReal(5);
        stock.soldQty = query.int64(6);
        if (stock.soldQty > 0) {
            stock.sellFee = query.real(7);
            stock.sellIncome = query.real(8);
        }
        stock.heldQty = query.int64(9);
        stocks.append(std::move(stock));
    }
    return stocks;
}

} // namespace

namespace {

QList<StockFigures> scratchTables(sql::Database& db, SummaryScope scope, const LedgerPass* pass)
{
    // Outside a transaction a failure part-way would leave half the tables.
    if (!db.inTransaction())
        throw std::logic_error("the scratch tables are built inside a transaction");
    const bool monitored = scope == SummaryScope::MonitoredStocks;
    db.exec("DROP TABLE IF EXISTS tmpdb1");
    db.exec("DROP TABLE IF EXISTS tmpdb2");
    db.exec("DROP TABLE IF EXISTS tmpdb3");
    db.exec("DROP TABLE IF EXISTS temp.ledger_sums");
    if (pass)
        writeLedgerSums(db, *pass);
    else
        db.exec(ledgerSums);
    db.exec(monitored ? tmpdb1Monitored : tmpdb1All);
    db.exec(monitored ? tmpdb2Monitored : tmpdb2All);
    db.exec(tmpdb3);
    QList<StockFigures> stocks = readStockFigures(db);
    db.exec("DROP TABLE temp.ledger_sums");
    return stocks;
}

} // namespace

QList<StockFigures> buildScratchTables(sql::Database& db, SummaryScope scope)
{
    return scratchTables(db, scope, nullptr);
}

QList<StockFigures> buildScratchTables(sql::Database& db, SummaryScope scope,
                                       const LedgerPass& pass)
{
    return scratchTables(db, scope, &pass);
}

void storeFigures(sql::Database& db, const QList<StoredFigures>& figures)
{
    auto update = db.prepare(storeRow);
    for (const StoredFigures& row : figures) {
        update.bind(1, row.rowId).bind(2, row.soldQty).bind(3, row.sellAverage);
        update.bind(4, row.heldQty).bind(5, row.price).bind(6, row.sellIncome);
        update.bind(7, row.sellFee);
        bindOptional(update, 8, row.feeTotal);
        bindOptional(update, 9, row.profit);
        update.run();
        update.reset();
    }
}

} // namespace corvanta::report
