#include "ReportTestSupport.h"

#include "report/AccountSeries.h"

#include "../calc/CaseTables.h"

#include <string>
#include <vector>

namespace corvanta::report::testing {

namespace {

// Each series as lines of fen figures, so a case reads like the hand workings.
struct SeriesCase {
    std::string name;
    std::vector<Trade> trades;
    std::vector<std::string> money;     // date|invested|cash|holding cost
    std::vector<std::string> profits;   // date|code|profit|cumulative
    std::vector<std::string> positions; // code|shares|cost|value
};

const std::vector<SeriesCase> seriesCases = {
    // 1000 at 10 with 5 fees, sold at 12 with 20 fees: 11980 - 10005.
    {"BuyThenSellAtProfit",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 1000, 12, 20, 11980)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|1198000|0"},
     {"2024-01-05|600000|197500|197500"},
     {}},
    {"BuyThenSellAtLoss",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 1000, 9, 15, 8985)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|898500|0"},
     {"2024-01-05|600000|-102000|-102000"},
     {}},
    // 400 of 1000 shares carry 4002 of the 10005 paid; 6003 stays held.
    {"PartialSale",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 400, 12, 10, 4790)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|479000|600300"},
     {"2024-01-05|600000|78800|78800"},
     {"600000|600|600300|600300"}},
    // Two buys of 甲沪 average 11; the sell of 乙深 loses; the later buys of one
    // date make one point.
    {"TwoStocks",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      buy("2024-01-03", "600000", u"甲沪", 1000, 12, 0, 12000),
      buy("2024-01-03", "000001", u"乙深", 500, 20, 0, 10000),
      sell("2024-01-04", "600000", u"甲沪", 1000, 13, 0, 13000),
      sell("2024-01-05", "000001", u"乙深", 500, 18, 0, 9000)},
     {"2024-01-02|1000000|0|1000000", "2024-01-03|3200000|0|3200000",
      "2024-01-04|3200000|1300000|2100000", "2024-01-05|3200000|2200000|1100000"},
     {"2024-01-04|600000|200000|200000", "2024-01-05|000001|-100000|100000"},
     {"600000|1000|1100000|1100000"}},
    // A sell recorded before its buy still counts after it; the open-position
    // row moves nothing.
    {"DateOrderAndOpenPosition",
     {sell("2024-01-05", "600000", u"甲沪", 1000, 12, 0, 12000),
      buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      open("2024-01-06", "600000", u"甲沪", 1000)},
     {"2024-01-02|1000000|0|1000000", "2024-01-05|1000000|1200000|0",
      "2024-01-06|1000000|1200000|0"},
     {"2024-01-05|600000|200000|200000"},
     {}},
    {"EmptyLedger", {}, {}, {}, {}},
};

QStringList texts(const std::vector<std::string>& lines)
{
    QStringList result;
    for (const std::string& line : lines)
        result << QString::fromStdString(line);
    return result;
}

void PrintTo(const SeriesCase& c, std::ostream* os)
{
    *os << c.name;
}

QStringList moneyLines(const AccountSeries& s)
{
    QStringList lines;
    for (const MoneyPoint& p : s.money)
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(p.date)
                     .arg(p.invested)
                     .arg(p.cash)
                     .arg(p.holdingCost);
    return lines;
}

QStringList profitLines(const AccountSeries& s)
{
    QStringList lines;
    for (const SellProfit& p : s.profits)
        lines << QStringLiteral("%1|%2|%3|%4").arg(p.date, p.code).arg(p.profit).arg(p.cumulative);
    return lines;
}

QStringList positionLines(const AccountSeries& s)
{
    QStringList lines;
    for (const OpenPosition& p : s.positions)
        lines << QStringLiteral("%1|%2|%3|%4").arg(p.code).arg(p.shares).arg(p.cost).arg(p.value);
    return lines;
}

class AccountSeriesOf : public ReportTest, public ::testing::WithParamInterface<SeriesCase> {};

TEST_P(AccountSeriesOf, MatchesTheHandWorkings)
{
    const SeriesCase& c = GetParam();
    add(c.trades);
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(moneyLines(series), texts(c.money));
    EXPECT_EQ(profitLines(series), texts(c.profits));
    EXPECT_EQ(positionLines(series), texts(c.positions));
    EXPECT_FALSE(series.marketValue);
}

INSTANTIATE_TEST_SUITE_P(Ledgers, AccountSeriesOf, ::testing::ValuesIn(seriesCases),
                         corvanta::test::CaseName());

using AccountSeriesQuoted = ReportTest;

// Quoted stocks are valued at the summary's figure, the others at cost; the
// largest comes first and the sum is the last money point's market value.
TEST_F(AccountSeriesQuoted, ValuesHoldingsAtTheQuotedFigure)
{
    add({buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
         buy("2024-01-02", "000001", u"乙深", 100, 20, 0, 2000)});
    const QuotedValues quoted{{QStringLiteral("乙深"), {100, 1500000}}};
    const AccountSeries series = accountSeries(db, &quoted);
    EXPECT_EQ(positionLines(series),
              texts({"000001|100|200000|1500000", "600000|1000|1000000|1000000"}));
    ASSERT_TRUE(series.marketValue);
    EXPECT_EQ(*series.marketValue, 2500000);
}

// A stock traded since the quoted summary holds other shares than it valued:
// its figure no longer applies and the stock keeps its cost.
TEST_F(AccountSeriesQuoted, StockTradedSinceTheSummaryKeepsItsCost)
{
    add({buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
         sell("2024-01-03", "600000", u"甲沪", 400, 11, 0, 4400)});
    const QuotedValues quoted{{QStringLiteral("甲沪"), {1000, 1200000}}};
    const AccountSeries series = accountSeries(db, &quoted);
    EXPECT_EQ(positionLines(series), texts({"600000|600|600000|600000"}));
    ASSERT_EQ(series.positions.size(), 1);
    EXPECT_FALSE(series.positions.first().quoted);
    ASSERT_TRUE(series.marketValue);
    EXPECT_EQ(*series.marketValue, 600000);
}

TEST_F(AccountSeriesQuoted, EmptyLedgerHasNoMarketValue)
{
    const QuotedValues quoted;
    EXPECT_FALSE(accountSeries(db, &quoted).marketValue);
}

// A sell of more than is held takes the whole cost and leaves no shares.
TEST_F(AccountSeriesQuoted, OversellTakesTheWholePool)
{
    add({buy("2024-01-02", "600000", u"甲沪", 100, 10, 0, 1000),
         sell("2024-01-03", "600000", u"甲沪", 300, 10, 0, 3000)});
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(profitLines(series), texts({"2024-01-03|600000|200000|200000"}));
    EXPECT_TRUE(series.positions.isEmpty());
}

} // namespace

} // namespace corvanta::report::testing
