#pragma once

namespace corvanta::model {

// Where the sell-target inputs and the current-price input stand: as the window
// starts (only the two target prices open), opened by a pricing or a selected buy,
// or closed by a selected sell, a summary or clearing the inputs.
enum class TargetInputsState { AsAtStart, Open, Closed };

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
    bool operator==(const ActionStates&) const = default;
};

ActionStates actionStates(const ActionInputs& in);

} // namespace corvanta::model
