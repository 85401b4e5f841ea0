#include "report/AccountSeries.h"
#include "report/CapitalFlow.h"
#include "report/PositionSummary.h"

#include "BenchLedger.h"
#include "Paired.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

using namespace corvanta;
using namespace corvanta::bench;
using namespace Qt::StringLiterals;

namespace {

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

// The plain summary of 100,000 trades paired with a raw grouped sum over the same
// file, the least any summary must read. Target: x_grouped_sum at most 1.5.
// `one_read` reads the summary's own twelve columns of every row once, in storage
// order, and does nothing with them: what no summary of these columns can go
// under. Run over the file as any program opens it (SQLite's 2 MB page cache,
// each full read decrypting the file again) and as this program opens a ledger
// (`ProgramCache`: a page cache that holds the whole file).
template <typename Ledger> void BM_PlainSummaryAgainstGroupedSum(benchmark::State& state)
{
    Ledger file(int(state.range(0)), int(state.range(1)));
    Paired paired(state);
    for (auto _ : state) {
        paired.reference("grouped_sum", [&] {
            auto sums = file.db.prepare(
                "SELECT 股票名,SUM(CASE WHEN 交易状态='买入' THEN 数量 ELSE -数量 END),"
                "SUM(总金额) FROM gpjl GROUP BY 股票名");
            while (sums.step())
                benchmark::DoNotOptimize(sums.real(2));
        });
        paired.reference("one_read", [&] {
            auto rows = file.db.prepare(
                "SELECT ID,日期,股票名,交易状态,虚拟卖出,监控状态,数量,价格,费用,总金额,"
                "盈亏金额,股票代码 FROM gpjl NOT INDEXED ORDER BY ID");
            while (rows.step()) {
                for (int text : {1, 2, 3, 4, 5, 11})
                    benchmark::DoNotOptimize(rows.utf8(text).size());
                for (int number : {0, 6, 7, 8, 9, 10})
                    benchmark::DoNotOptimize(rows.real(number));
            }
        });
        paired.measure([&] { benchmark::DoNotOptimize(report::buildSummary(file.db)); });
    }
    paired.report();
}
BENCHMARK_TEMPLATE(BM_PlainSummaryAgainstGroupedSum, FileLedger)
    ->Name("BM_PlainSummaryAgainstGroupedSum")
    ->Args({100'000, 2'000})
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_TEMPLATE(BM_PlainSummaryAgainstGroupedSum, ProgramLedger)
    ->Name("BM_PlainSummaryAgainstGroupedSum/ProgramCache")
    ->Args({100'000, 2'000})
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The plain summary of 10,000 trades in 500 stocks, each stock with one 分红送配
// (10派1元转5股 in the middle of its trades). The counter `vs_no_events` is its
// time over the same ledger without events, measured in the same run; target at
// most 1.2.
void BM_SummaryWithEvents(benchmark::State& state)
{
    constexpr int trades = 10'000, stocks = 500;
    FileLedger withEvents(trades, stocks);
    FileLedger without(trades, stocks);
    if (!addEventToEachStock(withEvents.db, stocks))
        state.SkipWithError("an event was refused");
    qint64 timedWith = 0, timedWithout = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        benchmark::DoNotOptimize(report::buildSummary(withEvents.db));
        timedWith += timer.nsecsElapsed();

        state.PauseTiming();
        timer.restart();
        benchmark::DoNotOptimize(report::buildSummary(without.db));
        timedWithout += timer.nsecsElapsed();
        state.ResumeTiming();
    }
    state.counters["vs_no_events"] = double(timedWith) / double(std::max<qint64>(timedWithout, 1));
}
BENCHMARK(BM_SummaryWithEvents)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_AccountSeries)
    ->Args({10'000, 500})
    ->Args({100'000, 500})
    ->Unit(benchmark::kMillisecond);

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
