#pragma once

#include "FeeRates.h"
#include "MarketKind.h"

#include <QDate>
#include <QString>

#include <optional>
#include <span>

namespace corvanta {

// How a trade's stamp duty and transfer fee are found: from the rates the user
// set (the default), or from the rules in force on the trade date.
enum class FeeRuleChoice { SavedRates, ByTradeDate };
QString feeRuleChoiceText(FeeRuleChoice choice);
// The choice a stored text names; anything else names none.
std::optional<FeeRuleChoice> feeRuleChoiceOfText(QStringView text);

// The commission minimum the user may set under the rules by date, in yuan; many
// brokers waive it.
inline constexpr double largestCommissionMinimum = 5;

enum class StampSides { BuyerAndSeller, SellerOnly };
enum class TransferBasis {
    ShanghaiShares, // Shanghai only: a rate per share in yuan, at least 1 yuan
    Amount,         // Shanghai and Shenzhen: per mille of the amount
};

// One change of the rules: in force from `from` until the next row's date.
struct StatutoryRule {
    int year = 0, month = 0, day = 0; // in force from; the first row holds before any change
    double stampRate = 0;             // per mille of the amount, A shares only
    StampSides stampSides = StampSides::BuyerAndSeller;
    TransferBasis transferBasis = TransferBasis::ShanghaiShares;
    double transferRate = 0; // yuan per share, or per mille of the amount
    QDate from() const { return QDate(year, month, day); }
};

// Every rule in the order of its date. A new change of the rules is one more row.
std::span<const StatutoryRule> statutoryRules();
const StatutoryRule& statutoryRuleOn(QDate date);

// Stamp duty and transfer fee of one trade under the rules of its date, unrounded,
// with the texts that name the rule.
struct StatutoryFees {
    double stampDuty = 0;
    double transferFee = 0;
    QString stampHint;    // "印花税 0.5‰（卖出，2023-08-28起）"
    QString transferHint; // "过户费 0.01‰（沪深，按成交金额，2022-04-29起）"
};

// `stampDutyFlag` 0 for warrants and funds (no stamp duty, as with the rates set),
// whatever the market choice.
StatutoryFees statutoryFees(QDate date, Direction direction, MarketKind market, int stampDutyFlag,
                            double amount, double shares);

// Commission with the user's rate and minimum (0 to 5 yuan).
double commissionWithMinimum(double amount, double commissionRate, double minimum);
QString commissionHint(double commissionRate, double minimum);

} // namespace corvanta
