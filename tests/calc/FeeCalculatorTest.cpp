#include "calc/FeeCalculator.h"
#include "calc/MarketKind.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

#include <array>

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

// The trade inputs as typed; the market sets the flags unless a typed code clears
// the stamp duty.
struct Trade {
    const char* quantity = "1200";
    const char* price = "14.46";
    const char* stampRate = "1";
    const char* commissionRate = "3";
    const char* otherFee = "5";
    MarketKind market = MarketKind::ShenzhenA;
    int unit = 1;
    Direction direction = Direction::Buy;
    const char* code = nullptr;
};

FeeInputs inputsOf(const Trade& t)
{
    const MarketFlags flags = flagsFor(t.market);
    FeeInputs in;
    in.quantity = QString::fromUtf8(t.quantity);
    in.price = QString::fromUtf8(t.price);
    in.stampRate = QString::fromUtf8(t.stampRate);
    in.commissionRate = QString::fromUtf8(t.commissionRate);
    in.otherFee = QString::fromUtf8(t.otherFee);
    in.direction = t.direction;
    in.unitMultiplier = t.unit;
    in.transferFeeFlag = flags.transferFee;
    in.stampDutyFlag = t.code ? stampDutyFlagForCode(QString::fromUtf8(t.code)) : flags.stampDuty;
    return in;
}

// tradeAmount, stampDuty, commission, transferAndOther, totalFees, total, costPerShare, breakEven;
// nullptr: the step did not complete.
using Outputs = std::array<const char*, 8>;

struct FeeCase {
    const char* name;
    Trade trade;
    bool inputsComplete;
    Outputs outputs;
};

class ComputeFees : public ::testing::TestWithParam<FeeCase> {};

TEST_P(ComputeFees, WritesEachStepFromTheRoundedTextsBefore)
{
    const FeeCase& c = GetParam();
    const FeeQuote q = computeFees(inputsOf(c.trade));
    EXPECT_EQ(q.inputsComplete, c.inputsComplete);
    const std::array<const std::optional<QString>*, 8> got{
        &q.tradeAmount, &q.stampDuty, &q.commission,   &q.transferAndOther,
        &q.totalFees,   &q.total,     &q.costPerShare, &q.breakEven};
    static const std::array<const char*, 8> fields{"tradeAmount",      "stampDuty", "commission",
                                                   "transferAndOther", "totalFees", "total",
                                                   "costPerShare",     "breakEven"};
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(shown(*got[i]), expected(c.outputs[i])) << fields[i];
}

constexpr Outputs nothing{};

INSTANTIATE_TEST_SUITE_P(
    Trades, ComputeFees,
    ::testing::Values(
        FeeCase{"ShenzhenBuy",
                {},
                true,
                {"17352.00", "17.35", "52.06", "5.00", "74.41", "17426.41", "14.522", "14.585"}},
        FeeCase{"ShanghaiAddsTransferFee",
                {.market = MarketKind::ShanghaiA},
                true,
                {"17352.00", "17.35", "52.06", "6.20", "75.61", "17427.61", "14.523", "14.587"}},
        FeeCase{"ShanghaiSmallTradeMinimums",
                {.quantity = "100",
                 .price = "10.00",
                 .stampRate = "3",
                 .market = MarketKind::ShanghaiA},
                true,
                {"1000.00", "3.00", "5", "6", "14.00", "1014.00", "10.140", "10.262"}},
        FeeCase{"ShenzhenSmallTradeMinimums",
                {.quantity = "100", .price = "10.00", .stampRate = "3"},
                true,
                {"1000.00", "3.00", "5", "5", "13.00", "1013.00", "10.130", "10.241"}},
        FeeCase{"TransferThresholdAtThousandShares",
                {.quantity = "1000",
                 .price = "10.00",
                 .stampRate = "3",
                 .market = MarketKind::ShanghaiA},
                true,
                {"10000.00", "30.00", "30.00", "6.00", "66.00", "10066.00", "10.066", "10.133"}},
        FeeCase{"TransferMinimumBelowThousandShares",
                {.quantity = "900",
                 .price = "10.00",
                 .stampRate = "3",
                 .market = MarketKind::ShanghaiA},
                true,
                {"9000.00", "27.00", "27.00", "6", "60.00", "9060.00", "10.067", "10.134"}},
        FeeCase{"LotsOfHundredShares",
                {.quantity = "12", .unit = 100},
                true,
                {"17352.00", "17.35", "52.06", "5.00", "74.41", "17426.41", "14.522", "14.585"}},
        FeeCase{"WarrantPaysNoStampNorTransfer",
                {.market = MarketKind::WarrantOrFund},
                true,
                {"17352.00", ".00", "52.06", "5.00", "57.06", "17409.06", "14.508", "14.555"}},
        FeeCase{"WarrantCodeClearsStampOnShenzhenChoice",
                {.code = "580012"},
                true,
                {"17352.00", ".00", "52.06", "5.00", "57.06", "17409.06", "14.508", "14.555"}},
        FeeCase{"SellReceivesAmountLessFees",
                {.direction = Direction::Sell},
                true,
                {"17352.00", "17.35", "52.06", "5.00", "74.41", "17277.59", "14.398", "14.460"}},
        FeeCase{"CommissionExactlyAtMinimumShowsDecimals",
                {.quantity = "500", .price = "10.00", .commissionRate = "1"},
                true,
                {"5000.00", "5.00", "5.00", "5", "15.00", "5015.00", "10.030", "10.060"}},
        FeeCase{"BelowOneWithoutLeadingZero",
                {.quantity = "1", .price = "0.50"},
                true,
                {".50", ".00", "5", "5", "10.00", "10.50", "10.500", "15.562"}},
        FeeCase{"EmptyPriceWritesNothing", {.price = ""}, false, nothing},
        FeeCase{"EmptyCommissionRateWritesNothing", {.commissionRate = ""}, false, nothing},
        FeeCase{"EmptyOtherFeeWritesNothing", {.otherFee = ""}, false, nothing},
        FeeCase{"MalformedPriceStopsAtOnce", {.price = "1..2"}, true, nothing},
        FeeCase{"OverflowingPriceStopsAtOnce", {.price = "1e308"}, true, nothing},
        FeeCase{"MalformedCommissionRateStopsAfterStampDuty",
                {.commissionRate = "x"},
                true,
                {"17352.00", "17.35"}},
        FeeCase{"DecimalOtherFeeStopsAfterCommission",
                {.otherFee = "5.5"},
                true,
                {"17352.00", "17.35", "52.06"}},
        FeeCase{"ZeroQuantityStopsAfterTotal",
                {.quantity = "0"},
                true,
                {".00", ".00", "5", "5", "10.00", "10.00"}}),
    test::CaseName());

struct RescaleCase {
    const char* name;
    std::array<const char*, 3> texts; // tradeAmount, totalFees, total as shown
    bool toTenThousands;
    std::array<const char*, 3> rescaled;
};

class ConvertAmountUnit : public ::testing::TestWithParam<RescaleCase> {};

TEST_P(ConvertAmountUnit, RescalesThroughTheShownTexts)
{
    const RescaleCase& c = GetParam();
    const AmountTexts out =
        convertAmountUnit(QString::fromUtf8(c.texts[0]), QString::fromUtf8(c.texts[1]),
                          QString::fromUtf8(c.texts[2]), c.toTenThousands);
    EXPECT_EQ(shown(out.tradeAmount), expected(c.rescaled[0]));
    EXPECT_EQ(shown(out.totalFees), expected(c.rescaled[1]));
    EXPECT_EQ(shown(out.total), expected(c.rescaled[2]));
}

INSTANTIATE_TEST_SUITE_P(Units, ConvertAmountUnit,
                         ::testing::Values(RescaleCase{"ToTenThousands",
                                                       {"17352.00", "74.41", "17426.41"},
                                                       true,
                                                       {"1.7352", ".0074", "1.7426"}},
                                           RescaleCase{"BackToYuanLosesTheDroppedDigits",
                                                       {"1.7352", ".0074", "1.7426"},
                                                       false,
                                                       {"17352.00", "74.00", "17426.00"}},
                                           RescaleCase{"BadTextStopsTheRest",
                                                       {"17352.00", "", "17426.41"},
                                                       true,
                                                       {"1.7352", nullptr, nullptr}}),
                         test::CaseName());

} // namespace
