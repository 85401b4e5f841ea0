#pragma once

namespace corvanta::app {

// The ids of the quantity-unit buttons.
enum class QuantityUnit { Shares = 0, Lots = 1 };
inline constexpr int sharesPerLot = 100;

// The items of the amount-unit choice.
enum class AmountUnit { Yuan = 0, TenThousandYuan = 1 };

} // namespace corvanta::app
