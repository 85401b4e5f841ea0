#include "Program.h"
#include "CommandLine.h"

#include "Application.h"
#include "DesktopServices.h"
#include "LedgerController.h"
#include "LedgerPageCheck.h"
#include "LedgerPasswordController.h"
#include "MainMenus.h"
#include "MainTimerPauses.h"
#include "MainWindow.h"
#include "MonitorController.h"
#include "QtTranslations.h"
#include "QuoteRefreshController.h"
#include "QuoteSourceController.h"
#include "ShortcutWriter.h"
#include "SideWindows.h"
#include "SummaryController.h"
#include "TradePanel.h"
#include "TrayPort.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/SeedList.h"
#include "monitor/MonitorSession.h"
#include "report/SummaryQuotedValues.h"
#include "report/TotalsReport.h"
#include "windows/AccountCharts.h"
#include "windows/BackupWindow.h"
#include "windows/DatabaseFailure.h"
#include "windows/FileChooser.h"
#include "windows/ImportWindow.h"
#include "windows/Prompter.h"
#include "windows/StockEditorWindow.h"
#include "windows/StockEventWindow.h"
#include "windows/TotalsReportWindow.h"
#include "windows/YearlyStatementWindow.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace corvanta::app {

// The platform pieces of a real run.
class SystemServices {
public:
    MainWindowServices services() { return {prompter, desktop, tray, shortcuts}; }

    windows::MessageBoxPrompter prompter;
    SystemDesktopServices desktop;
    SystemTrayPort tray;
    DesktopEntryWriter shortcuts;
};

namespace {

void showStartFailure(const QString& text)
{
    QMessageBox::critical(nullptr, windows::applicationTitle(), text);
}

// The first start of a day keeps a copy of the ledger as it was. A copy that
// cannot be made does not keep the user from working.
void keepDailySafetyCopy(sql::Database& db, const QString& path)
{
    const ledger::SafetyCopies copies(path);
    // Parts of a copy cut off by a kill are of no use to anyone.
    copies.removeLeftovers();
    const QDateTime now = QDateTime::currentDateTime();
    if (!copies.dueOn(now.date()))
        return;
    try {
        copies.make(db, now);
    } catch (const ledger::BackupError& error) {
        qWarning("%s", qPrintable(error.message()));
    }
}

} // namespace

QString Program::defaultLedgerPath()
{
    return programLedgerPath();
}

std::unique_ptr<Program> Program::start()
{
    const QString path = defaultLedgerPath();
    QLocale::setDefault(QLocale::c());
    installQtTranslations(*QCoreApplication::instance());

    // A second copy must never write beside the first: it says so and ends. A lock
    // file that cannot be written leaves the folder's own refusal to the opening.
    ledger::LedgerLock lock(path, ledger::LedgerLock::Holder::Window);
    if (const auto outcome = lock.acquire();
        outcome == ledger::LedgerLock::Outcome::HeldElsewhere) {
        showStartFailure(lock.message(outcome));
        return nullptr;
    }
    std::optional<sql::Database> db;
    bool pagesRead = false; // a ledger with a password is read whole when it opens
    try {
        // A large ledger takes long to read whole: its window shows first.
        db.emplace(
            ledger::openLedgerSeededBy(path, &ledger::loadSeedList, ledger::PageCheck::Later));
    } catch (const ledger::LedgerOpenError& error) {
        // A ledger with a personal password is asked for it first; cancelling
        // shows why the program's key did not open the file.
        QString failure = error.message();
        if (error.mayHavePassword())
            db = openWithStartPassword(path, error, failure);
        pagesRead = true;
        if (!db) {
            showStartFailure(failure);
            return nullptr;
        }
    } catch (const std::exception& error) {
        // A program whose built-in stock list is damaged cannot seed a ledger.
        showStartFailure(u"程序无法启动：\n"_s + QString::fromUtf8(error.what()));
        return nullptr;
    }
    keepDailySafetyCopy(*db, path);
    try {
        auto program = std::make_unique<Program>(std::move(*db));
        program->m_lock = std::make_unique<ledger::LedgerLock>(std::move(lock));
        if (!pagesRead)
            program->checkPagesOnceShown(path);
        return program;
    } catch (const sql::Error& error) {
        showStartFailure(windows::databaseFailureText(windows::LedgerAccess::Read, error));
        return nullptr;
    }
}

Program::Program(sql::Database db) : Program(std::move(db), std::make_unique<SystemServices>(), {})
{
}

Program::Program(sql::Database db, MainWindowServices services)
    : Program(std::move(db), nullptr, services)
{
}

Program::Program(sql::Database db, std::unique_ptr<SystemServices> system,
                 std::optional<MainWindowServices> services)
    : m_system(std::move(system)), m_services(services ? *services : m_system->services()),
      m_db(std::move(db)), m_stocks(m_db), m_writer(m_db, m_notifier)
{
    // Ledgers written without reminders gain the journal's reminder table first.
    journal::upgradeJournalSchema(m_db);
    m_quoteSources = std::make_unique<market::QuoteSourceChoice>(loadQuoteSourceKind(m_db),
                                                                 loadQuoteHosts(m_db));
    m_quoteService = std::make_unique<market::QuoteService>(m_network, *m_quoteSources);
    m_mainWindow = std::make_unique<MainWindow>(m_db, m_stocks, m_writer, m_network, m_services,
                                                *m_quoteSources, *m_quoteService);
    m_summary =
        std::make_unique<SummaryController>(m_db, m_notifier, m_network, m_quoteLines,
                                            *m_mainWindow, m_services.prompter, *m_quoteService);
    m_monitor = std::make_unique<MonitorController>(
        MonitorController::Parts{m_db, m_stocks, m_notifier, m_network, *m_mainWindow,
                                 m_mainWindow->tradeForm(), m_services, *m_quoteService});
    m_sideWindows =
        std::make_unique<SideWindows>(m_db, m_notifier, *m_mainWindow, m_mainWindow->tradeForm(),
                                      m_services.prompter, m_services.tray);
    if (m_system)
        m_system->prompter.setParent(m_mainWindow.get());
    if (Application* app = application())
        app->setPrompter(&m_services.prompter);
    wire();
    wireMenus();
    m_password = new LedgerPasswordController(m_db, m_services.prompter, m_mainWindow.get());
    QObject::connect(m_mainWindow->menus().ledgerPassword, &QAction::triggered, m_password,
                     &LedgerPasswordController::editPassword);
}

// The members go in reverse: the windows first, the database last.
Program::~Program()
{
    if (Application* app = application())
        app->setPrompter(nullptr);
}

void Program::wire()
{
    MainWindow* main = m_mainWindow.get();
    // Only the main window's closing (退出, its ×) ends the program. With the main
    // window in the tray, a side window closed last is no reason to end it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(main, &MainWindow::closing, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    // The monitor follows the main window's 2-second timer. It, the journal, the
    // stock editor and the data exchange windows stop the timer while they show.
    QuoteRefreshController* quotes = &main->quotes();
    QObject::connect(quotes, &QuoteRefreshController::ticked, quotes,
                     [this](bool networkOk) { onMainTimerTick(networkOk); });
    m_timerPauses =
        std::make_unique<MainTimerPauses>([quotes](bool run) { quotes->setPaused(!run); });
    MainTimerPauses* pauses = m_timerPauses.get();
    QObject::connect(m_monitor.get(), &MonitorController::mainTimerStopRequested, quotes,
                     [pauses] { pauses->hold(MainTimerPause::Monitor); });
    QObject::connect(m_monitor.get(), &MonitorController::mainTimerStartRequested, quotes,
                     [pauses] { pauses->release(MainTimerPause::Monitor); });
    QObject::connect(m_monitor.get(), &MonitorController::dateRangePauseWanted, quotes,
                     [pauses](bool pause) { pauses->set(MainTimerPause::DateRange, pause); });
    QObject::connect(m_sideWindows.get(), &SideWindows::mainTimerPauseWanted, quotes,
                     [pauses](bool pause) { pauses->set(MainTimerPause::Journal, pause); });
    // Quotes fetched by the summary and the monitor reach the journal's targets too.
    SummaryController* summary = m_summary.get();
    SideWindows* side = m_sideWindows.get();
    QObject::connect(summary, &SummaryController::quotesArrived, side, &SideWindows::quotesArrived);
    QObject::connect(&m_monitor->session(), &monitor::MonitorSession::quotesArrived, side,
                     &SideWindows::quotesArrived);
    QObject::connect(summary, &SummaryController::quotedSummaryStarted, &main->quotes(),
                     &QuoteRefreshController::stopLiveRefresh);
    // The charts value the holdings as the last summary did: at market when it was
    // quoted. A fetch that failed leaves the last summary, and so the charts, as
    // they were. Charts not built yet take the last summary when they are.
    QObject::connect(summary, &SummaryController::summaryFinished, main, [this] {
        if (m_accountCharts)
            takeLastSummary(*m_accountCharts);
        memoryReturn().afterBuilding();
    });
}

// The menu items and requests that open a window; each window is built at the
// first of them.
void Program::wireMenus()
{
    MainWindow* main = m_mainWindow.get();
    SummaryController* summary = m_summary.get();
    QObject::connect(main, &MainWindow::stockEditorWanted, main,
                     [this](const QString& code) { stockEditor().showFor(code); });
    QObject::connect(summary, &SummaryController::totalsReportWanted, main, [this, summary, main] {
        totalsReport().showReport(
            report::totalsReport(summary->summary().totals, summary->marketValueText()), main);
    });
    const auto showCharts = [this] {
        showAccountCharts();
    };
    QObject::connect(main->menus().accountCharts, &QAction::triggered, main, showCharts);
    QObject::connect(summary, &SummaryController::accountChartsWanted, main, showCharts);
    const auto showYearly = [this] {
        windows::YearlyStatementWindow& yearly = yearlyStatement();
        yearly.refresh();
        yearly.show();
        yearly.raise();
    };
    QObject::connect(main->menus().yearlyStatement, &QAction::triggered, main, showYearly);
    QObject::connect(summary, &SummaryController::yearlyStatementWanted, main, showYearly);

    const auto showWindow = [](QWidget& window) {
        window.show();
        window.raise();
        window.activateWindow();
    };
    QObject::connect(main->menus().backup, &QAction::triggered, main,
                     [this, showWindow] { showWindow(backupWindow()); });
    QObject::connect(main->menus().brokerImport, &QAction::triggered, main,
                     [this, showWindow] { showWindow(importWindow()); });
    main->markAvailable(model::Available::Backup | model::Available::BrokerImport);

    // The 分红送配 window, for the stock of the grid's current row or, from the
    // stock panel, the current stock.
    const model::TradeForm* form = &main->tradeForm();
    QObject::connect(main->menus().tradeEvents, &QAction::triggered, main,
                     [this, form] { stockEvents().showFor(form->stockCode()); });
    QObject::connect(main->menus().ledgerEvents, &QAction::triggered, main, [this, main, form] {
        const ledger::LedgerRow* row = main->ledgerController().currentRow();
        stockEvents().showFor(row ? row->code : form->stockCode());
    });
}

windows::StockEditorWindow& Program::stockEditor()
{
    if (!m_stockEditor) {
        MainWindow* main = m_mainWindow.get();
        // A child window of the main window, so it stays above it.
        m_stockEditor = std::make_unique<windows::StockEditorWindow>(m_stocks, m_writer,
                                                                     m_services.prompter, main);
        windows::StockEditorWindow* editor = m_stockEditor.get();
        QObject::connect(editor, &windows::StockEditorWindow::stockSaved, main,
                         &MainWindow::makeStockCurrent);
        QObject::connect(main, &MainWindow::closing, editor, &QWidget::close);
        MainTimerPauses* pauses = m_timerPauses.get();
        QObject::connect(editor, &windows::StockEditorWindow::shown, main,
                         [pauses] { pauses->hold(MainTimerPause::StockEditor); });
        QObject::connect(editor, &windows::StockEditorWindow::hidden, main,
                         [pauses] { pauses->release(MainTimerPause::StockEditor); });
    }
    return *m_stockEditor;
}

windows::TotalsReportWindow& Program::totalsReport()
{
    if (!m_totalsReport) {
        m_totalsReport = std::make_unique<windows::TotalsReportWindow>(m_mainWindow.get());
        QObject::connect(m_mainWindow.get(), &MainWindow::closing, m_totalsReport.get(),
                         &QWidget::close);
    }
    return *m_totalsReport;
}

windows::FileChooser& Program::files()
{
    if (!m_files)
        m_files = std::make_unique<windows::DialogFileChooser>(m_mainWindow.get());
    return *m_files;
}

windows::BackupWindow& Program::backupWindow()
{
    if (!m_backupWindow) {
        MainWindow* main = m_mainWindow.get();
        m_backupWindow = std::make_unique<windows::BackupWindow>(
            m_db, m_notifier, m_services.prompter, files(), main);
        windows::BackupWindow* window = m_backupWindow.get();
        QObject::connect(main, &MainWindow::closing, window, &QWidget::close);
        QObject::connect(window, &windows::BackupWindow::shownChanged, main,
                         [this](bool shown) { m_timerPauses->set(MainTimerPause::Backup, shown); });
    }
    return *m_backupWindow;
}

windows::ImportWindow& Program::importWindow()
{
    if (!m_importWindow) {
        MainWindow* main = m_mainWindow.get();
        m_importWindow = std::make_unique<windows::ImportWindow>(
            m_db, m_notifier, m_services.prompter, files(), main);
        windows::ImportWindow* window = m_importWindow.get();
        QObject::connect(main, &MainWindow::closing, window, &QWidget::close);
        QObject::connect(window, &windows::ImportWindow::shownChanged, main,
                         [this](bool shown) { m_timerPauses->set(MainTimerPause::Import, shown); });
    }
    return *m_importWindow;
}

windows::YearlyStatementWindow& Program::yearlyStatement()
{
    if (!m_yearlyStatement) {
        m_yearlyStatement =
            std::make_unique<windows::YearlyStatementWindow>(m_db, m_notifier, m_mainWindow.get());
        QObject::connect(m_mainWindow.get(), &MainWindow::closing, m_yearlyStatement.get(),
                         &QWidget::close);
        memoryReturn().watch(m_yearlyStatement.get());
    }
    return *m_yearlyStatement;
}

windows::StockEventWindow& Program::stockEvents()
{
    if (!m_stockEvents) {
        m_stockEvents = std::make_unique<windows::StockEventWindow>(
            m_db, m_writer, m_services.prompter, m_mainWindow.get());
        QObject::connect(m_mainWindow.get(), &MainWindow::closing, m_stockEvents.get(),
                         &QWidget::close);
    }
    return *m_stockEvents;
}

void Program::takeLastSummary(windows::AccountCharts& charts) const
{
    const std::optional<report::QuotedValues>& values = m_summary->lastMarketValues();
    charts.setQuotedValues(values.value_or(report::QuotedValues{}), values.has_value());
}

windows::AccountCharts* Program::accountCharts()
{
    // Built on first use: most starts never draw them, and their charts are costly.
    if (!m_accountCharts) {
        windows::AccountChartsModule* module = m_chartsModule.module();
        if (!module)
            return nullptr;
        m_accountCharts.reset(module->createCharts(m_db, m_notifier, m_mainWindow.get()));
        takeLastSummary(*m_accountCharts);
        QObject::connect(m_mainWindow.get(), &MainWindow::closing, m_accountCharts.get(),
                         &QWidget::close);
        // Closed, the window goes, and the chart library's memory with it; the
        // next opening builds it again.
        memoryReturn().watch(m_accountCharts.get(), [this] { m_accountCharts.reset(); });
    }
    return m_accountCharts.get();
}

MemoryReturn& Program::memoryReturn()
{
    if (!m_memoryReturn)
        m_memoryReturn = std::make_unique<MemoryReturn>(m_db);
    return *m_memoryReturn;
}

bool Program::showAccountCharts()
{
    windows::AccountCharts* charts = accountCharts();
    if (!charts) {
        m_services.prompter.inform(m_chartsModule.error());
        return false;
    }
    charts->refresh();
    charts->show();
    charts->raise();
    return true;
}

model::TradeForm& Program::tradeForm() const
{
    return m_mainWindow->tradeForm();
}

void Program::onMainTimerTick(bool networkOk)
{
    m_monitor->onMainTimerTick(networkOk);
}

void Program::show()
{
    m_mainWindow->show();
    m_sideWindows->startReminders();
    if (m_pageCheck)
        m_pageCheck->runOnceExposed(*m_mainWindow);
}

void Program::checkPagesOnceShown(const QString& path)
{
    m_pageCheck = new LedgerPageCheck(m_db, path, m_services.prompter, m_mainWindow.get());
    // The program ends as 退出 ends it.
    QObject::connect(m_pageCheck, &LedgerPageCheck::ledgerDamaged, m_mainWindow.get(),
                     &QWidget::close);
}

bool Program::ledgerFoundDamaged() const
{
    return m_pageCheck && m_pageCheck->failed();
}

} // namespace corvanta::app
