#include "MonitorFigures.h"

#include "calc/GbkLength.h"
#include "calc/Numbers.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

double cents(double value)
{
    return num::roundHalfAway(value, 2);
}

} // namespace

MonitorCells monitorColumnTitles()
{
    return {u"股票名称"_s, u"买入"_s,     u"买均价"_s,   u"已卖"_s,     u"卖均价"_s,
            u"未卖"_s,     u"时价"_s,     u"未卖市值"_s, u"盈亏金额"_s, u"卖出收入"_s,
            u"买入支付"_s, u"费用合计"_s, u"卖出费用"_s, u"买入费用"_s};
}

MonitorWidths monitorBaseWidths()
{
    return {60, 60, 40, 60, 40, 60, 40, 90, 90, 90, 90, 90, 90, 90};
}

MonitorSums& MonitorSums::operator+=(const MonitorSums& o)
{
    marketValue += o.marketValue;
    profit += o.profit;
    income += o.income;
    outlay += o.outlay;
    fees += o.fees;
    sellFees += o.sellFees;
    buyFees += o.buyFees;
    return *this;
}

MonitorStockRow computeMonitorStock(const MonitorStock& s, const QString& priceText,
                                    const FeeSnapshot& fees, MonitorPass pass)
{
    MonitorStockRow out;
    const QString shownPrice = priceText == u"-"_s ? u"0"_s : priceText;
    const double price = num::parseNumber(shownPrice).value_or(0);
    const double buyPay = s.buyPay.value_or(0);
    const double buyFee = s.buyFee.value_or(0);

    // The unsold shares sold now at the price, net of their selling fees; the
    // texts are rounded to the cent and re-read, as the grid shows them.
    double virtualFee = 0, virtualIncome = 0;
    if (s.heldQty >= 1) {
        const double shares = double(s.heldQty);
        const double fee = sellFeesByCode(fees, s.code, shares, price).value_or(0);
        virtualFee = cents(fee);
        virtualIncome = cents(price * shares - fee);
    }
    const double profit = cents(virtualIncome + s.sellIncome - buyPay);
    const bool valued = s.heldQty >= 1 && price > 0;
    const QString marketValue =
        valued ? num::money(price * double(s.heldQty) - virtualFee) : u"0"_s;

    auto& c = out.cells;
    c[MonitorName] = s.name;
    c[MonitorBought] = QString::number(s.bought);
    c[MonitorBuyAverage] = num::money(s.buyAverage.value_or(0));
    c[MonitorSold] = QString::number(s.soldQty);
    c[MonitorHeld] = QString::number(s.heldQty);
    c[MonitorPrice] = shownPrice;
    c[MonitorMarketValue] = marketValue;
    c[MonitorProfit] = num::money(profit);
    c[MonitorIncome] = num::money(virtualIncome + s.sellIncome);
    c[MonitorFees] = num::money(virtualFee + buyFee + s.sellFee);
    c[MonitorSellFees] = num::money(virtualFee + s.sellFee);

    out.price = price;
    out.sellAverage = s.soldQty >= 1 ? (s.sellIncome + s.sellFee) / double(s.soldQty) : 0;
    if (pass == MonitorPass::Initial) {
        c[MonitorSellAverage] = num::money(out.sellAverage);
        c[MonitorOutlay] = s.buyPay ? num::general(*s.buyPay) : QString();
        c[MonitorBuyFees] = s.buyFee ? num::general(*s.buyFee) : QString();
        if (s.buyFee)
            out.feeTotal = cents(cents(s.sellFee) + *s.buyFee);
        if (s.buyPay)
            out.storedProfit = cents(s.sellIncome - *s.buyPay);
    }

    out.sums = {num::parseNumber(marketValue).value_or(0),
                profit,
                virtualIncome + s.sellIncome,
                buyPay,
                virtualFee + buyFee + s.sellFee,
                virtualFee + s.sellFee,
                buyFee};
    return out;
}

MonitorCells monitorTotalsRow(const MonitorSums& sums)
{
    MonitorCells row;
    row[MonitorName] = u"合　　计"_s;
    row[MonitorMarketValue] = num::totals(sums.marketValue);
    row[MonitorProfit] = num::totals(sums.profit);
    row[MonitorIncome] = num::totals(sums.income);
    row[MonitorOutlay] = num::totals(sums.outlay);
    row[MonitorFees] = num::totals(sums.fees);
    row[MonitorSellFees] = num::totals(sums.sellFees);
    row[MonitorBuyFees] = num::totals(sums.buyFees);
    return row;
}

void foldTextWidths(MonitorWidths& textWidths, const MonitorCells& row, int firstColumn)
{
    for (int column = firstColumn; column < MonitorColumnCount; ++column)
        textWidths[column] = std::max(textWidths[column], gbkByteCount(row[column]));
}

MonitorWidths monitorColumnWidths(const MonitorWidths& textWidths, int extraWidth,
                                  int pixelsPerByte)
{
    MonitorWidths widths;
    for (int column = 0; column < MonitorColumnCount; ++column)
        widths[column] = textWidths[column] * pixelsPerByte + extraWidth + 6;
    return widths;
}

MonitorWidths monitorInitialWidths(int extraWidth)
{
    MonitorWidths widths = monitorBaseWidths();
    for (int& width : widths)
        width += extraWidth;
    return widths;
}

QString padLeft(const QString& text, int bytes)
{
    const int missing = bytes - gbkByteCount(text);
    return missing > 0 ? QString(missing, u' ') + text : text;
}

QString stockTickerLine(const MonitorCells& row)
{
    return padLeft(row[MonitorName], 10) + u"　时价："_s + padLeft(row[MonitorPrice], 6) + u"元"_s +
           u"　盈亏："_s + padLeft(row[MonitorProfit], 12) + u"元"_s;
}

QString headTickerLine(const QString& name, const QString& price, const QString& change)
{
    return padLeft(name, 10) + u"　时价："_s + padLeft(price, 6) + u"元　涨幅:"_s +
           padLeft(change, 7);
}

} // namespace corvanta::report
