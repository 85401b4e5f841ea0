#include "CrashOperations.h"

#include "../LedgerTestSupport.h"
#include "ledger/EventLedger.h"
#include "ledger/LedgerChanges.h"
#include "ledger/StatementImport.h"
#include "ledger/StockTable.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <stdexcept>

namespace corvanta::crash {

using ledger::testing::buy;
using ledger::testing::sell;

void recorded(sql::Database& db, const ledger::TradeEntry& entry)
{
    const auto outcome = ledger::TradeLedger(db).record(entry);
    if (!outcome.recorded())
        throw std::runtime_error(outcome.refusal.toStdString());
}

void someTrades(sql::Database& db)
{
    recorded(db, buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("1000")));
    recorded(db,
             sell(QStringLiteral("唐钢股份"), QStringLiteral("000709"), QStringLiteral("1200")));
    recorded(db, buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("200")));
}

namespace {

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

// 10转10 of 浦发银行, whose 1200 shares of someTrades were bought before its record date.
ledger::EventEntry transferEvent()
{
    ledger::EventEntry event;
    event.code = QStringLiteral("600000");
    event.name = QStringLiteral("浦发银行");
    event.record = QDate(2008, 6, 20);
    event.ex = QDate(2008, 6, 23);
    event.cash = QStringLiteral("1");
    event.transfer = QStringLiteral("10");
    return event;
}

void tradesAndAnEvent(sql::Database& db)
{
    someTrades(db);
    if (!ledger::EventLedger(db).add(transferEvent(), false).saved())
        throw std::runtime_error("event refused");
}

} // namespace

void importedStatement(sql::Database& db, bool replaceLedger)
{
    const auto outcome =
        ledger::applyStatement(db, statementTrades(), {.replaceLedger = replaceLedger});
    if (!outcome.committed)
        throw std::runtime_error(outcome.error.toStdString());
}

std::vector<CrashOperation> tradeOperations()
{
    return {
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
        {"add a stock", someTrades,
         [](sql::Database& db) {
             ledger::StockTable(db).addStock(QStringLiteral("600999"), QStringLiteral("招商证券"),
                                             QStringLiteral("ZSZQ"));
         }},
        {"rename a stock", someTrades,
         [](sql::Database& db) {
             ledger::StockTable(db).renameStock(QStringLiteral("600000"),
                                                QStringLiteral("浦发新名"), QStringLiteral("PFXM"));
         }},
        {"import a statement", someTrades,
         [](sql::Database& db) {
             importedStatement(db, false);
         }},
        {"import a statement replacing the ledger", someTrades,
         [](sql::Database& db) {
             importedStatement(db, true);
         }},
        {"add an event", someTrades,
         [](sql::Database& db) {
             if (!ledger::EventLedger(db).add(transferEvent(), false).saved())
                 throw std::runtime_error("event refused");
         }},
        {"delete an event", tradesAndAnEvent,
         [](sql::Database& db) {
             const qint64 id = db.scalarInt("SELECT max(ID) FROM fhsp");
             if (!ledger::EventLedger(db).remove(id).saved())
                 throw std::runtime_error("event not deleted");
         }},
        {"sell the new shares", tradesAndAnEvent,
         [](sql::Database& db) {
             ledger::TradeEntry entry =
                 sell(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("2400"));
             entry.date = QDate(2008, 7, 1);
             recorded(db, entry);
         }},
    };
}

const std::vector<CrashOperation>& crashOperations()
{
    static const std::vector<CrashOperation> operations = [] {
        std::vector<CrashOperation> all = tradeOperations();
        for (auto&& more :
             {listSettingsAndJournalOperations(), copyOperations(), passwordOperations()})
            all.insert(all.end(), more.begin(), more.end());
        return all;
    }();
    return operations;
}

} // namespace corvanta::crash
