#include "GainControllers.h"

#include "CurrentPriceGroup.h"
#include "NumericFieldFilter.h"
#include "model/TradeForm.h"

#include "calc/BuyBackTexts.h"
#include "calc/SellTargets.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

void showSigned(QLabel& label, const GainText& gain)
{
    label.setText(gain.text);
    label.setStyleSheet(gain.loss ? u"color: blue;"_s : u"color: red;"_s);
}

} // namespace

CurrentGainController::CurrentGainController(model::TradeForm& trade, CurrentPriceGroup& current,
                                             BuyBackGroup& buyBack, QObject* parent)
    : QObject(parent), m_trade(trade), m_current(current), m_buyBack(buyBack)
{
    new NumericFieldFilter(current.price, NumericField::Price);
    current.price->installEventFilter(this);
}

void CurrentGainController::takeMainWindowPrice()
{
    m_current.price->setText(m_trade.currentPrice());
    computeGain();
}

void CurrentGainController::computeGain()
{
    const QString price = m_current.price->text();
    if (currentGainWillRun(price, m_trade.total())) {
        const SellTargetInputs inputs{m_trade.feeSnapshot(), m_trade.total(),
                                      m_trade.transferAndOther()};
        if (const auto gain = gainAtCurrentPrice(inputs, price))
            showSigned(*m_current.gain, *gain);
    }
    enableBuyBack();
}

void CurrentGainController::enableBuyBack()
{
    m_buyBack.price->setEnabled(!m_current.price->text().isEmpty());
}

bool CurrentGainController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_current.price) {
        if (event->type() == QEvent::KeyRelease)
            computeGain();
        else if (event->type() == QEvent::FocusOut)
            enableBuyBack();
    }
    return false;
}

BuyBackController::BuyBackController(model::TradeForm& trade, CurrentPriceGroup& current,
                                     BuyBackGroup& buyBack, QLabel& header, QObject* parent)
    : QObject(parent), m_trade(trade), m_current(current), m_buyBack(buyBack), m_header(header)
{
    new NumericFieldFilter(buyBack.price, NumericField::Price);
    buyBack.price->installEventFilter(this);
}

bool BuyBackController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_buyBack.price)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_savedHeader = m_header.text();
        break;
    case QEvent::FocusOut:
        m_header.setText(m_savedHeader);
        break;
    case QEvent::KeyRelease:
        compute();
        break;
    default:
        break;
    }
    return false;
}

void BuyBackController::compute()
{
    const QString current = m_current.price->text();
    const QString specified = m_buyBack.price->text();
    if (current.isEmpty() || current == u"-" || m_trade.total().isEmpty() || specified.isEmpty())
        return;
    const auto gain = buyBackGain(m_trade.feeSnapshot(), current, specified);
    if (!gain)
        return;
    showSigned(*m_buyBack.gain, *gain);
    const BuyBackTexts texts = buyBackTexts(current, specified, gain->text);
    m_header.setText(texts.explanation);
    m_buyBack.price->setToolTip(texts.hint);
}

} // namespace corvanta::windows
