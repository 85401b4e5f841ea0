#pragma once

namespace corvanta::ledger {

// What the monitor's floating bar must do when it is next shown. A restore
// replaces the ledger under it, so its lines are built again from the ledger.
struct TickerState {
    bool tickerRebuildPending = false;
};

} // namespace corvanta::ledger
