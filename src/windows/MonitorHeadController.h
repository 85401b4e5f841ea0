#pragma once

#include "calc/FeeRules.h"

#include <QObject>

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

class MonitorBuyBackPanel;
class MonitorHeadPanel;

// The head area's calculations: the trade totals of the monitor's quantity and
// price (copied to the main window's trade), the gain at the current price, the
// buy-back gain with its explanation in the index labels, and the progress marks
// of each tick.
class MonitorHeadController : public QObject {
    Q_OBJECT
public:
    MonitorHeadController(model::TradeForm& trade, MonitorHeadPanel& head,
                          MonitorBuyBackPanel& buyBack, QObject* parent = nullptr);

    // The main window's rates with the monitor's own quantity and price.
    FeeSnapshot snapshot() const;

    void computeTotals(bool fromQuantity);
    // The gain at the current price, "元" ending the text.
    void computeGain();
    void computeBuyBack();
    // The monitor timer's part: the gain without "元", then the progress mark.
    void tick(bool started);

Q_SIGNALS:
    // The index labels changed (the floating bar copies them).
    void indexLabelsChanged();

private:
    void showGain(bool withYuan);

    model::TradeForm& m_trade;
    MonitorHeadPanel& m_head;
    MonitorBuyBackPanel& m_buyBack;
};

} // namespace corvanta::windows
