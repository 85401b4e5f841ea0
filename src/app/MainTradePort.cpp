#include "MainTradePort.h"

#include "FeeController.h"
#include "LedgerController.h"
#include "MainWindow.h"
#include "ParametersPanel.h"
#include "SellTargetGroup.h"
#include "TradePanel.h"
#include "TradeUnits.h"
#include "windows/StockPicker.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

namespace corvanta::app {

QString MainTradePort::stockCode() const
{
    return m_window.trade().code->text();
}

QString MainTradePort::stockName() const
{
    return m_window.picker().caption();
}

void MainTradePort::setCurrentCode(const QString& code)
{
    // The steps of typing the code and leaving the input.
    windows::StockPicker& picker = m_window.picker();
    m_window.trade().code->setText(code);
    picker.inferMarket(code);
    picker.lookupStock(code);
    picker.completeCode();
}

QString MainTradePort::quantityText() const
{
    return m_window.trade().quantity->text();
}

void MainTradePort::setQuantityText(const QString& text)
{
    m_window.trade().quantity->setText(text);
}

QString MainTradePort::priceText() const
{
    return m_window.trade().price->text();
}

void MainTradePort::setPriceText(const QString& text)
{
    m_window.trade().price->setText(text);
}

bool MainTradePort::quantityInLots() const
{
    return m_window.fees().snapshot().unitMultiplier == sharesPerLot;
}

bool MainTradePort::isBuy() const
{
    return m_window.parameters().direction() == Direction::Buy;
}

QDate MainTradePort::tradeDate() const
{
    return m_window.parameters().tradeDate->date();
}

QString MainTradePort::totalFeesText() const
{
    return m_window.trade().fyhj->text();
}

QString MainTradePort::totalAmountText() const
{
    return m_window.trade().zfze->text();
}

QString MainTradePort::costPerShareText() const
{
    return m_window.trade().mrcb->text();
}

QString MainTradePort::breakEvenText() const
{
    return m_window.trade().bbjg->text();
}

QString MainTradePort::currentPriceText() const
{
    return m_window.trade().currentPrice->text();
}

void MainTradePort::setCurrentPriceText(const QString& text)
{
    m_window.trade().currentPrice->setText(text);
}

QString MainTradePort::todayOpenText() const
{
    return m_window.trade().todayOpen->text();
}

QString MainTradePort::lastCloseText() const
{
    return m_window.trade().lastClose->text();
}

QString MainTradePort::bestBidText() const
{
    return m_window.trade().bestBid->text();
}

QString MainTradePort::bestAskText() const
{
    return m_window.trade().bestAsk->text();
}

void MainTradePort::refreshQuote()
{
    Q_EMIT m_window.picker().quoteWanted(stockCode());
}

void MainTradePort::clearTrade()
{
    m_window.ledgerController().clearTradeInputs();
    // The gain shown was the cleared trade's.
    m_window.trade().gainLabel->setText(QStringLiteral("盈利金额"));
    m_window.trade().gainLabel->setStyleSheet(QString());
}

FeeSnapshot MainTradePort::feeSnapshot() const
{
    return m_window.fees().snapshot();
}

QString MainTradePort::transferAndOtherText() const
{
    return m_window.trade().qtzf->text();
}

void MainTradePort::ensureAmountsInYuan()
{
    m_window.fees().ensureAmountsInYuan();
}

bool MainTradePort::sellTargetEnabled(SellTargetBox box) const
{
    const SellTargetGroup& profit = m_window.profitTargets();
    const SellTargetGroup& loss = m_window.lossTargets();
    switch (box) {
    case SellTargetBox::ProfitAmount:
        return profit.amount->isEnabled();
    case SellTargetBox::ProfitPercent:
        return profit.percent->isEnabled();
    case SellTargetBox::ProfitPrice:
        return profit.price->isEnabled();
    case SellTargetBox::LossAmount:
        return loss.amount->isEnabled();
    case SellTargetBox::LossPercent:
        return loss.percent->isEnabled();
    case SellTargetBox::LossPrice:
        return loss.price->isEnabled();
    }
    return false;
}

} // namespace corvanta::app
