#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// One calendar year of the account (or the whole ledger), every amount in fen.
// Real trades only: the open-position rows move no money.
struct YearFigures {
    int year = 0;              // 0 on the total row
    qint64 paidForBuys = 0;    // 总金额 of the buys: money put in
    qint64 sellProceeds = 0;   // 总金额 of the real sells: money taken out
    qint64 realisedProfit = 0; // each sell's proceeds less the average cost of its shares
    qint64 commission = 0;
    qint64 stampDuty = 0;
    qint64 transferFee = 0; // 过户费等 less the other fee
    qint64 otherFees = 0;   // the rest of 费用: other fees and anything not split out
    int trades = 0;
    qint64 heldAtCost = 0;  // the shares held at the year's end at their average cost
    qint64 dividends = 0;   // 分红派息 before tax, on the ex-dates of the year
    qint64 dividendTax = 0; // 红利税 withheld at payment or from the year's sales

    qint64 fees() const { return commission + stampDuty + transferFee + otherFees; }
};

struct YearlyStatement {
    QList<YearFigures> years; // in order, only the years with a trade
    YearFigures total;        // sums; heldAtCost is that of the last year's end
};

// Walks the real trades of each stock (grouped by name, as the summary does) by
// date and id. A sell takes its shares' part of the stock's cost at the average
// cost, rounded to the fen; the rest stays with the shares still held. So the sum
// of the realised profits less the cost still held equals the sells less the
// buys, to the fen.
YearlyStatement yearlyStatement(sql::Database& db);

// The table as the window and the csv show it: titles, a row per year, the total
// row last; amounts in yuan with two decimals.
QStringList yearlyStatementTitles();
QList<QStringList> yearlyStatementRows(const YearlyStatement& statement);
QString yuanText(qint64 fen);

} // namespace corvanta::report
