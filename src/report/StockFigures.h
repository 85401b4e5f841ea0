#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace corvanta::report {

// One stock of the summary as the ledger holds it: its tmpdb3 row with the sums
// of its real sells and its open position.
struct StockFigures {
    qint64 rowId = 0; // the tmpdb3 row
    QString name;
    // The code the stock is priced under: the stock table's for its name, else
    // the code of its own ledger rows.
    QString code;
    qint64 bought = 0;
    // Figures of the aggregation; none where the database had no number.
    std::optional<double> buyAverage; // without fees
    std::optional<double> buyPay;     // paid, fees included
    std::optional<double> buyFee;
    qint64 soldQty = 0;    // real sells only
    double sellFee = 0;    // of real sells; 0 when nothing was sold
    double sellIncome = 0; // received from real sells; 0 when nothing was sold
    qint64 heldQty = 0;    // the open position
    // Of its 分红送配 (all zero without any): the cash before tax, the dividend tax
    // withheld at payment and on sales, and the part withheld on sales.
    double dividends = 0;
    double dividendTax = 0;
    double saleTax = 0;
};

} // namespace corvanta::report
