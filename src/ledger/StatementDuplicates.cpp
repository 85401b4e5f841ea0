#include "StatementDuplicates.h"

#include "sql/Database.h"
#include "sql/Statement.h"

#include <QHash>

namespace corvanta::ledger {

namespace {

// Prices are compared as the ledger stores them, through their shortest exact text.
QString tradeKey(const QString& date, const QString& code, const QString& operation, qint64 shares,
                 double price)
{
    return date + u'\t' + code + u'\t' + operation + u'\t' + QString::number(shares) + u'\t' +
           QString::number(price, 'g', 17);
}

} // namespace

QList<int> duplicateLines(sql::Database& db, const QList<StatementTrade>& trades)
{
    QHash<QString, int> recorded;
    auto query =
        db.prepare("SELECT 日期,股票代码,交易状态,数量,价格 FROM gpjl WHERE 虚拟卖出='假'");
    while (query.step())
        ++recorded[tradeKey(query.text(0), query.text(1), query.text(2), query.int64(3),
                            query.real(4))];

    QList<int> lines;
    for (const StatementTrade& trade : trades) {
        const auto found = recorded.find(
            tradeKey(trade.date, trade.code, trade.operation, trade.shares, trade.price));
        if (found == recorded.end() || found.value() == 0)
            continue;
        --found.value();
        lines.append(trade.line);
    }
    return lines;
}

} // namespace corvanta::ledger
