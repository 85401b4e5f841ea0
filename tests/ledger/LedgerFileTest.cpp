#include "ledger/LedgerFile.h"
#include "FileSizeLimit.h"
#include "StorePrinting.h"
#include "ledger/LedgerView.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
using testsupport::FileSizeLimit;

namespace {

using Reason = LedgerOpenError::Reason;

const QList<SeedStock>& seedList()
{
    static const QList<SeedStock> list = loadSeedList();
    return list;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

sql::Database openWithKey(const QString& path)
{
    return sql::Database::open(path, QByteArray(ledgerKey), sql::Database::Mode::ReadWrite);
}

std::optional<Reason> refusal(const QString& path)
{
    try {
        openLedger(path, seedList());
    } catch (const LedgerOpenError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(path)))
            << error.message().toStdString();
        // A file that is no ledger is refused with the reason in Chinese first,
        // whatever English SQLite adds.
        const qsizetype bracket = error.message().indexOf(u'（');
        if (error.reason() == Reason::NotALedger && bracket >= 0 &&
            bracket + 1 < error.message().size()) {
            EXPECT_GE(error.message().at(bracket + 1).unicode(), 0x3000)
                << error.message().toStdString();
        }
        return error.reason();
    }
    return std::nullopt;
}

class LedgerFileTest : public testing::Test {
protected:
    // Some tests take the write permission away; the folder must still go.
    void TearDown() override { chmod(qPrintable(dirPath()), 0700); }
    QString path() const { return ledgerPath(m_dir.path()); }
    QString dirPath() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

TEST_F(LedgerFileTest, NewFileHoldsTheSampleTradeAndTheWholeStockList)
{
    {
        sql::Database db = openLedger(path(), seedList());
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 2);
        // One recorded buy and the stock's open-position row.
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 交易状态='买入' AND 虚拟卖出='假'"),
                  1);
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl WHERE 交易状态='卖出' AND 虚拟卖出='真'"),
                  1);
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc WHERE gpid IN ('zfsd','yhssd','sxfsd',"
                               "'mczfsd','mcyhs','mcsxf','proxsd','ztsd','zxsd')"),
                  0);
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM dxgp"), 0);
    }
    // Opening it again finds everything in place and adds nothing.
    sql::Database again = openLedger(path(), seedList());
    EXPECT_EQ(again.scalarInt("SELECT count(*) FROM gpjl"), 2);
    EXPECT_EQ(again.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
}

// The stock list is parsed for a new file or a lost stock table, never to open a
// ledger that has one.
TEST_F(LedgerFileTest, StockListIsReadOnlyWhenTheTableIsCreated)
{
    int reads = 0;
    const SeedListSource counted = [&reads] {
        ++reads;
        return seedList();
    };
    openLedgerSeededBy(path(), counted);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(openLedgerSeededBy(path(), counted).scalarInt("SELECT count(*) FROM gpmc"),
              seedList().size());
    EXPECT_EQ(reads, 1);
    openLedgerSeededBy(path(), counted).exec("DROP TABLE gpmc");
    EXPECT_EQ(openLedgerSeededBy(path(), counted).scalarInt("SELECT count(*) FROM gpmc"),
              seedList().size());
    EXPECT_EQ(reads, 2);
}

TEST_F(LedgerFileTest, FileIsEncryptedWithTheKey)
{
    openLedger(path(), seedList());
    EXPECT_FALSE(contents(path()).startsWith("SQLite format 3"));
    EXPECT_NO_THROW(openWithKey(path()));
    EXPECT_THROW(sql::Database::open(path(), {}, sql::Database::Mode::ReadOnly), sql::Error);
}

TEST_F(LedgerFileTest, DroppedStockTableIsSeededAgainAndTradesKept)
{
    {
        sql::Database db = openLedger(path(), seedList());
        db.exec("INSERT INTO gpjl (日期,股票名) VALUES ('2024-01-02','平安银行')");
        db.exec("DROP TABLE gpmc");
    }
    sql::Database db = openLedger(path(), seedList());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 3);
}

// A file written before gpmc and the grid's orders had their indexes gains them
// when opened, its rows kept, so a settings look-up no longer scans the stock table
// and the grid no longer sorts the trades.
TEST_F(LedgerFileTest, OlderFileGainsTheIndexes)
{
    {
        sql::Database db = openLedger(path(), seedList());
        db.exec("DROP INDEX gpmc_gpid");
        db.exec("DROP INDEX gpjl_grid_by_date");
        db.exec("DROP INDEX gpjl_grid_by_name");
        // The grid's earlier indexes, which read every trade's row.
        db.exec("CREATE INDEX gpjl_grid_date ON gpjl(日期) WHERE 虚拟卖出='假'");
        db.exec("CREATE INDEX gpjl_grid_name ON gpjl(股票名) WHERE 虚拟卖出='假'");
        db.exec("DROP INDEX gpjl_grid_by_state");
    }
    sql::Database db = openLedger(path(), seedList());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 2);
    auto plan = db.prepare("EXPLAIN QUERY PLAN SELECT gpmc FROM gpmc WHERE gpid=?1");
    plan.bind(1, u"hqdz"_s);
    ASSERT_TRUE(plan.step());
    EXPECT_TRUE(plan.text(3).contains(u"USING INDEX gpmc_gpid"_s)) << plan.text(3).toStdString();
    // The grid's orders come from their indexes alone, without sorting the table
    // or reading a trade's row.
    for (const char* sql : {"EXPLAIN QUERY PLAN SELECT id FROM gpjl WHERE 虚拟卖出='假' "
                            "ORDER BY 日期,id",
                            "EXPLAIN QUERY PLAN SELECT id,股票名 FROM gpjl WHERE 虚拟卖出='假' "
                            "ORDER BY 股票名,id"}) {
        auto order = db.prepare(sql);
        QStringList steps;
        while (order.step())
            steps << order.text(3);
        EXPECT_TRUE(steps.join(u';').contains(u"USING COVERING INDEX gpjl_grid_by_"_s)) << sql;
        EXPECT_FALSE(steps.join(u';').contains(u"TEMP B-TREE"_s)) << sql;
    }
    // The earlier indexes are gone.
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM sqlite_master "
                           "WHERE name IN ('gpjl_grid_date','gpjl_grid_name')"),
              0);
    // The grid's state texts come from their own index: the real buy's, not the
    // sample's virtual sell.
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM sqlite_master WHERE name='gpjl_grid_by_state'"),
              1);
    EXPECT_EQ(ledgerStateTexts(db), QStringList{u"买入"_s});
    // Each step to the next text is one search of that index, whatever the other
    // indexes of the real trades offer.
    auto next = db.prepare("EXPLAIN QUERY PLAN SELECT min(交易状态) FROM gpjl "
                           "WHERE 虚拟卖出='假' AND 交易状态 > '买入'");
    ASSERT_TRUE(next.step());
    EXPECT_TRUE(next.text(3).contains(u"COVERING INDEX gpjl_grid_by_state"_s))
        << next.text(3).toStdString();
}

// The page cache holds the whole ledger, so a full scan reads and decrypts the file
// once; a small ledger keeps SQLite's 2 MB.
TEST_F(LedgerFileTest, PageCacheHoldsTheWholeLedger)
{
    openLedger(path(), seedList());
    EXPECT_EQ(openLedger(path(), seedList()).scalarInt("PRAGMA cache_size"), -2048);
    {
        sql::Database db = openLedger(path(), seedList());
        auto note =
            db.prepare("INSERT INTO gpjl (日期,股票名,备注) VALUES ('2024-01-02','平安银行',?1)");
        note.bind(1, QString(u'x').repeated(8 * 1024 * 1024));
        note.run();
    }
    const qint64 kib = QFileInfo(path()).size() / 1024;
    ASSERT_GT(kib, 8 * 1024);
    EXPECT_EQ(openLedger(path(), seedList()).scalarInt("PRAGMA cache_size"), -(kib * 5 / 4));
}

TEST_F(LedgerFileTest, TableNamesCountWhateverTheirCase)
{
    {
        sql::Database db = sql::Database::open(path(), QByteArray(ledgerKey),
                                               sql::Database::Mode::ReadWriteCreate);
        db.exec("CREATE TABLE GPJL (ID INTEGER PRIMARY KEY, 日期, 股票代码, 股票名, 交易状态, "
                "数量, 价格, 费用, 总金额, 盈亏金额, 虚拟卖出, 监控状态, 印花税, 佣金, 过户费等, "
                "其它费用, 备注)");
        db.exec("INSERT INTO GPJL (股票名) VALUES ('平安银行')");
    }
    sql::Database db = openLedger(path(), seedList());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 1);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
    EXPECT_TRUE(tableExists(db, u"dxgp"_s));
}

// Files that are no ledger of this program: each is refused and left as it was.
struct UnusableFile {
    const char* what;
    std::function<void(const QString& path)> make;
    Reason reason;
};

void PrintTo(const UnusableFile& c, std::ostream* os)
{
    *os << c.what;
}

class UnusableLedgerFile : public LedgerFileTest,
                           public testing::WithParamInterface<UnusableFile> {};

TEST_P(UnusableLedgerFile, IsRefusedAndLeftUnchanged)
{
    GetParam().make(path());
    const QByteArray before = contents(path());

    EXPECT_EQ(refusal(path()), GetParam().reason);
    EXPECT_EQ(contents(path()), before);
    EXPECT_EQ(QDir(dirPath()).entryList(QDir::Files),
              QStringList{QString::fromUtf16(ledgerFileName)});
}

// The message opening gives for a refused file, empty when it opens.
QString refusalMessage(const std::function<void()>& open)
{
    try {
        open();
    } catch (const LedgerOpenError& error) {
        return error.message();
    }
    return {};
}

// A window start reads the pages after its window has shown: the same files are
// refused with the same message, at the latest when the pages are read, and none
// is changed.
TEST_P(UnusableLedgerFile, IsRefusedAlikeWhenItsPagesAreReadAfterOpening)
{
    GetParam().make(path());
    const QByteArray before = contents(path());
    const QString atOpen = refusalMessage([this] { openLedger(path(), seedList()); });
    ASSERT_FALSE(atOpen.isEmpty());

    const QString later = refusalMessage([this] {
        sql::Database db = openLedgerSeededBy(
            path(), [] { return seedList(); }, PageCheck::Later);
        checkLedgerPages(db, path());
    });
    EXPECT_EQ(later, atOpen);
    EXPECT_EQ(contents(path()), before);
}

// Overwrites part of the page in the middle of the file.
void makeDamagedInPlace(const QString& path);

// An older ledger gains an index when it opens: a damaged one is refused before
// that, even when its pages were to be read later, and stays as it was.
TEST_F(LedgerFileTest, ADamagedLedgerThatOpeningWouldChangeIsReadWholeFirst)
{
    {
        sql::Database db = openLedger(path(), seedList());
        db.exec("DROP INDEX gpjl_grid_by_state");
    }
    makeDamagedInPlace(path());
    const QByteArray before = contents(path());
    try {
        openLedgerSeededBy(
            path(), [] { return seedList(); }, PageCheck::Later);
        FAIL() << "opened";
    } catch (const LedgerOpenError& error) {
        EXPECT_EQ(error.reason(), Reason::NotALedger);
    }
    EXPECT_EQ(contents(path()), before);
}

void makeWithOtherKey(const QString& path)
{
    sql::Database db =
        sql::Database::open(path, "another key", sql::Database::Mode::ReadWriteCreate);
    db.exec("CREATE TABLE gpjl (ID INTEGER PRIMARY KEY, 股票名 TEXT)");
}

void makeUnencrypted(const QString& path)
{
    sql::Database db = sql::Database::open(path, {}, sql::Database::Mode::ReadWriteCreate);
    db.exec("CREATE TABLE gpjl (ID INTEGER PRIMARY KEY, 股票名 TEXT)");
}

// Keyed like a ledger, but its gpjl is someone else's table.
void makeForeignGpjl(const QString& path)
{
    sql::Database db =
        sql::Database::open(path, QByteArray(ledgerKey), sql::Database::Mode::ReadWriteCreate);
    db.exec("CREATE TABLE gpjl (ID, 名)");
}

// A whole ledger but for one column of its journal table.
void makeLedgerWithShortJournal(const QString& path)
{
    {
        sql::Database db = openLedger(path, seedList());
        db.exec("DROP TABLE dxgp");
        db.exec("CREATE TABLE dxgp (ID, 日期, 股票代码, 股票名)");
    }
}

// A whole ledger whose reminder table is someone else's.
void makeLedgerWithForeignReminders(const QString& path)
{
    sql::Database db = openLedger(path, seedList());
    db.exec("CREATE TABLE dxgp_reminder (note_id INTEGER PRIMARY KEY, 时间 TEXT)");
}

// Keyed like a ledger, holding only a table of its own.
void makeKeyedWithOwnTable(const QString& path)
{
    sql::Database db =
        sql::Database::open(path, QByteArray(ledgerKey), sql::Database::Mode::ReadWriteCreate);
    db.exec("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)");
    db.exec("INSERT INTO notes (text) VALUES ('mine')");
}

void makeGarbage(const QString& path)
{
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < 8192; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(char(state >> 24));
    }
    writeFile(path, bytes);
}

// A real ledger with one page in the middle overwritten.
void makeDamaged(const QString& path)
{
    openLedger(path, seedList());
    makeDamagedInPlace(path);
}

void makeDamagedInPlace(const QString& path)
{
    QByteArray bytes = contents(path);
    const qsizetype middle = bytes.size() / 2;
    for (qsizetype i = middle; i < middle + 64; ++i)
        bytes[i] = char(bytes[i] ^ 0x5a);
    writeFile(path, bytes);
}

TEST_F(LedgerFileTest, AFileOfOtherTablesIsToldApartFromADamagedLedger)
{
    makeKeyedWithOwnTable(path());
    try {
        openLedger(path(), seedList());
        FAIL() << "opened";
    } catch (const LedgerOpenError& error) {
        EXPECT_TRUE(error.message().contains(u"其中只有别的表 notes"_s))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(u"程序没有改动这个文件"_s));
    }
}

TEST_F(LedgerFileTest, ForeignTableIsNamedInTheRefusal)
{
    makeForeignGpjl(path());
    try {
        openLedger(path(), seedList());
        FAIL() << "opened";
    } catch (const LedgerOpenError& error) {
        EXPECT_TRUE(error.message().contains(u"gpjl"_s));
        EXPECT_TRUE(error.message().contains(u"股票名"_s));
        EXPECT_TRUE(error.message().contains(u"程序没有改动这个文件"_s));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnusableLedgerFile,
    testing::Values(
        UnusableFile{"other key", makeWithOtherKey, Reason::NotALedger},
        UnusableFile{"unencrypted database", makeUnencrypted, Reason::NotALedger},
        UnusableFile{"foreign gpjl", makeForeignGpjl, Reason::NotALedger},
        UnusableFile{"short journal table", makeLedgerWithShortJournal, Reason::NotALedger},
        UnusableFile{"foreign reminder table", makeLedgerWithForeignReminders, Reason::NotALedger},
        UnusableFile{"keyed file of other tables", makeKeyedWithOwnTable, Reason::NotALedger},
        UnusableFile{"garbage", makeGarbage, Reason::NotALedger},
        UnusableFile{"short text", [](const QString& p) { writeFile(p, "not a ledger\n"); },
                     Reason::NotALedger},
        UnusableFile{"damaged page", makeDamaged, Reason::NotALedger},
        UnusableFile{"zero length", [](const QString& p) { writeFile(p, {}); },
                     Reason::EmptyFile}));

// The disk fills up while the stock list is being written.
class InterruptedSeeding : public LedgerFileTest {
protected:
    // A little more than the file holds now, far less than the stock list needs.
    qint64 roomForAFewPages() const { return QFileInfo(path()).size() + 16 * 1024; }
};

TEST_F(InterruptedSeeding, NewFileIsRemovedAndTheNextStartSeedsAfresh)
{
    {
        const FileSizeLimit full(roomForAFewPages());
        ASSERT_TRUE(full.applied());
        EXPECT_EQ(refusal(path()), Reason::CannotCreate);
    }
    EXPECT_FALSE(QFile::exists(path()));

    sql::Database db = openLedger(path(), seedList());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 2);
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
}

TEST_F(InterruptedSeeding, ExistingFileKeepsItsTradesAndIsSeededNextTime)
{
    {
        sql::Database db = openLedger(path(), seedList());
        db.exec("DROP TABLE gpmc");
        db.exec("VACUUM"); // so that the stock list must grow the file again
    }
    {
        const FileSizeLimit full(roomForAFewPages());
        ASSERT_TRUE(full.applied());
        EXPECT_EQ(refusal(path()), Reason::Failed);
    }
    {
        sql::Database db = openWithKey(path());
        EXPECT_FALSE(tableExists(db, u"gpmc"_s));
        EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpjl"), 2);
    }
    sql::Database db = openLedger(path(), seedList());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM gpmc"), seedList().size());
}

// Runs `check` with an ordinary user's rights and returns its complaint, empty
// when satisfied. Root may write anywhere, so as root the check runs in a child
// process that has become "nobody".
QString asOrdinaryUser(const std::function<QString()>& check)
{
    if (geteuid() != 0)
        return check();
    seedList(); // loaded once, before the fork
    int channel[2];
    if (pipe(channel) != 0)
        return u"no pipe"_s;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const uid_t nobody = 65534;
        QByteArray complaint;
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            complaint = "cannot become nobody";
        else
            complaint = check().toUtf8();
        const bool written = write(channel[1], complaint.constData(), complaint.size()) >= 0;
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    QByteArray complaint;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        complaint.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return u"the check's process failed"_s;
    return QString::fromUtf8(complaint);
}

QString expectRefusal(const QString& path, Reason expected)
{
    try {
        openLedger(path, seedList());
    } catch (const LedgerOpenError& error) {
        if (error.reason() != expected)
            return u"wrong reason: "_s + error.message();
        return {};
    }
    return u"opened"_s;
}

class ReadOnlyLedger : public LedgerFileTest {
protected:
    void SetUp() override
    {
        openLedger(path(), seedList());
        m_before = contents(path());
    }
    void permit(const QString& file, mode_t mode) { ASSERT_EQ(chmod(qPrintable(file), mode), 0); }
    QByteArray m_before;
};

TEST_F(ReadOnlyLedger, ReadOnlyFileIsRefusedUntouched)
{
    permit(dirPath(), 0777);
    permit(path(), 0444);
    EXPECT_EQ(asOrdinaryUser([&] { return expectRefusal(path(), Reason::ReadOnly); }), QString());
    EXPECT_EQ(contents(path()), m_before);
}

TEST_F(ReadOnlyLedger, FileInReadOnlyFolderIsRefusedUntouched)
{
    permit(dirPath(), 0555);
    permit(path(), 0666);
    EXPECT_EQ(asOrdinaryUser([&] { return expectRefusal(path(), Reason::FolderReadOnly); }),
              QString());
    EXPECT_EQ(contents(path()), m_before);
}

TEST_F(LedgerFileTest, NoNewFileInReadOnlyFolder)
{
    ASSERT_EQ(chmod(qPrintable(dirPath()), 0555), 0);
    EXPECT_EQ(asOrdinaryUser([&] { return expectRefusal(path(), Reason::FolderReadOnly); }),
              QString());
    EXPECT_FALSE(QFile::exists(path()));
}

// Where the ledger lives, for a program folder of each kind.
struct FolderCase {
    const char* what;
    mode_t programMode;
    bool ledgerInProgramFolder;
    bool installed; // bin/ with share/corvanta beside it
    bool expectProgramFolder;
};

void PrintTo(const FolderCase& c, std::ostream* os)
{
    *os << c.what;
}

class LedgerFolder : public LedgerFileTest, public testing::WithParamInterface<FolderCase> {
protected:
    void SetUp() override
    {
        LedgerFileTest::SetUp();
        program = GetParam().installed ? dirPath() + u"/前缀/bin"_s : dirPath() + u"/程序"_s;
    }
    void TearDown() override
    {
        chmod(qPrintable(program), 0700);
        LedgerFileTest::TearDown();
    }
    QString program;
    const QString appData = dirPath() + u"/数据/Corvanta"_s;
};

TEST_P(LedgerFolder, IsTheProgramFolderOnlyWhenUsable)
{
    ASSERT_TRUE(QDir().mkpath(program));
    if (GetParam().installed) {
        ASSERT_TRUE(QDir().mkpath(dirPath() + u"/前缀/share/corvanta"_s));
    }
    if (GetParam().ledgerInProgramFolder)
        writeFile(ledgerPath(program), "x");
    ASSERT_EQ(chmod(qPrintable(dirPath()), 0777), 0);
    ASSERT_EQ(chmod(qPrintable(program), GetParam().programMode), 0);

    const QString expected = GetParam().expectProgramFolder ? program : appData;
    EXPECT_EQ(asOrdinaryUser([&]() -> QString {
                  const QString folder = ledgerFolder(program, appData);
                  if (folder != expected)
                      return u"chose "_s + folder;
                  if (!QFileInfo(folder).isDir())
                      return u"not created: "_s + folder;
                  return {};
              }),
              QString());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LedgerFolder,
    testing::Values(FolderCase{"writable", 0777, false, false, true},
                    FolderCase{"read-only", 0555, false, false, false},
                    // Says why it cannot open, rather than starting an empty
                    // ledger elsewhere.
                    FolderCase{"read-only with a ledger", 0555, true, false, true},
                    // A package's folder is never written, even where it could be.
                    FolderCase{"installed and writable", 0777, false, true, false},
                    FolderCase{"installed with a stray ledger", 0777, true, true, false}));

// The installed data folder is recognised only beside a bin/ folder.
struct DataFolderCase {
    const char* what;
    const char* programDir;
    const char* made;
    bool installed;
};

void PrintTo(const DataFolderCase& c, std::ostream* os)
{
    *os << c.what;
}

class DataFolder : public LedgerFileTest, public testing::WithParamInterface<DataFolderCase> {};

TEST_P(DataFolder, IsTheInstalledOneOrTheProgramFolder)
{
    const QString program = dirPath() + u'/' + QString::fromUtf8(GetParam().programDir);
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QDir().mkpath(dirPath() + u'/' + QString::fromUtf8(GetParam().made)));
    const QString installed = dirPath() + u"/usr/share/corvanta"_s;

    EXPECT_EQ(installedDataFolder(program), GetParam().installed ? installed : QString());
    EXPECT_EQ(programDataFolder(program), GetParam().installed ? installed : program);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DataFolder,
    testing::Values(DataFolderCase{"installed", "usr/bin", "usr/share/corvanta", true},
                    DataFolderCase{"bin without data", "usr/bin", "usr/share/other", false},
                    DataFolderCase{"data beside another folder", "usr/build", "usr/share/corvanta",
                                   false}));

} // namespace
} // namespace corvanta::ledger
