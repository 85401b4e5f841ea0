#pragma once

#include "MainWindowServices.h"
#include "model/ActionInputsOf.h"
#include "model/ActionStates.h"
#include "model/TradeForm.h"

#include <QMainWindow>

class QComboBox;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
class StockTable;
} // namespace corvanta::ledger
namespace corvanta::market {
class NetworkState;
class QuoteService;
class QuoteSourceChoice;
} // namespace corvanta::market
namespace corvanta::windows {
class StockPicker;
}
namespace corvanta::model {
class LedgerFocus;
class LiveState;
} // namespace corvanta::model

namespace corvanta::app {

class FeeController;
class FeeRuleController;
class LedgerController;
class LedgerPanel;
class MainMenus;
class ParametersPanel;
class QuoteMenusController;
class QuoteRefreshController;
class QuoteSourceController;
class SellTargetController;
class SellTargetGroup;
class SettingsMenuController;
class StatusBarPanels;
class TradeFormBinding;
class TradePanel;
class TrayController;

// The hub of the program: the fee calculator, the sell targets, the ledger grid,
// the menus, the tray and the status bar, each a panel or controller of its own.
// Other windows are built and wired by the program; this window asks for them by
// its signals.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(sql::Database& db, ledger::StockTable& stocks, ledger::LedgerWriter& writer,
               market::NetworkState& network, MainWindowServices services,
               market::QuoteSourceChoice& quoteSources, market::QuoteService& quotes,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    ParametersPanel& parameters() const { return *m_parameters; }
    TradePanel& trade() const { return *m_trade; }
    // The trade as the other windows read and write it.
    model::TradeForm& tradeForm() const { return *m_form; }
    LedgerPanel& ledger() const { return *m_ledger; }
    SellTargetGroup& profitTargets() const { return *m_profitTargets; }
    SellTargetGroup& lossTargets() const { return *m_lossTargets; }
    MainMenus& menus() const { return *m_menus; }
    StatusBarPanels& status() const { return *m_status; }
    windows::StockPicker& picker() const { return *m_picker; }
    FeeController& fees() const { return *m_fees; }
    FeeRuleController& feeRules() const { return *m_feeRules; }
    LedgerController& ledgerController() const { return *m_ledgerController; }
    TrayController& tray() const { return *m_tray; }
    QComboBox& viewSelector() const { return *m_viewSelector; }
    SellTargetController& sellTargets() const { return *m_targets; }
    QuoteRefreshController& quotes() const { return *m_quotes; }
    QuoteMenusController& quoteMenus() const { return *m_quoteMenus; }
    QuoteSourceController& quoteSourceMenu() const { return *m_quoteSourceMenu; }
    SettingsMenuController& settings() const { return *m_settings; }
    // Where the user is in the ledger box; the window shows its view.
    model::LedgerFocus& focus() const { return *m_focus; }
    // What the program is doing with quotes and its windows.
    model::LiveState& liveState() const { return *m_live; }

    // "清空(&K)": the trade inputs back to a new buy in shares, dated today.
    void clearAll();
    // A stock saved elsewhere becomes the current stock.
    void makeStockCurrent(const QString& code, const QString& name);
    // True once the window is closing: the program is ending.
    bool isClosing() const { return m_closing; }

    // What an item opens or runs is wired in: the item works from now on.
    void markAvailable(model::Availability what);

Q_SIGNALS:
    // The user wants the stock editor, for the code given.
    void stockEditorWanted(const QString& code);
    // The window is closing; the program's other windows close with it.
    void closing();

private Q_SLOTS:
    void focusCodeInput();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QList<QWidget*> liveRefreshStoppers() const;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildControllers();
    void buildQuoteControllers();
    void wireMenus();
    void wirePopups();
    void wireWindowBehaviour();
    void onActivated();
    void wireActionInputs();
    // The view selector and the grids as the focus decides.
    void showFocusedView();
    void showRecordLabel();
    // Every item and button that is ever disabled, set from `m_actionInputs`.
    void updateActions();
    template <typename Change> void changeTradeFlags(Change change);
    // The inputs again from their sources; the items follow when they differ.
    void refreshActionInputs();

    sql::Database& m_db;
    ledger::StockTable& m_stocks;
    ledger::LedgerWriter& m_writer;
    market::NetworkState& m_network;
    MainWindowServices m_services;
    market::QuoteSourceChoice& m_quoteSources;
    market::QuoteService& m_quoteService;
    bool m_closing = false;
    model::LedgerFocus* m_focus = nullptr;
    model::LiveState* m_live = nullptr;
    model::TradeFlags m_tradeFlags;
    model::Availability m_available;
    model::ActionInputs m_actionInputs;
    ParametersPanel* m_parameters = nullptr;
    TradePanel* m_trade = nullptr;
    model::TradeForm* m_form = nullptr;
    TradeFormBinding* m_formBinding = nullptr;
    SellTargetGroup* m_profitTargets = nullptr;
    SellTargetGroup* m_lossTargets = nullptr;
    LedgerPanel* m_ledger = nullptr;
    QComboBox* m_viewSelector = nullptr;
    MainMenus* m_menus = nullptr;
    StatusBarPanels* m_status = nullptr;
    FeeController* m_fees = nullptr;
    FeeRuleController* m_feeRules = nullptr;
    SellTargetController* m_targets = nullptr;
    windows::StockPicker* m_picker = nullptr;
    LedgerController* m_ledgerController = nullptr;
    TrayController* m_tray = nullptr;
    SettingsMenuController* m_settings = nullptr;
    QuoteRefreshController* m_quotes = nullptr;
    QuoteMenusController* m_quoteMenus = nullptr;
    QuoteSourceController* m_quoteSourceMenu = nullptr;
};

} // namespace corvanta::app
