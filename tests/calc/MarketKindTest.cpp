#include "calc/MarketKind.h"

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

struct CodeCase {
    const char16_t* code;
    MarketKind typed;                 // inferred while typing
    std::optional<MarketKind> stored; // from a ledger row's code
    int stampDuty;
};

class CodeMarket : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodeMarket, FollowsTheFirstCharacters)
{
    const CodeCase& c = GetParam();
    EXPECT_EQ(inferMarket(c.code), c.typed);
    EXPECT_EQ(marketOfStoredCode(c.code), c.stored);
    EXPECT_EQ(stampDutyFlagForCode(c.code), c.stampDuty);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CodeMarket,
    ::testing::Values(CodeCase{u"600000", MarketKind::ShanghaiA, MarketKind::ShanghaiA, 1},
                      CodeCase{u"000709", MarketKind::ShenzhenA, MarketKind::ShenzhenA, 1},
                      CodeCase{u"300750", MarketKind::ShenzhenA, MarketKind::ShenzhenA, 1},
                      CodeCase{u"301001", MarketKind::ShenzhenA, MarketKind::ShenzhenA, 1},
                      CodeCase{u"580012", MarketKind::WarrantOrFund, MarketKind::WarrantOrFund, 0},
                      // Funds pay no stamp duty however many digits were typed.
                      CodeCase{u"51", MarketKind::WarrantOrFund, std::nullopt, 0},
                      CodeCase{u"510050", MarketKind::WarrantOrFund, std::nullopt, 0},
                      CodeCase{u"159915", MarketKind::WarrantOrFund, std::nullopt, 0},
                      CodeCase{u"zgyh", MarketKind::WarrantOrFund, std::nullopt, 0},
                      CodeCase{u"", MarketKind::WarrantOrFund, std::nullopt, 0}));

TEST(MarketFlags, TransferFeeOnlyInShanghai)
{
    EXPECT_EQ(flagsFor(MarketKind::ShanghaiA).transferFee, 1);
    EXPECT_EQ(flagsFor(MarketKind::ShenzhenA).transferFee, 0);
    EXPECT_EQ(flagsFor(MarketKind::WarrantOrFund).transferFee, 0);
    EXPECT_EQ(flagsFor(MarketKind::WarrantOrFund).stampDuty, 0);
}

} // namespace
