#include "ledger/LedgerView.h"
#include "ledger/Schema.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

constexpr int ledgerSize = 10'000;
constexpr int stockCount = 100;

QString stockName(int stock)
{
    return u"股票"_s + QString::number(stock);
}

QString stockCode(int stock)
{
    return u"600"_s + QString::number(stock).rightJustified(3, u'0');
}

// A keyed ledger file of `ledgerSize` real trades over `stockCount` stocks, each
// holding shares, with their open-position rows.
struct FileLedger {
    QTemporaryDir dir;
    sql::Database db;

    FileLedger()
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        ledger::ensureSchema(db, {{u"000000"_s, u"无名股票"_s, u"WMGP"_s}});
        sql::Transaction transaction(db);
        db.exec("DELETE FROM gpjl");
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?7,?8,?9,-?9,"
            "?6,'否',?10,?11,?12,5)");
        auto add = [&](int stock, const char16_t* state, qint64 shares, const char16_t* open,
                       int day) {
            insert.bind(1, QDate(2007, 1, 1).addDays(day).toString(u"yyyy-MM-dd"_s));
            insert.bind(2, stockCode(stock)).bind(3, stockName(stock)).bind(4, state);
            insert.bind(5, shares).bind(6, open);
            // Prices and amounts of real ledgers hardly ever repeat.
            const double price = 3.0 + double((stock * 7919 + day * 104729) % 4000) / 100;
            const double amount = double(shares) * price;
            const double stampDuty = std::round(amount) / 1000;
            const double commission = std::max(5.0, std::round(amount * 3) / 1000);
            const double transferFee = 5 + double(shares / 1000);
            insert.bind(7, price).bind(8, stampDuty + commission + transferFee);
            insert.bind(9, amount + stampDuty + commission + transferFee);
            insert.bind(10, stampDuty).bind(11, commission).bind(12, transferFee);
            insert.run();
            insert.reset();
        };
        // Per stock: buys of 1000 and sells of 500 alternate, so every stock holds shares.
        const int tradesPerStock = ledgerSize / stockCount;
        for (int stock = 0; stock < stockCount; ++stock) {
            for (int i = 0; i < tradesPerStock; ++i)
                add(stock, i % 2 == 0 ? u"买入" : u"卖出", i % 2 == 0 ? 1000 : 500, u"假", i);
            add(stock, u"卖出", qint64(tradesPerStock / 2) * 500, u"真", 0);
        }
        transaction.commit();
    }
};

ledger::TradeEntry priced(Direction direction, int stock)
{
    ledger::TradeEntry entry;
    entry.date = QDate(2008, 3, 14);
    entry.code = stockCode(stock);
    entry.name = stockName(stock);
    entry.direction = direction;
    entry.quantity = u"100"_s;
    entry.price = u"14.46"_s;
    entry.totalFees = u"11.45"_s;
    entry.total = u"1457.45"_s;
    entry.stampDuty = u"1.45"_s;
    entry.commission = u"5"_s;
    entry.transferAndOther = u"5"_s;
    entry.breakEven = u"14.700"_s;
    entry.otherFee = u"5"_s;
    return entry;
}

// Recording a buy into a file ledger of 10,000 trades (target < 5 ms).
void BM_RecordTrade(benchmark::State& state)
{
    FileLedger file;
    ledger::TradeLedger trades(file.db);
    int stock = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(trades.record(priced(Direction::Buy, stock)));
        stock = (stock + 1) % stockCount;
    }
}
BENCHMARK(BM_RecordTrade)->Unit(benchmark::kMillisecond);

// Deleting a sell from a file ledger of 10,000 trades (target < 5 ms). Each
// deletion's sell is recorded untimed beforehand.
void BM_DeleteTrade(benchmark::State& state)
{
    FileLedger file;
    ledger::TradeLedger trades(file.db);
    int stock = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const qint64 id = trades.record(priced(Direction::Sell, stock)).id;
        stock = (stock + 1) % stockCount;
        state.ResumeTiming();
        benchmark::DoNotOptimize(trades.deleteTrade(id));
    }
}
BENCHMARK(BM_DeleteTrade)->Unit(benchmark::kMillisecond);

// The ledger grid's data for 10,000 trades (target < 30 ms).
void BM_LedgerRows(benchmark::State& state)
{
    FileLedger file;
    const auto order =
        state.range(0) == 0 ? ledger::LedgerSortOrder::ByDate : ledger::LedgerSortOrder::ByName;
    for (auto _ : state)
        benchmark::DoNotOptimize(ledger::ledgerRows(file.db, order));
}
BENCHMARK(BM_LedgerRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
