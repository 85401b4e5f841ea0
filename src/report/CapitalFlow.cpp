#include "CapitalFlow.h"

#include "ledger/StockHoldings.h"

#include "calc/Numbers.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvanta::report {

namespace {

enum class Kind { Buy, RealSell, OpenPosition, Other, Dividend };

// 1 buy, 2 real sell, 0 open position (any other sell row), 3 a row of another
// state: it pays like a buy but is not counted among the buys. The rows come in
// storage order and are put in date order here: sorting in SQL would spill the
// whole ledger to a temporary file first.
constexpr const char* flowRows =
    "SELECT 日期,CASE WHEN 交易状态='卖出' THEN (CASE WHEN 虚拟卖出='假' THEN 2 ELSE 0 END) "
    "WHEN 交易状态='买入' THEN 1 ELSE 3 END,总金额,费用 FROM gpjl NOT INDEXED ORDER BY id";
// The same with what a stock's events are played with, read only when there are events.
constexpr const char* flowRowsWithTrades =
    "SELECT 日期,CASE WHEN 交易状态='卖出' THEN (CASE WHEN 虚拟卖出='假' THEN 2 ELSE 0 END) "
    "WHEN 交易状态='买入' THEN 1 ELSE 3 END,总金额,费用,股票名,ID,ifnull(数量,0) "
    "FROM gpjl NOT INDEXED ORDER BY id";

struct FlowRow {
    QString date;
    qint64 total = 0; // fen
    Kind kind = Kind::Other;
};

Kind kindOf(qint64 code)
{
    switch (code) {
    case 1:
        return Kind::Buy;
    case 2:
        return Kind::RealSell;
    case 0:
        return Kind::OpenPosition;
    }
    return Kind::Other;
}

qint64 fen(const sql::Statement& query, int column)
{
    return std::llround(query.real(column) * 100);
}

QString yuanText(qint64 amount)
{
    return num::general(double(amount) / 100);
}

} // namespace

std::optional<LedgerTotals> capitalFlow(sql::Database& db,
                                        QHash<QString, calc::StockHistory>* playedHistories)
{
    // The stocks with events get their trades collected on the one walk through
    // the ledger, and are played through before the money is counted.
    QHash<QString, QList<calc::StockEvent>> events;
    for (const auto& [name, stored] : ledger::allStockEvents(db).asKeyValueRange()) {
        for (const ledger::StoredEvent& event : stored)
            events[name].append(event.terms);
    }
    const bool withEvents = !events.isEmpty();
    QHash<QString, qsizetype> tradeList; // name → index into trades
    QList<QList<calc::StockTrade>> trades;
    QString lastName;
    qsizetype lastList = -1;

    auto query = db.prepare(withEvents ? flowRowsWithTrades : flowRows);
    std::vector<FlowRow> rows;
    qint64 buyTotal = 0, buyFees = 0, sellTotal = 0, sellFees = 0;
    bool anyBuy = false, anySell = false;
    QString previousDate;
    while (query.step()) {
        FlowRow row;
        row.date = query.text(0);
        if (row.date == previousDate)
            row.date = previousDate; // share the text of a run of one date
        previousDate = row.date;
        row.kind = kindOf(query.int64(1));
        row.total = fen(query, 2);
        if (row.kind == Kind::Buy) {
            anyBuy = true;
            buyTotal += row.total;
            buyFees += fen(query, 3);
        } else if (row.kind == Kind::RealSell) {
            anySell = true;
            sellTotal += row.total;
            sellFees += fen(query, 3);
        }
        if (withEvents && (row.kind == Kind::Buy || row.kind == Kind::RealSell)) {
            // A stock's trades mostly follow one another: one lookup a run.
            const QString name = query.text(4);
            if (name != lastName || lastList < 0) {
                lastName = name;
                lastList = -1;
                if (events.contains(name)) {
                    lastList = tradeList.value(name, trades.size());
                    if (lastList == trades.size()) {
                        tradeList.insert(name, lastList);
                        trades.append(QList<calc::StockTrade>{});
                    }
                }
            }
            if (lastList >= 0)
                trades[lastList].append({query.int64(5), ledger::ledgerDate(row.date),
                                         row.kind == Kind::Buy, query.int64(6), query.real(2)});
        }
        rows.push_back(std::move(row));
    }
    if (rows.empty())
        return std::nullopt;
    QHash<QString, calc::StockHistory> histories;
    for (const auto& [name, terms] : events.asKeyValueRange()) {
        const qsizetype list = tradeList.value(name, -1);
        histories.insert(name, calc::playStockHistory(
                                   list >= 0 ? trades[list] : QList<calc::StockTrade>{}, terms));
    }
    // Dividends come in; the tax withheld from a sale goes out after it, as a payment.
    qint64 dividends = 0, dividendTax = 0;
    for (const calc::StockHistory& history : histories) {
        for (const calc::EventOutcome& event : history.events) {
            dividends += event.cashFen;
            dividendTax += event.taxAtPaymentFen;
            if (event.cashFen > 0)
                rows.push_back({event.paid.toString(Qt::ISODate),
                                event.cashFen - event.taxAtPaymentFen, Kind::Dividend});
        }
        for (const calc::SaleOutcome& sale : history.sales) {
            dividendTax += sale.taxFen;
            if (sale.taxFen > 0)
                rows.push_back({sale.date.toString(Qt::ISODate), sale.taxFen, Kind::Other});
        }
    }

    // By date, then id: the rows came by id, so a stable sort by date keeps that.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const FlowRow& a, const FlowRow& b) { return a.date < b.date; });
    qint64 invested = 0, cash = 0;
    for (const FlowRow& row : rows) {
        switch (row.kind) {
        case Kind::Buy:
        case Kind::Other:
            // Paid first from the cash of earlier sells; only the shortfall is new money.
            if (row.total > cash) {
                invested += row.total - cash;
                cash = 0;
            } else {
                cash -= row.total;
            }
            break;
        case Kind::RealSell:
        case Kind::Dividend:
            cash += row.total;
            break;
        case Kind::OpenPosition:
            break;
        }
    }

    LedgerTotals totals;
    totals.capitalInvested = double(invested) / 100;
    totals.cashBalance = double(cash) / 100;
    totals.sellProceeds = double(sellTotal) / 100;
    totals.hasEvents = !histories.isEmpty();
    totals.dividends = double(dividends) / 100;
    totals.dividendTax = double(dividendTax) / 100;
    if (playedHistories)
        *playedHistories = std::move(histories);
    if (anyBuy) {
        totals.buyTotalText = yuanText(buyTotal);
        totals.buyFeesText = yuanText(buyFees);
    }
    if (anySell) {
        totals.sellTotalText = yuanText(sellTotal);
        totals.sellFeesText = yuanText(sellFees);
    }
    return totals;
}

} // namespace corvanta::report
