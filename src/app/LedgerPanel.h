#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QTableView;

namespace corvanta::app {

// The ledger box: the grid of recorded trades, the record label of the selected
// row, and the summary grid that shares its place.
class LedgerPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit LedgerPanel(QWidget* parent = nullptr);

    QLabel* recordLabel;
    QTableView* ledgerGrid;
    QTableView* summaryGrid;
};

} // namespace corvanta::app
