#pragma once

#include "MainWindowServices.h"
#include "ledger/MonitorList.h"

#include <QObject>

#include <functional>
#include <memory>

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerNotifier;
class StockTable;
} // namespace corvanta::ledger
namespace corvanta::market {
class NetworkState;
class QuoteSource;
class QuoteSourceChoice;
struct FetchOptions;
} // namespace corvanta::market
namespace corvanta::monitor {
class MonitorSession;
}
namespace corvanta::windows {
class CodeLookupWindow;
class DateRangeDialog;
class MonitorFontWindow;
class MonitorWindow;
class TickerBar;
class TradePort;
class UsageNotesWindow;
} // namespace corvanta::windows

namespace corvanta::app {

class MainWindow;

// The live monitor inside the running program: it builds the monitor session, the
// monitor window, the floating bar and their small windows once, answers the main
// window's monitor items (the monitor list commands of the ledger popup, "实时监控(&D)",
// the floating bar, the font window, the usage notes) and wires the windows to each
// other by signals. The main window's 2-second timer is asked for by signal.
class MonitorController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        sql::Database& db;
        ledger::StockTable& stocks;
        ledger::LedgerNotifier& notifier;
        market::NetworkState& network;
        MainWindow& main;
        windows::TradePort& trade;
        MainWindowServices services;
        market::QuoteSourceChoice& sources;
    };
    explicit MonitorController(Parts parts);
    ~MonitorController() override;

    // "实时监控(&D)": the main window goes to the tray, a pass starts when the network
    // is up and the ledger is on a row, and the monitor window shows.
    void openMonitor();
    // "悬浮窗口显示(&W)": the monitor as above, then the floating bar in its place.
    void openFloatingBar();
    // What the main window's 2-second timer does for the monitor on every tick.
    void onMainTimerTick(bool networkOk);

    monitor::MonitorSession& session() const { return *m_session; }
    windows::MonitorWindow& monitorWindow() const { return *m_monitor; }
    // None once the program is closing.
    windows::TickerBar* bar() const { return m_bar.get(); }
    windows::MonitorFontWindow& fontWindow() const { return *m_fontWindow; }
    windows::CodeLookupWindow& codeLookup() const { return *m_lookup; }
    windows::UsageNotesWindow& usageNotes() const { return *m_notes; }
    windows::DateRangeDialog& dateRange() const { return *m_dateRange; }

Q_SIGNALS:
    // The main window's 2-second timer stops (a monitor window shows) or runs again.
    void mainTimerStopRequested();
    void mainTimerStartRequested();
    // The date range dialog shows (true) or hides: a pause of its own, since it
    // may show beside the monitor and close before or after it.
    void dateRangePauseWanted(bool pause);
    // The monitor window or the ticker bar was shown or hidden.
    void windowsShownChanged(bool monitorShowing, bool tickerShowing, bool monitorShownThisRun);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireMonitor();
    void wireBar();
    void wireMenus();
    void wireListCommands();
    void announceWindowsShown();
    // Runs one list command on the ledger's current stock (or all stocks).
    void runListCommand(ledger::MonitorList::BarLines (ledger::MonitorList::*command)());
    void runNamedCommand(
        ledger::MonitorList::BarLines (ledger::MonitorList::*command)(const QString&));
    // Runs a command, marks the bar's lines when it changes them and keeps the
    // ledger grid on its row.
    void runCommand(const std::function<ledger::MonitorList::BarLines()>& command);
    // "实时监控(&D)" on the main window: amounts back in 元, the ledger caption reset,
    // the single-stock refresh stopped, the window hidden to the tray.
    void leaveMainWindow();
    void restoreMainWindow();
    bool hasCurrentRow() const;
    std::shared_ptr<const market::QuoteSource> currentSource() const;
    market::FetchOptions currentOptions() const;

    Parts m_parts;
    ledger::MonitorList m_list;
    bool m_shownOnce = false; // the monitor window has shown in this run
    std::unique_ptr<monitor::MonitorSession> m_session;
    std::unique_ptr<windows::MonitorWindow> m_monitor;
    std::unique_ptr<windows::TickerBar> m_bar;
    std::unique_ptr<windows::MonitorFontWindow> m_fontWindow;
    std::unique_ptr<windows::CodeLookupWindow> m_lookup;
    std::unique_ptr<windows::UsageNotesWindow> m_notes;
    std::unique_ptr<windows::DateRangeDialog> m_dateRange;
};

} // namespace corvanta::app
