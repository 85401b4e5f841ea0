#include "LedgerTestSupport.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

// A trigger that fails one step of an operation after earlier steps have written.
struct FailureCase {
    const char* label;
    const char* trigger;
    std::function<void(TradeLedger&)> operation;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }
};

class TradeAtomicityTest : public LedgerTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        // 甲股份: bought 800 (rows 3, 5), sold 300 (row 6), open 500 (row 4).
        // 乙股份: bought 100 (row 7), sold 100 (row 9): closed.
        recorded(buy(u"甲股份"_s, u"000001"_s, u"500"_s));
        recorded(buy(u"甲股份"_s, u"000001"_s, u"300"_s));
        recorded(sell(u"甲股份"_s, u"000001"_s, u"300"_s));
        recorded(buy(u"乙股份"_s, u"000002"_s, u"100"_s));
        recorded(sell(u"乙股份"_s, u"000002"_s, u"100"_s));
    }
};

TEST_P(TradeAtomicityTest, FailureMidwayLeavesTheLedgerAsItWas)
{
    const QStringList before = dumpLedger(db);
    db.exec(GetParam().trigger);
    EXPECT_THROW(GetParam().operation(ledger), sql::Error);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(dumpLedger(db), before);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TradeAtomicityTest,
    ::testing::Values(
        FailureCase{"buy_opening_position",
                    "CREATE TRIGGER fail BEFORE INSERT ON gpjl WHEN NEW.虚拟卖出='真' "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.record(buy(u"丙股份"_s, u"000003"_s, u"100"_s));
                    }},
        FailureCase{"buy_growing_position",
                    "CREATE TRIGGER fail BEFORE UPDATE OF 数量 ON gpjl "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.record(buy(u"甲股份"_s, u"000001"_s, u"100"_s));
                    }},
        FailureCase{"buy_spreading_monitor_mark",
                    "CREATE TRIGGER fail BEFORE UPDATE OF 监控状态 ON gpjl "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.record(buy(u"唐钢股份"_s, u"000709"_s, u"100"_s));
                    }},
        FailureCase{"sell_closing_position",
                    "CREATE TRIGGER fail BEFORE DELETE ON gpjl WHEN OLD.虚拟卖出='真' "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.record(sell(u"甲股份"_s, u"000001"_s, u"500"_s));
                    }},
        FailureCase{"delete_buy_shrinking_position",
                    "CREATE TRIGGER fail BEFORE UPDATE OF 数量 ON gpjl "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.deleteTrade(5);
                    }},
        FailureCase{"delete_sell_reopening_position",
                    "CREATE TRIGGER fail BEFORE INSERT ON gpjl "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.deleteTrade(9);
                    }},
        FailureCase{"delete_buy_closing_position",
                    "CREATE TRIGGER fail BEFORE DELETE ON gpjl WHEN OLD.虚拟卖出='真' "
                    "BEGIN SELECT RAISE(ABORT,'no'); END",
                    [](TradeLedger& l) {
                        l.deleteTrade(3);
                    }},
        FailureCase{"clear_scratch_table",
                    "CREATE TABLE tmpdb2 (x); CREATE TRIGGER fail BEFORE DELETE ON tmpdb2 "
                    "BEGIN SELECT RAISE(ABORT,'no'); END; INSERT INTO tmpdb2 VALUES (1)",
                    [](TradeLedger& l) {
                        l.clearLedger();
                    }}),
    [](const auto& param) { return std::string(param.param.label); });

} // namespace
} // namespace corvanta::ledger::testing
