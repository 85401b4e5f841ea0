// Kills a process with SIGKILL at many points of every ledger operation and checks
// what it leaves: the file opens with the key, is intact, and holds either the
// ledger from before the operation or the one after it, row by row, with every
// open position right. A copy of the ledger the operation writes (a backup, a
// safety copy) must be whole or absent.
//
// Each kill point is a call that changes a file (a write, truncate, sync or delete
// of the ledger or its journal), plus kills at random times during the operation.
// CORVANTA_KILL_TEST=long tries every point and many random times (scripts/kill-test);
// by default a sample of each keeps the run short.

#include "CrashOperations.h"
#include "KillingVfs.h"

#include "../LedgerTestSupport.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanta::crash {

void PrintTo(const CrashOperation& operation, std::ostream* os)
{
    *os << operation.name;
}

namespace {

using ledger::testing::invariantHolds;
using ledger::testing::tinySeedList;

bool longRun()
{
    return qEnvironmentVariable("CORVANTA_KILL_TEST") == u"long";
}

// Every row of every table, table by table in name order.
QStringList snapshot(sql::Database& db)
{
    QStringList tables;
    {
        auto query = db.prepare("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
        while (query.step())
            tables << query.text(0);
    }
    QStringList rows;
    for (const QString& table : tables) {
        rows << u"== " + table;
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + "\" ORDER BY rowid";
        auto query = db.prepare(sql.constData());
        while (query.step()) {
            QStringList cells;
            for (int column = 0; column < query.columnCount(); ++column)
                cells << (query.isNull(column) ? QStringLiteral("<null>") : query.text(column));
            rows << cells.join(u'|');
        }
    }
    return rows;
}

// With the program's key, or with a personal password when one is given.
sql::Database openWithKey(const QString& path, const QByteArray& password = {})
{
    if (password.isEmpty())
        return ledger::openLedger(path, tinySeedList());
    return ledger::openLedger(path, tinySeedList(), password);
}

// The key the ledger opens with, then every row.
QStringList keyedSnapshot(sql::Database& db)
{
    return QStringList{u"key " + QString::fromUtf8(db.key())} + snapshot(db);
}

// The ledger after a kill: under the key it had before the operation or, failing
// that, the one it has after.
sql::Database openEitherKey(const QString& path, const CrashOperation& operation)
{
    try {
        return openWithKey(path, operation.passwordBefore);
    } catch (const ledger::LedgerOpenError&) {
        if (operation.passwordAfter == operation.passwordBefore)
            throw;
        return openWithKey(path, operation.passwordAfter);
    }
}

// Every copy of a ledger in the folder, whatever its name (a safety copy's holds
// the time), with every row; a copy that does not open as a whole backup shows
// why. Hidden files (a copy being written) are left out: they are never read as
// backups.
QStringList copiesIn(const QString& folder, const QByteArray& password)
{
    QStringList rows;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        rows << QStringLiteral("== copy");
        try {
            sql::Database copy = ledger::openBackup(dir.filePath(name), password);
            auto check = copy.prepare("PRAGMA integrity_check");
            if (!check.step() || check.text(0) != u"ok")
                rows << QStringLiteral("damaged");
            rows << snapshot(copy);
        } catch (const ledger::BackupError& error) {
            rows << error.message();
        } catch (const sql::Error& error) {
            rows << error.message();
        }
    }
    return rows;
}

void copyFile(const QString& from, const QString& to)
{
    QFile::remove(to);
    QFile::remove(to + u"-journal");
    ASSERT_TRUE(QFile::copy(from, to));
}

void killNow(int)
{
    ::kill(::getpid(), SIGKILL);
}

// How the child is stopped: before the n-th file change, or after some microseconds.
struct KillPlan {
    int beforeChange = 0;
    int afterMicroseconds = 0;
};

// Runs the operation on the file in a child process; returns its wait status. With
// `changes`, the child reports through it how many file changes the operation made.
int runInChild(const CrashOperation& operation, const QString& path, KillPlan plan,
               int* changes = nullptr)
{
    int report[2];
    if (::pipe(report) != 0)
        return -1;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        int code = 0;
        try {
            KillingVfs vfs;
            sql::Database db = openWithKey(path, operation.passwordBefore);
            vfs.arm(plan.beforeChange);
            if (plan.afterMicroseconds > 0) {
                std::signal(SIGALRM, killNow);
                const itimerval timer{{0, 0}, {0, plan.afterMicroseconds}};
                ::setitimer(ITIMER_REAL, &timer, nullptr);
            }
            operation.run(db);
            const int made = vfs.changes();
            if (::write(report[1], &made, sizeof made) != sizeof made)
                code = 2;
        } catch (...) {
            code = 3;
        }
        ::_exit(code);
    }
    ::close(report[1]);
    // Read before closing, or the child's report would end it with SIGPIPE.
    int made = 0;
    const bool reported = ::read(report[0], &made, sizeof made) == sizeof made;
    if (changes)
        *changes = reported ? made : -1;
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

class KillTest : public ::testing::TestWithParam<CrashOperation> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        {
            sql::Database db = openWithKey(base);
            GetParam().prepare(db);
            before = keyedSnapshot(db);
        }
        freshCopy();
        copiesBefore = copies();
        sql::Database db = openWithKey(work, GetParam().passwordBefore);
        QElapsedTimer timer;
        timer.start();
        GetParam().run(db);
        duration = std::max<qint64>(timer.nsecsElapsed() / 1000, 1);
        after = keyedSnapshot(db);
        copiesAfter = copies();
        ASSERT_TRUE(before != after || copiesBefore != copiesAfter);
    }

    QString copiesFolder() const
    {
        return GetParam().copiesFolder.isEmpty() ? QString()
                                                 : dir.filePath(GetParam().copiesFolder);
    }

    QStringList copies() const
    {
        return copiesFolder().isEmpty() ? QStringList()
                                        : copiesIn(copiesFolder(), GetParam().passwordAfter);
    }

    // The ledger as prepared, and none of the copies an earlier run made.
    void freshCopy()
    {
        if (!copiesFolder().isEmpty())
            QDir(copiesFolder()).removeRecursively();
        copyFile(base, work);
    }

    // Kills a fresh copy of the ledger as planned and checks what is left.
    void killAndCheck(KillPlan plan, bool mustDie)
    {
        freshCopy();
        const int status = runInChild(GetParam(), work, plan);
        if (mustDie)
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                << "status " << status << " before change " << plan.beforeChange;
        else
            ASSERT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ||
                        (WIFEXITED(status) && WEXITSTATUS(status) == 0))
                << "status " << status;
        ++kills;
        if (WIFSIGNALED(status))
            ++struck;
        const auto where = ::testing::Message() << "killed before change " << plan.beforeChange
                                                << " / after " << plan.afterMicroseconds << " us";
        try {
            sql::Database db = openEitherKey(work, GetParam());
            auto check = db.prepare("PRAGMA integrity_check");
            ASSERT_TRUE(check.step());
            EXPECT_EQ(check.text(0), u"ok") << where;
            const QStringList rows = keyedSnapshot(db);
            EXPECT_TRUE(rows == before || rows == after) << where;
            EXPECT_TRUE(invariantHolds(db)) << where;
            const QStringList copiesLeft = copies();
            EXPECT_TRUE(copiesLeft == copiesBefore || copiesLeft == copiesAfter)
                << where << ": " << copiesLeft.join(u'\n').left(400).toStdString();
        } catch (const ledger::LedgerOpenError& error) {
            FAIL() << where << ": " << error.message().toStdString();
        } catch (const sql::Error& error) {
            FAIL() << where << ": " << error.message().toStdString();
        }
    }

    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("base.mdb"));
    QString work = dir.filePath(QStringLiteral("gpmc.mdb"));
    QStringList before;
    QStringList after;
    QStringList copiesBefore; // the copies folder's ledgers, before and after
    QStringList copiesAfter;
    qint64 duration = 1; // microseconds the operation takes when not killed
    int kills = 0;       // runs with a kill planned
    int struck = 0;      // runs the kill stopped before the operation ended
};

TEST_P(KillTest, LeavesTheOldOrTheNewLedger)
{
    freshCopy();
    int changes = 0;
    const int status = runInChild(GetParam(), work, {}, &changes);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ASSERT_GT(changes, 0);

    // Before every change (or a spread of them), and once it has all happened.
    const int points = longRun() ? changes : std::min(changes, 9);
    for (int i = 0; i < points && !HasFatalFailure(); ++i) {
        const int change = 1 + int(qint64(i) * changes / points);
        killAndCheck({.beforeChange = change}, true);
    }
    killAndCheck({.beforeChange = changes + 1}, false);

    // Random times, in the long run until the operation has been stopped part-way
    // at least `wantedKills` times.
    const int wantedKills = longRun() ? 125 : 0;
    const int leastRandom = longRun() ? 20 : 4;
    const int mostRandom = longRun() ? 1000 : 4;
    QRandomGenerator random(20090401);
    int randomKills = 0;
    while (!HasFatalFailure() && randomKills < mostRandom &&
           (randomKills < leastRandom || struck < wantedKills)) {
        killAndCheck({.afterMicroseconds = 1 + int(random.bounded(2 * duration))}, false);
        ++randomKills;
    }
    EXPECT_GE(struck, wantedKills);

    std::printf("%s: %d file changes; %d runs (%d kill points at file changes, one after the "
                "last, %d random times); %d killed mid-operation\n",
                GetParam().name, changes, kills, points, randomKills, struck);
}

std::string testName(const ::testing::TestParamInfo<CrashOperation>& info)
{
    std::string name;
    bool upper = true;
    for (const char* c = info.param.name; *c; ++c) {
        if (*c == ' ') {
            upper = true;
            continue;
        }
        name += upper ? char(std::toupper(*c)) : *c;
        upper = false;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, KillTest, ::testing::ValuesIn(crashOperations()),
                         testName);

} // namespace
} // namespace corvanta::crash
