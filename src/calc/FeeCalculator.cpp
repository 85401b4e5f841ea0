#include "FeeCalculator.h"

#include "Numbers.h"

namespace corvanta {

namespace {

using num::money;
using num::parseInteger;
using num::parseNumber;

// Each step reads back the rounded text of the earlier ones, as the shown fields do.
void priceTrade(const FeeInputs& in, FeeQuote& out)
{
    const auto q = parseInteger(in.quantity);
    const auto p = parseNumber(in.price);
    if (!q || !p)
        return;
    const double u = in.unitMultiplier;
    out.jyje = money(double(*q) * *p * u);

    const auto amount = parseNumber(*out.jyje);
    const auto s = parseNumber(in.stampRate);
    if (!amount || !s)
        return;
    out.yhs = money(*amount * *s / 1000 * in.stampDutyFlag);

    const auto c = parseNumber(in.commissionRate);
    if (!c)
        return;
    const double proportional = *amount * *c / 1000;
    out.yj = proportional >= 5 ? money(proportional) : QStringLiteral("5");

    const auto o = parseInteger(in.otherFee);
    if (!o)
        return;
    const double shares = double(*q) * u;
    const double base = shares / 100 * 0.1;
    out.qtzf = base >= 1 ? money(base * in.transferFeeFlag + double(*o))
                         : QString::number(*o + in.transferFeeFlag);

    const auto yhs = parseNumber(*out.yhs);
    const auto yj = parseNumber(*out.yj);
    const auto qtzf = parseNumber(*out.qtzf);
    if (!yhs || !yj || !qtzf)
        return;
    out.fyhj = money(*yhs + (*yj + *qtzf));

    const auto fyhj = parseNumber(*out.fyhj);
    if (!fyhj)
        return;
    out.zfze = money(in.direction == Direction::Sell ? *amount - *fyhj : *fyhj + *amount);

    const auto zfze = parseNumber(*out.zfze);
    if (!zfze || shares == 0)
        return;
    out.mrcb = num::perShare(*zfze / shares);

    const double denominator = ((1 - *c / 1000) - *s / 1000 * in.stampDutyFlag) * shares;
    if (denominator == 0)
        return;
    out.bbjg = num::perShare((*zfze + *qtzf) / denominator);
}

} // namespace

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
        const auto value = parseNumber(text);
        if (!value)
            return std::nullopt;
        return toTenThousands ? num::tenThousands(*value / 10000) : money(*value * 10000);
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
