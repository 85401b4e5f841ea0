#include "report/ProfitBars.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::report {
namespace {

struct BarsCase {
    const char* name;
    std::vector<SellProfit> sells; // profit and cumulative in fen
    qsizetype maxBars;
    std::vector<std::string> bars; // label (line end as '/') | profit | cumulative
};

void PrintTo(const BarsCase& c, std::ostream* os)
{
    *os << c.name;
}

SellProfit sell(const char* date, const char16_t* name, qint64 profit, qint64 cumulative)
{
    return {QString::fromLatin1(date), {}, QString::fromUtf16(name), profit, cumulative};
}

class ProfitBarsOf : public testing::TestWithParam<BarsCase> {};

TEST_P(ProfitBarsOf, LabelsAndSums)
{
    const BarsCase& c = GetParam();
    const QList<ProfitBar> bars =
        profitBars(QList<SellProfit>(c.sells.begin(), c.sells.end()), c.maxBars);
    std::vector<std::string> lines;
    for (const ProfitBar& bar : bars)
        lines.push_back(QString(bar.label).replace(u'\n', u'/').toStdString() + '|' +
                        std::to_string(bar.profit) + '|' + std::to_string(bar.cumulative));
    EXPECT_EQ(lines, c.bars);
}

const BarsCase barsCases[] = {
    {"a bar per sell",
     {sell("2021-03-02", u"浦发银行", 100, 100), sell("2021-03-03", u"唐钢股份", -30, 70)},
     10,
     {"2021-03-02/浦发银行|100|100", "2021-03-03/唐钢股份|-30|70"}},
    {"one stock sold twice on one day",
     {sell("2021-03-02", u"浦发银行", 100, 100), sell("2021-03-02", u"浦发银行", 50, 150),
      sell("2021-03-02", u"浦发银行", 10, 160), sell("2021-03-03", u"浦发银行", 5, 165)},
     10,
     {"2021-03-02/浦发银行|100|100", "2021-03-02/浦发银行(2)|50|150",
      "2021-03-02/浦发银行(3)|10|160", "2021-03-03/浦发银行|5|165"}},
    // Five sells on two bars: runs of three and two, each summed.
    {"more sells than bars",
     {sell("2021-03-01", u"甲", 10, 10), sell("2021-03-02", u"乙", -4, 6),
      sell("2021-03-03", u"甲", 1, 7), sell("2021-03-04", u"乙", 2, 9),
      sell("2021-03-05", u"甲", 3, 12)},
     2,
     {"2021-03-01～2021-03-03|7|7", "2021-03-04～2021-03-05|5|12"}},
    {"runs on one date",
     {sell("2021-03-01", u"甲", 1, 1), sell("2021-03-01", u"乙", 1, 2),
      sell("2021-03-01", u"甲", 1, 3), sell("2021-03-01", u"乙", 1, 4)},
     2,
     {"2021-03-01|2|2", "2021-03-01(2)|2|4"}},
    {"no sells", {}, 5, {}},
};

INSTANTIATE_TEST_SUITE_P(Sells, ProfitBarsOf, testing::ValuesIn(barsCases),
                         [](const testing::TestParamInfo<BarsCase>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

// However many the sells, the bars are at most as many as asked and the last
// carries the running total of all.
TEST(ProfitBars, ManySellsFitTheBars)
{
    QList<SellProfit> sells;
    qint64 cumulative = 0;
    for (int i = 0; i < 50'000; ++i) {
        cumulative += i % 7 - 3;
        sells.append(sell("2021-03-01", u"甲", i % 7 - 3, cumulative));
    }
    const QList<ProfitBar> bars = profitBars(sells, 800);
    EXPECT_LE(bars.size(), 800);
    EXPECT_EQ(bars.last().cumulative, cumulative);
    qint64 sum = 0;
    for (const ProfitBar& bar : bars)
        sum += bar.profit;
    EXPECT_EQ(sum, cumulative);
}

// Dividends keep a sum of their own in a run, apart from the sells' profit.
TEST(ProfitBars, DividendsSumApartFromTheSells)
{
    QList<SellProfit> profits{sell("2021-03-01", u"甲", 10, 10), sell("2021-03-02", u"甲", 0, 40),
                              sell("2021-03-03", u"甲", -5, 35), sell("2021-03-04", u"乙", 0, 55)};
    profits[1].dividend = 30;
    profits[3].dividend = 20;
    const QList<ProfitBar> one = profitBars(profits, 10);
    ASSERT_EQ(one.size(), 4);
    EXPECT_EQ(one[1].label, u"2021-03-02\n甲"_s);
    EXPECT_EQ(one[1].profit, 0);
    EXPECT_EQ(one[1].dividend, 30);
    EXPECT_EQ(one[2].dividend, 0);
    const QList<ProfitBar> runs = profitBars(profits, 2);
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].profit, 10);
    EXPECT_EQ(runs[0].dividend, 30);
    EXPECT_EQ(runs[0].cumulative, 40);
    EXPECT_EQ(runs[1].profit, -5);
    EXPECT_EQ(runs[1].dividend, 20);
    EXPECT_EQ(runs[1].cumulative, 55);
}

} // namespace
} // namespace corvanta::report
