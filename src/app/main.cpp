#include "app/AppState.h"
#include "app/DesktopServices.h"
#include "app/MainWindow.h"
#include "app/QtTranslations.h"
#include "app/ShortcutWriter.h"
#include "app/TrayPort.h"
#include "ledger/LedgerFile.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Database.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace corvanta;

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Corvanta"_s);
    QApplication::setOrganizationName(u"Corvanta"_s);
    QLocale::setDefault(QLocale::c());
    app::installQtTranslations(application);

    const QString folder =
        ledger::ledgerFolder(QApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString path = ledger::ledgerPath(folder);
    std::optional<sql::Database> db;
    try {
        db.emplace(ledger::openLedger(path, ledger::loadSeedList()));
    } catch (const ledger::LedgerOpenError& error) {
        QMessageBox::critical(nullptr, windows::applicationTitle(), error.message());
        return 1;
    } catch (const std::exception& error) {
        // A program whose built-in stock list is damaged cannot seed a ledger.
        QMessageBox::critical(nullptr, windows::applicationTitle(),
                              u"程序无法启动：\n"_s + QString::fromUtf8(error.what()));
        return 1;
    }

    app::SessionState state;
    windows::MessageBoxPrompter prompter;
    app::SystemDesktopServices desktop;
    app::SystemTrayPort tray;
    app::DesktopEntryWriter shortcuts;
    std::optional<app::MainWindow> window;
    try {
        window.emplace(state, *db, app::MainWindowServices{prompter, desktop, tray, shortcuts});
    } catch (const sql::Error& error) {
        QMessageBox::critical(nullptr, windows::applicationTitle(),
                              u"账本读取失败：\n"_s + error.message());
        return 1;
    }
    prompter.setParent(&*window);
    window->show();
    return application.exec();
}
