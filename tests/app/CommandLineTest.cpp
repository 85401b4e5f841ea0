#include "app/CommandLine.h"
#include "../exchange/StatementFixtures.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerPassword.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QString ledgerPath() const { return path(u"gpmc.mdb"_s); }

    Run run(const QStringList& arguments) const
    {
        Run result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        result.code = app::runCommandLine(arguments, ledgerPath(), out, err);
        return result;
    }

    qint64 count(const char* sql) const
    {
        auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
        return db.scalarInt(sql);
    }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString readText(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QByteArray ledgerSha256() const
    {
        QFile file(ledgerPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    // A password file with the given permissions.
    void writePasswordFile(const QString& name, const QByteArray& password,
                           QFile::Permissions permissions) const
    {
        writeFile(name, password + '\n');
        QVERIFY(QFile::setPermissions(path(name), permissions));
    }

    // The ledger file opens with this personal password (none: the program's key).
    bool opensWith(const QByteArray& password) const
    {
        try {
            if (password.isEmpty())
                ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            else
                ledger::openLedger(ledgerPath(), ledger::loadSeedList(), password);
            return true;
        } catch (const ledger::LedgerOpenError&) {
            return false;
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    // A password is never asked on the terminal of whoever runs the tests.
    void initTestCase() { QVERIFY(std::freopen("/dev/null", "r", stdin)); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void passwords_data()
    {
        QTest::addColumn<QByteArray>("before"); // the ledger's password first (none: the key)
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("untouched"); // the ledger file byte for byte as it was
        QTest::addColumn<QByteArray>("after");

        const QByteArray none;
        const QByteArray old = "old 旧";
        const QByteArray fresh = "new 新";
        const QString pw = u"--password-file"_s;
        const QString newPw = u"--new-password-file"_s;
        QTest::newRow("set") << none << QStringList{u"password"_s, u"set"_s, newPw, u"new.pw"_s}
                             << 0 << u"账本密码已设置"_s << false << fresh;
        QTest::newRow("change") << old << QStringList{u"password"_s, u"change"_s, pw,
                                                      u"old.pw"_s,   newPw,       u"new.pw"_s}
                                << 0 << u"账本密码已更改"_s << false << fresh;
        QTest::newRow("remove") << old << QStringList{u"password"_s, u"remove"_s, pw, u"old.pw"_s}
                                << 0 << u"账本密码已去掉"_s << false << none;
        QTest::newRow("export with the password")
            << old << QStringList{u"export-ledger"_s, u"l.csv"_s, pw, u"old.pw"_s} << 0
            << u"账本已导出"_s << true << old;
        QTest::newRow("wrong password")
            << old << QStringList{u"export-ledger"_s, u"l.csv"_s, pw, u"wrong.pw"_s} << 1
            << u"密码不对"_s << true << old;
        QTest::newRow("wrong password for a change")
            << old << QStringList{u"password"_s, u"change"_s, pw, u"wrong.pw"_s, newPw, u"new.pw"_s}
            << 1 << u"密码不对"_s << true << old;
        QTest::newRow("password file others may read")
            << old << QStringList{u"backup"_s, u"b.mdb"_s, pw, u"loose.pw"_s} << 1 << u"chmod 600"_s
            << true << old;
        QTest::newRow("new password file others may read")
            << none << QStringList{u"password"_s, u"set"_s, newPw, u"loose.pw"_s} << 1 << u"0644"_s
            << true << none;
        QTest::newRow("missing password file")
            << old << QStringList{u"backup"_s, u"b.mdb"_s, pw, u"missing.pw"_s} << 1
            << u"找不到密码文件"_s << true << old;
        QTest::newRow("no password and no terminal") << old << QStringList{u"backup"_s, u"b.mdb"_s}
                                                     << 1 << u"--password-file"_s << true << old;
        QTest::newRow("set over a password")
            << old << QStringList{u"password"_s, u"set"_s, pw, u"old.pw"_s, newPw, u"new.pw"_s} << 1
            << u"已经设有密码"_s << true << old;
        QTest::newRow("change without a password")
            << none << QStringList{u"password"_s, u"change"_s, newPw, u"new.pw"_s} << 1
            << u"没有设密码"_s << true << none;
        QTest::newRow("the program's key as a password")
            << none << QStringList{u"password"_s, u"set"_s, newPw, u"key.pw"_s} << 1
            << u"程序自带的密钥"_s << true << none;
        QTest::newRow("no new password and no terminal")
            << none << QStringList{u"password"_s, u"set"_s} << 2 << u"--new-password-file"_s << true
            << none;
        QTest::newRow("unknown action") << none << QStringList{u"password"_s, u"reset"_s} << 2
                                        << u"set、change 或 remove"_s << true << none;
    }
    void passwords()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, says);
        QFETCH(bool, untouched);
        QFETCH(QByteArray, after);
        const auto owner = QFile::ReadOwner | QFile::WriteOwner;
        writePasswordFile(u"old.pw"_s, "old 旧", owner);
        writePasswordFile(u"new.pw"_s, "new 新", owner);
        writePasswordFile(u"wrong.pw"_s, "old", owner);
        writePasswordFile(u"key.pw"_s, "MiLor_427", owner);
        writePasswordFile(u"loose.pw"_s, "old 旧", owner | QFile::ReadGroup | QFile::ReadOther);
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            if (!before.isEmpty())
                ledger::changeLedgerPassword(db, before);
        }
        for (QString& word : arguments) {
            if (word.endsWith(u".pw"_s) || word.endsWith(u".csv"_s) || word.endsWith(u".mdb"_s))
                word = path(word);
        }
        const QByteArray sha = ledgerSha256();

        const Run result = run(arguments);
        QCOMPARE(result.code, code);
        const QString said = result.out + result.err;
        QVERIFY2(said.contains(says), qPrintable(said));
        QCOMPARE(ledgerSha256() == sha, untouched);
        QVERIFY(opensWith(after));
        if (after != before)
            QVERIFY(!opensWith(before));
        // The password never shows in what the command says.
        QVERIFY(!said.contains(u"old 旧"_s) && !said.contains(u"new 新"_s));
    }

    // A backup keeps the password the ledger had when it was made; restoring it
    // after a change asks for that password, and without one the ledger stays.
    void aBackupUnderAnOldPasswordIsNotRestoredWithoutIt()
    {
        writePasswordFile(u"old.pw"_s, "old", QFile::ReadOwner | QFile::WriteOwner);
        writePasswordFile(u"new.pw"_s, "new", QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(run({u"password"_s, u"set"_s, u"--new-password-file"_s, path(u"old.pw"_s)}).code,
                 0);
        const QString pw = u"--password-file"_s;
        QCOMPARE(run({u"backup"_s, path(u"old.mdb"_s), pw, path(u"old.pw"_s)}).code, 0);
        QCOMPARE(run({u"password"_s, u"change"_s, pw, path(u"old.pw"_s), u"--new-password-file"_s,
                      path(u"new.pw"_s)})
                     .code,
                 0);
        const QByteArray sha = ledgerSha256();
        const Run result =
            run({u"restore"_s, path(u"old.mdb"_s), u"--yes"_s, pw, path(u"new.pw"_s)});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"密码不符"_s), qPrintable(result.err));
        QCOMPARE(ledgerSha256(), sha);
        // The backup itself opens with the old password only.
        QVERIFY_THROWS_EXCEPTION(ledger::BackupError,
                                 ledger::openBackup(path(u"old.mdb"_s), "new"));
        QCOMPARE(
            ledger::openBackup(path(u"old.mdb"_s), "old").scalarInt("SELECT count(*) FROM gpjl"),
            2);
    }

    void misuse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown") << QStringList{u"frobnicate"_s} << u"未知的子命令"_s;
        QTest::newRow("backup without file") << QStringList{u"backup"_s} << u"缺少文件名"_s;
        QTest::newRow("restore unconfirmed") << QStringList{u"restore"_s, u"x.mdb"_s} << u"--yes"_s;
        QTest::newRow("import without broker")
            << QStringList{u"import"_s, u"x.txt"_s, u"--yes"_s} << u"--broker"_s;
        QTest::newRow("import unknown broker")
            << QStringList{u"import"_s, u"x.txt"_s, u"--broker"_s, u"abc"_s} << u"sczq"_s;
        QTest::newRow("two files") << QStringList{u"backup"_s, u"a"_s, u"b"_s} << u"无法理解“b”"_s;
    }
    void misuse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        const Run result = run(arguments);
        QCOMPARE(result.code, int(app::CommandMisused));
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
    }

    void helpNamesEverySubcommand()
    {
        const Run result = run({u"--help"_s});
        QCOMPARE(result.code, 0);
        for (const char* word :
             {"backup", "restore", "import", "export-ledger", "export-summary", "--yes"})
            QVERIFY2(result.out.contains(QLatin1StringView(word)), word);
        QVERIFY(!QFile::exists(ledgerPath()));
    }

    void backupThenRestoreRoundTrip()
    {
        QCOMPARE(run({u"backup"_s, path(u"copy.mdb"_s)}).code, 0);
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            db.exec("DELETE FROM gpjl; DELETE FROM gpmc WHERE gpid<>'000709'");
        }
        const Run restored = run({u"restore"_s, path(u"copy.mdb"_s), u"--yes"_s});
        QCOMPARE(restored.code, 0);
        QVERIFY2(restored.out.contains(u"数据导入成功"_s), qPrintable(restored.out));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2); // the sample trade and its position
        QVERIFY(count("SELECT count(*) FROM gpmc") > 1000);
        // The state before the restore is kept.
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 1);
    }

    void failuresNameTheReason_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::newRow("backup into a missing folder")
            << QStringList{u"backup"_s, u"/nonexistent-folder/copy.mdb"_s} << u"文件夹不存在"_s;
        QTest::newRow("restore of a missing file")
            << QStringList{u"restore"_s, u"missing.mdb"_s, u"--yes"_s} << u"找不到备份文件"_s;
        QTest::newRow("import of a missing file")
            << QStringList{u"import"_s, u"missing.txt"_s, u"--broker"_s, u"sczq"_s, u"--yes"_s}
            << u"无法读取对账单"_s;
        QTest::newRow("export into a missing folder")
            << QStringList{u"export-ledger"_s, u"/nonexistent-folder/l.csv"_s} << u"无法写入"_s;
    }
    void failuresNameTheReason()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        const Run result = run(arguments);
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
    }

    void restoreOfANonBackupLeavesTheLedger()
    {
        writeFile(u"text.mdb"_s, QByteArray(2048, 'x'));
        const Run result = run({u"restore"_s, path(u"text.mdb"_s), u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"不是本程序的备份文件"_s), qPrintable(result.err));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2);
    }

    void refusesWhileAWindowHoldsTheLedger()
    {
        ledger::LedgerLock window(ledgerPath());
        QCOMPARE(window.acquire(), ledger::LedgerLock::Outcome::Acquired);
        const Run result = run({u"backup"_s, path(u"copy.mdb"_s)});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"窗口"_s), qPrintable(result.err));
        QVERIFY(!QFile::exists(path(u"copy.mdb"_s)));
    }

    void importAsksFirstThenSkipsRepeatedLines()
    {
        using namespace exchange::fixtures;
        writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        const QStringList import{u"import"_s, path(u"s.txt"_s), u"--broker"_s, u"sczq"_s};

        const Run asked = run(import);
        QCOMPARE(asked.code, int(app::CommandMisused));
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 1);

        const Run first = run(import + QStringList{u"--yes"_s});
        QCOMPARE(first.code, 0);
        QVERIFY2(first.out.contains(u"导入成功"_s), qPrintable(first.out));
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 2);

        const Run again = run(import + QStringList{u"--yes"_s});
        QCOMPARE(again.code, 0);
        QVERIFY2(again.out.contains(u"1 笔与账本中已有的交易相同"_s), qPrintable(again.out));
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 2);

        QCOMPARE(run(import + QStringList{u"--yes"_s, u"--replace"_s}).code, 0);
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 1);
    }

    // Statements through "import ... --yes": what the run says and returns, and
    // what the ledger (the sample trade and its position first) holds afterwards.
    void importOutcomes_data()
    {
        using namespace exchange::fixtures;
        QTest::addColumn<QString>("broker");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QString>("before"); // SQL run on the ledger first
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::addColumn<qint64>("rows"); // every gpjl row afterwards
        Sczq badDate;
        badDate.date = u"2007-13-01"_s;
        Sczq bonus;
        bonus.operation = u"红利"_s;
        Sczq other;
        other.name = u"戊股份"_s;
        other.code = u"000009"_s;
        Cdzq transfer;
        transfer.operation = u"转托管"_s;
        transfer.quantity = u"-200"_s;
        const QStringList yes{u"--yes"_s};
        QTest::newRow("refused lines are named and the rest lands")
            << u"sczq"_s << QStringList{sczqHeader(), badDate.line(), Sczq{}.line()} << yes
            << QString() << int(app::CommandDone) << u"第 2 行未导入"_s << qint64(2 + 1);
        QTest::newRow("a line the ledger refuses: nothing lands")
            << u"sczq"_s << QStringList{sczqHeader(), Sczq{}.line(), other.line()} << yes
            << u"CREATE TRIGGER refuse BEFORE INSERT ON gpjl WHEN NEW.股票名='戊股份' "
               u"BEGIN SELECT RAISE(ABORT,'refused'); END"_s
            << int(app::CommandFailed) << u"第 3 行，refused"_s << qint64(2);
        // A statement without a trade is refused before anything is written.
        QTest::newRow("replacing with every line skipped: refused, the ledger stays")
            << u"sczq"_s << QStringList{sczqHeader(), bonus.line()}
            << QStringList{u"--replace"_s, u"--yes"_s} << QString() << int(app::CommandFailed)
            << u"没有读到任何交易记录"_s << qint64(2);
        QTest::newRow("财达证券: a transfer sells from the position")
            << u"cdzq"_s << QStringList{cdzqHeader(), Cdzq{}.line(), transfer.line()} << yes
            << QString() << int(app::CommandDone) << u"导入成功：交易 2 笔"_s << qint64(2 + 3);
        QTest::newRow("a header as the last line: nothing to import")
            << u"sczq"_s << QStringList{Sczq{}.line(), sczqHeader()} << yes << QString()
            << int(app::CommandFailed) << u"没有读到任何交易记录"_s << qint64(2);
    }
    void importOutcomes()
    {
        QFETCH(QString, broker);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, flags);
        QFETCH(QString, before);
        QFETCH(int, code);
        QFETCH(QString, says);
        QFETCH(qint64, rows);
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            if (!before.isEmpty())
                db.exec(before.toUtf8().constData());
        }
        writeFile(u"s.txt"_s, exchange::fixtures::statementFile(lines));
        const Run result =
            run(QStringList{u"import"_s, path(u"s.txt"_s), u"--broker"_s, broker} + flags);
        QCOMPARE(result.code, code);
        const QString said = result.out + result.err;
        QVERIFY2(said.contains(says), qPrintable(said));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), rows);
    }

    void restoreOfAnotherKeyLeavesTheLedger()
    {
        {
            auto other = sql::Database::open(path(u"other.mdb"_s), "another",
                                             sql::Database::Mode::ReadWriteCreate);
            ledger::ensureSchema(other, ledger::loadSeedList());
        }
        const Run result = run({u"restore"_s, path(u"other.mdb"_s), u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"密码不符"_s), qPrintable(result.err));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2);
    }

    // A statement in the other broker's layout gives no trade: with --replace it
    // would have emptied the ledger and reported success.
    void importOfAnotherLayoutIsRefusedAndLeavesTheLedger()
    {
        using namespace exchange::fixtures;
        writeFile(u"other.txt"_s, statementFile({cdzqHeader(), Cdzq{}.line()}));
        const Run result = run({u"import"_s, path(u"other.txt"_s), u"--broker"_s, u"sczq"_s,
                                u"--yes"_s, u"--replace"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"没有读到任何交易记录"_s), qPrintable(result.err));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2);
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 0);
    }

    void exportsWriteCsv()
    {
        QCOMPARE(run({u"export-ledger"_s, path(u"ledger.csv"_s)}).code, 0);
        const QStringList ledgerLines = readText(u"ledger.csv"_s).split(u"\r\n"_s);
        QVERIFY(ledgerLines.first().startsWith(u"ID,日期,股票代码"_s));
        QFile raw(path(u"ledger.csv"_s));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.read(3), QByteArray("\xEF\xBB\xBF")); // the UTF-8 mark
        QCOMPARE(ledgerLines.size(), 4); // titles, the sample trade and its position, the end

        QCOMPARE(run({u"export-summary"_s, path(u"summary.csv"_s)}).code, 0);
        const QStringList summaryLines = readText(u"summary.csv"_s).split(u"\r\n"_s);
        QVERIFY(summaryLines.size() >= 3);
    }

    // The real program on a terminal (script(1) gives it one): the password is asked
    // there and not echoed, and a wrong one ends with exit code 1.
    void thePasswordIsAskedOnTheTerminalWithoutEcho_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<int>("code");
        QTest::newRow("right") << QByteArray("终端 secret") << 0;
        QTest::newRow("wrong") << QByteArray("not it") << 1;
    }
    void thePasswordIsAskedOnTheTerminalWithoutEcho()
    {
        QFETCH(QByteArray, typed);
        QFETCH(int, code);
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            ledger::changeLedgerPassword(db, "终端 secret");
        }
        // The program beside its ledger: a copy of the executable in the folder.
        const QString program = path(u"corvanta"_s);
        QVERIFY(QFile::copy(QStringLiteral(CORVANTA_EXECUTABLE), program));
        QProcess terminal;
        terminal.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        terminal.setProcessEnvironment(environment);
        terminal.start(u"script"_s,
                       {u"-qec"_s, program + u" backup "_s + path(u"copy.mdb"_s), u"/dev/null"_s});
        QVERIFY(terminal.waitForStarted());
        QByteArray shown;
        while (!shown.contains("请输入密码") && terminal.waitForReadyRead(10000))
            shown += terminal.readAll();
        QVERIFY2(shown.contains("请输入密码"), shown.constData());
        QTest::qWait(200); // the echo is off once the prompt is out
        terminal.write(typed + '\n');
        QVERIFY(terminal.waitForFinished(20000));
        shown += terminal.readAll();
        QCOMPARE(terminal.exitCode(), code);
        QVERIFY2(!shown.contains(typed), shown.constData());
        QCOMPARE(QFile::exists(path(u"copy.mdb"_s)), code == 0);
        if (code != 0)
            QVERIFY2(shown.contains("密码不对"), shown.constData());
    }

    void theProgramRunsASubcommandWithoutADisplay()
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(CORVANTA_EXECUTABLE), {u"--help"_s});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromUtf8(process.readAllStandardOutput()).contains(u"export-summary"_s));
        QCOMPARE(run({u"nothing"_s}).code, int(app::CommandMisused));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
