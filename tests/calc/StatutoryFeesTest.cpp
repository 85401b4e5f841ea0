#include "calc/StatutoryFees.h"
#include "calc/FeeCalculator.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

#include <set>

using namespace corvanta;
using test::shown;

namespace {

template <class Case>
requires requires(const Case& c)
{
    c.name;
}
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// 1000 shares at 10.00 (amount 10000) on the date named: the day before each
// change and the day itself.
struct RuleCase {
    const char* name;
    const char* date;
    MarketKind market;
    Direction direction;
    double stampDuty;
    double transferFee;
    const char* stampHint;
    const char* transferHint;
};

const RuleCase ruleCases[] = {
    {"before2007_05_30", "2007-05-29", MarketKind::ShanghaiA, Direction::Buy, 10, 1,
     "印花税 1‰（买卖双方，2007-05-30前）", "过户费 每1000股1元，最低1元（上海，2007-05-30前）"},
    {"on2007_05_30", "2007-05-30", MarketKind::ShanghaiA, Direction::Buy, 30, 1,
     "印花税 3‰（买卖双方，2007-05-30起）", "过户费 每1000股1元，最低1元（上海，2007-05-30起）"},
    {"before2008_04_24", "2008-04-23", MarketKind::ShanghaiA, Direction::Sell, 30, 1,
     "印花税 3‰（买卖双方，2007-05-30起）", "过户费 每1000股1元，最低1元（上海，2007-05-30起）"},
    {"on2008_04_24", "2008-04-24", MarketKind::ShanghaiA, Direction::Sell, 10, 1,
     "印花税 1‰（买卖双方，2008-04-24起）", "过户费 每1000股1元，最低1元（上海，2008-04-24起）"},
    {"before2008_09_19", "2008-09-18", MarketKind::ShenzhenA, Direction::Buy, 10, 0,
     "印花税 1‰（买卖双方，2008-04-24起）", "过户费 0（深圳不收，2008-04-24起）"},
    {"on2008_09_19", "2008-09-19", MarketKind::ShenzhenA, Direction::Buy, 0, 0,
     "印花税 0（买入不收，2008-09-19起）", "过户费 0（深圳不收，2008-09-19起）"},
    {"before2015_08_01", "2015-07-31", MarketKind::ShenzhenA, Direction::Sell, 10, 0,
     "印花税 1‰（卖出，2008-09-19起）", "过户费 0（深圳不收，2008-09-19起）"},
    {"on2015_08_01", "2015-08-01", MarketKind::ShenzhenA, Direction::Sell, 10, 0.2,
     "印花税 1‰（卖出，2015-08-01起）", "过户费 0.02‰（沪深，按成交金额，2015-08-01起）"},
    {"before2022_04_29", "2022-04-28", MarketKind::ShanghaiA, Direction::Buy, 0, 0.2,
     "印花税 0（买入不收，2015-08-01起）", "过户费 0.02‰（沪深，按成交金额，2015-08-01起）"},
    {"on2022_04_29", "2022-04-29", MarketKind::ShanghaiA, Direction::Buy, 0, 0.1,
     "印花税 0（买入不收，2022-04-29起）", "过户费 0.01‰（沪深，按成交金额，2022-04-29起）"},
    {"before2023_08_28", "2023-08-27", MarketKind::ShanghaiA, Direction::Sell, 10, 0.1,
     "印花税 1‰（卖出，2022-04-29起）", "过户费 0.01‰（沪深，按成交金额，2022-04-29起）"},
    {"on2023_08_28", "2023-08-28", MarketKind::ShanghaiA, Direction::Sell, 5, 0.1,
     "印花税 0.5‰（卖出，2023-08-28起）", "过户费 0.01‰（沪深，按成交金额，2023-08-28起）"},
    // Funds and warrants pay neither, before and after the transfer fee reform.
    {"fundIn2010", "2010-03-01", MarketKind::WarrantOrFund, Direction::Sell, 0, 0,
     "印花税 0（权证或基金不收）", "过户费 0（权证或基金不收）"},
    {"fundIn2024", "2024-01-02", MarketKind::WarrantOrFund, Direction::Sell, 0, 0,
     "印花税 0（权证或基金不收）", "过户费 0（权证或基金不收）"},
};

class StatutoryRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(StatutoryRuleTest, ChargesTheRuleOfTheTradeDate)
{
    const RuleCase& c = GetParam();
    const QDate date = QDate::fromString(QString::fromUtf8(c.date), Qt::ISODate);
    const int stampFlag = c.market == MarketKind::WarrantOrFund ? 0 : 1;
    const StatutoryFees fees = statutoryFees(date, c.direction, c.market, stampFlag, 10000, 1000);
    EXPECT_DOUBLE_EQ(fees.stampDuty, c.stampDuty);
    EXPECT_DOUBLE_EQ(fees.transferFee, c.transferFee);
    EXPECT_EQ(fees.stampHint.toStdString(), c.stampHint);
    EXPECT_EQ(fees.transferHint.toStdString(), c.transferHint);
}

INSTANTIATE_TEST_SUITE_P(ChangeDates, StatutoryRuleTest, ::testing::ValuesIn(ruleCases),
                         test::CaseName());

// A row added to the rule table needs its two test rows above.
TEST(StatutoryRuleTable, EveryChangeDateHasTheDayBeforeAndTheDayItself)
{
    std::set<QDate> tested;
    for (const RuleCase& c : ruleCases)
        tested.insert(QDate::fromString(QString::fromUtf8(c.date), Qt::ISODate));
    const auto rules = statutoryRules();
    for (std::size_t i = 1; i < rules.size(); ++i) {
        const QDate from = rules[i].from();
        EXPECT_TRUE(tested.contains(from)) << from.toString(Qt::ISODate).toStdString();
        EXPECT_TRUE(tested.contains(from.addDays(-1))) << from.toString(Qt::ISODate).toStdString();
        EXPECT_LT(rules[i - 1].from(), from);
    }
}

TEST(StatutoryRuleTable, TheShanghaiShareFeeHasItsOneYuanMinimumAndGrowsPerShare)
{
    const QDate date(2010, 3, 1);
    EXPECT_DOUBLE_EQ(
        statutoryFees(date, Direction::Buy, MarketKind::ShanghaiA, 1, 1000, 100).transferFee, 1);
    EXPECT_DOUBLE_EQ(
        statutoryFees(date, Direction::Buy, MarketKind::ShanghaiA, 1, 50000, 5000).transferFee, 5);
}

TEST(FeeRuleChoiceText, RoundTripsAndRefusesOtherTexts)
{
    for (FeeRuleChoice choice : {FeeRuleChoice::SavedRates, FeeRuleChoice::ByTradeDate})
        EXPECT_EQ(feeRuleChoiceOfText(feeRuleChoiceText(choice)), choice);
    EXPECT_EQ(feeRuleChoiceText(FeeRuleChoice::SavedRates), QStringLiteral("按设置的费率"));
    EXPECT_EQ(feeRuleChoiceText(FeeRuleChoice::ByTradeDate),
              QStringLiteral("按交易日期的法定规则"));
    EXPECT_FALSE(feeRuleChoiceOfText(u"法定"));
    EXPECT_FALSE(feeRuleChoiceOfText(u""));
}

// The calculator's fields under the rules by date: the stamp-rate input is not
// read, the commission keeps the user's rate with the minimum set.
struct PricingCase {
    const char* name;
    const char* date;
    MarketKind market;
    Direction direction;
    const char* quantity;
    const char* price;
    const char* commissionRate;
    double minimum;
    // stampDuty, commission, transferAndOther, totalFees, total
    std::array<const char*, 5> fields;
};

const PricingCase pricingCases[] = {
    {"buy2024_01_02Shanghai",
     "2024-01-02",
     MarketKind::ShanghaiA,
     Direction::Buy,
     "1000",
     "10.00",
     "0.25",
     0,
     {".00", "2.50", "5.10", "7.60", "10007.60"}},
    {"buy2024_01_02ShenzhenWithMinimum5",
     "2024-01-02",
     MarketKind::ShenzhenA,
     Direction::Buy,
     "1000",
     "10.00",
     "0.25",
     5,
     {".00", "5", "5.10", "10.10", "10010.10"}},
    {"sell2024Shenzhen",
     "2024-01-02",
     MarketKind::ShenzhenA,
     Direction::Sell,
     "1200",
     "14.46",
     "3",
     5,
     {"8.68", "52.06", "5.17", "65.91", "17286.09"}},
    {"buy2007Shanghai900Shares",
     "2007-06-01",
     MarketKind::ShanghaiA,
     Direction::Buy,
     "900",
     "10.00",
     "3",
     5,
     {"27.00", "27.00", "6.00", "60.00", "9060.00"}},
    {"minimumOf2Yuan",
     "2024-01-02",
     MarketKind::ShenzhenA,
     Direction::Buy,
     "100",
     "10.00",
     "0.25",
     2,
     {".00", "2", "5.01", "7.01", "1007.01"}},
};

class ByDatePricingTest : public ::testing::TestWithParam<PricingCase> {};

TEST_P(ByDatePricingTest, FieldsFollowTheDateAndTheMinimum)
{
    const PricingCase& c = GetParam();
    const MarketFlags flags = flagsFor(c.market);
    FeeInputs in;
    in.quantity = QString::fromUtf8(c.quantity);
    in.price = QString::fromUtf8(c.price);
    in.stampRate = QStringLiteral("6"); // not read under the rules by date
    in.commissionRate = QString::fromUtf8(c.commissionRate);
    in.otherFee = QStringLiteral("5");
    in.direction = c.direction;
    in.transferFeeFlag = flags.transferFee;
    in.stampDutyFlag = flags.stampDuty;
    in.byDate =
        ByDateTerms{QDate::fromString(QString::fromUtf8(c.date), Qt::ISODate), c.market, c.minimum};
    const FeeQuote quote = computeFees(in);
    EXPECT_EQ(shown(quote.stampDuty), c.fields[0]);
    EXPECT_EQ(shown(quote.commission), c.fields[1]);
    EXPECT_EQ(shown(quote.transferAndOther), c.fields[2]);
    EXPECT_EQ(shown(quote.totalFees), c.fields[3]);
    EXPECT_EQ(shown(quote.total), c.fields[4]);
    EXPECT_FALSE(quote.stampDutyHint.isEmpty());
    EXPECT_FALSE(quote.transferAndOtherHint.isEmpty());
    EXPECT_EQ(quote.commissionHint, commissionHint(in.commissionRate.toDouble(), c.minimum));
}

INSTANTIATE_TEST_SUITE_P(Trades, ByDatePricingTest, ::testing::ValuesIn(pricingCases),
                         test::CaseName());

TEST(ByDatePricing, TheRatesSetLeaveTheHintsEmpty)
{
    FeeInputs in;
    in.quantity = QStringLiteral("1000");
    in.price = QStringLiteral("10");
    in.stampRate = QStringLiteral("1");
    in.commissionRate = QStringLiteral("3");
    in.otherFee = QStringLiteral("5");
    const FeeQuote quote = computeFees(in);
    EXPECT_TRUE(quote.stampDutyHint.isEmpty() && quote.commissionHint.isEmpty() &&
                quote.transferAndOtherHint.isEmpty());
    EXPECT_EQ(shown(quote.stampDuty), "10.00");
}

} // namespace
