#pragma once

#include <QStringView>

#include <optional>

namespace corvanta {

// The security class of a trade; the value is the item index of the market choice.
enum class MarketKind { ShenzhenA = 0, ShanghaiA = 1, WarrantOrFund = 2 };

struct MarketFlags {
    int transferFee = 0; // 1: Shanghai transfer fee applies
    int stampDuty = 1;   // 1: stamp duty applies
};

MarketFlags flagsFor(MarketKind market);

// The market a typed code belongs to: "6" Shanghai A, "0" or "3" (ChiNext)
// Shenzhen A, anything else (an empty text too) a warrant or fund.
MarketKind inferMarket(QStringView code);

// The market a stored code names, for loading a ledger row back: "6" Shanghai A,
// "0" or "3" Shenzhen A, "58" a warrant; any other code names none.
std::optional<MarketKind> marketOfStoredCode(QStringView code);

// Stamp duty follows the code while it is typed, as the market it names: none for
// warrants ("58...") and funds ("51...", "15..."), whatever the market choice was.
int stampDutyFlagForCode(QStringView code);

} // namespace corvanta
