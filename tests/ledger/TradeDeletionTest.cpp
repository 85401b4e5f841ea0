#include "LedgerTestSupport.h"
#include "ledger/LedgerMessages.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

class TradeDeletionTest : public LedgerTest {
protected:
    const QString name = u"甲股份"_s;
    const QString code = u"000001"_s;

    qint64 buyShares(const char* quantity)
    {
        return recorded(buy(name, code, QString::fromLatin1(quantity)));
    }
    qint64 sellShares(const char* quantity)
    {
        return recorded(sell(name, code, QString::fromLatin1(quantity)));
    }
    DeleteOutcome::Status deleted(qint64 id)
    {
        const DeleteOutcome outcome = ledger.deleteTrade(id);
        EXPECT_TRUE(invariantHolds(db));
        return outcome.status;
    }
    qint64 realRows()
    {
        return count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份' AND 虚拟卖出='假'");
    }
};

TEST_F(TradeDeletionTest, OnlyBuyGoesWithItsOpenPosition)
{
    const qint64 id = buyShares("1200");
    EXPECT_EQ(deleted(id), DeleteOutcome::Status::Deleted);
    EXPECT_EQ(count("SELECT count(*) FROM gpjl WHERE 股票名='甲股份'"), 0);
}

TEST_F(TradeDeletionTest, OneOfTwoBuysLeavesTheOther)
{
    const qint64 first = buyShares("500");
    buyShares("300");
    EXPECT_EQ(deleted(first), DeleteOutcome::Status::Deleted);
    EXPECT_EQ(openShares(name), 300);
    EXPECT_EQ(realRows(), 1);
}

TEST_F(TradeDeletionTest, BuyOfSharesStillHeldMayGoAfterASell)
{
    const qint64 first = buyShares("500");
    buyShares("300");
    sellShares("300");
    ASSERT_EQ(openShares(name), 500);
    EXPECT_EQ(deleted(first), DeleteOutcome::Status::Deleted);
    EXPECT_EQ(openRows(name), 0);
}

TEST_F(TradeDeletionTest, BuyPartlySoldIsRefused)
{
    const qint64 first = buyShares("500");
    buyShares("300");
    sellShares("600");
    const QStringList before = dumpLedger(db);

    const DeleteOutcome outcome = ledger.deleteTrade(first);
    EXPECT_EQ(outcome.status, DeleteOutcome::Status::Refused);
    EXPECT_EQ(outcome.refusal,
              u"股票:甲股份 删除后买入数量与卖出数量不符，请先删除卖出记录后再删除此记录!"_s);
    EXPECT_EQ(dumpLedger(db), before);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(TradeDeletionTest, BuyOfASoldOutStockIsRefused)
{
    const qint64 id = buyShares("500");
    sellShares("500");
    const QStringList before = dumpLedger(db);

    const DeleteOutcome outcome = ledger.deleteTrade(id);
    EXPECT_EQ(outcome.status, DeleteOutcome::Status::Refused);
    EXPECT_EQ(outcome.refusal, u"股票:甲股份 的已有卖出记录，请先删除卖出记录后再删除此记录!"_s);
    EXPECT_EQ(dumpLedger(db), before);
}

TEST_F(TradeDeletionTest, SellGivesItsSharesBack)
{
    buyShares("800");
    const qint64 sold = sellShares("300");
    ASSERT_EQ(openShares(name), 500);
    EXPECT_EQ(deleted(sold), DeleteOutcome::Status::Deleted);
    EXPECT_EQ(openShares(name), 800);
}

TEST_F(TradeDeletionTest, DeletingTheClosingSellReopensThePosition)
{
    TradeEntry first = buy(name, code, u"500"_s);
    first.date = QDate(2008, 1, 2);
    recorded(first);
    TradeEntry second = buy(name, u"600001"_s, u"300"_s);
    second.date = QDate(2008, 2, 3);
    recorded(second);
    sellShares("200");
    TradeEntry closing = sell(name, code, u"600"_s);
    closing.price = u"18.20"_s;
    const qint64 closingId = recorded(closing);
    ASSERT_EQ(openRows(name), 0);
    db.exec("UPDATE gpjl SET 监控状态='是' WHERE ID=(SELECT max(ID) FROM gpjl)");

    EXPECT_EQ(deleted(closingId), DeleteOutcome::Status::Deleted);
    auto open = db.prepare("SELECT 日期,股票代码,交易状态,数量,价格,监控状态 FROM gpjl "
                           "WHERE 虚拟卖出='真' AND 股票名='甲股份'");
    ASSERT_TRUE(open.step());
    EXPECT_EQ(open.text(0), u"2008-01-02"_s); // of the first buy
    EXPECT_EQ(open.text(1), u"000001"_s);
    EXPECT_EQ(open.text(2), u"卖出"_s);
    EXPECT_EQ(open.int64(3), 600); // 800 bought less the other sell
    EXPECT_DOUBLE_EQ(open.real(4), 18.2);
    EXPECT_EQ(open.text(5), u"是"_s); // the deleted sell's mark
    EXPECT_FALSE(open.step());
}

TEST_F(TradeDeletionTest, NoTradeNoDeletion)
{
    const qint64 id = buyShares("100");
    const QStringList before = dumpLedger(db);
    EXPECT_EQ(ledger.deleteTrade(9999).status, DeleteOutcome::Status::NotFound);
    // The open-position row is no trade of its own.
    const qint64 openId = count("SELECT ID FROM gpjl WHERE 虚拟卖出='真' AND 股票名='甲股份'");
    EXPECT_EQ(ledger.deleteTrade(openId).status, DeleteOutcome::Status::NotFound);
    EXPECT_EQ(dumpLedger(db), before);
    // A row without a stock name is left alone.
    db.exec("UPDATE gpjl SET 股票名=NULL WHERE 虚拟卖出='假' AND 股票代码='000001'");
    EXPECT_EQ(ledger.deleteTrade(id).status, DeleteOutcome::Status::NotFound);
    EXPECT_FALSE(ledger.deleteQuestion(id));
}

TEST_F(TradeDeletionTest, QuestionNamesTheTrade)
{
    // The seeded sample trade is row 1.
    EXPECT_EQ(ledger.deleteQuestion(1), u"股票：唐钢股份买入1200股的交易记录删除吗？"_s);
    EXPECT_EQ(messages::deleteCaption, u"记录删除确认");
    EXPECT_FALSE(ledger.deleteQuestion(2)); // its open-position row
}

TEST_F(TradeDeletionTest, ClearingEmptiesTheLedgerAndTheScratchTablesOnly)
{
    buyShares("100");
    db.exec("CREATE TABLE tmpdb1 (x); INSERT INTO tmpdb1 VALUES (1);"
            "CREATE TABLE TMPDB3 (x); INSERT INTO TMPDB3 VALUES (3);"
            "INSERT INTO dxgp (股票代码) VALUES ('000001')");
    const qint64 stocks = count("SELECT count(*) FROM gpmc");

    ledger.clearLedger();
    EXPECT_EQ(count("SELECT count(*) FROM gpjl"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM tmpdb1"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM tmpdb3"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM gpmc"), stocks);
    EXPECT_EQ(count("SELECT count(*) FROM dxgp"), 1);
    EXPECT_FALSE(db.inTransaction());
}

} // namespace
} // namespace corvanta::ledger::testing
