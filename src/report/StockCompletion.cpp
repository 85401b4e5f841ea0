#include "StockCompletion.h"

#include "calc/Numbers.h"
#include "calc/PlaceholderStock.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

// The width of a quote record's price field; characters beyond it are dropped.
constexpr qsizetype priceWidth = 15;

double cents(double value)
{
    return num::roundHalfAway(value, 2);
}

// Columns 0 to 2, 7 and 9 to 14 in their order, then the stock's part of the
// totals: the first value missing leaves the rest of them out.
struct RowValues {
    const StockFigures& stock;
    double price;
    std::optional<double> profit;
    std::optional<double> virtualFee;
    std::optional<double> virtualIncome;
    std::optional<double> marketValue;
    double storedSellIncome;
};

std::optional<StockContribution> fillRow(SummaryRow& row, const RowValues& v)
{
    auto& cells = row.cells;
    const StockFigures& s = v.stock;
    cells[NameColumn] = s.name;
    cells[BoughtColumn] = QString::number(s.bought);
    if (!s.buyAverage)
        return std::nullopt;
    cells[BuyAverageColumn] = num::money(*s.buyAverage);
    cells[PriceColumn] = num::general(v.price);
    if (!v.profit || !s.buyPay)
        return std::nullopt;
    // A ratio of nothing paid has no value: the cell stays empty.
    if (*s.buyPay != 0)
        cells[ProfitRatioColumn] = num::totals(*v.profit * 100 / *s.buyPay) + u"%"_s;
    if (!v.virtualIncome)
        return std::nullopt;
    cells[IncomeColumn] = num::money(*v.virtualIncome + s.sellIncome);
    cells[OutlayColumn] = num::general(*s.buyPay);
    if (!s.buyFee || !v.virtualFee)
        return std::nullopt;
    // The dividend tax withheld from sales is a selling fee.
    cells[FeesColumn] = num::money(*v.virtualFee + *s.buyFee + s.sellFee + s.saleTax);
    cells[SellFeesColumn] = num::money(*v.virtualFee + s.sellFee + s.saleTax);
    cells[BuyFeesColumn] = num::general(*s.buyFee);
    if (!v.marketValue)
        return std::nullopt;
    return StockContribution{*v.marketValue,
                             *v.profit,
                             v.storedSellIncome + *v.virtualIncome,
                             *s.buyPay,
                             *s.buyFee + *v.virtualFee + s.sellFee + s.saleTax,
                             *v.virtualFee + s.sellFee + s.saleTax,
                             *s.buyFee};
}

} // namespace

QHash<QString, QString> pricesFromLines(const QStringList& lines)
{
    QHash<QString, QString> prices;
    prices.reserve(lines.size());
    for (const QString& line : lines) {
        const qsizetype comma = line.indexOf(u',');
        if (comma <= 0)
            continue; // no code: matches nothing
        QStringView price;
        int field = 0;
        for (const QStringView part : QStringView(line).tokenize(u',')) {
            if (field++ == 3) {
                price = part.left(priceWidth);
                break;
            }
        }
        const QString code = line.left(comma);
        prices.insert(code, price.trimmed().isEmpty() ? u"-"_s : price.toString());
    }
    return prices;
}

double quotedPrice(const QuotedPricing& pricing, const QString& code)
{
    if (code == placeholderCode)
        return 0;
    const auto found = pricing.prices.constFind(code);
    if (found == pricing.prices.constEnd() || *found == u"-"_s)
        return 0;
    return num::parseNumber(*found).value_or(0);
}

CompletedStock completeStock(const StockFigures& s, const QuotedPricing* pricing)
{
    CompletedStock out;
    auto& cells = out.row.cells;
    out.held = s.heldQty > 0;
    const double price = pricing ? quotedPrice(*pricing, s.code) : 0;

    // The unsold shares sold now at the current price, net of the selling fees.
    std::optional<double> virtualFee = 0, virtualIncome = 0;
    if (pricing && out.held) {
        const double shares = double(s.heldQty);
        const auto fee = sellFeesByCode(pricing->fees, s.code, shares, price);
        virtualFee = fee ? std::optional(cents(*fee)) : std::nullopt;
        virtualIncome = fee ? std::optional(cents(price * shares - *fee)) : std::nullopt;
    }

    const bool sold = s.soldQty > 0;
    StoredFigures& stored = out.stored;
    stored.rowId = s.rowId;
    stored.soldQty = s.soldQty;
    stored.sellAverage = sold ? (s.sellIncome + s.sellFee) / double(s.soldQty) : 0;
    stored.heldQty = s.heldQty;
    stored.price = price;
    stored.sellIncome = sold ? cents(s.sellIncome) : 0;
    stored.sellFee = sold ? cents(s.sellFee) : 0;
    if (s.buyFee && s.buyPay) {
        stored.feeTotal = cents(stored.sellFee + *s.buyFee);
        stored.profit = cents(s.sellIncome - *s.buyPay);
    }

    cells[SoldColumn] = QString::number(s.soldQty);
    cells[SellAverageColumn] = num::money(stored.sellAverage);
    cells[HeldColumn] = QString::number(s.heldQty);

    std::optional<double> profit;
    if (virtualIncome && s.buyPay)
        profit = *virtualIncome + s.sellIncome - *s.buyPay + s.dividends - s.dividendTax;
    if (profit) {
        cells[ProfitColumn] = num::money(*profit);
        out.row.tone = cents(*profit) >= 0 ? RowTone::Profit : RowTone::Loss;
    }

    std::optional<double> marketValue;
    if (out.held && price > 0) {
        if (virtualFee) {
            marketValue = cents(double(s.heldQty) * price - *virtualFee);
            cells[MarketValueColumn] = num::money(*marketValue);
        }
    } else {
        marketValue = 0;
        cells[MarketValueColumn] = u"0"_s;
    }

    out.contribution = fillRow(
        out.row, {s, price, profit, virtualFee, virtualIncome, marketValue, stored.sellIncome});
    return out;
}

} // namespace corvanta::report
