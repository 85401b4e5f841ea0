#pragma once

#include "FeeRules.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace corvanta {

// What the ladder and its header read of the priced holding and the last quote,
// as the texts shown. `trade` carries quantity and buy price as typed; `total`
// is the total paid in 元 (callers showing 万元 switch back first).
struct LadderInputs {
    FeeSnapshot trade;
    QString total;     // T
    QString code;      // decides the board's daily limit
    QString name;      // as the trade group's caption shows it
    QString open;      // 今开
    QString prevClose; // 昨收
    QString bestBid;   // 主买
    QString bestAsk;   // 主卖
    QString current;   // 时价
};

inline constexpr int ladderLevels = 20;
inline constexpr int ladderColumns = 6;

// The column captions of the ladder grid, left to right.
QStringList ladderColumnHeaders();

// How a cell's text is drawn: profit red, loss green, or plain.
enum class CellTone { None, Profit, Loss };

// Rows 1 to 20 of the ladder: level k (row k) holds open × (1 + 0.5% k) with its
// profit and ratio in columns 0 to 2, and open × (1 − 0.5% k) in columns 3 to 5.
struct PriceLadder {
    // Quantity, buy price and open were all given: the ladder was attempted and
    // its cells are coloured.
    bool attempted = false;
    // Cells not reached by a stopped build stay empty.
    std::array<std::array<QString, ladderColumns>, ladderLevels> rows{};
    // Why the build stopped early, for the header area; none when it completed or
    // was not attempted.
    std::optional<QString> problem;
};

// The ladder of the holding: each profit is the sale total at the unrounded level
// price less T, the ratio that profit over T.
PriceLadder buildPriceLadder(const LadderInputs& in);

// The tone of a cell; `row` 0 is the captions' row, 1 to 20 the levels. The first
// ten upper levels show a loss green until the price passes break-even.
CellTone ladderCellTone(const PriceLadder& ladder, int row, int column);

// The two header lines above the ladder. Its limit prices are the day's: from the
// previous close (the open when no close is quoted) by the board's limit,
// "-" when neither is a price above zero.
struct LadderHeader {
    QString first;
    QString second;
};
LadderHeader ladderHeader(const LadderInputs& in);

// The grid as clipboard text: the captions' row then the levels, each cell
// followed by a full-width space and each row by a line of 38 "=".
QString ladderCopyText(const PriceLadder& ladder);

} // namespace corvanta
