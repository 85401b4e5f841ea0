#pragma once

#include <QGroupBox>

class QAction;
class QMenu;
class QTableView;

namespace corvanta::app {

// The trade-detail box over the lower half of the main window: one stock's
// trades (or the monitored stocks), with a popup to close it.
class TradeDetailPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TradeDetailPanel(QWidget* parent = nullptr);

    QTableView* grid;
    QMenu* popup;
    QAction* closeAction;
};

} // namespace corvanta::app
