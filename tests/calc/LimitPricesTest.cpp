#include "calc/LimitPrices.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct LimitCase {
    const char* name;
    QString code, stockName, previousClose, open;
    const char* profit; // nullptr: no captions
    const char* loss;
};

class LimitCaptionsTest : public testing::TestWithParam<LimitCase> {};

TEST_P(LimitCaptionsTest, FollowTheBoardAndThePreviousClose)
{
    const LimitCase& c = GetParam();
    const auto limits = corvanta::limitPrices(c.code, c.stockName, c.previousClose, c.open);
    ASSERT_EQ(limits.has_value(), c.profit != nullptr);
    if (!limits)
        return;
    const corvanta::LimitCaptions captions = corvanta::limitCaptions(*limits);
    EXPECT_EQ(captions.profit.toStdString(), c.profit);
    EXPECT_EQ(captions.loss.toStdString(), c.loss);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, LimitCaptionsTest,
    testing::Values(LimitCase{"MainBoardFromPreviousClose", u"600000"_s, u"浦发银行"_s, u"10.00"_s,
                              u"12.00"_s, "盈利抛售计算  涨停:11.00", "亏损抛售计算  跌停:9.00"},
                    LimitCase{"ShenzhenMainBoard", u"000001"_s, u"平安银行"_s, u"11.27"_s,
                              u"11.30"_s, "盈利抛售计算  涨停:12.40", "亏损抛售计算  跌停:10.14"},
                    LimitCase{"ChiNext300", u"300750"_s, u"宁德时代"_s, u"200.01"_s, u"-"_s,
                              "盈利抛售计算  涨停:240.01", "亏损抛售计算  跌停:160.01"},
                    LimitCase{"ChiNext301", u"301001"_s, u"凯淳股份"_s, u"25.55"_s, u"25.00"_s,
                              "盈利抛售计算  涨停:30.66", "亏损抛售计算  跌停:20.44"},
                    LimitCase{"Star688", u"688001"_s, u"华兴源创"_s, u"30.25"_s, u"30.00"_s,
                              "盈利抛售计算  涨停:36.30", "亏损抛售计算  跌停:24.20"},
                    LimitCase{"Star689", u"689009"_s, u"九号公司"_s, u"50.00"_s, u"50.00"_s,
                              "盈利抛售计算  涨停:60.00", "亏损抛售计算  跌停:40.00"},
                    LimitCase{"StarStDoesNotNarrow", u"688086"_s, u"*ST紫晶"_s, u"10.00"_s, u""_s,
                              "盈利抛售计算  涨停:12.00", "亏损抛售计算  跌停:8.00"},
                    // 3.33 × 1.05 = 3.4965 and 3.33 × 0.95 = 3.1635: half up to the fen.
                    LimitCase{"StHalfUp", u"000004"_s, u"*ST国华"_s, u"3.33"_s, u"3.40"_s,
                              "盈利抛售计算  涨停:3.50", "亏损抛售计算  跌停:3.16"},
                    LimitCase{"StPlain", u"600234"_s, u"ST科新"_s, u"5.10"_s, u"5.00"_s,
                              "盈利抛售计算  涨停:5.36", "亏损抛售计算  跌停:4.85"},
                    // 9.55 × 1.1 = 10.505 rounds up; 9.55 × 0.9 = 8.595 rounds up too.
                    LimitCase{"MainBoardHalfUp", u"600048"_s, u"保利发展"_s, u"9.55"_s, u"9.60"_s,
                              "盈利抛售计算  涨停:10.51", "亏损抛售计算  跌停:8.60"},
                    LimitCase{"BelowOneYuanWithoutLeadingZero", u"600001"_s, u"邯郸钢铁"_s,
                              u".80"_s, u""_s, "盈利抛售计算  涨停:.88", "亏损抛售计算  跌停:.72"},
                    LimitCase{"OpenWhenPreviousCloseMissing", u"600000"_s, u"浦发银行"_s, u"-"_s,
                              u"10.00"_s, "盈利抛售计算  涨停:11.00", "亏损抛售计算  跌停:9.00"},
                    LimitCase{"OpenWhenPreviousCloseZero", u"600000"_s, u"浦发银行"_s, u"0.000"_s,
                              u"10.00"_s, "盈利抛售计算  涨停:11.00", "亏损抛售计算  跌停:9.00"},
                    LimitCase{"NeitherIsAPrice", u"600000"_s, u"浦发银行"_s, u"abc"_s, u""_s,
                              nullptr, nullptr}),
    corvanta::test::CaseName{});

} // namespace
