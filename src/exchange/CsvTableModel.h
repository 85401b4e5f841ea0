#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace corvanta::exchange {

// How a csv row is drawn, by its operation column.
enum class CsvRowColour {
    Sell,  // "卖出" ("证券卖出" too): blue
    Buy,   // "买入" ("证券买入" too): red
    Other, // sky blue
};

// The colour of a row by the text in `operationColumn`.
CsvRowColour csvRowColour(const QStringList& row, qsizetype operationColumn = 4);

// The column of the operation: the one headed "操作" in the first row that has
// such a cell (the brokers put it fourth or fifth), else the fifth.
qsizetype csvOperationColumn(const QList<QStringList>& rows);

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
    qsizetype m_operationColumn = 4;
    int m_columns = 0;
};

} // namespace corvanta::exchange
