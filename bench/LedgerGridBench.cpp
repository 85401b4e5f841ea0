// The ledger grid of the running program on a 100,000-trade ledger: sorting,
// selecting, recording and deleting, each from the call to the repainted grid.
// Each is paired in the same run with the same step on a 100-trade ledger, and
// reports x_small, the ratio of the medians. Target: at most 100 ms each at
// 100,000 trades. Runs on the offscreen platform unless QT_QPA_PLATFORM names
// another.

#include "GeneratedLedger.h"
#include "Paired.h"

#include "app/LedgerController.h"
#include "app/LedgerPanel.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerWriter.h"
#include "ledger/TradeEntry.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

// A shown program over a generated ledger of `trades` trades in `stocks` stocks.
class GridProgram {
public:
    GridProgram(int trades, int stocks)
    {
        const QString path = ledger::ledgerPath(m_folder.path());
        {
            sql::Database db = ledger::openLedger(path, tools::benchStocks(500));
            tools::fillBenchLedger(db, trades, stocks);
        }
        // Opened again as the program opens an existing ledger.
        m_program = std::make_unique<app::Program>(ledger::openLedger(path, {}));
        m_program->show();
        if (!QTest::qWaitForWindowExposed(&m_program->mainWindow()))
            qWarning("the main window was never exposed");
    }

    app::LedgerController& controller() { return m_program->mainWindow().ledgerController(); }
    QTableView& grid() { return *m_program->mainWindow().ledger().ledgerGrid; }
    ledger::LedgerWriter& writer() { return m_program->ledgerWriter(); }

    // What the user sees next: the grid painted.
    void repaint()
    {
        QCoreApplication::processEvents();
        grid().viewport()->repaint();
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<app::Program> m_program;
};

// Built on first use, gone before the application.
std::unique_ptr<GridProgram> smallProgram, largeProgram;

GridProgram& small()
{
    if (!smallProgram)
        smallProgram = std::make_unique<GridProgram>(100, 10);
    return *smallProgram;
}

GridProgram& large()
{
    if (!largeProgram)
        largeProgram = std::make_unique<GridProgram>(100'000, 500);
    return *largeProgram;
}

ledger::TradeEntry buyEntry()
{
    ledger::TradeEntry entry;
    entry.date = QDate(2026, 3, 2);
    entry.code = tools::benchStockCode(7);
    entry.name = tools::benchStockName(7);
    entry.direction = Direction::Buy;
    entry.quantity = u"1000"_s;
    entry.price = u"10"_s;
    entry.totalFees = u"10"_s;
    entry.total = u"10010"_s;
    entry.stampDuty = u"0"_s;
    entry.commission = u"5"_s;
    entry.transferAndOther = u"5"_s;
    entry.breakEven = u"10.01"_s;
    entry.otherFee = u"5"_s;
    return entry;
}

// Runs `step` on the large ledger (measured) and the small one (the reference).
template <typename Step> void pairedSteps(benchmark::State& state, Step step)
{
    // Both programs are built before the clock runs: the first step of the first
    // benchmark would otherwise time the making of a 100,000-trade ledger.
    small();
    large();
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.reference("small", [&] { step(small()); });
        paired.measure([&] { step(large()); });
    }
    paired.report();
}

void BM_SortByNameThenDate(benchmark::State& state)
{
    pairedSteps(state, [](GridProgram& p) {
        const auto order = p.controller().sortOrder() == ledger::LedgerSortOrder::ByDate
                               ? ledger::LedgerSortOrder::ByName
                               : ledger::LedgerSortOrder::ByDate;
        p.controller().setSortOrder(order);
        p.repaint();
    });
}

void BM_SelectRow(benchmark::State& state)
{
    std::mt19937 random(7);
    pairedSteps(state, [&random](GridProgram& p) {
        QTableView& grid = p.grid();
        const int rows = grid.model()->rowCount();
        const int row = int(random() % unsigned(rows));
        grid.setCurrentIndex(grid.model()->index(row, 0));
        grid.scrollTo(grid.currentIndex());
        p.controller().selectCurrentRow();
        p.repaint();
    });
}

// Records a buy, then deletes it again (the deletion not timed).
void BM_RecordTrade(benchmark::State& state)
{
    bench::Paired paired(state);
    for (auto _ : state) {
        for (GridProgram* p : {&small(), &large()}) {
            ledger::RecordOutcome outcome;
            const auto step = [&] {
                outcome = p->writer().record(buyEntry());
                p->controller().moveTo(outcome.id);
                p->repaint();
            };
            if (p == &small())
                paired.reference("small", step);
            else
                paired.measure(step);
            p->writer().deleteTrade(outcome.id);
            QCoreApplication::processEvents();
        }
    }
    paired.report();
}

// Deletes a buy recorded just before (the recording not timed).
void BM_DeleteTrade(benchmark::State& state)
{
    bench::Paired paired(state);
    for (auto _ : state) {
        for (GridProgram* p : {&small(), &large()}) {
            const qint64 id = p->writer().record(buyEntry()).id;
            QCoreApplication::processEvents();
            const auto step = [&] {
                p->writer().deleteTrade(id);
                p->repaint();
            };
            if (p == &small())
                paired.reference("small", step);
            else
                paired.measure(step);
        }
    }
    paired.report();
}

BENCHMARK(BM_SortByNameThenDate)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SelectRow)->Iterations(20)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_RecordTrade)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DeleteTrade)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    smallProgram.reset();
    largeProgram.reset();
    return 0;
}
