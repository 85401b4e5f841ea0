#pragma once

#include "TickerRotation.h"

#include <QStringList>

#include <optional>

namespace corvanta::report {

// The codes the monitor adds to its requests for the two index labels, 上证指数
// and 深证成指; only a real source answers batches with indexes in them.
QStringList indexKeys();

// The two index labels as the monitor shows them: "上证:" and "深成:" followed by
// the index, its change and its change in per cent, red when up or unchanged,
// green when down. None for a label whose index has no record with a price in
// `lines`.
struct IndexLabels {
    std::optional<TickerLabel> shanghai;
    std::optional<TickerLabel> shenzhen;
};
IndexLabels indexLabels(const QStringList& lines);

} // namespace corvanta::report
