#include "Program.h"

#include "DesktopServices.h"
#include "MainMenus.h"
#include "MainTradePort.h"
#include "MainWindow.h"
#include "QtTranslations.h"
#include "ShortcutWriter.h"
#include "TrayPort.h"
#include "ledger/LedgerFile.h"
#include "ledger/SeedList.h"
#include "windows/AccountChartWindow.h"
#include "windows/DatabaseFailure.h"
#include "windows/Prompter.h"
#include "windows/StockEditorWindow.h"

#include <QAction>
#include <QApplication>
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

} // namespace

std::unique_ptr<Program> Program::start()
{
    QApplication::setApplicationName(u"Corvanta"_s);
    QApplication::setOrganizationName(u"Corvanta"_s);
    QLocale::setDefault(QLocale::c());
    installQtTranslations(*QCoreApplication::instance());

    const QString folder =
        ledger::ledgerFolder(QApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString path = ledger::ledgerPath(folder);
    // A second copy must never write beside the first: it says so and ends. A lock
    // file that cannot be written leaves the folder's own refusal to the opening.
    ledger::LedgerLock lock(path);
    if (const auto outcome = lock.acquire();
        outcome == ledger::LedgerLock::Outcome::HeldElsewhere) {
        showStartFailure(lock.message(outcome));
        return nullptr;
    }
    std::optional<sql::Database> db;
    try {
        db.emplace(ledger::openLedger(path, ledger::loadSeedList()));
    } catch (const ledger::LedgerOpenError& error) {
        showStartFailure(error.message());
        return nullptr;
    } catch (const std::exception& error) {
        // A program whose built-in stock list is damaged cannot seed a ledger.
        showStartFailure(u"程序无法启动：\n"_s + QString::fromUtf8(error.what()));
        return nullptr;
    }
    try {
        auto program = std::make_unique<Program>(std::move(*db));
        program->m_lock = std::make_unique<ledger::LedgerLock>(std::move(lock));
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
    m_mainWindow = std::make_unique<MainWindow>(m_db, m_stocks, m_writer, m_network, m_services);
    m_tradePort = std::make_unique<MainTradePort>(*m_mainWindow);
    // A child window of the main window, so it stays above it; destroyed first.
    m_stockEditor = std::make_unique<windows::StockEditorWindow>(
        m_stocks, m_writer, m_services.prompter, m_mainWindow.get());
    m_accountCharts =
        std::make_unique<windows::AccountChartWindow>(m_db, m_notifier, m_mainWindow.get());
    if (m_system)
        m_system->prompter.setParent(m_mainWindow.get());
    wire();
}

// The members go in reverse: the windows first, the database last.
Program::~Program() = default;

void Program::wire()
{
    MainWindow* main = m_mainWindow.get();
    windows::StockEditorWindow* editor = m_stockEditor.get();
    QObject::connect(main, &MainWindow::stockEditorWanted, editor,
                     &windows::StockEditorWindow::showFor);
    QObject::connect(editor, &windows::StockEditorWindow::stockSaved, main,
                     &MainWindow::makeStockCurrent);
    QObject::connect(main, &MainWindow::closing, editor, &QWidget::close);
    windows::AccountChartWindow* charts = m_accountCharts.get();
    QObject::connect(main->menus().accountCharts, &QAction::triggered, charts, [charts] {
        charts->refresh();
        charts->show();
        charts->raise();
    });
    QObject::connect(main, &MainWindow::closing, charts, &QWidget::close);
}

windows::TradePort& Program::tradePort() const
{
    return *m_tradePort;
}

void Program::show()
{
    m_mainWindow->show();
}

} // namespace corvanta::app
