#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace corvanta {

// The day's price limits of a stock, in yuan, rounded half up to the fen.
struct LimitPrices {
    double up = 0;
    double down = 0;
};

// The board's daily limit as a fraction: 0.2 for ChiNext (300, 301) and STAR (688,
// 689) codes, 0.05 for a name containing "ST", 0.1 otherwise.
double dailyLimitRatio(QStringView code, QStringView name);

// The limits the exchanges compute from the previous close; today's open stands in
// only when the previous close is not a price above zero. No value when neither is.
std::optional<LimitPrices> limitPrices(QStringView code, QStringView name,
                                       QStringView previousClose, QStringView open);

// The sell-target groups' captions carrying the limits (".00").
struct LimitCaptions {
    QString profit; // "盈利抛售计算  涨停:" + up
    QString loss;   // "亏损抛售计算  跌停:" + down
};

LimitCaptions limitCaptions(const LimitPrices& limits);

} // namespace corvanta
