#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Number helpers shared by the whole program: reading the texts users type and
// writing values in the fixed display patterns of the ledger and calculators.
namespace corvanta::num {

// A decimal number with "." as the point; blanks around it are allowed. An empty
// or malformed text, or one that is not finite, gives no value (never 0).
std::optional<double> parseNumber(QStringView text);
// A whole number (optional sign, digits only, blanks around allowed).
std::optional<qint64> parseInteger(QStringView text);

// Rounds half away from zero on the decimal value: the double is first taken to
// 15 significant digits, so 1.005 rounds to 1.01 and 2.675 to 2.68.
double roundHalfAway(double value, int decimals);

// Fixed-point text with the given decimals. Without a leading zero a magnitude
// below 1 shows as ".50" / "-.50". A value that rounds to zero carries no sign.
QString fixed(double value, int decimals, bool leadingZero);

inline QString money(double v)
{
    return fixed(v, 2, false);
} // ".00"
inline QString perShare(double v)
{
    return fixed(v, 3, false);
} // ".000"
inline QString tenThousands(double v)
{
    return fixed(v, 4, false);
} // ".0000"
inline QString totals(double v)
{
    return fixed(v, 2, true);
} // "0.00"
// "  .0": two blanks, then one decimal without a leading zero.
inline QString blankPadded(double v)
{
    return QStringLiteral("  ") + fixed(v, 1, false);
}

// The shortest general form, up to 15 significant digits: 3 → "3", 0.3 → "0.3",
// 17426.41 → "17426.41".
QString general(double value);

} // namespace corvanta::num
