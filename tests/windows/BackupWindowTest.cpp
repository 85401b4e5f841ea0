#include "windows/BackupWindow.h"
#include "ScriptedPrompter.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/sql/Statement.h"
#include "windows/FileChooser.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

class ScriptedFiles : public windows::FileChooser {
public:
    QString openFile(const QString& filter) override
    {
        filters << filter;
        return chosen;
    }
    QString saveFile(const QString& filter, const QString& proposed, const QString&) override
    {
        filters << filter;
        proposals << proposed;
        return chosen;
    }
    QString chosen;
    QStringList filters;
    QStringList proposals;
};

QList<ledger::SeedStock> seeds()
{
    return {{u"000709"_s, u"唐钢股份"_s, u"TGGF"_s}, {u"600000"_s, u"浦发银行"_s, u"PFYX"_s}};
}

} // namespace

class BackupWindowTest : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    qint64 trades() { return m_db->scalarInt("SELECT count(*) FROM gpjl"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::optional<sql::Database> m_db;
    ledger::LedgerNotifier m_notifier;
    test::ScriptedPrompter m_prompter;
    ScriptedFiles m_files;
    std::unique_ptr<windows::BackupWindow> m_window;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db.emplace(ledger::openLedger(path(u"gpmc.mdb"_s), seeds()));
        m_prompter = {};
        m_files = {};
        m_window = std::make_unique<windows::BackupWindow>(*m_db, m_notifier, m_prompter, m_files);
    }
    void cleanup()
    {
        m_window.reset();
        m_db.reset();
    }

    void choicesSetTheBoxes()
    {
        QCOMPARE(m_window->statusLine(), u"数据备份恢复"_s);
        m_window->chooseRestore(true);
        QVERIFY(m_window->tradesBox()->isChecked() && m_window->stocksBox()->isChecked());
        QVERIFY(!m_window->tradesBox()->isEnabled());
        QCOMPARE(m_window->statusLine(), u"数据导入导出"_s);
        m_window->chooseRestore(false);
        QVERIFY(m_window->tradesBox()->isChecked() && !m_window->stocksBox()->isChecked());
        QVERIFY(m_window->stocksBox()->isEnabled());
    }

    void backupAsksBeforeOverwriting_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("status");
        QTest::newRow("new file") << false << false << u"备份成功！"_s;
        QTest::newRow("existing, yes") << true << true << u"备份成功！"_s;
        QTest::newRow("existing, no") << true << false << u"数据备份恢复"_s;
    }
    void backupAsksBeforeOverwriting()
    {
        QFETCH(bool, exists);
        QFETCH(bool, answer);
        QFETCH(QString, status);
        m_files.chosen = path(u"copy.mdb"_s);
        if (exists) {
            QFile file(m_files.chosen);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        m_prompter.answers = {answer};
        m_window->run();
        QCOMPARE(m_window->statusLine(), status);
        QCOMPARE(m_files.filters, QStringList{u"access 数据库文件 (*.mdb);;所有文件 (*.*)"_s});
        // The day's backup, never the live ledger's own name.
        QCOMPARE(m_files.proposals,
                 QStringList{u"gpmc-备份-"_s + QDate::currentDate().toString(u"yyyyMMdd"_s) +
                             u".mdb"_s});
        QCOMPARE(m_prompter.questions.size(), exists ? 1 : 0);
        if (exists)
            QCOMPARE(m_prompter.captionedQuestions(u':').first(),
                     u"备份覆盖:文件已存在,是否覆盖？"_s);
        QVERIFY(m_window->runButton()->isEnabled());
        QCOMPARE(QFileInfo(m_files.chosen).size() > 3, status == u"备份成功！"_s);
    }

    void aFailedBackupSaysWhy()
    {
        m_files.chosen = path(u"missing/copy.mdb"_s);
        m_window->run();
        QCOMPARE(m_prompter.messages.size(), 1);
        QVERIFY(m_prompter.messages.first().contains(u"文件夹不存在"_s));
        QCOMPARE(m_window->statusLine(), u"数据备份恢复"_s);
    }

    void restoreRunsInSlicesAndAnnounces()
    {
        sql::Transaction filling(*m_db);
        for (int i = 0; i < 1200; ++i)
            m_db->exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格) "
                       "VALUES ('2008-01-02','600000','浦发银行','买入',100,1)");
        filling.commit();
        ledger::backupLedger(*m_db, path(u"copy.mdb"_s));
        m_db->exec("DELETE FROM gpjl");
        m_db->exec("INSERT INTO dxgp (股票代码) VALUES ('600000')");

        QSignalSpy changed(&m_notifier, &ledger::LedgerNotifier::changed);
        QSignalSpy ended(m_window.get(), &windows::BackupWindow::restoreEnded);
        m_window->chooseRestore(true);
        m_files.chosen = path(u"copy.mdb"_s);
        m_prompter.answers = {true};
        m_window->run();
        QCOMPARE(m_prompter.captionedQuestions(u':'),
                 QStringList{u"恢复覆盖:将覆盖数据库中的所有记录，\r操作不可恢复，是否进行？"_s});
        QVERIFY(m_window->restoring());
        QVERIFY(!m_window->runButton()->isEnabled() && !m_window->exitButton()->isEnabled());
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.first().first().toBool(), true);
        QCOMPARE(m_window->statusLine(), u"数据导入成功"_s);
        QCOMPARE(trades(), 1202);
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM dxgp"), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().value<ledger::LedgerChanges>(),
                 ledger::LedgerChange::Trades | ledger::LedgerChange::Stocks |
                     ledger::LedgerChange::Events | ledger::LedgerChange::Settings |
                     ledger::LedgerChange::MonitorList | ledger::LedgerChange::TickerLines);
        QVERIFY(m_window->runButton()->isEnabled());
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 1);
    }

    void restoreRefusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("message"); // a part of it; none when empty
        QTest::newRow("cancelled dialog") << QString() << true << QString();
        QTest::newRow("answered no") << u"copy.mdb"_s << false << QString();
        QTest::newRow("not a backup") << u"text.mdb"_s << true << u"不是本程序的备份文件"_s;
        // A backup under another key may be one under an older password: it is
        // asked for, and 取消 leaves the ledger.
        QTest::newRow("another key, password cancelled") << u"other.mdb"_s << true << QString();
        QTest::newRow("missing file") << u"gone.mdb"_s << true << u"找不到备份文件"_s;
    }
    void restoreRefusals()
    {
        QFETCH(QString, file);
        QFETCH(bool, answer);
        QFETCH(QString, message);
        ledger::backupLedger(*m_db, path(u"copy.mdb"_s));
        QFile text(path(u"text.mdb"_s));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(3000, 'x'));
        text.close();
        {
            auto other = sql::Database::open(path(u"other.mdb"_s), "another",
                                             sql::Database::Mode::ReadWriteCreate);
            ledger::ensureSchema(other, seeds());
        }
        const qint64 before = trades();
        QSignalSpy changed(&m_notifier, &ledger::LedgerNotifier::changed);
        QSignalSpy ended(m_window.get(), &windows::BackupWindow::restoreEnded);
        m_window->chooseRestore(true);
        m_files.chosen = file.isEmpty() ? QString() : path(file);
        m_prompter.answers = {answer};
        bool asked = false;
        QTimer cancel;
        cancel.setInterval(20);
        connect(&cancel, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                asked = true;
                dialog->reject();
            }
        });
        cancel.start();
        m_window->run();
        QTRY_VERIFY(!m_window->restoring());
        cancel.stop();
        QCOMPARE(asked, file == u"other.mdb"_s);
        QCOMPARE(m_prompter.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(m_prompter.messages.first().contains(message),
                     qPrintable(m_prompter.messages.first()));
        QVERIFY(m_window->runButton()->isEnabled() && m_window->exitButton()->isEnabled());
        QCOMPARE(trades(), before);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(ended.size(), 0); // the floating bar keeps its lines
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 0);
    }

    // A restore the ledger refuses half-way changes nothing and keeps no copy,
    // which would push an older one out of those kept.
    void aRestoreRefusedHalfWayKeepsNoSafetyCopy()
    {
        ledger::backupLedger(*m_db, path(u"copy.mdb"_s));
        m_db->exec("CREATE TRIGGER refuse BEFORE INSERT ON gpjl "
                   "BEGIN SELECT RAISE(ABORT,'refused'); END");
        const qint64 before = trades();
        QSignalSpy ended(m_window.get(), &windows::BackupWindow::restoreEnded);
        m_window->chooseRestore(true);
        m_files.chosen = path(u"copy.mdb"_s);
        m_prompter.answers = {true};
        m_window->run();
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.first().first().toBool(), false);
        QVERIFY2(m_prompter.messages.last().contains(u"恢复没有完成"_s),
                 qPrintable(m_prompter.messages.last()));
        QCOMPARE(trades(), before);
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 0);
    }

    // A backup without trades empties the ledger; the stock table comes back with
    // its settings rows, the journal stays.
    void restoreOfAnEmptyLedger()
    {
        m_db->exec("DELETE FROM gpjl");
        ledger::backupLedger(*m_db, path(u"copy.mdb"_s));
        m_db->exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格) "
                   "VALUES ('2008-01-02','600000','浦发银行','买入',100,1)");
        m_db->exec("INSERT INTO dxgp (股票代码) VALUES ('600000')");
        const qint64 stocks = m_db->scalarInt("SELECT count(*) FROM gpmc");
        m_window->chooseRestore(true);
        m_files.chosen = path(u"copy.mdb"_s);
        m_prompter.answers = {true};
        QSignalSpy ended(m_window.get(), &windows::BackupWindow::restoreEnded);
        m_window->run();
        QVERIFY(ended.size() == 1 || ended.wait(10000));
        QCOMPARE(ended.first().first().toBool(), true);
        QCOMPARE(m_window->statusLine(), u"数据导入成功"_s);
        QCOMPARE(trades(), 0);
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM gpmc"), stocks);
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM dxgp"), 1);
    }

    void showingPausesTheMainWindow()
    {
        QSignalSpy shown(m_window.get(), &windows::BackupWindow::shownChanged);
        m_window->show();
        m_window->exitButton()->click();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).first().toBool(), true);
        QCOMPARE(shown.at(1).first().toBool(), false);
    }

    // The program's file dialogs list folders, sizes and dates in Chinese under
    // any locale (the tests run under C).
    void fileDialogsSpeakChinese()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(u"备份"_s));
        QFile file(path(u"a.mdb"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'x'));
        file.flush();
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(9, 30)),
                                 QFileDevice::FileModificationTime));
        file.close();

        QFileDialog dialog(nullptr, {}, m_dir->path());
        windows::speakChinese(dialog);
        QCOMPARE(dialog.locale().language(), QLocale::Chinese);
        auto* list = dialog.findChild<QTreeView*>(u"treeView"_s);
        QVERIFY(list);
        QAbstractItemModel* model = list->model();
        QTRY_VERIFY(model->rowCount(list->rootIndex()) >= 2);
        QHash<QString, QStringList> rows;
        for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
            QStringList cells;
            for (int column = 0; column < 4; ++column)
                cells << model->index(row, column, list->rootIndex()).data().toString();
            rows.insert(cells.first(), cells);
        }
        QCOMPARE(rows.value(u"备份"_s).value(2), u"文件夹"_s);
        QCOMPARE(rows.value(u"a.mdb"_s).value(2), u"mdb 文件"_s);
        QCOMPARE(rows.value(u"a.mdb"_s).value(3), u"2026-12-10 09:30"_s);
        QCOMPARE(rows.value(u"a.mdb"_s).value(1),
                 QLocale(QLocale::Chinese, QLocale::China).formattedDataSize(2048));
    }
};

QTEST_MAIN(BackupWindowTest)
#include "BackupWindowTest.moc"
