#pragma once

#include "calc/FeeRules.h"
#include "calc/SellTargets.h"

#include <QDate>
#include <QString>

namespace corvanta::windows {

// The main window's trade as other windows see it: the current stock, the trade
// inputs and their priced totals, and the current price. The monitor, the
// profit/loss window and the journal read and write the trade only through this,
// so they never reach the main window's widgets.
class TradePort {
public:
    virtual ~TradePort() = default;

    // The current stock.
    virtual QString stockCode() const = 0;
    virtual QString stockName() const = 0;
    // Makes a stock current as if its code had been typed and the input left.
    virtual void setCurrentCode(const QString& code) = 0;

    // The trade inputs, as the texts shown.
    virtual QString quantityText() const = 0;
    virtual void setQuantityText(const QString& text) = 0;
    virtual QString priceText() const = 0;
    virtual void setPriceText(const QString& text) = 0;
    // True while the quantity is in lots of 100 shares.
    virtual bool quantityInLots() const = 0;
    // True while the trade is a buy.
    virtual bool isBuy() const = 0;
    // The trade-date picker's value.
    virtual QDate tradeDate() const = 0;

    // The priced results, as shown: total fees, total paid or received, cost per
    // share and break-even price. Empty until the trade is priced.
    virtual QString totalFeesText() const = 0;
    virtual QString totalAmountText() const = 0;
    virtual QString costPerShareText() const = 0;
    virtual QString breakEvenText() const = 0;

    // The current price ("syl") and the quote fields shown beside it.
    virtual QString currentPriceText() const = 0;
    virtual void setCurrentPriceText(const QString& text) = 0;
    virtual QString todayOpenText() const = 0;
    virtual QString lastCloseText() const = 0;
    // The quote's 主买 and 主卖 fields as shown (active buying and selling, "zm" and
    // "zms").
    virtual QString bestBidText() const = 0;
    virtual QString bestAskText() const = 0;
    // Fetches the current stock's quote the way leaving the code input does.
    virtual void refreshQuote() = 0;
    // Empties the trade of a stock that is no longer current: quantity, price,
    // their priced results and the current price, as 清空 leaves them.
    virtual void clearTrade() = 0;

    // What the shared fee operations read of the trade inputs.
    virtual FeeSnapshot feeSnapshot() const = 0;
    // The transfer fee plus other fee as last priced ("qtzf").
    virtual QString transferAndOtherText() const = 0;
    // Shows the priced amounts in 元 again when they are shown in 万元, so that the
    // totals read are yuan.
    virtual void ensureAmountsInYuan() = 0;
    // Whether the main window's own box for that sell target takes input.
    virtual bool sellTargetEnabled(SellTargetBox box) const = 0;
};

} // namespace corvanta::windows
