#include "MoneyWeightedReturn.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace corvanta::report {

namespace {

// The rates tried for a change of sign, from a near total loss to a hundredfold
// gain a year.
constexpr std::array bracketRates{-0.999999, -0.99, -0.9, -0.7, -0.5, -0.3, -0.1, 0.0,
                                  0.05,      0.1,   0.2,  0.35, 0.5,  0.75, 1.0,  1.5,
                                  2.0,       3.0,   5.0,  10.0, 20.0, 50.0, 100.0};

// The flows of one day share a discount: they are added up first, so an account
// of many trades on few days costs little per rate tried. The discounts of the
// days, in day order, are the one-day factor raised to the days since the first
// flow, each from the previous by the gap between them; in extended precision,
// so that they agree with a power taken afresh for every flow to the last bits
// of a double.
class PresentValue {
public:
    PresentValue(std::span<const CashFlow> flows, QDate start)
    {
        std::vector<Day> days;
        days.reserve(flows.size());
        for (const CashFlow& flow : flows)
            days.push_back({start.daysTo(flow.date), flow.amount});
        const auto earlier = [](const Day& a, const Day& b) {
            return a.days < b.days;
        };
        if (!std::is_sorted(days.begin(), days.end(), earlier))
            std::stable_sort(days.begin(), days.end(), earlier);
        for (const Day& day : days) {
            if (!m_days.empty() && m_days.back().days == day.days)
                m_days.back().amount += day.amount;
            else
                m_days.push_back(day);
        }
    }

    double operator()(double rate) const { return sumsAt(std::array{oneDayFactor(rate)})[0]; }

    // The sums at every rate of the bracket search in one walk of the days: the
    // rates' discounts are multiplied side by side rather than one after another.
    std::array<double, bracketRates.size()> atBracketRates() const
    {
        static const auto factors = [] {
            std::array<long double, bracketRates.size()> oneDays{};
            for (std::size_t i = 0; i < bracketRates.size(); ++i)
                oneDays[i] = oneDayFactor(bracketRates[i]);
            return oneDays;
        }();
        return sumsAt(factors);
    }

private:
    struct Day {
        qint64 days = 0;
        double amount = 0;
    };

    // What one day discounts by at `rate`.
    static long double oneDayFactor(double rate)
    {
        const long double base = std::log1p(rate);
        return std::exp(-base / 365);
    }

    template <std::size_t N>
    std::array<double, N> sumsAt(const std::array<long double, N>& oneDays) const
    {
        std::array<long double, N> discounts;
        discounts.fill(1);
        std::array<double, N> sums{};
        qint64 at = 0;
        for (const Day& day : m_days) {
            const qint64 gap = day.days - at;
            at = day.days;
            for (std::size_t i = 0; i < N; ++i) {
                discounts[i] *= power(oneDays[i], gap);
                sums[i] += day.amount * double(discounts[i]);
            }
        }
        return sums;
    }

    static long double power(long double x, qint64 n)
    {
        long double result = 1;
        for (; n > 0; n >>= 1, x *= x)
            if (n & 1)
                result *= x;
        return result;
    }

    std::vector<Day> m_days;
};

// Brent's method on [a, b] where f(a) and f(b) differ in sign.
double brent(const PresentValue& f, double a, double b, double fa, double fb)
{
    if (std::abs(fa) < std::abs(fb)) {
        std::swap(a, b);
        std::swap(fa, fb);
    }
    double c = a, fc = fa, d = b - a;
    bool bisected = true;
    for (int i = 0; i < 200 && fb != 0; ++i) {
        const double tolerance = 4 * std::numeric_limits<double>::epsilon() * std::abs(b) + 1e-15;
        if (std::abs(b - a) <= tolerance)
            break;
        double s;
        if (fa != fc && fb != fc) { // inverse quadratic interpolation
            s = a * fb * fc / ((fa - fb) * (fa - fc)) + b * fa * fc / ((fb - fa) * (fb - fc)) +
                c * fa * fb / ((fc - fa) * (fc - fb));
        } else { // secant
            s = b - fb * (b - a) / (fb - fa);
        }
        const double lower = (3 * a + b) / 4;
        const bool outside = (s - lower) * (s - b) >= 0;
        if (outside || (bisected && std::abs(s - b) >= std::abs(b - c) / 2) ||
            (!bisected && std::abs(s - b) >= std::abs(c - d) / 2) ||
            (bisected && std::abs(b - c) < tolerance) ||
            (!bisected && std::abs(c - d) < tolerance)) {
            s = (a + b) / 2;
            bisected = true;
        } else {
            bisected = false;
        }
        const double fs = f(s);
        d = c;
        c = b;
        fc = fb;
        if ((fa < 0) == (fs < 0)) {
            a = s;
            fa = fs;
        } else {
            b = s;
            fb = fs;
        }
        if (std::abs(fa) < std::abs(fb)) {
            std::swap(a, b);
            std::swap(fa, fb);
        }
    }
    return b;
}

} // namespace

std::optional<double> moneyWeightedReturn(std::span<const CashFlow> flows)
{
    bool in = false, out = false;
    QDate first, last;
    for (const CashFlow& flow : flows) {
        if (!flow.date.isValid() || !std::isfinite(flow.amount))
            return std::nullopt;
        in = in || flow.amount > 0;
        out = out || flow.amount < 0;
        if (!first.isValid() || flow.date < first)
            first = flow.date;
        if (!last.isValid() || flow.date > last)
            last = flow.date;
    }
    // Without money both ways, or within a single day, no rate makes sense.
    if (!in || !out || first == last)
        return std::nullopt;

    const PresentValue value(flows, first);
    // The bracket's rates with the sums there, kept from the search.
    struct Point {
        double rate, sum;
    };
    std::optional<std::pair<Point, Point>> bracket;
    const auto sums = value.atBracketRates();
    Point previous{bracketRates[0], sums[0]};
    int changes = 0;
    for (std::size_t i = 1; i < bracketRates.size(); ++i) {
        const Point current{bracketRates[i], sums[i]};
        if (previous.sum == 0)
            return previous.rate;
        if ((previous.sum < 0) != (current.sum < 0)) {
            ++changes;
            bracket = {previous, current};
        }
        previous = current;
    }
    if (changes != 1)
        return std::nullopt;
    const auto [a, b] = *bracket;
    const double root = brent(value, a.rate, b.rate, a.sum, b.sum);
    // A root that does not bring the sum to zero relative to the flows is none.
    double scale = 0;
    for (const CashFlow& flow : flows)
        scale += std::abs(flow.amount);
    if (!(std::abs(value(root)) <= 1e-9 * scale))
        return std::nullopt;
    return root;
}

} // namespace corvanta::report
