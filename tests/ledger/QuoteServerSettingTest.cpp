#include "ledger/QuoteServerSetting.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

class QuoteServerSettingTest : public testing::Test {
protected:
    QuoteServerSettingTest() { ensureSchema(db, {{u"000001"_s, u"平安银行"_s, u"PAYX"_s}}); }

    qint64 rows()
    {
        auto query = db.prepare("SELECT count(*) FROM gpmc WHERE gpid = 'hqdz'");
        return query.step() ? query.int64(0) : -1;
    }

    sql::Database db = sql::Database::openInMemory();
};

TEST_F(QuoteServerSettingTest, NoRowUntilSavedThenOneRowUpdated)
{
    EXPECT_FALSE(loadQuoteServer(db));
    saveQuoteServer(db, u"http://10.0.0.5:8080"_s);
    saveQuoteServer(db, u"http://10.0.0.6"_s);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(loadQuoteServer(db).value_or(QString()), u"http://10.0.0.6"_s);
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(QuoteServerSettingTest, AddressIsStoredAsItIs)
{
    // Quotes and SQL text in the value are data, never statement text.
    const QString odd = u"http://x'; DROP TABLE gpmc; --"_s;
    saveQuoteServer(db, odd);
    EXPECT_EQ(loadQuoteServer(db).value_or(QString()), odd);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpid = '000001'"), 1);
}

} // namespace
} // namespace corvanta::ledger
