#include "LedgerWriter.h"

#include "LedgerMessages.h"
#include "MonitorList.h"
#include "QuoteServerSetting.h"
#include "RightsSubscription.h"
#include "sql/Database.h"
#include "sql/Statement.h"

namespace corvanta::ledger {

LedgerWriter::LedgerWriter(sql::Database& db, LedgerNotifier& notifier)
    : m_db(db), m_notifier(notifier), m_trades(db), m_events(db), m_stocks(db)
{
}

RecordOutcome LedgerWriter::record(const TradeEntry& entry)
{
    RecordOutcome outcome = m_trades.record(entry);
    if (outcome.recorded())
        m_notifier.announce(LedgerChange::Trades,
                            TradeRowChange{TradeRowChange::Kind::Recorded, outcome.id});
    return outcome;
}

template <typename Change> void LedgerWriter::changeTrades(LedgerChanges what, Change change)
{
    const QStringList monitored = monitoredNames(m_db);
    if (!change())
        return;
    if (monitoredNames(m_db) != monitored)
        what |= LedgerChange::MonitorList;
    m_notifier.announce(what);
}

DeleteOutcome LedgerWriter::deleteTrade(qint64 id)
{
    // Only the deleted trade's stock can change its place on the monitor list, so
    // that name alone is looked up: a long ledger is not scanned twice per delete.
    auto nameOf = m_db.prepare("SELECT 股票名 FROM gpjl WHERE ID=?");
    nameOf.bind(1, id);
    const QString name = nameOf.step() ? nameOf.text(0) : QString();
    const bool monitoredBefore = nameMonitored(m_db, name);
    DeleteOutcome outcome = m_trades.deleteTrade(id);
    if (outcome.status != DeleteOutcome::Status::Deleted)
        return outcome;
    LedgerChanges what = LedgerChange::Trades;
    if (nameMonitored(m_db, name) != monitoredBefore)
        what |= LedgerChange::MonitorList;
    m_notifier.announce(what, TradeRowChange{TradeRowChange::Kind::Deleted, id});
    return outcome;
}

void LedgerWriter::clearLedger()
{
    changeTrades(LedgerChange::Trades, [&] {
        m_trades.clearLedger();
        return true;
    });
}

EventSaveOutcome LedgerWriter::addEvent(const EventEntry& entry, bool confirmed)
{
    EventSaveOutcome outcome = m_events.add(entry, confirmed);
    if (outcome.saved())
        m_notifier.announce(LedgerChange::Trades | LedgerChange::Events);
    return outcome;
}

EventSaveOutcome LedgerWriter::changeEvent(qint64 id, const EventEntry& entry, bool confirmed)
{
    EventSaveOutcome outcome = m_events.change(id, entry, confirmed);
    if (outcome.saved())
        m_notifier.announce(LedgerChange::Trades | LedgerChange::Events);
    return outcome;
}

EventSaveOutcome LedgerWriter::deleteEvent(qint64 id)
{
    EventSaveOutcome outcome = m_events.remove(id);
    if (outcome.saved())
        m_notifier.announce(LedgerChange::Trades | LedgerChange::Events);
    return outcome;
}

RecordOutcome LedgerWriter::subscribeRights(qint64 eventId)
{
    const std::optional<RightsOffer> offer = rightsOffer(m_db, eventId);
    if (!offer)
        return {0, messages::events::noRights.toString()};
    if (offer->paid)
        return {0, messages::events::rightsPaid.toString()};
    auto purchase = rightsPurchase(m_db, *offer);
    if (const auto* refusal = std::get_if<QString>(&purchase))
        return {0, *refusal};
    return record(std::get<TradeEntry>(purchase));
}

void LedgerWriter::addStock(const QString& code, const QString& name, const QString& pinyin)
{
    m_stocks.addStock(code, name, pinyin);
    m_notifier.announce(LedgerChange::Stocks);
}

void LedgerWriter::renameStock(const QString& code, const QString& name, const QString& pinyin)
{
    changeTrades(LedgerChange::Stocks | LedgerChange::Trades, [&] {
        m_stocks.renameStock(code, name, pinyin);
        return true;
    });
}

FeeRates LedgerWriter::saveSettings(const SettingsToSave& settings, FeeRates current)
{
    const FeeRates saved = ledger::saveSettings(m_db, settings, current);
    m_notifier.announce(LedgerChange::Settings);
    return saved;
}

void LedgerWriter::saveFeeRule(const FeeRuleSetting& setting)
{
    saveFeeRuleSetting(m_db, setting);
    m_notifier.announce(LedgerChange::Settings);
}

void LedgerWriter::saveQuoteServer(const QString& address)
{
    ledger::saveQuoteServer(m_db, address);
    m_notifier.announce(LedgerChange::Settings);
}

void LedgerWriter::saveQuoteSourceRow(QuoteSourceRow row, const QString& value)
{
    ledger::saveQuoteSourceRow(m_db, row, value);
    m_notifier.announce(LedgerChange::Settings);
}

} // namespace corvanta::ledger
