#pragma once

#include "FeeRates.h"
#include "MarketKind.h"

#include <QDate>
#include <QString>

#include <optional>

namespace corvanta {

// The fee rules on unrounded numbers: stamp duty, commission with its 5-yuan
// minimum, and the Shanghai transfer fee (1 jiao per 100 shares, 1-yuan minimum)
// plus the fixed other fee.
struct FeeTerms {
    double amount = 0;         // A
    double shares = 0;         // N
    double stampRate = 0;      // S, per mille
    double commissionRate = 0; // C, per mille
    double otherFee = 0;       // O, yuan
    int transferFeeFlag = 0;   // T
    int stampDutyFlag = 1;     // D
};
double totalFees(const FeeTerms& terms);
double commission(double amount, double commissionRate);
double transferPart(double shares, double otherFee, int transferFeeFlag);

// Under the rules by trade date: the date and market that choose the stamp duty
// and transfer fee, and the commission minimum that replaces the 5 yuan.
struct ByDateTerms {
    QDate tradeDate;
    MarketKind market = MarketKind::ShenzhenA;
    double commissionMinimum = 5;
};

// The texts a trade is priced from, as typed, and the flags of its unit and market.
struct FeeInputs {
    QString quantity;
    QString price;
    QString stampRate; // rate inputs as shown
    QString commissionRate;
    QString otherFee;
    Direction direction = Direction::Buy;
    int unitMultiplier = 1;
    int transferFeeFlag = 0;
    int stampDutyFlag = 1;
    // Set: stamp duty and transfer fee follow the trade date (the stamp-rate input
    // is not read); none: the rates as typed.
    std::optional<ByDateTerms> byDate;
};

// What the shared fee operations read of the trade inputs, taken at one moment so
// the inputs themselves are never touched. Quantity and price serve their guard
// only; the saved rates price the side that is not shown.
struct FeeSnapshot : FeeInputs {
    FeeRates saved;
};

// Total fees of `quantity` units at `price` with the shown rates; no value when
// an input does not convert.
std::optional<double> tradeFees(const FeeSnapshot& in, double quantity, double price);

// Amount minus fees for a sell, plus fees for a buy, with the rates of the side
// named (the shown rates when it is the current direction). No value when the
// quantity, price or other-fee input is empty or an input does not convert.
std::optional<double> tradeValueAfterFees(const FeeSnapshot& in, double quantity, double price,
                                          Direction direction);

// Fees of selling `shares` (no unit) at `price`, the market taken from the code:
// stamp duty for "6", "0" and "3" codes, transfer fee for "6".
std::optional<double> sellFeesByCode(const FeeSnapshot& in, QStringView code, double shares,
                                     double price);

} // namespace corvanta
