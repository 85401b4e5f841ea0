#include "TextPrinting.h"
#include "report/MonitorGridUpdate.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::report;

namespace {

// Selling at 1 ‰ stamp duty, 3 ‰ commission and 5 yuan other fee.
FeeSnapshot sellRates()
{
    FeeSnapshot s;
    s.quantity = u"1000"_s;
    s.price = u"10"_s;
    s.stampRate = u"1"_s;
    s.commissionRate = u"3"_s;
    s.otherFee = u"5"_s;
    s.direction = Direction::Sell;
    return s;
}

struct StockCase {
    const char* name;
    MonitorStock stock;
    QString price;
    MonitorPass pass;
    // Cells joined by "|"; "~" marks a cell the pass keeps.
    QString cells;
};

void PrintTo(const StockCase& c, std::ostream* os)
{
    *os << c.name;
}

class MonitorStockTest : public testing::TestWithParam<StockCase> {};

TEST_P(MonitorStockTest, WritesTheGridRow)
{
    const StockCase& c = GetParam();
    const MonitorStockRow row = computeMonitorStock(c.stock, c.price, sellRates(), c.pass);
    QStringList cells;
    for (const auto& cell : row.cells)
        cells << cell.value_or(u"~"_s);
    EXPECT_EQ(cells.join(u'|'), c.cells);
}

// 1000 shares bought for 10035.00 with 35.00 fees.
MonitorStock held(const QString& code)
{
    return {1, u"乙深"_s, code, 1000, 10.0, 0, 0, 0, 1000, 10035.0, 35.0};
}

INSTANTIATE_TEST_SUITE_P(
    Table, MonitorStockTest,
    testing::Values(
        StockCase{
            "HeldAndQuoted", held(u"000001"_s), u"10.00"_s, MonitorPass::Initial,
            u"乙深|1000|10.00|0|.00|1000|10.00|9955.00|-80.00|9955.00|10035|80.00|45.00|35"_s},
        StockCase{"NoQuoteCostsTheMinimumFees", held(u"600000"_s), u"-"_s, MonitorPass::Initial,
                  u"乙深|1000|10.00|0|.00|1000|0|0|-10046.00|-11.00|10035|46.00|11.00|35"_s},
        StockCase{"AllSold",
                  {1, u"丙"_s, u"000001"_s, 1000, 10.0, 1000, 10955, 45, 0, 10035.0, 35.0},
                  u"12.00"_s,
                  MonitorPass::Initial,
                  u"丙|1000|10.00|1000|11.00|0|12.00|0|920.00|10955.00|10035|80.00|45.00|35"_s},
        StockCase{"CycleKeepsItsColumns", held(u"000001"_s), u"10.00"_s, MonitorPass::Cycle,
                  u"乙深|1000|10.00|0|~|1000|10.00|9955.00|-80.00|9955.00|~|80.00|45.00|~"_s}),
    [](const testing::TestParamInfo<StockCase>& row) { return row.param.name; });

QString record(const QString& code, const QString& time, const QString& price)
{
    return code + u",2026-12-10,"_s + time + u","_s + price + u",1,0.1,1,1,1,1,1,1,9,9,11,9"_s;
}

TEST(MonitorGridUpdateTest, TotalsTimeAndWidthsThatOnlyGrow)
{
    const QList<MonitorStock> stocks{
        held(u"000001"_s), {2, u"戊缺"_s, u"600999"_s, 100, 5.0, 0, 0, 0, 100, 505.0, 5.0}};
    const QStringList lines{record(u"000001"_s, u"10:00:00"_s, u""_s),
                            record(u"000001"_s, u"10:00:05"_s, u"10.00"_s),
                            record(u"600999"_s, u"10:00:03"_s, u"5.50"_s)};
    const MonitorGridUpdate first =
        updateMonitorGrid(stocks, lines, sellRates(), MonitorPass::Initial, {}, u"not"_s);
    ASSERT_EQ(first.grid.rows.size(), 2);
    EXPECT_EQ(first.grid.rows[0][MonitorPrice], u"10.00"_s); // the blank record hides nothing
    EXPECT_EQ(first.grid.rows[1][MonitorPrice], u"5.50"_s);
    EXPECT_EQ(first.grid.totals[MonitorName], u"合　　计"_s);
    EXPECT_EQ(first.grid.totals[MonitorProfit], u"-46.55"_s);
    EXPECT_EQ(first.timeLabel.value_or(QString()), u"获取价格时间:2026-12-10 10:00:05"_s);
    EXPECT_EQ(first.stored.size(), 2);
    EXPECT_EQ(first.grid.textWidths[MonitorName], 8); // the header "股票名称"
    EXPECT_EQ(first.grid.textWidths[MonitorMarketValue], 8);

    // A cycle with shorter texts keeps the widths; the rows stay the pass's rows.
    const MonitorGridUpdate second =
        updateMonitorGrid(stocks.mid(0, 1), {record(u"000001"_s, u"10:01:00"_s, u"1.00"_s)},
                          sellRates(), MonitorPass::Cycle, first.grid, u"not"_s);
    EXPECT_EQ(second.grid.rows.size(), 2);
    EXPECT_EQ(second.grid.rows[1], first.grid.rows[1]);
    EXPECT_EQ(second.grid.rows[0][MonitorPrice], u"1.00"_s);
    EXPECT_EQ(second.grid.rows[0][MonitorOutlay], u"10035"_s);
    for (int column = 0; column < MonitorColumnCount; ++column)
        EXPECT_GE(second.grid.textWidths[column], first.grid.textWidths[column]);
    EXPECT_EQ(monitorColumnWidths(second.grid.textWidths, 9)[MonitorName], 8 * 6 + 9 + 6);
}

TEST(TickerLineTest, RightAlignsInGbkBytes)
{
    MonitorCells row;
    row[MonitorName] = u"乙深"_s;
    row[MonitorPrice] = u"10.00"_s;
    row[MonitorProfit] = u"-80.00"_s;
    EXPECT_EQ(stockTickerLine(row), u"      乙深　时价： 10.00元　盈亏：      -80.00元"_s);
    EXPECT_EQ(headTickerLine(u"很长的股票名称"_s, u"1234567"_s, u"-0.12"_s),
              u"很长的股票名称　时价：1234567元　涨幅:  -0.12"_s);
}

} // namespace
