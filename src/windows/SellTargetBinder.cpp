#include "SellTargetBinder.h"

#include "NumericFieldFilter.h"
#include "SellTargetBoxes.h"
#include "model/TradeForm.h"

#include <QEvent>
#include <QLineEdit>

namespace corvanta::windows {

namespace {

bool isProfit(SellTargetBox box)
{
    return box == SellTargetBox::ProfitAmount || box == SellTargetBox::ProfitPercent ||
           box == SellTargetBox::ProfitPrice;
}

} // namespace

SellTargetBinder::SellTargetBinder(model::TradeForm& trade, SellTargetBoxes& profit,
                                   SellTargetBoxes& loss, QObject* parent)
    : QObject(parent), m_trade(trade), m_profit(profit), m_loss(loss)
{
    m_boxes = {{profit.amount, SellTargetBox::ProfitAmount},
               {profit.percent, SellTargetBox::ProfitPercent},
               {profit.price, SellTargetBox::ProfitPrice},
               {loss.amount, SellTargetBox::LossAmount},
               {loss.percent, SellTargetBox::LossPercent},
               {loss.price, SellTargetBox::LossPrice}};
    for (QLineEdit* box : m_boxes.keys()) {
        new NumericFieldFilter(box, NumericField::Price);
        new SelectAllOnEntry(box);
        box->installEventFilter(this);
    }
}

void SellTargetBinder::followMainWindowEnabling()
{
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        it.key()->setEnabled(m_trade.sellTargetEnabled(it.value()));
}

bool SellTargetBinder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && m_boxes.contains(edit))
            compute(m_boxes.value(edit), edit);
    }
    return false;
}

void SellTargetBinder::compute(SellTargetBox box, QLineEdit* source)
{
    if (!sellTargetWillRun(box, source->text(), m_trade.total()))
        return;
    // The targets are yuan: a total shown in 万元 would be read as a tiny payment.
    const SellTargetInputs inputs{m_trade.feeSnapshot(), m_trade.total(),
                                  m_trade.transferAndOther()};
    const SellTargetTexts texts = computeSellTarget(box, inputs, source->text());
    SellTargetBoxes& group = isProfit(box) ? m_profit : m_loss;
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

} // namespace corvanta::windows
