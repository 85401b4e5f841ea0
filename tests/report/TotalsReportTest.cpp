#include "ReportTestSupport.h"

#include "report/TotalsReport.h"

#include "../calc/CaseTables.h"

#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::report::testing {

namespace {

TEST(TotalsReport, BeforeAnySummarySaysEmpty)
{
    const TotalsReport report = totalsReport(LedgerTotals{}, u"0.00"_s);
    EXPECT_EQ(report.lines, (QStringList{QString(), u"空"_s, QString(), QString()}));
    EXPECT_FALSE(report.balanceText);
}

TEST(TotalsReport, WordsTheWholeAccount)
{
    LedgerTotals totals;
    totals.capitalInvested = 36536;
    totals.cashBalance = 1234.5;
    totals.sellProceeds = 4980.5;
    totals.heldCount = 6;
    totals.stocksTraded = u"6"_s;
    totals.buyTotalText = u"36536"_s;
    totals.buyFeesText = u"136"_s;
    totals.sellTotalText = u"4980.5"_s;
    totals.sellFeesText = u"19.5"_s;

    const TotalsReport report = totalsReport(totals, u"34832.00"_s);

    const QString line = u"=============================="_s;
    EXPECT_EQ(
        report.lines,
        (QStringList{
            u" "_s,
            u"买卖6只股票：　总计投入:36536.00元"_s,
            line,
            u"　现持有:6支股票"_s,
            u"　　持有股票按时价计算市值:34832.00元,(计算结果已减卖出费用,停盘或时价为0不计算)"_s,
            u"　　盈亏金额:-469.50元.此数据同汇总表中的盈亏金额的差距由于所持某支股票中存在多次"
            u"买卖并有部分未卖，使买卖费用计算有细微出入."_s,
            line,
            u"    买入总金额：36536元"_s,
            u"    卖出总金额：4980.50元(未卖出不统计)"_s,
            line,
            u"    买入总费用：136元"_s,
            u"    卖出总费用：19.5元(未卖出不统计)"_s,
            line,
            u"    费用总金额：155.50元"_s,
            QString(),
            QString(),
        }));
    // The balance box shows the balance unformatted.
    EXPECT_EQ(report.balanceText, u"1234.5"_s);
}

struct LineCase {
    std::string name;
    LedgerTotals totals;
    QString marketValue;
    int line; // index into the report's lines
    QString expected;
    QString balance;
};

LedgerTotals buysOnly()
{
    LedgerTotals t;
    t.capitalInvested = 1005;
    t.stocksTraded = u"1"_s;
    t.buyTotalText = u"1005"_s;
    t.buyFeesText = u"5"_s;
    return t;
}

const std::vector<LineCase> lineCases = {
    // Without real sells: proceeds in the money pattern, fees an empty text made 0.
    {"BuysOnlySellTotal", buysOnly(), u"0.00"_s, 8, u"    卖出总金额：.00元(未卖出不统计)"_s,
     u"0"_s},
    {"BuysOnlySellFees", buysOnly(), u"0.00"_s, 11, u"    卖出总费用：0元(未卖出不统计)"_s, u"0"_s},
    // After a plain summary the holdings count nothing: cash left minus money put in.
    {"PlainProfit", buysOnly(), u"0.00"_s, 5,
     u"　　盈亏金额:-1005.00元.此数据同汇总表中的盈亏金额的差距由于所持某支股票中存在多次"
     u"买卖并有部分未卖，使买卖费用计算有细微出入."_s,
     u"0"_s},
    // A summary that stopped before its totals row: the text is shown, counted 0.
    {"MarketValueNoNumber", buysOnly(), QString(), 5,
     u"　　盈亏金额:-1005.00元.此数据同汇总表中的盈亏金额的差距由于所持某支股票中存在多次"
     u"买卖并有部分未卖，使买卖费用计算有细微出入."_s,
     u"0"_s},
    {"MarketValueShownAsGiven", buysOnly(), u"abc"_s, 4,
     u"　　持有股票按时价计算市值:abc元,(计算结果已减卖出费用,停盘或时价为0不计算)"_s, u"0"_s},
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class TotalsReportLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(TotalsReportLine, Reads)
{
    const LineCase& c = GetParam();
    const TotalsReport report = totalsReport(c.totals, c.marketValue);
    ASSERT_EQ(report.lines.size(), 16);
    EXPECT_EQ(report.lines[c.line], c.expected);
    EXPECT_EQ(report.balanceText, c.balance);
}

INSTANTIATE_TEST_SUITE_P(Cases, TotalsReportLine, ::testing::ValuesIn(lineCases),
                         corvanta::test::CaseName());

} // namespace

} // namespace corvanta::report::testing
