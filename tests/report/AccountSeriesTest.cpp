#include "ReportTestSupport.h"

#include "ledger/EventLedger.h"
#include "report/AccountSeries.h"
#include "report/ProfitBars.h"

#include "../calc/CaseTables.h"

#include <string>
#include <vector>

namespace corvanta::report::testing {

namespace {

// Each series as lines of fen figures, so a case reads like the hand workings.
struct SeriesCase {
    std::string name;
    std::vector<Trade> trades;
    std::vector<std::string> money;     // date|invested|cash|holding cost
    std::vector<std::string> profits;   // date|code|profit|cumulative
    std::vector<std::string> positions; // code|shares|cost|value
};

const std::vector<SeriesCase> seriesCases = {
    // 1000 at 10 with 5 fees, sold at 12 with 20 fees: 11980 - 10005.
    {"BuyThenSellAtProfit",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 1000, 12, 20, 11980)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|1198000|0"},
     {"2024-01-05|600000|197500|197500"},
     {}},
    {"BuyThenSellAtLoss",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 1000, 9, 15, 8985)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|898500|0"},
     {"2024-01-05|600000|-102000|-102000"},
     {}},
    // 400 of 1000 shares carry 4002 of the 10005 paid; 6003 stays held.
    {"PartialSale",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 5, 10005),
      sell("2024-01-05", "600000", u"甲沪", 400, 12, 10, 4790)},
     {"2024-01-02|1000500|0|1000500", "2024-01-05|1000500|479000|600300"},
     {"2024-01-05|600000|78800|78800"},
     {"600000|600|600300|600300"}},
    // Two buys of 甲沪 average 11; the sell of 乙深 loses; the later buys of one
    // date make one point.
    {"TwoStocks",
     {buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      buy("2024-01-03", "600000", u"甲沪", 1000, 12, 0, 12000),
      buy("2024-01-03", "000001", u"乙深", 500, 20, 0, 10000),
      sell("2024-01-04", "600000", u"甲沪", 1000, 13, 0, 13000),
      sell("2024-01-05", "000001", u"乙深", 500, 18, 0, 9000)},
     {"2024-01-02|1000000|0|1000000", "2024-01-03|3200000|0|3200000",
      "2024-01-04|3200000|1300000|2100000", "2024-01-05|3200000|2200000|1100000"},
     {"2024-01-04|600000|200000|200000", "2024-01-05|000001|-100000|100000"},
     {"600000|1000|1100000|1100000"}},
    // A sell recorded before its buy still counts after it; the open-position
    // row moves nothing.
    {"DateOrderAndOpenPosition",
     {sell("2024-01-05", "600000", u"甲沪", 1000, 12, 0, 12000),
      buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
      open("2024-01-06", "600000", u"甲沪", 1000)},
     {"2024-01-02|1000000|0|1000000", "2024-01-05|1000000|1200000|0",
      "2024-01-06|1000000|1200000|0"},
     {"2024-01-05|600000|200000|200000"},
     {}},
    {"EmptyLedger", {}, {}, {}, {}},
};

QStringList texts(const std::vector<std::string>& lines)
{
    QStringList result;
    for (const std::string& line : lines)
        result << QString::fromStdString(line);
    return result;
}

void PrintTo(const SeriesCase& c, std::ostream* os)
{
    *os << c.name;
}

QStringList moneyLines(const AccountSeries& s)
{
    QStringList lines;
    for (const MoneyPoint& p : s.money)
        lines << QStringLiteral("%1|%2|%3|%4")
                     .arg(p.date)
                     .arg(p.invested)
                     .arg(p.cash)
                     .arg(p.holdingCost);
    return lines;
}

QStringList profitLines(const AccountSeries& s)
{
    QStringList lines;
    for (const SellProfit& p : s.profits)
        lines << QStringLiteral("%1|%2|%3|%4").arg(p.date, p.code).arg(p.profit).arg(p.cumulative);
    return lines;
}

QStringList positionLines(const AccountSeries& s)
{
    QStringList lines;
    for (const OpenPosition& p : s.positions)
        lines << QStringLiteral("%1|%2|%3|%4").arg(p.code).arg(p.shares).arg(p.cost).arg(p.value);
    return lines;
}

class AccountSeriesOf : public ReportTest, public ::testing::WithParamInterface<SeriesCase> {};

TEST_P(AccountSeriesOf, MatchesTheHandWorkings)
{
    const SeriesCase& c = GetParam();
    add(c.trades);
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(moneyLines(series), texts(c.money));
    EXPECT_EQ(profitLines(series), texts(c.profits));
    EXPECT_EQ(positionLines(series), texts(c.positions));
    EXPECT_FALSE(series.marketValue);
    EXPECT_FALSE(series.events);
}

INSTANTIATE_TEST_SUITE_P(Ledgers, AccountSeriesOf, ::testing::ValuesIn(seriesCases),
                         corvanta::test::CaseName());

using AccountSeriesQuoted = ReportTest;

// Quoted stocks are valued at the summary's figure, the others at cost; the
// largest comes first and the sum is the last money point's market value.
TEST_F(AccountSeriesQuoted, ValuesHoldingsAtTheQuotedFigure)
{
    add({buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
         buy("2024-01-02", "000001", u"乙深", 100, 20, 0, 2000)});
    const QuotedValues quoted{{QStringLiteral("乙深"), {100, 1500000}}};
    const AccountSeries series = accountSeries(db, &quoted);
    EXPECT_EQ(positionLines(series),
              texts({"000001|100|200000|1500000", "600000|1000|1000000|1000000"}));
    ASSERT_TRUE(series.marketValue);
    EXPECT_EQ(*series.marketValue, 2500000);
}

// A stock traded since the quoted summary holds other shares than it valued:
// its figure no longer applies and the stock keeps its cost.
TEST_F(AccountSeriesQuoted, StockTradedSinceTheSummaryKeepsItsCost)
{
    add({buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000),
         sell("2024-01-03", "600000", u"甲沪", 400, 11, 0, 4400)});
    const QuotedValues quoted{{QStringLiteral("甲沪"), {1000, 1200000}}};
    const AccountSeries series = accountSeries(db, &quoted);
    EXPECT_EQ(positionLines(series), texts({"600000|600|600000|600000"}));
    ASSERT_EQ(series.positions.size(), 1);
    EXPECT_FALSE(series.positions.first().quoted);
    ASSERT_TRUE(series.marketValue);
    EXPECT_EQ(*series.marketValue, 600000);
}

TEST_F(AccountSeriesQuoted, EmptyLedgerHasNoMarketValue)
{
    const QuotedValues quoted;
    EXPECT_FALSE(accountSeries(db, &quoted).marketValue);
}

// Rows of every 虚拟卖出 mark (false, true, none) are walked together by date and,
// within a date, in the order they were entered: the other-state row paid on
// 01-03 comes out of that day's sell, entered before it.
TEST_F(AccountSeriesQuoted, RowsOfEveryMarkAreWalkedByDateThenEntry)
{
    add(sell("2024-01-03", "600000", u"甲沪", 1000, 12, 0, 12000));
    add(buy("2024-01-02", "600000", u"甲沪", 1000, 10, 0, 10000));
    db.exec("UPDATE gpjl SET 虚拟卖出=NULL WHERE id=(SELECT max(id) FROM gpjl)");
    add(buy("2024-01-03", "600000", u"甲沪", 0, 0, 0, 500));
    db.exec("UPDATE gpjl SET 交易状态='其它',虚拟卖出='真' WHERE id=(SELECT max(id) FROM gpjl)");
    add(buy("2024-01-02", "000001", u"乙深", 100, 20, 0, 2000));
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(moneyLines(series),
              texts({"2024-01-02|1200000|0|1200000", "2024-01-03|1200000|1150000|200000"}));
    EXPECT_EQ(profitLines(series), texts({"2024-01-03|600000|200000|200000"}));
    EXPECT_EQ(positionLines(series), texts({"000001|100|200000|200000"}));
}

// A sell of more than is held takes the whole cost and leaves no shares.
TEST_F(AccountSeriesQuoted, OversellTakesTheWholePool)
{
    add({buy("2024-01-02", "600000", u"甲沪", 100, 10, 0, 1000),
         sell("2024-01-03", "600000", u"甲沪", 300, 10, 0, 3000)});
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(profitLines(series), texts({"2024-01-03|600000|200000|200000"}));
    EXPECT_TRUE(series.positions.isEmpty());
}

// A 分红送配 of 甲沪 between trades, its terms per 10 shares as typed.
struct EventCase {
    std::string name;
    std::vector<Trade> before; // recorded before the event
    const char* record;
    const char* ex;
    const char16_t* cash;
    const char16_t* bonus;
    const char16_t* transfer;
    std::vector<Trade> after;
    std::vector<std::string> money;     // date|invested|cash|holding cost
    std::vector<std::string> profits;   // date|code|profit|cumulative|dividend
    std::vector<std::string> positions; // code|shares|cost|value
};

void PrintTo(const EventCase& c, std::ostream* os)
{
    *os << c.name;
}

// 1000 甲沪 bought for 20000.00 without fees. A dividend is income on its ex-date
// with a bar of its own; 送 and 转 shares join at no cost; the dividend tax (on the
// cash and on bonus shares at 1.00 par) lowers the sell that bears it: 20 % held up
// to a month, 10 % up to a year, none after; dividends paid before 2013 were taxed
// 10 % when paid.
const std::vector<EventCase> eventCases = {
    {"CashOnlyStillHeld",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"",
     u"",
     {},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|30000|2000000"},
     {"2024-06-21|600000|0|30000|30000"},
     {"600000|1000|2000000|2000000"}},
    // 300.00 of cash, 10 % of it taxed on the sell: 22000 − 20000 − 30.
    {"CashOnlyThenSold",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"",
     u"",
     {sell("2024-07-10", "600000", u"甲沪", 1000, 22, 0, 22000)},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|30000|2000000",
      "2024-07-10|2000000|2227000|0"},
     {"2024-06-21|600000|0|30000|30000", "2024-07-10|600000|197000|227000|0"},
     {}},
    // 500 new shares, no cash: half the 1500 carry half the cost and half the tax on
    // 200 bonus shares at par (10 % of 100.00).
    {"BonusAndTransferOnly",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"",
     u"2",
     u"3",
     {sell("2024-07-10", "600000", u"甲沪", 750, 16, 0, 12000)},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|0|2000000",
      "2024-07-10|2000000|1199000|1000000"},
     {"2024-07-10|600000|199000|199000|0"},
     {"600000|750|1000000|1000000"}},
    {"CashBonusTransferStillHeld",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"2",
     u"3",
     {},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|30000|2000000"},
     {"2024-06-21|600000|0|30000|30000"},
     {"600000|1500|2000000|2000000"}},
    // 10派3元送2股转3股, all 1500 sold at 16.00: the tax base is 300.00 + 200.00.
    {"CashBonusTransferSoldWithinAMonth",
     {buy("2024-06-03", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"2",
     u"3",
     {sell("2024-06-28", "600000", u"甲沪", 1500, 16, 0, 24000)},
     {"2024-06-03|2000000|0|2000000", "2024-06-21|2000000|30000|2000000",
      "2024-06-28|2000000|2420000|0"},
     {"2024-06-21|600000|0|30000|30000", "2024-06-28|600000|390000|420000|0"},
     {}},
    {"CashBonusTransferSoldWithinAYear",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"2",
     u"3",
     {sell("2024-07-10", "600000", u"甲沪", 1500, 16, 0, 24000)},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|30000|2000000",
      "2024-07-10|2000000|2425000|0"},
     {"2024-06-21|600000|0|30000|30000", "2024-07-10|600000|395000|425000|0"},
     {}},
    {"CashBonusTransferSoldAfterAYear",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"2",
     u"3",
     {sell("2025-03-10", "600000", u"甲沪", 1500, 16, 0, 24000)},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|30000|2000000",
      "2025-03-10|2000000|2430000|0"},
     {"2024-06-21|600000|0|30000|30000", "2025-03-10|600000|400000|430000|0"},
     {}},
    // The bar shows the 30.00 before tax; the 3.00 withheld leaves the cash and the total.
    {"TaxWithheldWhenPaidBefore2013",
     {buy("2012-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2012-06-20",
     "2012-06-21",
     u"0.3",
     u"",
     u"",
     {},
     {"2012-03-01|2000000|0|2000000", "2012-06-21|2000000|2700|2000000"},
     {"2012-06-21|600000|0|2700|3000"},
     {"600000|1000|2000000|2000000"}},
    // A dividend and a sell on the ex-date: the dividend comes first.
    {"SoldOnTheExDate",
     {buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000)},
     "2024-06-20",
     "2024-06-21",
     u"3",
     u"",
     u"",
     {sell("2024-06-21", "600000", u"甲沪", 1000, 21, 0, 21000)},
     {"2024-03-01|2000000|0|2000000", "2024-06-21|2000000|2127000|0"},
     {"2024-06-21|600000|0|30000|30000", "2024-06-21|600000|97000|127000|0"},
     {}},
};

QStringList eventProfitLines(const AccountSeries& s)
{
    QStringList lines;
    for (const SellProfit& p : s.profits)
        lines << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(p.date, p.code)
                     .arg(p.profit)
                     .arg(p.cumulative)
                     .arg(p.dividend);
    return lines;
}

class AccountSeriesWithEvent : public ReportTest,
                               public ::testing::WithParamInterface<EventCase> {};

TEST_P(AccountSeriesWithEvent, FollowsTheEvent)
{
    const EventCase& c = GetParam();
    add(c.before);
    ledger::EventEntry event;
    event.code = QStringLiteral("600000");
    event.name = QStringLiteral("甲沪");
    event.record = QDate::fromString(QString::fromLatin1(c.record), Qt::ISODate);
    event.ex = QDate::fromString(QString::fromLatin1(c.ex), Qt::ISODate);
    event.cash = QString::fromUtf16(c.cash);
    event.bonus = QString::fromUtf16(c.bonus);
    event.transfer = QString::fromUtf16(c.transfer);
    ASSERT_TRUE(ledger::EventLedger(db).add(event, false).saved());
    add(c.after);
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(moneyLines(series), texts(c.money));
    EXPECT_EQ(eventProfitLines(series), texts(c.profits));
    EXPECT_EQ(positionLines(series), texts(c.positions));
    EXPECT_TRUE(series.events);

    // The profit page has a bar for each, the dividend's apart from the sells'.
    const QList<ProfitBar> bars = profitBars(series.profits, 100);
    ASSERT_EQ(bars.size(), series.profits.size());
    for (qsizetype i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].profit, series.profits[i].profit);
        EXPECT_EQ(bars[i].dividend, series.profits[i].dividend);
        EXPECT_EQ(bars[i].cumulative, series.profits[i].cumulative);
    }
}

INSTANTIATE_TEST_SUITE_P(Events, AccountSeriesWithEvent, ::testing::ValuesIn(eventCases),
                         corvanta::test::CaseName());

// The held stock's shares after the event are those the summary values: a quoted
// figure for 1500 shares applies.
TEST_F(AccountSeriesQuoted, SharesAfterTheEventMatchTheQuotedSummary)
{
    add(buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000));
    ledger::EventEntry event;
    event.code = QStringLiteral("600000");
    event.name = QStringLiteral("甲沪");
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.bonus = QStringLiteral("2");
    event.transfer = QStringLiteral("3");
    ASSERT_TRUE(ledger::EventLedger(db).add(event, false).saved());
    const QuotedValues quoted{{QStringLiteral("甲沪"), {1500, 2700000}}};
    const AccountSeries series = accountSeries(db, &quoted);
    EXPECT_EQ(positionLines(series), texts({"600000|1500|2000000|2700000"}));
    ASSERT_EQ(series.positions.size(), 1);
    EXPECT_TRUE(series.positions.first().quoted);
}

// Two stocks with events and their trades interleaved: each event counts the
// shares of its own stock only.
TEST_F(AccountSeriesQuoted, EventsOfTwoStocksCountTheirOwnShares)
{
    add({buy("2024-03-01", "600000", u"甲沪", 1000, 10, 0, 10000),
         buy("2024-03-01", "000001", u"乙深", 500, 20, 0, 10000),
         buy("2024-03-04", "600000", u"甲沪", 1000, 10, 0, 10000)});
    ledger::EventEntry bonus;
    bonus.code = QStringLiteral("600000");
    bonus.name = QStringLiteral("甲沪");
    bonus.record = QDate(2024, 6, 20);
    bonus.ex = QDate(2024, 6, 21);
    bonus.bonus = QStringLiteral("10");
    ASSERT_TRUE(ledger::EventLedger(db).add(bonus, false).saved());
    ledger::EventEntry cash;
    cash.code = QStringLiteral("000001");
    cash.name = QStringLiteral("乙深");
    cash.record = QDate(2024, 5, 20);
    cash.ex = QDate(2024, 5, 21);
    cash.cash = QStringLiteral("5");
    ASSERT_TRUE(ledger::EventLedger(db).add(cash, false).saved());
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(positionLines(series),
              texts({"600000|4000|2000000|2000000", "000001|500|1000000|1000000"}));
    EXPECT_EQ(eventProfitLines(series), texts({"2024-05-21|000001|0|25000|25000"}));
}

// A stock with events among many rows of another: its trades are looked up by
// name rather than read in one pass, with the same outcome.
TEST_F(AccountSeriesQuoted, EventsOfOneStockInALargeLedger)
{
    for (int i = 0; i < 300; ++i)
        add(buy("2023-01-03", "000001", u"乙深", 100, 1, 0, 100));
    add(buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000));
    ledger::EventEntry event;
    event.code = QStringLiteral("600000");
    event.name = QStringLiteral("甲沪");
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.cash = QStringLiteral("3");
    event.bonus = QStringLiteral("2");
    event.transfer = QStringLiteral("3");
    ASSERT_TRUE(ledger::EventLedger(db).add(event, false).saved());
    add(sell("2024-07-10", "600000", u"甲沪", 1500, 16, 0, 24000));
    const AccountSeries series = accountSeries(db);
    EXPECT_EQ(eventProfitLines(series),
              texts({"2024-06-21|600000|0|30000|30000", "2024-07-10|600000|395000|425000|0"}));
    EXPECT_EQ(positionLines(series), texts({"000001|30000|3000000|3000000"}));
}

} // namespace

} // namespace corvanta::report::testing
