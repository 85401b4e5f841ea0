#pragma once

#include "windows/TradePort.h"

#include <QDate>
#include <QSet>

#include <optional>
#include <utility>

namespace corvanta::test {

// The main window's trade as a test sets it: a priced buy of 1000 shares at 10.00
// on Shenzhen, rates 1 ‰ and 3 ‰ on both sides, other fee 5, T 10035.00, X 5.00.
class FakeTradePort : public windows::TradePort {
public:
    QString code = QStringLiteral("000001");
    QString name = QStringLiteral("平安银行");
    QString quantity = QStringLiteral("1000");
    QString price = QStringLiteral("10.00");
    QString total = QStringLiteral("10035.00");
    QString transferAndOther = QStringLiteral("5.00");
    QString current = QStringLiteral("10.20");
    QString open = QStringLiteral("10.00");
    QString lastClose = QStringLiteral("9.90");
    QString bid = QStringLiteral("10.19");
    QString ask = QStringLiteral("10.21");
    QSet<SellTargetBox> disabledTargets;
    // While set, `total` holds the 万元 figure and this the exact 元 text it goes
    // back to.
    std::optional<QString> yuanTotal;
    int quoteRequests = 0;
    int clears = 0;

    // Shows the total in 万元, as the amount-unit choice does.
    void showTenThousands()
    {
        yuanTotal = total;
        total = QStringLiteral("1.0035");
    }

    QString stockCode() const override { return code; }
    QString stockName() const override { return name; }
    void setCurrentCode(const QString& text) override { code = text; }
    QString quantityText() const override { return quantity; }
    void setQuantityText(const QString& text) override { quantity = text; }
    QString priceText() const override { return price; }
    void setPriceText(const QString& text) override { price = text; }
    bool quantityInLots() const override { return false; }
    bool isBuy() const override { return true; }
    QDate tradeDate() const override { return QDate(2026, 12, 8); }
    QString totalFeesText() const override { return QStringLiteral("35.00"); }
    QString totalAmountText() const override { return total; }
    QString costPerShareText() const override { return QStringLiteral("10.035"); }
    QString breakEvenText() const override { return QStringLiteral("10.080"); }
    QString currentPriceText() const override { return current; }
    void setCurrentPriceText(const QString& text) override { current = text; }
    QString todayOpenText() const override { return open; }
    QString lastCloseText() const override { return lastClose; }
    QString bestBidText() const override { return bid; }
    QString bestAskText() const override { return ask; }
    void refreshQuote() override { ++quoteRequests; }
    void clearTrade() override
    {
        quantity = price = total = current = QStringLiteral("0");
        ++clears;
    }
    FeeSnapshot feeSnapshot() const override
    {
        FeeSnapshot s;
        s.quantity = quantity;
        s.price = price;
        s.stampRate = QStringLiteral("1");
        s.commissionRate = QStringLiteral("3");
        s.otherFee = QStringLiteral("5");
        s.direction = Direction::Buy;
        s.saved = {5, 1, 3, 5, 1, 3};
        return s;
    }
    QString transferAndOtherText() const override { return transferAndOther; }
    void ensureAmountsInYuan() override
    {
        if (yuanTotal)
            total = *std::exchange(yuanTotal, std::nullopt);
    }
    bool sellTargetEnabled(SellTargetBox box) const override
    {
        return !disabledTargets.contains(box);
    }
};

} // namespace corvanta::test
