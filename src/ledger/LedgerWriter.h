#pragma once

#include "EventLedger.h"
#include "FeeRuleSetting.h"
#include "LedgerChanges.h"
#include "QuoteSourceSetting.h"
#include "Settings.h"
#include "StockTable.h"
#include "TradeLedger.h"

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The windows' one way of changing gpjl and gpmc. Each operation runs in its own
// transaction through the ledger's classes; once it has committed, the notifier
// announces what changed. A refusal or a failure (sql::Error, rolled back)
// announces nothing.
class LedgerWriter {
public:
    LedgerWriter(sql::Database& db, LedgerNotifier& notifier);

    LedgerNotifier& notifier() const { return m_notifier; }

    RecordOutcome record(const TradeEntry& entry);
    DeleteOutcome deleteTrade(qint64 id);
    void clearLedger();

    // A stock's corporate actions (分红送配); each announces Trades and Events.
    EventSaveOutcome addEvent(const EventEntry& entry, bool confirmed);
    EventSaveOutcome changeEvent(qint64 id, const EventEntry& entry, bool confirmed);
    EventSaveOutcome deleteEvent(qint64 id);
    // Pays for the event's rights issue (配股缴款): records the offered shares as a
    // buy at the rights price on the ex-date, through record(). Refused when the
    // event offers nothing or the same buy is in the ledger already.
    RecordOutcome subscribeRights(qint64 eventId);
    // What the event would bring, or why it is refused; writes nothing.
    QString previewEvent(const EventEntry& entry, qint64 changing = 0) const
    {
        return m_events.preview(entry, changing);
    }
    EventLedger::Inspection inspectEvent(const EventEntry& entry, qint64 changing = 0) const
    {
        return m_events.inspect(entry, changing);
    }

    void addStock(const QString& code, const QString& name, const QString& pinyin);
    // Renames the stock in gpmc and in its ledger rows.
    void renameStock(const QString& code, const QString& name, const QString& pinyin);

    // The settings rows of gpmc; each announces Settings.
    FeeRates saveSettings(const SettingsToSave& settings, FeeRates current);
    void saveFeeRule(const FeeRuleSetting& setting);
    void saveQuoteServer(const QString& address);
    void saveQuoteSourceRow(QuoteSourceRow row, const QString& value);

private:
    // Runs a change of gpjl and announces `what`, with the monitor list when the
    // monitored names are no longer those of before.
    template <typename Change> void changeTrades(LedgerChanges what, Change change);

    sql::Database& m_db;
    LedgerNotifier& m_notifier;
    TradeLedger m_trades;
    EventLedger m_events;
    StockTable m_stocks;
};

} // namespace corvanta::ledger
