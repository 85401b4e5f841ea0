#include "TradeDetail.h"

#include "calc/Numbers.h"
#include "ledger/MonitorList.h"
#include "ledger/StockHoldings.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

std::array<QString, TradeDetailColumnCount> tradeDetailTitles()
{
    return {u"日期"_s, u"股票名"_s, u"交易状态"_s, u"数量"_s, u"价格"_s,
            u"费用"_s, u"总金额"_s, u"股票代码"_s, u"编号"_s};
}

QString dividendTaxTitle()
{
    return u"红利税"_s;
}

QList<TradeDetailRow> tradeDetailRows(sql::Database& db, const QString& name)
{
    // Only a stock with actions carries dividend tax.
    QHash<qint64, qint64> taxFen;
    if (ledger::hasEvents(db, name)) {
        for (const calc::SaleOutcome& sale : ledger::stockHistory(db, name).sales) {
            if (sale.taxFen > 0)
                taxFen.insert(sale.id, sale.taxFen);
        }
    }
    auto query =
        db.prepare("SELECT 日期,股票名,交易状态,数量,价格,费用,总金额,股票代码,id FROM gpjl "
                   "WHERE 股票名=?1 AND 虚拟卖出='假' ORDER BY id,日期,交易状态");
    query.bind(1, name);
    QList<TradeDetailRow> rows;
    while (query.step()) {
        TradeDetailRow row;
        for (int column : {DetailDateColumn, DetailNameColumn, DetailStateColumn, DetailCodeColumn})
            row.cells[std::size_t(column)] = query.text(column);
        for (int column : {DetailQuantityColumn, DetailPriceColumn, DetailFeesColumn,
                           DetailTotalColumn, DetailNumberColumn}) {
            if (!query.isNull(column))
                row.cells[std::size_t(column)] = num::general(query.real(column));
        }
        row.sell = row.cells[DetailStateColumn] == u"卖出"_s;
        if (const auto tax = taxFen.constFind(query.int64(DetailNumberColumn));
            tax != taxFen.cend())
            row.dividendTax = num::fixed(double(*tax) / 100, 2, true);
        rows.append(std::move(row));
    }
    return rows;
}

std::array<QString, TradeDetailColumnCount> monitoredStockTitles()
{
    return {u"股票名"_s, u"买入总数"_s, u"买入平均价"_s, u"买入费用合计"_s, u"买入金额合计"_s};
}

QList<TradeDetailRow> monitoredStockRows(const QList<ledger::MonitoredStock>& stocks)
{
    const auto general = [](const std::optional<double>& value) {
        return value ? num::general(*value) : QString();
    };
    QList<TradeDetailRow> rows;
    for (const ledger::MonitoredStock& stock : stocks) {
        TradeDetailRow row;
        row.cells[0] = stock.name;
        row.cells[1] = QString::number(stock.boughtQty);
        row.cells[2] = general(stock.averagePrice);
        row.cells[3] = general(stock.buyFees);
        row.cells[4] = general(stock.buyTotal);
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace corvanta::report
