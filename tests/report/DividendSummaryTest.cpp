#include "ReportTestSupport.h"

#include "ledger/EventLedger.h"
#include "ledger/TradeLedger.h"
#include "report/PositionSummary.h"
#include "report/TotalsReport.h"

using namespace Qt::StringLiterals;

namespace corvanta::report::testing {

namespace {

// The worked example: 1000 甲沪 bought at 20.00 on 2024-03-01, 10派3元送2股转3股
// (record 2024-06-20, ex 2024-06-21), all 1500 shares sold on `saleDate` at 16.00;
// no fees, so every figure can be checked by hand.
class DividendSummary : public ReportTest {
protected:
    void recordExample(const char* saleDate)
    {
        add(buy("2024-03-01", "600000", u"甲沪", 1000, 20, 0, 20000));
        ledger::EventEntry event;
        event.code = u"600000"_s;
        event.name = u"甲沪"_s;
        event.record = QDate(2024, 6, 20);
        event.ex = QDate(2024, 6, 21);
        event.cash = u"3"_s;
        event.bonus = u"2"_s;
        event.transfer = u"3"_s;
        ASSERT_TRUE(ledger::EventLedger(db).add(event, false).saved());
        add(sell(saleDate, "600000", u"甲沪", 1500, 16, 0, 24000));
        ledger::TradeLedger(db).rederiveOpenPositions({u"甲沪"_s});
    }
};

// Sold within a year: 50.00 of dividend tax is a selling fee; the profit holds the
// 300.00 received and the tax; the balance and the report's lines hold both.
TEST_F(DividendSummary, DividendAndTaxCountInProfitFeesAndBalance)
{
    recordExample("2024-07-10");
    const Summary summary = buildSummary(db);
    ASSERT_EQ(summary.stocks.size(), 1);
    const SummaryRow& row = summary.stocks.first();
    EXPECT_EQ(row.cells[HeldColumn], u"0"_s);
    EXPECT_EQ(row.cells[ProfitColumn], u"4250.00"_s); // 24000 − 20000 + 300 − 50
    EXPECT_EQ(row.cells[FeesColumn], u"50.00"_s);
    EXPECT_EQ(row.cells[SellFeesColumn], u"50.00"_s);
    EXPECT_EQ(summary.totalsRow.cells[ProfitColumn], u"4250.00"_s);
    EXPECT_EQ(summary.totals.cashBalance, 24250);
    EXPECT_EQ(summary.totals.capitalInvested, 20000);

    const TotalsReport report =
        totalsReport(summary.totals, summary.totalsRow.cells[MarketValueColumn]);
    EXPECT_EQ(report.balanceText, u"24250"_s);
    EXPECT_TRUE(report.lines.contains(u"    分红派息：300.00元(税前)"_s))
        << report.lines.join(u'\n').toStdString();
    EXPECT_TRUE(report.lines.contains(u"    红利税：50.00元"_s));
    EXPECT_TRUE(report.lines.contains(
        u"　　盈亏金额:4250.00元.此数据同汇总表中的盈亏金额的差距由于所持某支股票中存在多次买卖并有部分未卖，使买卖费用计算有细微出入."_s));
}

// Sold after a year: no tax; the dividend still counts.
TEST_F(DividendSummary, SoldAfterAYearOnlyTheDividendCounts)
{
    recordExample("2025-03-10");
    const Summary summary = buildSummary(db);
    EXPECT_EQ(summary.stocks.first().cells[ProfitColumn], u"4300.00"_s);
    EXPECT_EQ(summary.stocks.first().cells[FeesColumn], u".00"_s);
    const TotalsReport report =
        totalsReport(summary.totals, summary.totalsRow.cells[MarketValueColumn]);
    EXPECT_TRUE(report.lines.contains(u"    红利税：.00元"_s))
        << report.lines.join(u'\n').toStdString();
}

} // namespace
} // namespace corvanta::report::testing
