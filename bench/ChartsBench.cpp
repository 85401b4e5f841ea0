// Drawing the account charts: reading the series of a 10,000-trade ledger and
// painting all three pages. Target: under 200 ms. Runs on the offscreen platform
// unless QT_QPA_PLATFORM names another.

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
BENCHMARK(BM_DrawAccountCharts)->Args({10'000, 500})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    return corvanta::bench::runWidgetBenchmarks(argc, argv);
}
