#include "MainWindowTestSupport.h"

#include "app/LedgerController.h"
#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/MonitorController.h"
#include "ledger/LedgerView.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/Settings.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "quote-server/QuoteServer.h"
#include "report/MonitorSession.h"
#include "windows/DateRangeDialog.h"
#include "windows/MonitorFontWindow.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorWindow.h"
#include "windows/TickerBar.h"
#include "windows/UsageNotesWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

const QList<tools::ListedStock> listedStocks{
    {u"000709"_s, u"唐钢股份"_s}, {u"600000"_s, u"沪市股票0"_s}, {u"600001"_s, u"沪市股票1"_s}};

qint64 monitoredRows(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT count(*) FROM gpjl WHERE 股票名 = ? AND 监控状态 = '是'");
    query.bind(1, name);
    return query.step() ? query.int64(0) : -1;
}

} // namespace

// The live monitor inside the running program: the ledger popup's monitor list
// commands, "实时监控(&D)" against a local quote server, and the floating bar.
class MainWindowMonitorTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void markingFollowsInTheGrid();
    void listCommandsMarkTheBarForRebuild_data();
    void listCommandsMarkTheBarForRebuild();
    void monitorItemStartsAPass();
    void monitorWithoutNetworkStartsNothing();
    void floatingBarAndBack();
    void fontWindowAndUsageNotesFromTheMenus();

private:
    app::Program& program() const { return h->program(); }
    app::MonitorController& monitor() const { return program().monitor(); }
    app::MainMenus& menus() const { return h->window().menus(); }
    QTableView* grid() const { return h->window().ledger().ledgerGrid; }
    const ledger::LedgerRow* currentRow() const
    {
        return h->window().ledgerController().currentRow();
    }
    // Opens the program over the local server, on the ledger's first row.
    [[nodiscard]] bool openOnFirstRow();
    void openMonitorFromPopup();

    std::unique_ptr<tools::QuoteServer> server;
    std::unique_ptr<Harness> h;
};

void MainWindowMonitorTest::init()
{
    server = std::make_unique<tools::QuoteServer>(listedStocks, tools::QuoteServerOptions{});
    QVERIFY(server->listen());
    h = std::make_unique<Harness>(true);
    addTrade(h->db, u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s, u"2021-03-01"_s);
    addTrade(h->db, u"600001"_s, u"沪\"市1"_s, Direction::Buy, 200, u"9"_s, u"2021-04-01"_s);
    ledger::saveQuoteServer(h->db, server->address().toString());
    ledger::saveQuoteSourceRow(h->db, ledger::QuoteSourceRow::Choice, u"金融界"_s);
}

void MainWindowMonitorTest::cleanup()
{
    h.reset();
    server.reset();
}

bool MainWindowMonitorTest::openOnFirstRow()
{
    if (!h->open())
        return false;
    monitor().session().setPause(std::chrono::milliseconds(5));
    clickGridRow(grid(), 0);
    return currentRow() != nullptr;
}

void MainWindowMonitorTest::openMonitorFromPopup()
{
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(menus().ledgerMonitor->isEnabled());
    menus().ledgerMonitor->trigger();
}

// Removing and adding the current stock marks all its rows and the grid shows it
// at once, on the same row; the popup offers the command that applies.
void MainWindowMonitorTest::markingFollowsInTheGrid()
{
    QVERIFY(openOnFirstRow());
    const QString name = currentRow()->cells[ledger::NameColumn];
    QCOMPARE(name, u"唐钢股份"_s);
    QCOMPARE(currentRow()->monitor, u"是"_s);
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(!menus().monitorAdd->isEnabled());
    QVERIFY(menus().monitorRemove->isEnabled());

    menus().monitorRemove->trigger();
    QCOMPARE(monitoredRows(h->db, name), 0);
    QCOMPARE(currentRow()->cells[ledger::NameColumn], name);
    QCOMPARE(currentRow()->monitor, u"否"_s);
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(menus().monitorAdd->isEnabled());
    QVERIFY(!menus().monitorRemove->isEnabled());

    menus().monitorAdd->trigger();
    QCOMPARE(monitoredRows(h->db, name), 2); // the buy and its open position
    QCOMPARE(currentRow()->monitor, u"是"_s);

    // A name holding a double quote is marked like any other.
    clickGridRow(grid(), 2);
    QCOMPARE(currentRow()->cells[ledger::NameColumn], u"沪\"市1"_s);
    menus().monitorAdd->trigger();
    QCOMPARE(monitoredRows(h->db, u"沪\"市1"_s), 2);
    QCOMPARE(currentRow()->monitor, u"是"_s);
}

void MainWindowMonitorTest::listCommandsMarkTheBarForRebuild_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("rebuild");
    QTest::addColumn<qint64>("monitoredFirst"); // rows of 沪市股票0 afterwards

    QTest::newRow("add") << u"add"_s << true << qint64(0);
    QTest::newRow("remove") << u"remove"_s << true << qint64(0);
    QTest::newRow("add all") << u"addAll"_s << true << qint64(2);
    QTest::newRow("remove all") << u"removeAll"_s << true << qint64(0);
    QTest::newRow("add unsold") << u"addUnsold"_s << false << qint64(2);
    QTest::newRow("bought between") << u"range"_s << false << qint64(2);
}

// Commands that change which stocks the bar rotates mark its lines for rebuilding;
// adding stocks by their state or dates does not.
void MainWindowMonitorTest::listCommandsMarkTheBarForRebuild()
{
    QFETCH(QString, command);
    QFETCH(bool, rebuild);
    QFETCH(qint64, monitoredFirst);
    QVERIFY(openOnFirstRow());
    QVERIFY(!monitor().session().ticker().rebuildPending());

    app::MainMenus& m = menus();
    if (command == u"range"_s) {
        QSignalSpy stops(&monitor(), &app::MonitorController::mainTimerStopRequested);
        QSignalSpy starts(&monitor(), &app::MonitorController::mainTimerStartRequested);
        m.monitorAddRange->trigger();
        windows::DateRangeDialog& range = monitor().dateRange();
        QVERIFY(range.isVisible());
        QCOMPARE(stops.count(), 1);
        range.firstDate()->setDate(QDate(2021, 3, 1));
        range.lastDate()->setDate(QDate(2021, 3, 31));
        range.okButton()->click();
        QVERIFY(!range.isVisible());
        QCOMPARE(starts.count(), 1);
        QCOMPARE(monitoredRows(h->db, u"沪\"市1"_s), 0); // bought in April
    } else {
        QAction* action = command == u"add"_s         ? m.monitorAdd
                          : command == u"remove"_s    ? m.monitorRemove
                          : command == u"addAll"_s    ? m.monitorAddAll
                          : command == u"removeAll"_s ? m.monitorRemoveAll
                                                      : m.monitorAddUnsold;
        action->trigger();
    }
    QCOMPARE(monitor().session().ticker().rebuildPending(), rebuild);
    QCOMPARE(monitoredRows(h->db, u"沪市股票0"_s), monitoredFirst);
}

// "实时监控(&D)" on a ledger row with the network up: the main window goes to the
// tray, the monitor shows and a pass fetches the monitored stock from the server.
void MainWindowMonitorTest::monitorItemStartsAPass()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    QSignalSpy passes(&monitor().session(), &report::MonitorSession::passFinished);
    QSignalSpy stops(&monitor(), &app::MonitorController::mainTimerStopRequested);
    openMonitorFromPopup();

    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(window.isVisible());
    QVERIFY(!h->window().isVisible());
    QVERIFY(h->tray.isVisible());
    QCOMPARE(stops.count(), 1);
    QCOMPARE(program().network().quoteThrottleTicks(), -99999);
    QCOMPARE(window.head()->code->text(), u"000709"_s); // the ledger row's stock heads
    QVERIFY(passes.wait(10000));
    QCOMPARE(passes.constFirst().constFirst().toBool(), true);
    QVERIFY(!server->requests().isEmpty());
    QVERIFY(monitor().session().isMonitoring());
    QVERIFY(window.head()->monitoring->isChecked());
    QVERIFY(monitor().session().monitorQuoteLines().join(u'\n').contains(u"000709"_s));
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(!menus().ledgerMonitor->isEnabled()); // not while the monitor shows

    // Closing the monitor brings the main window back and restarts its timer.
    QSignalSpy starts(&monitor(), &app::MonitorController::mainTimerStartRequested);
    window.close();
    QVERIFY(h->window().isVisible());
    QVERIFY(!h->tray.isVisible());
    QCOMPARE(starts.count(), 1);
    QCOMPARE(program().network().quoteThrottleTicks(), 0);
    QVERIFY(!monitor().session().isMonitoring());
}

// Without the network the monitor opens waiting; the main timer's tick that
// finds the network switches monitoring on.
void MainWindowMonitorTest::monitorWithoutNetworkStartsNothing()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(false);
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(!menus().ledgerMonitor->isEnabled());
    menus().trayRealtime->trigger();
    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(window.isVisible());
    QVERIFY(!monitor().session().isPassRunning());
    QVERIFY(!window.head()->monitoring->isChecked());

    program().network().setNetworkOk(true);
    program().onMainTimerTick(true);
    QVERIFY(window.head()->monitoring->isChecked());
    QVERIFY(monitor().session().isMonitoring());
}

// The floating bar takes the monitor's place and gives it back; the main window
// stays in the tray meanwhile. The bar goes when the program closes.
void MainWindowMonitorTest::floatingBarAndBack()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    QSignalSpy passes(&monitor().session(), &report::MonitorSession::passFinished);
    program().onMainTimerTick(true);
    QVERIFY(menus().floatingBar->isEnabled());
    menus().floatingBar->trigger();

    windows::TickerBar* bar = monitor().bar();
    QVERIFY(bar);
    QVERIFY(bar->isVisible());
    QVERIFY(!monitor().monitorWindow().isVisible());
    QVERIFY(!h->window().isVisible());
    QVERIFY(monitor().session().ticker().isActive());
    QVERIFY(passes.wait(10000));
    QVERIFY(monitor().session().isMonitoring()); // monitoring goes on behind the bar
    Q_EMIT menus().trayPopup->aboutToShow();
    QVERIFY(!menus().trayFloating->isEnabled());

    bar->close();
    QVERIFY(!bar->isVisible());
    QVERIFY(monitor().monitorWindow().isVisible());
    QVERIFY(!monitor().session().ticker().isActive());
    QVERIFY(!h->window().isVisible());

    monitor().monitorWindow().switchToFloatingBar();
    QVERIFY(bar->isVisible());
    h->window().close();
    QVERIFY(!monitor().bar());
    QVERIFY(!monitor().monitorWindow().isVisible());
}

// The settings menu opens the font window, whose font the saved settings keep; the
// help menu opens the usage notes.
void MainWindowMonitorTest::fontWindowAndUsageNotesFromTheMenus()
{
    QVERIFY(h->open());
    QVERIFY(menus().monitorFont->isEnabled());
    menus().monitorFont->trigger();
    windows::MonitorFontWindow& fonts = monitor().fontWindow();
    QVERIFY(fonts.isVisible());
    fonts.sizes()->setCurrentIndex(3);
    fonts.bold()->setChecked(true);
    fonts.applyButton()->click();
    QCOMPARE(monitor().monitorWindow().gridFont().sizeIndex, 3);

    menus().saveSettings->trigger();
    const ledger::LoadedSettings saved = ledger::loadSettings(h->db);
    QCOMPARE(saved.font.sizeIndex, 3);
    QVERIFY(saved.font.bold);

    QVERIFY(menus().tutorial->isEnabled());
    menus().tutorial->trigger();
    QVERIFY(monitor().usageNotes().isVisible());
}

int runMonitorTests(int argc, char* argv[])
{
    MainWindowMonitorTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestMonitor.moc"
