#include "StockEventTableModel.h"

namespace corvanta::windows {

void StockEventTableModel::setRows(QList<report::EventListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int StockEventTableModel::rowOf(qint64 id) const
{
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].event.terms.id == id)
            return int(i);
    return -1;
}

int StockEventTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StockEventTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant StockEventTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QStringList& cells = m_rows[index.row()].cells;
    if (role == Qt::DisplayRole && index.column() < cells.size())
        return cells[index.column()];
    if (role == Qt::TextAlignmentRole && index.column() >= 3)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant StockEventTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section < m_titles.size())
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace corvanta::windows
