#include "ActionStates.h"

namespace corvanta::model {

ActionStates actionStates(const ActionInputs& in)
{
    ActionStates s;
    s.recordBuy = in.buyPriced;
    s.recordSell = in.sellPriced;
    // The button deletes the ledger grid's row: the summary has none to offer.
    s.deleteRecord = in.ledgerGridShowing;
    s.amountUnit = in.amountsPriced;
    s.currentPrice = in.sellTargets == TargetInputsState::Open;
    s.targetPrices = in.sellTargets != TargetInputsState::Closed;
    s.targetAmounts = in.sellTargets == TargetInputsState::Open;
    // The rules by date find the stamp duty themselves; only they take a minimum.
    s.stampRate = !in.feesByTradeDate;
    s.commissionMinimum = in.feesByTradeDate;

    // The monitor starts on the current row's stock and needs quotes to do so;
    // a monitor already showing is not opened twice.
    s.monitor = in.ledgerHasCurrentRow && in.networkOk && !in.monitorShowing;
    s.floatingBar = in.ledgerHasCurrentRow && in.networkOk;

    s.directionMenu = in.directionChoiceEnabled;
    s.fetchPrice = !in.directionChoiceEnabled && in.networkOk;
    s.popupRecordBuy = s.recordBuy;
    s.popupRecordSell = s.recordSell;
    s.popupSave = false;

    s.summary = in.ledgerHasCurrentRow;
    s.popupDelete = in.ledgerHasCurrentRow;
    s.monitorListMenu = in.ledgerHasCurrentRow;
    s.monitorAdd = !in.currentRowMonitored;
    s.monitorRemove = in.currentRowMonitored;
    s.refreshCodeNames = false;

    s.trayRealtime = !in.monitorShowing;
    s.trayFloating = !(in.tickerShowing && in.monitorShownThisRun);

    // Never a click that does nothing: an item works once it is wired in.
    const auto available = [&in](Available what) {
        return in.available.testFlag(what);
    };
    s.monitorFont = available(Available::MonitorFont);
    s.tutorial = available(Available::Tutorial);
    s.backup = available(Available::Backup);
    s.brokerImport = available(Available::BrokerImport);
    s.profitLoss = available(Available::ProfitLoss);
    s.journal = available(Available::Journal);
    s.stockTrades = available(Available::StockTrades);
    s.monitorListCommands = available(Available::MonitorListCommands);
    s.monitoredStocks = available(Available::MonitoredStocks);
    s.liveRefresh = available(Available::LiveRefresh);
    s.stockQuery = available(Available::StockQuery);
    // A source without a quote endpoint can never be the one in use.
    s.sohuSource = available(Available::SohuEndpoint);
    s.hexunSource = available(Available::HexunEndpoint);
    return s;
}

} // namespace corvanta::model
