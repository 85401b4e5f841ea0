#include "model/DirectionCaptions.h"

#include <string>

#include <QStringList>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::model;

// Named where the test finds it for the captions it prints on failure.
namespace corvanta::model {
inline void PrintTo(const DirectionCaptions& c, std::ostream* os)
{
    const QStringList texts{c.quantity, c.price, c.total, c.rate, c.costPerShare, c.breakEven};
    *os << texts.join(u'/').toStdString() << (c.perShareEnabled ? " enabled" : " greyed");
}
} // namespace corvanta::model

namespace {

struct CaptionCase {
    std::string name;
    Direction direction;
    DirectionCaptions expected;
};

class DirectionCaptionsTest : public testing::TestWithParam<CaptionCase> {};

TEST_P(DirectionCaptionsTest, NamesTheInputsOfTheDirection)
{
    EXPECT_EQ(directionCaptions(GetParam().direction), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, DirectionCaptionsTest,
    testing::Values(CaptionCase{"Buy",
                                Direction::Buy,
                                {QStringLiteral("买入数量"), QStringLiteral("买入价格"),
                                 QStringLiteral("支付总额"), QStringLiteral("买入税率"),
                                 QStringLiteral("买入成本"), QStringLiteral("保本价格"), true}},
                    CaptionCase{"SellGreysTheBuySideFigures",
                                Direction::Sell,
                                {QStringLiteral("卖出数量"), QStringLiteral("卖出价格"),
                                 QStringLiteral("实收总额"), QStringLiteral("卖出税率"),
                                 QStringLiteral("买入成本"), QStringLiteral("保本价格"), false}}),
    [](const testing::TestParamInfo<CaptionCase>& row) { return row.param.name; });

} // namespace
