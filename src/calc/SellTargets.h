#pragma once

#include "FeeRules.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace corvanta {

// What the sell-target calculator reads of a priced holding, taken at one moment.
// `trade` carries the quantity (in the entered unit), the buy price, the rate boxes
// as shown, the other fee, the direction, the unit and market flags and the saved
// rates. The selling rates are the saved sell rates while the trade is a buy and the
// shown rate boxes while it is a sell.
struct SellTargetInputs {
    FeeSnapshot trade;
    QString total;            // T: total paid (or received in sell mode), in 元
    QString transferAndOther; // X: transfer fee plus other fee as last priced
};

// The box an operation starts from; its group decides where the results go.
enum class SellTargetBox {
    ProfitAmount,  // profit in yuan → its selling price and percentage
    ProfitPercent, // profit percentage → its selling price and amount
    ProfitPrice,   // selling price for a profit → its amount and percentage
    LossAmount,    // loss in yuan → its selling price and percentage
    LossPercent,   // loss percentage → its selling price and amount
    LossPrice,     // selling price for a loss → its amount and percentage
};

// Result texts (".00") of one operation. The field of the starting box is always
// absent; a later field is absent too when the operation stopped before it (a text
// that does not convert, a division by zero).
struct SellTargetTexts {
    std::optional<QString> price;   // selling price for the profit or loss
    std::optional<QString> amount;  // profit or loss in yuan
    std::optional<QString> percent; // profit or loss as a percentage of T
};

// Whether typing into `box` computes anything: the box must not be empty, and a
// price box also needs T. Callers showing amounts in 万元 switch back to 元 first,
// and only when this holds.
bool sellTargetWillRun(SellTargetBox box, QStringView boxText, QStringView total);

// The operation of `box` with the guard above applied.
SellTargetTexts computeSellTarget(SellTargetBox box, const SellTargetInputs& in,
                                  QStringView boxText);

// A signed result text; a loss shows blue, anything else red.
struct GainText {
    QString text;
    bool loss = false;
};

// Whether a current price computes a gain: it and T are not empty and it is not "-"
// (no price fetched).
bool currentGainWillRun(QStringView currentPrice, QStringView total);

// "盈利:" + (sale total at the current price − T) + "元", ".00"; no value when the
// guard fails or a text does not convert.
std::optional<GainText> gainAtCurrentPrice(const SellTargetInputs& in, QStringView currentPrice);

// The text of a gain at the current price worked out elsewhere (a fetched price
// over amounts shown in 万元): "盈利:" + gain ".00" + "元", as a typed price shows it.
std::optional<GainText> currentGainText(double gain);

// Selling the holding at `current` and buying the same quantity back at `specified`:
// proceeds after selling fees less the cost with buying fees, ".000". The quantity is
// the snapshot's, whose quantity and price texts also make the guard of the sale
// totals. Callers apply their own guard first.
std::optional<GainText> buyBackGain(const FeeSnapshot& trade, QStringView current,
                                    QStringView specified);

} // namespace corvanta
