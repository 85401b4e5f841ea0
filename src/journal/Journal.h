#pragma once

#include "ColumnLimits.h"
#include "JournalNote.h"
#include "Ratings.h"
#include "Reminders.h"

#include <QDate>
#include <QList>
#include <QString>

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerNotifier;
}

namespace corvanta::journal {

// The order of a listing: the window opens on notes by date and name; every later
// listing is in the order the notes were written, so a new note is the last row.
enum class NoteOrder { ByDateAndName, ByEntry };

// What became of an add or a save: the note written, or the message refusing it.
struct WriteOutcome {
    qint64 id = 0;
    QString refusal;
    bool written() const { return refusal.isEmpty(); }
};

// The journal of candidate stocks (dxgp) and its reminders (dxgp_reminder), with the
// current rating. Every write is one transaction and is announced as a journal
// change after its commit; a refused write changes nothing and announces nothing.
// Values are always bound, never spliced into the SQL.
class Journal {
public:
    explicit Journal(sql::Database& db) : m_db(db) {}

    // The rating every later add, and every later save while it is not blank,
    // writes into 评级. Empty at first; it lasts as long as this object.
    QString currentRating() const { return m_currentRating; }
    void setCurrentRating(const QString& rating) { m_currentRating = rating; }

    QList<JournalNote> notes(RatingFilter filter, NoteOrder order) const;
    std::optional<JournalNote> note(qint64 id) const;

    // A new note dated `today` with the current rating.
    WriteOutcome add(const NoteDraft& draft, QDate today, ledger::LedgerNotifier& notifier);
    // Writes the draft into the note, keeping its date; the current rating replaces
    // 评级 only when it is not blank. Without a note (an empty view) the draft is
    // added as a new note without a date. With `reminder`, the note's reminder is
    // set in the same transaction.
    WriteOutcome save(std::optional<qint64> id, const NoteDraft& draft,
                      ledger::LedgerNotifier& notifier, const ReminderSettings* reminder = nullptr);
    // Deletes the note and its reminder; false when there was no such note.
    bool remove(qint64 id, ledger::LedgerNotifier& notifier);
    // Deletes every note and every reminder.
    void clear(ledger::LedgerNotifier& notifier);

    // Sets a note's reminder and targets. What has fired is kept while the date,
    // frequency or target level stays the same, and forgotten when it changes.
    // False when there is no such note.
    bool setReminder(qint64 id, const ReminderSettings& settings, ledger::LedgerNotifier& notifier);
    // Every note that has a reminder date or a target, in ID order.
    QList<NoteReminder> reminders() const;
    // Remembers the alerts as reported, all in one transaction.
    void markReported(const QList<DueAlert>& alerts, ledger::LedgerNotifier& notifier);

private:
    qint64 insertNote(const NoteDraft& draft, const QString& date);
    void writeReminder(qint64 id, const ReminderSettings& settings);

    sql::Database& m_db;
    QString m_currentRating;
};

} // namespace corvanta::journal
