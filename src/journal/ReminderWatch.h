#pragma once

#include "Reminders.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QString>

#include <chrono>

class QTimer;

namespace corvanta::ledger {
class LedgerNotifier;
}

namespace corvanta::journal {

class Journal;
class Notifier;

// Raises the journal's reminders: checks the notes against today and the last
// price seen of each stock, tells the user of each one due, and remembers it in the
// ledger file so it is told once. Runs on the user-interface thread.
class ReminderWatch : public QObject {
    Q_OBJECT
public:
    ReminderWatch(Journal& journal, ledger::LedgerNotifier& changes, Notifier& notifier,
                  QObject* parent = nullptr);

    // Reports whatever is due on `today`.
    void check(QDate today);
    // Checks at once and then every `interval` against the clock, so the date
    // reminders come when their day comes while the program runs.
    void startChecking(std::chrono::milliseconds interval = std::chrono::minutes(1));
    // A quote was fetched (main window, summary or monitor): remembers the price of
    // the stock and reports the targets it reached. Texts that are not a positive
    // number ("-", empty) are ignored.
    void quoteArrived(const QString& code, const QString& priceText, QDate today);
    // Many quotes at once (a summary or monitor request): the prices by code,
    // checked together once.
    void pricesArrived(const QHash<QString, QString>& priceTexts, QDate today);

    const QHash<QString, double>& lastPrices() const { return m_lastPrices; }

Q_SIGNALS:
    // One reminder was told; the journal marks its note.
    void alerted(qint64 noteId);

private:
    Journal& m_journal;
    ledger::LedgerNotifier& m_changes;
    Notifier& m_notifier;
    QHash<QString, double> m_lastPrices;
    QTimer* m_timer;
};

} // namespace corvanta::journal
