#include "MainWindowTestSupport.h"

#include "app/MainMenus.h"
#include "app/SideWindows.h"
#include "app/TradePanel.h"
#include "journal/Journal.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerChanges.h"
#include "windows/JournalMenu.h"
#include "windows/JournalWindow.h"
#include "windows/ProfitLossMenu.h"
#include "windows/ProfitLossWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <map>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

QString ladderCell(const windows::ProfitLossWindow& window, int row, int column)
{
    auto* grid = window.findChild<QTableView*>(u"ladderGrid"_s);
    return grid ? grid->model()->index(row, column).data().toString() : QString();
}

// The menu item a table row names.
QAction* itemNamed(app::MainMenus& menus, const QString& name)
{
    static const std::map<QString, QAction * app::MainMenus::*> items{
        {u"trade detail"_s, &app::MainMenus::tradeDetail},
        {u"ledger detail"_s, &app::MainMenus::ledgerDetail},
        {u"tray detail"_s, &app::MainMenus::trayDetail},
        {u"trade journal"_s, &app::MainMenus::tradeJournalView},
        {u"ledger journal"_s, &app::MainMenus::ledgerJournalView},
        {u"backup"_s, &app::MainMenus::backup},
        {u"import"_s, &app::MainMenus::brokerImport},
        {u"charts"_s, &app::MainMenus::accountCharts},
        {u"yearly"_s, &app::MainMenus::yearlyStatement},
        {u"events"_s, &app::MainMenus::tradeEvents},
        {u"notes"_s, &app::MainMenus::tutorial},
        {u"font"_s, &app::MainMenus::monitorFont},
    };
    return menus.*items.at(name);
}

// The windows a start may leave unbuilt, by class name.
const QList<const char*> windowsBuiltOnUse{"corvanta::windows::ProfitLossWindow",
                                           "corvanta::windows::JournalWindow",
                                           "corvanta::windows::JournalMemoWindow",
                                           "corvanta::windows::BackupWindow",
                                           "corvanta::windows::ImportWindow",
                                           "corvanta::windows::AccountChartWindow",
                                           "corvanta::windows::YearlyStatementWindow",
                                           "corvanta::windows::StockEventWindow",
                                           "corvanta::windows::StockEditorWindow",
                                           "corvanta::windows::TotalsReportWindow",
                                           "corvanta::windows::MonitorWindow",
                                           "corvanta::windows::TickerBar",
                                           "corvanta::windows::MonitorFontWindow",
                                           "corvanta::windows::CodeLookupWindow",
                                           "corvanta::windows::UsageNotesWindow",
                                           "corvanta::windows::DateRangeDialog",
                                           "QChartView"};

// The program's widgets of that class.
QList<QWidget*> widgetsOf(const char* className)
{
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->inherits(className))
            found << widget;
    return found;
}

} // namespace

// The profit/loss detail and the journal inside the running program: opened from
// the main window's menus, reading the main window's trade, and telling reminders.
class MainWindowSideWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { endTest(h); }

    void eachWindowOpensFromItsMenu_data();
    void eachWindowOpensFromItsMenu();
    void aWindowIsBuiltWhenItsMenuIsFirstUsed_data();
    void aWindowIsBuiltWhenItsMenuIsFirstUsed();
    void theLadderShowsThePricedBuyOfTheMainWindow_data();
    void theLadderShowsThePricedBuyOfTheMainWindow();
    void addingToTheJournalTakesTheCurrentCode_data();
    void addingToTheJournalTakesTheCurrentCode();
    void aReminderDueAtStartIsToldInTheTray();
    void withoutATrayAReminderIsToldInTheStatusBar();
    void theProfitLossWindowHidesAndShowsTheMainWindow();
    void theMainTimerPausesWhileTheJournalShows();
    void closingTheJournalWithTheMainWindowInTheTrayLeavesTheProgramRunning();
    void closingTheJournalBringsBackTheMainWindowItHid_data();
    void closingTheJournalBringsBackTheMainWindowItHid();

private:
    app::SideWindows& side() const { return h->program().sideWindows(); }

    std::unique_ptr<Harness> h;
};

void MainWindowSideWindowsTest::eachWindowOpensFromItsMenu_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("journal");
    QTest::newRow("trade popup detail") << u"trade detail"_s << false;
    QTest::newRow("ledger popup detail") << u"ledger detail"_s << false;
    QTest::newRow("tray detail") << u"tray detail"_s << false;
    QTest::newRow("trade popup journal") << u"trade journal"_s << true;
    QTest::newRow("ledger popup journal") << u"ledger journal"_s << true;
}

void MainWindowSideWindowsTest::eachWindowOpensFromItsMenu()
{
    QFETCH(QString, item);
    QFETCH(bool, journal);
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    QAction* action = itemNamed(h->window().menus(), item);
    QVERIFY(action->isEnabled());
    QWidget* expected = journal ? static_cast<QWidget*>(&side().journalWindow())
                                : static_cast<QWidget*>(&side().profitLoss());
    QWidget* other = journal ? static_cast<QWidget*>(&side().profitLoss())
                             : static_cast<QWidget*>(&side().journalWindow());
    action->trigger();
    QVERIFY(expected->isVisible());
    QVERIFY(!other->isVisible());

    // Closing the main window ends the program: its side windows close with it.
    h->window().close();
    QVERIFY(!expected->isVisible());
}

void MainWindowSideWindowsTest::aWindowIsBuiltWhenItsMenuIsFirstUsed_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::newRow("profit/loss detail") << u"trade detail"_s << u"ProfitLossWindow"_s;
    QTest::newRow("journal") << u"trade journal"_s << u"JournalWindow"_s;
    QTest::newRow("backup") << u"backup"_s << u"BackupWindow"_s;
    QTest::newRow("statement import") << u"import"_s << u"ImportWindow"_s;
    QTest::newRow("account charts") << u"charts"_s << u"AccountChartWindow"_s;
    QTest::newRow("yearly statement") << u"yearly"_s << u"YearlyStatementWindow"_s;
    QTest::newRow("stock events") << u"events"_s << u"StockEventWindow"_s;
    QTest::newRow("usage notes") << u"notes"_s << u"UsageNotesWindow"_s;
    QTest::newRow("monitor font") << u"font"_s << u"MonitorFontWindow"_s;
}

// A start builds none of the windows beside the main window, nor a chart; each
// is built by the first use of its menu item, shows, and closes again.
void MainWindowSideWindowsTest::aWindowIsBuiltWhenItsMenuIsFirstUsed()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    for (const char* className : windowsBuiltOnUse)
        QVERIFY2(widgetsOf(className).isEmpty(), className);

    QAction* action = itemNamed(h->window().menus(), item);
    QVERIFY(action->isEnabled());
    action->trigger();
    const QByteArray className = "corvanta::windows::" + window.toLatin1();
    const QList<QWidget*> built = widgetsOf(className.constData());
    QCOMPARE(built.size(), 1);
    QTRY_VERIFY(built.first()->isVisible());
    built.first()->close();
    QVERIFY(!built.first()->isVisible());
    // Used again, the same window shows.
    action->trigger();
    QCOMPARE(widgetsOf(className.constData()), built);
    QTRY_VERIFY(built.first()->isVisible());
    built.first()->close();
}

void MainWindowSideWindowsTest::theLadderShowsThePricedBuyOfTheMainWindow_data()
{
    QTest::addColumn<bool>("tenThousands");
    QTest::newRow("amounts in 元") << false;
    // The ladder reads the trade in 元; the main window keeps showing 万元.
    QTest::newRow("amounts in 万元") << true;
}

void MainWindowSideWindowsTest::theLadderShowsThePricedBuyOfTheMainWindow()
{
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    pickStock(w, u"000709"_s);
    priceTrade(w, u"1200"_s, u"14.46"_s);
    w.trade().todayOpen->setText(u"14.00"_s);
    retype(w.trade().currentPrice, u"14.80"_s);
    QFETCH(bool, tenThousands);
    if (tenThousands)
        QTest::keyClick(w.trade().amountUnit, Qt::Key_Down);

    w.menus().tradeDetail->trigger();
    const windows::ProfitLossWindow& window = side().profitLoss();
    QCOMPARE(w.trade().amountUnit->currentIndex(), tenThousands ? 1 : 0);
    QCOMPARE(ladderCell(window, 0, 0), u"14.07 ↑  0.5%"_s);
    QCOMPARE(ladderCell(window, 19, 3), u"12.60 ↓  10.0%"_s);
    // The gains are against the total of 17426.41 元 in both units.
    QCOMPARE(ladderCell(window, 0, 1), u"-683.42"_s);
    QCOMPARE(ladderCell(window, 19, 4), u"-2436.84"_s);
    auto* header = window.findChild<QLabel*>(u"Label1"_s);
    QVERIFY(header);
    QVERIFY2(header->text().startsWith(u"唐钢股份  买入价格:14.46  数量:1200  今开:14.00"_s),
             qPrintable(header->text()));
    QCOMPARE(window.findChild<QLineEdit*>(u"syl"_s)->text(), u"14.80"_s);
}

void MainWindowSideWindowsTest::addingToTheJournalTakesTheCurrentCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("notes");
    // The placeholder code is a code like any other to the journal.
    QTest::newRow("placeholder") << u"000000"_s << 1;
    QTest::newRow("empty") << QString() << 0;
}

void MainWindowSideWindowsTest::addingToTheJournalTakesTheCurrentCode()
{
    QFETCH(QString, code);
    QFETCH(int, notes);
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    w.trade().code->setText(code);
    const QString before = w.trade().gainLabel->text();

    w.menus().tradeJournalAdd->trigger();

    const auto written =
        side().journal().notes(journal::RatingFilter::All, journal::NoteOrder::ByEntry);
    QCOMPARE(written.size(), notes);
    if (notes) {
        QCOMPARE(written.first().code, code);
        QCOMPARE(w.trade().gainLabel->text(), u"添加待选股票成功!"_s);
    } else {
        QCOMPARE(w.trade().gainLabel->text(), before);
    }
    QVERIFY(h->prompter.messages.isEmpty());
    // The journal window need not show for a note to be added.
    QVERIFY(!side().journalWindow().isVisible());
}

namespace {

// A note on 000709 with a date reminder for today, written before the program starts.
void writeDueNote(sql::Database& db)
{
    journal::upgradeJournalSchema(db);
    journal::Journal notes(db);
    ledger::LedgerNotifier changes;
    const auto added =
        notes.add({u"000709"_s, u"唐钢股份"_s, u"14.80"_s, {}, {}, {}, {}, u"回调到位再看"_s},
                  QDate::currentDate(), changes);
    QVERIFY(added.written());
    journal::ReminderSettings reminder;
    reminder.date = QDate::currentDate();
    QVERIFY(notes.setReminder(added.id, reminder, changes));
}

} // namespace

void MainWindowSideWindowsTest::aReminderDueAtStartIsToldInTheTray()
{
    h = std::make_unique<Harness>(true);
    writeDueNote(h->db);
    QVERIFY(h->open());
    QCOMPARE(h->tray.messages.size(), 1);
    QVERIFY(h->tray.visible);
    const QString told =
        h->tray.messages.first().first + u" / "_s + h->tray.messages.first().second;
    QVERIFY2(told.contains(u"000709"_s) || told.contains(u"唐钢股份"_s), qPrintable(told));

    // Told once: the next start stays quiet.
    QVERIFY(h->reopen());
    QCOMPARE(h->tray.messages.size(), 1);
}

void MainWindowSideWindowsTest::withoutATrayAReminderIsToldInTheStatusBar()
{
    h = std::make_unique<Harness>(false);
    writeDueNote(h->db);
    QVERIFY(h->open());
    QVERIFY(h->tray.messages.isEmpty());
    QVERIFY(!h->window().statusBar()->currentMessage().isEmpty());
}

void MainWindowSideWindowsTest::theProfitLossWindowHidesAndShowsTheMainWindow()
{
    h = std::make_unique<Harness>(true);
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    w.menus().tradeDetail->trigger();
    QAction* toggle = side().profitLoss().popupMenu()->mainWindowAction;

    toggle->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(h->tray.visible);
    QVERIFY(side().profitLoss().isVisible());

    toggle->trigger();
    QVERIFY(w.isVisible());
    QVERIFY(!h->tray.visible);
}

void MainWindowSideWindowsTest::theMainTimerPausesWhileTheJournalShows()
{
    h = std::make_unique<Harness>();
    QVERIFY(h->open());
    QSignalSpy pause(&side(), &app::SideWindows::mainTimerPauseWanted);
    h->window().menus().ledgerJournalView->trigger();
    side().journalWindow().hide();
    QCOMPARE(pause.size(), 2);
    QCOMPARE(pause.at(0).at(0).toBool(), true);
    QCOMPARE(pause.at(1).at(0).toBool(), false);
}

// 隐藏主窗口 in the journal, then the journal's ×: the program goes on in the
// tray, as its event loop shows; only the main window's closing ends it.
void MainWindowSideWindowsTest::closingTheJournalWithTheMainWindowInTheTrayLeavesTheProgramRunning()
{
    h = std::make_unique<Harness>(true);
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    w.menus().ledgerJournalView->trigger();
    windows::JournalWindow& journal = side().journalWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&journal));
    // To the tray by the main window's own item: the journal's closing leaves it
    // there.
    w.menus().hideToTray->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(h->tray.visible);

    // A timer of the test's own ends the loop when nothing else has.
    constexpr int stillRunning = 42;
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, qApp, [] { QCoreApplication::exit(stillRunning); });
    QTimer::singleShot(0, &journal, [&journal] { journal.close(); });
    stop.start(1000);
    QCOMPARE(QApplication::exec(), stillRunning);
    QVERIFY(!journal.isVisible());

    QVERIFY(!w.isVisible());

    // The main window's closing does end it.
    w.menus().trayRestore->trigger();
    QVERIFY(w.isVisible());
    QTimer::singleShot(0, &w, [&w] { w.menus().exit->trigger(); });
    stop.start(5000);
    QCOMPARE(QApplication::exec(), 0);
}

void MainWindowSideWindowsTest::closingTheJournalBringsBackTheMainWindowItHid_data()
{
    QTest::addColumn<QString>("how");         // how the journal closes
    QTest::addColumn<bool>("restoredBefore"); // 还原 in the tray before it closes
    QTest::newRow("退出(&X)") << u"exit"_s << false;
    QTest::newRow("close box") << u"close box"_s << false;
    QTest::newRow("restored from the tray, then 退出(&X)") << u"exit"_s << true;
}

// 隐藏主窗口(&H) in the journal: however the journal then closes, the main window
// comes back from the tray. The item reads 显示主窗口(&S) only while the main window
// is hidden, also when the tray brought it back.
void MainWindowSideWindowsTest::closingTheJournalBringsBackTheMainWindowItHid()
{
    QFETCH(QString, how);
    QFETCH(bool, restoredBefore);
    h = std::make_unique<Harness>(true);
    QVERIFY(h->open());
    app::MainWindow& w = h->window();
    w.menus().ledgerJournalView->trigger();
    windows::JournalWindow& journal = side().journalWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&journal));
    QAction* item = journal.findChild<windows::JournalMenu*>()->mainWindowAction();
    QCOMPARE(item->text(), u"隐藏主窗口(&H)"_s);
    item->trigger();
    QVERIFY(!w.isVisible());
    QVERIFY(h->tray.visible);
    QCOMPARE(item->text(), u"显示主窗口(&S)"_s);

    if (restoredBefore) {
        w.menus().trayRestore->trigger();
        QVERIFY(w.isVisible());
        QCOMPARE(item->text(), u"隐藏主窗口(&H)"_s);
    }
    if (how == u"exit"_s)
        click(journal.findChild<QPushButton*>(u"exitButton"_s));
    else
        journal.close();
    QVERIFY(!journal.isVisible());
    QVERIFY(w.isVisible());
    QVERIFY(!h->tray.visible);
    QCOMPARE(item->text(), u"隐藏主窗口(&H)"_s);

    // Opened again, the journal offers to hide the main window it sees.
    w.menus().ledgerJournalView->trigger();
    QCOMPARE(item->text(), u"隐藏主窗口(&H)"_s);
    item->trigger();
    QVERIFY(!w.isVisible());
    journal.close();
    QVERIFY(w.isVisible());
}

int runSideWindowTests(int argc, char* argv[])
{
    MainWindowSideWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestSideWindows.moc"
