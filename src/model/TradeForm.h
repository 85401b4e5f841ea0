#pragma once

#include "calc/FeeRules.h"
#include "calc/MarketKind.h"
#include "calc/MoneyAmount.h"
#include "calc/SellTargets.h"
#include "calc/TradeUnits.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace corvanta::model {

// The texts of the trade, each as typed or as the pricing wrote it. The three
// amounts of money (trade amount, total fees, total) are kept in 元 whatever unit
// shows them.
enum class TradeText {
    StockCode,
    StockName,
    Quantity,
    Price,
    StampRate,
    CommissionRate,
    OtherFee,
    TradeAmount,
    StampDuty,
    Commission,
    TransferAndOther,
    TotalFees,
    Total,
    CostPerShare,
    BreakEven,
    CurrentPrice,
    TodayOpen,
    LastClose,
    BestBid, // 主买: active buying
    BestAsk, // 主卖: active selling
};
inline constexpr int tradeTextCount = int(TradeText::BestAsk) + 1;

// Whether the amount is one of those kept in 元 and shown in the amount unit.
bool isMoneyAmount(TradeText text);

// The trade being typed in the main window, as the other windows read and write
// it: the stock, the inputs and their pricing, the current price and the quote.
// Every setter announces `changed()` only when the value changes. What the other
// windows ask of the main window (make a stock current, fetch a quote, empty the
// trade) are signals the main window answers.
class TradeForm : public QObject {
    Q_OBJECT
public:
    explicit TradeForm(QObject* parent = nullptr);

    const QString& text(TradeText which) const { return m_texts[std::size_t(which)]; }
    void setText(TradeText which, const QString& value);

    const QString& stockCode() const { return text(TradeText::StockCode); }
    const QString& stockName() const { return text(TradeText::StockName); }
    const QString& quantity() const { return text(TradeText::Quantity); }
    void setQuantity(const QString& value) { setText(TradeText::Quantity, value); }
    const QString& price() const { return text(TradeText::Price); }
    void setPrice(const QString& value) { setText(TradeText::Price, value); }
    const QString& totalFees() const { return text(TradeText::TotalFees); }
    const QString& total() const { return text(TradeText::Total); }
    const QString& transferAndOther() const { return text(TradeText::TransferAndOther); }
    const QString& costPerShare() const { return text(TradeText::CostPerShare); }
    const QString& breakEven() const { return text(TradeText::BreakEven); }
    const QString& currentPrice() const { return text(TradeText::CurrentPrice); }
    void setCurrentPrice(const QString& value) { setText(TradeText::CurrentPrice, value); }
    const QString& todayOpen() const { return text(TradeText::TodayOpen); }
    const QString& lastClose() const { return text(TradeText::LastClose); }
    const QString& bestBid() const { return text(TradeText::BestBid); }
    const QString& bestAsk() const { return text(TradeText::BestAsk); }

    // An amount of money as the amount unit shows it, and set from such a text.
    QString shownText(TradeText which) const;
    void setShownText(TradeText which, const QString& shown);

    Direction direction() const { return m_direction; }
    void setDirection(Direction direction);
    bool isBuy() const { return m_direction == Direction::Buy; }
    MarketKind market() const { return m_market; }
    void setMarket(MarketKind market);
    QuantityUnit quantityUnit() const { return m_quantityUnit; }
    void setQuantityUnit(QuantityUnit unit);
    bool quantityInLots() const { return m_quantityUnit == QuantityUnit::Lots; }
    AmountUnit amountUnit() const { return m_amountUnit; }
    void setAmountUnit(AmountUnit unit);
    QDate tradeDate() const { return m_tradeDate; }
    void setTradeDate(QDate date);

    // The fee terms that are no text: the flags of the stock's market, the saved
    // rates of both sides, and the commission minimum of the rules by trade date
    // (none while the rates as typed price the trade).
    void setTransferFeeFlag(int flag);
    void setStampDutyFlag(int flag);
    void setSavedRates(const FeeRates& rates);
    const FeeRates& savedRates() const { return m_savedRates; }
    void setFeesByTradeDate(std::optional<double> commissionMinimum);

    // What the shared fee operations read of the trade.
    FeeSnapshot feeSnapshot() const;

    // Whether the main window's box for a sell target takes input; the prices,
    // and the amounts and percentages, are opened and closed together.
    void setSellTargetInputs(bool prices, bool amounts);
    void setSellTargetEnabled(SellTargetBox box, bool enabled);
    bool sellTargetEnabled(SellTargetBox box) const { return m_targetsOpen[std::size_t(box)]; }

    // Requests to the main window.
    void chooseStock(const QString& code) { Q_EMIT stockChosen(code); }
    void askForQuote() { Q_EMIT quoteWanted(); }
    void askToClear() { Q_EMIT clearWanted(); }

Q_SIGNALS:
    // Any value changed.
    void changed();
    void textChanged(corvanta::model::TradeText which);
    // Make this stock current, as if its code had been typed and the input left.
    void stockChosen(const QString& code);
    // Fetch the current stock's quote, as leaving the code input does.
    void quoteWanted();
    // Empty the trade of a stock no longer current: quantity, price, their
    // pricing and the current price, as 清空 leaves them.
    void clearWanted();

private:
    template <typename T> void assign(T& field, const T& value);

    std::array<QString, tradeTextCount> m_texts;
    Direction m_direction = Direction::Buy;
    MarketKind m_market = MarketKind::ShenzhenA;
    QuantityUnit m_quantityUnit = QuantityUnit::Shares;
    AmountUnit m_amountUnit = AmountUnit::Yuan;
    QDate m_tradeDate;
    int m_transferFeeFlag = 0;
    int m_stampDutyFlag = 1;
    FeeRates m_savedRates;
    std::optional<double> m_commissionMinimum;
    std::array<bool, 6> m_targetsOpen{true, true, true, true, true, true};
};

} // namespace corvanta::model
