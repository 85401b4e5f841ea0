#pragma once

#include <QObject>

class QWidget;

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace corvanta::app {

// Every menu of the main window: the menu bar, the trade box, ledger grid and tray
// popups. Items whose windows are not part of the program yet are present and
// disabled, never a click that does nothing.
class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(QMenuBar* bar, QWidget* owner);

    // 系统(&O)
    QAction* hideToTray;
    QAction* floatingBar;
    QAction* addStock;
    QAction* clearLedger;
    QAction* backup;
    QAction* brokerImport;
    QActionGroup* dataSources;
    QAction* exit;
    // 设置(&S)
    QAction* monitorFont;
    QAction* customTitle;
    QAction* proxy;
    QAction* quoteServer;
    QAction* sinaHost;
    QAction* tencentHost;
    QAction* saveSettings;
    QActionGroup* feeRules; // 按设置的费率, 按交易日期的法定规则; data: the FeeRuleChoice
    QAction* commissionMinimum; // of the rules by date
    QAction* desktopShortcut;
    QAction* ledgerPassword;
    // 帮助(&L)
    QAction* calculator;
    QAction* tutorial;
    QAction* checkUpdates;

    // Trade box popup
    QMenu* tradePopup;
    QAction* tradeDetail;
    QAction* tradeMonitor;
    QAction* tradeRefresh;
    QAction* fetchPrice;
    QMenu* directionMenu;
    QAction* directionBuy;
    QAction* directionSell;
    QAction* marketShenzhen;
    QAction* marketShanghai;
    QAction* marketWarrant;
    QAction* popupRecordSell;
    QAction* popupRecordBuy;
    QAction* tradeSave;
    QAction* tradeJournalAdd;
    QAction* tradeJournalView;
    QAction* tradeEvents; // 分红送配 of the current stock

    // Ledger grid popup
    QMenu* ledgerPopup;
    QAction* ledgerDetail;
    QAction* sortByName;
    QAction* sortByDate;
    QAction* summary;
    QAction* accountCharts;
    QAction* yearlyStatement;
    QAction* stockTrades;
    QAction* popupDelete;
    QAction* ledgerMonitor;
    QMenu* monitorListMenu;
    QAction* monitorAdd;
    QAction* monitorRemove;
    QAction* monitorAddAll;
    QAction* monitorRemoveAll;
    QAction* monitorAddUnsold;
    QAction* monitorAddRange;
    QAction* monitorShowAll;
    QAction* ledgerJournalAdd;
    QAction* ledgerJournalView;
    QAction* updateNames;
    QAction* ledgerEvents; // 分红送配 of the current row's stock

    // Tray popup
    QMenu* trayPopup;
    QAction* trayDetail;
    QAction* trayRealtime;
    QAction* trayFloating;
    QAction* trayRefresh;
    QAction* trayQuery;
    QAction* trayRestore;
    QAction* trayExit;

private:
    void buildMenuBar(QMenuBar* bar);
    void buildTradePopup();
    void buildLedgerPopup();
    void buildTrayPopup();
};

} // namespace corvanta::app
