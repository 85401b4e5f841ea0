#include "JournalTableModel.h"

#include <QBrush>
#include <QColor>

namespace corvanta::windows {

void JournalTableModel::setRows(QList<journal::JournalGridRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

const journal::JournalGridRow* JournalTableModel::rowAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return nullptr;
    return &m_rows[row];
}

int JournalTableModel::rowOf(qint64 id) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].id == id)
            return row;
    }
    return -1;
}

int JournalTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int JournalTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : journal::JournalColumnCount;
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const
{
    const journal::JournalGridRow* row = rowAt(index.row());
    if (!row || index.column() < 0 || index.column() >= journal::JournalColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return row->cells[index.column()];
    case Qt::ForegroundRole:
        return QBrush(QColor(row->colour));
    case Qt::BackgroundRole:
        if (row->alerted && index.column() >= journal::NextReminderColumn)
            return QBrush(QColor(journal::alertedBackground));
        return {};
    default:
        return {};
    }
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < journal::JournalColumnCount)
        return m_titles[section];
    return {};
}

} // namespace corvanta::windows
