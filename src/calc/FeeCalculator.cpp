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
PerShareTexts perShareOf(const FeeInputs& in, double zfze, double qtzf, double shares, double s,
                         double c)
{
    PerShareTexts out;
    if (shares == 0)
        return out;
    out.mrcb = shown(zfze / shares, num::perShare);
    if (!out.mrcb)
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
    out.bbjg = shown((zfze + qtzf) / denominator, num::perShare);
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
    out.jyje = shown(double(*q) * *p * u);
    if (!out.jyje)
        return;

    const auto amount = parseNumber(*out.jyje);
    const auto s = parseNumber(in.stampRate);
    if (!amount || !s)
        return;
    const double shares = double(*q) * u;
    std::optional<StatutoryFees> statutory;
    if (in.byDate) {
        statutory = statutoryFees(in.byDate->tradeDate, in.direction, in.byDate->market,
                                  in.stampDutyFlag, *amount, shares);
        out.yhsHint = statutory->stampHint;
        out.qtzfHint = statutory->transferHint;
        out.yhs = shown(statutory->stampDuty);
    } else {
        out.yhs = shown(*amount * *s / 1000 * in.stampDutyFlag);
    }
    if (!out.yhs)
        return;

    const auto c = parseNumber(in.commissionRate);
    if (!c)
        return;
    const double proportional = *amount * *c / 1000;
    const double minimum = in.byDate ? in.byDate->commissionMinimum : 5;
    out.yj = proportional >= minimum ? shown(proportional) : num::general(minimum);
    if (in.byDate)
        out.yjHint = commissionHint(*c, minimum);
    if (!out.yj)
        return;

    const auto o = parseInteger(in.otherFee);
    if (!o)
        return;
    const double base = shares / 100 * 0.1;
    if (statutory)
        out.qtzf = shown(num::roundHalfAway(statutory->transferFee, 2) + double(*o));
    else
        out.qtzf = base >= 1 ? shown(base * in.transferFeeFlag + double(*o))
                             : QString::number(*o + in.transferFeeFlag);
    if (!out.qtzf)
        return;

    const auto yhs = parseNumber(*out.yhs);
    const auto yj = parseNumber(*out.yj);
    const auto qtzf = parseNumber(*out.qtzf);
    if (!yhs || !yj || !qtzf)
        return;
    out.fyhj = shown(*yhs + (*yj + *qtzf));

    const auto fyhj = out.fyhj ? parseNumber(*out.fyhj) : std::nullopt;
    if (!fyhj)
        return;
    out.zfze = shown(in.direction == Direction::Sell ? *amount - *fyhj : *fyhj + *amount);

    const auto zfze = out.zfze ? parseNumber(*out.zfze) : std::nullopt;
    if (!zfze)
        return;
    const PerShareTexts perShare = perShareOf(in, *zfze, *qtzf, shares, *s, *c);
    out.mrcb = perShare.mrcb;
    out.bbjg = perShare.bbjg;
}

} // namespace

PerShareTexts recordedPerShare(const FeeInputs& in, double zfze, double qtzf, double shares)
{
    const auto s = parseNumber(in.stampRate);
    const auto c = parseNumber(in.commissionRate);
    if (!s || !c)
        return {};
    return perShareOf(in, zfze, qtzf, shares, *s, *c);
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

AmountTexts convertAmountUnit(const QString& jyje, const QString& fyhj, const QString& zfze,
                              bool toTenThousands)
{
    AmountTexts out;
    auto rescale = [toTenThousands](const QString& text) -> std::optional<QString> {
        if (!parseNumber(text))
            return std::nullopt;
        return toTenThousands ? MoneyAmount::fromYuan(text).shown(AmountUnit::TenThousandYuan)
                              : MoneyAmount::fromShown(text, AmountUnit::TenThousandYuan).yuan();
    };
    out.jyje = rescale(jyje);
    if (!out.jyje)
        return out;
    out.fyhj = rescale(fyhj);
    if (!out.fyhj)
        return out;
    out.zfze = rescale(zfze);
    return out;
}

} // namespace corvanta
