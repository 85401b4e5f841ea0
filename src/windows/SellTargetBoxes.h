#pragma once

#include <QGroupBox>

class QLineEdit;

namespace corvanta::windows {

// One sell-target group of the profit/loss window: an amount, a percentage and
// the selling price that yields them ("盈利抛售计算" or "亏损抛售计算").
class SellTargetBoxes : public QGroupBox {
    Q_OBJECT
public:
    enum class Kind { Profit, Loss };
    explicit SellTargetBoxes(Kind kind, QWidget* parent = nullptr);

    QLineEdit* amount;  // Edit8 / Edit11
    QLineEdit* percent; // Edit9 / Edit10
    QLineEdit* price;   // Edit7 / Edit12
};

} // namespace corvanta::windows
