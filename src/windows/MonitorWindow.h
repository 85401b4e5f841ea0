#pragma once

#include "ledger/Settings.h"

#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTableView;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::ledger {
class StockTable;
}
namespace corvanta::monitor {
class MonitorSession;
}
namespace corvanta::report {
class MonitorTableModel;
class TradeDetailModel;
} // namespace corvanta::report
namespace corvanta::sql {
class Database;
}

namespace corvanta::windows {

class MonitorBuyBackPanel;
class MonitorHeadController;
class MonitorHeadPanel;
class MonitorQuotePanels;
class Prompter;
class StockPicker;

// "实时行情监控": the head stock's trade and quote, the buy-back calculator, the
// monitoring switch and interval, and the grid of monitored stocks that the
// session fills. The main window's trade is reached only through its trade form; the
// main window's timer, tray and visibility are asked for by signal.
class MonitorWindow : public QWidget {
    Q_OBJECT
public:
    MonitorWindow(monitor::MonitorSession& session, model::TradeForm& trade,
                  ledger::StockTable& stocks, sql::Database& db, Prompter& prompter,
                  ledger::MonitorFont font, QWidget* parent = nullptr);
    ~MonitorWindow() override;

    // Whether quotes can be fetched (the main window's connection check).
    void setNetworkOk(bool ok);
    bool networkOk() const { return m_networkOk; }

    // The grid's font: applied at once (the font window).
    void setGridFont(ledger::MonitorFont font);
    ledger::MonitorFont gridFont() const { return m_font; }

    // Makes a stock the head stock, as the code lookup window does; the next
    // cycle posts its line on the floating bar.
    void setHeadStock(const QString& code, const QString& name);
    // Leaving the code input: completes it and makes it the main window's stock.
    void leaveCode();
    // The candidate list, filled by the code lookup window too.
    StockPicker* picker() const { return m_picker; }

    // Hides this window for the floating bar (monitoring goes on).
    void switchToFloatingBar();
    // Shows the trades of the grid's current stock.
    void showTradeDetail();

    MonitorHeadPanel* head() const { return m_head; }
    MonitorBuyBackPanel* buyBack() const { return m_buyBack; }
    MonitorQuotePanels* quotes() const { return m_quotes; }
    QTableView* grid() const { return m_grid; }
    QGroupBox* gridGroup() const { return m_gridGroup; }
    QGroupBox* detailPanel() const { return m_detailGroup; }
    QLabel* timeLabel() const { return m_time; }
    QMenu* popupMenu() const { return m_popup; }
    QMenu* toolsMenu() const { return m_tools; }
    report::MonitorTableModel* model() const { return m_model; }
    // What one GBK byte of the grid's texts takes in its font, 6 at least.
    int pixelsPerByte() const;

Q_SIGNALS:
    // Showing: the main window's 2-second timer stops and its throttle is held.
    void mainTimerStopRequested();
    // Hiding other than for the floating bar: the main window comes back from
    // the tray, is shown and its timer runs again.
    void mainWindowRestoreRequested();
    void floatingBarRequested();
    void fontWindowRequested();
    // "计算器(&C)": the system calculator is started by the program's desktop services.
    void calculatorRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGridGroup();
    QWidget* buildDetailGroup();
    void buildMenus();
    void wireSession();
    void applySwitch();
    void applyGrid();
    void applyColumnWidths();
    // Copies the main window's trade and stock into the head (on showing).
    void takeMainTrade();
    // Makes a code the main window's current code, and so the session's. A code
    // of another stock takes no trade along: both windows' trades are emptied.
    void setMainCode(const QString& code);
    void clearHeadTrade();
    void clearHeadGains();
    void setHeadCaption(const QString& name);
    void updateIndexLabels();
    void readDetail(const QString& name);

    monitor::MonitorSession& m_session;
    model::TradeForm& m_trade;
    sql::Database& m_db;
    Prompter& m_prompter;
    ledger::MonitorFont m_font;
    bool m_networkOk = true;

    MonitorHeadPanel* m_head;
    MonitorQuotePanels* m_quotes;
    MonitorBuyBackPanel* m_buyBack;
    QGroupBox* m_gridGroup;
    QLabel* m_time;
    QTableView* m_grid;
    report::MonitorTableModel* m_model;
    QGroupBox* m_detailGroup;
    QTableView* m_detailGrid;
    report::TradeDetailModel* m_detailModel;
    QMenu* m_tools;
    QMenu* m_popup;
    StockPicker* m_picker;
    MonitorHeadController* m_controller;
};

} // namespace corvanta::windows
