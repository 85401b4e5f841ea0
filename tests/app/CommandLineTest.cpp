#include "app/CommandLine.h"
#include "../exchange/StatementFixtures.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

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

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

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

    // A ledger far longer than one written piece comes out whole and in order.
    void longLedgerIsExportedWhole()
    {
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<5000) "
                    "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,总金额,虚拟卖出) "
                    "SELECT '2024-01-02','600000','浦发银行','买入',i,10,i*10,'假' FROM n");
        }
        QCOMPARE(run({u"export-ledger"_s, path(u"long.csv"_s)}).code, 0);
        const QStringList lines = readText(u"long.csv"_s).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 5004); // titles, 2 + 5000 rows, the end
        QVERIFY(lines[1].startsWith(u"1,"_s));
        QVERIFY2(lines[5002].startsWith(u"5002,2024-01-02,600000,浦发银行,买入,5000,"_s),
                 qPrintable(lines[5002]));
        QVERIFY(lines[5003].isEmpty());
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
