#pragma once

#include "ledger/LedgerView.h"

#include <QAbstractTableModel>

namespace corvanta::app {

// The ledger grid's rows: the real trades with their texts and colours.
class LedgerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<ledger::LedgerRow> rows);
    const ledger::LedgerRow* rowAt(int row) const;
    // The grid row of a trade ID, or -1.
    int rowOf(qint64 id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<ledger::LedgerRow> m_rows;
    std::array<QString, ledger::LedgerColumnCount> m_titles = ledger::ledgerColumnTitles();
};

} // namespace corvanta::app
