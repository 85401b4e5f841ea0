#include "calc/Numbers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace corvanta;

namespace {

struct FormatCase {
    double value;
    int decimals;
    bool leadingZero;
    const char* expected;
};

class FixedFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FixedFormat, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(num::fixed(c.value, c.decimals, c.leadingZero).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FixedFormat,
    ::testing::Values(FormatCase{1.005, 2, false, "1.01"}, FormatCase{2.675, 2, false, "2.68"},
                      FormatCase{17426.405, 2, false, "17426.41"},
                      FormatCase{-0.005, 2, false, "-.01"}, FormatCase{0.5, 2, false, ".50"},
                      FormatCase{-0.5, 2, false, "-.50"}, FormatCase{0, 2, false, ".00"},
                      FormatCase{-0.001, 2, false, ".00"}, FormatCase{0.5, 2, true, "0.50"},
                      FormatCase{0, 2, true, "0.00"}, FormatCase{14.5216666, 3, false, "14.522"},
                      FormatCase{1.74264, 4, false, "1.7426"},
                      FormatCase{999.995, 2, false, "1000.00"},
                      FormatCase{0.0005, 3, false, ".001"},
                      FormatCase{123456789.125, 2, false, "123456789.13"},
                      FormatCase{1e-20, 2, false, ".00"}, FormatCase{2.5, 0, false, "3"}));

TEST(NumberFormat, BlankPaddedPattern)
{
    EXPECT_EQ(num::blankPadded(1.0), QStringLiteral("  1.0"));
    EXPECT_EQ(num::blankPadded(10.0), QStringLiteral("  10.0"));
    EXPECT_EQ(num::blankPadded(0.5), QStringLiteral("  .5"));
}

TEST(NumberFormat, GeneralIsShortest)
{
    EXPECT_EQ(num::general(3), QStringLiteral("3"));
    EXPECT_EQ(num::general(0.3), QStringLiteral("0.3"));
    EXPECT_EQ(num::general(17426.41), QStringLiteral("17426.41"));
    EXPECT_EQ(num::general(17352.0), QStringLiteral("17352"));
    EXPECT_EQ(num::general(0.1 + 0.2), QStringLiteral("0.3"));
}

TEST(NumberParse, AcceptsPlainDecimalsAndRefusesTheRest)
{
    EXPECT_EQ(num::parseNumber(u" 14.46 "), 14.46);
    EXPECT_EQ(num::parseNumber(u".5"), 0.5);
    EXPECT_EQ(num::parseNumber(u"-3"), -3.0);
    EXPECT_FALSE(num::parseNumber(u""));
    EXPECT_FALSE(num::parseNumber(u"   "));
    EXPECT_FALSE(num::parseNumber(u"abc"));
    EXPECT_FALSE(num::parseNumber(u"1,000"));
    EXPECT_FALSE(num::parseNumber(u"1.2.3"));
    EXPECT_FALSE(num::parseNumber(u"inf"));
    EXPECT_FALSE(num::parseNumber(u"-"));
}

TEST(NumberParse, IntegersRefuseFractions)
{
    EXPECT_EQ(num::parseInteger(u" 1200 "), 1200);
    EXPECT_EQ(num::parseInteger(u"-5"), -5);
    EXPECT_FALSE(num::parseInteger(u"5.0"));
    EXPECT_FALSE(num::parseInteger(u""));
    EXPECT_FALSE(num::parseInteger(u"1e3"));
    EXPECT_FALSE(num::parseInteger(u"12a"));
}

TEST(NumberRound, HalfAwayFromZero)
{
    EXPECT_DOUBLE_EQ(num::roundHalfAway(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(num::roundHalfAway(-2.675, 2), -2.68);
    EXPECT_DOUBLE_EQ(num::roundHalfAway(17426.405, 2), 17426.41);
}

// A typed number of hundreds of digits is parsed; rounding it must not throw.
TEST(NumberRound, HugeValuesStayAsTheyAre)
{
    const auto huge = num::parseNumber(QString(QString(u'9').repeated(308) + QStringLiteral(".5")));
    ASSERT_TRUE(huge);
    for (const double value : {*huge, -*huge, std::numeric_limits<double>::max(), 0x1p53}) {
        for (int decimals = 0; decimals <= 4; ++decimals)
            EXPECT_EQ(num::roundHalfAway(value, decimals), value) << decimals;
    }
}

} // namespace
