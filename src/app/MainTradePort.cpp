#include "MainTradePort.h"

#include "FeeController.h"
#include "MainWindow.h"
#include "ParametersPanel.h"
#include "TradePanel.h"
#include "TradeUnits.h"
#include "windows/StockPicker.h"

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

} // namespace corvanta::app
