#pragma once

#include <QFlags>

namespace corvanta::model {

// Where the sell-target inputs and the current-price input stand: as the window
// starts (only the two target prices open), opened by a pricing or a selected buy,
// or closed by a selected sell, a summary or clearing the inputs.
enum class TargetInputsState { AsAtStart, Open, Closed };

// Items that work only once what they open or run is part of the program: the
// code that wires an item in says so, and the item follows its rule from then on.
enum class Available : unsigned {
    MonitorFont = 1u << 0,         // "实时监控字体设置(&F)"
    Tutorial = 1u << 1,            // "教程(&T)"
    Backup = 1u << 2,              // "数据备份恢复(I)"
    BrokerImport = 1u << 3,        // "证券商数据导入(&D)"
    ProfitLoss = 1u << 4,          // "各价位盈亏明细", all three copies
    Journal = 1u << 5,             // the journal's add and view items of both popups
    StockTrades = 1u << 6,         // "该股交易明细(&L)"
    MonitorListCommands = 1u << 7, // the monitor list's four commands on many stocks
    MonitoredStocks = 1u << 8,     // "显示所有被实时监控股票(&S)"
    LiveRefresh = 1u << 9,         // "个股行情实时刷新(&R)", both copies
    StockQuery = 1u << 10,         // the tray's "股票查询(&I)"
    // The quote sources of those names publish a quote endpoint.
    SohuEndpoint = 1u << 11,
    HexunEndpoint = 1u << 12,
};
Q_DECLARE_FLAGS(Availability, Available)
Q_DECLARE_OPERATORS_FOR_FLAGS(Availability)

// The facts the main window's items and buttons depend on, each kept by the
// object that changes it.
struct ActionInputs {
    bool ledgerHasCurrentRow = false;
    bool currentRowMonitored = false;
    bool ledgerGridShowing = true;
    bool networkOk = false;
    bool monitorShowing = false;
    bool tickerShowing = false;
    bool monitorShownThisRun = false;
    bool directionChoiceEnabled = true;
    bool buyPriced = false;
    bool sellPriced = false;
    bool amountsPriced = false;
    bool feesByTradeDate = false; // stamp duty and transfer fee by the trade's date
    TargetInputsState sellTargets = TargetInputsState::AsAtStart;
    Availability available;
    bool operator==(const ActionInputs&) const = default;
};

// One flag per item or button of the main window, its popups and the tray popup
// that is ever disabled.
struct ActionStates {
    // Buttons and inputs of the trade box.
    bool recordBuy = false;
    bool recordSell = false;
    bool deleteRecord = false;
    bool amountUnit = false;
    bool currentPrice = false;
    bool targetPrices = false;  // the profit and loss selling prices
    bool targetAmounts = false; // the profit and loss amounts and percentages
    // The stamp-rate input of the parameters.
    bool stampRate = false;
    // "实时监控(&D)" in the trade box popup and in the ledger popup.
    bool monitor = false;
    // "悬浮窗口显示(&W)" in the system menu.
    bool floatingBar = false;
    // The settings menu's commission minimum, used only by the rules by date.
    bool commissionMinimum = false;
    // The trade box popup.
    bool directionMenu = false;
    bool fetchPrice = false;
    bool popupRecordBuy = false;
    bool popupRecordSell = false;
    bool popupSave = false;
    // The ledger popup.
    bool summary = false;
    bool popupDelete = false;
    bool monitorListMenu = false;
    bool monitorAdd = false;
    bool monitorRemove = false;
    bool refreshCodeNames = false;
    // The tray popup.
    bool trayRealtime = false;
    bool trayFloating = false;
    // Items of windows and commands wired in by others.
    bool monitorFont = false;
    bool tutorial = false;
    bool backup = false;
    bool brokerImport = false;
    bool profitLoss = false; // "各价位盈亏明细" of both popups and the tray
    bool journal = false;    // "加入股票日志(&A)" and "股票日志查看(&W)" of both popups
    bool stockTrades = false;         // "该股交易明细(&L)"
    bool monitorListCommands = false; // add all, remove all, add unsold, add a period's buys
    bool monitoredStocks = false;     // "显示所有被实时监控股票(&S)"
    bool liveRefresh = false; // "个股行情实时刷新(&R)" of the trade popup and the tray
    bool stockQuery = false;  // the tray's "股票查询(&I)"
    // The data sources' "搜狐" and "和讯".
    bool sohuSource = false;
    bool hexunSource = false;
    bool operator==(const ActionStates&) const = default;
};

ActionStates actionStates(const ActionInputs& in);

} // namespace corvanta::model
