#include "ActionInputsOf.h"

#include "LedgerFocus.h"
#include "LiveState.h"

namespace corvanta::model {

ActionInputs actionInputsOf(const LedgerFocus& focus, const LiveState& live,
                            const TradeFlags& trade, Availability available)
{
    ActionInputs in;
    in.ledgerHasCurrentRow = focus.record().has_value();
    in.currentRowMonitored = focus.record() && focus.record()->monitored;
    in.ledgerGridShowing = focus.view() == LedgerViewKind::Ledger;
    in.networkOk = live.networkOk();
    in.monitorShowing = live.monitorShowing();
    in.tickerShowing = live.tickerShowing();
    in.monitorShownThisRun = live.monitorShownThisRun();
    in.directionChoiceEnabled = trade.directionChoiceEnabled;
    in.buyPriced = trade.buyPriced;
    in.sellPriced = trade.sellPriced;
    in.amountsPriced = trade.amountsPriced;
    in.feesByTradeDate = trade.feesByTradeDate;
    in.sellTargets = trade.sellTargets;
    in.available = available;
    return in;
}

} // namespace corvanta::model
