#include "CrashOperations.h"

#include "journal/Journal.h"
#include "journal/JournalSchema.h"
#include "ledger/FeeRuleSetting.h"
#include "ledger/LedgerChanges.h"
#include "ledger/MonitorList.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/Settings.h"
#include "ledger/sql/Database.h"

#include <stdexcept>

namespace corvanta::crash {

namespace {

// Runs one monitor-list command as the monitor window does.
std::function<void(sql::Database&)>
monitorCommand(std::function<void(ledger::MonitorList&)> command)
{
    return [command](sql::Database& db) {
        ledger::LedgerNotifier notifier;
        ledger::MonitorList list(db, notifier);
        command(list);
    };
}

void everyStockMonitored(sql::Database& db)
{
    someTrades(db);
    ledger::LedgerNotifier notifier;
    ledger::MonitorList(db, notifier).addAll();
}

journal::NoteDraft draft(const QString& text)
{
    journal::NoteDraft note;
    note.code = QStringLiteral("600000");
    note.name = QStringLiteral("浦发银行");
    note.price = QStringLiteral("14.46");
    note.text = text;
    return note;
}

journal::ReminderSettings reminder()
{
    journal::ReminderSettings settings;
    settings.date = QDate(2009, 5, 1);
    settings.frequency = journal::Frequency::Weekly;
    settings.targets = {15.0, 12.0};
    settings.basePrice = 14.46;
    return settings;
}

qint64 lastNote(sql::Database& db)
{
    return db.scalarInt("SELECT max(ID) FROM dxgp");
}

// Two notes, the last with a reminder.
void someNotes(sql::Database& db)
{
    journal::upgradeJournalSchema(db);
    ledger::LedgerNotifier notifier;
    journal::Journal journal(db);
    journal.add(draft(QStringLiteral("关注")), QDate(2009, 4, 1), notifier);
    journal.add(draft(QStringLiteral("回调再看")), QDate(2009, 4, 2), notifier);
    const auto settings = reminder();
    journal.setReminder(lastNote(db), settings, notifier);
}

// Runs one journal write as the journal window does.
std::function<void(sql::Database&)>
journalWrite(std::function<void(journal::Journal&, ledger::LedgerNotifier&, qint64 lastNote)> write)
{
    return [write](sql::Database& db) {
        ledger::LedgerNotifier notifier;
        journal::Journal journal(db);
        write(journal, notifier, lastNote(db));
    };
}

void written(const journal::WriteOutcome& outcome)
{
    if (!outcome.written())
        throw std::runtime_error(outcome.refusal.toStdString());
}

} // namespace

std::vector<CrashOperation> listSettingsAndJournalOperations()
{
    using ledger::MonitorList;
    return {
        {"monitor a stock", someTrades,
         monitorCommand([](MonitorList& list) { list.add(QStringLiteral("浦发银行")); })},
        {"stop monitoring a stock", everyStockMonitored,
         monitorCommand([](MonitorList& list) { list.remove(QStringLiteral("浦发银行")); })},
        {"monitor every stock", someTrades,
         monitorCommand([](MonitorList& list) { list.addAll(); })},
        {"monitor no stock", everyStockMonitored,
         monitorCommand([](MonitorList& list) { list.removeAll(); })},
        {"monitor the unsold stocks", someTrades,
         monitorCommand([](MonitorList& list) { list.addUnsold(); })},
        {"monitor the stocks bought in a month", someTrades, monitorCommand([](MonitorList& list) {
             list.addBoughtBetween(QDate(2008, 3, 1), QDate(2008, 3, 31));
         })},
        {"save the settings", someTrades,
         [](sql::Database& db) {
             ledger::SettingsToSave settings;
             settings.side = Direction::Sell;
             settings.otherFee = QStringLiteral("1");
             settings.stampRate = QStringLiteral("1");
             settings.commissionRate = QStringLiteral("2.5");
             settings.proxyHost = QStringLiteral("127.0.0.1");
             settings.proxyPort = 3128;
             settings.font = {3, true};
             ledger::saveSettings(db, settings, ledger::defaultFeeRates());
         }},
        {"save the quote server", someTrades,
         [](sql::Database& db) {
             ledger::saveQuoteServer(db, QStringLiteral("http://127.0.0.1:8080"));
         }},
        {"choose a quote source", someTrades,
         [](sql::Database& db) {
             ledger::saveQuoteSourceRow(db, ledger::QuoteSourceRow::Choice, QStringLiteral("腾讯"));
         }},
        {"choose the fee rules by trade date", someTrades,
         [](sql::Database& db) {
             ledger::saveFeeRuleSetting(db, {FeeRuleChoice::ByTradeDate, 0});
         }},
        {"add the journal to an older ledger", someTrades,
         [](sql::Database& db) {
             journal::upgradeJournalSchema(db);
         }},
        {"add a journal note", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64) {
             written(journal.add(draft(QStringLiteral("放量突破")), QDate(2009, 4, 3), notifier));
         })},
        {"save a journal note", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64 id) {
             const auto settings = reminder();
             written(journal.save(id, draft(QStringLiteral("买入观察")), notifier, &settings));
         })},
        {"set a reminder", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64 id) {
             auto settings = reminder();
             settings.date = QDate(2009, 6, 1);
             settings.targets = {16.0, std::nullopt};
             if (!journal.setReminder(id - 1, settings, notifier))
                 throw std::runtime_error("no note");
         })},
        {"note reported reminders", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64 id) {
             journal::DueAlert date;
             date.noteId = id;
             date.occurrence = QDate(2009, 5, 1);
             journal::DueAlert target;
             target.noteId = id;
             target.kind = journal::AlertKind::Target;
             target.target = journal::HighTarget;
             target.price = 11.9;
             target.level = 12.0;
             journal.markReported({date, target}, notifier);
         })},
        {"delete a journal note", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64 id) {
             if (!journal.remove(id, notifier))
                 throw std::runtime_error("no note");
         })},
        {"clear the journal", someNotes,
         journalWrite([](journal::Journal& journal, ledger::LedgerNotifier& notifier, qint64) {
             journal.clear(notifier);
         })},
    };
}

} // namespace corvanta::crash
