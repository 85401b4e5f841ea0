#include "ReportTestSupport.h"

#include "report/PositionSummary.h"
#include "report/SummaryTableModel.h"
#include "report/TradeDetail.h"
#include "report/TradeDetailModel.h"

#include "calc/GbkLength.h"

#include <QStringEncoder>

#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta::report::testing {

namespace {

TEST(PricesFromLines, TakeTheWholeFirstFieldAndTheLastLineOfACode)
{
    const auto prices = pricesFromLines({
        u"600000,2026-12-10,10:15:00,10.00,1"_s,
        u"600000,2026-12-10,10:15:05,10.05,1"_s, // a later line replaces the earlier
        u"0000011,2026-12-10,10:15:00,3.00"_s,   // seven characters: not 000001
        u"000002,2026-12-10,10:15:00,  ,1"_s,    // an empty price is none
        u"000003,2026-12-10"_s,                  // no price field at all
        u"no comma at all"_s,
        u"000004,d,t,1234567890.123456789"_s, // the price field is cut to 15 characters
    });
    EXPECT_EQ(prices.value(u"600000"_s), u"10.05"_s);
    EXPECT_FALSE(prices.contains(u"000001"_s));
    EXPECT_EQ(prices.value(u"000002"_s), u"-"_s);
    EXPECT_EQ(prices.value(u"000003"_s), u"-"_s);
    EXPECT_EQ(prices.value(u"000004"_s), u"1234567890.1234"_s);
    EXPECT_EQ(prices.size(), 5);
}

TEST(QuotedPrice, IsZeroWithoutAUsableQuote)
{
    QuotedPricing pricing;
    pricing.prices = {{u"600000"_s, u"10.05"_s},
                      {u"000002"_s, u"-"_s},
                      {u"000003"_s, u"abc"_s},
                      {u"000000"_s, u"5"_s}};
    EXPECT_EQ(quotedPrice(pricing, u"600000"_s), 10.05);
    EXPECT_EQ(quotedPrice(pricing, u"000002"_s), 0);
    EXPECT_EQ(quotedPrice(pricing, u"000003"_s), 0);
    EXPECT_EQ(quotedPrice(pricing, u"000000"_s), 0); // the code of an unknown name
    EXPECT_EQ(quotedPrice(pricing, u"600999"_s), 0);
}

TEST(GbkLength, CountsHanziTwice)
{
    EXPECT_EQ(gbkByteCount(u"盈亏比例"), 8);
    EXPECT_EQ(gbkByteCount(u"-100.00%"), 8);
    EXPECT_EQ(gbkByteCount(u"A股"), 3);
    EXPECT_EQ(gbkByteCount(u"合　　计"), 8);
    EXPECT_EQ(gbkByteCount(u"万科Ａ"), 6);
}

// Texts counted without the codec agree with it: every character of the ranges
// counted directly, and texts that need the codec (the euro sign is one byte in
// GBK) still go through it.
TEST(GbkLength, CountedWithoutTheCodecAsTheCodecCounts)
{
    QStringEncoder gbk("GBK");
    if (!gbk.isValid())
        GTEST_SKIP() << "no GBK codec";
    const std::pair<char16_t, char16_t> ranges[] = {
        {0x3000, 0x3000}, {0x4E00, 0x9FA5}, {0xFF10, 0xFF19}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A}};
    for (const auto& [first, last] : ranges) {
        for (char32_t u = first; u <= last; ++u) {
            const QString text{QChar(char16_t(u))};
            ASSERT_EQ(gbkByteCount(text), QByteArray(gbk.encode(text)).size())
                << "U+" << std::hex << unsigned(u);
        }
    }
    EXPECT_EQ(gbkByteCount(u"价€"), QByteArray(gbk.encode(u"价€")).size());
}

using ReportModels = ReportTest;

TEST_F(ReportModels, SummaryGridKeepsTotalsFirstAndColoursByProfit)
{
    add({buy("2008-01-02", "000001", u"乙深", 1000, 10, 15, 10015),
         sell("2008-01-03", "000001", u"乙深", 1000, 9, 26, 8974)});
    SummaryTableModel model;
    EXPECT_EQ(model.rowCount(), 1); // headers and the totals row before any summary
    EXPECT_EQ(model.headerData(9, Qt::Horizontal, Qt::DisplayRole), u"盈亏比例"_s);

    model.setSummary(buildSummary(db));

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 16);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole), u"合　　计"_s);
    EXPECT_EQ(model.data(model.index(1, 8), Qt::DisplayRole), u"-1041.00"_s);
    EXPECT_EQ(model.data(model.index(1, 3), Qt::ForegroundRole), u"blue"_s);
    EXPECT_EQ(model.data(model.index(0, 6), Qt::BackgroundRole), u"#f0f0f0"_s);
    EXPECT_FALSE(model.data(model.index(1, 6), Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.stockName(1), u"乙深"_s);
    EXPECT_TRUE(model.stockName(0).isEmpty());

    model.setColourData([](CellColour c) { return c == CellColour::Loss ? 2 : 1; });
    EXPECT_EQ(model.data(model.index(1, 3), Qt::ForegroundRole), 2);
}

TEST_F(ReportModels, TradeDetailListsOneStocksRealTradesById)
{
    const char16_t* name = u"他\"的'股";
    add({buy("2008-01-03", "000002", name, 100, 10, 5, 1005),
         sell("2008-01-02", "000002", name, 100, 10.05, 5, 1005.5),
         buy("2008-01-04", "000002", name, 100, 10, 5, 1005),
         open("2008-01-04", "000002", name, 100),
         buy("2008-01-04", "000001", u"乙深", 100, 10, 5, 1005)});

    TradeDetailModel model;
    model.setRows(QString::fromUtf16(name), tradeDetailRows(db, QString::fromUtf16(name)));

    ASSERT_EQ(model.rowCount(), 3);
    QStringList first;
    for (int c = 0; c < model.columnCount(); ++c)
        first << model.data(model.index(0, c), Qt::DisplayRole).toString();
    const qint64 firstId = db.scalarInt("SELECT min(id) FROM gpjl WHERE 股票代码='000002'");
    EXPECT_EQ(first.join(u'|'),
              u"2008-01-03|他\"的'股|买入|100|10|5|1005|000002|"_s + QString::number(firstId));
    EXPECT_EQ(model.data(model.index(1, 6), Qt::DisplayRole), u"1005.5"_s);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole), u"red"_s);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::ForegroundRole), u"blue"_s);
    EXPECT_EQ(model.headerData(8, Qt::Horizontal, Qt::DisplayRole), u"编号"_s);
}

} // namespace

} // namespace corvanta::report::testing
