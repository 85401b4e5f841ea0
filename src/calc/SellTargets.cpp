#include "SellTargets.h"

#include "Numbers.h"

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta {

namespace {

using num::parseInteger;
using num::parseNumber;

// A value the boxes can show; an overflow stops the operation like a bad text.
std::optional<QString> moneyText(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return num::money(value);
}

std::optional<double> divide(double numerator, double denominator)
{
    if (denominator == 0)
        return std::nullopt;
    const double quotient = numerator / denominator;
    if (!std::isfinite(quotient))
        return std::nullopt;
    return quotient;
}

struct SellRates {
    double stamp = 0;      // r1, per mille
    double commission = 0; // r2, per mille
};

// While the trade is a buy the boxes show buy rates, so the saved sell rates apply.
std::optional<SellRates> sellRates(const FeeSnapshot& trade)
{
    if (trade.direction == Direction::Buy)
        return SellRates{trade.saved.sellStampRate, trade.saved.sellCommissionRate};
    const auto stamp = parseNumber(trade.stampRate);
    const auto commission = parseNumber(trade.commissionRate);
    if (!stamp || !commission)
        return std::nullopt;
    return SellRates{*stamp, *commission};
}

// The quantity in the entered unit, a whole number as the fee calculator reads it.
std::optional<double> quantityOf(const FeeSnapshot& trade)
{
    const auto quantity = parseInteger(trade.quantity);
    if (!quantity)
        return std::nullopt;
    return double(*quantity);
}

// Money received for selling the holding at `price` after all selling fees.
std::optional<double> saleTotal(const FeeSnapshot& trade, QStringView priceText)
{
    const auto price = parseNumber(priceText);
    const auto quantity = quantityOf(trade);
    if (!price || !quantity)
        return std::nullopt;
    const auto value = tradeValueAfterFees(trade, *quantity, *price, Direction::Sell);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

// The selling price that yields `profit` (negative for a loss) over T. The selling
// fees are taken as the proportional stamp duty and commission plus X; when the
// commission of the buy amount stays under the 5-yuan minimum it is the flat 5.
std::optional<double> targetPrice(const SellTargetInputs& in, double total, double profit)
{
    const auto quantity = quantityOf(in.trade);
    const auto buyPrice = parseNumber(in.trade.price);
    const auto fixedPart = parseNumber(in.transferAndOther);
    const auto rates = sellRates(in.trade);
    if (!quantity || !buyPrice || !fixedPart || !rates)
        return std::nullopt;
    const double shares = *quantity * in.trade.unitMultiplier;
    const double stamp = rates->stamp / 1000 * in.trade.stampDutyFlag;
    const double buyCommission = shares * *buyPrice * rates->commission / 1000;
    if (buyCommission >= 5)
        return divide(total + profit + *fixedPart, (1 - stamp - rates->commission / 1000) * shares);
    return divide(total + profit + *fixedPart + 5, (1 - stamp) * shares);
}

// Amount box → selling price, then the amount as a percentage of T.
SellTargetTexts priceForAmount(const SellTargetInputs& in, QStringView boxText, bool profit)
{
    SellTargetTexts out;
    const auto amount = parseNumber(boxText);
    const auto total = parseNumber(in.total);
    if (!amount || !total)
        return out;
    const auto price = targetPrice(in, *total, profit ? *amount : -*amount);
    if (!price)
        return out;
    out.price = num::money(*price);
    const auto percent = divide(*amount * 100, *total);
    if (!percent)
        return out;
    out.percent = num::money(*percent);
    return out;
}

// Percentage box → selling price, then the amount that percentage of T makes.
SellTargetTexts priceForPercent(const SellTargetInputs& in, QStringView boxText, bool profit)
{
    SellTargetTexts out;
    const auto percent = parseNumber(boxText);
    const auto total = parseNumber(in.total);
    if (!percent || !total)
        return out;
    const double amount = *total * *percent / 100;
    const auto price = targetPrice(in, *total, profit ? amount : -amount);
    if (!price)
        return out;
    out.price = num::money(*price);
    out.amount = moneyText(amount);
    return out;
}

// Price box → profit (or loss) at that price, then its percentage of T read back
// from the amount text just written.
SellTargetTexts amountAtPrice(const SellTargetInputs& in, QStringView boxText, bool profit)
{
    SellTargetTexts out;
    const auto total = parseNumber(in.total);
    if (!total)
        return out;
    const auto sale = saleTotal(in.trade, boxText);
    if (!sale)
        return out;
    out.amount = moneyText(profit ? *sale - *total : *total - *sale);
    const auto shown = out.amount ? parseNumber(*out.amount) : std::nullopt;
    if (!shown)
        return out;
    const auto percent = divide(*shown * 100, *total);
    if (!percent)
        return out;
    out.percent = num::money(*percent);
    return out;
}

bool isPriceBox(SellTargetBox box)
{
    return box == SellTargetBox::ProfitPrice || box == SellTargetBox::LossPrice;
}

// The colour follows the value as shown, so a break-even that floating point puts
// a hair below zero still shows as the red ".00" it reads as.
GainText signedText(QString text, double value, int decimals)
{
    return {std::move(text), num::roundHalfAway(value, decimals) < 0};
}

} // namespace

bool sellTargetWillRun(SellTargetBox box, QStringView boxText, QStringView total)
{
    if (boxText.isEmpty())
        return false;
    return !isPriceBox(box) || !total.isEmpty();
}

SellTargetTexts computeSellTarget(SellTargetBox box, const SellTargetInputs& in,
                                  QStringView boxText)
{
    if (!sellTargetWillRun(box, boxText, in.total))
        return {};
    switch (box) {
    case SellTargetBox::ProfitAmount:
        return priceForAmount(in, boxText, true);
    case SellTargetBox::ProfitPercent:
        return priceForPercent(in, boxText, true);
    case SellTargetBox::ProfitPrice:
        return amountAtPrice(in, boxText, true);
    case SellTargetBox::LossAmount:
        return priceForAmount(in, boxText, false);
    case SellTargetBox::LossPercent:
        return priceForPercent(in, boxText, false);
    case SellTargetBox::LossPrice:
        return amountAtPrice(in, boxText, false);
    }
    return {};
}

bool currentGainWillRun(QStringView currentPrice, QStringView total)
{
    return !currentPrice.isEmpty() && !total.isEmpty() && currentPrice != u"-";
}

std::optional<GainText> gainAtCurrentPrice(const SellTargetInputs& in, QStringView currentPrice)
{
    if (!currentGainWillRun(currentPrice, in.total))
        return std::nullopt;
    const auto total = parseNumber(in.total);
    if (!total)
        return std::nullopt;
    const auto sale = saleTotal(in.trade, currentPrice);
    if (!sale)
        return std::nullopt;
    return currentGainText(*sale - *total);
}

std::optional<GainText> currentGainText(double gain)
{
    const auto text = moneyText(gain);
    if (!text)
        return std::nullopt;
    return signedText(u"盈利:"_s + *text + u"元"_s, gain, 2);
}

std::optional<GainText> buyBackGain(const FeeSnapshot& trade, QStringView current,
                                    QStringView specified)
{
    const auto quantity = quantityOf(trade);
    const auto currentPrice = parseNumber(current);
    const auto specifiedPrice = parseNumber(specified);
    if (!quantity || !currentPrice || !specifiedPrice)
        return std::nullopt;
    const auto proceeds = tradeValueAfterFees(trade, *quantity, *currentPrice, Direction::Sell);
    const auto cost = tradeValueAfterFees(trade, *quantity, *specifiedPrice, Direction::Buy);
    if (!proceeds || !cost)
        return std::nullopt;
    const double gain = *proceeds - *cost;
    if (!std::isfinite(gain))
        return std::nullopt;
    return signedText(num::perShare(gain), gain, 3);
}

} // namespace corvanta
