#include "PriceLadderModel.h"

#include <QColor>

namespace corvanta::windows {

PriceLadderModel::PriceLadderModel(QObject* parent) : QAbstractTableModel(parent) {}

void PriceLadderModel::setLadder(PriceLadder ladder)
{
    beginResetModel();
    m_ladder = std::move(ladder);
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ladderColumns - 1);
}

int PriceLadderModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ladderLevels;
}

int PriceLadderModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ladderColumns;
}

QVariant PriceLadderModel::toneColour(int row, int column) const
{
    switch (ladderCellTone(m_ladder, row, column)) {
    case CellTone::Profit:
        return QColor(Qt::red);
    case CellTone::Loss:
        return QColor(0, 128, 0); // the ladder shows losses green
    case CellTone::None:
        break;
    }
    return {};
}

QVariant PriceLadderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= ladderLevels || index.column() >= ladderColumns)
        return {};
    const int level = index.row() + 1;
    if (role == Qt::DisplayRole)
        return m_ladder.rows[std::size_t(index.row())][std::size_t(index.column())];
    if (role == Qt::ForegroundRole)
        return toneColour(level, index.column());
    return {};
}

QVariant PriceLadderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ladderColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return ladderColumnHeaders().at(section);
    if (role == Qt::ForegroundRole)
        return toneColour(0, section);
    return {};
}

} // namespace corvanta::windows
