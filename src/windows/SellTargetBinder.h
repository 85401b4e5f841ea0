#pragma once

#include "calc/SellTargets.h"

#include <QHash>
#include <QObject>

class QLineEdit;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

class SellTargetBoxes;

// Answers the sell-target questions on every key release in a window's six target
// boxes, from the trade form: the main window's calculator and its copies
// share this one path.
class SellTargetBinder : public QObject {
    Q_OBJECT
public:
    SellTargetBinder(model::TradeForm& trade, SellTargetBoxes& profit, SellTargetBoxes& loss,
                     QObject* parent = nullptr);

    // Gives each box the enabled state of the main window's box for it.
    void followMainWindowEnabling();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void compute(SellTargetBox box, QLineEdit* source);

    model::TradeForm& m_trade;
    SellTargetBoxes& m_profit;
    SellTargetBoxes& m_loss;
    QHash<QLineEdit*, SellTargetBox> m_boxes;
};

} // namespace corvanta::windows
