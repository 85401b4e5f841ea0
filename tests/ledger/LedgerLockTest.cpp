#include "ledger/LedgerLock.h"
#include "StorePrinting.h"
#include "ledger/LedgerFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        LedgerLock first(path());
        ASSERT_EQ(first.acquire(), Outcome::Acquired);
        EXPECT_TRUE(QFile::exists(lockFile()));
        EXPECT_EQ(first.acquire(), Outcome::Acquired); // asking again changes nothing

        LedgerLock second(path());
        EXPECT_EQ(second.acquire(), Outcome::HeldElsewhere);
        QLockFile other(lockFile());
        EXPECT_FALSE(other.tryLock(0));
    }
    EXPECT_FALSE(QFile::exists(lockFile()));
    LedgerLock third(path());
    EXPECT_EQ(third.acquire(), Outcome::Acquired);
}

TEST_F(LedgerLockTest, LockHeldByAnotherLockFileIsRefused)
{
    QLockFile other(lockFile());
    ASSERT_TRUE(other.tryLock(0));
    LedgerLock lock(path());
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
    LedgerLock lock(path());
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

    LedgerLock lock(path());
    EXPECT_EQ(lock.acquire(), Outcome::Acquired);
}

TEST_F(LedgerLockTest, MessagesNameTheLedger)
{
    const LedgerLock lock(path());
    EXPECT_EQ(lock.message(Outcome::HeldElsewhere),
              u"账本已在另一个窗口中打开：\n"_s + QDir::toNativeSeparators(path()));
    EXPECT_TRUE(lock.message(Outcome::Failed).contains(QDir::toNativeSeparators(path())));
    EXPECT_EQ(lock.message(Outcome::Acquired), QString());
}

TEST(LedgerLockFolder, MissingFolderFails)
{
    QTemporaryDir dir;
    LedgerLock lock(ledgerPath(dir.filePath(u"没有的文件夹"_s)));
    EXPECT_EQ(lock.acquire(), Outcome::Failed);
}

} // namespace
} // namespace corvanta::ledger
