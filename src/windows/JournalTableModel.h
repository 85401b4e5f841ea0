#pragma once

#include "journal/JournalGrid.h"

#include <QAbstractTableModel>

namespace corvanta::windows {

// The journal grid's rows: the notes with their texts, colours and reminders.
class JournalTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<journal::JournalGridRow> rows);
    const journal::JournalGridRow* rowAt(int row) const;
    // The grid row of a note ID, or -1.
    int rowOf(qint64 id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<journal::JournalGridRow> m_rows;
    std::array<QString, journal::JournalColumnCount> m_titles = journal::journalColumnTitles();
};

} // namespace corvanta::windows
