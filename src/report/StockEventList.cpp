#include "StockEventList.h"

#include "calc/Numbers.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

QString ratio(double value)
{
    return num::general(value);
}

QString yuan(qint64 fen)
{
    return num::fixed(double(fen) / 100, 2, true);
}

} // namespace

QString eventScheme(const calc::StockEvent& terms)
{
    QString scheme = u"10"_s;
    if (terms.cash > 0)
        scheme += u"派"_s + ratio(terms.cash) + u"元"_s;
    if (terms.bonus > 0)
        scheme += u"送"_s + ratio(terms.bonus) + u"股"_s;
    if (terms.transfer > 0)
        scheme += u"转"_s + ratio(terms.transfer) + u"股"_s;
    if (terms.rights > 0)
        scheme += u"配"_s + ratio(terms.rights) + u"股("_s + ratio(terms.rightsPrice) + u"元)"_s;
    return scheme;
}

QString eventKind(const calc::StockEvent& terms)
{
    return calc::eventKind(terms);
}

QStringList eventListTitles()
{
    return {u"登记日"_s,   u"除权除息日"_s, u"方案"_s,     u"登记日持股"_s,
            u"派现(元)"_s, u"送转(股)"_s,   u"可配(股)"_s, u"红利税(元)"_s};
}

QList<EventListRow> eventList(sql::Database& db, const QString& name)
{
    const QList<ledger::StoredEvent> events = ledger::stockEvents(db, name);
    QList<calc::StockEvent> terms;
    for (const ledger::StoredEvent& event : events)
        terms.append(event.terms);
    const calc::StockHistory history = calc::playStockHistory(ledger::stockTrades(db, name), terms);
    QList<EventListRow> rows;
    for (qsizetype i = 0; i < events.size(); ++i) {
        const calc::EventOutcome& outcome = history.events[i];
        const calc::StockEvent& t = events[i].terms;
        rows.append({events[i],
                     outcome,
                     {t.record.toString(Qt::ISODate), t.ex.toString(Qt::ISODate), eventScheme(t),
                      QString::number(outcome.heldOnRecord), yuan(outcome.cashFen),
                      QString::number(outcome.newShares()), QString::number(outcome.rightsOffered),
                      yuan(outcome.taxAtPaymentFen + outcome.taxOnSalesFen)}});
    }
    return rows;
}

std::optional<QString> stockNameOfCode(sql::Database& db, const QString& code)
{
    // Events belong to the name the trades are kept under.
    auto traded = db.prepare("SELECT 股票名 FROM gpjl WHERE 股票代码=?1 ORDER BY ID DESC LIMIT 1");
    traded.bind(1, code);
    if (traded.step() && !traded.text(0).isEmpty())
        return traded.text(0);
    auto stock = db.prepare("SELECT gpmc FROM gpmc WHERE gpid=?1 ORDER BY id LIMIT 1");
    stock.bind(1, code);
    if (stock.step() && !stock.text(0).isEmpty())
        return stock.text(0);
    return std::nullopt;
}

QStringList eventExportTitles()
{
    return {u"ID"_s,       u"股票代码"_s, u"股票名"_s,   u"登记日"_s, u"除权日"_s, u"派现"_s,
            u"送股"_s,     u"转增"_s,     u"配股"_s,     u"配股价"_s, u"备注"_s,   u"登记日持股"_s,
            u"派现金额"_s, u"送转股数"_s, u"可配股数"_s, u"红利税"_s};
}

QList<QStringList> eventExportRows(sql::Database& db)
{
    QList<QStringList> rows;
    if (!ledger::hasEventTable(db))
        return rows;
    QStringList names;
    auto query = db.prepare("SELECT DISTINCT 股票名 FROM fhsp ORDER BY 股票名");
    while (query.step())
        names << query.text(0);
    for (const QString& name : names) {
        for (const EventListRow& row : eventList(db, name)) {
            const calc::StockEvent& t = row.event.terms;
            rows.append({QString::number(t.id), row.event.code, row.event.name,
                         t.record.toString(Qt::ISODate), t.ex.toString(Qt::ISODate), ratio(t.cash),
                         ratio(t.bonus), ratio(t.transfer), ratio(t.rights), ratio(t.rightsPrice),
                         row.event.note, row.cells[3], row.cells[4], row.cells[5], row.cells[6],
                         row.cells[7]});
        }
    }
    return rows;
}

} // namespace corvanta::report
