// Start-up of the program in-process: from opening (or creating) the ledger file to
// the main window shown and exposed. Runs on the offscreen platform unless
// QT_QPA_PLATFORM names another.
//
// StartAgainstBareWindow pairs each start with its references in the same run: a
// bare window of the main window's size with one CJK label, and that window plus
// opening the ledger with its key (the key derivation). Targets: x_bare_key at most
// 1.3 on the 2-row ledger and 1.5 on the 100,000-trade one.

#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/SummaryController.h"
#include "ledger/LedgerFile.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "windows/AccountCharts.h"

#include "GeneratedLedger.h"
#include "Paired.h"
#include "WidgetBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <QFile>
#include <QWidget>

#include <malloc.h>
#include <memory>

using namespace corvanta;

namespace {

// What main() builds before the event loop runs, with the same platform pieces:
// an existing ledger opens without parsing the stock list, and its pages are read
// whole once the window has shown.
class StartedProgram {
public:
    explicit StartedProgram(const QString& ledgerPath)
        : m_program(ledger::openLedgerSeededBy(ledgerPath, &ledger::loadSeedList,
                                               ledger::PageCheck::Later))
    {
        m_program.checkPagesOnceShown(ledgerPath);
        m_program.show();
    }

    bool waitUntilExposed() { return QTest::qWaitForWindowExposed(&m_program.mainWindow()); }
    app::MainWindow& mainWindow() const { return m_program.mainWindow(); }
    app::SummaryController& summary() const { return m_program.summary(); }
    app::Program& program() { return m_program; }
    QSize windowSize() const { return m_program.mainWindow().size(); }

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

// A window of `size` with one CJK label, shown until exposed, then closed.
bool showBareWindow(const QSize& size)
{
    QWidget window;
    window.resize(size);
    auto* label = new QLabel(QStringLiteral("股市有风险 投资须谨慎"), &window);
    label->move(20, 20);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

// Opens the ledger with its key and reads from it, which derives the key.
void deriveKey(const QString& ledgerPath)
{
    sql::Database db = sql::Database::open(ledgerPath, QByteArray(ledger::ledgerKey),
                                           sql::Database::Mode::ReadWrite);
    auto count = db.prepare("SELECT count(*) FROM sqlite_master");
    count.step();
}

// The program's start paired with the bare window and the bare window plus the key
// derivation, on the first start's 2-row ledger (0) or a generated one of that many
// trades.
void BM_StartAgainstBareWindow(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = ledger::ledgerPath(folder.path());
    {
        sql::Database db = ledger::openLedger(path, ledger::loadSeedList());
        if (state.range(0) > 0)
            tools::fillBenchLedger(db, int(state.range(0)), 500);
    }
    QSize size;
    {
        StartedProgram first(path);
        first.waitUntilExposed();
        size = first.windowSize();
    }
    QCoreApplication::processEvents();
    bench::Paired paired(state);
    for (auto _ : state) {
        paired.reference("bare", [&] { showBareWindow(size); });
        QCoreApplication::processEvents();
        paired.reference("bare_key", [&] {
            deriveKey(path);
            showBareWindow(size);
        });
        QCoreApplication::processEvents();
        std::unique_ptr<StartedProgram> program;
        paired.measure([&] {
            program = std::make_unique<StartedProgram>(path);
            program->waitUntilExposed();
        });
        program.reset();
        QCoreApplication::processEvents();
    }
    paired.report();
}

// The resident memory of the process in MB, from /proc.
double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Resident memory with the windows of a ledger of that many trades: first a bare
// window of the main window's size (the reference, `bare_mb`), then the program at
// rest, after opening the account charts, the summary, the yearly statement and a
// stock's trades once each, and after closing them again. One iteration: each
// figure is the process's RSS at that point; `trimmed_mb` is the same after the
// allocator has handed its free pages back, which tells memory still held from
// memory freed but kept by the allocator. Targets: `opened_mb` at most 60 at
// 10,000 trades, `closed_mb` within 5 of `rest_mb`. The charts draw a page when
// it is shown: `every_page_mb` is the figure once each of their pages has shown.
// The monitor is left out: it fetches quotes from the network.
void BM_WindowMemory(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = ledger::ledgerPath(folder.path());
    {
        sql::Database db = ledger::openLedger(path, ledger::loadSeedList());
        tools::fillBenchLedger(db, int(state.range(0)), 500);
    }
    for (auto _ : state) {
        showBareWindow(QSize(800, 600));
        settle();
        state.counters["bare_mb"] = residentMB();
        StartedProgram program(path);
        program.waitUntilExposed();
        settle();
        state.counters["rest_mb"] = residentMB();

        // Offline: the summary is the plain one and nothing leaves the machine.
        program.program().network().setNetworkOk(false);
        app::MainWindow& main = program.mainWindow();
        main.menus().accountCharts->trigger();
        settle();
        program.summary().requestSummary();
        settle();
        main.menus().yearlyStatement->trigger();
        settle();
        main.menus().stockTrades->trigger();
        settle();
        state.counters["opened_mb"] = residentMB();
        if (windows::AccountCharts* charts = program.program().accountCharts()) {
            for (int page = charts->pages()->count() - 1; page >= 0; --page) {
                charts->pages()->setCurrentIndex(page);
                settle();
            }
        }
        state.counters["every_page_mb"] = residentMB();

        program.summary().showLedger();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &main && window->isVisible())
                window->close();
        }
        settle();
        state.counters["closed_mb"] = residentMB();
        malloc_trim(0);
        state.counters["trimmed_mb"] = residentMB();
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
BENCHMARK(BM_StartAgainstBareWindow)
    ->Arg(0)
    ->Arg(100'000)
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_WindowMemory)->Arg(10'000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("CORVANTA_CHARTS_MODULE"))
        qputenv("CORVANTA_CHARTS_MODULE", CORVANTA_CHARTS_MODULE_FILE);
    return corvanta::bench::runWidgetBenchmarks(argc, argv);
}
