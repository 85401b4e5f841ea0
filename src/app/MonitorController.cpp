#include "MonitorController.h"

#include "DesktopServices.h"
#include "FeeController.h"
#include "InfoPages.h"
#include "LedgerController.h"
#include "LedgerPanel.h"
#include "MainMenus.h"
#include "MainWindow.h"
#include "QuoteRefreshController.h"
#include "SettingsMenuController.h"
#include "TrayController.h"
#include "TrayPort.h"
#include "ledger/Settings.h"
#include "ledger/sql/Database.h"
#include "market/NetworkState.h"
#include "market/QuoteSourceChoice.h"
#include "model/LiveState.h"
#include "monitor/MonitorSession.h"
#include "report/SummaryTexts.h"
#include "windows/CodeLookupWindow.h"
#include "windows/DateRangeDialog.h"
#include "windows/LedgerGuard.h"
#include "windows/MonitorFontWindow.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorQuotePanels.h"
#include "windows/MonitorWindow.h"
#include "windows/Prompter.h"
#include "windows/TickerBar.h"
#include "windows/UsageNotesWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// The quote throttle while the monitor window shows: the single-stock fetch waits.
constexpr int heldThrottle = -99999;

} // namespace

MonitorController::MonitorController(Parts parts) : m_parts(parts), m_list(parts.db, parts.notifier)
{
    m_session =
        std::make_unique<monitor::MonitorSession>(m_parts.db, m_parts.notifier, m_parts.quotes);
    wireSession();
    wireMenus();
    wireListCommands();
    // The program ends: the bar goes first, the monitor window closes without
    // bringing the main window back.
    connect(&m_parts.main, &MainWindow::closing, this, &MonitorController::closeWindows);
}

void MonitorController::buildMonitorWindows()
{
    if (m_monitor)
        return;
    m_monitor = std::make_unique<windows::MonitorWindow>(*m_session, m_parts.trade, m_parts.stocks,
                                                         m_parts.db, m_parts.services.prompter,
                                                         ledger::loadSettings(m_parts.db).font);
    m_monitor->setNetworkOk(m_parts.network.networkOk());
    if (m_chosenTitle)
        m_monitor->setWindowTitle(*m_chosenTitle);
    // A closing program builds no bar any more.
    if (!m_closing)
        m_bar = std::make_unique<windows::TickerBar>(*m_session);
    m_fontWindow = std::make_unique<windows::MonitorFontWindow>(*m_monitor);
    m_lookup = std::make_unique<windows::CodeLookupWindow>(m_parts.stocks, *m_monitor,
                                                           m_parts.services.prompter);
    wireMonitor();
    wireBar();
    // The main window's items follow whether these windows show.
    m_monitor->installEventFilter(this);
    if (m_bar)
        m_bar->installEventFilter(this);
    announceWindowsShown();
}

windows::MonitorWindow& MonitorController::monitorWindow()
{
    buildMonitorWindows();
    return *m_monitor;
}

windows::TickerBar* MonitorController::bar()
{
    buildMonitorWindows();
    return m_bar.get();
}

windows::MonitorFontWindow& MonitorController::fontWindow()
{
    buildMonitorWindows();
    return *m_fontWindow;
}

windows::CodeLookupWindow& MonitorController::codeLookup()
{
    buildMonitorWindows();
    return *m_lookup;
}

windows::UsageNotesWindow& MonitorController::usageNotes()
{
    if (!m_notes)
        m_notes = std::make_unique<windows::UsageNotesWindow>(
            windows::UsageNotesWindow::locate(QCoreApplication::applicationDirPath()));
    return *m_notes;
}

windows::DateRangeDialog& MonitorController::dateRange()
{
    if (!m_dateRange) {
        m_dateRange = std::make_unique<windows::DateRangeDialog>();
        windows::DateRangeDialog* range = m_dateRange.get();
        connect(range, &windows::DateRangeDialog::rangeChosen, this,
                [this](const QDate& first, const QDate& last) {
                    runCommand(
                        [this, first, last] { return m_list.addBoughtBetween(first, last); });
                });
        connect(range, &windows::DateRangeDialog::mainTimerStopRequested, this,
                [this] { Q_EMIT dateRangePauseWanted(true); });
        connect(range, &windows::DateRangeDialog::mainTimerStartRequested, this,
                [this] { Q_EMIT dateRangePauseWanted(false); });
    }
    return *m_dateRange;
}

void MonitorController::closeWindows()
{
    m_closing = true;
    m_bar.reset();
    for (QWidget* window : std::initializer_list<QWidget*>{
             m_monitor.get(), m_fontWindow.get(), m_lookup.get(), m_notes.get(), m_dateRange.get()})
        if (window)
            window->close();
}

// The small windows go first, the session last: the windows hold it.
MonitorController::~MonitorController()
{
    m_dateRange.reset();
    m_notes.reset();
    m_lookup.reset();
    m_fontWindow.reset();
    m_bar.reset();
    m_monitor.reset();
    m_session.reset();
}

// What the session follows whether or not the monitor window is built yet.
void MonitorController::wireSession()
{
    // The monitor window takes the main window's chosen title, now or when built.
    connect(&m_parts.main.settings(), &SettingsMenuController::titleChosen, this,
            [this](const QString& title) {
                m_chosenTitle = title;
                if (m_monitor)
                    m_monitor->setWindowTitle(title);
            });
    connect(m_session.get(), &monitor::MonitorSession::databaseFailed, this,
            [this](const QString& message) { m_parts.services.prompter.inform(message); });
}

void MonitorController::wireMonitor()
{
    windows::MonitorWindow* monitor = m_monitor.get();
    market::NetworkState& network = m_parts.network;
    connect(monitor, &windows::MonitorWindow::mainTimerStopRequested, this, [this, &network] {
        m_shownOnce = true;
        announceWindowsShown();
        network.setQuoteThrottleTicks(heldThrottle);
        Q_EMIT mainTimerStopRequested();
    });
    connect(monitor, &windows::MonitorWindow::mainWindowRestoreRequested, this,
            &MonitorController::restoreMainWindow);
    connect(monitor, &windows::MonitorWindow::floatingBarRequested, this, [this] {
        if (m_bar)
            m_bar->show();
    });
    connect(monitor, &windows::MonitorWindow::fontWindowRequested, m_fontWindow.get(),
            &QWidget::show);
    connect(monitor, &windows::MonitorWindow::calculatorRequested, this, [this] {
        if (!m_parts.services.desktop.startCalculator())
            m_parts.services.prompter.inform(calculatorMissingMessage());
    });
    // The K-line link's popup opens the head stock's page on each portal.
    windows::MonitorQuotePanels* quotes = monitor->quotes();
    for (InfoPortal portal : {InfoPortal::Sohu, InfoPortal::Sina, InfoPortal::Hexun}) {
        connect(quotes->chartPages()->addAction(infoPortalName(portal)), &QAction::triggered, this,
                [this, quotes, portal] {
                    const QUrl url = infoPageUrl(portal, quotes->chartCode());
                    if (!m_parts.services.desktop.openUrl(url))
                        m_parts.services.prompter.inform(browserFailedMessage(url));
                });
    }
    connect(m_lookup.get(), &windows::CodeLookupWindow::refreshRequested, m_session.get(),
            &monitor::MonitorSession::tick);
    // "保存当前设置(&S)" saves the font the font window last applied.
    for (QPushButton* button : {m_fontWindow->applyButton(), m_fontWindow->defaultsButton()})
        connect(button, &QPushButton::clicked, this,
                [this] { m_parts.main.settings().setMonitorFont(m_monitor->gridFont()); });
}

void MonitorController::wireBar()
{
    windows::TickerBar* bar = m_bar.get();
    if (!bar)
        return;
    connect(bar, &windows::TickerBar::monitorWindowRequested, m_monitor.get(),
            &QWidget::showNormal);
    connect(bar, &windows::TickerBar::codeWindowRequested, this, [this] {
        if (m_bar)
            m_lookup->openBeside(m_bar->pos());
    });
}

void MonitorController::restoreMainWindow()
{
    m_parts.network.setQuoteThrottleTicks(0);
    if (m_parts.main.isClosing())
        return;
    m_parts.main.tray().restore();
    Q_EMIT mainTimerStartRequested();
}

void MonitorController::wireMenus()
{
    MainMenus& m = m_parts.main.menus();
    for (QAction* item : {m.tradeMonitor, m.ledgerMonitor, m.trayRealtime})
        connect(item, &QAction::triggered, this, &MonitorController::openMonitor);
    for (QAction* item : {m.floatingBar, m.trayFloating})
        connect(item, &QAction::triggered, this, &MonitorController::openFloatingBar);
    connect(m.monitorFont, &QAction::triggered, this, [this] { fontWindow().show(); });
    connect(m.tutorial, &QAction::triggered, this, [this] { usageNotes().show(); });
    m_parts.main.markAvailable(model::Available::MonitorFont | model::Available::Tutorial);
    // Restoring from the tray closes the monitor and the bar first.
    const auto closeMonitor = [this] {
        if (m_bar)
            m_bar->hide();
        if (m_monitor)
            m_monitor->hide();
    };
    connect(m.trayRestore, &QAction::triggered, this, closeMonitor);
    connect(&m_parts.services.tray, &TrayPort::doubleClicked, this, closeMonitor);
    // The main window's items follow whether these windows show.
    connect(this, &MonitorController::windowsShownChanged, &m_parts.main.liveState(),
            &model::LiveState::setMonitorWindows);
    announceWindowsShown();
}

void MonitorController::wireListCommands()
{
    using L = ledger::MonitorList;
    MainMenus& m = m_parts.main.menus();
    m_parts.main.markAvailable(model::Available::MonitorListCommands);
    connect(m.monitorAdd, &QAction::triggered, this, [this] { runNamedCommand(&L::add); });
    connect(m.monitorRemove, &QAction::triggered, this, [this] { runNamedCommand(&L::remove); });
    connect(m.monitorAddAll, &QAction::triggered, this, [this] { runListCommand(&L::addAll); });
    connect(m.monitorRemoveAll, &QAction::triggered, this,
            [this] { runListCommand(&L::removeAll); });
    connect(m.monitorAddUnsold, &QAction::triggered, this,
            [this] { runListCommand(&L::addUnsold); });
    connect(m.monitorAddRange, &QAction::triggered, this,
            [this] { dateRange().openOver(m_parts.main.frameGeometry()); });
}

void MonitorController::runListCommand(void (ledger::MonitorList::*command)())
{
    runCommand([this, command] { return (m_list.*command)(); });
}

void MonitorController::runNamedCommand(void (ledger::MonitorList::*command)(const QString&))
{
    const ledger::LedgerRow* row = m_parts.main.ledgerController().currentRow();
    if (!row)
        return;
    const QString name = row->cells[ledger::NameColumn];
    runCommand([this, command, name] { return (m_list.*command)(name); });
}

void MonitorController::runCommand(const std::function<void()>& command)
{
    // The grid is re-read by the change; it goes back to the row that was current.
    LedgerController& ledger = m_parts.main.ledgerController();
    const ledger::LedgerRow* row = ledger.currentRow();
    const std::optional<qint64> current = row ? std::optional(row->id) : std::nullopt;
    windows::withLedger(m_parts.services.prompter, windows::LedgerAccess::Write, command);
    if (current)
        ledger.moveTo(*current);
}

bool MonitorController::hasCurrentRow() const
{
    return m_parts.main.ledgerController().currentRow() != nullptr;
}

bool MonitorController::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_monitor.get() || watched == m_bar.get()) &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        announceWindowsShown();
    return QObject::eventFilter(watched, event);
}

void MonitorController::announceWindowsShown()
{
    Q_EMIT windowsShownChanged(m_monitor && m_monitor->isVisible(), m_bar && m_bar->isVisible(),
                               m_shownOnce);
}

void MonitorController::openMonitor()
{
    buildMonitorWindows();
    // Opened again from the tray: the bar and a showing monitor close first.
    if (m_bar && m_bar->isVisible())
        m_bar->hide();
    m_session->ticker().setActive(false);
    leaveMainWindow();
    m_monitor->setNetworkOk(m_parts.network.networkOk());
    // Showing copies the main window's stock into the head, which the pass fetches first.
    m_monitor->showNormal();
    if (m_parts.network.networkOk() && hasCurrentRow())
        m_session->startMonitoring();
    m_monitor->raise();
    m_monitor->activateWindow();
}

void MonitorController::leaveMainWindow()
{
    MainWindow& main = m_parts.main;
    // The monitor works in 元: amounts shown in 万元 go back first.
    main.fees().ensureAmountsInYuan();
    main.ledger().setTitle(report::texts::ledgerCaption.toString());
    m_parts.services.tray.show();
    main.quotes().stopLiveRefresh();
    main.hide();
}

void MonitorController::openFloatingBar()
{
    openMonitor();
    m_monitor->switchToFloatingBar();
}

void MonitorController::onMainTimerTick(bool networkOk)
{
    // A monitor not built yet takes the network's state when it is.
    if (!m_monitor)
        return;
    if (networkOk != m_monitor->networkOk())
        m_monitor->setNetworkOk(networkOk);
    // A showing monitor whose switch is off switches on again once quotes can
    // be fetched.
    QCheckBox* monitoring = m_monitor->head()->monitoring;
    if (networkOk && m_monitor->isVisible() && !monitoring->isChecked()) {
        monitoring->setEnabled(true);
        monitoring->setChecked(true);
        m_session->setMonitoring(true);
    }
}

} // namespace corvanta::app
