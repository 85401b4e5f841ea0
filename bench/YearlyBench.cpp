// Opening the yearly statement of a 10,000-trade ledger: reading the trades,
// walking them by date and painting the table. Target: at most 200 ms. For scale,
// the same run reads every row of the ledger once without any work on them.

#include "BenchLedger.h"

#include "ledger/LedgerChanges.h"
#include "windows/YearlyStatementWindow.h"

#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

using namespace corvanta;
using namespace corvanta::bench;

namespace {

void BM_OpenYearlyStatement(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    ledger::LedgerNotifier notifier;
    windows::YearlyStatementWindow window(file.db, notifier);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.refresh();
        QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        window.render(&painter);
    }
}
BENCHMARK(BM_OpenYearlyStatement)
    ->Args({10'000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The reference: one pass over the ledger's rows, every column read.
void BM_ReadEveryLedgerRow(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        auto query = file.db.prepare("SELECT * FROM gpjl");
        qint64 cells = 0;
        while (query.step())
            cells += query.columnCount();
        benchmark::DoNotOptimize(cells);
    }
}
BENCHMARK(BM_ReadEveryLedgerRow)->Args({10'000, 500})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    return corvanta::bench::runWidgetBenchmarks(argc, argv);
}
