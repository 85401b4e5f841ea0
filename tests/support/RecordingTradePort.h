#pragma once

#include "windows/TradePort.h"

#include <QDate>
#include <QHash>
#include <QStringList>

namespace corvanta::windows::testing {

// The main window's trade as a plain record. Making a stock current looks its name
// up in a small stock list and clears the quote fields, as a new stock has none yet.
class RecordingTradePort : public TradePort {
public:
    QString stockCode() const override { return code; }
    QString stockName() const override { return name; }
    void setCurrentCode(const QString& newCode) override
    {
        codesMadeCurrent << newCode;
        code = newCode;
        name = names.value(newCode);
    }
    QString quantityText() const override { return quantity; }
    void setQuantityText(const QString& text) override { quantity = text; }
    QString priceText() const override { return price; }
    void setPriceText(const QString& text) override { price = text; }
    bool quantityInLots() const override { return false; }
    bool isBuy() const override { return true; }
    QDate tradeDate() const override { return date; }
    QString totalFeesText() const override { return {}; }
    QString totalAmountText() const override { return {}; }
    QString costPerShareText() const override { return {}; }
    QString breakEvenText() const override { return {}; }
    QString currentPriceText() const override { return current; }
    void setCurrentPriceText(const QString& text) override { current = text; }
    QString todayOpenText() const override { return open; }
    QString lastCloseText() const override { return lastClose; }
    QString bestBidText() const override { return buying; }
    QString bestAskText() const override { return selling; }
    void refreshQuote() override {}
    void clearTrade() override {}
    FeeSnapshot feeSnapshot() const override { return {}; }
    QString transferAndOtherText() const override { return {}; }
    void ensureAmountsInYuan() override {}
    bool sellTargetEnabled(SellTargetBox) const override { return true; }

    // Makes a stock current with a quote.
    void quote(const QString& newCode, const QString& newName, const QString& newCurrent)
    {
        code = newCode;
        name = newName;
        current = newCurrent;
        open = QStringLiteral("10.20");
        lastClose = QStringLiteral("10.10");
        buying = QStringLiteral("1200");
        selling = QStringLiteral("800");
    }

    QHash<QString, QString> names{{QStringLiteral("000000"), QStringLiteral("无名股票")},
                                  {QStringLiteral("600000"), QStringLiteral("浦发银行")},
                                  {QStringLiteral("000709"), QStringLiteral("唐钢股份")}};
    QString code, name, quantity, price, current, open, lastClose, buying, selling;
    QDate date = QDate(2026, 12, 8);
    QStringList codesMadeCurrent;
};

} // namespace corvanta::windows::testing
