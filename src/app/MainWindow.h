#pragma once

#include "AppState.h"
#include "MainWindowServices.h"

#include <QMainWindow>

#include <memory>

class QComboBox;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class StockTable;
}
namespace corvanta::windows {
class Prompter;
class StockEditorWindow;
class StockPicker;
} // namespace corvanta::windows

namespace corvanta::app {

class FeeController;
class LedgerController;
class LedgerPanel;
class MainMenus;
class ParametersPanel;
class SellTargetController;
class SellTargetGroup;
class SettingsMenuController;
class StatusBarPanels;
class TradePanel;
class TrayController;

// The hub of the program: the fee calculator, the sell targets, the ledger grid,
// the menus, the tray and the status bar, each a panel or controller of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SessionState& state, sql::Database& db, MainWindowServices services,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    ParametersPanel& parameters() const { return *m_parameters; }
    TradePanel& trade() const { return *m_trade; }
    LedgerPanel& ledger() const { return *m_ledger; }
    SellTargetGroup& profitTargets() const { return *m_profitTargets; }
    SellTargetGroup& lossTargets() const { return *m_lossTargets; }
    MainMenus& menus() const { return *m_menus; }
    StatusBarPanels& status() const { return *m_status; }
    windows::StockPicker& picker() const { return *m_picker; }
    windows::StockEditorWindow& stockEditor() const { return *m_editor; }
    LedgerController& ledgerController() const { return *m_ledgerController; }
    TrayController& tray() const { return *m_tray; }

    // "清空(&K)": the trade inputs back to a new buy in shares, dated today.
    void clearAll();

private Q_SLOTS:
    void focusCodeInput();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildControllers();
    void wireMenus();
    void wirePopups();
    void wireWindowBehaviour();
    void onActivated();

    SessionState& m_state;
    sql::Database& m_db;
    MainWindowServices m_services;
    std::unique_ptr<ledger::StockTable> m_stocks;
    ParametersPanel* m_parameters = nullptr;
    TradePanel* m_trade = nullptr;
    SellTargetGroup* m_profitTargets = nullptr;
    SellTargetGroup* m_lossTargets = nullptr;
    LedgerPanel* m_ledger = nullptr;
    QComboBox* m_viewSelector = nullptr;
    MainMenus* m_menus = nullptr;
    StatusBarPanels* m_status = nullptr;
    FeeController* m_fees = nullptr;
    SellTargetController* m_targets = nullptr;
    windows::StockPicker* m_picker = nullptr;
    windows::StockEditorWindow* m_editor = nullptr;
    LedgerController* m_ledgerController = nullptr;
    TrayController* m_tray = nullptr;
    SettingsMenuController* m_settings = nullptr;
};

} // namespace corvanta::app
