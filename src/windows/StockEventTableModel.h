#pragma once

#include "report/StockEventList.h"

#include <QAbstractTableModel>

namespace corvanta::windows {

// The rows of the 分红送配 window: a stock's events and what each brought, as the
// report's event list gives them.
class StockEventTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<report::EventListRow> rows);
    // The event of that row.
    const report::EventListRow& row(int row) const { return m_rows.at(row); }
    // The row of the event of that ID, or -1.
    int rowOf(qint64 id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<report::EventListRow> m_rows;
    QStringList m_titles = report::eventListTitles();
};

} // namespace corvanta::windows
