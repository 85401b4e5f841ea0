#pragma once

#include <QGroupBox>

class QLabel;
class QLineEdit;

namespace corvanta::windows {

// The current price and the gain of selling the holding at it.
class CurrentPriceGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CurrentPriceGroup(QWidget* parent = nullptr);

    QLineEdit* price; // syl
    QLabel* gain;     // Label58
};

// The buy-back calculator "指定价位": the price to buy back at and the gain.
class BuyBackGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit BuyBackGroup(QWidget* parent = nullptr);

    QLineEdit* price; // Edit1
    QLabel* gain;     // Label4
};

} // namespace corvanta::windows
