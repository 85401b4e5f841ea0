#include "calc/StockEvents.h"

#include "CaseTables.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvanta;
using calc::StockEvent;
using calc::StockTrade;

namespace {

QDate day(const char* iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

StockTrade bought(const char* date, qint64 shares, double amount)
{
    return {0, day(date), true, shares, amount};
}

StockTrade sold(const char* date, qint64 shares, double amount)
{
    return {0, day(date), false, shares, amount};
}

// Ratios per 10 shares: cash, 送, 转, 配 at a price.
StockEvent event(const char* record, const char* ex, double cash, double bonus = 0,
                 double transfer = 0, double rights = 0, double rightsPrice = 0)
{
    return {0, day(record), day(ex), cash, bonus, transfer, rights, rightsPrice};
}

// A hand-worked case: what the account shows once everything is played through.
struct Case {
    std::string name;
    QList<StockTrade> trades;
    QList<StockEvent> events;
    qint64 held = 0;
    double costPerShare = 0; // to the 0.001
    qint64 dividendFen = 0;
    qint64 taxFen = 0; // at payment and on sales
    double realisedProfit = 0;
    qint64 newShares = 0;     // of the first event
    qint64 rightsOffered = 0; // of the first event
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class StockEventsTest : public ::testing::TestWithParam<Case> {};

TEST_P(StockEventsTest, PlaysThroughAsWorkedByHand)
{
    const Case& c = GetParam();
    const calc::StockHistory history = calc::playStockHistory(c.trades, c.events);
    EXPECT_EQ(history.held, c.held);
    EXPECT_NEAR(history.costPerShare(), c.costPerShare, 0.0005);
    EXPECT_EQ(history.dividendFen, c.dividendFen);
    EXPECT_EQ(history.taxFen, c.taxFen);
    EXPECT_NEAR(history.realisedProfit, c.realisedProfit, 0.005);
    ASSERT_FALSE(history.events.isEmpty());
    EXPECT_EQ(history.events.first().newShares(), c.newShares);
    EXPECT_EQ(history.events.first().rightsOffered, c.rightsOffered);
}

// The worked example: 1000 bought at 20.00, 10派3元送2股转3股.
const StockEvent example = event("2024-06-20", "2024-06-21", 3, 2, 3);

INSTANTIATE_TEST_SUITE_P(
    HandWorked, StockEventsTest,
    ::testing::Values(Case{"CashOnly",
                           {bought("2024-01-02", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 5)},
                           1000,
                           10.0,
                           50000,
                           0,
                           0,
                           0,
                           0},
                      Case{"BonusAndTransferTogether",
                           {bought("2024-03-01", 1000, 20000)},
                           {example},
                           1500,
                           13.333,
                           30000,
                           0,
                           0,
                           500,
                           0},
                      Case{"ExampleSoldWithinAYear",
                           {bought("2024-03-01", 1000, 20000), sold("2024-07-10", 1500, 25000)},
                           {example},
                           0,
                           0,
                           30000,
                           5000,
                           4950,
                           500,
                           0},
                      Case{"ExampleSoldAfterAYear",
                           {bought("2024-03-01", 1000, 20000), sold("2025-03-10", 1500, 25000)},
                           {example},
                           0,
                           0,
                           30000,
                           0,
                           5000,
                           500,
                           0},
                      Case{"HalfSoldWithinAYearHalfAfter",
                           {bought("2024-03-01", 1000, 20000), sold("2024-07-10", 750, 12500),
                            sold("2025-03-10", 750, 12500)},
                           {example},
                           0,
                           0,
                           30000,
                           2500,
                           4975,
                           500,
                           0},
                      Case{"RightsAccepted",
                           {bought("2024-01-02", 1000, 10000), bought("2024-05-13", 300, 2400)},
                           {event("2024-05-10", "2024-05-13", 0, 0, 0, 3, 8)},
                           1300,
                           9.538,
                           0,
                           0,
                           0,
                           0,
                           300},
                      Case{"RightsDeclined",
                           {bought("2024-01-02", 1000, 10000)},
                           {event("2024-05-10", "2024-05-13", 0, 0, 0, 3, 8)},
                           1000,
                           10.0,
                           0,
                           0,
                           0,
                           0,
                           300},
                      Case{"SoldBeforeTheRecordDate",
                           {bought("2024-01-02", 1000, 10000), sold("2024-06-20", 1000, 11000)},
                           {event("2024-06-20", "2024-06-21", 5, 0, 10)},
                           0,
                           0,
                           0,
                           0,
                           1000,
                           0,
                           0},
                      Case{"SoldOnTheExDate",
                           {bought("2024-01-02", 1000, 10000), sold("2024-06-21", 1000, 6000)},
                           {event("2024-06-20", "2024-06-21", 0, 0, 10)},
                           1000,
                           5.0,
                           0,
                           0,
                           1000,
                           1000,
                           0},
                      // The first 1000 carry 200.00 held 6 months (10%); the later 500 carry none.
                      Case{"SaleSpansLotsBeforeAndAfter",
                           {bought("2024-01-02", 1000, 10000), bought("2024-06-24", 1000, 10000),
                            sold("2024-07-10", 1500, 18000)},
                           {event("2024-06-20", "2024-06-21", 2)},
                           500,
                           10.0,
                           20000,
                           2000,
                           2980,
                           0,
                           0},
                      Case{"HeldAMonthTaxedAtTwentyPercent",
                           {bought("2024-06-01", 1000, 10000), sold("2024-07-02", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 1)},
                           0,
                           0,
                           10000,
                           2000,
                           -20,
                           0,
                           0},
                      Case{"HeldAMonthAndADayTaxedAtTenPercent",
                           {bought("2024-06-01", 1000, 10000), sold("2024-07-03", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 1)},
                           0,
                           0,
                           10000,
                           1000,
                           -10,
                           0,
                           0},
                      Case{"HeldExactlyAYearTaxedAtTenPercent",
                           {bought("2024-03-01", 1000, 10000), sold("2025-03-02", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 1)},
                           0,
                           0,
                           10000,
                           1000,
                           -10,
                           0,
                           0},
                      Case{"HeldOverAYearFree",
                           {bought("2024-03-01", 1000, 10000), sold("2025-03-03", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 1)},
                           0,
                           0,
                           10000,
                           0,
                           0,
                           0,
                           0},
                      Case{"PaidBefore2015HeldOverAYearFivePercent",
                           {bought("2013-03-01", 1000, 10000), sold("2014-09-01", 1000, 10000)},
                           {event("2014-06-09", "2014-06-10", 1)},
                           0,
                           0,
                           10000,
                           500,
                           -5,
                           0,
                           0},
                      Case{"PaidBefore2013TaxedAtPayment",
                           {bought("2010-03-01", 1000, 10000), sold("2011-07-01", 1100, 11000)},
                           {event("2011-06-09", "2011-06-10", 1, 1)},
                           0,
                           0,
                           10000,
                           2000,
                           1000,
                           100,
                           0},
                      Case{"SharesAndCashRoundedDown",
                           {bought("2024-01-02", 1005, 10050)},
                           {event("2024-06-20", "2024-06-21", 0.333, 3)},
                           1306,
                           7.695,
                           3346,
                           0,
                           0,
                           301,
                           0},
                      Case{"NothingHeldOnTheRecordDate",
                           {bought("2024-07-01", 1000, 10000)},
                           {event("2024-06-20", "2024-06-21", 5, 5)},
                           1000,
                           10.0,
                           0,
                           0,
                           0,
                           0,
                           0}),
    test::CaseName{});

TEST(DividendTaxRate, ByHoldingAndPeriod)
{
    EXPECT_EQ(calc::dividendTaxPercent(day("2024-06-21"), day("2024-06-01"), day("2024-06-05")),
              20);
    EXPECT_EQ(calc::dividendTaxPercent(day("2015-09-08"), day("2014-01-01"), day("2015-12-01")), 0);
    EXPECT_EQ(calc::dividendTaxPercent(day("2015-09-07"), day("2014-01-01"), day("2015-12-01")), 5);
    EXPECT_EQ(calc::dividendTaxPercent(day("2012-12-31"), day("2011-01-01"), day("2012-12-31")),
              -1);
}

} // namespace

namespace {

// A buy followed through the actions after it, as the trade inputs show it when
// the buy is selected.
struct AfterEventsCase {
    std::string name;
    qint64 shares = 0;
    QDate bought;
    QList<StockEvent> events;
    QDate today;
    qint64 after = 0;
};

void PrintTo(const AfterEventsCase& c, std::ostream* os)
{
    *os << c.name;
}

class SharesAfterEventsTest : public ::testing::TestWithParam<AfterEventsCase> {};

TEST_P(SharesAfterEventsTest, GrowByTheNewSharesTheBuyWasEntitledTo)
{
    const AfterEventsCase& c = GetParam();
    EXPECT_EQ(calc::sharesAfterEvents(c.shares, c.bought, c.events, c.today), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    HandWorked, SharesAfterEventsTest,
    ::testing::Values(
        AfterEventsCase{"NoEvents", 1000, day("2024-03-01"), {}, day("2024-12-10"), 1000},
        AfterEventsCase{"TheExample", 1000, day("2024-03-01"), {example}, day("2024-12-10"), 1500},
        AfterEventsCase{"CashOnlyKeepsTheShares",
                        1000,
                        day("2024-03-01"),
                        {event("2024-06-20", "2024-06-21", 5)},
                        day("2024-12-10"),
                        1000},
        AfterEventsCase{
            "BoughtOnTheRecordDate", 1000, day("2024-06-20"), {example}, day("2024-12-10"), 1500},
        AfterEventsCase{"BoughtAfterTheRecordDate",
                        1000,
                        day("2024-06-21"),
                        {example},
                        day("2024-12-10"),
                        1000},
        AfterEventsCase{
            "ExDateStillToCome", 1000, day("2024-03-01"), {example}, day("2024-06-20"), 1000},
        AfterEventsCase{"ExDateToday", 1000, day("2024-03-01"), {example}, day("2024-06-21"), 1500},
        // 10转10 then 10送5 on the grown holding; given out of order.
        AfterEventsCase{
            "TwoEventsCompound",
            1000,
            day("2024-03-01"),
            {event("2024-09-10", "2024-09-11", 0, 5), event("2024-06-20", "2024-06-21", 0, 0, 10)},
            day("2024-12-10"),
            3000},
        AfterEventsCase{"RoundedDown",
                        1005,
                        day("2024-01-02"),
                        {event("2024-06-20", "2024-06-21", 0.333, 3)},
                        day("2024-12-10"),
                        1306},
        AfterEventsCase{"RightsAreNotShares",
                        1000,
                        day("2024-01-02"),
                        {event("2024-05-10", "2024-05-13", 0, 0, 0, 3, 8)},
                        day("2024-12-10"),
                        1000}),
    test::CaseName{});

} // namespace
