#include "CapitalFlow.h"

#include "calc/Numbers.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QSet>

#include <cmath>

namespace corvanta::report {

namespace {

// 1 buy, 2 real sell, 0 open position (any other sell row), 3 a row of another
// state: it pays like a buy but is not counted among the buys.
constexpr const char* flowRows =
    "SELECT CASE WHEN 交易状态='卖出' THEN (CASE WHEN 虚拟卖出='假' THEN 2 ELSE 0 END) "
    "WHEN 交易状态='买入' THEN 1 ELSE 3 END,总金额,费用,股票名 FROM gpjl ORDER BY 日期,id";

qint64 fen(const sql::Statement& query, int column)
{
    return std::llround(query.real(column) * 100);
}

QString yuanText(qint64 amount)
{
    return num::general(double(amount) / 100);
}

} // namespace

std::optional<LedgerTotals> capitalFlow(sql::Database& db)
{
    auto query = db.prepare(flowRows);
    qint64 invested = 0, cash = 0, proceeds = 0;
    qint64 buyTotal = 0, buyFees = 0, sellFees = 0;
    bool anyRow = false, anyBuy = false, anySell = false;
    QSet<QString> boughtNames;
    while (query.step()) {
        anyRow = true;
        switch (query.int64(0)) {
        case 1:
        case 3: {
            const qint64 paid = fen(query, 1);
            if (paid > cash) {
                invested += paid - cash;
                cash = 0;
            } else {
                cash -= paid;
            }
            if (query.int64(0) == 3)
                break;
            anyBuy = true;
            buyTotal += paid;
            buyFees += fen(query, 2);
            boughtNames.insert(query.text(3));
            break;
        }
        case 2: {
            const qint64 received = fen(query, 1);
            cash += received;
            proceeds += received;
            anySell = true;
            sellFees += fen(query, 2);
            break;
        }
        default:
            break;
        }
    }
    if (!anyRow)
        return std::nullopt;

    LedgerTotals totals;
    totals.capitalInvested = double(invested) / 100;
    totals.cashBalance = double(cash) / 100;
    totals.sellProceeds = double(proceeds) / 100;
    if (anyBuy) {
        totals.stocksTraded = QString::number(boughtNames.size());
        totals.buyTotalText = yuanText(buyTotal);
        totals.buyFeesText = yuanText(buyFees);
    }
    if (anySell) {
        totals.sellTotalText = yuanText(proceeds);
        totals.sellFeesText = yuanText(sellFees);
    }
    return totals;
}

} // namespace corvanta::report
