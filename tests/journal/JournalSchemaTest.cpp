#include "JournalTestSupport.h"

#include "ledger/LedgerFile.h"

#include <QTemporaryDir>

using namespace corvanta;
using namespace corvanta::journal;
using namespace corvanta::journal::testing;

namespace {

QStringList tableSql(sql::Database& db)
{
    auto query = db.prepare("SELECT name||':'||sql FROM sqlite_master ORDER BY name");
    QStringList rows;
    while (query.step())
        rows << query.text(0);
    return rows;
}

TEST(JournalSchema, UpgradeKeepsAnExistingFilesNotesAndRunsOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = ledger::ledgerPath(dir.path());
    {
        sql::Database db = ledger::openLedger(path, {});
        db.exec("INSERT INTO dxgp (日期,股票代码,股票名,评级,基本资料) "
                "VALUES ('2026-01-05','600000','浦发银行','五星级','旧的日志')");
    }
    {
        sql::Database db = ledger::openLedger(path, {});
        upgradeJournalSchema(db);
        const QStringList once = tableSql(db);
        upgradeJournalSchema(db);
        EXPECT_EQ(tableSql(db), once);
        EXPECT_FALSE(db.inTransaction());
    }
    // The file still opens with its key, the old listing still reads the note, and
    // the reminder table is there, empty.
    sql::Database db = ledger::openLedger(path, {});
    auto old = db.prepare("select id,日期,股票代码,股票名,时价,今开,昨收,主买,主卖,评级,基本资料 "
                          "from dxgp order by 日期,股票名");
    ASSERT_TRUE(old.step());
    EXPECT_EQ(old.text(10), QStringLiteral("旧的日志"));
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM dxgp_reminder"), 0);

    Journal journal(db);
    ledger::LedgerNotifier notifier;
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 24);
    EXPECT_TRUE(journal.setReminder(old.int64(0), settings, notifier));
    EXPECT_EQ(journal.reminders().size(), 1);
}

} // namespace
