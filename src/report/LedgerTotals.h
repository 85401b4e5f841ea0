#pragma once

#include <QString>

namespace corvanta::report {

// The ledger-wide totals of the last summary, read by the totals report.
struct LedgerTotals {
    double capitalInvested = 0; // new money put in: buys not covered by earlier sells
    double cashBalance = 0;     // what should be left in the brokerage account
    double sellProceeds = 0;    // received from real sells
    int heldCount = 0;          // stocks of the summary with unsold shares
    // 分红送配: whether the ledger has any, the cash they paid before tax and the
    // dividend tax withheld (both in the cash balance).
    bool hasEvents = false;
    double dividends = 0;
    double dividendTax = 0;
    // Texts in shortest general form; empty when there is nothing to count.
    QString stocksTraded; // distinct stock names with a buy
    QString buyTotalText;
    QString buyFeesText;
    QString sellTotalText;
    QString sellFeesText;
};

} // namespace corvanta::report
