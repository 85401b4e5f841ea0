#include "ledger/QuoteSourceSetting.h"
#include "ledger/Schema.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

class QuoteSourceSettingTest : public testing::Test {
protected:
    QuoteSourceSettingTest() { ensureSchema(db, {{u"000001"_s, u"平安银行"_s, u"PAYX"_s}}); }

    sql::Database db = sql::Database::openInMemory();
};

TEST_F(QuoteSourceSettingTest, EachRowHasItsOwnKeyAndStaysOneRow)
{
    EXPECT_FALSE(loadQuoteSourceRow(db, QuoteSourceRow::Choice));
    saveQuoteSourceRow(db, QuoteSourceRow::Choice, u"金融界"_s);
    saveQuoteSourceRow(db, QuoteSourceRow::Choice, u"腾讯"_s);
    saveQuoteSourceRow(db, QuoteSourceRow::SinaHost, u"https://hq.example"_s);
    EXPECT_EQ(loadQuoteSourceRow(db, QuoteSourceRow::Choice).value_or(QString()), u"腾讯"_s);
    EXPECT_EQ(loadQuoteSourceRow(db, QuoteSourceRow::SinaHost).value_or(QString()),
              u"https://hq.example"_s);
    EXPECT_FALSE(loadQuoteSourceRow(db, QuoteSourceRow::TencentHost));
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpid IN ('hqly','xlzj','txzj')"), 2);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(QuoteSourceSettingTest, RowsAreNoStocks)
{
    saveQuoteSourceRow(db, QuoteSourceRow::Choice, u"新浪"_s);
    saveQuoteSourceRow(db, QuoteSourceRow::TencentHost, u"http://qt.example"_s);
    const StockTable stocks(db);
    EXPECT_FALSE(stocks.findByCode(u"hqly"_s));
    EXPECT_FALSE(stocks.findByCode(u"txzj"_s));
}

} // namespace
} // namespace corvanta::ledger
