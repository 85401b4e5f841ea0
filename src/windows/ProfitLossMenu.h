#pragma once

#include <QMenu>

class QAction;

namespace corvanta::windows {

// The profit/loss window's popup menu: copy, fold, the refresh intervals and the
// main window's hiding. The last item names what it will do next.
class ProfitLossMenu : public QMenu {
    Q_OBJECT
public:
    explicit ProfitLossMenu(QWidget* parent = nullptr);

    QAction* copyAction;
    QAction* foldAction;
    QList<QAction*> intervalActions; // in the order of refreshIntervals()
    QAction* stopAction;
    QAction* mainWindowAction;

Q_SIGNALS:
    void intervalChosen(int index);
    void hideMainWindowChosen();
    void showMainWindowChosen();

private:
    void toggleMainWindow();
};

} // namespace corvanta::windows
