#include "LedgerTestSupport.h"
#include "ledger/EventLedger.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerRestore.h"
#include "ledger/RestoreRun.h"
#include "ledger/SafetyCopies.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

using testing::tinySeedList;

class BackupRestoreTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }

    sql::Database ledgerAt(const QString& name) { return openLedger(path(name), tinySeedList()); }

    static void addTrade(sql::Database& db, const QString& date, const QString& code,
                         const QString& name)
    {
        auto insert = db.prepare("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,备注) "
                                 "VALUES (?1,?2,?3,'买入',100,12.5,'memo')");
        insert.bind(1, date).bind(2, code).bind(3, name).run();
    }

    static QStringList rows(sql::Database& db, const char* sql)
    {
        QStringList out;
        auto query = db.prepare(sql);
        while (query.step()) {
            QStringList row;
            for (int column = 0; column < query.columnCount(); ++column)
                row << (query.isNull(column) ? u"<null>"_s : query.text(column));
            out << row.join(u'|');
        }
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(BackupRestoreTest, RoundTripReplacesTradesAndStocksInTheirOrderAndKeepsTheJournal)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    source.exec("DELETE FROM gpjl");
    addTrade(source, u"2008-03-20"_s, u"600000"_s, u"浦发银行"_s);
    addTrade(source, u"2008-03-14"_s, u"000709"_s, u"唐钢'股份"_s);
    source.exec("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES ('000001','平安银行',NULL)");
    backupLedger(source, path(u"copy.mdb"_s));

    sql::Database target = ledgerAt(u"target.mdb"_s);
    target.exec(
        "INSERT INTO dxgp (日期,股票代码,股票名) VALUES ('2008-01-01','600000','浦发银行')");
    addTrade(target, u"2009-01-01"_s, u"000000"_s, u"无名股票"_s);

    LedgerRestore restore(target, path(u"copy.mdb"_s));
    EXPECT_EQ(restore.tradeCount(), 2);
    EXPECT_EQ(restore.stockCount(), 4);
    restore.copyNext(1);
    EXPECT_EQ(restore.progress().status, u"股票交易记录导入中 1"_s);
    EXPECT_EQ(restore.progress().maximum, 2);
    restore.copyNext(3);
    EXPECT_EQ(restore.progress().status, u"股票代码导入中 2"_s);
    restore.finish();
    EXPECT_EQ(restore.progress().status, u"数据导入成功"_s);

    // Oldest date first, new ids, no memo; values keep their types.
    EXPECT_EQ(
        rows(target, "SELECT 日期,股票名,typeof(数量),typeof(价格),备注 FROM gpjl ORDER BY id"),
        (QStringList{u"2008-03-14|唐钢'股份|integer|real|<null>"_s,
                     u"2008-03-20|浦发银行|integer|real|<null>"_s}));
    EXPECT_EQ(
        rows(target, "SELECT gpid,gppy FROM gpmc ORDER BY id"),
        (QStringList{u"000000|WMGP"_s, u"000001|<null>"_s, u"000709|TGGF"_s, u"600000|PFYX"_s}));
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM dxgp"), 1);
}

// A ledger's 分红送配 come back with its trades, whose open positions hold the new
// shares; a backup without them leaves the restored ledger without events.
TEST_F(BackupRestoreTest, EventsAreRestoredWithTheTrades)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    source.exec("DELETE FROM gpjl");
    TradeEntry bought = testing::buy(u"浦发银行"_s, u"600000"_s, u"1000"_s);
    bought.date = QDate(2024, 3, 1);
    ASSERT_TRUE(TradeLedger(source).record(bought).recorded());
    backupLedger(source, path(u"before.mdb"_s));
    EventEntry event;
    event.code = u"600000"_s;
    event.name = u"浦发银行"_s;
    event.record = QDate(2024, 6, 20);
    event.ex = QDate(2024, 6, 21);
    event.cash = u"3"_s;
    event.bonus = u"2"_s;
    event.transfer = u"3"_s;
    ASSERT_TRUE(EventLedger(source).add(event, false).saved());
    backupLedger(source, path(u"after.mdb"_s));

    sql::Database target = ledgerAt(u"target.mdb"_s);
    LedgerRestore(target, path(u"after.mdb"_s)).finish();
    EXPECT_EQ(rows(target, "SELECT 股票名,登记日,除权日,派现,送股,转增 FROM fhsp"),
              QStringList{u"浦发银行|2024-06-20|2024-06-21|3.0|2.0|3.0"_s});
    EXPECT_EQ(sharesHeld(target, u"浦发银行"_s), 1500);
    EXPECT_TRUE(testing::invariantHolds(target));

    LedgerRestore(target, path(u"before.mdb"_s)).finish();
    EXPECT_TRUE(rows(target, "SELECT * FROM fhsp").isEmpty());
    EXPECT_EQ(sharesHeld(target, u"浦发银行"_s), 1000);
    EXPECT_TRUE(testing::invariantHolds(target));
}

TEST_F(BackupRestoreTest, BackupOfAnEmptyLedgerRestoresAnEmptyLedger)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    source.exec("DELETE FROM gpjl");
    backupLedger(source, path(u"copy.mdb"_s));
    sql::Database target = ledgerAt(u"target.mdb"_s);
    LedgerRestore restore(target, path(u"copy.mdb"_s));
    restore.finish();
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM gpjl"), 0);
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM gpmc"), 3);
    EXPECT_EQ(restore.progress().status, u"数据导入成功"_s);
}

TEST_F(BackupRestoreTest, AnUnfinishedRestoreLeavesTheLedgerAsItWas)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    source.exec("DELETE FROM gpjl");
    backupLedger(source, path(u"copy.mdb"_s));
    sql::Database target = ledgerAt(u"target.mdb"_s);
    const qint64 before = target.scalarInt("SELECT count(*) FROM gpjl");
    {
        LedgerRestore restore(target, path(u"copy.mdb"_s));
        restore.copyNext(2);
    }
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM gpjl"), before);
    EXPECT_FALSE(target.inTransaction());
}

struct BadBackup {
    const char* name;
    std::function<void(const QString&)> make;
    const char* messagePart;
};

class BadBackupTest : public BackupRestoreTest, public ::testing::WithParamInterface<BadBackup> {};

TEST_P(BadBackupTest, IsRefusedBeforeTheLedgerIsTouched)
{
    sql::Database target = ledgerAt(u"target.mdb"_s);
    const qint64 trades = target.scalarInt("SELECT count(*) FROM gpjl");
    const QStringList ledgerBefore = testing::dumpLedger(target);
    const QString bad = path(u"bad.mdb"_s);
    GetParam().make(bad);
    try {
        LedgerRestore restore(target, bad);
        FAIL() << "no refusal";
    } catch (const BackupError& error) {
        EXPECT_TRUE(error.message().contains(QString::fromUtf8(GetParam().messagePart)))
            << error.message().toStdString();
    }
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM gpjl"), trades);
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM gpmc"), 3);
    EXPECT_EQ(testing::dumpLedger(target), ledgerBefore);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator random(20090401);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// A real backup of a ledger of many pages, cut off after its first pages, as a
// copy broken off part-way would be.
void cutShortBackup(const QString& path)
{
    const QString whole = path + u".whole"_s;
    {
        auto ledger = openLedger(path + u".ledger"_s, tinySeedList());
        sql::Transaction transaction(ledger);
        auto insert = ledger.prepare("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,"
                                     "备注) VALUES ('2008-03-14','600000',?1,'买入',100,12.5,?2)");
        for (int i = 0; i < 400; ++i) {
            insert.reset();
            insert.bind(1, u"浦发银行"_s).bind(2, QString(200, u'备')).run();
        }
        transaction.commit();
        backupLedger(ledger, whole);
    }
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 16 * 4096);
    writeBytes(path, bytes.left(3 * 4096));
}

// A whole backup of a new ledger (one buy of 1200 唐钢股份 and its open-position
// row), then changed by `sql`.
std::function<void(const QString&)> changedBackup(const char* sql)
{
    return [sql](const QString& p) {
        auto db = openLedger(p, tinySeedList());
        db.exec(sql);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadBackupTest,
    ::testing::Values(
        BadBackup{"TextQuantity",
                  changedBackup("UPDATE gpjl SET 数量='很多' WHERE 交易状态='买入'"),
                  "数量 “很多” 不是数字"},
        BadBackup{"TextPrice", changedBackup("UPDATE gpjl SET 价格='十元' WHERE 虚拟卖出='假'"),
                  "价格 “十元” 不是数字"},
        BadBackup{"TextFee", changedBackup("UPDATE gpjl SET 佣金='五元' WHERE 虚拟卖出='假'"),
                  "佣金 “五元” 不是数字"},
        BadBackup{"FractionalQuantity", changedBackup("UPDATE gpjl SET 数量=1200.5"), "不是整数"},
        BadBackup{"NoQuantity",
                  changedBackup("INSERT INTO gpjl (日期,股票名,交易状态,数量,价格) VALUES "
                                "('2008-01-02','浦发银行','买入',0,10)"),
                  "小于 1"},
        BadBackup{"NoDate", changedBackup("UPDATE gpjl SET 日期='2007-02-30' WHERE 虚拟卖出='假'"),
                  "日期 “2007-02-30” 不是有效的日期"},
        BadBackup{"NoName", changedBackup("UPDATE gpjl SET 股票名=NULL WHERE 虚拟卖出='假'"),
                  "没有股票名"},
        BadBackup{"NoState", changedBackup("UPDATE gpjl SET 交易状态='' WHERE 虚拟卖出='假'"),
                  "不是买入或卖出"},
        BadBackup{"NeitherRealNorVirtual", changedBackup("UPDATE gpjl SET 虚拟卖出='也许'"),
                  "虚拟卖出 “也许”"},
        // 1,200 bought, two open-position rows holding 6,977.
        BadBackup{
            "OpenRowsContradictTrades",
            changedBackup("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,虚拟卖出) "
                          "VALUES ('2007-05-22','000709','唐钢股份','卖出',5777,14,'真')"),
            "“唐钢股份”的持仓行共 6977 股（2 行），而它的交易记录买入 1200 股、卖出 0 股"},
        BadBackup{"OpenRowWithoutBuy", changedBackup("DELETE FROM gpjl WHERE 交易状态='买入'"),
                  "两者不符"},
        BadBackup{"SoldOutButStillOpen",
                  changedBackup("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格) VALUES "
                                "('2007-06-01','000709','唐钢股份','卖出',1200,20)"),
                  "两者不符"}),
    [](const auto& row) { return std::string(row.param.name); });

// Ledgers the program writes itself restore: a statement whose sale comes before
// its buy (the sale closes nothing, the buy opens 300), and a transfer booked
// as a sale.
TEST_F(BackupRestoreTest, OpenPositionsAnImportBooksAreRestored)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    source.exec("DELETE FROM gpjl");
    source.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,虚拟卖出) VALUES "
                "('2008-01-02','600000','浦发银行','卖出',100,20,'假'),"
                "('2008-01-03','600000','浦发银行','买入',300,19,'假'),"
                "('2008-01-03','600000','浦发银行','卖出',300,19,'真'),"
                "('2008-01-02','000709','唐钢股份','买入',500,10,'假'),"
                "('2008-01-02','000709','唐钢股份','卖出',400,10,'真'),"
                "('2008-01-05','000709','唐钢股份','转托管',100,0,'假')");
    backupLedger(source, path(u"copy.mdb"_s));
    sql::Database target = ledgerAt(u"target.mdb"_s);
    LedgerRestore restore(target, path(u"copy.mdb"_s));
    restore.finish();
    EXPECT_EQ(target.scalarInt("SELECT sum(数量) FROM gpjl WHERE 虚拟卖出='真'"), 700);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadBackupTest,
    ::testing::Values(
        BadBackup{"TextFile", [](const QString& p) { writeBytes(p, QByteArray(4096, 'x')); },
                  "不是本程序的备份文件"},
        BadBackup{"RandomBytes", [](const QString& p) { writeBytes(p, randomBytes(64 * 1024)); },
                  "不是本程序的备份文件"},
        BadBackup{"EmptyFile", [](const QString& p) { writeBytes(p, {}); }, "文件是空的"},
        BadBackup{"PlainDatabase",
                  [](const QString& p) {
                      auto db = sql::Database::open(p, {}, sql::Database::Mode::ReadWriteCreate);
                      db.exec("CREATE TABLE gpjl (ID INTEGER PRIMARY KEY, 日期 TEXT)");
                  },
                  "密码不符"},
        BadBackup{"KeyedWithoutTables",
                  [](const QString& p) {
                      auto db = sql::Database::open(p, QByteArray(ledgerKey),
                                                    sql::Database::Mode::ReadWriteCreate);
                      db.exec("CREATE TABLE notes (text)");
                  },
                  "缺少列"},
        BadBackup{"CutShort", cutShortBackup, "不是本程序的备份文件"},
        BadBackup{"Missing", [](const QString&) {}, "找不到备份文件"},
        BadBackup{"AnotherKey",
                  [](const QString& p) {
                      auto db =
                          sql::Database::open(p, "another", sql::Database::Mode::ReadWriteCreate);
                      ensureSchema(db, tinySeedList());
                  },
                  "密码不符"},
        BadBackup{"NoStockTable",
                  [](const QString& p) {
                      auto db = sql::Database::open(p, QByteArray(ledgerKey),
                                                    sql::Database::Mode::ReadWriteCreate);
                      ensureSchema(db, tinySeedList());
                      db.exec("DROP TABLE gpmc");
                  },
                  "gpmc"},
        BadBackup{"ForeignColumns",
                  [](const QString& p) {
                      auto db = sql::Database::open(p, QByteArray(ledgerKey),
                                                    sql::Database::Mode::ReadWriteCreate);
                      db.exec("CREATE TABLE gpjl (x); CREATE TABLE gpmc (id,gpid,gpmc,gppy)");
                  },
                  "股票代码"}),
    [](const auto& row) { return std::string(row.param.name); });

// The backup is read whole before the ledger is touched: a source that goes away
// (a drive pulled, the file deleted or overwritten) while the rows are copied
// still gives the backup's ledger, complete.
TEST_F(BackupRestoreTest, ASourceThatVanishesMidWayStillRestoresWhole)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    for (int day = 1; day <= 40; ++day)
        addTrade(source, u"2008-04-%1"_s.arg(day % 28 + 1, 2, 10, QChar(u'0')), u"600000"_s,
                 u"浦发银行"_s);
    backupLedger(source, path(u"copy.mdb"_s));
    const QStringList wanted = rows(source, "SELECT 日期,股票名,数量 FROM gpjl ORDER BY 日期,id");

    for (const bool overwritten : {false, true}) {
        sql::Database target = ledgerAt(overwritten ? u"b.mdb"_s : u"a.mdb"_s);
        LedgerRestore restore(target, path(u"copy.mdb"_s));
        restore.copyNext(10);
        QFile::remove(path(u"copy.mdb"_s));
        if (overwritten)
            writeBytes(path(u"copy.mdb"_s), randomBytes(4096));
        restore.finish();
        EXPECT_EQ(rows(target, "SELECT 日期,股票名,数量 FROM gpjl ORDER BY id"), wanted);
        backupLedger(source, path(u"copy.mdb"_s));
    }
}

TEST_F(BackupRestoreTest, AFailedBackupNamesTheReasonAndLeavesNoPartialFile)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    const struct {
        QString target;
        QString reason;
    } cases[] = {{path(u"nowhere/copy.mdb"_s), u"文件夹不存在"_s},
                 {m_dir.path(), u"这是一个文件夹"_s},
                 {path(u"source.mdb"_s), u"正在使用的账本文件"_s}};
    for (const auto& failure : cases) {
        try {
            backupLedger(source, failure.target);
            ADD_FAILURE() << "no refusal for " << failure.target.toStdString();
        } catch (const BackupError& error) {
            EXPECT_TRUE(error.message().contains(failure.reason)) << error.message().toStdString();
        }
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList({u"*.part"_s}, QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(BackupRestoreTest, ABackupReplacesAnExistingFileWhole)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    writeBytes(path(u"old.mdb"_s), "old");
    backupLedger(source, path(u"old.mdb"_s));
    sql::Database copy = openBackup(path(u"old.mdb"_s));
    EXPECT_EQ(copy.scalarInt("SELECT count(*) FROM gpmc"), 3);
}

TEST_F(BackupRestoreTest, SafetyCopiesKeepTheLastTenAndOnePerDayIsDue)
{
    sql::Database ledger = ledgerAt(u"gpmc.mdb"_s);
    SafetyCopies copies(path(u"gpmc.mdb"_s));
    EXPECT_EQ(copies.folder(), path(u"backups"_s));
    const QDateTime first(QDate(2026, 1, 1), QTime(9, 0));
    EXPECT_TRUE(copies.dueOn(first.date()));
    for (int i = 0; i < 12; ++i)
        copies.make(ledger, first.addSecs(i * 3600));
    const QStringList kept = copies.copies();
    ASSERT_EQ(kept.size(), 10);
    EXPECT_TRUE(kept.first().endsWith(u"gpmc-20260101-110000.mdb"_s)) << kept.first().toStdString();
    EXPECT_TRUE(kept.last().endsWith(u"gpmc-20260101-200000.mdb"_s));
    EXPECT_FALSE(copies.dueOn(first.date()));
    EXPECT_TRUE(copies.dueOn(first.date().addDays(1)));
    // Each copy is a backup that restores.
    LedgerRestore restore(ledger, kept.last());
    restore.finish();
}

// Two imports in a row within a second: each keeps its own copy, the older one
// first, and the oldest still go beyond ten.
TEST_F(BackupRestoreTest, SafetyCopiesInTheSameSecondNeverReplaceEachOther)
{
    sql::Database ledger = ledgerAt(u"gpmc.mdb"_s);
    ledger.exec("DELETE FROM gpjl");
    SafetyCopies copies(path(u"gpmc.mdb"_s));
    const QDateTime now(QDate(2026, 1, 1), QTime(9, 0));
    for (int i = 0; i < 12; ++i) {
        copies.make(ledger, now);
        addTrade(ledger, u"2008-03-20"_s, u"600000"_s, u"浦发银行"_s);
    }
    const QStringList kept = copies.copies();
    ASSERT_EQ(kept.size(), 10);
    EXPECT_TRUE(kept.first().endsWith(u"gpmc-20260101-090000-3.mdb"_s))
        << kept.first().toStdString();
    EXPECT_TRUE(kept.last().endsWith(u"gpmc-20260101-090000-12.mdb"_s))
        << kept.last().toStdString();
    for (qsizetype i = 0; i < kept.size(); ++i) {
        sql::Database copy = openBackup(kept[i]);
        EXPECT_EQ(copy.scalarInt("SELECT count(*) FROM gpjl"), i + 2) << kept[i].toStdString();
    }
}

// The ledger's own files are never a backup's target, however they are named.
TEST_F(BackupRestoreTest, BackupRefusesTheLedgersOwnFiles)
{
    sql::Database ledger = ledgerAt(u"gpmc.mdb"_s);
    SafetyCopies(path(u"gpmc.mdb"_s)).make(ledger, QDateTime::currentDateTime());
    ASSERT_TRUE(QFile::link(path(u"gpmc.mdb"_s), path(u"link.mdb"_s)));
    for (const QString& target :
         {u"gpmc.mdb"_s, u"link.mdb"_s, u"gpmc.mdb-journal"_s, u"gpmc.mdb-wal"_s, u"gpmc.mdb-shm"_s,
          u"gpmc.mdb.lock"_s, u"backups/other.mdb"_s, u"backups/../gpmc.mdb"_s}) {
        EXPECT_THROW(backupLedger(ledger, path(target)), BackupError) << target.toStdString();
        EXPECT_FALSE(target != u"gpmc.mdb"_s && target != u"link.mdb"_s &&
                     target != u"backups/../gpmc.mdb"_s && QFile::exists(path(target)))
            << target.toStdString();
    }
    EXPECT_NO_THROW(backupLedger(ledger, path(u"gpmc-copy.mdb"_s)));
}

// A restore replaces the 分红送配 table with the trades and the stocks, so it tells
// every view that follows events, not only those that follow trades.
TEST_F(BackupRestoreTest, ACommittedRestoreAnnouncesTradesStocksAndEvents)
{
    sql::Database source = ledgerAt(u"source.mdb"_s);
    backupLedger(source, path(u"copy.mdb"_s));
    sql::Database target = ledgerAt(u"target.mdb"_s);

    struct Yes : RestoreAnswers {
        bool confirm() override { return true; }
        void askBackupPassword(const QString&,
                               const std::function<QString(const QByteArray&)>&) override
        {
        }
    } yes;
    LedgerNotifier notifier;
    QList<LedgerChanges> heard;
    QObject::connect(&notifier, &LedgerNotifier::changed,
                     [&heard](LedgerChanges what) { heard.append(what); });
    RestoreRun run(target, notifier);
    ASSERT_EQ(run.start(path(u"copy.mdb"_s), yes).start, RestoreRun::Start::Begun);
    run.finish();
    ASSERT_EQ(heard.size(), 1);
    EXPECT_TRUE(heard.first().testFlags(LedgerChange::Trades | LedgerChange::Stocks |
                                        LedgerChange::Events | LedgerChange::Settings |
                                        LedgerChange::MonitorList | LedgerChange::TickerLines));
}

} // namespace
} // namespace corvanta::ledger
