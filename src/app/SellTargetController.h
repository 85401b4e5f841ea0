#pragma once

#include "calc/SellTargets.h"
#include "model/ActionStates.h"

#include <QHash>
#include <QObject>

class QLineEdit;

namespace corvanta::model {
class TradeForm;
}

namespace corvanta::app {

class SellTargetGroup;
class TradePanel;

// Answers the sell-target questions on every key release in the six target boxes
// and in the current-price input, from the trade form as last priced (its
// amounts in 元 whatever unit the panel shows).
class SellTargetController : public QObject {
    Q_OBJECT
public:
    SellTargetController(model::TradeForm& form, TradePanel& trade, SellTargetGroup& profit,
                         SellTargetGroup& loss, QObject* parent = nullptr);

    // Opens the six boxes and the current-price input after a complete pricing.
    void enableInputs();
    // Closes the six boxes and the current-price input and sets them to "0".
    void reset();
    // Whether the six boxes and the current-price input take input.
    model::TargetInputsState inputsState() const { return m_state; }
    // Recomputes the gain at the current price (after a price was put in).
    void computeGain();

Q_SIGNALS:
    void codeFocusWanted();
    // `inputsState()` changed.
    void inputsStateChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void compute(SellTargetBox box, QLineEdit* source);
    SellTargetInputs inputs() const;
    QList<QLineEdit*> targetBoxes() const;
    void setInputsState(model::TargetInputsState state);

    model::TradeForm& m_form;
    TradePanel& m_trade;
    SellTargetGroup& m_profit;
    SellTargetGroup& m_loss;
    QHash<QLineEdit*, SellTargetBox> m_boxes;
    model::TargetInputsState m_state = model::TargetInputsState::AsAtStart;
};

} // namespace corvanta::app
