#include "ReminderWatch.h"

#include "Journal.h"
#include "Notifier.h"

#include <QTimer>

#include <cmath>

namespace corvanta::journal {

ReminderWatch::ReminderWatch(Journal& journal, ledger::LedgerNotifier& changes, Notifier& notifier,
                             QObject* parent)
    : QObject(parent), m_journal(journal), m_changes(changes), m_notifier(notifier),
      m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, [this] { check(QDate::currentDate()); });
}

void ReminderWatch::startChecking(std::chrono::milliseconds interval)
{
    m_timer->start(interval);
    check(QDate::currentDate());
}

void ReminderWatch::check(QDate today)
{
    const QList<NoteReminder> notes = m_journal.reminders();
    const QList<DueAlert> due = dueAlerts(notes, today, m_lastPrices);
    if (due.isEmpty())
        return;
    // Remembered first: a failed write throws before anything is told, so nothing
    // is told that would be told again.
    m_journal.markReported(due, m_changes);
    for (const DueAlert& alert : due) {
        for (const NoteReminder& note : notes) {
            if (note.noteId != alert.noteId)
                continue;
            const AlertMessage message = alertMessage(note, alert);
            m_notifier.notify(message.title, message.text);
            Q_EMIT alerted(alert.noteId);
            break;
        }
    }
}

void ReminderWatch::quoteArrived(const QString& code, const QString& priceText, QDate today)
{
    bool ok = false;
    const double price = priceText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(price) || price <= 0)
        return;
    m_lastPrices.insert(code.trimmed(), price);
    check(today);
}

} // namespace corvanta::journal
