#include "Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace corvanta::num {

namespace {

// The value as 15 significant decimal digits and the power of ten of the first.
struct Decimal {
    bool negative = false;
    std::string digits; // exactly 15 digits, first non-zero unless the value is 0
    int exponent = 0;   // value = 0.d1d2... × 10^(exponent + 1)
};

Decimal toDecimal(double value)
{
    // As "%.14e" prints it, correctly rounded, without printf's arbitrary-precision
    // arithmetic: a summary formats tens of thousands of figures.
    char buffer[64];
    const auto [end, failed] =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, 14);
    *end = '\0';
    Decimal d;
    const char* p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits.push_back(*p);
    }
    if (*p == 'e')
        d.exponent = std::atoi(p + 1);
    return d;
}

// Digits of |value| rounded to `decimals` places, as an integer digit string
// (scaled by 10^decimals), rounding half away from zero.
std::string scaledDigits(const Decimal& d, int decimals)
{
    const int keep = d.exponent + 1 + decimals; // digits left of the cut
    if (keep < 0)
        return "0";
    std::string kept;
    if (keep >= int(d.digits.size())) {
        kept = d.digits + std::string(std::size_t(keep) - d.digits.size(), '0');
        return kept;
    }
    kept = d.digits.substr(0, std::size_t(keep));
    const bool roundUp = d.digits[std::size_t(keep)] >= '5';
    if (kept.empty())
        kept = "0";
    if (roundUp) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[std::size_t(i)] == '9') {
            kept[std::size_t(i)] = '0';
            --i;
        }
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[std::size_t(i)];
    }
    return kept;
}

bool allZeros(const std::string& s)
{
    return s.find_first_not_of('0') == std::string::npos;
}

} // namespace

std::optional<double> parseNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (QChar c : trimmed) {
        // Only a plain decimal notation: digits, sign, point and exponent.
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return std::nullopt;
        if (c.unicode() > 0x7f)
            return std::nullopt;
    }
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint64> parseInteger(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        const bool sign = i == 0 && (c == u'-' || c == u'+');
        if (!sign && !(c >= u'0' && c <= u'9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

double roundHalfAway(double value, int decimals)
{
    // From 2^53 on every double is a whole number: nothing to round, and scaling the
    // largest ones up would leave the range of a double.
    if (!std::isfinite(value) || (decimals >= 0 && std::abs(value) >= 0x1p53))
        return value;
    const Decimal d = toDecimal(value);
    const std::string scaled = scaledDigits(d, decimals);
    const double magnitude = std::stod(scaled) / std::pow(10.0, decimals);
    return d.negative ? -magnitude : magnitude;
}

QString fixed(double value, int decimals, bool leadingZero)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const Decimal d = toDecimal(value);
    std::string scaled = scaledDigits(d, decimals);
    const bool zero = allZeros(scaled);
    if (int(scaled.size()) <= decimals)
        scaled.insert(scaled.begin(), std::size_t(decimals + 1) - scaled.size(), '0');
    std::string whole = scaled.substr(0, scaled.size() - std::size_t(decimals));
    const std::string fraction = scaled.substr(scaled.size() - std::size_t(decimals));
    const auto firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? std::string() : whole.substr(firstDigit);
    if (whole.empty() && (leadingZero || decimals == 0))
        whole = "0";
    std::string out;
    if (d.negative && !zero)
        out.push_back('-');
    out += whole;
    if (decimals > 0)
        out += "." + fraction;
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

QString general(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

} // namespace corvanta::num
