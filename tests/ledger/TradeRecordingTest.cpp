#include "LedgerTestSupport.h"
#include "ledger/LedgerMessages.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

using TradeRecordingTest = LedgerTest;

TEST_F(TradeRecordingTest, FirstBuyAddsTheTradeAndItsOpenPosition)
{
    const qint64 id = recorded(buy(u"甲股份"_s, u"000001"_s, u"1200"_s));

    auto row = db.prepare("SELECT ID,日期,股票代码,交易状态,数量,价格,费用,总金额,盈亏金额,"
                          "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用 FROM gpjl "
                          "WHERE 股票名='甲股份' ORDER BY ID");
    ASSERT_TRUE(row.step());
    EXPECT_EQ(row.int64(0), id);
    EXPECT_EQ(row.text(1), u"2008-03-14"_s);
    EXPECT_EQ(row.text(2), u"000001"_s);
    EXPECT_EQ(row.text(3), u"买入"_s);
    EXPECT_EQ(row.int64(4), 1200);
    EXPECT_DOUBLE_EQ(row.real(5), 14.46);
    EXPECT_DOUBLE_EQ(row.real(6), 74.41);
    EXPECT_DOUBLE_EQ(row.real(7), 17426.41);
    EXPECT_DOUBLE_EQ(row.real(8), -17426.41);
    EXPECT_EQ(row.text(9), u"假"_s);
    EXPECT_EQ(row.text(10), u"否"_s);
    EXPECT_DOUBLE_EQ(row.real(11), 17.35);
    EXPECT_DOUBLE_EQ(row.real(12), 52.06);
    EXPECT_DOUBLE_EQ(row.real(13), 5.0);
    EXPECT_DOUBLE_EQ(row.real(14), 5.0);

    ASSERT_TRUE(row.step());
    EXPECT_EQ(row.text(3), u"卖出"_s);
    EXPECT_EQ(row.int64(4), 1200);
    EXPECT_DOUBLE_EQ(row.real(5), 14.612); // the break-even price
    EXPECT_DOUBLE_EQ(row.real(6), 74.41);
    EXPECT_DOUBLE_EQ(row.real(7), 17426.41);
    EXPECT_DOUBLE_EQ(row.real(8), -17426.41);
    EXPECT_EQ(row.text(9), u"真"_s);
    EXPECT_EQ(row.text(10), u"否"_s);
    EXPECT_DOUBLE_EQ(row.real(11), 0.0);
    EXPECT_DOUBLE_EQ(row.real(14), 0.0);
    EXPECT_FALSE(row.step());
}

TEST_F(TradeRecordingTest, LaterBuyGrowsTheOpenPositionKeepingItsPrice)
{
    recorded(buy(u"甲股份"_s, u"000001"_s, u"1000"_s));
    TradeEntry second = buy(u"甲股份"_s, u"000001"_s, u"300"_s);
    second.price = u"20.00"_s;
    second.breakEven = u"20.500"_s;
    second.total = u"6010.00"_s;
    recorded(second);

    EXPECT_EQ(openRows(u"甲股份"_s), 1);
    EXPECT_EQ(openShares(u"甲股份"_s), 1300);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份' AND 虚拟卖出='真' "
                    "AND 价格=14.612 AND 总金额=17426.41"),
              1);
}

TEST_F(TradeRecordingTest, LotsAreRecordedAndComparedAsShares)
{
    recorded(trade(Direction::Buy, u"甲股份"_s, u"000001"_s, u"5"_s, 100));
    EXPECT_EQ(count("SELECT 数量 FROM gpjl WHERE 股票名='甲股份' AND 虚拟卖出='假'"), 500);
    EXPECT_EQ(openShares(u"甲股份"_s), 500);

    const RecordOutcome over =
        ledger.record(trade(Direction::Sell, u"甲股份"_s, u"000001"_s, u"6"_s, 100));
    EXPECT_EQ(over.refusal, messages::overSell + messages::overSellEventHint);
    recorded(trade(Direction::Sell, u"甲股份"_s, u"000001"_s, u"5"_s, 100));
    EXPECT_EQ(openRows(u"甲股份"_s), 0);
}

TEST_F(TradeRecordingTest, SellShrinksAndAFullSellClosesTheOpenPosition)
{
    recorded(buy(u"甲股份"_s, u"000001"_s, u"800"_s));
    recorded(sell(u"甲股份"_s, u"000001"_s, u"300"_s));
    EXPECT_EQ(openShares(u"甲股份"_s), 500);
    recorded(sell(u"甲股份"_s, u"000001"_s, u"500"_s));
    EXPECT_EQ(openRows(u"甲股份"_s), 0);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(TradeRecordingTest, SellingMoreThanWasBoughtIsRefusedAndWritesNothing)
{
    recorded(buy(u"甲股份"_s, u"000001"_s, u"800"_s));
    recorded(sell(u"甲股份"_s, u"000001"_s, u"300"_s));
    const QStringList before = dumpLedger(db);

    const RecordOutcome outcome = ledger.recordSell(sell(u"甲股份"_s, u"000001"_s, u"501"_s));
    EXPECT_FALSE(outcome.recorded());
    // The stock has no 分红送配 recorded: a missing 送转 may be why.
    EXPECT_EQ(
        outcome.refusal,
        u"卖出总数大于已有的买入总数,不能添加!\n该股票在账本中没有分红送配记录：如有送股或转增，"
        u"请先在“分红送配”中添加。"_s);
    EXPECT_EQ(dumpLedger(db), before);
    EXPECT_FALSE(db.inTransaction());

    // A stock never bought cannot be sold at all.
    EXPECT_FALSE(ledger.recordSell(sell(u"乙股份"_s, u"000002"_s, u"1"_s)).recorded());
    EXPECT_EQ(dumpLedger(db), before);
}

TEST_F(TradeRecordingTest, RefusedEntryWritesNothing)
{
    const QStringList before = dumpLedger(db);
    EXPECT_EQ(ledger.recordBuy(buy(u"无名股票"_s, u"000000"_s, u"100"_s)).refusal,
              u"股票没有名称不添加"_s);
    TradeEntry letters = buy(u"甲股份"_s, u"000001"_s, u"100"_s);
    letters.price = u"1a.5"_s;
    EXPECT_FALSE(ledger.recordBuy(letters).recorded());
    EXPECT_FALSE(ledger.recordBuy(buy(u"甲股份"_s, u"000001"_s, u"0"_s)).recorded());
    TradeEntry negativeFee = buy(u"甲股份"_s, u"000001"_s, u"100"_s);
    negativeFee.otherFee = u"-100"_s;
    EXPECT_EQ(ledger.recordBuy(negativeFee).refusal, u"其它费用不能为负数,不能添加!"_s);
    TradeEntry absurdRate = sell(u"唐钢股份"_s, u"000709"_s, u"100"_s);
    absurdRate.stampRate = u"99999"_s;
    EXPECT_EQ(ledger.recordSell(absurdRate).refusal, u"印花税率超过100‰,不能添加!"_s);
    EXPECT_EQ(dumpLedger(db), before);
}

TEST_F(TradeRecordingTest, DirectionOfTheNamedOperationWins)
{
    recorded(buy(u"甲股份"_s, u"000001"_s, u"800"_s));
    // An entry still marked as a buy, recorded with the sell operation.
    ASSERT_TRUE(ledger.recordSell(buy(u"甲股份"_s, u"000001"_s, u"800"_s)).recorded());
    EXPECT_EQ(openRows(u"甲股份"_s), 0);
}

TEST_F(TradeRecordingTest, NewRowsOfAMonitoredStockJoinTheMonitorList)
{
    // The seeded 唐钢股份 rows are on the monitor list.
    recorded(buy(u"唐钢股份"_s, u"000709"_s, u"300"_s));
    recorded(sell(u"唐钢股份"_s, u"000709"_s, u"100"_s));
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份' AND 监控状态<>'是'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份'"), 4);

    // A stock off the list stays off it.
    recorded(buy(u"甲股份"_s, u"000001"_s, u"100"_s));
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份' AND 监控状态='否'"), 2);
}

TEST_F(TradeRecordingTest, StocksSharingANameShareOneOpenPosition)
{
    recorded(buy(u"同名"_s, u"000001"_s, u"500"_s));
    recorded(buy(u"同名"_s, u"600001"_s, u"300"_s));
    EXPECT_EQ(openRows(u"同名"_s), 1);
    EXPECT_EQ(openShares(u"同名"_s), 800);
    // Shares bought under one code may be sold under the other.
    recorded(sell(u"同名"_s, u"600001"_s, u"600"_s));
    EXPECT_EQ(openShares(u"同名"_s), 200);
    EXPECT_TRUE(invariantHolds(db));
}

TEST_F(TradeRecordingTest, NamesWithQuotesAndWildcardsAreStoredAndMatchedExactly)
{
    const QString quoted = u"O'Neil \"A\" 100%"_s;
    recorded(buy(quoted, u"000003"_s, u"100"_s));
    recorded(buy(u"甲_"_s, u"000004"_s, u"100"_s));
    recorded(buy(u"甲股"_s, u"000005"_s, u"900"_s));
    recorded(buy(u"甲%"_s, u"000006"_s, u"200"_s));

    EXPECT_EQ(openShares(quoted), 100);
    auto names = db.prepare("SELECT count(*) FROM gpjl WHERE 股票名=?1");
    names.bind(1, quoted);
    ASSERT_TRUE(names.step());
    EXPECT_EQ(names.int64(0), 2);

    // "甲_" and "甲%" hold their own shares only, not those of "甲股".
    EXPECT_FALSE(ledger.record(sell(u"甲_"_s, u"000004"_s, u"101"_s)).recorded());
    EXPECT_FALSE(ledger.record(sell(u"甲%"_s, u"000006"_s, u"201"_s)).recorded());
    recorded(sell(u"甲%"_s, u"000006"_s, u"200"_s));
    EXPECT_EQ(openShares(u"甲股"_s), 900);
    EXPECT_EQ(openShares(u"甲_"_s), 100);
    EXPECT_TRUE(invariantHolds(db));
}

// An import or a restore wraps many recordings in one transaction: a refused one
// leaves nothing of itself, the others commit or roll back together.
TEST_F(TradeRecordingTest, RecordingsJoinTheCallersTransaction)
{
    const QStringList before = dumpLedger(db);
    for (const bool commit : {false, true}) {
        sql::Transaction batch(db);
        recorded(buy(u"甲股份"_s, u"000001"_s, u"500"_s));
        EXPECT_FALSE(ledger.record(sell(u"乙股份"_s, u"000002"_s, u"100"_s)).recorded());
        recorded(sell(u"甲股份"_s, u"000001"_s, u"200"_s));
        EXPECT_TRUE(db.inTransaction());
        if (commit)
            batch.commit();
        else
            EXPECT_EQ(count("SELECT count(*) FROM gpjl"), before.size() + 3);
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count("SELECT count(*) FROM gpjl"), before.size() + 3);
    EXPECT_EQ(openShares(u"甲股份"_s), 300);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='乙股份'"), 0);
    EXPECT_TRUE(invariantHolds(db));
}

} // namespace
} // namespace corvanta::ledger::testing
