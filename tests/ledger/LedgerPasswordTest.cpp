// A personal password for the ledger: set, changed and removed on a ledger with
// trades; what opens it then, and what does not (the program's key, the old
// password, the sqlcipher tool); a wrong password at start; backups made under
// another password.

#include "ledger/LedgerPassword.h"
#include "LedgerChecksums.h"
#include "LedgerTestSupport.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerRestore.h"
#include "ledger/SafetyCopies.h"
#include "ledger/TradeLedger.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {
namespace {

using testing::buy;
using testing::dumpLedger;
using testing::tinySeedList;

const QByteArray programKey = QByteArrayLiteral("MiLor_427");

// What the sqlcipher tool prints for a count of the trades under `key`.
QString sqlcipherCount(const QString& path, const QByteArray& key)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(u"sqlcipher"_s, {path});
    if (!tool.waitForStarted())
        return u"sqlcipher did not start"_s;
    tool.write("PRAGMA key = '" + key + "';\nSELECT count(*) FROM gpjl;\n");
    tool.closeWriteChannel();
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAll()).trimmed();
}

void recorded(sql::Database& db, const TradeEntry& entry)
{
    EXPECT_TRUE(TradeLedger(db).record(entry).recorded());
}

// Opens with the program's key or a personal password; the reason when refused.
std::optional<LedgerOpenError::Reason> refusalOpening(const QString& path, const QByteArray& key)
{
    try {
        if (key == programKey)
            openLedger(path, tinySeedList());
        else
            openLedger(path, tinySeedList(), key);
    } catch (const LedgerOpenError& error) {
        return error.reason();
    }
    return std::nullopt;
}

class LedgerPasswordTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }
    QString ledgerPath() const { return path(u"gpmc.mdb"_s); }

    // A ledger with trades, under `password` (none: the program's key).
    sql::Database ledgerWithTrades(const QByteArray& password)
    {
        sql::Database db = openLedger(ledgerPath(), tinySeedList());
        recorded(db, buy(u"浦发银行"_s, u"600000"_s, u"300"_s));
        if (!password.isEmpty())
            changeLedgerPassword(db, password);
        return db;
    }

    QTemporaryDir m_dir;
};

struct PasswordChange {
    const char* name;
    QByteArray before; // none: the program's key
    QByteArray after;
};

void PrintTo(const PasswordChange& change, std::ostream* os)
{
    *os << change.name;
}

class PasswordChangeTest : public LedgerPasswordTest,
                           public ::testing::WithParamInterface<PasswordChange> {};

TEST_P(PasswordChangeTest, TheLedgerAndItsCopiesOpenWithTheNewKeyOnly)
{
    const PasswordChange change = GetParam();
    sql::Database db = ledgerWithTrades(change.before);
    const QStringList rows = dumpLedger(db);
    ASSERT_GE(rows.size(), 2);

    changeLedgerPassword(db, change.after);

    const QByteArray oldKey = change.before.isEmpty() ? programKey : change.before;
    const QByteArray newKey = change.after.isEmpty() ? programKey : change.after;
    // The program goes on with the same connection, now on the new file.
    EXPECT_EQ(db.key(), newKey);
    EXPECT_EQ(hasPersonalPassword(db), !change.after.isEmpty());
    EXPECT_EQ(dumpLedger(db), rows);
    recorded(db, buy(u"浦发银行"_s, u"600000"_s, u"100"_s));
    const QStringList written = dumpLedger(db);
    const QString copy = SafetyCopies(ledgerPath()).make(db, QDateTime::currentDateTime());
    db = sql::Database::openInMemory();

    // Nothing of the re-encryption is left beside the ledger.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"gpmc.mdb"_s});
    EXPECT_EQ(refusalOpening(ledgerPath(), newKey), std::nullopt);
    EXPECT_NE(refusalOpening(ledgerPath(), oldKey), std::nullopt);
    {
        sql::Database reopened = change.after.isEmpty()
                                     ? openLedger(ledgerPath(), tinySeedList())
                                     : openLedger(ledgerPath(), tinySeedList(), change.after);
        EXPECT_EQ(dumpLedger(reopened), written);
    }

    // The sqlcipher tool reads the ledger and its safety copy with the new key
    // only: the program's key opens neither once a personal password is set.
    for (const QString& file : {ledgerPath(), copy}) {
        EXPECT_EQ(sqlcipherCount(file, newKey), QString::number(written.size()))
            << file.toStdString();
        EXPECT_TRUE(
            sqlcipherCount(file, oldKey).contains(u"file is encrypted or is not a database"_s))
            << file.toStdString();
    }
    EXPECT_EQ(openBackup(copy, newKey).scalarInt("SELECT count(*) FROM gpjl"), written.size());
    // A copy under a personal password opens with no other key (a copy under the
    // program's key opens whatever password is tried first: it may be older).
    if (!change.after.isEmpty()) {
        try {
            openBackup(copy, oldKey);
            ADD_FAILURE() << "the old key opened the safety copy";
        } catch (const BackupError& error) {
            EXPECT_TRUE(error.keyRefused());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryChange, PasswordChangeTest,
    ::testing::Values(PasswordChange{"set", {}, QByteArrayLiteral("我的 secret")},
                      PasswordChange{"change", QByteArrayLiteral("old one"),
                                     QByteArrayLiteral("new one")},
                      PasswordChange{"remove", QByteArrayLiteral("old one"), {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(LedgerPasswordTest, AWrongPasswordOpensNothingAndLeavesTheFileByteIdentical)
{
    ledgerWithTrades(QByteArrayLiteral("right"));
    const QByteArray before = testsupport::fileSha256(ledgerPath());

    try {
        openLedger(ledgerPath(), tinySeedList());
        ADD_FAILURE() << "the program's key opened a ledger with a password";
    } catch (const LedgerOpenError& error) {
        EXPECT_EQ(error.reason(), LedgerOpenError::Reason::NotALedger);
        EXPECT_TRUE(error.mayHavePassword());
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(ledgerPath())));
    }
    for (const QByteArray& wrong : {QByteArrayLiteral("wrong"), QByteArrayLiteral("Right"),
                                    QByteArrayLiteral(""), programKey}) {
        try {
            openLedger(ledgerPath(), tinySeedList(), wrong);
            ADD_FAILURE() << "opened with " << wrong.constData();
        } catch (const LedgerOpenError& error) {
            EXPECT_EQ(error.reason(), LedgerOpenError::Reason::WrongPassword);
            EXPECT_TRUE(error.message().startsWith(wrongPasswordText()));
        }
    }
    EXPECT_EQ(testsupport::fileSha256(ledgerPath()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"gpmc.mdb"_s});
    EXPECT_NO_THROW(openLedger(ledgerPath(), tinySeedList(), QByteArrayLiteral("right")));
}

// Only a file that could be an encrypted ledger is asked for a password; every
// other unusable file keeps the plain refusal.
TEST_F(LedgerPasswordTest, OnlyAFileThatLooksEncryptedMayHaveAPassword)
{
    struct Case {
        QString name;
        QByteArray bytes;
        bool mayHavePassword;
    };
    QByteArray randomPages(4096, '\0');
    for (qsizetype i = 0; i < randomPages.size(); ++i)
        randomPages[i] = char((i * 7919 + 13) % 251);
    QByteArray plainHeader("SQLite format 3");
    plainHeader.append('\0');
    plainHeader.append(QByteArray(4096 - plainHeader.size(), '\1'));
    const QList<Case> cases = {
        {u"pages of noise (another key)"_s, randomPages, true},
        {u"a text file"_s, QByteArrayLiteral("not a ledger\n"), false},
        {u"noise cut short"_s, randomPages.left(3000), false},
        {u"a plain database"_s, plainHeader, false},
    };
    for (const Case& c : cases) {
        QFile file(ledgerPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        try {
            openLedger(ledgerPath(), tinySeedList());
            ADD_FAILURE() << c.name.toStdString();
        } catch (const LedgerOpenError& error) {
            EXPECT_EQ(error.reason(), LedgerOpenError::Reason::NotALedger) << c.name.toStdString();
            EXPECT_EQ(error.mayHavePassword(), c.mayHavePassword) << c.name.toStdString();
        }
    }
}

TEST_F(LedgerPasswordTest, ABackupUnderAnOldPasswordRestoresWithThatPasswordOnly)
{
    sql::Database db = ledgerWithTrades(QByteArrayLiteral("old"));
    const QStringList backedUp = dumpLedger(db);
    backupLedger(db, path(u"old.mdb"_s));
    changeLedgerPassword(db, QByteArrayLiteral("new"));
    db.exec("DELETE FROM gpjl");

    for (const QByteArray& key : {QByteArray(), QByteArrayLiteral("wrong"), programKey}) {
        try {
            LedgerRestore restore(db, path(u"old.mdb"_s), key);
            ADD_FAILURE() << "restored with " << key.constData();
        } catch (const BackupError& error) {
            EXPECT_TRUE(error.keyRefused());
        }
    }
    EXPECT_TRUE(dumpLedger(db).isEmpty());

    LedgerRestore restore(db, path(u"old.mdb"_s), QByteArrayLiteral("old"));
    restore.finish();
    EXPECT_EQ(dumpLedger(db).size(), backedUp.size());
    EXPECT_EQ(db.key(), QByteArrayLiteral("new"));
}

TEST_F(LedgerPasswordTest, ABackupFromBeforeThePasswordRestoresWithoutAsking)
{
    sql::Database db = ledgerWithTrades({});
    const QStringList backedUp = dumpLedger(db);
    backupLedger(db, path(u"plain.mdb"_s));
    changeLedgerPassword(db, QByteArrayLiteral("pw"));
    db.exec("DELETE FROM gpjl");

    LedgerRestore restore(db, path(u"plain.mdb"_s));
    restore.finish();
    EXPECT_EQ(dumpLedger(db).size(), backedUp.size());
}

TEST_F(LedgerPasswordTest, NewPasswordsThatAreRefused)
{
    EXPECT_FALSE(newPasswordRefusal({}, {}).isEmpty());
    EXPECT_FALSE(newPasswordRefusal("one", "two").isEmpty());
    EXPECT_FALSE(newPasswordRefusal(programKey, programKey).isEmpty());
    EXPECT_TRUE(newPasswordRefusal("好密码", "好密码").isEmpty());
}

} // namespace
} // namespace corvanta::ledger
