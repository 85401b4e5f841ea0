#pragma once

#include "MainWindowServices.h"
#include "ledger/MonitorList.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerNotifier;
class StockTable;
} // namespace corvanta::ledger
namespace corvanta::market {
class NetworkState;
class QuoteService;
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
class UsageNotesWindow;
} // namespace corvanta::windows

namespace corvanta::app {

class MainWindow;

// The live monitor inside the running program: it builds the monitor session at
// start and the monitor window, the floating bar and their small windows when
// first used, answers the main window's monitor items (the monitor list commands of the ledger
// popup, "实时监控(&D)", the floating bar, the font window, the usage notes) and wires the windows
// to each other by signals. The main window's 2-second timer is asked for by signal.
class MonitorController : public QObject {
    Q_OBJECT
public:
    struct Parts {
        sql::Database& db;
        ledger::StockTable& stocks;
        ledger::LedgerNotifier& notifier;
        market::NetworkState& network;
        MainWindow& main;
        model::TradeForm& trade;
        MainWindowServices services;
        market::QuoteService& quotes;
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
    // The windows below are built when first asked for.
    windows::MonitorWindow& monitorWindow();
    // None once the program is closing.
    windows::TickerBar* bar();
    windows::MonitorFontWindow& fontWindow();
    windows::CodeLookupWindow& codeLookup();
    windows::UsageNotesWindow& usageNotes();
    windows::DateRangeDialog& dateRange();

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
    // The monitor window with the floating bar, the font window and the code
    // look-up that work on it: built together on first use.
    void buildMonitorWindows();
    void wireSession();
    void wireMonitor();
    void wireBar();
    // The main window closes: the bar goes, every window built closes.
    void closeWindows();
    void wireMenus();
    void wireListCommands();
    void announceWindowsShown();
    // Runs one list command on the ledger's current stock (or all stocks).
    void runListCommand(void (ledger::MonitorList::*command)());
    void runNamedCommand(void (ledger::MonitorList::*command)(const QString&));
    // Runs a command and keeps the ledger grid on its row; the list announces the
    // change itself.
    void runCommand(const std::function<void()>& command);
    // "实时监控(&D)" on the main window: amounts back in 元, the ledger caption reset,
    // the single-stock refresh stopped, the window hidden to the tray.
    void leaveMainWindow();
    void restoreMainWindow();
    bool hasCurrentRow() const;

    Parts m_parts;
    ledger::MonitorList m_list;
    bool m_shownOnce = false;             // the monitor window has shown in this run
    bool m_closing = false;               // the main window has closed: no bar is built any more
    std::optional<QString> m_chosenTitle; // 设置 → 窗口标题, for a monitor built later
    std::unique_ptr<monitor::MonitorSession> m_session;
    std::unique_ptr<windows::MonitorWindow> m_monitor;
    std::unique_ptr<windows::TickerBar> m_bar;
    std::unique_ptr<windows::MonitorFontWindow> m_fontWindow;
    std::unique_ptr<windows::CodeLookupWindow> m_lookup;
    std::unique_ptr<windows::UsageNotesWindow> m_notes;
    std::unique_ptr<windows::DateRangeDialog> m_dateRange;
};

} // namespace corvanta::app
