// The command line as a user calls it: the built program runs as a child process
// without a display, beside its own ledger in a folder of its own. Each case
// checks the exit code, what the program said and the ledger's sha256.

#include "app/CommandLine.h"
#include "../exchange/StatementFixtures.h"
#include "FileSizeLimit.h"
#include "LedgerChecksums.h"
#include "app/Version.h"
#include "ledger/EventLedger.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerPassword.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

struct Run {
    int code = -1; // -1 when the program crashed
    QString out;
    QString err;
    QString said() const { return out + err; }
};

// Writes to files of the child stop at `fileSizeLimit` bytes, as on a full disk.
qint64 fileSizeLimit = -1;

void limitFileSize()
{
    if (fileSizeLimit >= 0)
        testsupport::FileSizeLimit::applyToThisProcess(fileSizeLimit);
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QString ledgerPath() const { return path(u"gpmc.mdb"_s); }

    // The program's own copy in `folder`: its ledger is the one beside it.
    void placeProgram(const QString& folder) const
    {
        const QString program = folder + u"/corvanta"_s;
        if (link(QFile::encodeName(m_program).constData(),
                 QFile::encodeName(program).constData()) != 0)
            QVERIFY(QFile::copy(m_program, program));
    }

    Run runIn(const QString& folder, const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.insert(u"HOME"_s, m_dir->path());
        environment.insert(u"XDG_DATA_HOME"_s, m_dir->path() + u"/data"_s);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.setChildProcessModifier(limitFileSize);
        process.start(folder + u"/corvanta"_s, arguments);
        Run result;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        if (process.exitStatus() == QProcess::NormalExit)
            result.code = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    Run run(const QStringList& arguments) const { return runIn(m_dir->path(), arguments); }

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

    // Files in the folder whose names start with `name`, hidden ones included.
    QStringList filesNamed(const QString& name) const
    {
        return QDir(m_dir->path())
            .entryList({name + u'*', u'.' + name + u'*'},
                       QDir::Files | QDir::Hidden | QDir::System);
    }

    // A holder of the ledger that was killed: its lock file stays behind.
    void killedHolder() const
    {
        const pid_t child = fork();
        if (child == 0) {
            ledger::LedgerLock lock(ledgerPath(), ledger::LedgerLock::Holder::Window);
            if (lock.acquire() != ledger::LedgerLock::Outcome::Acquired)
                _exit(1);
            raise(SIGKILL);
            _exit(2);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        QVERIFY(QFile::exists(ledger::LedgerLock::lockPath(ledgerPath())));
    }

    // Brings the folder into the state a row names.
    // 10派3元送2股转3股 of the sample stock, which holds 1200 shares since 2007.
    static ledger::EventEntry sampleEvent()
    {
        ledger::EventEntry event;
        event.code = u"000709"_s;
        event.name = u"唐钢股份"_s;
        event.record = QDate(2008, 6, 20);
        event.ex = QDate(2008, 6, 23);
        event.cash = u"3"_s;
        event.bonus = u"2"_s;
        event.transfer = u"3"_s;
        return event;
    }

    void prepare(const QString& setup)
    {
        using namespace exchange::fixtures;
        if (setup.isEmpty())
            return;
        if (setup == u"link to the ledger"_s) {
            QVERIFY(QFile::link(u"gpmc.mdb"_s, path(u"link.mdb"_s)));
        } else if (setup == u"link to the journal"_s) {
            QVERIFY(QFile::link(u"gpmc.mdb-journal"_s, path(u"j.csv"_s))); // dangling
        } else if (setup == u"a safety copy"_s) {
            QVERIFY(QDir().mkpath(path(u"backups"_s)));
            writeFile(u"backups/gpmc-20260101-090000.mdb"_s, "a safety copy");
        } else if (setup == u"a backup and a changed ledger"_s) {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            ledger::backupLedger(db, path(u"b.mdb"_s));
            db.exec("DELETE FROM gpjl");
        } else if (setup == u"an event"_s) {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            QVERIFY(ledger::EventLedger(db).add(sampleEvent(), false).saved());
        } else if (setup == u"a statement"_s) {
            writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        } else if (setup == u"an empty lock file"_s) {
            writeFile(u"gpmc.mdb.lock"_s, {});
        } else if (setup == u"a killed holder"_s) {
            killedHolder();
        } else if (setup == u"a window holds the ledger"_s ||
                   setup == u"a command holds the ledger"_s) {
            const bool window = setup.contains(u"window"_s);
            m_holder = std::make_unique<ledger::LedgerLock>(
                ledgerPath(),
                window ? ledger::LedgerLock::Holder::Window : ledger::LedgerLock::Holder::Command,
                window ? QString() : u"import"_s);
            QCOMPARE(m_holder->acquire(), ledger::LedgerLock::Outcome::Acquired);
        } else if (setup == u"a statement on a full disk"_s) {
            prepare(u"a statement"_s);
            fileSizeLimit = 64;
        } else if (setup == u"a full disk"_s) {
            fileSizeLimit = 64;
        } else if (setup == u"a read-only folder"_s) {
            QVERIFY(QDir().mkpath(path(u"ro"_s)));
            QVERIFY(QFile::setPermissions(path(u"ro"_s), QFile::ReadOwner | QFile::ExeOwner));
        } else {
            QFAIL(qPrintable(u"unknown set-up: "_s + setup));
        }
    }

    QString m_program;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ledger::LedgerLock> m_holder;
    QList<QByteArray> m_raw; // files QTemporaryDir cannot see to remove

private Q_SLOTS:
    void initTestCase()
    {
        // A password is never asked on the terminal of whoever runs the tests.
        QVERIFY(std::freopen("/dev/null", "r", stdin));
        // One copy of the program on the temporary folders' disk, linked into each
        // case's folder.
        m_programDir = std::make_unique<QTemporaryDir>();
        m_program = m_programDir->filePath(u"corvanta"_s);
        QVERIFY(QFile::copy(QStringLiteral(CORVANTA_EXECUTABLE), m_program));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        placeProgram(m_dir->path());
        ledger::openLedger(ledgerPath(), ledger::loadSeedList()); // the sample trade
    }

    void cleanup()
    {
        m_holder.reset();
        fileSizeLimit = -1;
        for (const QByteArray& raw : std::exchange(m_raw, {}))
            ::unlink(raw.constData());
        if (m_dir)
            QFile::setPermissions(path(u"ro"_s),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Each call: the folder's state first, then what the program returns and says
    // (every text listed), whether the ledger changed, and a file the call must
    // not leave behind (nor any temporary file of that name).
    void calls_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<bool>("ledgerChanges");
        QTest::addColumn<QString>("absent");

        const int done = app::CommandDone;
        const int failed = app::CommandFailed;
        const int misused = app::CommandMisused;
        const QString usage = u"用法：corvanta"_s;
        const QString lock = u"锁定文件："_s; // followed by its path, checked in the test

        // Files the ledger lives by are never written over.
        QTest::newRow("export-ledger onto the ledger")
            << QString() << QStringList{u"export-ledger"_s, u"gpmc.mdb"_s} << failed
            << QStringList{u"gpmc.mdb"_s, u"这就是正在使用的账本文件"_s} << false << QString();
        QTest::newRow("export-summary onto the ledger")
            << QString() << QStringList{u"export-summary"_s, u"./gpmc.mdb"_s} << failed
            << QStringList{u"这就是正在使用的账本文件"_s} << false << QString();
        QTest::newRow("backup onto the ledger")
            << QString() << QStringList{u"backup"_s, u"gpmc.mdb"_s} << failed
            << QStringList{u"这就是正在使用的账本文件"_s} << false << QString();
        QTest::newRow("export-ledger onto a link to the ledger")
            << u"link to the ledger"_s << QStringList{u"export-ledger"_s, u"link.mdb"_s} << failed
            << QStringList{u"这就是正在使用的账本文件"_s} << false << QString();
        QTest::newRow("backup onto a link to the ledger")
            << u"link to the ledger"_s << QStringList{u"backup"_s, u"link.mdb"_s} << failed
            << QStringList{u"这就是正在使用的账本文件"_s} << false << QString();
        QTest::newRow("backup onto the lock")
            << QString() << QStringList{u"backup"_s, u"gpmc.mdb.lock"_s} << failed
            << QStringList{u"锁定文件"_s} << false << QString();
        QTest::newRow("backup onto the journal")
            << QString() << QStringList{u"backup"_s, u"gpmc.mdb-journal"_s} << failed
            << QStringList{u"日志文件"_s} << false << u"gpmc.mdb-journal"_s;
        QTest::newRow("export-ledger onto the write-ahead log")
            << QString() << QStringList{u"export-ledger"_s, u"gpmc.mdb-wal"_s} << failed
            << QStringList{u"日志文件"_s} << false << u"gpmc.mdb-wal"_s;
        QTest::newRow("export-summary onto the shared memory")
            << QString() << QStringList{u"export-summary"_s, u"gpmc.mdb-shm"_s} << failed
            << QStringList{u"日志文件"_s} << false << u"gpmc.mdb-shm"_s;
        QTest::newRow("export-ledger through a dangling link to the journal")
            << u"link to the journal"_s << QStringList{u"export-ledger"_s, u"j.csv"_s} << failed
            << QStringList{u"日志文件"_s} << false << u"gpmc.mdb-journal"_s;
        QTest::newRow("backup onto a safety copy")
            << u"a safety copy"_s << QStringList{u"backup"_s, u"backups/gpmc-20260101-090000.mdb"_s}
            << failed << QStringList{u"安全备份文件夹"_s} << false << QString();
        QTest::newRow("export-summary into the safety-copy folder")
            << u"a safety copy"_s << QStringList{u"export-summary"_s, u"backups/s.csv"_s} << failed
            << QStringList{u"安全备份文件夹"_s} << false << u"backups/s.csv"_s;

        // A write that fails says why and leaves nothing.
        QTest::newRow("export-ledger onto a full disk")
            << u"a full disk"_s << QStringList{u"export-ledger"_s, u"l.csv"_s} << failed
            << QStringList{u"无法写入"_s, u"磁盘可能已满"_s} << false << u"l.csv"_s;
        QTest::newRow("export-summary onto a full disk")
            << u"a full disk"_s << QStringList{u"export-summary"_s, u"s.csv"_s} << failed
            << QStringList{u"磁盘可能已满"_s} << false << u"s.csv"_s;
        QTest::newRow("import onto a full disk")
            << u"a statement on a full disk"_s
            << QStringList{u"import"_s, u"s.txt"_s, u"--broker"_s, u"sczq"_s, u"--yes"_s} << failed
            << QStringList{u"没有改动账本"_s, u"磁盘"_s} << false << u"backups/gpmc-"_s;
        QTest::newRow("export-ledger into a read-only folder")
            << u"a read-only folder"_s << QStringList{u"export-ledger"_s, u"ro/l.csv"_s} << failed
            << QStringList{u"文件夹不允许写入"_s} << false << u"ro/l.csv"_s;
        QTest::newRow("export-ledger into a missing folder")
            << QString() << QStringList{u"export-ledger"_s, u"/nonexistent-folder/l.csv"_s}
            << failed << QStringList{u"无法写入"_s, u"文件夹不存在"_s} << false << QString();

        // The lock: only a live holder keeps anyone out, and the refusal names it.
        QTest::newRow("an empty lock file locks nobody out")
            << u"an empty lock file"_s << QStringList{u"backup"_s, u"copy.mdb"_s} << done
            << QStringList{u"备份成功"_s} << false << QString();
        QTest::newRow("a killed holder's lock locks nobody out")
            << u"a killed holder"_s << QStringList{u"export-ledger"_s, u"l.csv"_s} << done
            << QStringList{u"账本已导出"_s} << false << QString();
        QTest::newRow("a window holds the ledger")
            << u"a window holds the ledger"_s << QStringList{u"backup"_s, u"copy.mdb"_s} << failed
            << QStringList{u"正由运行中的窗口使用"_s, lock} << false << u"copy.mdb"_s;
        QTest::newRow("a command holds the ledger")
            << u"a command holds the ledger"_s
            << QStringList{u"restore"_s, u"copy.mdb"_s, u"--yes"_s} << failed
            << QStringList{u"账本正由命令 import 使用"_s, lock} << false << QString();

        // Usage errors: exit 2 and the usage text, nothing done, no display needed.
        QTest::newRow("a misspelt subcommand")
            << QString() << QStringList{u"bakup"_s, u"x.mdb"_s} << misused
            << QStringList{u"未知的子命令：bakup"_s, usage} << false << u"x.mdb"_s;
        QTest::newRow("a subcommand in capitals")
            << QString() << QStringList{u"BACKUP"_s, u"x.mdb"_s} << misused
            << QStringList{u"未知的子命令：BACKUP"_s, usage} << false << u"x.mdb"_s;
        QTest::newRow("an unknown word alone")
            << QString() << QStringList{u"frobnicate"_s} << misused
            << QStringList{u"未知的子命令"_s, usage} << false << QString();
        QTest::newRow("an unknown option alone")
            << QString() << QStringList{u"--frobnicate"_s} << misused
            << QStringList{u"未知的选项：--frobnicate"_s, usage} << false << QString();
        QTest::newRow("restore with an unknown option")
            << u"a backup and a changed ledger"_s
            << QStringList{u"restore"_s, u"b.mdb"_s, u"--yes"_s, u"--dry-run"_s} << misused
            << QStringList{u"--dry-run"_s, usage} << false << QString();
        QTest::newRow("import with a misspelt option")
            << u"a statement"_s << QStringList{u"import"_s, u"s.txt"_s,    u"--broker"_s,
                                               u"sczq"_s,   u"--replac"_s, u"--yes"_s}
            << misused << QStringList{u"--replac"_s, usage} << false << QString();
        QTest::newRow("backup with an unknown option")
            << QString() << QStringList{u"backup"_s, u"f.mdb"_s, u"--force"_s} << misused
            << QStringList{u"--force"_s, usage} << false << u"f.mdb"_s;
        QTest::newRow("export-ledger with an unknown option")
            << QString() << QStringList{u"export-ledger"_s, u"f.csv"_s, u"--gbk"_s} << misused
            << QStringList{u"--gbk"_s, usage} << false << u"f.csv"_s;
        QTest::newRow("backup without file")
            << QString() << QStringList{u"backup"_s} << misused
            << QStringList{u"缺少文件名"_s, usage} << false << QString();
        QTest::newRow("two files") << QString() << QStringList{u"backup"_s, u"a"_s, u"b"_s}
                                   << misused << QStringList{u"无法理解“b”"_s} << false << u"a"_s;
        QTest::newRow("restore unconfirmed")
            << u"a backup and a changed ledger"_s << QStringList{u"restore"_s, u"b.mdb"_s}
            << misused << QStringList{u"--yes"_s} << false << QString();
        // 分红送配: the entitlement is shown, and saved only with --yes; refusals say why.
        const QStringList sampleEvent{u"add-event"_s,  u"000709"_s,     u"--record"_s,
                                      u"2008-06-20"_s, u"--ex"_s,       u"2008-06-23"_s,
                                      u"--cash"_s,     u"3"_s,          u"--bonus"_s,
                                      u"2"_s,          u"--transfer"_s, u"3"_s};
        QTest::newRow("add-event unconfirmed shows the entitlement")
            << QString() << sampleEvent << misused
            << QStringList{u"10派3元送2股转3股：登记日持有 1200 股：派现 360.00 元，送转 600 股"_s,
                           u"--yes"_s}
            << false << QString();
        QTest::newRow("add-event confirmed")
            << QString() << (sampleEvent + QStringList{u"--yes"_s}) << done
            << QStringList{u"登记日持有 1200 股"_s, u"分红送配已保存"_s} << true << QString();
        // 10配3股 at 8: --subscribe pays for the 360 offered, as 配股缴款 does.
        const QStringList rightsEvent{u"add-event"_s,  u"000709"_s,     u"--record"_s,
                                      u"2008-06-20"_s, u"--ex"_s,       u"2008-06-23"_s,
                                      u"--rights"_s,   u"3"_s,          u"--rights-price"_s,
                                      u"8"_s,          u"--subscribe"_s};
        QTest::newRow("add-event with rights paid for")
            << QString() << (rightsEvent + QStringList{u"--yes"_s}) << done
            << QStringList{u"可配 360 股"_s, u"配股缴款已记为买入"_s} << true << QString();
        QTest::newRow("add-event paying for rights it does not offer")
            << QString() << (sampleEvent + QStringList{u"--subscribe"_s, u"--yes"_s}) << failed
            << QStringList{u"这条分红送配没有可缴款的配股。"_s} << false << QString();
        QTest::newRow("add-event with the record date after the ex-date")
            << QString()
            << QStringList{u"add-event"_s,  u"000709"_s, u"--record"_s, u"2008-06-24"_s, u"--ex"_s,
                           u"2008-06-23"_s, u"--cash"_s, u"3"_s,        u"--yes"_s}
            << failed << QStringList{u"股权登记日在除权除息日之后,不能保存!"_s} << false
            << QString();
        QTest::newRow("add-event with a negative ratio")
            << QString()
            << QStringList{u"add-event"_s, u"000709"_s,     u"--record"_s,      u"2008-06-20"_s,
                           u"--ex"_s,      u"2008-06-23"_s, u"--transfer=-3"_s, u"--yes"_s}
            << failed << QStringList{u"转增不能为负数,不能保存!"_s} << false << QString();
        QTest::newRow("add-event on a record date already used")
            << u"an event"_s << (sampleEvent + QStringList{u"--yes"_s}) << failed
            << QStringList{u"该股票在 2008-06-20 登记的分红送配已有记录,不能保存!"_s} << false
            << QString();
        QTest::newRow("add-event of an unknown code")
            << QString()
            << QStringList{u"add-event"_s,  u"999999"_s, u"--record"_s, u"2008-06-20"_s, u"--ex"_s,
                           u"2008-06-23"_s, u"--cash"_s, u"3"_s,        u"--yes"_s}
            << failed << QStringList{u"没有代码为 999999 的股票"_s} << false << QString();
        QTest::newRow("add-event without its dates")
            << QString() << QStringList{u"add-event"_s, u"000709"_s, u"--cash"_s, u"3"_s} << misused
            << QStringList{u"--record"_s} << false << QString();
        QTest::newRow("add-event when nothing was held asks first")
            << QString()
            << QStringList{u"add-event"_s, u"000709"_s,     u"--record"_s, u"2006-06-20"_s,
                           u"--ex"_s,      u"2006-06-21"_s, u"--cash"_s,   u"3"_s}
            << misused << QStringList{u"登记日没有持股"_s, u"账本里没有持有该股票"_s, u"--yes"_s}
            << false << QString();
        QTest::newRow("events lists what each brought")
            << u"an event"_s << QStringList{u"events"_s, u"000709"_s} << done
            << QStringList{u"2008-06-20  2008-06-23  10派3元送2股转3股  1200  360.00  600  0  60.00"_s}
            << false << QString();
        QTest::newRow("events of a stock without any")
            << QString() << QStringList{u"events"_s, u"600000"_s} << done
            << QStringList{u"浦发银行（600000）没有分红送配记录。"_s} << false << QString();
        QTest::newRow("import without broker")
            << u"a statement"_s << QStringList{u"import"_s, u"s.txt"_s, u"--yes"_s} << misused
            << QStringList{u"--broker"_s} << false << QString();
        QTest::newRow("import with an unknown broker")
            << u"a statement"_s
            << QStringList{u"import"_s, u"s.txt"_s, u"--broker"_s, u"abc"_s, u"--yes"_s} << misused
            << QStringList{u"sczq"_s} << false << QString();
        QTest::newRow("import with a broker but no value")
            << u"a statement"_s << QStringList{u"import"_s, u"s.txt"_s, u"--broker"_s} << misused
            << QStringList{u"--broker"_s, usage} << false << QString();
        QTest::newRow("--version")
            << QString() << QStringList{u"--version"_s} << done
            << QStringList{u"corvanta "_s + QStringLiteral(CORVANTA_VERSION)} << false << QString();
        QTest::newRow("--help") << QString() << QStringList{u"--help"_s} << done
                                << QStringList{usage,       u"backup"_s,        u"restore"_s,
                                               u"import"_s, u"export-ledger"_s, u"export-summary"_s,
                                               u"--yes"_s,  u"--version"_s}
                                << false << QString();
        QTest::newRow("a command's --help") << QString() << QStringList{u"restore"_s, u"--help"_s}
                                            << done << QStringList{usage} << false << QString();

        // Files the command reads or writes: the reason in words.
        QTest::newRow("backup into a missing folder")
            << QString() << QStringList{u"backup"_s, u"/nonexistent-folder/copy.mdb"_s} << failed
            << QStringList{u"文件夹不存在"_s} << false << QString();
        QTest::newRow("restore of a missing file")
            << QString() << QStringList{u"restore"_s, u"missing.mdb"_s, u"--yes"_s} << failed
            << QStringList{u"找不到备份文件"_s} << false << QString();
        QTest::newRow("import of a missing file")
            << QString()
            << QStringList{u"import"_s, u"missing.txt"_s, u"--broker"_s, u"sczq"_s, u"--yes"_s}
            << failed << QStringList{u"无法读取对账单"_s, u"找不到这个文件"_s} << false
            << QString();
        QTest::newRow("restore confirmed")
            << u"a backup and a changed ledger"_s
            << QStringList{u"restore"_s, u"b.mdb"_s, u"--yes"_s} << done
            << QStringList{u"数据导入成功"_s, u"安全备份"_s} << true << QString();
        QTest::newRow("import confirmed")
            << u"a statement"_s
            << QStringList{u"import"_s, u"s.txt"_s, u"--broker=sczq"_s, u"--yes"_s} << done
            << QStringList{u"导入成功"_s} << true << QString();
    }
    void calls()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QStringList, says);
        QFETCH(bool, ledgerChanges);
        QFETCH(QString, absent);

        if (setup == u"a read-only folder"_s && geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        prepare(setup);
        if (QTest::currentTestFailed())
            return;
        const QByteArray before = testsupport::fileSha256(ledgerPath());
        const QByteArray safetyCopy =
            testsupport::fileSha256(path(u"backups/gpmc-20260101-090000.mdb"_s));
        const Run result = run(arguments);
        QVERIFY2(result.code == code,
                 qPrintable(QString::number(result.code) + u' ' + result.said()));
        for (const QString& text : says)
            QVERIFY2(result.said().contains(text),
                     qPrintable(text + u" not in: "_s + result.said()));
        if (result.said().contains(u"锁定文件："_s) && m_holder) {
            const QString lockFile = QFileInfo(ledgerPath()).canonicalFilePath() + u".lock"_s;
            QVERIFY2(result.said().contains(QDir::toNativeSeparators(lockFile)),
                     qPrintable(result.said()));
        }
        QCOMPARE(testsupport::fileSha256(ledgerPath()) != before, ledgerChanges);
        QCOMPARE(testsupport::fileSha256(path(u"backups/gpmc-20260101-090000.mdb"_s)), safetyCopy);
        if (!absent.isEmpty()) {
            const QFileInfo info(path(absent));
            QVERIFY2(!QFileInfo::exists(path(absent)), qPrintable(absent));
            const QStringList left =
                QDir(info.absolutePath())
                    .entryList({info.fileName() + u'*', u'.' + info.fileName() + u'*'},
                               QDir::Files | QDir::Hidden | QDir::System);
            QVERIFY2(left.isEmpty(), qPrintable(left.join(u", "_s)));
        }
        // A command never leaves its lock file behind.
        if (!m_holder && !setup.contains(u"lock"_s) && !setup.contains(u"holder"_s))
            QVERIFY(!QFile::exists(ledgerPath() + u".lock"_s));
    }

    // A second folder whose gpmc.mdb links to a ledger in use is the same ledger.
    void aLedgerReachedThroughALinkIsLockedToo()
    {
        QTemporaryDir other;
        placeProgram(other.path());
        QVERIFY(QFile::link(ledgerPath(), other.filePath(u"gpmc.mdb"_s)));
        ledger::LedgerLock window(ledgerPath(), ledger::LedgerLock::Holder::Window);
        QCOMPARE(window.acquire(), ledger::LedgerLock::Outcome::Acquired);
        const QByteArray before = testsupport::fileSha256(ledgerPath());

        const Run refused = runIn(other.path(), {u"export-ledger"_s, u"l.csv"_s});
        QCOMPARE(refused.code, int(app::CommandFailed));
        QVERIFY2(refused.err.contains(u"正由运行中的窗口使用"_s), qPrintable(refused.err));
        const QString lockFile = QFileInfo(ledgerPath()).canonicalFilePath() + u".lock"_s;
        QVERIFY2(refused.err.contains(lockFile), qPrintable(refused.err));
        QVERIFY(!QFile::exists(other.filePath(u"l.csv"_s)));

        window = ledger::LedgerLock(ledgerPath(), ledger::LedgerLock::Holder::Window); // lets go
        QCOMPARE(runIn(other.path(), {u"export-ledger"_s, u"l.csv"_s}).code, 0);
        QCOMPARE(testsupport::fileSha256(ledgerPath()), before);
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

    void restoreOfANonBackupLeavesTheLedger()
    {
        writeFile(u"text.mdb"_s, QByteArray(2048, 'x'));
        const QByteArray before = testsupport::fileSha256(ledgerPath());
        const Run result = run({u"restore"_s, path(u"text.mdb"_s), u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"不是本程序的备份文件"_s), qPrintable(result.err));
        QCOMPARE(testsupport::fileSha256(ledgerPath()), before);
    }

    // A restore the ledger refuses half-way changes nothing and keeps no copy,
    // which would push an older one out.
    void aFailedRestoreDropsItsSafetyCopy()
    {
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            ledger::backupLedger(db, path(u"b.mdb"_s));
            db.exec("CREATE TRIGGER refuse BEFORE INSERT ON gpjl "
                    "BEGIN SELECT RAISE(ABORT,'refused'); END");
        }
        const QByteArray before = testsupport::fileSha256(ledgerPath());
        const Run result = run({u"restore"_s, u"b.mdb"_s, u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(u"恢复失败，账本没有任何改动"_s), qPrintable(result.err));
        QCOMPARE(testsupport::fileSha256(ledgerPath()), before);
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 0);
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
        // Three imports, each one restore away: no copy took another's name.
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 3);
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
        QTest::addColumn<qint64>("rows");      // every gpjl row afterwards
        QTest::addColumn<qsizetype>("copies"); // safety copies afterwards
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
            << QString() << int(app::CommandDone) << u"第 2 行未导入"_s << qint64(2 + 1)
            << qsizetype(1);
        // The copy made before it would push an older one out: it goes.
        QTest::newRow("a line the ledger refuses: nothing lands, no copy stays")
            << u"sczq"_s << QStringList{sczqHeader(), Sczq{}.line(), other.line()} << yes
            << u"CREATE TRIGGER refuse BEFORE INSERT ON gpjl WHEN NEW.股票名='戊股份' "
               u"BEGIN SELECT RAISE(ABORT,'refused'); END"_s
            << int(app::CommandFailed) << u"第 3 行，数据库出错（refused）"_s << qint64(2)
            << qsizetype(0);
        // A statement without a trade is refused before anything is written.
        QTest::newRow("replacing with every line skipped: refused, the ledger stays")
            << u"sczq"_s << QStringList{sczqHeader(), bonus.line()}
            << QStringList{u"--replace"_s, u"--yes"_s} << QString() << int(app::CommandFailed)
            << u"没有读到任何交易记录"_s << qint64(2) << qsizetype(0);
        QTest::newRow("财达证券: a transfer sells from the position")
            << u"cdzq"_s << QStringList{cdzqHeader(), Cdzq{}.line(), transfer.line()} << yes
            << QString() << int(app::CommandDone) << u"导入成功：交易 2 笔"_s << qint64(2 + 3)
            << qsizetype(1);
        QTest::newRow("a header as the last line: nothing to import")
            << u"sczq"_s << QStringList{Sczq{}.line(), sczqHeader()} << yes << QString()
            << int(app::CommandFailed) << u"没有读到任何交易记录"_s << qint64(2) << qsizetype(0);
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
        QFETCH(qsizetype, copies);
        {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            if (!before.isEmpty())
                db.exec(before.toUtf8().constData());
        }
        writeFile(u"s.txt"_s, exchange::fixtures::statementFile(lines));
        const Run result =
            run(QStringList{u"import"_s, path(u"s.txt"_s), u"--broker"_s, broker} + flags);
        QCOMPARE(result.code, code);
        QVERIFY2(result.said().contains(says), qPrintable(result.said()));
        QCOMPARE(count("SELECT count(*) FROM gpjl"), rows);
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), copies);
    }

    // A backup whose rows break the ledger's rules is refused before anything is
    // replaced, and no safety copy is made for it.
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
        QCOMPARE(count("SELECT count(*) FROM gpjl"), qint64(2));
        const QByteArray before = testsupport::fileSha256(ledgerPath());
        const Run result = run({u"restore"_s, path(u"bad.mdb"_s), u"--yes"_s});
        QCOMPARE(result.code, int(app::CommandFailed));
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
        QVERIFY2(result.err.contains(u"账本没有任何改动"_s), qPrintable(result.err));
        QCOMPARE(testsupport::fileSha256(ledgerPath()), before);
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

    // The program itself, given the GBK bytes of a file name as its argument.
    void importTakesAGbkFileNameFromTheArguments()
    {
        using namespace exchange::fixtures;
        const QByteArray name = QStringEncoder("GBK").encode(u"交易记录.txt"_s);
        writeRawNamed(name, statementFile({cdzqHeader(), Cdzq{}.line()}));
        QByteArray octal;
        for (const char byte : name)
            octal += '\\' + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.insert(u"HOME"_s, m_dir->path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir->path());
        process.start(u"/bin/sh"_s,
                      {u"-c"_s,
                       u"exec \"$0\" import \"$(printf '%1')\" --broker cdzq --yes"_s.arg(
                           QString::fromLatin1(octal)),
                       path(u"corvanta"_s)});
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
        const QStringList before = ledgerRows();
        fileSizeLimit = QFileInfo(ledgerPath()).size() + 8 * 1024;
        const Run result =
            run({u"import"_s, path(u"s.txt"_s), u"--broker"_s, u"sczq"_s, u"--yes"_s});
        fileSizeLimit = -1;
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

    // The export adds the events, with what each brought, after the trades.
    void exportLedgerIncludesTheEvents()
    {
        QCOMPARE(run({u"add-event"_s, u"000709"_s, u"--record"_s, u"2008-06-20"_s, u"--ex"_s,
                      u"2008-06-23"_s, u"--cash"_s, u"3"_s, u"--bonus"_s, u"2"_s, u"--transfer"_s,
                      u"3"_s, u"--yes"_s})
                     .code,
                 0);
        QCOMPARE(count("SELECT 数量 FROM gpjl WHERE 虚拟卖出='真'"), 1800);
        QCOMPARE(run({u"export-ledger"_s, path(u"ledger.csv"_s)}).code, 0);
        const QStringList lines = readText(u"ledger.csv"_s).split(u"\r\n"_s);
        QCOMPARE(lines.size(), 7); // trades as before, an empty line, the events' titles and row
        QVERIFY(lines[2].endsWith(
            u"卖出,1800,22.45,166.64,26773.36,-26773.36,真,是,0.0,0.0,0.0,0.0,"_s));
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines[4], u"ID,股票代码,股票名,登记日,除权日,派现,送股,转增,配股,配股价,备注,"
                           u"登记日持股,派现金额,送转股数,可配股数,红利税"_s);
        QCOMPARE(lines[5], u"1,000709,唐钢股份,2008-06-20,2008-06-23,3,2,3,0,0,,1200,360.00,600,0,"
                           u"60.00"_s);
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
        // The return column last: the sample's shares are still held, valued at
        // cost, so the stock and the account returned 0.
        QVERIFY2(summaryLines[0].endsWith(u",买入费用,年化收益率(持仓按成本)"_s),
                 qPrintable(summaryLines[0]));
        QVERIFY2(summaryLines[1].startsWith(u"唐钢股份,"_s) &&
                     summaryLines[1].endsWith(u",0.00%"_s),
                 qPrintable(summaryLines[1]));
        QVERIFY2(summaryLines[2].endsWith(u",0.00%"_s), qPrintable(summaryLines[2]));
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

    // Parts of a safety copy cut off by a kill are removed when the program next
    // starts; finished copies stay.
    void theWindowsStartRemovesLeftoverPartsOfSafetyCopies()
    {
#ifndef CORVANTA_WITH_WINDOWS
        QSKIP("built without windows: the program is the command line alone");
#endif
        QVERIFY(QDir().mkpath(path(u"backups"_s)));
        writeFile(u"backups/.gpmc-20260101-090000.mdb.part"_s, "cut off");
        writeFile(u"backups/.gpmc-20260101-090000.mdb.part-journal"_s, "cut off");
        writeFile(u"backups/gpmc-20260101-080000.mdb"_s, "a copy");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"CORVANTA_QUIT_AFTER_START"_s, u"1"_s);
        environment.insert(u"HOME"_s, m_dir->path());
        process.setProcessEnvironment(environment);
        process.start(path(u"corvanta"_s), {});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QDir(path(u"backups"_s)).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{
                     u"gpmc-20260101-080000.mdb"_s,
                     QFileInfo(ledger::SafetyCopies(ledgerPath()).copies().last()).fileName()}));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
