#include "../exchange/StatementFixtures.h"
#include "MainWindowTestSupport.h"

#include "app/MainMenus.h"
#include "app/MainTimerPauses.h"
#include "app/MonitorController.h"
#include "app/QuoteRefreshController.h"
#include "app/SideWindows.h"
#include "app/TradePanel.h"
#include "ledger/LedgerFile.h"
#include "ledger/Settings.h"
#include "monitor/MonitorSession.h"
#include "windows/BackupWindow.h"
#include "windows/DateRangeDialog.h"
#include "windows/ImportWindow.h"
#include "windows/JournalWindow.h"
#include "windows/StockEditorWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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
    for (const FakePrompter::Question& question : h->prompter.questions)
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

int runDataExchangeTests(int argc, char* argv[])
{
    MainWindowDataExchangeTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestDataExchange.moc"
