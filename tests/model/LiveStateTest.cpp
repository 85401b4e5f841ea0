#include "model/LiveState.h"
#include "model/ActionInputsOf.h"
#include "model/LedgerFocus.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::model;

namespace {

TEST(LiveStateAnnounces, EachChangeOnce)
{
    LiveState live;
    int heard = 0;
    QObject::connect(&live, &LiveState::changed, [&heard] { ++heard; });
    for (int twice = 0; twice < 2; ++twice) {
        live.setNetworkOk(true);
        live.setSingleStockRefresh(true);
        live.setInTray(true);
        live.setMonitorWindows(true, false, true);
    }
    EXPECT_EQ(heard, 4);
    EXPECT_TRUE(live.networkOk());
    EXPECT_TRUE(live.singleStockRefresh());
    EXPECT_TRUE(live.inTray());
    EXPECT_TRUE(live.monitorShowing());
    EXPECT_FALSE(live.tickerShowing());
    EXPECT_TRUE(live.monitorShownThisRun());
}

// One change of the focus, the live state or the trade box, and the inputs of the
// items' rules that it gives.
struct Derivation {
    std::string name;
    std::function<void(LedgerFocus&, LiveState&, TradeFlags&, Availability&)> change;
    std::function<void(ActionInputs&)> expected; // applied to the inputs at start
};

void PrintTo(const Derivation& d, std::ostream* os)
{
    *os << d.name;
}

class InputsFollow : public ::testing::TestWithParam<Derivation> {};

TEST_P(InputsFollow, TheirSources)
{
    const Derivation& d = GetParam();
    LedgerFocus focus;
    LiveState live;
    TradeFlags trade;
    Availability available;
    const ActionInputs atStart = actionInputsOf(focus, live, trade, available);
    EXPECT_EQ(atStart, ActionInputs{});
    d.change(focus, live, trade, available);
    ActionInputs expected = atStart;
    d.expected(expected);
    EXPECT_EQ(actionInputsOf(focus, live, trade, available), expected);
}

const FocusedRecord bankBuy{7, QStringLiteral("600036"), Direction::Buy, false};

INSTANTIATE_TEST_SUITE_P(
    Inputs, InputsFollow,
    ::testing::Values(Derivation{"NetworkUp",
                                 [](LedgerFocus&, LiveState& l, TradeFlags&, Availability&) {
                                     l.setNetworkOk(true);
                                 },
                                 [](ActionInputs& in) {
                                     in.networkOk = true;
                                 }},
                      Derivation{"MonitorShowing",
                                 [](LedgerFocus&, LiveState& l, TradeFlags&, Availability&) {
                                     l.setMonitorWindows(true, false, true);
                                 },
                                 [](ActionInputs& in) {
                                     in.monitorShowing = true;
                                     in.monitorShownThisRun = true;
                                 }},
                      Derivation{"TickerShowing",
                                 [](LedgerFocus&, LiveState& l, TradeFlags&, Availability&) {
                                     l.setMonitorWindows(false, true, false);
                                 },
                                 [](ActionInputs& in) {
                                     in.tickerShowing = true;
                                 }},
                      // The refresh and the tray change no item.
                      Derivation{"RefreshOnInTray",
                                 [](LedgerFocus&, LiveState& l, TradeFlags&, Availability&) {
                                     l.setSingleStockRefresh(true);
                                     l.setInTray(true);
                                 },
                                 [](ActionInputs&) {
                                 }},
                      Derivation{"RecordFocused",
                                 [](LedgerFocus& f, LiveState&, TradeFlags&, Availability&) {
                                     f.setRecord(bankBuy);
                                 },
                                 [](ActionInputs& in) {
                                     in.ledgerHasCurrentRow = true;
                                 }},
                      Derivation{"MonitoredRecordFocused",
                                 [](LedgerFocus& f, LiveState&, TradeFlags&, Availability&) {
                                     FocusedRecord marked = bankBuy;
                                     marked.monitored = true;
                                     f.setRecord(marked);
                                 },
                                 [](ActionInputs& in) {
                                     in.ledgerHasCurrentRow = true;
                                     in.currentRowMonitored = true;
                                 }},
                      Derivation{"SummaryShown",
                                 [](LedgerFocus& f, LiveState&, TradeFlags&, Availability&) {
                                     f.setView(LedgerViewKind::Summary);
                                 },
                                 [](ActionInputs& in) {
                                     in.ledgerGridShowing = false;
                                 }},
                      // While its quotes come the ledger grid still shows.
                      Derivation{"SummaryOnItsWay",
                                 [](LedgerFocus& f, LiveState&, TradeFlags&, Availability&) {
                                     f.selectView(LedgerViewKind::Summary);
                                 },
                                 [](ActionInputs&) {
                                 }},
                      Derivation{"BuyPriced",
                                 [](LedgerFocus&, LiveState&, TradeFlags& flags, Availability&) {
                                     flags.buyPriced = true;
                                     flags.amountsPriced = true;
                                 },
                                 [](ActionInputs& in) {
                                     in.buyPriced = true;
                                     in.amountsPriced = true;
                                 }},
                      Derivation{"BackupWired",
                                 [](LedgerFocus&, LiveState&, TradeFlags&, Availability& a) {
                                     a |= Available::Backup;
                                 },
                                 [](ActionInputs& in) {
                                     in.available = Available::Backup;
                                 }}),
    [](const ::testing::TestParamInfo<Derivation>& row) { return row.param.name; });

} // namespace
