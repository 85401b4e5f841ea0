#pragma once

#include "journal/Journal.h"
#include "journal/Ratings.h"
#include "journal/Reminders.h"
#include "ledger/LedgerChanges.h"

#include <QSet>
#include <QWidget>

#include <optional>

class QTimer;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

class JournalButtonBar;
class JournalMemoPanel;
class JournalMemoWindow;
class JournalMenu;
class JournalNotesPanel;
class JournalTableModel;
class Prompter;

// The stock journal "股市日志" (TForm17): the notes on candidate stocks in a grid,
// the selected note's text in a memo below. It reaches the main window's stock and
// quote fields only through the trade form, and follows every journal change
// announced by the ledger. Created once and shown on demand.
class JournalWindow : public QWidget {
    Q_OBJECT
public:
    JournalWindow(journal::Journal& journal, ledger::LedgerNotifier& changes,
                  model::TradeForm& trade, Prompter& prompter, QWidget* parent = nullptr);

    // The memo window rates the selected note through this window.
    void attachMemoWindow(JournalMemoWindow* memoWindow);

    // "加入股票日志(&A)" of the main window: a note for the main window's current
    // stock with the note template. Returns the text for the main window's result
    // label (Label58), or none when nothing was added.
    std::optional<QString> addFromMainWindow();

    // The main window's current price changed: the quote header follows while
    // the window is showing.
    void quoteChanged();

    // A reminder of the note was told: the grid marks it.
    void showAlert(qint64 noteId);

    // The rating memo was confirmed: the rating becomes current, its item is
    // appended to the memo, and the selected note is saved with the reminder.
    void applyMemo(const QString& ratingChoice, const journal::ReminderSettings& reminder);

    // The operations behind the buttons and menus.
    // The add operation: a note from the memo and the main window's fields; false
    // when nothing was added (no current stock, or refused with a message).
    bool addNote();
    void saveNote();
    void deleteNote();
    void clearNotes();
    void applyFilter(journal::RatingFilter filter);
    // `showmmo`: shows the selected note and makes its stock current.
    void showSelectedNote();

    std::optional<qint64> currentNoteId() const;

    // The main window was shown or hidden, by this window or any other way: the
    // menu item offers what can be done with it now.
    void setMainWindowShown(bool shown);

Q_SIGNALS:
    // The window appeared or went away: the main window's quote timer pauses
    // while it shows, and the main window comes back when it goes.
    void shown();
    void hidden();
    // "隐藏主窗口(&H)" and "显示主窗口(&S)".
    void mainWindowHideRequested();
    void mainWindowShowRequested();
    // "评级加星(P)" without an attached memo window.
    void memoWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Landing { Keep, Last, First };
    void reload(Landing landing);
    void onLedgerChanged(ledger::LedgerChanges what);
    void showQuoteHeader(); // `showlabel`
    void leaveCodeField();
    void addFromButton();
    void toggleMainWindow();
    void fillTemplate();
    journal::NoteDraft draft() const;

    journal::Journal& m_journal;
    ledger::LedgerNotifier& m_changes;
    model::TradeForm& m_trade;
    Prompter& m_prompter;
    JournalTableModel* m_model;
    JournalNotesPanel* m_notes;
    JournalButtonBar* m_buttons;
    JournalMemoPanel* m_memo;
    JournalMenu* m_menu;
    QTimer* m_headerPause;
    JournalMemoWindow* m_memoWindow = nullptr;

    journal::RatingFilter m_filter = journal::RatingFilter::All;
    journal::NoteOrder m_order = journal::NoteOrder::ByDateAndName;
    Landing m_nextLanding = Landing::Keep;
    bool m_adding = false;
    // This window hid the main window, which is still hidden: closing brings it back.
    bool m_hidMainWindow = false;
    QSet<qint64> m_alerted;
};

} // namespace corvanta::windows
