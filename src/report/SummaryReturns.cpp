#include "SummaryReturns.h"

#include "SummaryTexts.h"

#include "calc/Numbers.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::report {

QString returnText(std::optional<double> rate)
{
    if (!rate)
        return texts::noReturn.toString();
    return num::totals(*rate * 100) + u"%"_s;
}

void addReturns(Summary& summary, const AccountReturns& returns)
{
    const auto held = [](const StockReturn& stock) {
        return stock.held;
    };
    const auto atMarket = [](const StockReturn& stock) {
        return stock.heldAtMarket;
    };
    const bool anyHeld = std::any_of(returns.stocks.begin(), returns.stocks.end(), held);
    const bool anyAtMarket = std::any_of(returns.stocks.begin(), returns.stocks.end(), atMarket);
    bool someAtCost = false;

    QHash<QString, const StockReturn*> byName;
    for (const StockReturn& stock : returns.stocks)
        byName.insert(stock.name, &stock);
    for (SummaryRow& row : summary.stocks) {
        const StockReturn* stock = byName.value(row.cells[NameColumn]);
        if (!stock)
            continue; // no trade to weigh: the cell stays empty
        QString text = returnText(stock->rate);
        if (anyAtMarket && stock->held && !stock->heldAtMarket) {
            text += texts::returnAtCostMark;
            someAtCost = true;
        }
        row.cells[ReturnColumn] = text;
    }
    QString total = returnText(returns.account);
    if (someAtCost)
        total += texts::returnPartlyAtCostMark;
    summary.totalsRow.cells[ReturnColumn] = total;
    summary.titles[ReturnColumn] = (anyAtMarket ? texts::returnTitleAtMarket
                                    : anyHeld   ? texts::returnTitleAtCost
                                                : texts::returnTitle)
                                       .toString();
}

} // namespace corvanta::report
