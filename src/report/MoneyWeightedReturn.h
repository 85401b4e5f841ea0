#pragma once

#include <QDate>

#include <optional>
#include <span>

namespace corvanta::report {

// One cash flow of the account seen from the investor: a buy is money out
// (negative), a sell money in (positive); the value held today is the last flow.
struct CashFlow {
    QDate date;
    double amount = 0;
};

// The money-weighted return, annualised as spreadsheets do: the rate r at which
// the flows, each discounted by (1 + r) to the power (days since the first flow
// ÷ 365), add up to zero. Solved by Brent's method on a bracket where the sum
// changes sign. No answer when there is none to give: flows all of one sign, all
// on one day, or a sum that changes sign more than once over the rates tried
// (more than one rate would fit).
std::optional<double> moneyWeightedReturn(std::span<const CashFlow> flows);

} // namespace corvanta::report
