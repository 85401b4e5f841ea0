#pragma once

#include "CellColour.h"
#include "TradeDetail.h"

#include <QAbstractTableModel>

namespace corvanta::report {

// The trade-detail panel's rows: one stock's real trades, sells blue and buys red.
class TradeDetailModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QString name, QList<TradeDetailRow> rows);
    // The monitored stocks instead of one stock's trades; locks the panel (every
    // row red, kept while ledger rows are selected) until a stock's trades show
    // or the panel is closed.
    void setMonitoredStocks(QList<TradeDetailRow> rows);
    bool showsMonitoredStocks() const { return m_monitored; }
    // The stock shown; empty before the first and while the monitored stocks show.
    const QString& name() const { return m_name; }
    void setColourData(ColourData colourData);
    // While locked (the panel lists monitored stocks), every row is red.
    void setLocked(bool locked);
    bool locked() const { return m_locked; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The row's cell a column shows, past the 红利税 column when it shows.
    int cellOf(int column) const;

    QString m_name;
    QList<TradeDetailRow> m_rows;
    std::array<QString, TradeDetailColumnCount> m_titles = tradeDetailTitles();
    ColourData m_colour = colourName;
    bool m_locked = false;
    bool m_monitored = false;
    bool m_taxed = false; // a sale bears dividend tax: the 红利税 column shows
};

} // namespace corvanta::report
