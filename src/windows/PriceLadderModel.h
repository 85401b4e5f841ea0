#pragma once

#include "calc/PriceLadder.h"

#include <QAbstractTableModel>

namespace corvanta::windows {

// The ladder grid's rows: levels 1 to 20 under the six column captions, each text
// coloured by its tone (profit red, loss green).
class PriceLadderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PriceLadderModel(QObject* parent = nullptr);

    void setLadder(PriceLadder ladder);
    const PriceLadder& ladder() const { return m_ladder; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant toneColour(int row, int column) const;

    PriceLadder m_ladder;
};

} // namespace corvanta::windows
