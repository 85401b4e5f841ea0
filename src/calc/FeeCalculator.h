#pragma once

#include "FeeRules.h"

#include <QString>

#include <optional>

namespace corvanta {

// The result texts of a priced trade. An output is present only when its step
// completed: a failed conversion stops the later steps, whose fields keep their
// old texts.
struct FeeQuote {
    bool inputsComplete = false; // the guard passed (enables the amount-unit box)
    std::optional<QString> tradeAmount;
    std::optional<QString> stampDuty;
    std::optional<QString> commission;
    std::optional<QString> transferAndOther; // transfer fee plus other fee
    std::optional<QString> totalFees;
    std::optional<QString> total; // paid (buy) or received (sell)
    std::optional<QString> costPerShare;
    std::optional<QString> breakEven;
    // Under the rules by trade date, the rule that priced each fee; empty otherwise.
    QString stampDutyHint;
    QString commissionHint;
    QString transferAndOtherHint;
};

FeeQuote computeFees(const FeeInputs& in);

struct PerShareTexts {
    std::optional<QString> costPerShare;
    std::optional<QString> breakEven;
};

// The cost per share and break-even price of a recorded trade, from its stored
// total and transfer-and-other amount over its shares, with the rates (and fee
// rules) of `in`; its quantity, price and unit are not read.
PerShareTexts recordedPerShare(const FeeInputs& in, double total, double transferAndOther,
                               double shares);

// The three amounts that the amount unit rescales.
struct AmountTexts {
    std::optional<QString> tradeAmount;
    std::optional<QString> totalFees;
    std::optional<QString> total;
};

// Rescales the trade amount, total fees and total between 元 and 万元 through the
// shown texts; a text that does not convert stops the rest.
AmountTexts convertAmountUnit(const QString& tradeAmount, const QString& totalFees,
                              const QString& total, bool toTenThousands);

} // namespace corvanta
