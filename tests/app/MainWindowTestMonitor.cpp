#include "MainWindowTestSupport.h"

#include "app/InfoPages.h"
#include "app/LedgerController.h"
#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/MainTimerPauses.h"
#include "app/MonitorController.h"
#include "app/QuoteRefreshController.h"
#include "app/SummaryController.h"
#include "app/TradeDetailPanel.h"
#include "app/TradePanel.h"
#include "ledger/LedgerView.h"
#include "ledger/LedgerWriter.h"
#include "ledger/MonitorList.h"
#include "ledger/QuoteServerSetting.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/Settings.h"
#include "ledger/sql/Statement.h"
#include "market/NetworkState.h"
#include "monitor/MonitorSession.h"
#include "quote-server/QuoteServer.h"
#include "report/MonitorTableModel.h"
#include "report/TradeDetailModel.h"
#include "windows/CodeLookupWindow.h"
#include "windows/DateRangeDialog.h"
#include "windows/MonitorFontWindow.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorQuotePanels.h"
#include "windows/MonitorWindow.h"
#include "windows/TickerBar.h"
#include "windows/UsageNotesWindow.h"

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
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

private Q_SLOTS:
    void init();
    void cleanup();

    void markingFollowsInTheGrid();
    void listCommandsMarkTheBarForRebuild_data();
    void listCommandsMarkTheBarForRebuild();
    void listChangesElsewhereReachTheBar_data();
    void listChangesElsewhereReachTheBar();
    void monitorItemStartsAPass();
    void dateRangeAndMonitorPauseTheMainTimerEach_data();
    void dateRangeAndMonitorPauseTheMainTimerEach();
    void firstPassAsksForTheCurrentStock();
    void openingTheMonitorLeavesTheMainWindow();
    void monitoredStocksInTheDetailPanel();
    void lifecycleThroughTheWindows();
    void failuresThroughTheWindows();
    void emptyListWaitsAtOnce();
    void monitorWithoutNetworkStartsNothing();
    void floatingBarAndBack();
    void theCodeLookupFillsTheMonitorsCandidates();
    void theHeadsTradeIsTheMainWindowsTrade();
    void aNewHeadStockCarriesNoOtherStocksTrade_data();
    void aNewHeadStockCarriesNoOtherStocksTrade();
    void theChartLinkOffersThePortalPages_data();
    void theChartLinkOffersThePortalPages();
    void fontWindowAndUsageNotesFromTheMenus();
    void aBusyLedgerIsToldAndTheProgramGoesOn();
    void mnemonicsAreLettersOrDigits();

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
    endTest(h);
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
        QSignalSpy pauses(&monitor(), &app::MonitorController::dateRangePauseWanted);
        m.monitorAddRange->trigger();
        windows::DateRangeDialog& range = monitor().dateRange();
        QVERIFY(range.isVisible());
        QCOMPARE(pauses.count(), 1);
        QVERIFY(program().mainTimerPauses().paused());
        range.firstDate()->setDate(QDate(2021, 3, 1));
        range.lastDate()->setDate(QDate(2021, 3, 31));
        range.okButton()->click();
        QVERIFY(!range.isVisible());
        QCOMPARE(pauses.count(), 2);
        QVERIFY(!program().mainTimerPauses().paused());
        QCOMPARE(monitoredRows(h->db, u"沪\"市1"_s), 0); // bought in April
    } else {
        // Adding is offered on a stock not yet monitored.
        if (command == u"add"_s)
            clickGridRow(grid(), 2);
        QAction* action = command == u"add"_s         ? m.monitorAdd
                          : command == u"remove"_s    ? m.monitorRemove
                          : command == u"addAll"_s    ? m.monitorAddAll
                          : command == u"removeAll"_s ? m.monitorRemoveAll
                                                      : m.monitorAddUnsold;
        QVERIFY(action->isEnabled());
        action->trigger();
    }
    QCOMPARE(monitor().session().ticker().rebuildPending(), rebuild);
    QCOMPARE(monitoredRows(h->db, u"沪市股票0"_s), monitoredFirst);
}

void MainWindowMonitorTest::listChangesElsewhereReachTheBar_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("rebuilt");
    QTest::newRow("removed through the list") << u"remove"_s << true;
    QTest::newRow("a monitored stock renamed") << u"rename"_s << true;
    QTest::newRow("unsold stocks added") << u"addUnsold"_s << false;
    QTest::newRow("a trade recorded") << u"record"_s << false;
}

// The floating bar's lines follow the monitor list whoever changes it: changed
// through the ledger's own classes, which know nothing of the bar, the lines are
// built again at the next showing of the monitor window, as after the popup's
// commands; adding stocks by their state keeps them.
void MainWindowMonitorTest::listChangesElsewhereReachTheBar()
{
    QFETCH(QString, change);
    QFETCH(bool, rebuilt);
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    monitor::MonitorSession& session = monitor().session();
    QSignalSpy passes(&session, &monitor::MonitorSession::passFinished);
    program().onMainTimerTick(true);
    menus().floatingBar->trigger();
    windows::TickerBar* bar = monitor().bar();
    QVERIFY(bar && bar->isVisible());
    QVERIFY(passes.wait(10000));
    // The first cycle posts the head line, the second the first stock's line.
    for (int cycle = 0; cycle < 2; ++cycle) {
        QSignalSpy cycles(&session, &monitor::MonitorSession::cycleFinished);
        session.tick();
        QVERIFY(cycles.wait(10000));
    }
    QVERIFY(bar->displayItems()[2]->isVisible());
    const QStringList lines = session.ticker().lines();
    QVERIFY(lines.size() >= 2);

    ledger::LedgerWriter& writer = program().ledgerWriter();
    ledger::MonitorList list(h->db, writer.notifier());
    if (change == u"remove"_s)
        list.remove(u"唐钢股份"_s);
    else if (change == u"rename"_s)
        writer.renameStock(u"000709"_s, u"河钢股份"_s, u"HGGF"_s);
    else if (change == u"addUnsold"_s)
        list.addUnsold();
    else
        QVERIFY(writer.record(tradeEntry(u"600000"_s, u"沪市股票0"_s, Direction::Buy, 100, u"8"_s))
                    .recorded());

    // Back to the monitor window and out to the bar again.
    bar->close();
    QVERIFY(monitor().monitorWindow().isVisible());
    monitor().monitorWindow().switchToFloatingBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->displayItems()[2]->isVisible(), !rebuilt);
    QCOMPARE(session.ticker().lines(), rebuilt ? QStringList() : lines);
}

// "实时监控(&D)" on a ledger row with the network up: the main window goes to the
// tray, the monitor shows and a pass fetches the monitored stock from the server.
void MainWindowMonitorTest::monitorItemStartsAPass()
{
    QVERIFY(openOnFirstRow());
    // The monitor window is built by this first use of its item, not at start.
    for (QWidget* widget : QApplication::allWidgets())
        QVERIFY(!qobject_cast<windows::MonitorWindow*>(widget));
    program().network().setNetworkOk(true);
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
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

void MainWindowMonitorTest::dateRangeAndMonitorPauseTheMainTimerEach_data()
{
    QTest::addColumn<bool>("rangeClosesFirst");
    QTest::newRow("the date range closes first") << true;
    QTest::newRow("the monitor closes first") << false;
}

// The date range is left open and the monitor opened beside it: whichever closes
// first, the main window's timer stays paused while the other still shows.
void MainWindowMonitorTest::dateRangeAndMonitorPauseTheMainTimerEach()
{
    QFETCH(bool, rangeClosesFirst);
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    const app::MainTimerPauses& pauses = program().mainTimerPauses();
    app::QuoteRefreshController& quotes = h->window().quotes();
    QVERIFY(quotes.timerActive());
    menus().monitorAddRange->trigger();
    windows::DateRangeDialog& range = monitor().dateRange();
    QVERIFY(range.isVisible());
    QVERIFY(pauses.paused());
    openMonitorFromPopup();
    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(window.isVisible());

    if (rangeClosesFirst) {
        range.close();
        QVERIFY(pauses.paused());
        QVERIFY(!quotes.timerActive());
        window.close();
    } else {
        window.close();
        QVERIFY(h->window().isVisible());
        QVERIFY(pauses.paused());
        QVERIFY(!quotes.timerActive());
        range.close();
    }
    QVERIFY(!pauses.paused());
    QVERIFY(quotes.timerActive());
}

// The pass that "实时监控(&D)" starts asks first for the stock the main window
// shows, not for the one the monitor showed before nor the fixed code.
void MainWindowMonitorTest::firstPassAsksForTheCurrentStock()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    clickGridRow(grid(), 1);
    QCOMPARE(currentRow()->cells[ledger::NameColumn], u"沪市股票0"_s);
    QCOMPARE(h->window().trade().code->text(), u"600000"_s);
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    windows::MonitorWindow& window = monitor().monitorWindow();
    QCOMPARE(window.head()->code->text(), u"600000"_s);
    QVERIFY(passes.wait(10000));
    QCOMPARE(passes.constFirst().constFirst().toBool(), true);
    QVERIFY(!server->requests().isEmpty());
    QCOMPARE(server->requests().first().target, QByteArray("/htmdata/html/600000.htm"));
    QVERIFY(monitor().session().monitorQuoteLines().first().startsWith(u"600000,"_s));

    // Back in the main window, another stock; the monitor again asks for it first.
    window.close();
    QVERIFY(h->window().isVisible());
    clickGridRow(grid(), 2);
    QCOMPARE(h->window().trade().code->text(), u"600001"_s);
    const qsizetype before = server->requests().size();
    passes.clear();
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    QCOMPARE(server->requests().at(before).target, QByteArray("/htmdata/html/600001.htm"));
    window.close();
}

// Opening the monitor shows amounts in 元 again, resets the ledger caption and
// stops the single-stock refresh; closing it brings the main window back with its
// timer and stops monitoring.
void MainWindowMonitorTest::openingTheMonitorLeavesTheMainWindow()
{
    QVERIFY(openOnFirstRow());
    app::MainWindow& w = h->window();
    app::TradePanel& t = w.trade();
    program().network().setNetworkOk(false);
    w.viewSelector().setCurrentIndex(1); // the plain summary, with its own caption
    QVERIFY(w.ledger().title() != u"交易记录"_s);
    program().network().setNetworkOk(true);
    priceTrade(w, u"1200"_s, u"14.46"_s);
    const QString paid = t.zfze->text();
    QTest::keyClick(t.amountUnit, Qt::Key_Down);
    QCOMPARE(t.amountUnit->currentText(), u"万元"_s);
    // Entering the inputs to type the trade stopped the refresh the chosen row
    // started; it is switched on again from the menu.
    QVERIFY(!menus().tradeRefresh->isChecked());
    menus().tradeRefresh->trigger();
    QVERIFY(t.refreshProgress->isVisible());
    t.refreshProgress->setValue(5);

    Q_EMIT menus().tradePopup->aboutToShow();
    QVERIFY(menus().tradeMonitor->isEnabled());
    menus().tradeMonitor->trigger();
    QCOMPARE(t.amountUnit->currentText(), u"元"_s);
    QCOMPARE(t.zfze->text(), paid);
    QCOMPARE(w.ledger().title(), u"交易记录"_s);
    QVERIFY(!menus().tradeRefresh->isChecked());
    QVERIFY(!menus().trayRefresh->isChecked());
    QVERIFY(t.refreshProgress->isHidden());
    QCOMPARE(t.refreshProgress->value(), 0);
    QVERIFY(!w.quotes().timerActive());
    QVERIFY(!w.isVisible());
    QVERIFY(h->tray.isVisible());
    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(window.isVisible());
    QCOMPARE(window.head()->paid->text(), paid); // copied in 元, not 1.7426
    QCOMPARE(monitor().session().state(), monitor::MonitorSession::State::Loading);

    window.close();
    QVERIFY(w.isVisible());
    QVERIFY(!h->tray.isVisible());
    QVERIFY(w.quotes().timerActive());
    QCOMPARE(program().network().quoteThrottleTicks(), 0);
    QVERIFY(!window.head()->monitoring->isChecked());
    QVERIFY(!window.head()->interval->isEnabled());
    QVERIFY(!monitor().session().isTimerActive());
}

// "显示所有被实时监控股票(&S)" lists the monitored stocks with their buys summed in
// the detail panel, all red. Selecting ledger rows leaves the listing; a change of
// the list shows at once; a stock's trades or closing the panel end it.
void MainWindowMonitorTest::monitoredStocksInTheDetailPanel()
{
    QVERIFY(openOnFirstRow());
    app::SummaryController& summary = program().summary();
    app::TradeDetailPanel& panel = summary.detailPanel();
    const report::TradeDetailModel& model = summary.detailModel();
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(menus().monitorShowAll->isEnabled());
    menus().monitorShowAll->trigger();
    QVERIFY(panel.isVisible());
    QCOMPARE(panel.title(), u"实时监控股票列表"_s);
    QCOMPARE(panel.geometry(), QRect(0, 196, 553, 142));
    QVERIFY(model.showsMonitoredStocks());
    QVERIFY(model.locked());
    QStringList titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QCOMPARE(titles, QStringList({u"股票名"_s, u"买入总数"_s, u"买入平均价"_s, u"买入费用合计"_s,
                                  u"买入金额合计"_s}));
    QCOMPARE(gridColumn(panel.grid, 0), QStringList{u"唐钢股份"_s});

    // Another ledger row: the listing stays; adding that stock lists it too.
    clickGridRow(grid(), 2);
    QCOMPARE(currentRow()->cells[ledger::NameColumn], u"沪\"市1"_s);
    QVERIFY(model.showsMonitoredStocks());
    Q_EMIT menus().ledgerPopup->aboutToShow();
    QVERIFY(menus().monitorAdd->isEnabled());
    menus().monitorAdd->trigger();
    QCOMPARE(gridColumn(panel.grid, 0), QStringList({u"唐钢股份"_s, u"沪\"市1"_s}));
    QCOMPARE(gridColumn(panel.grid, 1).last(), u"200"_s);
    QCOMPARE(gridColumn(panel.grid, 2).last(), u"9"_s);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.index(row, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::red));

    // The stock's trades replace the listing and unlock the panel.
    menus().stockTrades->trigger();
    QVERIFY(!model.showsMonitoredStocks());
    QVERIFY(!model.locked());
    QCOMPARE(model.columnCount(), int(report::TradeDetailColumnCount));
    QCOMPARE(panel.title(), u"交易明细"_s);

    menus().monitorShowAll->trigger();
    QVERIFY(model.locked());
    panel.closeAction->trigger();
    QVERIFY(!panel.isVisible());
    QVERIFY(!model.locked());
}

// Every monitoring state from the windows: stopped, loading (the monitor item; a
// second start meanwhile is refused), waiting (the pass ended) and cycling (each
// tick of the monitor timer), the switch and closing the window stopping it, the
// switch and "重新连接(&N)" on the floating bar starting it again.
void MainWindowMonitorTest::lifecycleThroughTheWindows()
{
    using State = monitor::MonitorSession::State;
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    monitor::MonitorSession& session = monitor().session();
    windows::MonitorWindow& window = monitor().monitorWindow();
    QCheckBox* monitoring = window.head()->monitoring;
    QCOMPARE(session.state(), State::Off);

    tools::QuoteServerOptions slow;
    slow.delay = std::chrono::milliseconds(300);
    server->setOptions(slow);
    QSignalSpy passes(&session, &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    QCOMPARE(session.state(), State::Loading);
    QVERIFY(!monitoring->isEnabled());
    // The tray's floating bar item runs the monitor item again: no second pass.
    Q_EMIT menus().trayPopup->aboutToShow();
    QVERIFY(menus().trayFloating->isEnabled());
    menus().trayFloating->trigger();
    QVERIFY(monitor().bar()->isVisible());
    QVERIFY(passes.wait(10000));
    QCOMPARE(passes.count(), 1);
    QCOMPARE(server->requests().count(), 1); // the head and the list share 000709
    QCOMPARE(session.state(), State::Waiting);
    monitor().bar()->close();
    QVERIFY(window.isVisible());
    QVERIFY(monitoring->isEnabled() && monitoring->isChecked());
    QVERIFY(window.head()->interval->isEnabled());
    server->setOptions({});

    // The monitor timer, a second lasting a millisecond: cycles one after another.
    QList<State> atTick;
    QList<State> atEnd;
    QObject scope; // the recording ends with the test
    connect(&session, &monitor::MonitorSession::ticked, &scope, [&] { atTick << session.state(); });
    connect(&session, &monitor::MonitorSession::cycleFinished, &scope,
            [&] { atEnd << session.state(); });
    session.setSecondLength(std::chrono::milliseconds(1));
    QTRY_VERIFY_WITH_TIMEOUT(atEnd.count() >= 2, 10000);
    QCOMPARE(atTick.first(), State::Cycling);
    QCOMPARE(atEnd.first(), State::Waiting);

    // The switch stops monitoring and starts it again.
    click(monitoring);
    QVERIFY(!monitoring->isChecked());
    QTRY_COMPARE(session.state(), State::Off);
    QVERIFY(!window.head()->interval->isEnabled());
    const auto ended = atEnd.count();
    click(monitoring);
    QVERIFY(monitoring->isChecked());
    QVERIFY(session.isTimerActive());
    QTRY_VERIFY_WITH_TIMEOUT(atEnd.count() > ended, 10000);

    // Switched off and then on the floating bar: the bar's "重新连接(&N)" switches it
    // on again (a cycle ending meanwhile leaves the item enabled), and the cycles go
    // on behind the bar.
    click(monitoring);
    window.popupMenu()->actions().first()->trigger(); // "悬浮窗显示"
    QVERIFY(!window.isVisible());
    QTRY_COMPARE(session.state(), State::Off);
    QVERIFY(monitor().bar()->reconnectAction()->isEnabled());
    monitor().bar()->reconnectAction()->trigger();
    QVERIFY(monitoring->isChecked());
    QVERIFY(!monitor().bar()->reconnectAction()->isEnabled());
    const auto behindBar = atEnd.count();
    QTRY_VERIFY_WITH_TIMEOUT(atEnd.count() > behindBar, 10000);

    // Closing the monitor window (not for the bar) stops it.
    monitor().bar()->close();
    QVERIFY(window.isVisible());
    window.close();
    QTRY_COMPARE(session.state(), State::Off);
    QVERIFY(h->window().isVisible());
}

// A failed pass stays loading: neither ticks nor "重新连接(&N)" start a cycle until
// the monitor item starts monitoring again. A failed cycle goes back to waiting
// and the next tick tries again; without the network ticks start nothing.
void MainWindowMonitorTest::failuresThroughTheWindows()
{
    using State = monitor::MonitorSession::State;
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    monitor::MonitorSession& session = monitor().session();
    windows::MonitorWindow& window = monitor().monitorWindow();
    tools::QuoteServerOptions failing;
    failing.answer = tools::Answer::Error;
    server->setOptions(failing);

    QSignalSpy passes(&session, &monitor::MonitorSession::passFinished);
    QSignalSpy cycles(&session, &monitor::MonitorSession::cycleFinished);
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    QCOMPARE(passes.last().first().toBool(), false);
    QCOMPARE(session.state(), State::LoadFailed);
    QCOMPARE(window.gridGroup()->title(), u"网络连接超时!"_s);
    QVERIFY(window.head()->monitoring->isEnabled());
    const auto asked = server->requests().count();
    session.tick();
    window.switchToFloatingBar();
    QVERIFY(monitor().bar()->reconnectAction()->isEnabled());
    monitor().bar()->reconnectAction()->trigger();
    session.tick();
    QTest::qWait(50);
    QCOMPARE(cycles.count(), 0);
    QCOMPARE(server->requests().count(), asked);
    QCOMPARE(session.state(), State::LoadFailed);

    // The monitor item starts again: the pass goes through.
    server->setOptions({});
    monitor().bar()->close();
    window.close();
    QVERIFY(h->window().isVisible());
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    QCOMPARE(passes.last().first().toBool(), true);
    QCOMPARE(session.state(), State::Waiting);

    // A failed cycle: waiting again with the timer on, the frame telling.
    server->setOptions(failing);
    session.tick();
    QCOMPARE(session.state(), State::Cycling);
    QVERIFY(cycles.wait(10000));
    QCOMPARE(cycles.last().first().toBool(), false);
    QCOMPARE(session.state(), State::Waiting);
    QVERIFY(session.isTimerActive());
    QCOMPARE(window.gridGroup()->title(), u"网络连接超时!"_s);
    server->setOptions({});
    session.tick();
    QVERIFY(cycles.wait(10000));
    QCOMPARE(cycles.last().first().toBool(), true);
    QVERIFY(window.gridGroup()->title().startsWith(u"多股实时行情"_s));

    // The main window's timer finds the network down: ticks start nothing.
    program().onMainTimerTick(false);
    const auto cyclesBefore = cycles.count();
    session.tick();
    QCOMPARE(session.state(), State::Waiting);
    QTest::qWait(50);
    QCOMPARE(cycles.count(), cyclesBefore);
}

// With no monitored stock the start fetches nothing and waits at once; cycles then
// refresh the head stock only.
void MainWindowMonitorTest::emptyListWaitsAtOnce()
{
    using State = monitor::MonitorSession::State;
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    menus().monitorRemoveAll->trigger();
    monitor::MonitorSession& session = monitor().session();
    openMonitorFromPopup();
    QCOMPARE(session.state(), State::Waiting);
    QVERIFY(!session.listNonEmpty());
    QVERIFY(server->requests().isEmpty());
    QCOMPARE(monitor().monitorWindow().model()->rowCount(), 1); // the totals row only

    QSignalSpy cycles(&session, &monitor::MonitorSession::cycleFinished);
    session.tick();
    QCOMPARE(session.state(), State::Cycling);
    QVERIFY(cycles.wait(10000));
    QCOMPARE(session.state(), State::Waiting);
    QCOMPARE(server->requests().count(), 1);
    QVERIFY(server->requests().first().target.contains("000709"));
    QVERIFY(!monitor().monitorWindow().head()->current->text().isEmpty());
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
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
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

// 自定义股票(&P) on the floating bar: every key typed into the code lookup fills
// the monitor's candidate list with the lookup's candidates, the first selected;
// a whole code makes that stock the head stock.
void MainWindowMonitorTest::theCodeLookupFillsTheMonitorsCandidates()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    windows::MonitorWindow& window = monitor().monitorWindow();
    window.popupMenu()->actions().first()->trigger(); // "悬浮窗显示"
    QAction* custom = monitor().bar()->popupMenu()->actions().first();
    QCOMPARE(custom->text(), u"自定义股票(&P)"_s);
    custom->trigger();
    windows::CodeLookupWindow& lookup = monitor().codeLookup();
    QVERIFY(QTest::qWaitForWindowExposed(&lookup));
    QComboBox* candidates = window.head()->picker;

    const auto names = [](auto count, auto text) {
        QStringList all;
        for (int i = 0; i < count; ++i)
            all << text(i);
        return all;
    };
    for (const QChar key : u"6000"_s) {
        QTest::keyClicks(lookup.code(), QString(key));
        const QStringList offered = names(lookup.candidates()->count(), [&](int i) {
            return lookup.candidates()->item(i)->text();
        });
        QVERIFY(offered.size() > 1);
        QCOMPARE(names(candidates->count(), [&](int i) { return candidates->itemText(i); }),
                 offered);
        QCOMPARE(candidates->currentIndex(), 0);
        QCOMPARE(window.head()->code->text(), u"000709"_s); // no head stock chosen yet
    }
    QTest::keyClicks(lookup.code(), u"01"_s);
    QCOMPARE(window.head()->code->text(), u"600001"_s);
    QCOMPARE(candidates->currentText(), lookup.name()->text());
    lookup.close();
    monitor().bar()->close();
    window.close();
}

// The monitor's head and the main window share one trade: what is typed in the
// head shows in the main window's inputs.
void MainWindowMonitorTest::theHeadsTradeIsTheMainWindowsTrade()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    clickGridRow(grid(), 1);
    app::TradePanel& t = h->window().trade();
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    windows::MonitorHeadPanel* head = monitor().monitorWindow().head();
    QCOMPARE(head->quantity->text(), u"100"_s);

    retype(head->quantity, u"300"_s);
    retype(head->price, u"8.5"_s);
    QCOMPARE(t.quantity->text(), u"300"_s);
    QCOMPARE(t.price->text(), u"8.5"_s);
    QCOMPARE(h->window().tradeForm().quantity(), u"300"_s);
    QVERIFY(!head->paid->text().isEmpty());
}

void MainWindowMonitorTest::aNewHeadStockCarriesNoOtherStocksTrade_data()
{
    QTest::addColumn<QString>("code"); // typed into the code lookup
    QTest::addColumn<bool>("kept");    // the trade of 沪市股票0 stays
    QTest::newRow("another stock") << u"600001"_s << false;
    QTest::newRow("the same stock") << u"600000"_s << true;
}

// The trade of 沪市股票0 (100 @ 8) shows in the monitor; 自定义股票(&P) on the floating
// bar picks another stock: neither window keeps the old trade for it, and the
// quote fetched for the new stock shows no gain of a trade that does not exist.
void MainWindowMonitorTest::aNewHeadStockCarriesNoOtherStocksTrade()
{
    QFETCH(QString, code);
    QFETCH(bool, kept);
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    clickGridRow(grid(), 1);
    app::TradePanel& t = h->window().trade();
    QCOMPARE(t.code->text(), u"600000"_s);
    QCOMPARE(t.quantity->text(), u"100"_s);
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    windows::MonitorWindow& window = monitor().monitorWindow();
    windows::MonitorHeadPanel* head = window.head();
    QCOMPARE(head->quantity->text(), u"100"_s);
    QCOMPARE(head->price->text(), u"8"_s);
    const QString paid = head->paid->text();
    QVERIFY(!paid.isEmpty());

    window.popupMenu()->actions().first()->trigger();           // "悬浮窗显示"
    monitor().bar()->popupMenu()->actions().first()->trigger(); // "自定义股票(&P)"
    windows::CodeLookupWindow& lookup = monitor().codeLookup();
    QVERIFY(QTest::qWaitForWindowExposed(&lookup));
    QTest::keyClicks(lookup.code(), code);
    QCOMPARE(head->code->text(), code);
    QCOMPARE(t.code->text(), code);

    // A cycle prices the head stock.
    QSignalSpy cycles(&monitor().session(), &monitor::MonitorSession::cycleFinished);
    monitor().session().tick();
    QVERIFY(cycles.wait(10000));
    QVERIFY(!head->current->text().isEmpty());
    if (kept) {
        QCOMPARE(head->quantity->text(), u"100"_s);
        QCOMPARE(head->paid->text(), paid);
        QVERIFY(head->gain->text().contains(u'.'));
        QCOMPARE(t.quantity->text(), u"100"_s);
    } else {
        for (QLineEdit* field : {head->quantity, head->price, head->fees, head->paid})
            QCOMPARE(field->text(), QString());
        QCOMPARE(head->gain->text(), u"当前价格盈亏:"_s);
        QCOMPARE(t.quantity->text(), u"0"_s);
        QCOMPARE(t.price->text(), u"0"_s);
        QCOMPARE(t.zfze->text(), u"0"_s);
    }
    lookup.close();
    monitor().bar()->close();
    QVERIFY(window.isVisible());
    if (!kept) {
        // Shown again, the monitor takes the main window's emptied trade: the next
        // cycle still shows no gain.
        QCOMPARE(head->quantity->text(), u"0"_s);
        monitor().session().tick();
        QVERIFY(cycles.wait(10000));
        QCOMPARE(head->gain->text(), u"当前价格盈亏:"_s);
    }
    window.close();
    QVERIFY(h->window().isVisible());
    QCOMPARE(t.code->text(), code);
}

void MainWindowMonitorTest::theChartLinkOffersThePortalPages_data()
{
    QTest::addColumn<QString>("portal");
    QTest::addColumn<QString>("page"); // path and query of the page opened
    QTest::newRow("搜狐") << u"搜狐"_s << u"/q/bc.php?code=600000"_s;
    QTest::newRow("新浪") << u"新浪"_s << u"/realstock/company/sh600000/zjld.shtml"_s;
    QTest::newRow("和讯") << u"和讯"_s << u"/idio_01.aspx?stockcode=600000"_s;
}

// A right click on the monitor's K-line link offers the three portals' pages of
// the head stock; each opens in the browser.
void MainWindowMonitorTest::theChartLinkOffersThePortalPages()
{
    QFETCH(QString, portal);
    QFETCH(QString, page);
    QVERIFY(openOnFirstRow());
    clickGridRow(grid(), 1);
    QCOMPARE(h->window().trade().code->text(), u"600000"_s);
    menus().trayRealtime->trigger();
    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLabel* link = window.quotes()->chartLink();
    QVERIFY(link->isVisible());

    const QPoint at = link->rect().center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, link->mapToGlobal(at));
    QApplication::sendEvent(link, &click);
    auto* pages = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(pages);
    QStringList offered;
    QAction* chosen = nullptr;
    for (QAction* item : pages->actions()) {
        offered << item->text();
        if (item->text() == portal)
            chosen = item;
    }
    QCOMPARE(offered, QStringList({u"搜狐"_s, u"新浪"_s, u"和讯"_s}));
    QVERIFY(chosen);
    pages->close();
    const qsizetype opened = h->desktop.openedUrls.size();
    chosen->trigger();
    QCOMPARE(h->desktop.openedUrls.size(), opened + 1);
    const QUrl url = h->desktop.openedUrls.last();
    QCOMPARE(url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority), page);
    QCOMPARE(url, app::infoPageUrl(portal == u"搜狐"_s   ? app::InfoPortal::Sohu
                                   : portal == u"新浪"_s ? app::InfoPortal::Sina
                                                         : app::InfoPortal::Hexun,
                                   u"600000"_s));
    window.close();
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

// Another program holds the ledger (BEGIN EXCLUSIVE on a connection of its own):
// each reading slot that a click or a keystroke reaches tells the user after the
// busy wait and the program goes on; once the ledger is free they read again.
void MainWindowMonitorTest::aBusyLedgerIsToldAndTheProgramGoesOn()
{
    QVERIFY(openOnFirstRow());
    program().network().setNetworkOk(true);
    QSignalSpy passes(&monitor().session(), &monitor::MonitorSession::passFinished);
    openMonitorFromPopup();
    QVERIFY(passes.wait(10000));
    monitor().session().setPause(std::chrono::hours(1)); // no cycle meanwhile
    windows::MonitorWindow& window = monitor().monitorWindow();
    QVERIFY(!window.model()->stockName(1).isEmpty()); // row 0 holds the totals
    window.showTradeDetail();
    QVERIFY(window.detailPanel()->isVisible());
    windows::CodeLookupWindow& lookup = monitor().codeLookup();
    lookup.openBeside(QPoint(100, 100));
    QVERIFY(QTest::qWaitForWindowExposed(&lookup));

    const auto failures = [this] {
        return h->prompter.messages.filter(u"账本读取失败"_s).size();
    };
    h->db.exec("BEGIN EXCLUSIVE");
    qsizetype told = failures();
    clickGridRow(window.grid(), 1); // the monitor grid reads the stock's trades
    QCOMPARE(failures(), ++told);
    QTest::keyClick(lookup.code(), Qt::Key_6); // the code lookup reads the stock table
    QCOMPARE(failures(), ++told);
    QVERIFY(lookup.isVisible());
    QVERIFY(window.isVisible());
    h->db.exec("COMMIT");

    QTest::keyClick(lookup.code(), Qt::Key_0);
    QVERIFY(lookup.candidates()->count() > 0);
    clickGridRow(window.grid(), 1);
    QCOMPARE(failures(), told);
    QVERIFY(window.detailPanel()->findChild<QTableView*>()->model()->rowCount() > 0);
    lookup.close();
    window.close();
}

// An ampersand before a bracket or a blank would underline it: every item of the
// main window's menus and popups and of the floating bar's menu underlines a letter
// or a digit, or nothing.
void MainWindowMonitorTest::mnemonicsAreLettersOrDigits()
{
    QVERIFY(h->open());
    QList<QMenu*> menus = h->window().findChildren<QMenu*>();
    const app::MainMenus& m = this->menus();
    menus << m.tradePopup << m.ledgerPopup << m.trayPopup;
    menus << monitor().bar()->findChildren<QMenu*>();
    QVERIFY(menus.contains(monitor().bar()->popupMenu()));
    QStringList stray;
    for (const QMenu* menu : std::as_const(menus)) {
        for (const QAction* item : menu->actions()) {
            const QString text = item->text();
            for (qsizetype at = text.indexOf(u'&'); at >= 0 && at + 1 < text.size();
                 at = text.indexOf(u'&', at + 2)) {
                if (!text.at(at + 1).isLetterOrNumber() && text.at(at + 1) != u'&')
                    stray << text;
            }
        }
    }
    QVERIFY2(stray.isEmpty(), qPrintable(stray.join(u" | "_s)));
    QCOMPARE(monitor().bar()->hintsAction()->text(), u"文本提示()"_s);
}

int runMonitorTests(int argc, char* argv[])
{
    MainWindowMonitorTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestMonitor.moc"
