#include "FeeCalculator.h"

#include "MoneyAmount.h"
#include "Numbers.h"
#include "StatutoryFees.h"

#include <cmath>

namespace corvanta {

namespace {

using num::money;
using num::parseInteger;
using num::parseNumber;

// A step's value as its field shows it; an overflow stops the steps like a bad text.
std::optional<QString> shown(double value, QString (*pattern)(double) = money)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return pattern(value);
}

// The cost per share, and the price at which selling the shares with the rates
// `s` and `c` returns what was paid with the same transfer-and-other amount.
PerShareTexts perShareOf(const FeeInputs& in, double total, double transferAndOther, double shares,
                         double s, double c)
{
    PerShareTexts out;
    if (shares == 0)
        return out;
    out.costPerShare = shown(total / shares, num::perShare);
    if (!out.costPerShare)
        return out;
    // The break-even sell pays the stamp duty a sell of the trade date would pay
    // (the duty on 1000 yuan is the rate per mille).
    const double sellStamp = in.byDate ? statutoryFees(in.byDate->tradeDate, Direction::Sell,
                                                       in.byDate->market, in.stampDutyFlag, 1000, 0)
                                             .stampDuty
                                       : s * in.stampDutyFlag;
    const double denominator = ((1 - c / 1000) - sellStamp / 1000) * shares;
    if (denominator == 0)
        return out;
    out.breakEven = shown((total + transferAndOther) / denominator, num::perShare);
    return out;
}

// Each step reads back the rounded text of the earlier ones, as the shown fields do.
void priceTrade(const FeeInputs& in, FeeQuote& out)
{
    const auto q = parseInteger(in.quantity);
    const auto p = parseNumber(in.price);
    if (!q || !p)
        return;
    const double u = in.unitMultiplier;
    out.tradeAmount = shown(double(*q) * *p * u);
    if (!out.tradeAmount)
        return;

    const auto amount = parseNumber(*out.tradeAmount);
    const auto s = parseNumber(in.stampRate);
    if (!amount || !s)
        return;
    const double shares = double(*q) * u;
    std::optional<StatutoryFees> statutory;
    if (in.byDate) {
        statutory = statutoryFees(in.byDate->tradeDate, in.direction, in.byDate->market,
                                  in.stampDutyFlag, *amount, shares);
        out.stampDutyHint = statutory->stampHint;
        out.transferAndOtherHint = statutory->transferHint;
        out.stampDuty = shown(statutory->stampDuty);
    } else {
        out.stampDuty = shown(*amount * *s / 1000 * in.stampDutyFlag);
    }
    if (!out.stampDuty)
        return;

    const auto c = parseNumber(in.commissionRate);
    if (!c)
        return;
    const double proportional = *amount * *c / 1000;
    const double minimum = in.byDate ? in.byDate->commissionMinimum : 5;
    out.commission = proportional >= minimum ? shown(proportional) : num::general(minimum);
    if (in.byDate)
        out.commissionHint = commissionHint(*c, minimum);
    if (!out.commission)
        return;

    const auto o = parseInteger(in.otherFee);
    if (!o)
        return;
    const double base = shares / 100 * 0.1;
    if (statutory)
        out.transferAndOther = shown(num::roundHalfAway(statutory->transferFee, 2) + double(*o));
    else
        out.transferAndOther = base >= 1 ? shown(base * in.transferFeeFlag + double(*o))
                                         : QString::number(*o + in.transferFeeFlag);
    if (!out.transferAndOther)
        return;

    const auto stampDuty = parseNumber(*out.stampDuty);
    const auto commission = parseNumber(*out.commission);
    const auto transferAndOther = parseNumber(*out.transferAndOther);
    if (!stampDuty || !commission || !transferAndOther)
        return;
    out.totalFees = shown(*stampDuty + (*commission + *transferAndOther));

    const auto totalFees = out.totalFees ? parseNumber(*out.totalFees) : std::nullopt;
    if (!totalFees)
        return;
    out.total =
        shown(in.direction == Direction::Sell ? *amount - *totalFees : *totalFees + *amount);

    const auto total = out.total ? parseNumber(*out.total) : std::nullopt;
    if (!total)
        return;
    const PerShareTexts perShare = perShareOf(in, *total, *transferAndOther, shares, *s, *c);
    out.costPerShare = perShare.costPerShare;
    out.breakEven = perShare.breakEven;
}

} // namespace

PerShareTexts recordedPerShare(const FeeInputs& in, double total, double transferAndOther,
                               double shares)
{
    const auto s = parseNumber(in.stampRate);
    const auto c = parseNumber(in.commissionRate);
    if (!s || !c)
        return {};
    return perShareOf(in, total, transferAndOther, shares, *s, *c);
}

FeeQuote computeFees(const FeeInputs& in)
{
    FeeQuote out;
    if (in.quantity.isEmpty() || in.otherFee.isEmpty() || in.price.isEmpty() ||
        in.stampRate.isEmpty() || in.commissionRate.isEmpty())
        return out;
    out.inputsComplete = true;
    priceTrade(in, out);
    return out;
}

AmountTexts convertAmountUnit(const QString& tradeAmount, const QString& totalFees,
                              const QString& total, bool toTenThousands)
{
    AmountTexts out;
    auto rescale = [toTenThousands](const QString& text) -> std::optional<QString> {
        if (!parseNumber(text))
            return std::nullopt;
        return toTenThousands ? MoneyAmount::fromYuan(text).shown(AmountUnit::TenThousandYuan)
                              : MoneyAmount::fromShown(text, AmountUnit::TenThousandYuan).yuan();
    };
    out.tradeAmount = rescale(tradeAmount);
    if (!out.tradeAmount)
        return out;
    out.totalFees = rescale(totalFees);
    if (!out.totalFees)
        return out;
    out.total = rescale(total);
    return out;
}

} // namespace corvanta
