// Start-up of the program in-process: from opening (or creating) the ledger file to
// the main window shown and exposed. Target: under 400 ms. Runs on the offscreen
// platform unless QT_QPA_PLATFORM names another.

#include "app/MainWindow.h"
#include "app/Program.h"
#include "ledger/LedgerFile.h"
#include "ledger/SeedList.h"

#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace corvanta;

namespace {

// What main() builds before the event loop runs, with the same platform pieces.
class StartedProgram {
public:
    explicit StartedProgram(const QString& ledgerPath)
        : m_program(ledger::openLedger(ledgerPath, ledger::loadSeedList()))
    {
        m_program.show();
    }

    bool waitUntilExposed() { return QTest::qWaitForWindowExposed(&m_program.mainWindow()); }

private:
    app::Program m_program;
};

// One start, timed up to the exposed window; closing the program is not timed.
// False when the window never showed (the benchmark is then skipped).
bool startOnce(benchmark::State& state, const QString& ledgerPath)
{
    auto program = std::make_unique<StartedProgram>(ledgerPath);
    if (!program->waitUntilExposed()) {
        state.SkipWithError("the main window was never exposed");
        return false;
    }
    state.PauseTiming();
    program.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    return true;
}

// First start in an empty folder: the ledger file is created and seeded.
void BM_StartWithNewLedger(benchmark::State& state)
{
    // One new file per start, all removed after the last.
    QTemporaryDir folder;
    int run = 0;
    for (auto _ : state) {
        const QString path = folder.filePath(QStringLiteral("ledger%1.mdb").arg(++run));
        if (!startOnce(state, path))
            break;
    }
}

// Every later start: the ledger file is there.
void BM_StartWithExistingLedger(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = ledger::ledgerPath(folder.path());
    ledger::openLedger(path, ledger::loadSeedList());
    for (auto _ : state) {
        if (!startOnce(state, path))
            break;
    }
}

// The first start of the process pays for loading fonts and styles once, as the
// real program does; it runs before the repeated starts above.
BENCHMARK(BM_StartWithExistingLedger)
    ->Name("FirstStartOfTheProcess/ExistingLedger")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_StartWithNewLedger)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartWithExistingLedger)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char* argv[])
{
    return corvanta::bench::runWidgetBenchmarks(argc, argv);
}
