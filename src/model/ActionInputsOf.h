#pragma once

#include "ActionStates.h"

namespace corvanta::model {

class LedgerFocus;
class LiveState;

// The trade box's facts the items depend on, as its controllers announce them.
struct TradeFlags {
    bool directionChoiceEnabled = true;
    bool buyPriced = false;
    bool sellPriced = false;
    bool amountsPriced = false;
    bool feesByTradeDate = false;
    TargetInputsState sellTargets = TargetInputsState::AsAtStart;
    bool operator==(const TradeFlags&) const = default;
};

// The inputs of `actionStates()` as the ledger focus, the live state, the trade
// box and the wired items stand.
ActionInputs actionInputsOf(const LedgerFocus& focus, const LiveState& live,
                            const TradeFlags& trade, Availability available);

} // namespace corvanta::model
