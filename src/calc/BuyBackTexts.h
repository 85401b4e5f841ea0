#pragma once

#include <QString>

namespace corvanta {

// The sentences that explain a buy-back: sell now at `current`, buy back at
// `specified`, and what is gained once the price is back at `current`. Each is a
// list of lines.
struct BuyBackTexts {
    QString explanation; // shown in the header area while the price is typed
    QString hint;        // the price box's hint
};

BuyBackTexts buyBackTexts(const QString& current, const QString& specified, const QString& gain);

} // namespace corvanta
