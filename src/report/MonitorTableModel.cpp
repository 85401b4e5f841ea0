#include "MonitorTableModel.h"

#include "calc/Numbers.h"

namespace corvanta::report {

MonitorTableModel::MonitorTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void MonitorTableModel::setGrid(const MonitorGrid& grid)
{
    if (grid.rows.size() != m_grid.rows.size()) {
        beginResetModel();
        m_grid = grid;
        endResetModel();
    } else {
        m_grid = grid;
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, MonitorColumnCount - 1));
    }
    Q_EMIT columnWidthsChanged();
}

void MonitorTableModel::setColourData(ColourData colourData)
{
    m_colour = std::move(colourData);
}

void MonitorTableModel::setExtraWidth(int extraWidth)
{
    m_extraWidth = extraWidth;
    Q_EMIT columnWidthsChanged();
}

MonitorWidths MonitorTableModel::columnWidths(int pixelsPerByte) const
{
    return m_grid.sized ? monitorColumnWidths(m_grid.textWidths, m_extraWidth, pixelsPerByte)
                        : monitorInitialWidths(m_extraWidth);
}

QString MonitorTableModel::stockName(int row) const
{
    if (row <= totalsRow || row > m_grid.rows.size())
        return {};
    return m_grid.rows[row - 1][MonitorName];
}

const MonitorCells& MonitorTableModel::cellsOf(int row) const
{
    return row == totalsRow ? m_grid.totals : m_grid.rows[row - 1];
}

int MonitorTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_grid.rows.size()) + 1;
}

int MonitorTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MonitorColumnCount;
}

QVariant MonitorTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MonitorCells& cells = cellsOf(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cells[index.column()];
    case Qt::ForegroundRole: {
        const QString& profit = cells[MonitorProfit];
        if (!m_grid.coloured || profit.isEmpty())
            return {};
        const auto value = num::parseNumber(profit);
        return m_colour(value.value_or(0) >= 0 ? CellColour::Profit : CellColour::Loss);
    }
    case Qt::BackgroundRole:
        return index.row() == totalsRow ? m_colour(CellColour::Fixed) : QVariant();
    default:
        return {};
    }
}

QVariant MonitorTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= MonitorColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_titles[section];
}

} // namespace corvanta::report
