#include "LedgerEventRows.h"

#include "Schema.h"
#include "StockHoldings.h"
#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

struct EventPlace {
    qint64 id = 0;
    QString name;
    QString ex; // yyyy-MM-dd, compared as text
};

QList<EventPlace> eventPlaces(sql::Database& db)
{
    QList<EventPlace> places;
    if (!hasEventTable(db))
        return places;
    auto query = db.prepare("SELECT ID,股票名,除权日 FROM fhsp ORDER BY 除权日,ID");
    while (query.step())
        places.append({query.int64(0), query.text(1), query.text(2)});
    return places;
}

struct TradePlace {
    QString name;
    QString date;
};

QHash<qint64, TradePlace> tradePlaces(sql::Database& db)
{
    QHash<qint64, TradePlace> places;
    auto query = db.prepare("SELECT id,股票名,日期 FROM gpjl WHERE 虚拟卖出='假'");
    while (query.step())
        places.insert(query.int64(0), {query.text(1), query.text(2)});
    return places;
}

QList<qint64> byDate(const QList<qint64>& ids, const QList<EventPlace>& events,
                     const QHash<qint64, TradePlace>& trades)
{
    QList<qint64> out;
    out.reserve(ids.size() + events.size());
    qsizetype next = 0;
    for (const qint64 id : ids) {
        const QString date = trades.value(id).date;
        while (next < events.size() && events[next].ex <= date)
            out.append(-events[next++].id);
        out.append(id);
    }
    while (next < events.size())
        out.append(-events[next++].id);
    return out;
}

QList<qint64> byName(const QList<qint64>& ids, const QList<EventPlace>& events,
                     const QHash<qint64, TradePlace>& trades)
{
    QHash<QString, QList<EventPlace>> pending; // each stock's, by ex-date
    for (const EventPlace& event : events)
        pending[event.name].append(event);
    QList<qint64> out;
    out.reserve(ids.size() + events.size());
    const auto flush = [&](const QString& name, const QString* upTo) {
        auto found = pending.find(name);
        if (found == pending.end())
            return;
        QList<EventPlace>& list = found.value();
        qsizetype taken = 0;
        while (taken < list.size() && (!upTo || list[taken].ex <= *upTo))
            out.append(-list[taken++].id);
        list.remove(0, taken);
    };
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const TradePlace trade = trades.value(ids[i]);
        flush(trade.name, &trade.date);
        out.append(ids[i]);
        // The group's last trade: the stock's later events follow it.
        if (i + 1 == ids.size() || trades.value(ids[i + 1]).name != trade.name)
            flush(trade.name, nullptr);
    }
    // Events of stocks without trades in the grid come last, by ex-date.
    for (const EventPlace& event : events)
        if (std::any_of(pending.value(event.name).cbegin(), pending.value(event.name).cend(),
                        [&](const EventPlace& left) { return left.id == event.id; }))
            out.append(-event.id);
    return out;
}

} // namespace

QList<qint64> withEventRows(sql::Database& db, QList<qint64> tradeIds, LedgerSortOrder order)
{
    const QList<EventPlace> events = eventPlaces(db);
    if (events.isEmpty())
        return tradeIds;
    const QHash<qint64, TradePlace> trades = tradePlaces(db);
    return order == LedgerSortOrder::ByName ? byName(tradeIds, events, trades)
                                            : byDate(tradeIds, events, trades);
}

bool gridHasEventRows(sql::Database& db)
{
    if (!hasEventTable(db))
        return false;
    auto query = db.prepare("SELECT 1 FROM fhsp LIMIT 1");
    return query.step();
}

std::optional<LedgerRow> EventRowReader::row(qint64 gridId)
{
    const qint64 id = -gridId;
    auto query = m_db.prepare("SELECT 股票名,股票代码 FROM fhsp WHERE ID=?1");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    const QString name = query.text(0);
    if (!m_outcomes.contains(name)) {
        QHash<qint64, calc::EventOutcome>& outcomes = m_outcomes[name];
        for (const calc::EventOutcome& outcome : stockHistory(m_db, name).events)
            outcomes.insert(outcome.id, outcome);
    }
    const QList<StoredEvent> stored = stockEvents(m_db, name);
    const auto event = std::find_if(stored.cbegin(), stored.cend(),
                                    [id](const StoredEvent& e) { return e.terms.id == id; });
    if (event == stored.cend())
        return std::nullopt;
    const calc::EventOutcome outcome = m_outcomes[name].value(id);
    LedgerRow row;
    row.id = gridId;
    row.code = query.text(1);
    row.colour = RowColour::Event;
    row.cells[DateColumn] = event->terms.ex.toString(Qt::ISODate);
    row.cells[NameColumn] = name;
    row.cells[StateColumn] = calc::eventKind(event->terms);
    row.cells[QuantityColumn] = QString::number(outcome.newShares());
    row.cells[TotalColumn] = num::general(double(outcome.cashFen) / 100);
    return row;
}

} // namespace corvanta::ledger
