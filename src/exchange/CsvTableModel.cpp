#include "CsvTableModel.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

CsvRowColour csvRowColour(const QStringList& row, qsizetype operationColumn)
{
    const QString operation =
        row.size() > operationColumn ? row.at(operationColumn).trimmed() : QString();
    if (operation.endsWith(u"卖出"_s))
        return CsvRowColour::Sell;
    if (operation.endsWith(u"买入"_s))
        return CsvRowColour::Buy;
    return CsvRowColour::Other;
}

qsizetype csvOperationColumn(const QList<QStringList>& rows)
{
    for (const QStringList& row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (row.at(column).trimmed() == u"操作"_s)
                return column;
        }
    }
    return 4;
}

quint32 csvRowRgb(CsvRowColour colour)
{
    switch (colour) {
    case CsvRowColour::Sell:
        return 0x0000FF;
    case CsvRowColour::Buy:
        return 0xFF0000;
    case CsvRowColour::Other:
        break;
    }
    return 0xA6CAF0; // sky blue: red 166, green 202, blue 240
}

void CsvTableModel::setRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_operationColumn = csvOperationColumn(m_rows);
    m_columns = 0;
    for (const QStringList& row : std::as_const(m_rows))
        m_columns = std::max(m_columns, int(row.size()));
    endResetModel();
}

int CsvTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CsvTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant CsvTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const QStringList& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() < row.size() ? row.at(index.column()) : QString();
    case RowColourRole:
        return csvRowRgb(csvRowColour(row, m_operationColumn));
    default:
        return {};
    }
}

QVariant CsvTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString(u"F"_s + QString::number(section + 1));
}

} // namespace corvanta::exchange
