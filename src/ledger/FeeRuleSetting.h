#pragma once

#include "calc/StatutoryFees.h"

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The fee-rule choice and the commission minimum are gpmc rows like the other
// settings: "fygz" holds the choice's text ("按设置的费率" or "按交易日期的法定规则"),
// "yjzd" the minimum in yuan. A ledger without them, or with a text that names
// nothing, prices with the rates set and a 5-yuan minimum.
struct FeeRuleSetting {
    FeeRuleChoice choice = FeeRuleChoice::SavedRates;
    double commissionMinimum = largestCommissionMinimum; // 0 to 5

    bool operator==(const FeeRuleSetting&) const = default;
};

FeeRuleSetting loadFeeRuleSetting(sql::Database& db);

// Stores both rows in one transaction, updating them or inserting them when
// missing. The minimum is kept within 0 to 5 yuan.
void saveFeeRuleSetting(sql::Database& db, const FeeRuleSetting& setting);

} // namespace corvanta::ledger
