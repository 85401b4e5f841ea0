#include "Reminders.h"

#include <cmath>

namespace corvanta::journal {

namespace {

bool reached(const PriceTarget& target, double price)
{
    const double level = *target.level;
    if (target.basePrice && level < *target.basePrice)
        return price <= level;
    return price >= level;
}

QString priceText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The note's first non-empty line, which names what the note is about.
QString noteHeadline(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

} // namespace

std::optional<QDate> latestOccurrence(const NoteReminder& note, QDate today)
{
    if (!note.date || !note.date->isValid() || *note.date > today)
        return std::nullopt;
    switch (note.frequency) {
    case Frequency::OnDate:
        return note.date;
    case Frequency::Daily:
        return today;
    case Frequency::Weekly:
        return note.date->addDays(note.date->daysTo(today) / 7 * 7);
    }
    return std::nullopt;
}

QList<DueAlert> dueAlerts(const QList<NoteReminder>& notes, QDate today,
                          const QHash<QString, double>& lastPrices)
{
    QList<DueAlert> due;
    for (const NoteReminder& note : notes) {
        const std::optional<QDate> occurrence = latestOccurrence(note, today);
        if (occurrence && (!note.lastReminded || *note.lastReminded < *occurrence))
            due.append({note.noteId, AlertKind::Date, *occurrence, ReachTarget, 0, 0});

        const auto price = lastPrices.constFind(note.code);
        if (price == lastPrices.constEnd() || !std::isfinite(*price) || *price <= 0)
            continue;
        for (int index : {ReachTarget, HighTarget}) {
            const PriceTarget& target = note.targets[index];
            if (target.level && !target.fired && reached(target, *price))
                due.append({note.noteId,
                            AlertKind::Target,
                            {},
                            TargetIndex(index),
                            *price,
                            *target.level});
        }
    }
    return due;
}

std::optional<QDate> nextReminderDate(const NoteReminder& note, QDate today)
{
    if (!note.date || !note.date->isValid())
        return std::nullopt;
    const std::optional<QDate> latest = latestOccurrence(note, today);
    if (latest && (!note.lastReminded || *note.lastReminded < *latest))
        return today;
    switch (note.frequency) {
    case Frequency::OnDate:
        if (*note.date > today && !(note.lastReminded && *note.lastReminded >= *note.date))
            return note.date;
        return std::nullopt;
    case Frequency::Daily: {
        QDate next = std::max(*note.date, today.addDays(1));
        if (note.lastReminded && *note.lastReminded >= next)
            next = note.lastReminded->addDays(1);
        return next;
    }
    case Frequency::Weekly: {
        QDate next = latest ? latest->addDays(7) : *note.date;
        while (note.lastReminded && *note.lastReminded >= next)
            next = next.addDays(7);
        return next;
    }
    }
    return std::nullopt;
}

QString nextReminderText(const NoteReminder& note, QDate today)
{
    const std::optional<QDate> next = nextReminderDate(note, today);
    return next ? next->toString(u"yyyy-MM-dd") : QString();
}

QString targetsText(const NoteReminder& note)
{
    QStringList parts;
    for (const PriceTarget& target : note.targets) {
        if (!target.level)
            continue;
        parts << priceText(*target.level) + (target.fired ? u"(已到)" : u"");
    }
    return parts.join(u" / ");
}

AlertMessage alertMessage(const NoteReminder& note, const DueAlert& alert)
{
    const QString stock = note.code + u' ' + note.name;
    QString text;
    if (alert.kind == AlertKind::Date)
        text = stock + u" 提醒日期已到: " + alert.occurrence.toString(u"yyyy-MM-dd");
    else
        text = stock + u" 时价" + priceText(alert.price) + u"已达到目标价" + priceText(alert.level);
    const QString headline = noteHeadline(note.text);
    if (!headline.isEmpty())
        text += u'\n' + headline;
    return {QStringLiteral("股市日志提醒"), text};
}

} // namespace corvanta::journal
