#pragma once

#include "JournalNote.h"
#include "Reminders.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

#include <array>

namespace corvanta::journal {

// The journal grid's columns: the note's nine, then its next reminder and targets.
enum JournalColumn {
    RatingColumn,
    DateColumn,
    CodeColumn,
    NameColumn,
    PriceColumn,
    OpenColumn,
    LastCloseColumn,
    ActiveBuyingColumn,
    ActiveSellingColumn,
    NextReminderColumn,
    TargetsColumn,
    JournalColumnCount
};

std::array<QString, JournalColumnCount> journalColumnTitles();
// Widths in pixels.
std::array<int, JournalColumnCount> journalColumnWidths();

// One grid row: its texts, its colour and whether a reminder of it was just told.
struct JournalGridRow {
    qint64 id = 0;
    std::array<QString, JournalColumnCount> cells;
    Qt::GlobalColor colour = Qt::red;
    bool alerted = false;
};

// Red for odd record numbers (the first row is 1), blue for even ones.
Qt::GlobalColor journalRowColour(int recordNumber);
// The background of the reminder columns of a note whose reminder was told.
inline constexpr Qt::GlobalColor alertedBackground = Qt::yellow;

// The rows of the listed notes, with their reminders as of today.
QList<JournalGridRow> journalGridRows(const QList<JournalNote>& notes,
                                      const QList<NoteReminder>& reminders, QDate today,
                                      const QSet<qint64>& alerted);

} // namespace corvanta::journal
