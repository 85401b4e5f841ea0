#include "EventLedger.h"

#include "LedgerMessages.h"
#include "Schema.h"
#include "StockRows.h"
#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace m = messages::events;

namespace {

QList<calc::StockEvent> termsOf(const QList<StoredEvent>& events, qint64 ignore)
{
    QList<calc::StockEvent> terms;
    for (const StoredEvent& event : events) {
        if (event.terms.id != ignore)
            terms.append(event.terms);
    }
    return terms;
}

// The shares held at the end of `record` by trade date, the stock's other events
// counted.
qint64 heldOnRecordDate(sql::Database& db, const QString& name, const calc::StockEvent& terms,
                        qint64 ignore)
{
    QList<calc::StockEvent> events = termsOf(stockEvents(db, name), ignore);
    calc::StockEvent probe = terms;
    probe.id = -1;
    events.append(probe);
    const calc::StockHistory history = calc::playStockHistory(stockTrades(db, name), events);
    return history.events.last().heldOnRecord;
}

bool recordDateTaken(sql::Database& db, const QString& name, const QDate& record, qint64 ignore)
{
    if (!hasEventTable(db))
        return false;
    auto query = db.prepare("SELECT 1 FROM fhsp WHERE 股票名=?1 AND 登记日=?2 AND ID<>?3 LIMIT 1");
    query.bind(1, name).bind(2, record.toString(Qt::ISODate)).bind(3, ignore);
    return query.step();
}

void bindTerms(sql::Statement& statement, const EventEntry& entry, const calc::StockEvent& terms)
{
    statement.bind(1, entry.code).bind(2, entry.name);
    statement.bind(3, terms.record.toString(Qt::ISODate)).bind(4, terms.ex.toString(Qt::ISODate));
    statement.bind(5, terms.cash).bind(6, terms.bonus).bind(7, terms.transfer);
    statement.bind(8, terms.rights).bind(9, terms.rightsPrice).bind(10, entry.note);
}

QString sameRecordRefusal(const QDate& record)
{
    return m::sameRecordStart + record.toString(Qt::ISODate) + m::sameRecordEnd;
}

EventSaveOutcome refused(const QString& message)
{
    return {EventSaveOutcome::Status::Refused, 0, message};
}

} // namespace

QString entitlementText(const calc::EventOutcome& entitlement, const calc::StockEvent& terms)
{
    if (entitlement.heldOnRecord <= 0)
        return m::nothingHeld.toString();
    QStringList parts;
    if (terms.cash > 0)
        parts << m::cashStart + num::fixed(double(entitlement.cashFen) / 100, 2, true) + m::cashEnd;
    if (terms.bonus > 0 || terms.transfer > 0)
        parts << m::sharesStart + QString::number(entitlement.newShares()) + m::sharesEnd;
    if (terms.rights > 0)
        parts << m::rightsStart + QString::number(entitlement.rightsOffered) + m::rightsEnd;
    return m::heldStart + QString::number(entitlement.heldOnRecord) + m::heldEnd + u'：' +
           parts.join(u'，');
}

EventLedger::Inspection EventLedger::inspect(const EventEntry& entry, qint64 ignore) const
{
    const auto read = readEventEntry(entry);
    if (const auto* refusal = std::get_if<QString>(&read))
        return {*refusal, {}, false};
    const auto& terms = std::get<calc::StockEvent>(read);
    if (recordDateTaken(m_db, entry.name, terms.record, ignore))
        return {sameRecordRefusal(terms.record), {}, false};
    const qint64 held = heldOnRecordDate(m_db, entry.name, terms, ignore);
    return {{}, entitlementText(calc::entitlementOf(terms, held), terms), held <= 0};
}

QString EventLedger::preview(const EventEntry& entry, qint64 ignore) const
{
    const Inspection inspection = inspect(entry, ignore);
    return inspection.refusal.isEmpty() ? inspection.entitlement : inspection.refusal;
}

std::optional<StoredEvent> EventLedger::find(qint64 id) const
{
    if (!hasEventTable(m_db))
        return std::nullopt;
    auto query = m_db.prepare("SELECT 股票名 FROM fhsp WHERE ID=?1");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    for (const StoredEvent& event : stockEvents(m_db, query.text(0))) {
        if (event.terms.id == id)
            return event;
    }
    return std::nullopt;
}

EventSaveOutcome EventLedger::add(const EventEntry& entry, bool confirmed)
{
    return save(0, entry, confirmed);
}

EventSaveOutcome EventLedger::change(qint64 id, const EventEntry& entry, bool confirmed)
{
    if (!find(id))
        return {EventSaveOutcome::Status::NotFound, 0, m::notFound.toString()};
    return save(id, entry, confirmed);
}

EventSaveOutcome EventLedger::save(qint64 id, const EventEntry& entry, bool confirmed)
{
    const auto read = readEventEntry(entry);
    if (const auto* refusal = std::get_if<QString>(&read))
        return refused(*refusal);
    const auto& terms = std::get<calc::StockEvent>(read);

    sql::Transaction transaction(m_db);
    if (recordDateTaken(m_db, entry.name, terms.record, id))
        return refused(sameRecordRefusal(terms.record));
    if (!confirmed && heldOnRecordDate(m_db, entry.name, terms, id) <= 0)
        return {EventSaveOutcome::Status::NeedsConfirmation, 0,
                m::notHeldStart + terms.record.toString(Qt::ISODate) + m::notHeldEnd};

    // A changed event may move to another name: both positions are re-derived.
    QString before;
    if (id == 0) {
        ensureEventTable(m_db);
        auto insert =
            m_db.prepare("INSERT INTO fhsp (股票代码,股票名,登记日,除权日,派现,送股,"
                         "转增,配股,配股价,备注) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)");
        bindTerms(insert, entry, terms);
        insert.run();
        id = m_db.lastInsertId();
    } else {
        before = find(id)->name;
        auto update = m_db.prepare("UPDATE fhsp SET 股票代码=?1,股票名=?2,登记日=?3,除权日=?4,"
                                   "派现=?5,送股=?6,转增=?7,配股=?8,配股价=?9,备注=?10 "
                                   "WHERE ID=?11");
        bindTerms(update, entry, terms);
        update.bind(11, id);
        update.run();
    }
    for (const QString& name : {before, entry.name}) {
        if (name.isEmpty())
            continue;
        if (sharesHeld(m_db, name) < 0)
            return refused(m::changeOversells.toString());
        rows::rederiveOpenPosition(m_db, name);
    }
    transaction.commit();
    return {EventSaveOutcome::Status::Saved, id, {}};
}

EventSaveOutcome EventLedger::remove(qint64 id)
{
    sql::Transaction transaction(m_db);
    const auto event = find(id);
    if (!event)
        return {EventSaveOutcome::Status::NotFound, 0, m::notFound.toString()};
    auto remove = m_db.prepare("DELETE FROM fhsp WHERE ID=?1");
    remove.bind(1, id);
    remove.run();
    if (sharesHeld(m_db, event->name) < 0)
        return refused(m::deleteOversells.toString());
    rows::rederiveOpenPosition(m_db, event->name);
    transaction.commit();
    return {EventSaveOutcome::Status::Saved, id, {}};
}

} // namespace corvanta::ledger
