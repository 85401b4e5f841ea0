#pragma once

#include "calc/FeeRates.h"

#include <QString>

namespace corvanta::model {

// The trade inputs' captions for a direction. The cost and break-even captions keep
// their buy-side texts and are greyed for a sell, whose figures they do not describe.
struct DirectionCaptions {
    QString quantity;
    QString price;
    QString total;
    QString rate;
    QString costPerShare;
    QString breakEven;
    bool perShareEnabled = true;
    bool operator==(const DirectionCaptions&) const = default;
};

DirectionCaptions directionCaptions(Direction direction);

} // namespace corvanta::model
