#include "model/ActionStates.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace corvanta::model;

namespace {

using Item = bool ActionStates::*;
using Facts = std::function<void(ActionInputs&)>;

struct ItemCase {
    std::string name;
    Item item;
    Facts facts; // applied to a window that has a row, the network and nothing shown
    bool enabled;
};

void PrintTo(const ItemCase& c, std::ostream* os)
{
    *os << c.name;
}

ActionInputs usualWindow()
{
    ActionInputs in;
    in.ledgerHasCurrentRow = true;
    in.networkOk = true;
    return in;
}

class ItemEnabled : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ItemEnabled, FollowsItsRule)
{
    const ItemCase& c = GetParam();
    ActionInputs in = usualWindow();
    c.facts(in);
    EXPECT_EQ(actionStates(in).*c.item, c.enabled);
}

const Facts asUsual = [](ActionInputs&) {
};
const Facts noRow = [](ActionInputs& in) {
    in.ledgerHasCurrentRow = false;
};
const Facts offline = [](ActionInputs& in) {
    in.networkOk = false;
};
const Facts monitorShowing = [](ActionInputs& in) {
    in.monitorShowing = true;
};
const Facts buyPriced = [](ActionInputs& in) {
    in.buyPriced = true;
};
const Facts sellPriced = [](ActionInputs& in) {
    in.sellPriced = true;
};
const Facts monitored = [](ActionInputs& in) {
    in.currentRowMonitored = true;
};
const Facts directionLocked = [](ActionInputs& in) {
    in.directionChoiceEnabled = false;
};
const Facts targetsOpen = [](ActionInputs& in) {
    in.sellTargets = TargetInputsState::Open;
};
const Facts byTradeDate = [](ActionInputs& in) {
    in.feesByTradeDate = true;
};
const Facts targetsClosed = [](ActionInputs& in) {
    in.sellTargets = TargetInputsState::Closed;
};

Facts both(Facts a, Facts b)
{
    return [a, b](ActionInputs& in) {
        a(in);
        b(in);
    };
}

// Only this one is wired in.
Facts available(Available what)
{
    return [what](ActionInputs& in) {
        in.available = what;
    };
}

// Everything else is wired in, not this one.
Facts allButAvailable(Available what)
{
    return [what](ActionInputs& in) {
        in.available = ~Availability(what);
    };
}

using S = ActionStates;

INSTANTIATE_TEST_SUITE_P(
    Rules, ItemEnabled,
    ::testing::Values(
        // Record buttons follow the pricing of their own direction; the trade box
        // popup's copies follow the buttons.
        ItemCase{"RecordBuyUnpriced", &S::recordBuy, asUsual, false},
        ItemCase{"RecordBuyPriced", &S::recordBuy, buyPriced, true},
        ItemCase{"RecordBuyWhenSellPriced", &S::recordBuy, sellPriced, false},
        ItemCase{"RecordSellUnpriced", &S::recordSell, asUsual, false},
        ItemCase{"RecordSellPriced", &S::recordSell, sellPriced, true},
        ItemCase{"RecordSellWhenBuyPriced", &S::recordSell, buyPriced, false},
        ItemCase{"PopupRecordBuyPriced", &S::popupRecordBuy, buyPriced, true},
        ItemCase{"PopupRecordBuyUnpriced", &S::popupRecordBuy, sellPriced, false},
        ItemCase{"PopupRecordSellPriced", &S::popupRecordSell, sellPriced, true},
        ItemCase{"PopupRecordSellUnpriced", &S::popupRecordSell, buyPriced, false},
        // The delete button acts on the ledger grid, not on the summary.
        ItemCase{"DeleteButtonWithLedgerGrid", &S::deleteRecord, asUsual, true},
        ItemCase{"DeleteButtonWithSummary", &S::deleteRecord,
                 [](ActionInputs& in) { in.ledgerGridShowing = false; }, false},
        // The amount unit converts priced amounts only.
        ItemCase{"AmountUnitPriced", &S::amountUnit,
                 [](ActionInputs& in) { in.amountsPriced = true; }, true},
        ItemCase{"AmountUnitUnpriced", &S::amountUnit, asUsual, false},
        // Sell targets and the current price: at start only the two prices.
        ItemCase{"CurrentPriceAtStart", &S::currentPrice, asUsual, false},
        ItemCase{"CurrentPriceOpen", &S::currentPrice, targetsOpen, true},
        ItemCase{"CurrentPriceClosed", &S::currentPrice, targetsClosed, false},
        ItemCase{"TargetPricesAtStart", &S::targetPrices, asUsual, true},
        ItemCase{"TargetPricesOpen", &S::targetPrices, targetsOpen, true},
        ItemCase{"TargetPricesClosed", &S::targetPrices, targetsClosed, false},
        ItemCase{"TargetAmountsAtStart", &S::targetAmounts, asUsual, false},
        ItemCase{"TargetAmountsOpen", &S::targetAmounts, targetsOpen, true},
        ItemCase{"TargetAmountsClosed", &S::targetAmounts, targetsClosed, false},
        // The fee rules by date find the stamp duty and take a commission minimum.
        ItemCase{"StampRateWithSavedRates", &S::stampRate, asUsual, true},
        ItemCase{"StampRateByTradeDate", &S::stampRate, byTradeDate, false},
        ItemCase{"CommissionMinimumWithSavedRates", &S::commissionMinimum, asUsual, false},
        ItemCase{"CommissionMinimumByTradeDate", &S::commissionMinimum, byTradeDate, true},
        // "实时监控(&D)", both copies.
        ItemCase{"MonitorWithRowAndNetwork", &S::monitor, asUsual, true},
        ItemCase{"MonitorWithoutRow", &S::monitor, noRow, false},
        ItemCase{"MonitorOffline", &S::monitor, offline, false},
        ItemCase{"MonitorAlreadyShowing", &S::monitor, monitorShowing, false},
        // "悬浮窗口显示(&W)".
        ItemCase{"FloatingBarWithRowAndNetwork", &S::floatingBar, asUsual, true},
        ItemCase{"FloatingBarWithoutRow", &S::floatingBar, noRow, false},
        ItemCase{"FloatingBarOffline", &S::floatingBar, offline, false},
        ItemCase{"FloatingBarWhileMonitorShows", &S::floatingBar, monitorShowing, true},
        // The trade box popup's direction and price items.
        ItemCase{"DirectionMenuWithDirectionChoice", &S::directionMenu, asUsual, true},
        ItemCase{"DirectionMenuWithoutDirectionChoice", &S::directionMenu, directionLocked, false},
        ItemCase{"FetchPriceWithDirectionChoice", &S::fetchPrice, asUsual, false},
        ItemCase{"FetchPriceWithoutDirectionChoice", &S::fetchPrice, directionLocked, true},
        ItemCase{"FetchPriceWithoutDirectionChoiceOffline", &S::fetchPrice,
                 both(directionLocked, offline), false},
        ItemCase{"SaveAlwaysDisabled", &S::popupSave, both(buyPriced, sellPriced), false},
        // The ledger popup.
        ItemCase{"SummaryWithRow", &S::summary, asUsual, true},
        ItemCase{"SummaryWithoutRow", &S::summary, noRow, false},
        ItemCase{"SummaryWithRowOffline", &S::summary, offline, true},
        ItemCase{"PopupDeleteWithRow", &S::popupDelete, asUsual, true},
        ItemCase{"PopupDeleteWithoutRow", &S::popupDelete, noRow, false},
        ItemCase{"MonitorListWithRow", &S::monitorListMenu, asUsual, true},
        ItemCase{"MonitorListWithoutRow", &S::monitorListMenu, noRow, false},
        ItemCase{"MonitorAddForUnmonitoredRow", &S::monitorAdd, asUsual, true},
        ItemCase{"MonitorAddForMonitoredRow", &S::monitorAdd, monitored, false},
        ItemCase{"MonitorRemoveForUnmonitoredRow", &S::monitorRemove, asUsual, false},
        ItemCase{"MonitorRemoveForMonitoredRow", &S::monitorRemove, monitored, true},
        ItemCase{"RefreshCodeNamesAlwaysDisabled", &S::refreshCodeNames, asUsual, false},
        // The tray popup.
        ItemCase{"TrayRealtimeMonitorHidden", &S::trayRealtime, offline, true},
        ItemCase{"TrayRealtimeMonitorShowing", &S::trayRealtime, monitorShowing, false},
        ItemCase{"TrayFloatingTickerHidden", &S::trayFloating,
                 [](ActionInputs& in) { in.monitorShownThisRun = true; }, true},
        ItemCase{"TrayFloatingTickerShowingBeforeMonitor", &S::trayFloating,
                 [](ActionInputs& in) { in.tickerShowing = true; }, true},
        ItemCase{"TrayFloatingTickerShowingAfterMonitor", &S::trayFloating,
                 [](ActionInputs& in) {
                     in.tickerShowing = true;
                     in.monitorShownThisRun = true;
                 },
                 false},
        // Items of windows and commands wired in elsewhere work once they are.
        ItemCase{"MonitorFontWired", &S::monitorFont, available(Available::MonitorFont), true},
        ItemCase{"MonitorFontNotWired", &S::monitorFont, allButAvailable(Available::MonitorFont),
                 false},
        ItemCase{"TutorialWired", &S::tutorial, available(Available::Tutorial), true},
        ItemCase{"TutorialNotWired", &S::tutorial, allButAvailable(Available::Tutorial), false},
        ItemCase{"BackupWired", &S::backup, available(Available::Backup), true},
        ItemCase{"BackupNotWired", &S::backup, allButAvailable(Available::Backup), false},
        ItemCase{"BrokerImportWired", &S::brokerImport, available(Available::BrokerImport), true},
        ItemCase{"BrokerImportNotWired", &S::brokerImport, allButAvailable(Available::BrokerImport),
                 false},
        ItemCase{"ProfitLossWired", &S::profitLoss, available(Available::ProfitLoss), true},
        ItemCase{"ProfitLossNotWired", &S::profitLoss, allButAvailable(Available::ProfitLoss),
                 false},
        ItemCase{"JournalWired", &S::journal, available(Available::Journal), true},
        ItemCase{"JournalNotWired", &S::journal, allButAvailable(Available::Journal), false},
        ItemCase{"StockTradesWired", &S::stockTrades, available(Available::StockTrades), true},
        ItemCase{"StockTradesWiredWithoutRow", &S::stockTrades,
                 both(available(Available::StockTrades), noRow), true},
        ItemCase{"StockTradesNotWired", &S::stockTrades, allButAvailable(Available::StockTrades),
                 false},
        ItemCase{"MonitorListCommandsWired", &S::monitorListCommands,
                 available(Available::MonitorListCommands), true},
        ItemCase{"MonitorListCommandsNotWired", &S::monitorListCommands,
                 allButAvailable(Available::MonitorListCommands), false},
        ItemCase{"MonitoredStocksWired", &S::monitoredStocks, available(Available::MonitoredStocks),
                 true},
        ItemCase{"MonitoredStocksNotWired", &S::monitoredStocks,
                 allButAvailable(Available::MonitoredStocks), false},
        ItemCase{"LiveRefreshWired", &S::liveRefresh, available(Available::LiveRefresh), true},
        ItemCase{"LiveRefreshWiredOffline", &S::liveRefresh,
                 both(available(Available::LiveRefresh), offline), true},
        ItemCase{"LiveRefreshNotWired", &S::liveRefresh, allButAvailable(Available::LiveRefresh),
                 false},
        ItemCase{"StockQueryWired", &S::stockQuery, available(Available::StockQuery), true},
        ItemCase{"StockQueryNotWired", &S::stockQuery, allButAvailable(Available::StockQuery),
                 false},
        // A quote source that publishes no endpoint can never be chosen.
        ItemCase{"SohuWithoutEndpoint", &S::sohuSource, allButAvailable(Available::SohuEndpoint),
                 false},
        ItemCase{"SohuWithEndpoint", &S::sohuSource, available(Available::SohuEndpoint), true},
        ItemCase{"HexunWithoutEndpoint", &S::hexunSource, allButAvailable(Available::HexunEndpoint),
                 false},
        ItemCase{"HexunWithEndpoint", &S::hexunSource, available(Available::HexunEndpoint), true}),
    [](const ::testing::TestParamInfo<ItemCase>& row) { return row.param.name; });

} // namespace
