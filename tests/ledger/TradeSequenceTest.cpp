#include "LedgerTestSupport.h"
#include "ledger/LedgerMessages.h"
#include "ledger/StockTable.h"

#include <random>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

struct Stock {
    QString name;
    QString code;
};

// Two stocks share the name 同名; one name holds quotes and a wildcard.
const Stock stocks[] = {{u"甲股份"_s, u"000001"_s},
                        {u"乙股份"_s, u"600001"_s},
                        {u"同名"_s, u"000002"_s},
                        {u"同名"_s, u"600002"_s},
                        {u"O'Neil \"A\" 100%"_s, u"580003"_s}};

// Random buys, sells, deletions and rename round trips, some of which must be
// refused. After every step the invariant holds, refusals happen exactly when
// they should, and a refusal changes nothing.
class TradeSequenceTest : public LedgerTest, public ::testing::WithParamInterface<unsigned> {
protected:
    qint64 held(const QString& name)
    {
        auto query = db.prepare("SELECT ifnull(sum(CASE WHEN 交易状态='买入' THEN 数量 END),0) - "
                                "ifnull(sum(CASE WHEN 交易状态='卖出' AND 虚拟卖出='假' THEN 数量 "
                                "END),0) FROM gpjl WHERE 股票名=?1");
        query.bind(1, name);
        query.step();
        return query.int64(0);
    }
    bool hasSells(const QString& name)
    {
        auto query = db.prepare("SELECT 1 FROM gpjl WHERE 交易状态='卖出' AND 虚拟卖出='假' "
                                "AND 股票名=?1");
        query.bind(1, name);
        return query.step();
    }
    qint64 realTrades() { return count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"); }

    StockTable table{db};

    void buyOrSell(const Stock& stock, bool isBuy, std::mt19937& random)
    {
        const bool lots = random() % 2 == 0;
        const qint64 shares = isBuy ? 100 * qint64(1 + random() % 10)
                                    : 100 * qint64(random() % (held(stock.name) / 100 + 3));
        const qint64 units = lots ? shares / 100 : shares;
        const TradeEntry entry = trade(isBuy ? Direction::Buy : Direction::Sell, stock.name,
                                       stock.code, QString::number(units), lots ? 100 : 1);
        const bool refuse = shares < 1 || (!isBuy && shares > held(stock.name));
        const QStringList before = dumpLedger(db);
        const qint64 trades = realTrades();

        const RecordOutcome outcome = ledger.record(entry);
        ASSERT_EQ(outcome.recorded(), !refuse) << outcome.refusal.toStdString();
        if (refuse) {
            EXPECT_EQ(dumpLedger(db), before);
        } else {
            EXPECT_EQ(realTrades(), trades + 1);
        }
    }

    // Renames a stock's code onto another name, which may hold shares, and back:
    // each name's trades, and so its open position, are what they were before.
    // Taking a code's rows away from a name whose sales drew on another code's
    // shares (the two codes of 同名) would leave it selling more than it bought:
    // that rename is refused and changes nothing. The way back never is, as no
    // name sold more than it bought before the round trip.
    void renameRoundTrip(const Stock& stock, std::mt19937& random)
    {
        const Stock& other = stocks[random() % std::size(stocks)];
        const qint64 ownHeld = held(stock.name);
        const qint64 otherHeld = held(other.name);
        const qint64 trades = realTrades();

        const QStringList before = dumpLedger(db);
        try {
            table.renameStock(stock.code, other.name, u"X"_s);
        } catch (const RenameRefused& refusal) {
            EXPECT_TRUE(refusal.message().contains(u"将大于买入总数"_s));
            EXPECT_EQ(dumpLedger(db), before);
            return;
        }
        ASSERT_TRUE(invariantHolds(db)) << "renamed onto " << other.name.toStdString();
        table.renameStock(stock.code, stock.name, u"X"_s);

        EXPECT_EQ(held(stock.name), ownHeld);
        EXPECT_EQ(held(other.name), otherHeld);
        EXPECT_EQ(realTrades(), trades);
    }

    void deleteOne(std::mt19937& random)
    {
        auto query = db.prepare("SELECT ID,股票名,交易状态,数量 FROM gpjl WHERE 虚拟卖出='假' "
                                "ORDER BY ID LIMIT 1 OFFSET ?1");
        const qint64 trades = realTrades();
        if (trades == 0)
            return;
        query.bind(1, qint64(random() % trades));
        ASSERT_TRUE(query.step());
        const qint64 id = query.int64(0);
        const QString name = query.text(1);
        const bool isBuy = query.text(2) == u"买入"_s;
        const qint64 shares = query.int64(3);
        const bool refuse = isBuy && hasSells(name) && held(name) < shares;
        const QStringList before = dumpLedger(db);

        const DeleteOutcome outcome = ledger.deleteTrade(id);
        ASSERT_EQ(outcome.status,
                  refuse ? DeleteOutcome::Status::Refused : DeleteOutcome::Status::Deleted);
        if (refuse)
            EXPECT_EQ(dumpLedger(db), before);
        else
            EXPECT_EQ(realTrades(), trades - 1);
    }
};

TEST_P(TradeSequenceTest, InvariantHoldsAfterEveryStep)
{
    std::mt19937 random(GetParam());
    db.exec("DELETE FROM gpjl");
    for (int step = 0; step < 400; ++step) {
        const Stock& stock = stocks[random() % std::size(stocks)];
        const unsigned kind = random() % 11;
        if (kind < 4)
            buyOrSell(stock, true, random);
        else if (kind < 7)
            buyOrSell(stock, false, random);
        else if (kind < 10)
            deleteOne(random);
        else
            renameRoundTrip(stock, random);
        ASSERT_FALSE(HasFailure()) << "at step " << step;
        ASSERT_TRUE(invariantHolds(db)) << "after step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TradeSequenceTest, ::testing::Values(1u, 2u, 3u, 20080314u));

} // namespace
} // namespace corvanta::ledger::testing
