#include "SummaryTableModel.h"

namespace corvanta::report {

SummaryTableModel::SummaryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void SummaryTableModel::setSummary(const Summary& summary)
{
    beginResetModel();
    m_totals = summary.totalsRow;
    m_stocks = summary.stocks;
    m_widths = summary.columnWidths;
    m_titles = summary.titles;
    endResetModel();
}

void SummaryTableModel::setColourData(ColourData colourData)
{
    m_colour = std::move(colourData);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, SummaryColumnCount - 1));
}

const SummaryRow* SummaryTableModel::rowAt(int row) const
{
    if (row == totalsRow)
        return &m_totals;
    return row > 0 && row <= m_stocks.size() ? &m_stocks[row - 1] : nullptr;
}

QString SummaryTableModel::stockName(int row) const
{
    if (row == totalsRow)
        return {};
    const SummaryRow* stock = rowAt(row);
    return stock ? stock->cells[NameColumn] : QString();
}

int SummaryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_stocks.size()) + 1;
}

int SummaryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : SummaryColumnCount;
}

QVariant SummaryTableModel::data(const QModelIndex& index, int role) const
{
    const SummaryRow* row = rowAt(index.row());
    if (!row || index.column() < 0 || index.column() >= SummaryColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return row->cells[std::size_t(index.column())];
    case Qt::ForegroundRole:
        switch (row->tone) {
        case RowTone::Profit:
            return m_colour(CellColour::Profit);
        case RowTone::Loss:
            return m_colour(CellColour::Loss);
        case RowTone::Plain:
            break;
        }
        return {};
    case Qt::BackgroundRole:
        if (index.row() == totalsRow || index.column() == NameColumn)
            return m_colour(CellColour::Fixed);
        return {};
    default:
        return {};
    }
}

QVariant SummaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= SummaryColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return m_titles[std::size_t(section)];
    return {};
}

} // namespace corvanta::report
