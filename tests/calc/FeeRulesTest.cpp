#include "calc/FeeRules.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

#include <optional>

using namespace corvanta;

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

constexpr double cent = 1e-9;

// 1200 shares of a Shenzhen stock at 14.46; the boxes show 1 ‰ and 3 ‰ and the
// saved rates differ from them on both sides, so each case shows which it used.
FeeSnapshot shenzhenTrade(Direction current = Direction::Buy)
{
    FeeSnapshot s;
    s.quantity = QStringLiteral("1200");
    s.price = QStringLiteral("14.46");
    s.stampRate = QStringLiteral("1");
    s.commissionRate = QStringLiteral("3");
    s.otherFee = QStringLiteral("5");
    s.direction = current;
    s.saved = {5, 2, 5, 5, 4, 4}; // buy 2 ‰ / 5 ‰, sell 4 ‰ / 4 ‰
    return s;
}

struct ThresholdCase {
    double shares;
    int transferFeeFlag;
    double transferPart;
};

class TransferPart : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(TransferPart, OneJiaoPerHundredSharesWithOneYuanMinimumPlusOtherFee)
{
    const ThresholdCase& c = GetParam();
    EXPECT_NEAR(transferPart(c.shares, 5, c.transferFeeFlag), c.transferPart, cent);
}

INSTANTIATE_TEST_SUITE_P(Threshold, TransferPart,
                         ::testing::Values(ThresholdCase{1000, 1, 6}, ThresholdCase{900, 1, 6},
                                           ThresholdCase{1200, 1, 6.2}, ThresholdCase{1200, 0, 5},
                                           ThresholdCase{900, 0, 5}, ThresholdCase{0, 1, 6}));

TEST(Commission, FiveYuanMinimumIncludesTheBoundary)
{
    EXPECT_DOUBLE_EQ(commission(1000, 3), 5);
    EXPECT_DOUBLE_EQ(commission(5000, 1), 5);
    EXPECT_NEAR(commission(17352, 3), 52.056, cent);
}

TEST(TradeFees, ShownRatesUnitAndFlags)
{
    FeeSnapshot s = shenzhenTrade(Direction::Sell); // the direction plays no part
    EXPECT_NEAR(*tradeFees(s, 1200, 14.46), 74.408, cent);

    s.unitMultiplier = 100;
    EXPECT_NEAR(*tradeFees(s, 12, 14.46), 74.408, cent);

    s.transferFeeFlag = 1;
    EXPECT_NEAR(*tradeFees(s, 12, 14.46), 75.608, cent);

    s.stampDutyFlag = 0;
    s.transferFeeFlag = 0;
    EXPECT_NEAR(*tradeFees(s, 12, 14.46), 57.056, cent);
}

TEST(TradeFees, BadRateOrOtherFeeGivesNoValue)
{
    FeeSnapshot s = shenzhenTrade();
    s.otherFee = QStringLiteral("5.5");
    EXPECT_FALSE(tradeFees(s, 1200, 14.46));
    s = shenzhenTrade();
    s.stampRate = QStringLiteral("x");
    EXPECT_FALSE(tradeFees(s, 1200, 14.46));
}

struct ValueCase {
    const char* name;
    Direction current;
    Direction side;
    void (*adjust)(FeeSnapshot&);
    std::optional<double> value;
};

class TradeValueAfterFees : public ::testing::TestWithParam<ValueCase> {};

TEST_P(TradeValueAfterFees, RatesOfTheNamedSideAndTheGuard)
{
    const ValueCase& c = GetParam();
    FeeSnapshot s = shenzhenTrade(c.current);
    if (c.adjust)
        c.adjust(s);
    const auto value = tradeValueAfterFees(s, 1200, 14.46, c.side);
    ASSERT_EQ(value.has_value(), c.value.has_value());
    if (value) {
        EXPECT_NEAR(*value, *c.value, cent);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sides, TradeValueAfterFees,
    ::testing::Values(
        ValueCase{"BuyWhileBuyingUsesShownRates", Direction::Buy, Direction::Buy, nullptr,
                  17426.408},
        ValueCase{"SellWhileBuyingUsesSavedSellRates", Direction::Buy, Direction::Sell, nullptr,
                  17208.184},
        ValueCase{"SellWhileSellingUsesShownRates", Direction::Sell, Direction::Sell, nullptr,
                  17277.592},
        ValueCase{"BuyWhileSellingUsesSavedBuyRates", Direction::Sell, Direction::Buy, nullptr,
                  17478.464},
        ValueCase{"SavedSideIgnoresABadShownRate", Direction::Buy, Direction::Sell,
                  [](FeeSnapshot& s) { s.stampRate = QStringLiteral("x"); }, 17208.184},
        ValueCase{"OtherFeeIsAlwaysTheShownOne", Direction::Buy, Direction::Sell,
                  [](FeeSnapshot& s) { s.otherFee = QStringLiteral("15"); }, 17198.184},
        ValueCase{"EmptyQuantityInput", Direction::Buy, Direction::Buy,
                  [](FeeSnapshot& s) { s.quantity.clear(); }, std::nullopt},
        ValueCase{"EmptyPriceInput", Direction::Buy, Direction::Sell,
                  [](FeeSnapshot& s) { s.price.clear(); }, std::nullopt},
        ValueCase{"EmptyOtherFee", Direction::Buy, Direction::Sell,
                  [](FeeSnapshot& s) { s.otherFee.clear(); }, std::nullopt},
        ValueCase{"DecimalOtherFee", Direction::Buy, Direction::Sell,
                  [](FeeSnapshot& s) { s.otherFee = QStringLiteral("5.5"); }, std::nullopt}),
    test::CaseName());

struct CodeCase {
    const char* code;
    Direction current;
    double shares;
    std::optional<double> fees;
};

class SellFeesByCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(SellFeesByCode, MarketFromTheCodeAndSellRates)
{
    const CodeCase& c = GetParam();
    FeeSnapshot s = shenzhenTrade(c.current);
    s.unitMultiplier = 100; // shares are counted as given
    s.transferFeeFlag = 0;  // the code decides, not the market choice
    s.stampDutyFlag = 0;
    const auto fees = sellFeesByCode(s, QString::fromUtf8(c.code), c.shares, 10.00);
    ASSERT_EQ(fees.has_value(), c.fees.has_value());
    if (fees) {
        EXPECT_NEAR(*fees, *c.fees, cent);
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, SellFeesByCode,
                         ::testing::Values(CodeCase{"600000", Direction::Buy, 1000, 86},
                                           CodeCase{"000001", Direction::Buy, 1000, 85},
                                           CodeCase{"300750", Direction::Buy, 1000, 85},
                                           CodeCase{"580012", Direction::Buy, 1000, 45},
                                           CodeCase{"150001", Direction::Buy, 1000, 45},
                                           CodeCase{"600000", Direction::Sell, 1000, 46},
                                           CodeCase{"600000", Direction::Sell, 900, 42}));

TEST(SellFeesByCode, BadOtherFeeGivesNoValue)
{
    FeeSnapshot s = shenzhenTrade();
    s.otherFee = QStringLiteral("");
    EXPECT_FALSE(sellFeesByCode(s, u"600000", 1000, 10));
}

} // namespace
