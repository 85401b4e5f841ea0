#include "LedgerTableModel.h"

#include <QBrush>
#include <QColor>

namespace corvanta::app {

namespace {

QColor colourOf(ledger::RowColour colour)
{
    switch (colour) {
    case ledger::RowColour::Buy:
        return Qt::red;
    case ledger::RowColour::MonitoredBuy:
        return Qt::magenta;
    case ledger::RowColour::Sell:
        break;
    }
    return Qt::blue;
}

} // namespace

void LedgerTableModel::setRows(QList<ledger::LedgerRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

const ledger::LedgerRow* LedgerTableModel::rowAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? &m_rows[row] : nullptr;
}

int LedgerTableModel::rowOf(qint64 id) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return i;
    }
    return -1;
}

int LedgerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int LedgerTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ledger::LedgerColumnCount;
}

QVariant LedgerTableModel::data(const QModelIndex& index, int role) const
{
    const ledger::LedgerRow* row = rowAt(index.row());
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return row->cells[std::size_t(index.column())];
    case Qt::ForegroundRole:
        return QBrush(colourOf(row->colour));
    default:
        return {};
    }
}

QVariant LedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ledger::LedgerColumnCount)
        return {};
    return m_titles[std::size_t(section)];
}

} // namespace corvanta::app
