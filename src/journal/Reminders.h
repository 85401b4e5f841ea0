#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace corvanta::journal {

// How a date reminder repeats: once on its date, or from its date on every day or
// every seventh day. The values are those stored.
enum class Frequency { OnDate = 0, Daily = 1, Weekly = 2 };

// A price the stock should reach. The price when it was set tells the direction:
// a target below it is reached by falling to it, any other by rising to it.
struct PriceTarget {
    std::optional<double> level;     // none: no target
    std::optional<double> basePrice; // none: rising is assumed
    bool fired = false;              // reported once; cleared when the level changes
};

// Which of a note's two targets: the price expected by the reminder date, and the
// highest target price.
enum TargetIndex { ReachTarget = 0, HighTarget = 1 };

// What the memo window sets for a note.
struct ReminderSettings {
    std::optional<QDate> date; // none: no date reminder
    Frequency frequency = Frequency::OnDate;
    QString period; // the "提醒周期" field as typed
    std::array<std::optional<double>, 2> targets;
    std::optional<double> basePrice; // the current price when set
};

// A note with its reminder and what has already fired.
struct NoteReminder {
    qint64 noteId = 0;
    QString code;
    QString name;
    QString text;
    std::optional<QDate> date;
    Frequency frequency = Frequency::OnDate;
    QString period;
    std::optional<QDate> lastReminded; // the last occurrence reported
    std::array<PriceTarget, 2> targets;
};

enum class AlertKind { Date, Target };

// One reminder due now.
struct DueAlert {
    qint64 noteId = 0;
    AlertKind kind = AlertKind::Date;
    QDate occurrence;                 // Date: the occurrence reported
    TargetIndex target = ReachTarget; // Target: which one
    double price = 0;                 // Target: the price that reached it
    double level = 0;                 // Target: its level
};

// The latest occurrence of the date reminder on or before `today`, whether or not
// it was reported; none before the first date or without a date.
std::optional<QDate> latestOccurrence(const NoteReminder& note, QDate today);

// What is due now, given the notes, today and the last price seen per stock code.
// A date reminder is due for its latest occurrence when no occurrence on or after it
// was reported (so a clock set backwards repeats nothing); a target when the last
// price has reached it and it has not fired yet.
QList<DueAlert> dueAlerts(const QList<NoteReminder>& notes, QDate today,
                          const QHash<QString, double>& lastPrices);

// The date the note will next remind on, on or after today; a past occurrence not
// yet reported counts as due today. None when nothing is left to remind of.
std::optional<QDate> nextReminderDate(const NoteReminder& note, QDate today);

// The grid's texts for the two columns after the note's own.
QString nextReminderText(const NoteReminder& note, QDate today);
QString targetsText(const NoteReminder& note);

// The notification for an alert: a title and a text naming the stock and the note.
struct AlertMessage {
    QString title;
    QString text;
};
AlertMessage alertMessage(const NoteReminder& note, const DueAlert& alert);

} // namespace corvanta::journal
