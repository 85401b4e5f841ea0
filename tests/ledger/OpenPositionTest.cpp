#include "LedgerTestSupport.h"
#include "calc/FeeCalculator.h"
#include "ledger/StockTable.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

// A buy priced by the fee calculator, as the main window prices it: stamp duty
// 1‰, commission 3‰, other fee 5, a Shenzhen share.
TradeEntry pricedBuy(const QString& name, const QString& code, const QString& quantity,
                     const QString& price)
{
    FeeInputs in;
    in.quantity = quantity;
    in.price = price;
    in.stampRate = u"1"_s;
    in.commissionRate = u"3"_s;
    in.otherFee = u"5"_s;
    const FeeQuote quote = computeFees(in);
    TradeEntry entry = buy(name, code, quantity);
    entry.price = price;
    entry.totalFees = quote.totalFees.value_or(QString());
    entry.total = quote.total.value_or(QString());
    entry.stampDuty = quote.stampDuty.value_or(QString());
    entry.commission = quote.commission.value_or(QString());
    entry.transferAndOther = quote.transferAndOther.value_or(QString());
    entry.breakEven = quote.breakEven.value_or(QString());
    entry.otherFee = in.otherFee;
    entry.stampRate = in.stampRate;
    entry.commissionRate = in.commissionRate;
    return entry;
}

class OpenPositionTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        db.exec("DELETE FROM gpjl");
    }
    // 价格, 费用, 总金额, 日期 and 股票代码 of the name's open-position row.
    QStringList openRowPricing(const QString& name)
    {
        auto query = db.prepare("SELECT 价格,费用,总金额,日期,股票代码 FROM gpjl "
                                "WHERE 虚拟卖出='真' AND 股票名=?1");
        query.bind(1, name);
        if (!query.step())
            return {};
        return {query.text(0), query.text(1), query.text(2), query.text(3), query.text(4)};
    }

    StockTable stocks{db};
};

// A rename onto a held name and back again.
TEST_F(OpenPositionTest, RenameRoundTripGivesEachNameItsOwnShares)
{
    stocks.addStock(u"900001"_s, u"AAA"_s, u"AAA"_s);
    stocks.addStock(u"900002"_s, u"BBB"_s, u"BBB"_s);
    recorded(pricedBuy(u"AAA"_s, u"900001"_s, u"100"_s, u"10.00"_s));
    recorded(pricedBuy(u"BBB"_s, u"900002"_s, u"200"_s, u"20.00"_s));
    const QStringList aaaPricing = openRowPricing(u"AAA"_s);
    const QStringList bbbPricing = openRowPricing(u"BBB"_s);

    stocks.renameStock(u"900001"_s, u"BBB"_s, u"BBB"_s);
    EXPECT_EQ(openRows(u"BBB"_s), 1);
    EXPECT_EQ(openShares(u"BBB"_s), 300);
    EXPECT_EQ(openRows(u"AAA"_s), 0);
    EXPECT_TRUE(invariantHolds(db));

    stocks.renameStock(u"900001"_s, u"AAA"_s, u"AAA"_s);
    EXPECT_EQ(openShares(u"AAA"_s), 100);
    EXPECT_EQ(openShares(u"BBB"_s), 200);
    EXPECT_TRUE(invariantHolds(db));
    // Each row is priced as the name's own first buy priced it.
    EXPECT_EQ(openRowPricing(u"AAA"_s), aaaPricing);
    EXPECT_EQ(openRowPricing(u"BBB"_s), bbbPricing);

    // Deleting AAA's only buy leaves AAA without a holding.
    const qint64 aaaBuy = db.scalarInt("SELECT ID FROM gpjl WHERE 股票名='AAA' AND 虚拟卖出='假'");
    EXPECT_EQ(ledger.deleteTrade(aaaBuy).status, DeleteOutcome::Status::Deleted);
    EXPECT_EQ(openRows(u"AAA"_s), 0);
    EXPECT_EQ(openShares(u"BBB"_s), 200);
    EXPECT_TRUE(invariantHolds(db));
}

// A broken position of 甲股份 (bought 500 + 300, sold 200: 600 held) and how
// re-deriving mends it.
struct BrokenPosition {
    const char* label;
    const char* breakIt;
    qint64 expectedShares;
    friend void PrintTo(const BrokenPosition& c, std::ostream* os) { *os << c.label; }
};

class Rederive : public OpenPositionTest, public ::testing::WithParamInterface<BrokenPosition> {
protected:
    void SetUp() override
    {
        OpenPositionTest::SetUp();
        recorded(pricedBuy(u"甲股份"_s, u"000001"_s, u"500"_s, u"8.00"_s));
        recorded(pricedBuy(u"甲股份"_s, u"000001"_s, u"300"_s, u"9.00"_s));
        recorded(sell(u"甲股份"_s, u"000001"_s, u"200"_s));
        recorded(pricedBuy(u"乙股份"_s, u"000002"_s, u"100"_s, u"5.00"_s));
    }
};

TEST_P(Rederive, LeavesOneRowOfBoughtMinusSold)
{
    const QStringList pricing = openRowPricing(u"甲股份"_s);
    const QStringList other = dumpLedger(db).filter(u"乙股份"_s);
    db.exec(GetParam().breakIt);

    ledger.rederiveOpenPositions({u"甲股份"_s, u"甲股份"_s, u"没有的股票"_s});

    EXPECT_TRUE(invariantHolds(db));
    EXPECT_EQ(openShares(u"甲股份"_s), GetParam().expectedShares);
    if (GetParam().expectedShares > 0) {
        EXPECT_EQ(openRowPricing(u"甲股份"_s), pricing);
    }
    EXPECT_EQ(dumpLedger(db).filter(u"乙股份"_s), other);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Rederive,
    ::testing::Values(
        BrokenPosition{"already_right", "SELECT 1", 600},
        BrokenPosition{"too_many_shares",
                       "UPDATE gpjl SET 数量=900 WHERE 虚拟卖出='真' AND 股票名='甲股份'", 600},
        // Made again from the first buy, as recording it made it.
        BrokenPosition{"row_missing", "DELETE FROM gpjl WHERE 虚拟卖出='真' AND 股票名='甲股份'",
                       600},
        BrokenPosition{"second_row",
                       "INSERT INTO gpjl (股票名,交易状态,数量,虚拟卖出) "
                       "VALUES ('甲股份','卖出',50,'真')",
                       600},
        BrokenPosition{"nothing_held",
                       "INSERT INTO gpjl (股票名,交易状态,数量,虚拟卖出) "
                       "VALUES ('甲股份','卖出',600,'假')",
                       0}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(OpenPositionTest, MadeRowCarriesTheMonitorMarkOfTheStock)
{
    recorded(pricedBuy(u"甲股份"_s, u"000001"_s, u"500"_s, u"8.00"_s));
    db.exec("UPDATE gpjl SET 监控状态='是'");
    db.exec("DELETE FROM gpjl WHERE 虚拟卖出='真'");
    ledger.rederiveOpenPositions({u"甲股份"_s});
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 监控状态<>'是'"), 0);
}

TEST_F(OpenPositionTest, RunsInsideTheCallersTransaction)
{
    recorded(pricedBuy(u"甲股份"_s, u"000001"_s, u"500"_s, u"8.00"_s));
    db.exec("UPDATE gpjl SET 数量=1 WHERE 虚拟卖出='真'");
    const QStringList before = dumpLedger(db);
    {
        sql::Transaction caller(db);
        ledger.rederiveOpenPositions({u"甲股份"_s});
        EXPECT_EQ(openShares(u"甲股份"_s), 500);
        EXPECT_TRUE(db.inTransaction());
    }
    EXPECT_EQ(dumpLedger(db), before);
}

} // namespace
} // namespace corvanta::ledger::testing
