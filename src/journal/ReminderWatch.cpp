#include "ReminderWatch.h"

#include "Journal.h"
#include "Notifier.h"

#include <QTimer>

#include <cmath>
#include <optional>

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

namespace {

// The price of a quote's text: none for "-", empty or anything not a positive number.
std::optional<double> quotedPrice(const QString& text)
{
    bool ok = false;
    const double price = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(price) || price <= 0)
        return std::nullopt;
    return price;
}

} // namespace

void ReminderWatch::quoteArrived(const QString& code, const QString& priceText, QDate today)
{
    const auto price = quotedPrice(priceText);
    if (!price)
        return;
    m_lastPrices.insert(code.trimmed(), *price);
    check(today);
}

void ReminderWatch::pricesArrived(const QHash<QString, QString>& priceTexts, QDate today)
{
    bool any = false;
    for (auto it = priceTexts.cbegin(); it != priceTexts.cend(); ++it) {
        if (const auto price = quotedPrice(it.value())) {
            m_lastPrices.insert(it.key().trimmed(), *price);
            any = true;
        }
    }
    if (any)
        check(today);
}

} // namespace corvanta::journal
