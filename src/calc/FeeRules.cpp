#include "FeeRules.h"

#include "Numbers.h"

namespace corvanta {

double commission(double amount, double commissionRate)
{
    const double proportional = amount * commissionRate / 1000;
    return proportional >= 5 ? proportional : 5;
}

double transferPart(double shares, double otherFee, int transferFeeFlag)
{
    const double base = shares / 100 * 0.1;
    return base >= 1 ? base * transferFeeFlag + otherFee : otherFee + transferFeeFlag;
}

double totalFees(const FeeTerms& t)
{
    return t.amount * t.stampRate / 1000 * t.stampDutyFlag +
           commission(t.amount, t.commissionRate) +
           transferPart(t.shares, t.otherFee, t.transferFeeFlag);
}

namespace {

struct Rates {
    double stamp = 0;
    double commission = 0;
    double other = 0;
};

std::optional<Rates> shownRates(const FeeSnapshot& in)
{
    const auto stamp = num::parseNumber(in.stampRate);
    const auto comm = num::parseNumber(in.commissionRate);
    const auto other = num::parseInteger(in.otherFee);
    if (!stamp || !comm || !other)
        return std::nullopt;
    return Rates{*stamp, *comm, double(*other)};
}

// The rates of `side`: the shown ones when it is the current direction, the
// saved ones of that side otherwise. The other fee is always the shown one.
std::optional<Rates> ratesFor(const FeeSnapshot& in, Direction side)
{
    if (side == in.direction)
        return shownRates(in);
    const auto other = num::parseInteger(in.otherFee);
    if (!other)
        return std::nullopt;
    if (side == Direction::Sell)
        return Rates{in.saved.sellStampRate, in.saved.sellCommissionRate, double(*other)};
    return Rates{in.saved.buyStampRate, in.saved.buyCommissionRate, double(*other)};
}

} // namespace

std::optional<double> tradeFees(const FeeSnapshot& in, double quantity, double price)
{
    const auto rates = shownRates(in);
    if (!rates)
        return std::nullopt;
    const double shares = quantity * in.unitMultiplier;
    return totalFees({shares * price, shares, rates->stamp, rates->commission, rates->other,
                      in.transferFeeFlag, in.stampDutyFlag});
}

std::optional<double> tradeValueAfterFees(const FeeSnapshot& in, double quantity, double price,
                                          Direction direction)
{
    if (in.quantity.isEmpty() || in.price.isEmpty() || in.otherFee.isEmpty())
        return std::nullopt;
    const auto rates = ratesFor(in, direction);
    if (!rates)
        return std::nullopt;
    const double shares = quantity * in.unitMultiplier;
    const double amount = shares * price;
    const double fees = totalFees({amount, shares, rates->stamp, rates->commission, rates->other,
                                   in.transferFeeFlag, in.stampDutyFlag});
    return direction == Direction::Sell ? amount - fees : amount + fees;
}

std::optional<double> sellFeesByCode(const FeeSnapshot& in, QStringView code, double shares,
                                     double price)
{
    const auto rates = ratesFor(in, Direction::Sell);
    if (!rates)
        return std::nullopt;
    const bool shanghai = code.startsWith(u'6');
    const bool aShare = shanghai || code.startsWith(u'0') || code.startsWith(u'3');
    return totalFees({shares * price, shares, rates->stamp, rates->commission, rates->other,
                      shanghai ? 1 : 0, aShare ? 1 : 0});
}

} // namespace corvanta
