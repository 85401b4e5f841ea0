#pragma once

#include "AppState.h"

#include <QMainWindow>

class QComboBox;

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

class FeeController;
class LedgerPanel;
class MainMenus;
class ParametersPanel;
class SellTargetGroup;
class StatusBarPanels;
class TradePanel;

// The hub of the program: the fee calculator, the sell targets, the ledger grid,
// the menus, the tray and the status bar, each a panel or controller of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SessionState& state, sql::Database& db, QWidget* parent = nullptr);
    ~MainWindow() override;

    ParametersPanel& parameters() const { return *m_parameters; }
    TradePanel& trade() const { return *m_trade; }
    LedgerPanel& ledger() const { return *m_ledger; }
    MainMenus& menus() const { return *m_menus; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void wireWindowBehaviour();

    SessionState& m_state;
    sql::Database& m_db;
    ParametersPanel* m_parameters = nullptr;
    TradePanel* m_trade = nullptr;
    SellTargetGroup* m_profitTargets = nullptr;
    SellTargetGroup* m_lossTargets = nullptr;
    LedgerPanel* m_ledger = nullptr;
    QComboBox* m_viewSelector = nullptr;
    MainMenus* m_menus = nullptr;
    StatusBarPanels* m_status = nullptr;
    FeeController* m_fees = nullptr;
};

} // namespace corvanta::app
