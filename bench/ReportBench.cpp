#include "report/AccountSeries.h"
#include "report/CapitalFlow.h"
#include "report/PositionSummary.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QDate>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

QString stockName(int stock)
{
    return u"股票"_s + QString::number(stock);
}

// Shanghai, Shenzhen and ChiNext codes in turn.
QString stockCode(int stock)
{
    static const QString prefixes[] = {u"600"_s, u"000"_s, u"300"_s};
    return prefixes[stock % 3] + QString::number(stock).rightJustified(3, u'0');
}

double priceOf(int stock, int day)
{
    // Prices of real ledgers hardly ever repeat.
    return 3.0 + double((stock * 7919 + day * 104729) % 4000) / 100;
}

// A keyed ledger file of `trades` real trades over `stocks` stocks; per stock buys
// of 1000 and sells of 500 alternate, so every stock holds shares and has its
// open-position row.
struct FileLedger {
    QTemporaryDir dir;
    sql::Database db;

    FileLedger(int trades, int stocks)
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        QList<ledger::SeedStock> seeds;
        for (int stock = 0; stock < stocks; ++stock)
            seeds.append({stockCode(stock), stockName(stock), u"GP"_s});
        ledger::ensureSchema(db, seeds);
        sql::Transaction transaction(db);
        db.exec("DELETE FROM gpjl");
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) VALUES (?1,?2,?3,?4,?5,?7,?8,?9,-?9,"
            "?6,'否',0,0,0,5)");
        auto add = [&](int stock, const char16_t* state, qint64 shares, const char16_t* open,
                       int day) {
            insert.bind(1, QDate(2007, 1, 1).addDays(day).toString(u"yyyy-MM-dd"_s));
            insert.bind(2, stockCode(stock)).bind(3, stockName(stock)).bind(4, state);
            insert.bind(5, shares).bind(6, open);
            const double amount = double(shares) * priceOf(stock, day);
            const double fees = std::max(5.0, std::round(amount * 4) / 1000) + 5;
            const bool buy = state == std::u16string_view(u"买入");
            insert.bind(7, priceOf(stock, day)).bind(8, fees);
            insert.bind(9, buy ? amount + fees : amount - fees);
            insert.run();
            insert.reset();
        };
        const int perStock = trades / stocks;
        for (int stock = 0; stock < stocks; ++stock) {
            for (int i = 0; i < perStock; ++i)
                add(stock, i % 2 == 0 ? u"买入" : u"卖出", i % 2 == 0 ? 1000 : 500, u"假", i);
            add(stock, u"卖出", qint64((perStock + 1) / 2) * 1000 - qint64(perStock / 2) * 500,
                u"真", 0);
        }
        transaction.commit();
    }
};

// The plain summary of a file ledger: 10,000 trades in 500 stocks (target
// < 100 ms) and 100,000 in 2,000 (growth no worse than linear).
void BM_PlainSummary(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(report::buildSummary(file.db));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PlainSummary)
    ->Args({10'000, 500})
    ->Args({100'000, 2'000})
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Its parts: the capital flow and the scratch tables with their figures.
void BM_CapitalFlow(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(report::capitalFlow(file.db));
}
BENCHMARK(BM_CapitalFlow)
    ->Args({10'000, 500})
    ->Args({100'000, 2'000})
    ->Unit(benchmark::kMillisecond);

void BM_ScratchTables(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        sql::Transaction transaction(file.db);
        benchmark::DoNotOptimize(
            report::buildScratchTables(file.db, report::SummaryScope::WholeLedger));
        transaction.commit();
    }
}
BENCHMARK(BM_ScratchTables)
    ->Args({10'000, 500})
    ->Args({100'000, 2'000})
    ->Unit(benchmark::kMillisecond);

// The chart series of 10,000 trades in 500 stocks (target < 200 ms).
void BM_AccountSeries(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(report::accountSeries(file.db));
}
BENCHMARK(BM_AccountSeries)->Args({10'000, 500})->Unit(benchmark::kMillisecond);

// The quoted mode's work besides the network: 500 held stocks valued from their
// fetched record lines (target < 50 ms).
void BM_QuotedCompletion(benchmark::State& state)
{
    constexpr int stocks = 500;
    QList<report::StockFigures> figures;
    QStringList lines;
    for (int stock = 0; stock < stocks; ++stock) {
        report::StockFigures f;
        f.rowId = stock + 1;
        f.name = stockName(stock);
        f.code = stockCode(stock);
        f.bought = 10'000;
        f.buyAverage = priceOf(stock, 1);
        f.buyPay = priceOf(stock, 1) * 10'000 + 50;
        f.buyFee = 50;
        f.soldQty = 5'000;
        f.sellFee = 30;
        f.sellIncome = priceOf(stock, 2) * 5'000 - 30;
        f.heldQty = 5'000;
        figures.append(f);
        lines.append(f.code + u",2026-12-10,10:15:00,"_s + QString::number(priceOf(stock, 3)) +
                     u",5,0.1,1.0,9.9,100,1000,1,1,9.9,9.9,10.1,9.8"_s);
    }
    FeeSnapshot fees;
    fees.quantity = fees.price = u"1"_s;
    fees.stampRate = u"1"_s;
    fees.commissionRate = u"3"_s;
    fees.otherFee = u"5"_s;
    fees.direction = Direction::Sell;
    report::LedgerTotals totals;
    totals.stocksTraded = QString::number(stocks);
    for (auto _ : state) {
        const report::QuotedPricing pricing{report::pricesFromLines(lines), fees};
        QList<report::StoredFigures> stored;
        benchmark::DoNotOptimize(report::summarise(figures, totals, &pricing, &stored));
    }
}
BENCHMARK(BM_QuotedCompletion)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
