#pragma once

#include "CellColour.h"
#include "MonitorFigures.h"

#include <QAbstractTableModel>

namespace corvanta::report {

// The monitor grid: model row 0 is the totals row, the monitored stocks follow.
// A row with a P/L is drawn red for 0 or more and blue below, while the list
// had stocks.
class MonitorTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit MonitorTableModel(QObject* parent = nullptr);

    static constexpr int totalsRow = 0;

    void setGrid(const MonitorGrid& grid);
    void setColourData(ColourData colourData);
    // The font's extra pixels per column.
    void setExtraWidth(int extraWidth);

    const MonitorGrid& grid() const { return m_grid; }
    // `pixelsPerByte`: what one GBK byte of text takes in the grid's font (6 in
    // the font the widths were made for).
    MonitorWidths columnWidths(int pixelsPerByte = 6) const;
    // The stock name of a model row; empty for the totals row or no row.
    QString stockName(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    void columnWidthsChanged();

private:
    const MonitorCells& cellsOf(int row) const;

    MonitorGrid m_grid;
    MonitorCells m_titles = monitorColumnTitles();
    ColourData m_colour = colourName;
    int m_extraWidth = 0;
};

} // namespace corvanta::report
