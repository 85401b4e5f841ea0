#pragma once

#include "calc/FeeRules.h"

#include <QString>

#include <optional>

// The monitor window's own small calculations, as texts the window shows.
namespace corvanta::report {

// The progress label after a tick: "行情更新", then one mark more per tick (">"
// once monitoring was switched on in this run, "|" before), back to "行情更新"
// past 16 bytes.
QString nextProgressMark(const QString& label, bool started);

struct MonitorGain {
    QString text;
    bool loss = false;
};

// "当前价格盈亏:" + the gain of selling the monitor's quantity at `current` less
// the amount paid, ".00" (+ "元" when asked). None while the price is empty or
// "-", the amount paid is empty, the quantity is zero (a cleared trade), or an
// input does not convert. `trade` carries
// the monitor's own quantity and price inputs with the main window's rates.
std::optional<MonitorGain> monitorGain(const FeeSnapshot& trade, const QString& current,
                                       const QString& paid, bool withYuan);

// 总费用 and 支付总额 of the monitor's quantity and price, ".00"; none while either
// input is empty or does not convert.
struct MonitorTotals {
    QString fees;
    QString paid;
};
std::optional<MonitorTotals> monitorTotals(const FeeSnapshot& trade);

// The floating bar's width for an answer of the width dialog: 120 to 600, else 300.
int barWidthFromAnswer(const QString& answer);
// The bar's narrow form (no total label) below this width.
inline constexpr int barWideFrom = 301;

// The monitor grid's font for a size index: points, extra pixels per column and
// row height.
struct MonitorFontMetrics {
    int pointSize = 8;
    int extraWidth = 0;
    int rowHeight = 18;
};
MonitorFontMetrics monitorFontMetrics(int sizeIndex);

} // namespace corvanta::report
