#include "LedgerTestSupport.h"

#include "ledger/LedgerWriter.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::ledger::testing {
namespace {

// What a subscriber saw when it was told of a change.
struct Heard {
    LedgerChanges what;
    bool inTransaction = false;
    QStringList ledger; // gpjl as the subscriber could read it
};

class LedgerWriterTest : public LedgerTest {
public:
    void SetUp() override
    {
        LedgerTest::SetUp();
        sampleBuy = db.scalarInt("SELECT ID FROM gpjl WHERE 股票名='唐钢股份' AND 虚拟卖出='假'");
        partlySoldBuy = recorded(buy(u"甲股份"_s, u"000001"_s, u"500"_s));
        sellId = recorded(sell(u"甲股份"_s, u"000001"_s, u"200"_s));
        QObject::connect(&notifier, &LedgerNotifier::changed, [this](LedgerChanges what) {
            heard.append({what, db.inTransaction(), dumpLedger(db)});
        });
    }

    LedgerNotifier notifier;
    LedgerWriter writer{db, notifier};
    QList<Heard> heard;
    qint64 sampleBuy = 0; // the only trade of 唐钢股份, a monitored stock
    qint64 partlySoldBuy = 0;
    qint64 sellId = 0;
};

// A committed change is heard once, after the commit, with the change visible.
struct ChangeCase {
    const char* label;
    std::function<void(LedgerWriterTest&, LedgerWriter&)> change;
    LedgerChanges expected;
    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.label; }
};

class CommittedChangeTest : public LedgerWriterTest,
                            public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(CommittedChangeTest, IsAnnouncedOnceAfterCommit)
{
    GetParam().change(*this, writer);
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard[0].what, GetParam().expected);
    EXPECT_FALSE(heard[0].inTransaction);
    EXPECT_EQ(heard[0].ledger, dumpLedger(db));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, CommittedChangeTest,
    ::testing::Values(
        ChangeCase{"recording",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       ASSERT_TRUE(w.record(buy(u"乙股份"_s, u"000002"_s, u"100"_s)).recorded());
                   },
                   LedgerChange::Trades},
        ChangeCase{"deletion",
                   [](LedgerWriterTest& fixture, LedgerWriter& w) {
                       ASSERT_EQ(w.deleteTrade(fixture.sellId).status,
                                 DeleteOutcome::Status::Deleted);
                   },
                   LedgerChange::Trades},
        ChangeCase{"deleting_a_monitored_stocks_last_trade",
                   [](LedgerWriterTest& fixture, LedgerWriter& w) {
                       ASSERT_EQ(w.deleteTrade(fixture.sampleBuy).status,
                                 DeleteOutcome::Status::Deleted);
                   },
                   LedgerChange::Trades | LedgerChange::MonitorList},
        ChangeCase{"clearing", [](LedgerWriterTest&, LedgerWriter& w) { w.clearLedger(); },
                   LedgerChange::Trades | LedgerChange::MonitorList},
        ChangeCase{"adding_a_stock",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       w.addStock(u"600001"_s, u"邯郸钢铁"_s, u"HDGT"_s);
                   },
                   LedgerChange::Stocks},
        ChangeCase{"renaming_a_monitored_stock",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       w.renameStock(u"000709"_s, u"河钢股份"_s, u"HGGF"_s);
                   },
                   LedgerChange::Stocks | LedgerChange::Trades | LedgerChange::MonitorList},
        ChangeCase{"renaming_a_stock_not_monitored",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       w.renameStock(u"000001"_s, u"甲银行"_s, u"JYH"_s);
                   },
                   LedgerChange::Stocks | LedgerChange::Trades},
        ChangeCase{"saving_the_settings",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       SettingsToSave settings;
                       settings.otherFee = u"7"_s;
                       w.saveSettings(settings, defaultFeeRates());
                   },
                   LedgerChange::Settings},
        ChangeCase{"saving_the_fee_rule",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       FeeRuleSetting rule;
                       rule.commissionMinimum = 1;
                       w.saveFeeRule(rule);
                   },
                   LedgerChange::Settings},
        ChangeCase{
            "saving_the_quote_server",
            [](LedgerWriterTest&, LedgerWriter& w) { w.saveQuoteServer(u"http://127.0.0.1:1/"_s); },
            LedgerChange::Settings},
        ChangeCase{"saving_the_quote_source",
                   [](LedgerWriterTest&, LedgerWriter& w) {
                       w.saveQuoteSourceRow(QuoteSourceRow::Choice, u"腾讯"_s);
                   },
                   LedgerChange::Settings}));

TEST_F(LedgerWriterTest, RefusedChangesAreNotAnnounced)
{
    EXPECT_FALSE(writer.record(sell(u"甲股份"_s, u"000001"_s, u"900"_s)).recorded());
    // The buy's shares were partly sold: deleting it is refused.
    EXPECT_EQ(writer.deleteTrade(partlySoldBuy).status, DeleteOutcome::Status::Refused);
    EXPECT_EQ(writer.deleteTrade(999999).status, DeleteOutcome::Status::NotFound);
    EXPECT_TRUE(heard.isEmpty());
}

// A change that fails midway is rolled back and never announced.
struct FailureCase {
    const char* label;
    const char* trigger;
    std::function<void(LedgerWriterTest&)> change;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }
};

class RolledBackChangeTest : public LedgerWriterTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RolledBackChangeTest, IsNotAnnounced)
{
    const QStringList before = dumpLedger(db);
    db.exec(GetParam().trigger);
    EXPECT_THROW(GetParam().change(*this), sql::Error);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(dumpLedger(db), before);
    EXPECT_TRUE(heard.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RolledBackChangeTest,
    ::testing::Values(FailureCase{"recording",
                                  "CREATE TRIGGER fail BEFORE UPDATE OF 数量 ON gpjl "
                                  "BEGIN SELECT RAISE(ABORT,'no'); END",
                                  [](LedgerWriterTest& fixture) {
                                      fixture.writer.record(
                                          buy(u"甲股份"_s, u"000001"_s, u"100"_s));
                                  }},
                      FailureCase{"deletion",
                                  "CREATE TRIGGER fail BEFORE UPDATE OF 数量 ON gpjl "
                                  "BEGIN SELECT RAISE(ABORT,'no'); END",
                                  [](LedgerWriterTest& fixture) {
                                      // Deleting the sell grows the open position again.
                                      fixture.writer.deleteTrade(fixture.sellId);
                                  }},
                      FailureCase{"clearing",
                                  "CREATE TRIGGER fail BEFORE DELETE ON gpjl "
                                  "BEGIN SELECT RAISE(ABORT,'no'); END",
                                  [](LedgerWriterTest& fixture) {
                                      fixture.writer.clearLedger();
                                  }},
                      FailureCase{"renaming_a_stock",
                                  "CREATE TRIGGER fail BEFORE UPDATE OF 股票名 ON gpjl "
                                  "BEGIN SELECT RAISE(ABORT,'no'); END",
                                  [](LedgerWriterTest& fixture) {
                                      fixture.writer.renameStock(u"000709"_s, u"河钢股份"_s,
                                                                 u"HGGF"_s);
                                  }}));

} // namespace
} // namespace corvanta::ledger::testing
