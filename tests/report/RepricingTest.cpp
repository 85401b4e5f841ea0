#include "ReportTestSupport.h"

#include "report/Repricing.h"

namespace corvanta::report::testing {

namespace {

using ledger::FeeRuleSetting;

struct ChargedCase {
    const char* name;
    FeeRuleChoice choice;
    double minimum;
    const char* date;
    const char* code;
    Direction direction;
    qint64 shares;
    double price;
    TradeFeeParts charged; // fen
};

void PrintTo(const ChargedCase& c, std::ostream* os)
{
    *os << c.name;
}

// Rates set: buys 1‰ stamp duty and 3‰ commission, sells 1‰ and 0.25‰.
FeeRates rates()
{
    FeeRates r;
    r.buyStampRate = 1;
    r.buyCommissionRate = 3;
    r.sellStampRate = 1;
    r.sellCommissionRate = 0.25;
    return r;
}

class ChargedFees : public ::testing::TestWithParam<ChargedCase> {};

TEST_P(ChargedFees, FollowTheChosenRules)
{
    const ChargedCase& c = GetParam();
    EXPECT_EQ(chargedFees({c.choice, c.minimum}, rates(), QString::fromLatin1(c.date),
                          QString::fromLatin1(c.code), c.direction, c.shares, c.price),
              c.charged);
}

INSTANTIATE_TEST_SUITE_P(
    Trades, ChargedFees,
    ::testing::Values(
        // 1000 shares at 10: the rates set charge 2007's rules whatever the date.
        ChargedCase{"ratesSetShanghaiBuy",
                    FeeRuleChoice::SavedRates,
                    5,
                    "2024-01-02",
                    "600000",
                    Direction::Buy,
                    1000,
                    10,
                    {1000, 3000, 100}},
        ChargedCase{"ratesSetShenzhenSellMinimum",
                    FeeRuleChoice::SavedRates,
                    5,
                    "2024-01-02",
                    "000001",
                    Direction::Sell,
                    1000,
                    10,
                    {1000, 500, 0}},
        ChargedCase{"byDateBuyOf2024",
                    FeeRuleChoice::ByTradeDate,
                    5,
                    "2024-01-02",
                    "600000",
                    Direction::Buy,
                    1000,
                    10,
                    {0, 3000, 10}},
        ChargedCase{"byDateSellOf2024WaivedMinimum",
                    FeeRuleChoice::ByTradeDate,
                    0,
                    "2024-01-02",
                    "000001",
                    Direction::Sell,
                    1000,
                    10,
                    {500, 250, 10}},
        ChargedCase{"byDateBuyOf2007",
                    FeeRuleChoice::ByTradeDate,
                    5,
                    "2007-06-01",
                    "600000",
                    Direction::Buy,
                    1000,
                    10,
                    {3000, 3000, 100}},
        ChargedCase{"byDateFundSell",
                    FeeRuleChoice::ByTradeDate,
                    5,
                    "2024-01-02",
                    "510050",
                    Direction::Sell,
                    1000,
                    3,
                    {0, 500, 0}}),
    [](const ::testing::TestParamInfo<ChargedCase>& row) { return std::string(row.param.name); });

class RepricedTradesTest : public ReportTest {
protected:
    void addWithFees(const char* date, const char* code, const char16_t* name,
                     const char16_t* state, qint64 shares, double price, double stamp,
                     double commission, double transferAndOther, double other)
    {
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,虚拟卖出,"
            "印花税,佣金,过户费等,其它费用) VALUES "
            "(?1,?2,?3,?4,?5,?6,?7+?8+?9,0,'假',?7,?8,?9,?10)");
        insert.bind(1, QString::fromLatin1(date)).bind(2, QString::fromLatin1(code));
        insert.bind(3, name).bind(4, state).bind(5, shares).bind(6, price);
        insert.bind(7, stamp).bind(8, commission).bind(9, transferAndOther).bind(10, other);
        insert.run();
    }
};

TEST_F(RepricedTradesTest, ListsOnlyTheTradesWhoseStoredFeesDiffer)
{
    // Priced in 2024 with the old rules: stamp duty on a buy and the share-based fee.
    addWithFees("2024-01-02", "600000", u"甲沪", u"买入", 1000, 10, 10, 30, 6, 5);
    // Priced by the rules of its date: nothing to say.
    addWithFees("2024-01-03", "600000", u"甲沪", u"卖出", 1000, 10, 5, 5, 5.10, 5);
    add(open("2024-01-03", "600000", u"甲沪", 0));

    const QList<RepricedTrade> listed =
        repricedTrades(db, {FeeRuleChoice::ByTradeDate, 5}, rates());
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].date, u"2024-01-02");
    EXPECT_EQ(listed[0].stored, (TradeFeeParts{1000, 3000, 100}));
    EXPECT_EQ(listed[0].chosen, (TradeFeeParts{0, 3000, 10}));

    // With the rates set the first trade is as priced and the second is not.
    const QList<RepricedTrade> underRates = repricedTrades(db, {}, rates());
    ASSERT_EQ(underRates.size(), 1);
    EXPECT_EQ(underRates[0].date, u"2024-01-03");
}

} // namespace

} // namespace corvanta::report::testing
