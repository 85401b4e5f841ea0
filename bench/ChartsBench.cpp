// Drawing the account charts: reading the series of a 10,000- or 100,000-trade
// ledger and painting all three pages. Target: under 300 ms at 100,000 trades and
// linear in the trades; memory (the peak under /usr/bin/time -v, one benchmark
// at a time with --benchmark_filter) at most 30 MB above LedgerOnly's of that size. Runs on the
// offscreen platform unless QT_QPA_PLATFORM names another.

#include "BenchLedger.h"

#include "ledger/LedgerChanges.h"
#include "windows/AccountChartWindow.h"

#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QPainter>

using namespace corvanta;
using namespace corvanta::bench;

namespace {

// Paints a page's chart into an image the size of its view, as showing it would.
void paint(QChartView* view)
{
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    view->render(&painter);
}

void BM_DrawAccountCharts(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    ledger::LedgerNotifier notifier;
    windows::AccountChartWindow window(file.db, notifier);
    window.resize(900, 600);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.refresh();
        paint(window.moneyView());
        paint(window.profitView());
        paint(window.positionsView());
    }
}
BENCHMARK(BM_DrawAccountCharts)
    ->Args({10'000, 500})
    ->Args({100'000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The memory reference: the same ledger and a shown empty window, no charts.
void BM_LedgerOnly(benchmark::State& state)
{
    FileLedger file(int(state.range(0)), int(state.range(1)));
    QWidget window;
    window.resize(900, 600);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        QCoreApplication::processEvents();
}
BENCHMARK(BM_LedgerOnly)
    ->Args({10'000, 500})
    ->Args({100'000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    return corvanta::bench::runWidgetBenchmarks(argc, argv);
}
