#pragma once

#include "MainWindowServices.h"
#include "ledger/LedgerChanges.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerWriter.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "market/NetworkState.h"

#include <memory>

namespace corvanta::windows {
class StockEditorWindow;
class AccountChartWindow;
class TradePort;
} // namespace corvanta::windows

namespace corvanta::app {

class MainTradePort;
class MainWindow;
class SystemServices;

// The running program: it owns the ledger database, the services (message boxes,
// desktop, tray, shortcuts, the ledger's change path, the network state) and every
// top-level window. It builds them once, in the order of its members, wires them
// to each other by signals and tears them down in reverse. New windows are added
// here, never inside the main window.
class Program {
public:
    // Opens the ledger beside the program (or in the user's data folder) and builds
    // the program over the system's services. When it cannot start, it shows why
    // and returns none.
    static std::unique_ptr<Program> start();

    // Over an open ledger, with the system's services.
    explicit Program(sql::Database db);
    // Over an open ledger, with services that outlive the program (tests).
    Program(sql::Database db, MainWindowServices services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window.
    void show();

    sql::Database& database() { return m_db; }
    ledger::LedgerWriter& ledgerWriter() { return m_writer; }
    market::NetworkState& network() { return m_network; }
    MainWindow& mainWindow() const { return *m_mainWindow; }
    windows::TradePort& tradePort() const;
    windows::StockEditorWindow& stockEditor() const { return *m_stockEditor; }

private:
    Program(sql::Database db, std::unique_ptr<SystemServices> system,
            std::optional<MainWindowServices> services);
    void wire();

    std::unique_ptr<ledger::LedgerLock> m_lock; // held while the ledger is open
    std::unique_ptr<SystemServices> m_system;   // the system's services, when none are given
    MainWindowServices m_services;
    sql::Database m_db;
    ledger::LedgerNotifier m_notifier;
    ledger::StockTable m_stocks;
    ledger::LedgerWriter m_writer;
    market::NetworkState m_network;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<MainTradePort> m_tradePort;
    std::unique_ptr<windows::StockEditorWindow> m_stockEditor;
    std::unique_ptr<windows::AccountChartWindow> m_accountCharts;
};

} // namespace corvanta::app
