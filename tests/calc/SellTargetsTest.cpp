#include "calc/SellTargets.h"
#include "calc/MarketKind.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

using namespace corvanta;
using test::expected;
using test::shown;

namespace {

// Failure messages name the table row instead of dumping its bytes.
template <class Case>
requires requires(const Case& c)
{
    c.name;
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// A priced holding as the main window shows it. The selling rates are 1 ‰ and 3 ‰
// in both modes; the rates that must not be used are 6 ‰, so a wrong source shows.
struct Holding {
    const char* quantity = "1200";
    const char* buyPrice = "14.46";
    const char* total = "17426.41"; // T
    const char* fixedPart = "5.00"; // X
    const char* otherFee = "5";
    Direction direction = Direction::Buy;
    MarketKind market = MarketKind::ShenzhenA;
    int unit = 1;
};

SellTargetInputs inputsOf(const Holding& h)
{
    SellTargetInputs in;
    FeeSnapshot& t = in.trade;
    t.quantity = QString::fromUtf8(h.quantity);
    t.price = QString::fromUtf8(h.buyPrice);
    t.otherFee = QString::fromUtf8(h.otherFee);
    t.direction = h.direction;
    t.unitMultiplier = h.unit;
    const MarketFlags flags = flagsFor(h.market);
    t.transferFeeFlag = flags.transferFee;
    t.stampDutyFlag = flags.stampDuty;
    if (h.direction == Direction::Buy) {
        // The boxes show buy rates; selling uses the saved sell rates.
        t.stampRate = QStringLiteral("6");
        t.commissionRate = QStringLiteral("6");
        t.saved = {5, 6, 6, 5, 1, 3};
    } else {
        // The boxes show the sell rates the trade is priced with.
        t.stampRate = QStringLiteral("1");
        t.commissionRate = QStringLiteral("3");
        t.saved = {5, 6, 6, 5, 6, 6};
    }
    in.total = QString::fromUtf8(h.total);
    in.transferAndOther = QString::fromUtf8(h.fixedPart);
    return in;
}

struct TargetCase {
    const char* name;
    Holding holding;
    SellTargetBox box;
    const char* typed;
    const char* price;
    const char* amount;
    const char* percent;
};

class SellTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(SellTarget, WritesResultsInOrderAndStopsAtAFailure)
{
    const TargetCase& c = GetParam();
    const SellTargetTexts out =
        computeSellTarget(c.box, inputsOf(c.holding), QString::fromUtf8(c.typed));
    EXPECT_EQ(shown(out.price), expected(c.price));
    EXPECT_EQ(shown(out.amount), expected(c.amount));
    EXPECT_EQ(shown(out.percent), expected(c.percent));
}

using Box = SellTargetBox;

// 100 shares of a Shanghai stock at 10.00: commission of the buy amount 3 yuan.
constexpr Holding smallShanghai{.quantity = "100",
                                .buyPrice = "10.00",
                                .total = "1014.00",
                                .fixedPart = "6",
                                .market = MarketKind::ShanghaiA};

INSTANTIATE_TEST_SUITE_P(
    Operations, SellTarget,
    ::testing::Values(
        TargetCase{"ProfitAmountProportionalCommission",
                   {},
                   Box::ProfitAmount,
                   "100",
                   "14.67",
                   nullptr,
                   ".57"},
        TargetCase{"ProfitAmountFlatCommissionBelowFiveYuan", smallShanghai, Box::ProfitAmount,
                   "50", "10.76", nullptr, "4.93"},
        TargetCase{"ProfitAmountInLots",
                   {.quantity = "1",
                    .buyPrice = "10.00",
                    .total = "1014.00",
                    .fixedPart = "6",
                    .market = MarketKind::ShanghaiA,
                    .unit = 100},
                   Box::ProfitAmount,
                   "50",
                   "10.76",
                   nullptr,
                   "4.93"},
        TargetCase{"ProfitAmountWarrantHasNoStampTerm",
                   {.total = "17409.06", .market = MarketKind::WarrantOrFund},
                   Box::ProfitAmount,
                   "100",
                   "14.64",
                   nullptr,
                   ".57"},
        TargetCase{"ProfitAmountShanghai",
                   {.total = "17427.61", .fixedPart = "6.20", .market = MarketKind::ShanghaiA},
                   Box::ProfitAmount,
                   "100",
                   "14.67",
                   nullptr,
                   ".57"},
        TargetCase{"ProfitZeroRepaysTotal", {}, Box::ProfitAmount, "0", "14.58", nullptr, ".00"},
        TargetCase{"PriceBelowOneWithoutLeadingZero",
                   {.quantity = "10000", .buyPrice = "0.35", .total = "3519.00"},
                   Box::ProfitAmount,
                   "0",
                   ".35",
                   nullptr,
                   ".00"},
        TargetCase{"SellModeUsesShownRates",
                   {.total = "17277.59", .direction = Direction::Sell},
                   Box::ProfitAmount,
                   "100",
                   "14.54",
                   nullptr,
                   ".58"},
        TargetCase{"ProfitPercent", {}, Box::ProfitPercent, "10", "16.04", "1742.64", nullptr},
        TargetCase{"LossAmount", {}, Box::LossAmount, "500", "14.17", nullptr, "2.87"},
        TargetCase{"LossLargerThanTotalGivesNegativePrice",
                   {},
                   Box::LossAmount,
                   "20000",
                   "-2.15",
                   nullptr,
                   "114.77"},
        TargetCase{"LossPercent", {}, Box::LossPercent, "10", "13.13", "1742.64", nullptr},
        TargetCase{"ProfitAtPrice", {}, Box::ProfitPrice, "15", nullptr, "496.59", "2.85"},
        TargetCase{
            "ProfitAtPriceBelowCost", {}, Box::ProfitPrice, "14", nullptr, "-698.61", "-4.01"},
        TargetCase{"ProfitAtPriceWarrant",
                   {.total = "17409.06", .market = MarketKind::WarrantOrFund},
                   Box::ProfitPrice,
                   "15",
                   nullptr,
                   "531.94",
                   "3.06"},
        TargetCase{"ProfitAtPriceShanghaiTransferFee",
                   {.total = "17427.61", .fixedPart = "6.20", .market = MarketKind::ShanghaiA},
                   Box::ProfitPrice,
                   "15",
                   nullptr,
                   "494.19",
                   "2.84"},
        TargetCase{"LossAtPrice", {}, Box::LossPrice, "14", nullptr, "698.61", "4.01"},
        TargetCase{"ZeroTotalStopsBeforePercent",
                   {.total = "0"},
                   Box::ProfitAmount,
                   "100",
                   ".09",
                   nullptr,
                   nullptr},
        TargetCase{"ZeroTotalStopsBeforeLossPercent",
                   {.total = "0"},
                   Box::LossPrice,
                   "15",
                   nullptr,
                   "-17923.00",
                   nullptr},
        TargetCase{"ZeroTotalPercentNeedsNoDivision",
                   {.total = "0"},
                   Box::ProfitPercent,
                   "10",
                   ".00",
                   ".00",
                   nullptr},
        TargetCase{"ZeroQuantityDividesByZero",
                   {.quantity = "0"},
                   Box::ProfitAmount,
                   "100",
                   nullptr,
                   nullptr,
                   nullptr},
        TargetCase{"EmptyBoxComputesNothing", {}, Box::ProfitAmount, "", nullptr, nullptr, nullptr},
        TargetCase{
            "MalformedBoxComputesNothing", {}, Box::LossPercent, "1..2", nullptr, nullptr, nullptr},
        TargetCase{"EmptyTotalComputesNothing",
                   {.total = ""},
                   Box::ProfitPrice,
                   "15",
                   nullptr,
                   nullptr,
                   nullptr},
        TargetCase{"MalformedFixedPartComputesNothing",
                   {.fixedPart = "x"},
                   Box::ProfitAmount,
                   "100",
                   nullptr,
                   nullptr,
                   nullptr},
        TargetCase{"TargetPriceNeedsNoOtherFee",
                   {.otherFee = ""},
                   Box::ProfitAmount,
                   "100",
                   "14.67",
                   nullptr,
                   ".57"},
        TargetCase{"SaleTotalNeedsTheOtherFee",
                   {.otherFee = ""},
                   Box::ProfitPrice,
                   "15",
                   nullptr,
                   nullptr,
                   nullptr}),
    test::CaseName());

TEST(SellTargetGuard, PriceBoxesAlsoNeedTheTotal)
{
    EXPECT_TRUE(sellTargetWillRun(Box::ProfitAmount, u"1", u""));
    EXPECT_FALSE(sellTargetWillRun(Box::LossPercent, u"", u"100"));
    EXPECT_TRUE(sellTargetWillRun(Box::LossPrice, u"1", u"100"));
    EXPECT_FALSE(sellTargetWillRun(Box::ProfitPrice, u"1", u""));
}

struct GainCase {
    const char* name;
    Holding holding;
    const char* currentPrice;
    const char* text;
    bool loss;
};

class GainAtCurrentPrice : public ::testing::TestWithParam<GainCase> {};

TEST_P(GainAtCurrentPrice, SaleTotalLessTotalPaid)
{
    const GainCase& c = GetParam();
    const auto gain = gainAtCurrentPrice(inputsOf(c.holding), QString::fromUtf8(c.currentPrice));
    EXPECT_EQ(shown(gain ? std::optional(gain->text) : std::nullopt), expected(c.text));
    if (gain) {
        EXPECT_EQ(gain->loss, c.loss);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Prices, GainAtCurrentPrice,
    ::testing::Values(
        GainCase{"Profit", {}, "15", "盈利:496.59元", false},
        GainCase{"LossKeepsTheWordProfit", {}, "14", "盈利:-698.61元", true},
        GainCase{"ExactlyZeroIsRed", {.total = "17923.00"}, "15", "盈利:.00元", false},
        // 859.13 received and paid, which floating point puts just below zero.
        GainCase{"BreakEvenWithRoundingNoiseIsRed",
                 {.quantity = "100", .buyPrice = "8.70", .total = "859.13", .fixedPart = "5"},
                 "8.70",
                 "盈利:.00元",
                 false},
        GainCase{
            "SellModeUsesShownRates", {.direction = Direction::Sell}, "15", "盈利:496.59元", false},
        GainCase{"NoPriceFetched", {}, "-", nullptr, false},
        GainCase{"EmptyPrice", {}, "", nullptr, false},
        GainCase{"MalformedPrice", {}, "1..5", nullptr, false},
        GainCase{"EmptyTotal", {.total = ""}, "15", nullptr, false},
        GainCase{"EmptyQuantity", {.quantity = ""}, "15", nullptr, false}),
    test::CaseName());

struct BuyBackCase {
    const char* name;
    Holding holding;
    const char* current;
    const char* specified;
    const char* text;
    bool loss;
};

class BuyBackGain : public ::testing::TestWithParam<BuyBackCase> {};

TEST_P(BuyBackGain, ProceedsNowLessCostOfBuyingBack)
{
    const BuyBackCase& c = GetParam();
    SellTargetInputs in = inputsOf(c.holding);
    if (in.trade.direction == Direction::Buy) {
        // The buy-back is priced with the buy rates the boxes show while buying.
        in.trade.stampRate = QStringLiteral("1");
        in.trade.commissionRate = QStringLiteral("3");
    }
    const auto gain =
        buyBackGain(in.trade, QString::fromUtf8(c.current), QString::fromUtf8(c.specified));
    EXPECT_EQ(shown(gain ? std::optional(gain->text) : std::nullopt), expected(c.text));
    if (gain) {
        EXPECT_EQ(gain->loss, c.loss);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Prices, BuyBackGain,
    ::testing::Values(BuyBackCase{"BuyBackLower", {}, "15", "14", "1050.800", false},
                      BuyBackCase{"BuyBackHigher", {}, "15", "16", "-1358.800", true},
                      BuyBackCase{"SamePriceCostsBothFees", {}, "14.46", "14.46", "-148.816", true},
                      BuyBackCase{"BelowOneWithoutLeadingZero",
                                  {.quantity = "100", .buyPrice = "10.00"},
                                  "10.50",
                                  "10.28",
                                  "-.078",
                                  true},
                      BuyBackCase{"SellModeBuysBackAtSavedBuyRates",
                                  {.direction = Direction::Sell},
                                  "15",
                                  "14",
                                  "916.400",
                                  false},
                      BuyBackCase{"EmptyQuantity", {.quantity = ""}, "15", "14", nullptr, false},
                      BuyBackCase{"MalformedSpecifiedPrice", {}, "15", "1..4", nullptr, false}),
    test::CaseName());

} // namespace
