#include "report/MonitorTexts.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::report;

namespace {

TEST(ProgressMarkTest, CyclesThroughNineMarks)
{
    QString label;
    QStringList seen;
    for (int tick = 0; tick < 11; ++tick)
        seen << (label = nextProgressMark(label, true));
    EXPECT_EQ(seen.first(), u"行情更新>"_s);
    EXPECT_EQ(seen[8], u"行情更新>>>>>>>>>"_s);
    EXPECT_EQ(seen[9], u"行情更新"_s);
    EXPECT_EQ(seen[10], u"行情更新>"_s);
    EXPECT_EQ(nextProgressMark(u"网络连接超时!"_s, false), u"行情更新|"_s);
}

TEST(MonitorGainTest, SellsTheMonitorsQuantityNetOfFees)
{
    FeeSnapshot trade;
    trade.quantity = u"1000"_s;
    trade.price = u"10.00"_s;
    trade.stampRate = u"1"_s;
    trade.commissionRate = u"3"_s;
    trade.otherFee = u"5"_s;
    trade.direction = Direction::Sell;
    // 10200 less 10.20 + 30.60 + 5 in fees, less 10035 paid.
    const auto gain = monitorGain(trade, u"10.20"_s, u"10035.00"_s, true);
    ASSERT_TRUE(gain);
    EXPECT_EQ(gain->text, u"当前价格盈亏:119.20元"_s);
    EXPECT_FALSE(gain->loss);
    EXPECT_EQ(monitorGain(trade, u"9.00"_s, u"10035.00"_s, false)->text,
              u"当前价格盈亏:-1076.00"_s);
    EXPECT_FALSE(monitorGain(trade, u"-"_s, u"10035.00"_s, true));
    EXPECT_FALSE(monitorGain(trade, u"10.20"_s, QString(), true));
    FeeSnapshot cleared = trade;
    cleared.quantity = cleared.price = u"0"_s;
    EXPECT_FALSE(monitorGain(cleared, u"10.20"_s, u"0"_s, true));

    trade.direction = Direction::Buy;
    const auto totals = monitorTotals(trade);
    ASSERT_TRUE(totals);
    EXPECT_EQ(totals->fees, u"45.00"_s);
    EXPECT_EQ(totals->paid, u"10045.00"_s);
    trade.price.clear();
    EXPECT_FALSE(monitorTotals(trade));
}

TEST(BarWidthTest, AnswersOutsideTheRangeGiveThreeHundred)
{
    for (const auto& [answer, width] :
         {std::pair{u"119"_s, 300}, std::pair{u"601"_s, 300}, std::pair{u"120"_s, 120},
          std::pair{u"600"_s, 600}, std::pair{u"abc"_s, 300}, std::pair{u"301"_s, 301}})
        EXPECT_EQ(barWidthFromAnswer(answer), width) << answer.toStdString();
}

TEST(MonitorFontTest, SizeIndexGivesPointsExtraWidthAndRowHeight)
{
    const MonitorFontMetrics largest = monitorFontMetrics(4);
    EXPECT_EQ(largest.pointSize, 12);
    EXPECT_EQ(largest.extraWidth, 36);
    EXPECT_EQ(largest.rowHeight, 27);
    const MonitorFontMetrics unknown = monitorFontMetrics(-1);
    EXPECT_EQ(unknown.pointSize, 7);
    EXPECT_EQ(unknown.extraWidth, -9);
    EXPECT_EQ(unknown.rowHeight, 16);
}

} // namespace
