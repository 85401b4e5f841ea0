#include "ReportTestSupport.h"

#include "report/CapitalFlow.h"

#include "calc/Numbers.h"

#include "../calc/CaseTables.h"

#include <string>
#include <vector>

namespace corvanta::report::testing {

namespace {

struct FlowCase {
    std::string name;
    std::vector<Trade> trades;
    double invested;
    double cash;
    double proceeds;
};

const std::vector<FlowCase> flowCases = {
    // Two buys of one date, then a sell: the later buy takes the cash first.
    {"SameDayBuysThenSell",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      sell("2008-01-03", "600000", u"甲沪", 2000, 12.5, 0, 25000)},
     20000,
     25000,
     25000},
    {"LaterBuyBeyondTheCash",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      sell("2008-01-03", "600000", u"甲沪", 2000, 12.5, 0, 25000),
      buy("2008-01-04", "000001", u"乙深", 3000, 10, 0, 30000)},
     25000,
     0,
     25000},
    // Rows count in date order, whatever order they were recorded in.
    {"DateOrderNotRecordingOrder",
     {sell("2008-01-03", "600000", u"甲沪", 1000, 12, 0, 12000),
      buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000)},
     10000,
     12000,
     12000},
    // A date stored in another form orders as its text does: "2008-0-9" comes
    // before "2008-01-02", so the sell pays the buy.
    {"DateInAnotherFormByItsText",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      sell("2008-0-9", "600000", u"甲沪", 1000, 12, 0, 12000)},
     0,
     2000,
     12000},
    // Within one date the recording order counts: the sell pays the buy.
    {"SameDateByRecordingOrder",
     {buy("2008-01-01", "000001", u"乙深", 100, 10, 0, 1000),
      sell("2008-01-02", "000001", u"乙深", 100, 5, 0, 500),
      buy("2008-01-02", "600000", u"甲沪", 100, 3, 0, 300)},
     1000,
     200,
     500},
    // Open-position rows carry money figures that move nothing.
    {"OpenPositionsMoveNoMoney",
     {buy("2008-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      open("2008-01-02", "600000", u"甲沪", 1000)},
     10000,
     0,
     0},
    // Cents that add up to exactly what the next buy pays leave exactly nothing.
    {"BalanceExactToTheCent",
     {buy("2008-01-02", "600000", u"甲沪", 10, 10.01, 0, 100.1),
      sell("2008-01-03", "600000", u"甲沪", 3, 11.12, 0, 33.37),
      sell("2008-01-04", "600000", u"甲沪", 3, 11.12, 0, 33.37),
      sell("2008-01-05", "600000", u"甲沪", 4, 8.34, 0, 33.36),
      buy("2008-01-06", "600000", u"甲沪", 10, 10.01, 0, 100.1),
      sell("2008-01-07", "600000", u"甲沪", 1, 0.1, 0, 0.1),
      sell("2008-01-07", "600000", u"甲沪", 1, 0.2, 0, 0.2),
      buy("2008-01-08", "600000", u"甲沪", 1, 0.3, 0, 0.3)},
     100.1,
     0,
     100.4},
};

void PrintTo(const FlowCase& c, std::ostream* os)
{
    *os << c.name;
}

class CapitalFlowOf : public ReportTest, public ::testing::WithParamInterface<FlowCase> {};

TEST_P(CapitalFlowOf, PaysBuysFromEarlierSellsFirst)
{
    const FlowCase& c = GetParam();
    add(c.trades);
    const auto totals = capitalFlow(db);
    ASSERT_TRUE(totals);
    EXPECT_EQ(totals->capitalInvested, c.invested);
    EXPECT_EQ(totals->cashBalance, c.cash);
    EXPECT_EQ(totals->sellProceeds, c.proceeds);
}

INSTANTIATE_TEST_SUITE_P(Ledgers, CapitalFlowOf, ::testing::ValuesIn(flowCases),
                         corvanta::test::CaseName());

using CapitalFlow = ReportTest;

TEST_F(CapitalFlow, EmptyLedgerHasNone)
{
    EXPECT_FALSE(capitalFlow(db));
}

TEST_F(CapitalFlow, ZeroBalanceShowsAsZero)
{
    add(flowCases.back().trades); // the cents that add up exactly
    EXPECT_EQ(num::general(capitalFlow(db)->cashBalance), QStringLiteral("0"));
}

} // namespace

} // namespace corvanta::report::testing
