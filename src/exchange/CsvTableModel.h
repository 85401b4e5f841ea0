#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace corvanta::exchange {

// How a csv row is drawn, by its fifth column.
enum class CsvRowColour {
    Sell,  // "卖出": blue
    Buy,   // "买入": red
    Other, // sky blue
};

CsvRowColour csvRowColour(const QStringList& row);

// The colour as 0xRRGGBB.
quint32 csvRowRgb(CsvRowColour colour);

// A read-only grid over the rows of a csv file, the first row included. Columns
// are named F1, F2, … as the file names none. The row colour is given under
// `RowColourRole` as 0xRRGGBB, for the view to draw the text with.
class CsvTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RowColourRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<QStringList> rows);
    const QList<QStringList>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<QStringList> m_rows;
    int m_columns = 0;
};

} // namespace corvanta::exchange
