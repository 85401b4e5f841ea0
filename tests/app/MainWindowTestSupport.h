#pragma once

#include "FakeDesktopServices.h"
#include "FakeTrayPort.h"
#include "ScriptedPrompter.h"
#include "app/DesktopServices.h"
#include "app/FeeController.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "app/ShortcutWriter.h"
#include "app/TrayController.h"
#include "app/TrayPort.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QTableView;

namespace corvanta::app {
class InputBoxDialog;
}

namespace mwtest {

using namespace corvanta;

class FakeShortcuts : public app::ShortcutWriter {
public:
    struct Call {
        QString target, arguments, linkPath, description;
    };
    app::ShortcutResult createShortcut(const QString& target, const QString& arguments,
                                       const QString& linkPath,
                                       const QString& description) override;
    QList<Call> calls;
};

// A loopback address nothing listens on.
inline const QString closedHost = QStringLiteral("http://127.0.0.1:1");

// A small stock table: the placeholder, 25 Shanghai codes 600000..600024, two
// stocks with the initials ZGYH, three ChiNext codes, Shenzhen codes (000709 the
// sample trade's stock), a warrant and a fund.
QList<ledger::SeedStock> testSeedList();

// The program over a scratch ledger file (the sample trade included), with fakes
// for the prompter, desktop, tray and shortcut writer. `db` is a connection of the
// test's own to that file: the ledger can be prepared before open() builds the
// program and shows its main window, and checked afterwards.
class Harness {
public:
    explicit Harness(bool trayAvailable = false);
    ~Harness();

    // Builds the window, shows and activates it; false when it never became active.
    [[nodiscard]] bool open();
    // Replaces the program by a new one over the same ledger, as the next start of
    // the program would.
    [[nodiscard]] bool reopen();
    // Replaces the program by a new one and shows its window as a start does,
    // returning before the event loop has run: nothing the start leaves to the
    // event loop has been done yet.
    void restartWithoutEvents();

    app::Program& program() const { return *m_program; }
    // The ledger file the program opens.
    QString ledgerFile() const { return folder.filePath(QStringLiteral("ledger.db")); }
    bool hasProgram() const { return m_program != nullptr; }
    app::MainWindow& window() const { return m_program->mainWindow(); }
    windows::StockEditorWindow& stockEditor() const { return m_program->stockEditor(); }

    // The window's child of that object name.
    template <typename T> T* find(const QString& name) const
    {
        return window().findChild<T*>(name);
    }

    QTemporaryDir folder;
    // open() leaves reading every page of the ledger until the window has shown,
    // as a start of the program does.
    bool pagesReadOnceShown = false;
    sql::Database db;
    test::ScriptedPrompter prompter;
    FakeDesktopServices desktop;
    FakeTrayPort tray;
    FakeShortcuts shortcuts;

private:
    sql::Database openLedger() const;

    std::unique_ptr<app::Program> m_program;
};

// Every test ends here: no window is left registered as modal, and the main
// window, when shown, takes a click through its platform window as a user's would.
// Then the program is gone.
void endTest(std::unique_ptr<Harness>& harness);
// Whether a click through the platform window reaches the window's widgets
// (a modal window blocks it before any widget sees it).
bool takesClick(QWidget& window);

// Gives the field the focus as a click would, empties it with Backspace and types
// the text key by key, so every key filter and key-release handler runs.
void retype(QLineEdit* edit, const QString& text);
// Types into an editable rate box.
void retype(QComboBox* box, const QString& text);
// Clicks a button, radio button or check box with the mouse.
void click(QAbstractButton* button);
// Commits text through the input method, as a Chinese input method delivers it.
void commitText(QWidget* widget, const QString& text);

// Types quantity and price into the main window, which prices the trade.
void priceTrade(app::MainWindow& window, const QString& quantity, const QString& price);
// Types a code into the code input and leaves it with Enter.
void pickStock(app::MainWindow& window, const QString& code);

// Clicks the ledger grid's row (first row 0).
void clickGridRow(QTableView* grid, int row);
// The program's quotes come from a quote server's pages at this address (the
// data-source menu's "金融界" with its address), for every fetch.
void quoteFromPages(app::Program& program, const QUrl& address);
// The text of a column for each row of the grid, in grid order.
QStringList gridColumn(QTableView* grid, int column);

// Runs `answer` on the input box as soon as it is shown modally.
void whenInputBoxShows(std::function<void(app::InputBoxDialog&)> answer);

// The open-position quantity of a stock, or -1 when it has no open-position row.
qint64 openQuantity(sql::Database& db, const QString& name);

// A priced trade with plausible result texts (fees 10).
ledger::TradeEntry tradeEntry(const QString& code, const QString& name, Direction direction,
                              int shares, const QString& price,
                              const QString& date = QStringLiteral("2021-03-01"));

// Records a trade straight into the ledger, to prepare a test before the window opens.
qint64 addTrade(sql::Database& db, const QString& code, const QString& name, Direction direction,
                int shares, const QString& price,
                const QString& date = QStringLiteral("2021-03-01"));

// Entry points of the test classes, run one after another by the test's main().
int runFeeTests(int argc, char* argv[]);
int runPickerTests(int argc, char* argv[]);
int runLedgerTests(int argc, char* argv[]);
int runSellTargetTests(int argc, char* argv[]);
int runWindowTests(int argc, char* argv[]);
int runDisplayTests(int argc, char* argv[]);
int runProgramTests(int argc, char* argv[]);
int runSummaryTests(int argc, char* argv[]);
int runQuoteTests(int argc, char* argv[]);
int runMonitorTests(int argc, char* argv[]);
int runSideWindowTests(int argc, char* argv[]);
int runSourceTests(int argc, char* argv[]);
int runChartTests(int argc, char* argv[]);
int runPlaceTests(int argc, char* argv[]);
int runDataExchangeTests(int argc, char* argv[]);
int runPasswordTests(int argc, char* argv[]);

} // namespace mwtest
