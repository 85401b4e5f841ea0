#include "../exchange/StatementFixtures.h"
#include "LedgerChecksums.h"
#include "MainWindowTestSupport.h"

#include "app/MainMenus.h"
#include "app/MainTimerPauses.h"
#include "app/MonitorController.h"
#include "app/QuoteRefreshController.h"
#include "app/SideWindows.h"
#include "app/TradePanel.h"
#include "exchange/StatementLayout.h"
#include "exchange/StatementParser.h"
#include "ledger/EventEntry.h"
#include "ledger/EventLedger.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Schema.h"
#include "ledger/Settings.h"
#include "ledger/StatementImport.h"
#include "ledger/sql/Statement.h"
#include "monitor/MonitorSession.h"
#include "windows/BackupWindow.h"
#include "windows/DateRangeDialog.h"
#include "windows/ImportWindow.h"
#include "windows/JournalWindow.h"
#include "windows/StockEditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

// Chooses the file in the open dialog as soon as it shows modally.
void whenFileDialogShows(const QString& path)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [path, attempt](int left) {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // checks the file as a click would
            *attempt = nullptr; // breaks the cycle between the function and itself
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [attempt, left] {
                if (*attempt)
                    (*attempt)(left - 1);
            });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

// Every row of the trades, the stock table (settings rows included) and the
// corporate actions, ids left out: equal dumps, equal ledgers.
QByteArray ledgerDigest(sql::Database& db)
{
    QList<const char*> queries{
        "SELECT 日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,虚拟卖出,监控状态,"
        "印花税,佣金,过户费等,其它费用,备注 FROM gpjl ORDER BY ID",
        "SELECT gpid,gpmc,gppy FROM gpmc ORDER BY gpid,gpmc,gppy"};
    if (ledger::hasEventTable(db))
        queries << "SELECT 股票代码,股票名,登记日,除权日,派现,送股,转增,配股,配股价,备注 FROM fhsp "
                   "ORDER BY ID";
    return testsupport::rowsDigest(db, queries);
}

// The 其它费用 of the real trades after row `afterId`, each once.
QStringList otherFeesAfter(sql::Database& db, qint64 afterId)
{
    auto query =
        db.prepare("SELECT DISTINCT 其它费用 FROM gpjl WHERE ID > ?1 AND 虚拟卖出='假' ORDER BY 1");
    query.bind(1, afterId);
    QStringList fees;
    while (query.step())
        fees << QString::number(query.real(0));
    return fees;
}

// The built program in a folder of its own, over a copy of the test's ledger under
// the program's key (the test's ledger has a key of its own), as a user calls it.
class CommandLineCopy {
public:
    explicit CommandLineCopy(sql::Database& ledger)
    {
        if (::link(CORVANTA_EXECUTABLE, QFile::encodeName(path(u"corvanta"_s)).constData()) != 0)
            QFile::copy(QStringLiteral(CORVANTA_EXECUTABLE), path(u"corvanta"_s));
        // The program's connection may have changed the schema since this one last
        // read it; the export would stop at that.
        ledger.scalarInt("SELECT count(*) FROM sqlite_master");
        const QByteArray key(ledger::ledgerKey);
        auto attach = ledger.prepare("ATTACH ?1 AS program KEY ?2");
        attach.bind(1, path(u"gpmc.mdb"_s)).bindBytes(2, key);
        attach.run();
        ledger.exec("SELECT sqlcipher_export('program')");
        ledger.exec("DETACH program");
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }

    // Runs the program with `arguments`; the exit code and what it said.
    std::pair<int, QString> run(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        environment.insert(u"HOME"_s, m_folder.path());
        environment.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_folder.path());
        process.setStandardInputFile(QProcess::nullDevice()); // no terminal to ask on
        process.start(path(u"corvanta"_s), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return {-1, u"no end"_s};
        }
        return {
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
    }
    sql::Database open() const { return ledger::openLedger(path(u"gpmc.mdb"_s), testSeedList()); }

private:
    QTemporaryDir m_folder;
};

} // namespace

// Backup, restore and statement import inside the running program: the windows
// pause the main window's timer while they show, and a restore reaches the monitor.
class MainWindowDataExchangeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>();
        QVERIFY(h->open());
    }
    void cleanup() { endTest(h); }

    void theTimerRunsOnlyOnceEveryPausingWindowHides_data();
    void theTimerRunsOnlyOnceEveryPausingWindowHides();
    void aRestoreMarksTheFloatingBarForRebuilding();
    void anImportThroughTheWindowLeavesTheProgramAnswering();
    void anImportEndsAlikeInTheWindowAndOnTheCommandLine_data();
    void anImportEndsAlikeInTheWindowAndOnTheCommandLine();
    void aRestoreEndsAlikeInTheWindowAndOnTheCommandLine_data();
    void aRestoreEndsAlikeInTheWindowAndOnTheCommandLine();

private:
    void showOrHide(const QString& window, bool show);
    bool timerRuns() const { return h->window().quotes().timerActive(); }

    std::unique_ptr<Harness> h;
};

// Each window shows from its menu item and hides as its own buttons hide it.
void MainWindowDataExchangeTest::showOrHide(const QString& window, bool show)
{
    app::Program& p = h->program();
    app::MainMenus& m = h->window().menus();
    if (window == u"backup") {
        if (show)
            m.backup->trigger();
        else
            p.backupWindow().exitButton()->click();
    } else if (window == u"import") {
        if (show)
            m.brokerImport->trigger();
        else
            p.importWindow().close();
    } else if (window == u"journal") {
        if (show)
            m.ledgerJournalView->trigger();
        else
            p.sideWindows().journalWindow().hide();
    } else if (window == u"editor") {
        if (show)
            p.stockEditor().showFor(u"600000"_s);
        else
            p.stockEditor().hide();
    } else if (window == u"refresh") {
        m.trayRefresh->trigger(); // "+refresh" switches the live refresh on
    } else if (window == u"range") {
        if (show)
            m.monitorAddRange->trigger();
        else
            p.monitor().dateRange().close();
    }
}

void MainWindowDataExchangeTest::theTimerRunsOnlyOnceEveryPausingWindowHides_data()
{
    // Steps "+window" (shows) and "-window" (hides); per step, whether the timer runs.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("running");
    QTest::newRow("backup alone") << QStringList{u"+backup"_s, u"-backup"_s} << u"01"_s;
    QTest::newRow("import alone") << QStringList{u"+import"_s, u"-import"_s} << u"01"_s;
    QTest::newRow("backup and import, backup hides first")
        << QStringList{u"+backup"_s, u"+import"_s, u"-backup"_s, u"-import"_s} << u"0001"_s;
    QTest::newRow("import and backup, backup hides first")
        << QStringList{u"+import"_s, u"+backup"_s, u"-backup"_s, u"-import"_s} << u"0001"_s;
    QTest::newRow("journal and backup")
        << QStringList{u"+journal"_s, u"+backup"_s, u"-journal"_s, u"-backup"_s} << u"0001"_s;
    QTest::newRow("monitor's date range and import")
        << QStringList{u"+import"_s, u"+range"_s, u"-import"_s, u"-range"_s} << u"0001"_s;
    QTest::newRow("stock editor and backup")
        << QStringList{u"+editor"_s, u"+backup"_s, u"-editor"_s, u"-backup"_s} << u"0001"_s;
    QTest::newRow("live refresh switched on under the backup")
        << QStringList{u"+backup"_s, u"+refresh"_s, u"-backup"_s} << u"001"_s;
    QTest::newRow("backup shown again while shown")
        << QStringList{u"+backup"_s, u"+backup"_s, u"-backup"_s} << u"001"_s;
}

void MainWindowDataExchangeTest::theTimerRunsOnlyOnceEveryPausingWindowHides()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, running);
    QVERIFY(timerRuns());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        showOrHide(steps[i].mid(1), steps[i].startsWith(u'+'));
        QCoreApplication::processEvents();
        QVERIFY2(timerRuns() == (running[i] == u'1'), qPrintable(steps[i]));
    }
    QVERIFY(!h->program().mainTimerPauses().paused());
}

// A restore chosen, confirmed and run in the backup window replaces the ledger;
// the floating bar's lines are built again at the monitor's next showing, and the
// restored settings are in force from the next start.
void MainWindowDataExchangeTest::aRestoreMarksTheFloatingBarForRebuilding()
{
    // A backup is keyed with the program's own key (the test's ledger has another),
    // so it is made as a ledger file of its own.
    const QString backup = h->folder.filePath(u"copy.mdb"_s);
    {
        sql::Database copy = ledger::openLedger(backup, testSeedList());
        addTrade(copy, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 300, u"5"_s);
        ledger::SettingsToSave settings;
        settings.otherFee = u"7"_s;
        settings.stampRate = u"1"_s;
        settings.commissionRate = u"2.5"_s;
        ledger::saveSettings(copy, settings, ledger::defaultFeeRates());
    }
    QLineEdit* otherFee = h->window().trade().otherFee;
    const QString feeInUse = otherFee->text();
    QVERIFY(feeInUse != u"7"_s);

    report::TickerRotation& ticker = h->program().monitor().session().ticker();
    QVERIFY(!ticker.rebuildPending());
    h->window().menus().backup->trigger();
    windows::BackupWindow& window = h->program().backupWindow();
    QVERIFY(window.isVisible());
    QVERIFY(!timerRuns());
    window.chooseRestore(true);
    QSignalSpy ended(&window, &windows::BackupWindow::restoreEnded);
    h->prompter.answers = {true};
    whenFileDialogShows(backup);
    window.runButton()->click();
    QVERIFY2(ended.size() == 1 || ended.wait(10000), qPrintable(h->prompter.messages.join(u'|')));
    QCOMPARE(ended.first().first().toBool(), true);
    QCOMPARE(window.statusLine(), u"数据导入成功"_s);
    QCOMPARE(openQuantity(h->db, u"沪市股票1"_s), 300);
    QVERIFY(ticker.rebuildPending());
    QVERIFY(!timerRuns()); // the window still shows
    window.exitButton()->click();
    QVERIFY(timerRuns());

    // The restored settings rows take effect at the next start, not before.
    QCOMPARE(otherFee->text(), feeInUse);
    QVERIFY(h->reopen());
    QCOMPARE(h->window().trade().otherFee->text(), u"7"_s);
}

// The statement is chosen in the file dialog and imported with 是 (go ahead),
// 否 (keep the ledger's trades) and 确定: afterwards no window is modal and the
// main window takes a click, with the import window still open and after it closes.
void MainWindowDataExchangeTest::anImportThroughTheWindowLeavesTheProgramAnswering()
{
    using namespace exchange::fixtures;
    const QString statement = h->folder.filePath(u"交易记录.txt"_s);
    {
        QFile file(statement);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(statementFile({sczqHeader(), Sczq{}.line()}));
    }
    h->window().menus().brokerImport->trigger();
    windows::ImportWindow& window = h->program().importWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* browse = window.findChild<QPushButton*>();
    for (auto* button : window.findChildren<QPushButton*>())
        if (button->text() == u"浏览(&L)"_s)
            browse = button;
    whenFileDialogShows(statement);
    click(browse);
    QTRY_COMPARE(window.pathField()->text(), statement);
    // The dialog was the import window's: that window is in front again.
    QTRY_COMPARE(QGuiApplication::focusWindow(), window.windowHandle());

    const auto trades = [this] {
        return h->db.scalarInt("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'");
    };
    const qint64 before = trades();
    h->prompter.answers = {true, false};
    QSignalSpy ended(&window, &windows::ImportWindow::importEnded);
    click(window.importButton());
    QVERIFY(ended.size() == 1 || ended.wait(10000));
    QVERIFY(ended.first().first().toBool());
    QVERIFY2(h->prompter.messages.last().startsWith(u"导入完成"_s),
             qPrintable(h->prompter.messages.join(u'|')));
    QCOMPARE(trades(), before + 1);
    QCOMPARE(h->prompter.questions.size(), 2);
    for (const test::ScriptedPrompter::Question& question : h->prompter.questions)
        QCOMPARE(question.asker, static_cast<QWidget*>(&window));
    QCOMPARE(h->prompter.informers.last(), static_cast<QWidget*>(&window));
    QTRY_COMPARE(QGuiApplication::focusWindow(), window.windowHandle());

    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(takesClick(window));
    QVERIFY(takesClick(h->window()));
    window.close();
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(takesClick(h->window()));
}

// One statement through the import window of the running program and through
// `corvanta import` on a copy of the same ledger, the questions answered alike:
// the same outcome, the same ledger, and on every imported line the other fee
// saved for buying, whatever the fee calculator shows at the moment.
void MainWindowDataExchangeTest::anImportEndsAlikeInTheWindowAndOnTheCommandLine_data()
{
    using namespace exchange::fixtures;
    QTest::addColumn<QString>("broker"); // the command line's word for it
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("already"); // a statement imported into both first
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("imports");
    QTest::addColumn<QString>("says");         // in the window's last message and the run's
    QTest::addColumn<QStringList>("otherFee"); // of the lines imported

    Sczq second;
    second.date = u"2007-05-22"_s;
    second.code = u"600000"_s;
    second.name = u"浦发银行"_s;
    Sczq feeless = second;
    feeless.date = u"2007-05-23"_s;
    feeless.further = feeless.commission = feeless.stampDuty = feeless.transferFee = u"0"_s;
    Sczq bonus;
    bonus.operation = u"红利"_s;
    Cdzq transfer;
    transfer.operation = u"转托管"_s;
    transfer.quantity = u"-200"_s;
    const QByteArray two = statementFile({sczqHeader(), Sczq{}.line(), second.line()});

    QTest::newRow("首创证券, a new stock")
        << u"sczq"_s << two << QByteArray() << false << true << QString() << QStringList{u"7"_s};
    QTest::newRow("a line the ledger holds is left out")
        << u"sczq"_s << two << statementFile({sczqHeader(), Sczq{}.line()}) << false << true
        << QString() << QStringList{u"7"_s};
    QTest::newRow("replacing the ledger")
        << u"sczq"_s << two << statementFile({sczqHeader(), Sczq{}.line()}) << true << true
        << QString() << QStringList{u"7"_s};
    QTest::newRow("a line without fees stores no other fee")
        << u"sczq"_s << statementFile({sczqHeader(), second.line(), feeless.line()}) << QByteArray()
        << false << true << QString() << QStringList{u"0"_s, u"7"_s};
    QTest::newRow("财达证券, a transfer sells from the position")
        << u"cdzq"_s << statementFile({cdzqHeader(), Cdzq{}.line(), transfer.line()})
        << QByteArray() << false << true << QString() << QStringList{u"7"_s};
    QTest::newRow("by column names")
        << u"generic"_s
        << QByteArray("成交日期,证券代码,证券名称,操作,成交数量,成交价格,成交金额,手续费,印花税,"
                      "过户费\n2024-01-05,600036,招商银行,证券买入,1000,30.50,30500,9.15,0,1\n")
        << QByteArray() << false << true << QString() << QStringList{u"7"_s};
    QTest::newRow("no trade: refused, with the ledger to be replaced")
        << u"sczq"_s << statementFile({sczqHeader(), bonus.line()}) << QByteArray() << true << false
        << u"没有读到任何交易记录"_s << QStringList();
}

void MainWindowDataExchangeTest::anImportEndsAlikeInTheWindowAndOnTheCommandLine()
{
    QFETCH(QString, broker);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, already);
    QFETCH(bool, replace);
    QFETCH(bool, imports);
    QFETCH(QString, says);
    QFETCH(QStringList, otherFee);

    ledger::SettingsToSave saved;
    saved.otherFee = u"7"_s;
    saved.stampRate = u"1"_s;
    saved.commissionRate = u"3"_s;
    ledger::saveSettings(h->db, saved, ledger::defaultFeeRates());
    if (!already.isEmpty()) {
        const auto parsed =
            exchange::parseStatement(already, *exchange::findStatementLayout(u"sczq"_s));
        QVERIFY(ledger::applyStatement(h->db, parsed.trades, {}).committed);
    }
    const qint64 lastId = h->db.scalarInt("SELECT max(ID) FROM gpjl");
    const CommandLineCopy commandLine(h->db);
    QVERIFY(h->reopen()); // the saved fee is loaded as at a start
    // Typed, not saved: the fee calculator's own business.
    retype(h->window().trade().otherFee, u"9"_s);

    const QString statement = h->folder.filePath(u"statement.txt"_s);
    for (const QString& path : {statement, commandLine.path(u"statement.txt"_s)}) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }

    h->window().menus().brokerImport->trigger();
    windows::ImportWindow& window = h->program().importWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int layouts = int(exchange::statementLayouts().size());
    window.brokers()->setCurrentIndex(broker == u"generic"_s ? layouts
                                      : broker == u"cdzq"_s  ? 1
                                                             : 0);
    QVERIFY(window.brokers()->currentIndex() == layouts ||
            exchange::statementLayouts().at(window.brokers()->currentIndex()).broker ==
                exchange::findStatementLayout(broker)->broker);
    window.openFile(statement);
    QTRY_VERIFY(window.importButton()->isEnabled());
    // Skip the lines the ledger holds, go ahead, replace or keep.
    h->prompter.answers = {true, true, replace};
    if (already.isEmpty())
        h->prompter.answers.removeFirst();
    QSignalSpy ended(&window, &windows::ImportWindow::importEnded);
    click(window.importButton());
    if (imports) {
        QVERIFY(ended.size() == 1 || ended.wait(10000));
        QVERIFY2(ended.first().first().toBool(), qPrintable(h->prompter.messages.join(u'|')));
    } else {
        QVERIFY(ended.isEmpty());
    }
    QVERIFY2(h->prompter.messages.last().contains(says),
             qPrintable(h->prompter.messages.join(u'|')));
    QVERIFY(h->prompter.answers.isEmpty() || !imports);
    window.close();

    QStringList arguments{u"import"_s, u"statement.txt"_s, u"--broker"_s, broker, u"--yes"_s};
    if (replace)
        arguments << u"--replace"_s;
    const auto [code, said] = commandLine.run(arguments);
    QVERIFY2(code == (imports ? 0 : 1), qPrintable(said));
    QVERIFY2(said.contains(says), qPrintable(said));

    sql::Database other = commandLine.open();
    QCOMPARE(ledgerDigest(h->db), ledgerDigest(other));
    const qint64 firstNew = imports && replace ? 0 : lastId; // replaced: every trade is new
    QCOMPARE(otherFeesAfter(h->db, firstNew), otherFee);
    QCOMPARE(otherFeesAfter(other, firstNew), otherFee);
}

// One backup restored through the backup window of the running program and
// through `corvanta restore` on a copy of the same ledger: the same outcome and
// the same ledger.
void MainWindowDataExchangeTest::aRestoreEndsAlikeInTheWindowAndOnTheCommandLine_data()
{
    QTest::addColumn<QString>("backup"); // how the file is made
    QTest::addColumn<bool>("restores");
    QTest::addColumn<QString>("says"); // in the window's message and the run's, when refused

    QTest::newRow("a backup of another ledger, with an event") << u"backup"_s << true << QString();
    QTest::newRow("a file that is no backup") << u"text"_s << false << u"不是本程序的备份文件"_s;
    QTest::newRow("a backup whose trades break the rules")
        << u"broken"_s << false << u"中的交易记录有误"_s;
}

void MainWindowDataExchangeTest::aRestoreEndsAlikeInTheWindowAndOnTheCommandLine()
{
    QFETCH(QString, backup);
    QFETCH(bool, restores);
    QFETCH(QString, says);

    const CommandLineCopy commandLine(h->db);
    const QString file = h->folder.filePath(u"copy.mdb"_s);
    if (backup == u"text"_s) {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("a text, no backup\n"); // not whole pages: no password is asked for
    } else {
        // Keyed as the program keys its ledgers, so both ways open it alike.
        sql::Database copy = ledger::openLedger(file, testSeedList());
        addTrade(copy, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 300, u"5"_s);
        ledger::EventEntry event;
        event.code = u"600001"_s;
        event.name = u"沪市股票1"_s;
        event.record = QDate(2021, 6, 1);
        event.ex = QDate(2021, 6, 2);
        event.bonus = u"2"_s;
        QVERIFY(ledger::EventLedger(copy).add(event, false).saved());
        if (backup == u"broken"_s)
            copy.exec("UPDATE gpjl SET 数量='many' WHERE 股票名='沪市股票1'");
    }
    QVERIFY(QFile::copy(file, commandLine.path(u"copy.mdb"_s)));

    h->window().menus().backup->trigger();
    windows::BackupWindow& window = h->program().backupWindow();
    QVERIFY(window.isVisible());
    window.chooseRestore(true);
    QSignalSpy ended(&window, &windows::BackupWindow::restoreEnded);
    h->prompter.answers = {true};
    whenFileDialogShows(file);
    window.runButton()->click();
    if (restores) {
        QVERIFY(ended.size() == 1 || ended.wait(10000));
        QVERIFY2(ended.first().first().toBool(), qPrintable(h->prompter.messages.join(u'|')));
        QCOMPARE(window.statusLine(), u"数据导入成功"_s);
    } else {
        QVERIFY(ended.isEmpty());
        QVERIFY2(h->prompter.messages.last().contains(says),
                 qPrintable(h->prompter.messages.join(u'|')));
    }
    window.exitButton()->click();

    const auto [code, said] = commandLine.run({u"restore"_s, u"copy.mdb"_s, u"--yes"_s});
    QVERIFY2(code == (restores ? 0 : 1), qPrintable(said));
    QVERIFY2(said.contains(restores ? u"数据导入成功"_s : says), qPrintable(said));

    sql::Database other = commandLine.open();
    QCOMPARE(ledgerDigest(h->db), ledgerDigest(other));
    // Each kept the ledger as it was one restore away, or dropped the copy again.
    QCOMPARE(ledger::SafetyCopies(h->db.path()).copies().size(), qsizetype(restores));
    QCOMPARE(ledger::SafetyCopies(commandLine.path(u"gpmc.mdb"_s)).copies().size(),
             qsizetype(restores));
}

int runDataExchangeTests(int argc, char* argv[])
{
    MainWindowDataExchangeTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestDataExchange.moc"
