#include "app/CommandLine.h"
#include "../exchange/StatementFixtures.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

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
        return file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                   : QByteArray();
    }

    // Every row of the trades and the stock table.
    QStringList ledgerRows() const
    {
        auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
        QStringList rows;
        for (const char* sql :
             {"SELECT * FROM gpjl ORDER BY ID", "SELECT * FROM gpmc ORDER BY id"}) {
            auto query = db.prepare(sql);
            while (query.step()) {
                QStringList cells;
                for (int column = 0; column < query.columnCount(); ++column)
                    cells << query.text(column);
                rows << cells.join(u'|');
            }
        }
        return rows;
    }

    // Writes a file under exactly these name bytes; returns the name as Qt reads it.
    QString writeRawNamed(const QByteArray& name, const QByteArray& bytes)
    {
        const QByteArray raw = QFile::encodeName(m_dir->path()) + '/' + name;
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            qFatal("cannot write %s", raw.constData());
        ::close(fd);
        m_raw << raw;
        return QFile::decodeName(raw);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QByteArray> m_raw; // files QTemporaryDir cannot see to remove

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup()
    {
        for (const QByteArray& raw : std::exchange(m_raw, {}))
            ::unlink(raw.constData());
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

    // A backup whose rows break the ledger's rules is refused before anything is
    // replaced, and no safety copy is made for it.
    void restoreChecksTheBackupsRows_data()
    {
        QTest::addColumn<QString>("change"); // SQL run on a good backup
        QTest::addColumn<QString>("says");
        QTest::newRow("text in a number column")
            << u"UPDATE gpjl SET 数量='很多' WHERE 交易状态='买入'"_s << u"数量 “很多” 不是数字"_s;
        QTest::newRow("open positions contradict the trades")
            << u"INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,虚拟卖出) VALUES "
               u"('2007-05-22','000709','唐钢股份','卖出',5777,14,'真')"_s
            << u"“唐钢股份”的持仓行共 6977 股（2 行），而它的交易记录买入 1200 股"_s;
        QTest::newRow("a date that is none")
            << u"UPDATE gpjl SET 日期='2007-13-40'"_s << u"不是有效的日期"_s;
    }
    void restoreChecksTheBackupsRows()
    {
        QFETCH(QString, change);
        QFETCH(QString, says);
        {
            auto backup = ledger::openLedger(path(u"bad.mdb"_s), ledger::loadSeedList());
            backup.exec(change.toUtf8().constData());
        }
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2);
        const QByteArray before = ledgerSha256();
        const Run result = run({u"restore"_s, path(u"bad.mdb"_s), u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
        QVERIFY2(result.err.contains(u"账本没有任何改动"_s), qPrintable(result.err));
        QCOMPARE(ledgerSha256(), before);
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 0);
    }

    // Statements as they reach the user: saved again as UTF-8, or named in GBK
    // bytes as copied from Windows (Qt reads such a name with U+FFFD in it).
    void importReadsTheStatementAsSaved_data()
    {
        using namespace exchange::fixtures;
        QTest::addColumn<QString>("broker");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("name"); // the file name's bytes
        QTest::addColumn<bool>("asMeant");    // given by the name it means, not as Qt reads it
        Cdzq sell;
        sell.operation = u"卖出"_s;
        sell.quantity = u"200"_s;
        Sczq other;
        other.code = u"600000"_s;
        other.name = u"浦发银行"_s;
        const QStringList cdzq{cdzqHeader(), Cdzq{}.line(), sell.line()};
        const QStringList sczq{sczqHeader(), Sczq{}.line(), other.line()};
        const QByteArray gbkName = QStringEncoder("GBK").encode(u"交易记录.txt"_s);
        QTest::newRow("财达证券 saved as UTF-8")
            << u"cdzq"_s << utf8StatementFile(cdzq) << QByteArray("s.txt") << false;
        QTest::newRow("首创证券 saved as UTF-8")
            << u"sczq"_s << utf8StatementFile(sczq) << QByteArray("s.txt") << false;
        QTest::newRow("a GBK file name as Qt reads it")
            << u"cdzq"_s << statementFile(cdzq) << gbkName << false;
        QTest::newRow("a GBK file name as it is meant")
            << u"sczq"_s << statementFile(sczq) << gbkName << true;
    }
    void importReadsTheStatementAsSaved()
    {
        QFETCH(QString, broker);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, name);
        QFETCH(bool, asMeant);
        const QString asRead = writeRawNamed(name, bytes);
        const QString file = asMeant ? path(u"交易记录.txt"_s) : asRead;
        const Run result = run({u"import"_s, file, u"--broker"_s, broker, u"--yes"_s});
        QVERIFY2(result.code == int(app::CommandDone), qPrintable(result.err));
        QVERIFY2(result.out.contains(u"导入成功：交易 2 笔"_s), qPrintable(result.out));
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假' AND 股票名 IN "
                       "('浦发银行','唐钢股份') AND 交易状态 IN ('买入','卖出')"),
                 qint64(3));
        QCOMPARE(count("SELECT count(*) FROM gpmc WHERE gpmc LIKE '%\xEF\xBF\xBD%'"), qint64(0));
    }

    // The program itself, given the GBK bytes of a file name as its argument (a
    // copy of it beside a ledger of its own, as the ledger lives beside the program).
    void importTakesAGbkFileNameFromTheArguments()
    {
        using namespace exchange::fixtures;
        const QString program = path(u"corvanta"_s);
        // A copy, not a link: the program finds its folder through the link.
        QVERIFY(QFile::copy(QStringLiteral(CORVANTA_EXECUTABLE), program));
        const QByteArray name = QStringEncoder("GBK").encode(u"交易记录.txt"_s);
        writeRawNamed(name, statementFile({cdzqHeader(), Cdzq{}.line()}));
        QByteArray octal;
        for (const char byte : name)
            octal += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir->path());
        process.start(u"/bin/sh"_s,
                      {u"-c"_s,
                       u"exec \"$0\" import \"$(printf '%1')\" --broker cdzq --yes"_s.arg(
                           QString::fromLatin1(octal)),
                       program});
        QVERIFY(process.waitForFinished(30000));
        const QString said =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        QVERIFY2(process.exitCode() == int(app::CommandDone), qPrintable(said));
        QVERIFY2(said.contains(u"导入成功：交易 1 笔"_s), qPrintable(said));
        QCOMPARE(count("SELECT count(*) FROM gpjl WHERE 股票名='浦发银行' AND 虚拟卖出='假'"),
                 qint64(1));
    }

    // The disk fills up while the statement is written: the user is told so in
    // words, without a line of the statement to blame, and the ledger stays.
    void importOntoAFullDiskSaysWhy()
    {
        using namespace exchange::fixtures;
        QStringList lines{sczqHeader()};
        for (int i = 0; i < 2000; ++i)
            lines << Sczq{}.line();
        writeFile(u"s.txt"_s, statementFile(lines));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), 2);
        const QStringList before = ledgerRows();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto savedHandler = signal(SIGXFSZ, SIG_IGN);
        const rlimit full{rlim_t(QFileInfo(ledgerPath()).size() + 8 * 1024), saved.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
        const Run result =
            run({u"import"_s, path(u"s.txt"_s), u"--broker"_s, u"sczq"_s, u"--yes"_s});
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, savedHandler);
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"导入失败，账本没有任何改动：磁盘已满（"_s),
                 qPrintable(result.err));
        QVERIFY2(!result.err.contains(u"第 0 行"_s), qPrintable(result.err));
        // Rolled back: the same rows (the encrypted pages written back need not be
        // the same bytes).
        QCOMPARE(ledgerRows(), before);
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
