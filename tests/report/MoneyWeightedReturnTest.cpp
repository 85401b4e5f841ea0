#include "report/MoneyWeightedReturn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace corvanta::report {
namespace {

struct Flow {
    const char* date;
    double amount;
};

struct ReturnCase {
    const char* name;
    std::vector<Flow> flows;
    std::optional<double> expected;
};

void PrintTo(const ReturnCase& c, std::ostream* os)
{
    *os << c.name;
}

// The figures with a reference are the roots of the same sum solved
// independently with 40-digit arithmetic (mpmath), which is what a
// spreadsheet's XIRR returns for these flows.
const ReturnCase returnCases[] = {
    // By hand: 10 % over a leap year is 1.1^(365/366) − 1.
    {"tenPercentOverALeapYear",
     {{"2020-01-01", -1000}, {"2021-01-01", 1100}},
     std::pow(1.1, 365.0 / 366.0) - 1},
    {"buysAndSellsOverTwoYears",
     {{"2021-01-04", -10000}, {"2021-07-01", 2500}, {"2022-02-15", -3000}, {"2023-06-30", 12000}},
     0.060048325028256537873},
    {"aLoss",
     {{"2019-03-01", -5000}, {"2019-09-01", 1000}, {"2020-12-31", 3000}},
     -0.13584377659292436987},
    {"onePercentInTenDays", {{"2024-01-02", -1000}, {"2024-01-12", 1010}}, 0.43790483176778157555},
    // Flows out of date order give the same answer.
    {"outOfOrder", {{"2021-01-01", 1100}, {"2020-01-01", -1000}}, std::pow(1.1, 365.0 / 366.0) - 1},
    {"nothingGainedNothingLost", {{"2022-03-01", -500}, {"2023-03-01", 500}}, 0.0},
    // No answer rather than a wrong one.
    {"onlyMoneyOut", {{"2022-03-01", -500}, {"2023-03-01", -500}}, std::nullopt},
    {"onlyMoneyIn", {{"2022-03-01", 500}}, std::nullopt},
    {"allOnOneDay", {{"2022-03-01", -500}, {"2022-03-01", 600}}, std::nullopt},
    {"noFlows", {}, std::nullopt},
    // Two rates fit (10.34 % and 19.26 %): neither is the answer.
    {"twoRatesFit",
     {{"2020-01-01", -100}, {"2021-01-01", 230}, {"2022-01-01", -132}},
     std::nullopt},
};

class MoneyWeightedReturnTest : public ::testing::TestWithParam<ReturnCase> {};

TEST_P(MoneyWeightedReturnTest, MatchesTheReferenceOrGivesNone)
{
    std::vector<CashFlow> flows;
    for (const Flow& flow : GetParam().flows)
        flows.push_back(
            {QDate::fromString(QString::fromLatin1(flow.date), Qt::ISODate), flow.amount});
    const std::optional<double> rate = moneyWeightedReturn(flows);
    const std::optional<double>& expected = GetParam().expected;
    ASSERT_EQ(rate.has_value(), expected.has_value()) << (rate ? *rate : 0.0);
    if (expected) {
        EXPECT_NEAR(*rate, *expected, 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Flows, MoneyWeightedReturnTest, ::testing::ValuesIn(returnCases),
                         [](const ::testing::TestParamInfo<ReturnCase>& row) {
                             return std::string(row.param.name);
                         });

} // namespace
} // namespace corvanta::report
