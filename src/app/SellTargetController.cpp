#include "SellTargetController.h"

#include "SellTargetGroup.h"
#include "TradePanel.h"
#include "model/TradeForm.h"
#include "windows/NumericFieldFilter.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::app {

using windows::NumericFieldFilter;
using windows::SelectAllOnEntry;

SellTargetController::SellTargetController(model::TradeForm& form, TradePanel& trade,
                                           SellTargetGroup& profit, SellTargetGroup& loss,
                                           QObject* parent)
    : QObject(parent), m_form(form), m_trade(trade), m_profit(profit), m_loss(loss)
{
    m_boxes = {{profit.amount, SellTargetBox::ProfitAmount},
               {profit.percent, SellTargetBox::ProfitPercent},
               {profit.price, SellTargetBox::ProfitPrice},
               {loss.amount, SellTargetBox::LossAmount},
               {loss.percent, SellTargetBox::LossPercent},
               {loss.price, SellTargetBox::LossPrice}};
    for (QLineEdit* box : targetBoxes()) {
        new NumericFieldFilter(box, NumericField::Price);
        new SelectAllOnEntry(box);
        box->installEventFilter(this);
    }
    new NumericFieldFilter(trade.currentPrice, NumericField::Price, trade.code);
    trade.currentPrice->installEventFilter(this);
}

QList<QLineEdit*> SellTargetController::targetBoxes() const
{
    return {m_profit.amount, m_profit.percent, m_profit.price,
            m_loss.amount,   m_loss.percent,   m_loss.price};
}

bool SellTargetController::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return false;
    if (event->type() == QEvent::KeyRelease) {
        if (edit == m_trade.currentPrice)
            computeGain();
        else if (m_boxes.contains(edit))
            compute(m_boxes.value(edit), edit);
    } else if (event->type() == QEvent::FocusOut && edit == m_trade.currentPrice) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            Q_EMIT codeFocusWanted();
    }
    return false;
}

SellTargetInputs SellTargetController::inputs() const
{
    return {m_form.feeSnapshot(), m_form.total(), m_form.transferAndOther()};
}

void SellTargetController::compute(SellTargetBox box, QLineEdit* source)
{
    if (!sellTargetWillRun(box, source->text(), m_form.total()))
        return;
    const SellTargetTexts texts = computeSellTarget(box, inputs(), source->text());
    const bool profit = box == SellTargetBox::ProfitAmount || box == SellTargetBox::ProfitPercent ||
                        box == SellTargetBox::ProfitPrice;
    SellTargetGroup& group = profit ? m_profit : m_loss;
    // Results are written in the order they were computed.
    const std::pair<QLineEdit*, const std::optional<QString>*> order[] = {
        {group.price, &texts.price},
        {group.amount, &texts.amount},
        {group.percent, &texts.percent}};
    for (const auto& [field, text] : order) {
        if (field != source && *text)
            field->setText(**text);
    }
}

void SellTargetController::computeGain()
{
    const QString& current = m_form.currentPrice();
    if (!currentGainWillRun(current, m_form.total()))
        return;
    const auto gain = gainAtCurrentPrice(inputs(), current);
    if (!gain)
        return;
    m_trade.gainLabel->setText(gain->text);
    m_trade.gainLabel->setStyleSheet(gain->loss ? u"color: blue;"_s : u"color: red;"_s);
}

void SellTargetController::setInputsState(model::TargetInputsState state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT inputsStateChanged();
}

void SellTargetController::enableInputs()
{
    setInputsState(model::TargetInputsState::Open);
}

void SellTargetController::reset()
{
    for (QLineEdit* box : targetBoxes())
        box->setText(u"0"_s);
    m_form.setCurrentPrice(u"0"_s);
    setInputsState(model::TargetInputsState::Closed);
}

} // namespace corvanta::app
