#include "ledger/StockTable.h"
#include "LedgerTestSupport.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

using corvanta::ledger::SeedStock;
using corvanta::ledger::StockRow;
using corvanta::ledger::StockTable;
namespace sql = corvanta::sql;

namespace {

QList<SeedStock> tinySeed()
{
    return {
        {u"000000"_s, u"无名股票"_s, u"WMGP"_s}, {u"600000"_s, u"浦发银行"_s, u"PFYX"_s},
        {u"600036"_s, u"招商银行"_s, u"ZSYX"_s}, {u"000709"_s, u"唐钢股份"_s, u"TGGF"_s},
        {u"000001"_s, u"深发展Ａ"_s, u"SFZ*"_s}, {u"600%01"_s, u"百分\"号'股"_s, u"B%_G"_s},
        {u"600901"_s, u"另一只"_s, u"BX_G"_s},   {u"580001"_s, u"权证一"_s, u"QZ1 "_s},
    };
}

class StockTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        corvanta::ledger::ensureSchema(db, tinySeed());
        // Settings rows share the table; a few that look like codes or pinyin.
        db.exec("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES ('zfsd','5','5'),"
                "('proxsd','10.0.0.1','PFYX'),('ztsd','0','0')");
    }

    QStringList codes(const QList<StockRow>& rows) const
    {
        QStringList out;
        for (const StockRow& row : rows)
            out << row.code;
        return out;
    }

    sql::Database db = sql::Database::openInMemory();
    StockTable table{db};
};

struct LookupCase {
    const char* label;
    QString text;
    int limit;
    QStringList expected;
    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.label; }
};

class StockLookupTest : public StockTableTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(StockLookupTest, MatchesPrefixLiterallyInIdOrder)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(codes(table.lookup(c.text, c.limit)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StockLookupTest,
    ::testing::Values(
        LookupCase{
            "code_prefix", u"600"_s, 0, {u"600000"_s, u"600036"_s, u"600%01"_s, u"600901"_s}},
        LookupCase{"code_limit", u"600"_s, 2, {u"600000"_s, u"600036"_s}},
        LookupCase{"code_full", u"000709"_s, 0, {u"000709"_s}},
        LookupCase{"code_none", u"999"_s, 0, {}},
        LookupCase{"percent_is_literal", u"600%"_s, 0, {u"600%01"_s}},
        LookupCase{"underscore_is_literal", u"60_"_s, 0, {}},
        LookupCase{"pinyin_lower_case", u"zsyx"_s, 0, {u"600036"_s}},
        LookupCase{"pinyin_star", u"sfz*"_s, 0, {u"000001"_s}},
        LookupCase{"pinyin_percent_literal", u"b%"_s, 0, {u"600%01"_s}},
        LookupCase{"pinyin_underscore_literal", u"b_"_s, 0, {}},
        LookupCase{"pinyin_underscore_exact", u"bx_"_s, 0, {u"600901"_s}},
        LookupCase{"pinyin_trailing_blank", u"qz1 "_s, 0, {u"580001"_s}},
        LookupCase{"settings_never_by_pinyin", u"PFY"_s, 0, {u"600000"_s}},
        LookupCase{"settings_never_by_empty", u""_s, 3, {u"000000"_s, u"600000"_s, u"600036"_s}}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(StockTableTest, EmptyTextListsEveryStockButNoSetting)
{
    EXPECT_EQ(table.lookup(QString()).size(), tinySeed().size());
}

TEST_F(StockTableTest, FindByCodeIsExact)
{
    const auto found = table.findByCode(u"600%01"_s);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, u"百分\"号'股"_s);
    EXPECT_EQ(found->pinyin, u"B%_G"_s);
    EXPECT_FALSE(table.findByCode(u"600%"_s));
    EXPECT_FALSE(table.findByCode(u"zfsd"_s));
}

TEST_F(StockTableTest, AddedStockIsFoundWithItsQuotesIntact)
{
    table.addStock(u"300001"_s, u"O'Neil \"A\" 100%"_s, u"ON\"A\"1"_s);
    const auto rows = table.lookup(u"300"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].name, u"O'Neil \"A\" 100%"_s);
    EXPECT_EQ(rows[0].pinyin, u"ON\"A\"1"_s);
    EXPECT_EQ(codes(table.lookup(u"on\"a"_s)), QStringList{u"300001"_s});
}

TEST_F(StockTableTest, SettingsKeysAreNeverWrittenAsStocks)
{
    EXPECT_THROW(table.addStock(u"zfsd"_s, u"x"_s, u"X"_s), std::invalid_argument);
    EXPECT_THROW(table.renameStock(u"proxsd"_s, u"x"_s, u"X"_s), std::invalid_argument);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpmc='x'"), 0);
}

TEST_F(StockTableTest, RenameChangesStockAndEveryLedgerRowOfTheCode)
{
    table.renameStock(u"000709"_s, u"河钢'股份"_s, u"HGGF"_s);
    EXPECT_EQ(table.findByCode(u"000709"_s)->name, u"河钢'股份"_s);
    EXPECT_EQ(table.findByCode(u"000709"_s)->pinyin, u"HGGF"_s);
    // Both seeded ledger rows, the open-position row included.
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 股票名='河钢''股份'"), 2);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份'"), 0);
}

TEST_F(StockTableTest, RenameOntoAHeldNameKeepsOneOpenPosition)
{
    // 000709 holds 1200 shares (the sample trade); 600000 buys 300 under its name.
    db.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,虚拟卖出) VALUES "
            "('2021-01-04','600000','浦发银行','买入',300,'假'),"
            "('2021-01-04','600000','浦发银行','卖出',300,'真')");

    table.renameStock(u"600000"_s, u"唐钢股份"_s, u"TGGF"_s);

    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 股票名='唐钢股份' AND 虚拟卖出='真'"),
              1);
    EXPECT_EQ(db.scalarInt("SELECT 数量 FROM gpjl WHERE 股票名='唐钢股份' AND 虚拟卖出='真'"),
              1500);
}

TEST_F(StockTableTest, RenameIsWholeOrNothing)
{
    db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON gpjl BEGIN "
            "SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(table.renameStock(u"000709"_s, u"新名"_s, u"XM"_s), sql::Error);
    EXPECT_EQ(table.findByCode(u"000709"_s)->name, u"唐钢股份"_s);
    EXPECT_FALSE(db.inTransaction());
}

} // namespace
