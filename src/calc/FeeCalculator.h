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
    std::optional<QString> jyje; // trade amount
    std::optional<QString> yhs;  // stamp duty
    std::optional<QString> yj;   // commission
    std::optional<QString> qtzf; // transfer fee plus other fee
    std::optional<QString> fyhj; // total fees
    std::optional<QString> zfze; // total paid (buy) or received (sell)
    std::optional<QString> mrcb; // cost per share
    std::optional<QString> bbjg; // break-even price
    // Under the rules by trade date, the rule that priced each fee; empty otherwise.
    QString yhsHint;
    QString yjHint;
    QString qtzfHint;
};

FeeQuote computeFees(const FeeInputs& in);

struct PerShareTexts {
    std::optional<QString> mrcb; // cost per share
    std::optional<QString> bbjg; // break-even price
};

// The cost per share and break-even price of a recorded trade, from its stored
// total and transfer-and-other amount over its shares, with the rates (and fee
// rules) of `in`; its quantity, price and unit are not read.
PerShareTexts recordedPerShare(const FeeInputs& in, double zfze, double qtzf, double shares);

// The three amounts that the amount unit rescales.
struct AmountTexts {
    std::optional<QString> jyje;
    std::optional<QString> fyhj;
    std::optional<QString> zfze;
};

// Rescales the trade amount, total fees and total between 元 and 万元 through the
// shown texts; a text that does not convert stops the rest.
AmountTexts convertAmountUnit(const QString& jyje, const QString& fyhj, const QString& zfze,
                              bool toTenThousands);

} // namespace corvanta
