#pragma once

#include "CellColour.h"
#include "PositionSummary.h"

#include <QAbstractTableModel>

namespace corvanta::report {

// The summary grid: model row 0 is the totals row, the stocks follow in the order
// of the summary; the view keeps the totals row and the name column fixed.
// Before any summary the grid still has its headers and an empty totals row.
class SummaryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SummaryTableModel(QObject* parent = nullptr);

    static constexpr int totalsRow = 0;

    void setSummary(const Summary& summary);
    void setColourData(ColourData colourData);
    // The stock name of a grid row; empty for the totals row or no row.
    QString stockName(int row) const;
    const SummaryRow* rowAt(int row) const;
    const std::array<int, SummaryColumnCount>& columnWidths() const { return m_widths; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    SummaryRow m_totals;
    QList<SummaryRow> m_stocks;
    std::array<int, SummaryColumnCount> m_widths = initialColumnWidths();
    std::array<QString, SummaryColumnCount> m_titles = summaryColumnTitles();
    ColourData m_colour = colourName;
};

} // namespace corvanta::report
