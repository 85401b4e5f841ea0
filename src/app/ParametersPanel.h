#pragma once

#include "calc/FeeRates.h"
#include "calc/MarketKind.h"

#include <QGroupBox>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QRadioButton;
class QSlider;

namespace corvanta::app {

// The "参数设置" group: transparency, trade date, market, fee rates and direction.
class ParametersPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ParametersPanel(QWidget* parent = nullptr);

    MarketKind market() const;
    void setMarket(MarketKind market);
    Direction direction() const;
    void setDirection(Direction direction);
    // Shows the rate-box caption and the side's saved rates for a direction.
    void setRateCaption(const QString& caption);

    QSlider* opacitySlider;
    QDateEdit* tradeDate;
    QGroupBox* marketBox;
    QButtonGroup* marketGroup;
    QGroupBox* rateBox;
    QComboBox* stampRate;
    QComboBox* commissionRate;
    // How stamp duty and transfer fee are found (the commission minimum of the
    // rules by date is set under 设置).
    QComboBox* feeRule;
    QGroupBox* directionBox;
    QButtonGroup* directionGroup;
};

} // namespace corvanta::app
