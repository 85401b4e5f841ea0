#pragma once

#include "calc/FeeRates.h"

#include <QString>

namespace corvanta::app {

// What the fee calculator's choices set: the unit and the market flags.
struct TradeState {
    int unitMultiplier = 1;  // 1: shares, 100: lots
    int transferFeeFlag = 0; // 1 for Shanghai A shares
    int stampDutyFlag = 1;   // 0 for warrants and funds
};

// The state of the running program that several windows read and write. The
// application owns one and hands it to whoever needs it.
struct SessionState {
    TradeState trade;
    FeeRates rates;
    int ledgerSortOrder = 0; // 0 by date, 1 by name
    qint64 currentRecordId = 0;
    bool networkOk = false;
    bool inTray = false;
    bool mainClosing = false;
    bool detailLocked = false;
    bool quoteFetchIdle = true;
    int quoteThrottleTicks = 0;
    int statusCycleCounter = 0;
    QString proxyHost;
    int proxyPort = 0;
};

} // namespace corvanta::app
