#include "report/TickerRotation.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace corvanta::report;

namespace {

// A round of n stocks named S1 … Sn whose lines carry the cycle number, so a
// refreshed line can be told from a stale one.
TickerRound round(int n, int cycle)
{
    TickerRound r;
    for (int i = 1; i <= n; ++i)
        r.rows.append({u"S"_s + QString::number(i),
                       u"S"_s + QString::number(i) + u"@"_s + QString::number(cycle), i % 2 == 1});
    r.totalProfit = u"1.00"_s;
    r.firstIndex = {u"上证:"_s + QString::number(cycle), u"red"_s};
    r.secondIndex = {u"深成:"_s + QString::number(cycle), u"blue"_s};
    r.timeLabel = u"获取价格时间:t"_s;
    return r;
}

// Runs cycles with a head stock and returns what the line label showed after
// each, the cycle number cut off.
QStringList run(TickerRotation& ticker, int n, int cycles, int firstCycle = 1,
                const std::function<void(int)>& before = {})
{
    QStringList shown;
    for (int c = firstCycle; c < firstCycle + cycles; ++c) {
        if (before)
            before(c);
        ticker.headQuoted(u"H"_s, u"0.10"_s);
        ticker.step(round(n, c));
        shown << ticker.display().lineText.section(u'@', 0, 0).section(u':', 0, 0);
    }
    return shown;
}

TickerRotation activeTicker()
{
    TickerRotation ticker;
    ticker.setActive(true);
    return ticker;
}

struct RotationCase {
    const char* name;
    int stocks;
    int cycles;
    QStringList shown;
    int lines;
};

class TickerRotationTest : public testing::TestWithParam<RotationCase> {};

TEST_P(TickerRotationTest, BuildsTheLinesThenRotatesTheCheckedOnes)
{
    const RotationCase& c = GetParam();
    TickerRotation ticker = activeTicker();
    EXPECT_EQ(run(ticker, c.stocks, c.cycles), c.shown);
    EXPECT_EQ(ticker.lines().size(), c.lines);
    EXPECT_EQ(ticker.lines().first(), u"H"_s);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TickerRotationTest,
    testing::Values(
        RotationCase{"NoStock", 0, 6, {u"H"_s, u"上证"_s, u"深成"_s, u"H"_s, u"H"_s, u"H"_s}, 3},
        RotationCase{"OneStock",
                     1,
                     8,
                     {u"H"_s, u"S1"_s, u"上证"_s, u"深成"_s, u"H"_s, u"S1"_s, u"S1"_s, u"S1"_s},
                     4},
        RotationCase{"ThreeStocks",
                     3,
                     13,
                     {u"H"_s, u"S1"_s, u"S2"_s, u"S3"_s, u"上证"_s, u"深成"_s, u"H"_s, u"S1"_s,
                      u"S2"_s, u"S3"_s, u"S3"_s, u"S3"_s, u"H"_s},
                     6}),
    [](const testing::TestParamInfo<RotationCase>& row) { return row.param.name; });

TEST(TickerItemsTest, AnUncheckedStockIsWalkedPastButStillRefreshed)
{
    TickerRotation ticker = activeTicker();
    run(ticker, 3, 7);
    ticker.toggleItem(3); // S2
    EXPECT_FALSE(ticker.display().items[tickerAllItem].checked);
    EXPECT_EQ(run(ticker, 3, 6, 8),
              (QStringList{u"S1"_s, u"S3"_s, u"S3"_s, u"S3"_s, u"H"_s, u"S1"_s}));
    // The walk refreshes the lines it passes after the unchecked one.
    EXPECT_EQ(ticker.lines()[2], u"S2@3"_s);
    EXPECT_EQ(ticker.lines()[3], u"S3@9"_s);

    // Checking "全部" again checks every item, whatever its caption became.
    EXPECT_TRUE(ticker.display().items[tickerAllItem].caption.startsWith(u"全部(&A) 盈亏合计："_s));
    ticker.toggleItem(tickerAllItem);
    for (int i = 2; i < tickerItemCount; ++i)
        EXPECT_TRUE(ticker.display().items[i].checked) << i;
}

TEST(TickerItemsTest, AnUncheckedIndexLineIsRefreshedNotShown)
{
    TickerRotation ticker = activeTicker();
    run(ticker, 1, 5);
    ticker.toggleItem(3); // the first index line
    run(ticker, 1, 3, 6);
    EXPECT_EQ(ticker.lines()[2], u"上证:7"_s);
    EXPECT_EQ(ticker.lines()[3], u"深成:4"_s); // checked: left as built
}

TEST(TickerItemsTest, TwentyOneStocksFillEveryItem)
{
    TickerRotation ticker = activeTicker();
    run(ticker, 21, 26);
    ASSERT_EQ(ticker.lines().size(), 24);
    for (int i = 2; i < tickerItemCount; ++i) {
        EXPECT_TRUE(ticker.display().items[i].visible) << i;
        EXPECT_TRUE(ticker.display().items[i].enabled) << i;
    }
    EXPECT_EQ(ticker.display().items[2].caption, u"S1@26　(&D)"_s);
    EXPECT_EQ(ticker.display().items[23].caption, u"上证:23　(&Y)"_s);
    // The hint holds the first 23 lines only.
    EXPECT_EQ(ticker.display().hint.count(QString(48, u'=')), 23);
    EXPECT_TRUE(ticker.display().hint.startsWith(u"获取价格时间:t\n盈亏合计：1.00元"_s));
}

TEST(TickerStateTest, InactiveBarOrNoHeadOrRebuild)
{
    TickerRotation ticker;
    ticker.headQuoted(u"H"_s, u"-0.5"_s);
    EXPECT_EQ(ticker.display().lineColour, u"green"_s);
    EXPECT_EQ(ticker.display().items[tickerHeadItem].caption, u"H"_s);
    ticker.headQuoted(u"H"_s, u"0"_s);
    EXPECT_FALSE(ticker.step(round(2, 1))); // not opened from the monitor

    ticker.noHead();
    EXPECT_EQ(ticker.lines().first(), u"实时数据："_s);
    EXPECT_EQ(ticker.display().items[tickerHeadItem].caption, u"盈亏合计(&H)"_s);
    EXPECT_FALSE(ticker.display().items[tickerHeadItem].enabled);

    ticker.setActive(true);
    EXPECT_TRUE(ticker.step(round(2, 2)));
    EXPECT_EQ(ticker.lines().size(), 2);
    ticker.markRebuildPending();
    ticker.rebuildIfPending();
    EXPECT_TRUE(ticker.lines().isEmpty());
    EXPECT_EQ(ticker.position(), 1);
    EXPECT_FALSE(ticker.display().items[2].visible);
}

} // namespace
