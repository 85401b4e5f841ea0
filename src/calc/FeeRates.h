#pragma once

namespace corvanta {

// The saved fee settings of both trade sides. Rates are per mille, other fees
// whole yuan per trade.
struct FeeRates {
    double buyOtherFee = 0;
    double buyStampRate = 0;
    double buyCommissionRate = 0;
    double sellOtherFee = 0;
    double sellStampRate = 0;
    double sellCommissionRate = 0;
    bool operator==(const FeeRates&) const = default;
};

enum class Direction { Buy, Sell };

} // namespace corvanta
