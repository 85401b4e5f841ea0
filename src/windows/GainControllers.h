#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

class BuyBackGroup;
class CurrentPriceGroup;

// The gain at the window's own current price, and the buy-back box that needs
// that price to be filled in.
class CurrentGainController : public QObject {
    Q_OBJECT
public:
    CurrentGainController(model::TradeForm& trade, CurrentPriceGroup& current,
                          BuyBackGroup& buyBack, QObject* parent = nullptr);

    // Takes the main window's current price and computes the gain at it.
    void takeMainWindowPrice();
    // The gain at the price shown; then the buy-back box follows the price.
    void computeGain();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enableBuyBack();

    model::TradeForm& m_trade;
    CurrentPriceGroup& m_current;
    BuyBackGroup& m_buyBack;
};

// Selling now and buying back lower: the gain, explained in the header area while
// the price is typed. Leaving the box puts the header back.
class BuyBackController : public QObject {
    Q_OBJECT
public:
    BuyBackController(model::TradeForm& trade, CurrentPriceGroup& current, BuyBackGroup& buyBack,
                      QLabel& header, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void compute();

    model::TradeForm& m_trade;
    CurrentPriceGroup& m_current;
    BuyBackGroup& m_buyBack;
    QLabel& m_header;
    QString m_savedHeader;
};

} // namespace corvanta::windows
