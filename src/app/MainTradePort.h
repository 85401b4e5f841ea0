#pragma once

#include "windows/TradePort.h"

namespace corvanta::app {

class MainWindow;

// The main window's trade as other windows see it, read from and written to its
// panels.
class MainTradePort : public windows::TradePort {
public:
    explicit MainTradePort(MainWindow& window) : m_window(window) {}

    QString stockCode() const override;
    QString stockName() const override;
    void setCurrentCode(const QString& code) override;

    QString quantityText() const override;
    void setQuantityText(const QString& text) override;
    QString priceText() const override;
    void setPriceText(const QString& text) override;
    bool quantityInLots() const override;
    bool isBuy() const override;
    QDate tradeDate() const override;

    QString totalFeesText() const override;
    QString totalAmountText() const override;
    QString costPerShareText() const override;
    QString breakEvenText() const override;

    QString currentPriceText() const override;
    void setCurrentPriceText(const QString& text) override;
    QString todayOpenText() const override;
    QString lastCloseText() const override;
    QString bestBidText() const override;
    QString bestAskText() const override;
    void refreshQuote() override;
    void clearTrade() override;

    FeeSnapshot feeSnapshot() const override;
    QString transferAndOtherText() const override;
    void ensureAmountsInYuan() override;
    bool sellTargetEnabled(SellTargetBox box) const override;

private:
    MainWindow& m_window;
};

} // namespace corvanta::app
