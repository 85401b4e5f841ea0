#include "ledger/FeeRuleSetting.h"
#include "ledger/Schema.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

class FeeRuleSettingTest : public testing::Test {
protected:
    FeeRuleSettingTest() { ensureSchema(db, {{u"000001"_s, u"平安银行"_s, u"PAYX"_s}}); }

    sql::Database db = sql::Database::openInMemory();
};

TEST_F(FeeRuleSettingTest, ALedgerWithoutTheRowsPricesWithTheRatesSet)
{
    EXPECT_EQ(loadFeeRuleSetting(db), FeeRuleSetting{});
    EXPECT_EQ(FeeRuleSetting{}.choice, FeeRuleChoice::SavedRates);
    EXPECT_EQ(FeeRuleSetting{}.commissionMinimum, 5);
}

TEST_F(FeeRuleSettingTest, SavedTwiceStaysOneRowEachAndRoundTrips)
{
    saveFeeRuleSetting(db, {FeeRuleChoice::ByTradeDate, 0});
    saveFeeRuleSetting(db, {FeeRuleChoice::ByTradeDate, 2.5});
    EXPECT_EQ(loadFeeRuleSetting(db), (FeeRuleSetting{FeeRuleChoice::ByTradeDate, 2.5}));
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpid IN ('fygz','yjzd')"), 2);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_FALSE(StockTable(db).findByCode(u"fygz"_s));
}

struct StoredCase {
    const char* name;
    const char* choice;
    const char* minimum;
    FeeRuleSetting loaded;
};

class StoredTexts : public testing::TestWithParam<StoredCase> {};

TEST_P(StoredTexts, AreReadOrFallBackToTheDefault)
{
    sql::Database db = sql::Database::openInMemory();
    ensureSchema(db, {});
    auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc) VALUES ('fygz', ?1), ('yjzd', ?2)");
    insert.bind(1, QString::fromUtf8(GetParam().choice))
        .bind(2, QString::fromUtf8(GetParam().minimum));
    insert.run();
    EXPECT_EQ(loadFeeRuleSetting(db), GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredTexts,
    testing::Values(
        StoredCase{"byDate", "按交易日期的法定规则", "0", {FeeRuleChoice::ByTradeDate, 0}},
        StoredCase{"ratesSet", "按设置的费率", "3", {FeeRuleChoice::SavedRates, 3}},
        StoredCase{"unknownChoice", "法定", "1", {FeeRuleChoice::SavedRates, 1}},
        StoredCase{"minimumNoNumber", "按交易日期的法定规则", "x", {FeeRuleChoice::ByTradeDate, 5}},
        StoredCase{
            "minimumAboveFive", "按交易日期的法定规则", "8", {FeeRuleChoice::ByTradeDate, 5}},
        StoredCase{
            "minimumNegative", "按交易日期的法定规则", "-1", {FeeRuleChoice::ByTradeDate, 0}}),
    [](const testing::TestParamInfo<StoredCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace corvanta::ledger
