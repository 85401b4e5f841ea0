// The disk fills up, or the ledger's folder becomes read-only, while the program
// runs: every write fails with the common write-failure message and leaves the
// ledger exactly as it was.

#include "../ledger/LedgerTestSupport.h"
#include "FileSizeLimit.h"
#include "ledger/LedgerFile.h"
#include "ledger/StatementImport.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Database.h"
#include "windows/DatabaseFailure.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvanta {
using testsupport::FileSizeLimit;

namespace {

using ledger::testing::buy;
using ledger::testing::dumpLedger;
using ledger::testing::invariantHolds;
using ledger::testing::tinySeedList;

const QString writeFailureLead = QStringLiteral("账本写入失败，未做任何更改：");

// A statement big enough to outgrow a few free pages.
QList<ledger::StatementTrade> manyTrades()
{
    QList<ledger::StatementTrade> trades;
    for (int line = 1; line <= 2000; ++line) {
        ledger::StatementTrade trade;
        trade.line = line;
        trade.date = QStringLiteral("2009-04-01");
        trade.code = QStringLiteral("600000");
        trade.name = QStringLiteral("浦发银行");
        trade.operation = QStringLiteral("买入");
        trade.buy = true;
        trade.shares = 100;
        trade.price = 10.5;
        trade.fees = 5;
        trade.total = 1055;
        trade.commission = 5;
        trades << trade;
    }
    return trades;
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        before = dumpLedger(db);
    }
    // Room for the journal's first pages, far less than the statement needs.
    qint64 littleRoom() const { return QFileInfo(path).size() + 8 * 1024; }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("gpmc.mdb"));
    sql::Database db = ledger::openLedger(path, tinySeedList());
    QStringList before;
};

TEST_F(FullDisk, ImportFailsAndLeavesTheLedger)
{
    ledger::StatementImportOutcome outcome;
    {
        const FileSizeLimit full(littleRoom());
        ASSERT_TRUE(full.applied());
        outcome = ledger::applyStatement(db, manyTrades(), {});
    }
    EXPECT_FALSE(outcome.committed);
    // The reason in words, SQLite's text after it; no line of the statement is to blame.
    EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("磁盘已满（")))
        << outcome.error.toStdString();
    EXPECT_EQ(outcome.stoppedAtLine, 0);
    EXPECT_EQ(dumpLedger(db), before);
    EXPECT_TRUE(invariantHolds(db));

    // Once there is room again the same import succeeds.
    EXPECT_TRUE(ledger::applyStatement(db, manyTrades(), {}).committed);
}

TEST_F(FullDisk, RecordingFailsWithTheWriteFailureMessage)
{
    // Fill the free pages first, so the next trade needs the file to grow.
    ASSERT_TRUE(ledger::applyStatement(db, manyTrades(), {}).committed);
    before = dumpLedger(db);
    const FileSizeLimit full(QFileInfo(path).size());
    ASSERT_TRUE(full.applied());
    ledger::TradeLedger ledger(db);
    for (int i = 0; i < 500; ++i) {
        before = dumpLedger(db);
        try {
            ledger.record(
                buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("100")));
        } catch (const sql::Error& error) {
            // A grown file gives "database or disk is full", a refused write "disk I/O error".
            EXPECT_TRUE(windows::databaseFailureText(windows::LedgerAccess::Write, error)
                            .startsWith(writeFailureLead));
            EXPECT_EQ(dumpLedger(db), before);
            EXPECT_TRUE(invariantHolds(db));
            return;
        }
    }
    FAIL() << "the disk never filled";
}

// The folder is made read-only while the ledger is open. Root ignores permissions,
// so as root the session runs in a child process as the unprivileged user nobody.
// The child reports a failed check by its exit code and a line on stderr.
int readOnlyFolderSession(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("gpmc.mdb"));
    auto check = [](bool ok, const char* what) {
        if (!ok)
            std::fprintf(stderr, "%s\n", what);
        return ok;
    };
    sql::Database db = ledger::openLedger(path, tinySeedList());
    ledger::TradeLedger ledger(db);
    if (!check(ledger
                   .record(buy(QStringLiteral("浦发银行"), QStringLiteral("600000"),
                               QStringLiteral("100")))
                   .recorded(),
               "the first trade was not recorded"))
        return 1;
    const QStringList before = dumpLedger(db);
    if (!check(::chmod(QFile::encodeName(folder).constData(), 0555) == 0, "chmod failed"))
        return 1;
    bool failed = false;
    try {
        ledger.record(
            buy(QStringLiteral("浦发银行"), QStringLiteral("600000"), QStringLiteral("100")));
    } catch (const sql::Error& error) {
        failed = check(windows::databaseFailureText(windows::LedgerAccess::Write, error)
                           .startsWith(writeFailureLead),
                       "not the write-failure message");
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (!check(failed, "the write in the read-only folder did not fail"))
        return 1;
    if (!check(dumpLedger(db) == before, "the ledger changed"))
        return 1;
    return 0;
}

TEST(ReadOnlyFolder, WriteFailsAndLeavesTheLedger)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (::geteuid() != 0) {
        EXPECT_EQ(readOnlyFolderSession(dir.path()), 0);
        return;
    }
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chown(folder.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(90);
        int code = 91;
        try {
            code = readOnlyFolderSession(dir.path());
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace corvanta
