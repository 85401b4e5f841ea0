#pragma once

#include <QObject>

#include <memory>

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::journal {
class Journal;
class ReminderWatch;
} // namespace corvanta::journal

namespace corvanta::ledger {
class LedgerNotifier;
}

namespace corvanta::sql {
class Database;
}

namespace corvanta::windows {
class JournalMemoWindow;
class JournalWindow;
class ProfitLossWindow;
class Prompter;
} // namespace corvanta::windows

namespace corvanta::app {

class MainWindow;
class ReminderNotifier;
class TrayPort;

// The windows that work beside the main window on its trade: the per-price
// profit/loss detail and the stock journal with its memo and reminders. The
// reminders are watched from the start; each window is built when first used,
// opened from the main window's menus, and reads the trade only through its trade form.
class SideWindows : public QObject {
    Q_OBJECT
public:
    // Over a ledger whose journal tables are up to date.
    SideWindows(sql::Database& db, ledger::LedgerNotifier& changes, MainWindow& main,
                model::TradeForm& trade, windows::Prompter& prompter, TrayPort& tray);
    ~SideWindows() override;

    // Starts watching the reminders: those already due are told at once.
    void startReminders();

    // Built when first asked for.
    windows::ProfitLossWindow& profitLoss();
    windows::JournalWindow& journalWindow();
    windows::JournalMemoWindow& memoWindow();
    journal::Journal& journal() const { return *m_journal; }
    journal::ReminderWatch& reminders() const { return *m_reminders; }

    void openProfitLoss();
    void openJournal();
    // "加入股票日志(&A)": a note for the current stock, told in the result label.
    void addToJournal();
    // Quote record lines fetched by the summary or the monitor: the journal's
    // targets are checked against their prices.
    void quotesArrived(const QStringList& records);

Q_SIGNALS:
    // The main window's 2-second quote timer should pause (true) while the journal
    // is shown, and run again (false) when it hides.
    void mainTimerPauseWanted(bool pause);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireMenus();
    void wireMainWindow();
    void wireProfitLoss();
    void wireJournalWindow();
    void onCurrentPriceEdited();

    MainWindow& m_main;
    model::TradeForm& m_trade;
    ledger::LedgerNotifier& m_changes;
    windows::Prompter& m_prompter;
    std::unique_ptr<journal::Journal> m_journal;
    std::unique_ptr<ReminderNotifier> m_notifier;
    std::unique_ptr<journal::ReminderWatch> m_reminders;
    std::unique_ptr<windows::ProfitLossWindow> m_profitLoss;
    std::unique_ptr<windows::JournalWindow> m_journalWindow;
    std::unique_ptr<windows::JournalMemoWindow> m_memoWindow;
};

} // namespace corvanta::app
