// Drawing the account charts: reading the series of a 10,000- or 100,000-trade
// ledger and painting all three pages. Target: under 300 ms at 100,000 trades and
// linear in the trades; memory (the peak under /usr/bin/time -v, one benchmark
// at a time with --benchmark_filter) at most 30 MB above LedgerOnly's of that size. Runs on the
// offscreen platform unless QT_QPA_PLATFORM names another. With 500 分红送配 on a
// 10,000-trade ledger: x_no_events at most 1.2.

#include "BenchLedger.h"

#include "ledger/LedgerChanges.h"
#include "windows/AccountChartWindow.h"

#include "Paired.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QTabWidget>

using namespace corvanta;
using namespace corvanta::bench;
using namespace Qt::StringLiterals;

namespace {

// Shows a page, which draws its chart, and paints it into an image the size of
// its view, as showing it would.
void paint(windows::AccountChartWindow& window, int page, QChartView* view)
{
    window.pages()->setCurrentIndex(page);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    view->render(&painter);
}

// Reads the ledger again and shows the three pages in turn, the first last.
void paintPages(windows::AccountChartWindow& window)
{
    paint(window, 1, window.profitView());
    paint(window, 2, window.positionsView());
    paint(window, 0, window.moneyView());
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
        paintPages(window);
    }
}
BENCHMARK(BM_DrawAccountCharts)
    ->Args({10'000, 500})
    ->Args({100'000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void refreshAndPaint(windows::AccountChartWindow& window)
{
    window.refresh();
    paintPages(window);
}

// The charts of 10,000 trades in 500 stocks, each stock with one 分红送配
// (10派1元转5股 in the middle of its trades), against the same ledger without
// events in the same run.
void BM_DrawAccountChartsWithEvents(benchmark::State& state)
{
    constexpr int trades = 10'000, stocks = 500;
    FileLedger withEvents(trades, stocks);
    FileLedger without(trades, stocks);
    if (!addEventToEachStock(withEvents.db, stocks))
        state.SkipWithError("an event was refused");
    ledger::LedgerNotifier notifier;
    windows::AccountChartWindow measured(withEvents.db, notifier);
    windows::AccountChartWindow reference(without.db, notifier);
    for (windows::AccountChartWindow* window : {&measured, &reference}) {
        window->resize(900, 600);
        window->show();
    }
    QCoreApplication::processEvents();
    Paired paired(state);
    for (auto _ : state) {
        paired.reference("no_events", [&] { refreshAndPaint(reference); });
        paired.measure([&] { refreshAndPaint(measured); });
    }
    paired.report();
}
BENCHMARK(BM_DrawAccountChartsWithEvents)
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

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
