#include "ledger/LedgerLock.h"
#include "StorePrinting.h"
#include "ledger/LedgerFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

using Outcome = LedgerLock::Outcome;

class LedgerLockTest : public ::testing::Test {
protected:
    QString path() const { return ledgerPath(m_dir.path()); }
    QString lockFile() const { return path() + u".lock"_s; }

private:
    QTemporaryDir m_dir;
};

TEST_F(LedgerLockTest, LockFileLiesBesideTheLedger)
{
    EXPECT_EQ(LedgerLock::lockPath(path()), lockFile());
    EXPECT_TRUE(lockFile().endsWith(u"gpmc.mdb.lock"_s));
}

TEST_F(LedgerLockTest, SecondLockOnTheSameLedgerIsRefusedUntilTheFirstGoes)
{
    {
        LedgerLock first(path(), LedgerLock::Holder::Window);
        ASSERT_EQ(first.acquire(), Outcome::Acquired);
        EXPECT_TRUE(QFile::exists(lockFile()));
        EXPECT_EQ(first.acquire(), Outcome::Acquired); // asking again changes nothing

        LedgerLock second(path(), LedgerLock::Holder::Command, u"backup"_s);
        EXPECT_EQ(second.acquire(), Outcome::HeldElsewhere);
    }
    EXPECT_FALSE(QFile::exists(lockFile()));
    LedgerLock third(path(), LedgerLock::Holder::Window);
    EXPECT_EQ(third.acquire(), Outcome::Acquired);
}

TEST_F(LedgerLockTest, LockHeldByAnotherLockFileIsRefused)
{
    QLockFile other(lockFile());
    ASSERT_TRUE(other.tryLock(0));
    LedgerLock lock(path(), LedgerLock::Holder::Window);
    EXPECT_EQ(lock.acquire(), Outcome::HeldElsewhere);
    other.unlock();
    EXPECT_EQ(lock.acquire(), Outcome::Acquired);
}

// A copy that has had the ledger open for days still holds it.
TEST_F(LedgerLockTest, OldLockOfARunningCopyIsNotTaken)
{
    QLockFile other(lockFile());
    ASSERT_TRUE(other.tryLock(0));
    QFile file(lockFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                 QFileDevice::FileModificationTime));
    file.close();
    LedgerLock lock(path(), LedgerLock::Holder::Window);
    EXPECT_EQ(lock.acquire(), Outcome::HeldElsewhere);
}

// A copy that crashed left its lock behind; the next start takes it over.
TEST_F(LedgerLockTest, LockOfAProcessThatEndedIsTakenOver)
{
    const pid_t child = fork();
    if (child == 0) {
        QLockFile crashed(lockFile());
        _exit(crashed.tryLock(0) ? 0 : 1); // ends without unlocking
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(lockFile()));

    LedgerLock lock(path(), LedgerLock::Holder::Window);
    EXPECT_EQ(lock.acquire(), Outcome::Acquired);
}

TEST_F(LedgerLockTest, MessagesNameTheLedger)
{
    const LedgerLock lock(path(), LedgerLock::Holder::Window);
    EXPECT_TRUE(lock.message(Outcome::HeldElsewhere).contains(QDir::toNativeSeparators(path())));
    EXPECT_TRUE(lock.message(Outcome::Failed).contains(QDir::toNativeSeparators(path())));
    EXPECT_EQ(lock.message(Outcome::Acquired), QString());
}

// A kill or a power cut between creating the lock file and writing into it
// leaves an empty file: it keeps nobody out.
TEST_F(LedgerLockTest, EmptyOrForeignLockFileLocksNobodyOut)
{
    for (const QByteArray& contents :
         {QByteArray(), QByteArray("12345\nhost\n"), QByteArray("window\n1\n")}) {
        QFile file(lockFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        LedgerLock lock(path(), LedgerLock::Holder::Command, u"backup"_s);
        EXPECT_EQ(lock.acquire(), Outcome::Acquired) << contents.toStdString();
    }
}

// The holder is killed while it holds the ledger: the system lets go for it.
TEST_F(LedgerLockTest, KilledHolderReleasesTheLedger)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        LedgerLock held(path(), LedgerLock::Holder::Window);
        const char said = held.acquire() == Outcome::Acquired ? 'y' : 'n';
        if (write(ready[1], &said, 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    char said = 0;
    ASSERT_EQ(read(ready[0], &said, 1), 1);
    ASSERT_EQ(said, 'y');
    LedgerLock lock(path(), LedgerLock::Holder::Command, u"import"_s);
    EXPECT_EQ(lock.acquire(), Outcome::HeldElsewhere);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(QFile::exists(lockFile())); // left behind, and of no account
    EXPECT_EQ(lock.acquire(), Outcome::Acquired);
    close(ready[0]);
    close(ready[1]);
}

// The same ledger reached through a link in another folder shares its lock.
TEST_F(LedgerLockTest, LedgerReachedThroughALinkSharesItsLock)
{
    {
        QFile ledger(path());
        ASSERT_TRUE(ledger.open(QIODevice::WriteOnly));
    }
    QTemporaryDir other;
    const QString linked = ledgerPath(other.path());
    ASSERT_TRUE(QFile::link(path(), linked));
    EXPECT_EQ(LedgerLock::lockPath(linked), LedgerLock::lockPath(path()));
    LedgerLock window(path(), LedgerLock::Holder::Window);
    ASSERT_EQ(window.acquire(), Outcome::Acquired);
    LedgerLock second(linked, LedgerLock::Holder::Window);
    EXPECT_EQ(second.acquire(), Outcome::HeldElsewhere);
}

// The refusal says who holds the ledger, as the asker should understand it, and
// where the lock file is.
TEST_F(LedgerLockTest, RefusalNamesTheHolderAndTheLockFile)
{
    using Holder = LedgerLock::Holder;
    struct Case {
        Holder holder;
        QString task;
        Holder asker;
        QString says;
    };
    const Case cases[] = {
        {Holder::Window, {}, Holder::Window, u"账本已在另一个窗口中打开"_s},
        {Holder::Window,
         {},
         Holder::Command,
         u"账本正由运行中的窗口使用，请先关闭窗口再运行命令"_s},
        {Holder::Command, u"import"_s, Holder::Window, u"账本正由命令 import 使用"_s},
        {Holder::Command, u"restore"_s, Holder::Command, u"账本正由命令 restore 使用"_s},
    };
    for (const Case& one : cases) {
        LedgerLock holder(path(), one.holder, one.task);
        ASSERT_EQ(holder.acquire(), Outcome::Acquired);
        LedgerLock asker(path(), one.asker, u"backup"_s);
        ASSERT_EQ(asker.acquire(), Outcome::HeldElsewhere);
        const QString message = asker.message(Outcome::HeldElsewhere);
        EXPECT_TRUE(message.startsWith(one.says)) << message.toStdString();
        EXPECT_TRUE(message.contains(u"锁定文件："_s + QDir::toNativeSeparators(lockFile())))
            << message.toStdString();
        EXPECT_FALSE(one.holder == Holder::Command && message.contains(u"窗口"_s))
            << message.toStdString();
    }
}

TEST(LedgerLockFolder, MissingFolderFails)
{
    QTemporaryDir dir;
    LedgerLock lock(ledgerPath(dir.filePath(u"没有的文件夹"_s)), LedgerLock::Holder::Window);
    EXPECT_EQ(lock.acquire(), Outcome::Failed);
}

} // namespace
} // namespace corvanta::ledger
