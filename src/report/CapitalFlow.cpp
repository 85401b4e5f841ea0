#include "CapitalFlow.h"

#include "DateOrder.h"
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

struct FlowRow {
    QString date;
    int dateKey = -1;
    qint64 total = 0; // fen
    Kind kind = Kind::Other;
};

FlowRow flowRow(const QString& date, qint64 total, Kind kind)
{
    return {date, dateKey(date), total, kind};
}

Kind kindOf(RowKind kind)
{
    switch (kind) {
    case RowKind::Buy:
        return Kind::Buy;
    case RowKind::RealSell:
        return Kind::RealSell;
    case RowKind::OpenPosition:
        return Kind::OpenPosition;
    case RowKind::Other:
        break;
    }
    return Kind::Other;
}

qint64 fen(double amount)
{
    return std::llround(amount * 100);
}

QString yuanText(qint64 amount)
{
    return num::general(double(amount) / 100);
}

} // namespace

std::optional<LedgerTotals> capitalFlow(sql::Database& db,
                                        QHash<QString, calc::StockHistory>* playedHistories)
{
    return capitalFlow(db, readLedgerPass(db), playedHistories);
}

std::optional<LedgerTotals> capitalFlow(sql::Database& db, const LedgerPass& pass,
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

    std::vector<FlowRow> rows;
    rows.reserve(pass.rows.size());
    qint64 buyTotal = 0, buyFees = 0, sellTotal = 0, sellFees = 0;
    bool anyBuy = false, anySell = false;
    for (const PassRow& passRow : pass.rows) {
        FlowRow row{passRow.date, passRow.dateKey, fen(passRow.total), kindOf(passRow.kind)};
        if (row.kind == Kind::Buy) {
            anyBuy = true;
            buyTotal += row.total;
            buyFees += fen(passRow.fees);
        } else if (row.kind == Kind::RealSell) {
            anySell = true;
            sellTotal += row.total;
            sellFees += fen(passRow.fees);
        }
        if (withEvents && (row.kind == Kind::Buy || row.kind == Kind::RealSell)) {
            // A stock's trades mostly follow one another: one lookup a run.
            const QString& name = pass.names[passRow.stock];
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
                trades[lastList].append({passRow.id, ledger::ledgerDate(row.date),
                                         row.kind == Kind::Buy, passRow.shares, passRow.total});
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
                rows.push_back(flowRow(event.paid.toString(Qt::ISODate),
                                       event.cashFen - event.taxAtPaymentFen, Kind::Dividend));
        }
        for (const calc::SaleOutcome& sale : history.sales) {
            dividendTax += sale.taxFen;
            if (sale.taxFen > 0)
                rows.push_back(flowRow(sale.date.toString(Qt::ISODate), sale.taxFen, Kind::Other));
        }
    }

    // By date, then id: the rows came by id, so a stable sort by date keeps that.
    sortByDate(
        rows, [](const FlowRow& row) { return qint64(row.dateKey); },
        [](const FlowRow& a, const FlowRow& b) {
            return dateBefore(a.dateKey, a.date, b.dateKey, b.date);
        });
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
