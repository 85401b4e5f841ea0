#include "TradeDetailModel.h"

#include <algorithm>

namespace corvanta::report {

void TradeDetailModel::setRows(QString name, QList<TradeDetailRow> rows)
{
    beginResetModel();
    m_name = std::move(name);
    m_rows = std::move(rows);
    m_monitored = false;
    m_taxed = std::any_of(m_rows.cbegin(), m_rows.cend(),
                          [](const TradeDetailRow& row) { return !row.dividendTax.isEmpty(); });
    m_titles = tradeDetailTitles();
    endResetModel();
}

void TradeDetailModel::setMonitoredStocks(QList<TradeDetailRow> rows)
{
    beginResetModel();
    m_name.clear();
    m_rows = std::move(rows);
    m_monitored = true;
    m_taxed = false;
    m_locked = true;
    m_titles = monitoredStockTitles();
    endResetModel();
}

void TradeDetailModel::setColourData(ColourData colourData)
{
    m_colour = std::move(colourData);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, TradeDetailColumnCount - 1));
}

void TradeDetailModel::setLocked(bool locked)
{
    m_locked = locked;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, TradeDetailColumnCount - 1));
}

int TradeDetailModel::cellOf(int column) const
{
    return m_taxed && column > DetailTaxColumn ? column - 1 : column;
}

int TradeDetailModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TradeDetailModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    if (m_monitored)
        return monitoredStockColumnCount;
    return m_taxed ? TradeDetailColumnCount + 1 : TradeDetailColumnCount;
}

QVariant TradeDetailModel::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.row() >= m_rows.size() || index.column() < 0 ||
        index.column() >= columnCount())
        return {};
    const TradeDetailRow& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        if (m_taxed && index.column() == DetailTaxColumn)
            return row.dividendTax;
        return row.cells[std::size_t(cellOf(index.column()))];
    case Qt::ForegroundRole:
        return m_colour(row.sell && !m_locked ? CellColour::Loss : CellColour::Profit);
    default:
        return {};
    }
}

QVariant TradeDetailModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount())
        return {};
    if (m_taxed && section == DetailTaxColumn)
        return dividendTaxTitle();
    return m_titles[std::size_t(cellOf(section))];
}

} // namespace corvanta::report
