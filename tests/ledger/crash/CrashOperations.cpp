#include "CrashOperations.h"

#include "../LedgerTestSupport.h"
#include "journal/Journal.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerChanges.h"
#include "ledger/StatementImport.h"
#include "ledger/StockTable.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <stdexcept>

namespace corvanta::crash {

namespace {

using ledger::testing::buy;
using ledger::testing::sell;

void recorded(sql::Database& db, const ledger::TradeEntry& entry)
{
    const auto outcome = ledger::TradeLedger(db).record(entry);
    if (!outcome.recorded())
        throw std::runtime_error(outcome.refusal.toStdString());
}

// A ledger with some history: one stock held, the sample trade's sold out.
void someTrades(sql::Database& db)
{
    recorded(db, buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("1000")));
    recorded(db,
             sell(QStringLiteral("唐钢股份"), QStringLiteral("000709"), QStringLiteral("1200")));
    recorded(db, buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("200")));
}

qint64 lastBuy(sql::Database& db)
{
    return db.scalarInt("SELECT max(ID) FROM gpjl WHERE 交易状态='买入' AND 虚拟卖出='假'");
}

// A statement of many lines, buys and sells of stocks old and new.
QList<ledger::StatementTrade> statementTrades()
{
    QList<ledger::StatementTrade> trades;
    for (int line = 1; line <= 60; ++line) {
        ledger::StatementTrade trade;
        trade.line = line;
        trade.date = QStringLiteral("2009-04-%1").arg(1 + line % 28, 2, 10, QChar(u'0'));
        const int stock = line % 6;
        trade.code = QStringLiteral("6011%1").arg(stock, 2, 10, QChar(u'0'));
        trade.name = QStringLiteral("新股票%1").arg(stock);
        trade.buy = line % 3 != 0;
        trade.operation = trade.buy ? QStringLiteral("买入") : QStringLiteral("卖出");
        trade.shares = 100;
        trade.price = 8.5 + stock;
        trade.fees = 5;
        trade.total = trade.price * 100 + (trade.buy ? 5 : -5);
        trade.commission = 5;
        trade.addsStock = true;
        trade.pinyin = QStringLiteral("XGP%1").arg(stock);
        trades << trade;
    }
    return trades;
}

void imported(sql::Database& db, const ledger::StatementImportOptions& options)
{
    const auto outcome = ledger::applyStatement(db, statementTrades(), options);
    if (!outcome.committed)
        throw std::runtime_error(outcome.error.toStdString());
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

void withNote(sql::Database& db)
{
    journal::upgradeJournalSchema(db);
    ledger::LedgerNotifier notifier;
    journal::Journal(db).add(draft(QStringLiteral("关注")), QDate(2009, 4, 1), notifier);
}

} // namespace

const std::vector<CrashOperation>& crashOperations()
{
    static const std::vector<CrashOperation> operations{
        {"record a buy", someTrades,
         [](sql::Database& db) {
             recorded(db, buy(QStringLiteral("唐钢股份"), QStringLiteral("000709"),
                              QStringLiteral("500")));
         }},
        {"record a sell", someTrades,
         [](sql::Database& db) {
             recorded(db, sell(QStringLiteral("浦发银行"), QStringLiteral("600000"),
                               QStringLiteral("700")));
         }},
        {"sell a whole position", someTrades,
         [](sql::Database& db) {
             recorded(db, sell(QStringLiteral("浦发银行"), QStringLiteral("600000"),
                               QStringLiteral("1200")));
         }},
        {"delete a trade", someTrades,
         [](sql::Database& db) {
             const auto outcome = ledger::TradeLedger(db).deleteTrade(lastBuy(db));
             if (outcome.status != ledger::DeleteOutcome::Status::Deleted)
                 throw std::runtime_error("not deleted");
         }},
        {"clear the ledger", someTrades,
         [](sql::Database& db) {
             ledger::TradeLedger(db).clearLedger();
         }},
        {"rename a stock", someTrades,
         [](sql::Database& db) {
             ledger::StockTable(db).renameStock(QStringLiteral("600000"),
                                                QStringLiteral("浦发新名"), QStringLiteral("PFXM"));
         }},
        {"import a statement", someTrades,
         [](sql::Database& db) {
             imported(db, {});
         }},
        {"import a statement replacing the ledger", someTrades,
         [](sql::Database& db) {
             imported(db, {.replaceLedger = true});
         }},
        {"save a journal note", withNote,
         [](sql::Database& db) {
             ledger::LedgerNotifier notifier;
             journal::ReminderSettings reminder;
             reminder.date = QDate(2009, 5, 1);
             reminder.targets = {15.0, 12.0};
             const qint64 id = db.scalarInt("SELECT max(ID) FROM dxgp");
             const auto outcome = journal::Journal(db).save(id, draft(QStringLiteral("买入观察")),
                                                            notifier, &reminder);
             if (!outcome.written())
                 throw std::runtime_error(outcome.refusal.toStdString());
         }},
    };
    return operations;
}

} // namespace corvanta::crash
