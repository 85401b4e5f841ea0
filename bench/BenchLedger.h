#pragma once

// A keyed ledger file of many trades, shared by the benchmarks that read one. The
// trades come from the generator under tools/benchledger.

#include "GeneratedLedger.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

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

// A keyed ledger file of `trades` real trades over `stocks` stocks.
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

} // namespace corvanta::bench
