#include "JournalGrid.h"

#include <QHash>

namespace corvanta::journal {

std::array<QString, JournalColumnCount> journalColumnTitles()
{
    return {QStringLiteral("评级"),     QStringLiteral("日期"),  QStringLiteral("股票代码"),
            QStringLiteral("股票名"),   QStringLiteral("时价"),  QStringLiteral("今开"),
            QStringLiteral("昨收"),     QStringLiteral("主买"),  QStringLiteral("主卖"),
            QStringLiteral("下次提醒"), QStringLiteral("目标价")};
}

std::array<int, JournalColumnCount> journalColumnWidths()
{
    return {40, 62, 40, 62, 47, 47, 47, 90, 90, 72, 90};
}

Qt::GlobalColor journalRowColour(int recordNumber)
{
    return recordNumber % 2 != 0 ? Qt::red : Qt::blue;
}

QList<JournalGridRow> journalGridRows(const QList<JournalNote>& notes,
                                      const QList<NoteReminder>& reminders, QDate today,
                                      const QSet<qint64>& alerted)
{
    QHash<qint64, const NoteReminder*> reminderOf;
    for (const NoteReminder& reminder : reminders)
        reminderOf.insert(reminder.noteId, &reminder);

    QList<JournalGridRow> rows;
    rows.reserve(notes.size());
    for (const JournalNote& note : notes) {
        JournalGridRow row;
        row.id = note.id;
        row.cells = {note.rating,        note.date, note.code,      note.name,
                     note.price,         note.open, note.lastClose, note.activeBuying,
                     note.activeSelling, QString(), QString()};
        if (const NoteReminder* reminder = reminderOf.value(note.id)) {
            row.cells[NextReminderColumn] = nextReminderText(*reminder, today);
            row.cells[TargetsColumn] = targetsText(*reminder);
        }
        row.colour = journalRowColour(int(rows.size()) + 1);
        row.alerted = alerted.contains(note.id);
        rows.append(row);
    }
    return rows;
}

} // namespace corvanta::journal
