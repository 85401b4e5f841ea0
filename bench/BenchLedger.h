#pragma once

// A keyed ledger file of many trades, shared by the benchmarks that read one. The
// trades come from the generator under tools/benchledger.

#include "GeneratedLedger.h"

#include "ledger/EventLedger.h"
#include "ledger/LedgerFile.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QDate>
#include <QString>
#include <QTemporaryDir>

namespace corvanta::bench {

using namespace Qt::StringLiterals;

inline QString stockName(int stock)
{
    return tools::benchStockName(stock);
}

inline QString stockCode(int stock)
{
    return tools::benchStockCode(stock);
}

inline double priceOf(int stock, int day)
{
    return tools::benchPrice(stock, day);
}

// A keyed ledger file of `trades` real trades over `stocks` stocks, opened with
// SQLite's own page cache of 2 MB, as any program opening the file would.
struct FileLedger {
    QTemporaryDir dir;
    sql::Database db;

    FileLedger(int trades, int stocks)
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        ledger::ensureSchema(db, tools::benchStocks(stocks));
        tools::fillBenchLedger(db, trades, stocks);
    }
};

// The same ledger as the program opens it: with its own key, its pages checked
// and a page cache that holds the whole file.
struct ProgramLedger {
    QTemporaryDir dir;
    sql::Database db;

    ProgramLedger(int trades, int stocks) : db(filled(dir.filePath(u"gpmc.mdb"_s), trades, stocks))
    {
    }

private:
    static sql::Database filled(const QString& path, int trades, int stocks)
    {
        {
            sql::Database fresh = ledger::openLedger(path, tools::benchStocks(stocks));
            tools::fillBenchLedger(fresh, trades, stocks);
        }
        return ledger::openLedger(path, tools::benchStocks(stocks));
    }
};

// One 分红送配 for each of the first `stocks` stocks (10派1元转5股, in the middle of
// their trades); false when the ledger refused one.
inline bool addEventToEachStock(sql::Database& db, int stocks)
{
    ledger::EventLedger events(db);
    for (int stock = 0; stock < stocks; ++stock) {
        ledger::EventEntry event;
        event.code = stockCode(stock);
        event.name = stockName(stock);
        event.record = QDate(2007, 1, 1).addDays(10);
        event.ex = event.record.addDays(1);
        event.cash = u"1"_s;
        event.transfer = u"5"_s;
        if (!events.add(event, true).saved())
            return false;
    }
    return true;
}

} // namespace corvanta::bench
