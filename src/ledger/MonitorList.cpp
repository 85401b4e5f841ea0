#include "MonitorList.h"

#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

constexpr const char* markName = "UPDATE gpjl SET 监控状态='是' WHERE 股票名=?1";
constexpr const char* unmarkName = "UPDATE gpjl SET 监控状态='否' WHERE 股票名=?1";
constexpr const char* markAll = "UPDATE gpjl SET 监控状态='是'";
constexpr const char* unmarkAll = "UPDATE gpjl SET 监控状态='否'";

// Open positions of stocks that are not monitored yet.
constexpr const char* unsoldNames =
    "SELECT DISTINCT 股票名 FROM gpjl WHERE 监控状态='否' AND 虚拟卖出='真' "
    "AND 股票名 IS NOT NULL";
// Buys dated within the range, compared as the "yyyy-mm-dd" texts they are.
constexpr const char* boughtNames =
    "SELECT DISTINCT 股票名 FROM gpjl WHERE 交易状态='买入' AND 日期>=?1 AND 日期<=?2 "
    "AND 股票名 IS NOT NULL";

} // namespace

void MonitorList::mark(const char* sql, const QString& name)
{
    sql::Transaction transaction(m_db);
    auto update = m_db.prepare(sql);
    if (!name.isNull())
        update.bind(1, name);
    update.run();
    transaction.commit();
    m_notifier.announce(LedgerChange::MonitorList | LedgerChange::TickerLines);
}

void MonitorList::markNames(const char* select, const QList<QString>& parameters)
{
    sql::Transaction transaction(m_db);
    QList<QString> names;
    {
        auto query = m_db.prepare(select);
        for (int i = 0; i < parameters.size(); ++i)
            query.bind(i + 1, parameters[i]);
        while (query.step())
            names << query.text(0);
    }
    auto update = m_db.prepare(markName);
    for (const QString& name : names) {
        update.reset();
        update.bind(1, name);
        update.run();
    }
    transaction.commit();
    m_notifier.announce(LedgerChange::MonitorList);
}

void MonitorList::add(const QString& name)
{
    mark(markName, name);
}

void MonitorList::remove(const QString& name)
{
    mark(unmarkName, name);
}

void MonitorList::addAll()
{
    mark(markAll);
}

void MonitorList::removeAll()
{
    mark(unmarkAll);
}

void MonitorList::addUnsold()
{
    markNames(unsoldNames, {});
}

void MonitorList::addBoughtBetween(const QDate& first, const QDate& last)
{
    markNames(boughtNames, {first.toString(u"yyyy-MM-dd"_s), last.toString(u"yyyy-MM-dd"_s)});
}

QList<MonitoredStock> MonitorList::listing() const
{
    return monitoredStocks(m_db);
}

QList<MonitoredStock> monitoredStocks(sql::Database& db)
{
    auto query = db.prepare("SELECT 股票名,sum(数量),avg(价格),sum(费用),sum(总金额) FROM gpjl "
                            "WHERE 交易状态='买入' AND 监控状态='是' GROUP BY 股票名");
    QList<MonitoredStock> stocks;
    while (query.step())
        stocks.append({query.text(0), query.int64(1), query.optionalReal(2), query.optionalReal(3),
                       query.optionalReal(4)});
    return stocks;
}

QStringList monitoredNames(sql::Database& db)
{
    auto query = db.prepare("SELECT DISTINCT 股票名 FROM gpjl WHERE 监控状态='是' ORDER BY 股票名");
    QStringList names;
    while (query.step())
        names.append(query.text(0));
    return names;
}

bool nameMonitored(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT EXISTS(SELECT 1 FROM gpjl WHERE 股票名=? AND 监控状态='是')");
    query.bind(1, name);
    return query.step() && query.int64(0) != 0;
}

bool MonitorList::isEmpty() const
{
    return m_db.scalarInt("SELECT count(*) FROM gpjl WHERE 监控状态='是'") == 0;
}

} // namespace corvanta::ledger
