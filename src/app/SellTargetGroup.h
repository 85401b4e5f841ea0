#pragma once

#include <QGroupBox>

class QLineEdit;

namespace corvanta::app {

// One sell-target group: an amount, a percentage and the selling price that
// yields them ("盈利抛售计算" for a profit, "亏损抛售计算" for a loss).
class SellTargetGroup : public QGroupBox {
    Q_OBJECT
public:
    enum class Kind { Profit, Loss };
    SellTargetGroup(Kind kind, QWidget* parent = nullptr);

    // The caption without the day's limit price.
    QString baseTitle() const;

    QLineEdit* amount;  // Edit8 / Edit11
    QLineEdit* percent; // Edit9 / Edit10
    QLineEdit* price;   // Edit7 / Edit12

private:
    Kind m_kind;
};

} // namespace corvanta::app
