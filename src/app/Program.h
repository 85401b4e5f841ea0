#pragma once

#include "AccountChartsLoader.h"
#include "MainWindowServices.h"
#include "MemoryReturn.h"
#include "ledger/LedgerChanges.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerWriter.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "market/NetworkState.h"
#include "market/QuoteLines.h"
#include "market/QuoteService.h"
#include "market/QuoteSourceChoice.h"

#include <memory>

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {
class StockEditorWindow;
class StockEventWindow;
class TotalsReportWindow;
class BackupWindow;
class ImportWindow;
class FileChooser;
class AccountCharts;
class YearlyStatementWindow;
} // namespace corvanta::windows

namespace corvanta::app {

class MainTimerPauses;
class MainWindow;
class SummaryController;
class MonitorController;
class SideWindows;
class LedgerPasswordController;
class LedgerPageCheck;
class SystemServices;

// The running program: it owns the ledger database, the services (message boxes,
// desktop, tray, shortcuts, the ledger's change path, the network state) and every
// top-level window. It builds the main window and what works from the start, in
// the order of its members; every other window is built and wired when first
// used. All are torn down in reverse. New windows are added here, never inside
// the main window.
class Program {
public:
    // Opens the ledger beside the program (or in the user's data folder) and builds
    // the program over the system's services. When it cannot start, it shows why
    // and returns none.
    static std::unique_ptr<Program> start();
    // The ledger file the window and the command line use. Names the application
    // (for the user's data folder) first, so it needs a core application only.
    static QString defaultLedgerPath();

    // Over an open ledger, with the system's services.
    explicit Program(sql::Database db);
    // Over an open ledger, with services that outlive the program (tests).
    Program(sql::Database db, MainWindowServices services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window.
    void show();
    // The ledger at `path` was opened without reading all its pages: they are read
    // once the main window has shown. A damaged page is told and the program ends.
    void checkPagesOnceShown(const QString& path);
    // Whether that check found the ledger damaged.
    bool ledgerFoundDamaged() const;

    sql::Database& database() { return m_db; }
    ledger::LedgerWriter& ledgerWriter() { return m_writer; }
    market::NetworkState& network() { return m_network; }
    MainWindow& mainWindow() const { return *m_mainWindow; }
    model::TradeForm& tradeForm() const;
    // The windows below are built when first asked for.
    windows::StockEditorWindow& stockEditor();
    market::QuoteLines& quoteLines() { return m_quoteLines; }
    // The quote source every fetch of the program uses, from the ledger's rows.
    market::QuoteSourceChoice& quoteSources() const { return *m_quoteSources; }
    market::QuoteService& quoteService() const { return *m_quoteService; }
    SummaryController& summary() const { return *m_summary; }
    windows::TotalsReportWindow& totalsReport();
    MonitorController& monitor() const { return *m_monitor; }

    // What the main window's 2-second timer does for the other windows on every
    // tick, with the outcome of its connection check.
    void onMainTimerTick(bool networkOk);
    SideWindows& sideWindows() const { return *m_sideWindows; }
    windows::BackupWindow& backupWindow();
    windows::ImportWindow& importWindow();
    // The account charts, built on first use from their module; nullptr when the
    // module cannot be loaded.
    windows::AccountCharts* accountCharts();
    // Why the charts' module could not be loaded; empty until it could not.
    QString accountChartsError() const { return m_chartsModule.error(); }
    // Opens the account charts drawn afresh, as their menu items do; false, when
    // their module cannot be loaded, after saying so.
    bool showAccountCharts();
    windows::YearlyStatementWindow& yearlyStatement();
    windows::StockEventWindow& stockEvents();
    const MainTimerPauses& mainTimerPauses() const { return *m_timerPauses; }

private:
    Program(sql::Database db, std::unique_ptr<SystemServices> system,
            std::optional<MainWindowServices> services);
    void wire();
    void wireMenus();
    windows::FileChooser& files();
    void takeLastSummary(windows::AccountCharts& charts) const;
    MemoryReturn& memoryReturn();

    std::unique_ptr<ledger::LedgerLock> m_lock; // held while the ledger is open
    std::unique_ptr<SystemServices> m_system;   // the system's services, when none are given
    MainWindowServices m_services;
    sql::Database m_db;
    ledger::LedgerNotifier m_notifier;
    ledger::StockTable m_stocks;
    ledger::LedgerWriter m_writer;
    market::NetworkState m_network;
    market::QuoteLines m_quoteLines;
    std::unique_ptr<market::QuoteSourceChoice> m_quoteSources;
    // Every quote fetch of the program asks this one service.
    std::unique_ptr<market::QuoteService> m_quoteService;
    std::unique_ptr<MainWindow> m_mainWindow;
    // Before the windows that pause the main window's timer: they may still hide
    // while they are destroyed.
    std::unique_ptr<MainTimerPauses> m_timerPauses;
    std::unique_ptr<windows::StockEditorWindow> m_stockEditor;
    std::unique_ptr<SummaryController> m_summary;
    std::unique_ptr<windows::TotalsReportWindow> m_totalsReport;
    std::unique_ptr<MonitorController> m_monitor;
    // The profit/loss detail and the journal; top-level windows of their own.
    std::unique_ptr<SideWindows> m_sideWindows;
    // Backup, restore and statement import.
    std::unique_ptr<windows::FileChooser> m_files;
    std::unique_ptr<windows::BackupWindow> m_backupWindow;
    std::unique_ptr<windows::ImportWindow> m_importWindow;
    AccountChartsLoader m_chartsModule;
    std::unique_ptr<windows::AccountCharts> m_accountCharts;
    // Gives back what the charts and the yearly statement read, once they close.
    std::unique_ptr<MemoryReturn> m_memoryReturn;
    std::unique_ptr<windows::YearlyStatementWindow> m_yearlyStatement;
    std::unique_ptr<windows::StockEventWindow> m_stockEvents;
    // 设置 → 账本密码; a child of the main window.
    LedgerPasswordController* m_password = nullptr;
    // The read of every page, when opening left it for later; a child of the main window.
    LedgerPageCheck* m_pageCheck = nullptr;
};

} // namespace corvanta::app
