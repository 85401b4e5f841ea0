#include "ReportTestSupport.h"

#include "ledger/EventEntry.h"
#include "ledger/EventLedger.h"
#include "report/AccountReturns.h"
#include "report/MoneyWeightedReturn.h"
#include "report/PositionSummary.h"
#include "report/Repricing.h"
#include "report/YearlyStatement.h"

#include "calc/Numbers.h"

#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace corvanta::report::testing {

namespace {

qint64 fenOf(const QString& text)
{
    return std::llround(num::parseNumber(text).value_or(-1e12) * 100);
}

// A real trade with its fee parts, in fen.
struct FeeTrade {
    const char* date;
    const char* code;
    const char16_t* name;
    bool sell;
    qint64 shares;
    qint64 priceFen;
    qint64 stamp, commission, transfer, other;
};

class YearlyStatementTest : public ReportTest {
protected:
    void addTrade(const FeeTrade& t)
    {
        const qint64 amount = t.shares * t.priceFen;
        const qint64 fees = t.stamp + t.commission + t.transfer + t.other;
        const qint64 total = t.sell ? amount - fees : amount + fees;
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) "
            "VALUES (?1,?2,?3,?4,?5,?6,?7,?8,0,'假','否',?9,?10,?11,?12)");
        insert.bind(1, QString::fromLatin1(t.date)).bind(2, QString::fromLatin1(t.code));
        insert.bind(3, t.name).bind(4, t.sell ? u"卖出" : u"买入").bind(5, t.shares);
        insert.bind(6, double(t.priceFen) / 100).bind(7, double(fees) / 100);
        insert.bind(8, double(total) / 100).bind(9, double(t.stamp) / 100);
        insert.bind(10, double(t.commission) / 100);
        insert.bind(11, double(t.transfer + t.other) / 100).bind(12, double(t.other) / 100);
        insert.run();
    }
};

TEST_F(YearlyStatementTest, HandWorkedLedgerGivesEachYearAndTheTotal)
{
    addTrade({"2022-03-01", "600000", u"甲沪", false, 1000, 1000, 0, 500, 20, 500});
    addTrade({"2023-05-01", "600000", u"甲沪", true, 600, 900, 270, 500, 5, 500});
    addTrade({"2022-06-01", "600000", u"甲沪", true, 400, 1200, 480, 500, 10, 500});
    addTrade({"2023-02-01", "000001", u"乙深", false, 500, 2000, 0, 500, 10, 0});
    add(open("2023-02-01", "000001", u"乙深", 500));

    const YearlyStatement statement = yearlyStatement(db);
    const QList<QStringList> rows = yearlyStatementRows(statement);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].join(u'|'),
              u"2022|10010.20|4785.10|781.02|0.00|0.00|10.00|4.80|0.30|10.00|25.10|2|6006.12");
    EXPECT_EQ(rows[1].join(u'|'),
              u"2023|10005.10|5387.25|-618.87|0.00|0.00|10.00|2.70|0.15|5.00|17.85|2|10005.10");
    EXPECT_EQ(rows[2].join(u'|'),
              u"合计|20015.30|10172.35|162.15|0.00|0.00|20.00|7.50|0.45|15.00|42.95|4|10005.10");
    EXPECT_EQ(yearlyStatementTitles().size(), rows[0].size());
}

// The last flow is the value held today: at cost, or at the quoted summary's
// market value while the shares are those it valued.
TEST_F(YearlyStatementTest, ReturnsValueTheHoldingsAtCostOrMarket)
{
    addTrade({"2021-01-01", "600000", u"甲沪", false, 1000, 1000, 0, 0, 0, 0});
    addTrade({"2022-01-01", "600000", u"甲沪", true, 500, 1200, 0, 0, 0, 0});
    addTrade({"2022-01-01", "000001", u"乙深", false, 100, 1000, 0, 0, 0, 0});
    const QDate today(2022, 1, 1);

    const AccountReturns atCost = accountReturns(db, nullptr, today);
    ASSERT_EQ(atCost.stocks.size(), 2);
    EXPECT_EQ(atCost.stocks[0].name, QStringLiteral("甲沪"));
    EXPECT_NEAR(atCost.stocks[0].rate.value_or(-9), 0.1, 1e-9); // 11000 back on 10000
    EXPECT_FALSE(atCost.stocks[1].rate);                        // bought and valued on one day
    EXPECT_NEAR(atCost.account.value_or(-9), 0.1, 1e-9);
    EXPECT_FALSE(atCost.marketValue);

    QuotedValues quoted;
    quoted.insert(QStringLiteral("甲沪"), {500, 550000});
    const AccountReturns atMarket = accountReturns(db, &quoted, today);
    EXPECT_NEAR(atMarket.stocks[0].rate.value_or(-9), 0.15, 1e-9);
    EXPECT_TRUE(atMarket.marketValue);

    quoted.insert(QStringLiteral("甲沪"), {400, 550000}); // traded since: cost again
    EXPECT_NEAR(accountReturns(db, &quoted, today).stocks[0].rate.value_or(-9), 0.1, 1e-9);
}

// 10派3元送2股转3股 on 1,000 shares bought for 20,000.00: 300.00 of dividends, 500
// new shares that halve the cost per share. Half the 1,500 sold after a month
// carries 10% of the tax base of their 500 parent shares (0.30 cash and 0.20 of
// bonus shares at par each): 25.00; the other half, sold after a year, none.
TEST_F(YearlyStatementTest, DividendsAndTheirTaxFallInTheirYears)
{
    addTrade({"2024-03-01", "600000", u"甲沪", false, 1000, 2000, 0, 0, 0, 0});
    ledger::EventEntry event;
    event.code = QStringLiteral("600000");
    event.name = QStringLiteral("甲沪");
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.cash = QStringLiteral("3");
    event.bonus = QStringLiteral("2");
    event.transfer = QStringLiteral("3");
    ASSERT_TRUE(ledger::EventLedger(db).add(event, true).saved());
    addTrade({"2024-07-10", "600000", u"甲沪", true, 750, 2200, 0, 0, 0, 0});
    addTrade({"2025-08-01", "600000", u"甲沪", true, 750, 2200, 0, 0, 0, 0});

    const QList<QStringList> rows = yearlyStatementRows(yearlyStatement(db));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].join(u'|'),
              u"2024|20000.00|16500.00|6500.00|300.00|25.00|0.00|0.00|0.00|0.00|0.00|2|10000.00");
    EXPECT_EQ(rows[1].join(u'|'),
              u"2025|0.00|16500.00|6500.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00|1|0.00");
    EXPECT_EQ(rows[2].join(u'|'),
              u"合计|20000.00|33000.00|13000.00|300.00|25.00|0.00|0.00|0.00|0.00|0.00|3|0.00");

    // The dividend is money back on its ex-date; the sale's tax is not.
    const AccountReturns returns = accountReturns(db, nullptr, QDate(2025, 8, 1));
    ASSERT_EQ(returns.stocks.size(), 1);
    const double rate = returns.stocks[0].rate.value_or(-9);
    const std::vector<CashFlow> flows{{QDate(2024, 3, 1), -20000},
                                      {QDate(2024, 6, 21), 300},
                                      {QDate(2024, 7, 10), 16475},
                                      {QDate(2025, 8, 1), 16500}};
    EXPECT_NEAR(rate, moneyWeightedReturn(flows).value_or(-8), 1e-9);
}

// An imported line notes the other-fee setting in 其它费用 without charging it: its
// 过户费等 is the statement's transfer fee and nothing of it is another fee.
TEST_F(YearlyStatementTest, AnImportedLineKeepsItsTransferFee)
{
    db.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) VALUES ('2024-03-01','600036',"
            "'招商银行','买入',1000,20,5.2,20005.2,-20005.2,'假','否',0,5,0.2,5)");
    const QList<QStringList> rows = yearlyStatementRows(yearlyStatement(db));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].join(u'|'),
              u"2024|20005.20|0.00|0.00|0.00|0.00|5.00|0.00|0.20|0.00|5.20|1|20005.20");
}

TEST_F(YearlyStatementTest, AnEmptyLedgerHasOnlyAZeroTotalRow)
{
    const QList<QStringList> rows = yearlyStatementRows(yearlyStatement(db));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].join(u'|'), u"合计|0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00|0.00|0|0.00");
}

TEST(YuanText, IsExactToTheFenWithItsSign)
{
    EXPECT_EQ(yuanText(0), u"0.00");
    EXPECT_EQ(yuanText(5), u"0.05");
    EXPECT_EQ(yuanText(-61887), u"-618.87");
    EXPECT_EQ(yuanText(123456789012), u"1234567890.12");
}

// Random ledgers kept like the program keeps them (an open-position row per held
// stock, sells never beyond the shares held): the statement's total row adds up
// to the plain summary's totals, to the fen.
class RandomLedgers : public YearlyStatementTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RandomLedgers, TotalsEqualThePlainSummary)
{
    std::mt19937 random(GetParam());
    const struct {
        const char* code;
        const char16_t* name;
    } stocks[] = {{"600000", u"甲沪"},
                  {"000001", u"乙深"},
                  {"300001", u"丙创"},
                  {"580001", u"丁权"},
                  {"600123", u"新名称"}};
    std::map<int, qint64> held;
    QDate date(2018, 1, 2);
    int trades = 0;
    for (int i = 0; i < 150; ++i) {
        date = date.addDays(int(random() % 20));
        const int stock = int(random() % 5);
        const bool sell = held[stock] > 0 && random() % 3 == 0;
        const qint64 shares =
            sell ? 1 + qint64(random() % quint64(held[stock])) : 100 * (1 + qint64(random() % 30));
        held[stock] += sell ? -shares : shares;
        const std::string day = date.toString(Qt::ISODate).toStdString();
        addTrade({day.c_str(), stocks[stock].code, stocks[stock].name, sell, shares,
                  100 + qint64(random() % 5000), qint64(random() % 900),
                  500 + qint64(random() % 900), qint64(random() % 300),
                  qint64(random() % 2) * 500});
        ++trades;
    }
    for (const auto& [stock, shares] : held) {
        if (shares > 0)
            add(open("2030-01-01", stocks[stock].code, stocks[stock].name, shares));
    }

    const YearlyStatement statement = yearlyStatement(db);
    const Summary summary = buildSummary(db);
    const auto& totals = summary.totalsRow.cells;
    const YearFigures& total = statement.total;
    EXPECT_EQ(total.paidForBuys, fenOf(summary.totals.buyTotalText));
    EXPECT_EQ(total.sellProceeds,
              fenOf(summary.totals.sellTotalText.isEmpty() ? QStringLiteral("0")
                                                           : summary.totals.sellTotalText));
    EXPECT_EQ(total.paidForBuys, fenOf(totals[11]));
    EXPECT_EQ(total.fees(), fenOf(totals[12]));
    // Realised profit less the cost still held is what the plain summary counts.
    EXPECT_EQ(total.realisedProfit - total.heldAtCost, fenOf(totals[8]));
    EXPECT_EQ(total.trades, trades);

    qint64 paid = 0, fees = 0;
    for (const YearFigures& y : statement.years) {
        paid += y.paidForBuys;
        fees += y.fees();
    }
    EXPECT_EQ(paid, total.paidForBuys);
    EXPECT_EQ(fees, total.fees());
    EXPECT_EQ(statement.years.last().heldAtCost, total.heldAtCost);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomLedgers, ::testing::Range(1u, 41u));

} // namespace

} // namespace corvanta::report::testing
