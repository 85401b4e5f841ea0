#pragma once

namespace corvanta {

// The ids of the quantity-unit buttons.
enum class QuantityUnit { Shares = 0, Lots = 1 };
inline constexpr int sharesPerLot = 100;

// The items of the amount-unit choice: how amounts of money are shown.
enum class AmountUnit { Yuan = 0, TenThousandYuan = 1 };

} // namespace corvanta
