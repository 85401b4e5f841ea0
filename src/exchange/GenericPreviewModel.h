#pragma once

#include "GenericStatement.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace corvanta::exchange {

// The lines after a statement's header as they will be stored: each trade with
// its figures, each line left out with why. The colour of a line's text is given
// under `RowColourRole` as 0xRRGGBB: black for a trade, grey for a skipped line,
// red for a refused one, orange for a trade with a warning.
class GenericPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RowColourRole = Qt::UserRole + 1;
    static constexpr quint32 tradeRgb = 0x000000;
    static constexpr quint32 skippedRgb = 0x808080;
    static constexpr quint32 refusedRgb = 0xD00000;
    static constexpr quint32 warningRgb = 0xC06000;

    using QAbstractTableModel::QAbstractTableModel;

    void setStatement(const GenericStatement& statement);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The texts of a row, for tests and for copying.
    QStringList rowTexts(int row) const { return m_rows.value(row).cells; }
    quint32 rowRgb(int row) const { return m_rows.value(row).rgb; }

private:
    struct Row {
        QStringList cells;
        quint32 rgb = tradeRgb;
    };
    QList<Row> m_rows;
};

} // namespace corvanta::exchange
