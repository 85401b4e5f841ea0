#include "StockHoldings.h"

#include "Schema.h"
#include "StockRows.h"
#include "sql/Database.h"
#include "sql/Statement.h"

namespace corvanta::ledger {

namespace {

QDate dateOf(const QString& text)
{
    return ledgerDate(text);
}

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QDate ledgerDate(QStringView text)
{
    if (text.size() == 10 && text[4] == u'-' && text[7] == u'-') {
        const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
        if (year >= 0 && month >= 0 && day >= 0)
            return QDate(year, month, day); // invalid when out of range
    }
    return QDate::fromString(text.toString(), Qt::ISODate);
}

namespace {

StoredEvent readEvent(const sql::Statement& query)
{
    StoredEvent event;
    event.terms = {query.int64(0), dateOf(query.text(1)), dateOf(query.text(2)), query.real(3),
                   query.real(4),  query.real(5),         query.real(6),         query.real(7)};
    event.code = query.text(8);
    event.name = query.text(9);
    event.note = query.text(10);
    return event;
}

} // namespace

QList<StoredEvent> stockEvents(sql::Database& db, const QString& name)
{
    QList<StoredEvent> events;
    if (!hasEventTable(db))
        return events;
    auto query = db.prepare("SELECT ID,登记日,除权日,ifnull(派现,0),ifnull(送股,0),"
                            "ifnull(转增,0),ifnull(配股,0),ifnull(配股价,0),股票代码,股票名,"
                            "ifnull(备注,'') FROM fhsp WHERE 股票名=?1 ORDER BY 登记日,ID");
    query.bind(1, name);
    while (query.step())
        events.append(readEvent(query));
    return events;
}

QHash<QString, QList<StoredEvent>> allStockEvents(sql::Database& db)
{
    QHash<QString, QList<StoredEvent>> events;
    if (!hasEventTable(db))
        return events;
    auto query = db.prepare("SELECT ID,登记日,除权日,ifnull(派现,0),ifnull(送股,0),"
                            "ifnull(转增,0),ifnull(配股,0),ifnull(配股价,0),股票代码,股票名,"
                            "ifnull(备注,'') FROM fhsp ORDER BY 登记日,ID");
    while (query.step()) {
        StoredEvent event = readEvent(query);
        events[event.name].append(std::move(event));
    }
    return events;
}

bool hasEvents(sql::Database& db, const QString& name)
{
    if (!hasEventTable(db))
        return false;
    auto query = db.prepare("SELECT 1 FROM fhsp WHERE 股票名=?1 LIMIT 1");
    query.bind(1, name);
    return query.step();
}

QList<calc::StockTrade> stockTrades(sql::Database& db, const QString& name)
{
    // The rows sharesBought and sharesSold count.
    auto query = db.prepare("SELECT ID,日期,交易状态='买入',ifnull(数量,0),ifnull(总金额,0) "
                            "FROM gpjl WHERE 股票名=?1 AND (交易状态='买入' OR "
                            "(交易状态='卖出' AND 虚拟卖出='假')) ORDER BY ID");
    query.bind(1, name);
    QList<calc::StockTrade> trades;
    while (query.step())
        trades.append({query.int64(0), dateOf(query.text(1)), query.int64(2) != 0, query.int64(3),
                       query.real(4)});
    return trades;
}

calc::StockHistory stockHistory(sql::Database& db, const QString& name)
{
    QList<calc::StockEvent> terms;
    for (const StoredEvent& event : stockEvents(db, name))
        terms.append(event.terms);
    return calc::playStockHistory(stockTrades(db, name), terms);
}

qint64 sharesHeld(sql::Database& db, const QString& name)
{
    if (!hasEvents(db, name))
        return rows::sharesBought(db, name) - rows::sharesSold(db, name);
    return stockHistory(db, name).held;
}

} // namespace corvanta::ledger
