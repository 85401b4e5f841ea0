#include "AccountReturns.h"

#include "EventEffects.h"
#include "MoneyWeightedReturn.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvanta::report {

namespace {

struct Row {
    QString date;
    int stock = 0;
    bool event = false; // a 分红送配 on its ex-date
    bool sell = false;
    qint64 shares = 0;
    qint64 total = 0; // fen: paid for a buy, received for a sell after its 红利税, the
                      // dividend after the tax withheld at payment
};

struct Stock {
    QString name;
    qint64 shares = 0;
    qint64 cost = 0;
    std::vector<CashFlow> flows;
};

} // namespace

AccountReturns accountReturns(sql::Database& db, const QuotedValues* quoted, QDate today)
{
    const EventEffects effects = eventEffects(db);
    return accountReturns(readLedgerPass(db), effects, quoted, today);
}

AccountReturns accountReturns(const LedgerPass& pass, const EventEffects& effects,
                              const QuotedValues* quoted, QDate today)
{
    std::vector<Row> rows;
    std::vector<Stock> stocks;
    QHash<QString, int> index;
    for (const PassRow& trade : pass.rows) {
        if (!trade.realTrade)
            continue;
        const QString& name = pass.names[trade.stock];
        auto known = index.constFind(name);
        if (known == index.cend()) {
            known = index.insert(name, int(stocks.size()));
            stocks.push_back({name, 0, 0, {}});
        }
        const bool sell = trade.kind == RowKind::RealSell;
        const qint64 total = std::llround(trade.total * 100);
        rows.push_back({trade.date, known.value(), false, sell, trade.shares,
                        sell ? total - effects.saleTaxFen.value(trade.id) : total});
    }
    for (const EventEffect& effect : effects.effects) {
        auto known = index.constFind(effect.name);
        if (known == index.cend()) {
            known = index.insert(effect.name, int(stocks.size()));
            stocks.push_back({effect.name, 0, 0, {}});
        }
        rows.push_back({effect.paid.toString(Qt::ISODate), known.value(), true, false,
                        effect.newShares, effect.cashFen - effect.taxAtPaymentFen});
    }
    std::stable_sort(rows.begin(), rows.end(), inWalkOrder<Row>);

    std::vector<CashFlow> account;
    for (const Row& row : rows) {
        Stock& stock = stocks[std::size_t(row.stock)];
        const QDate date = QDate::fromString(row.date, Qt::ISODate);
        const double amount = double(row.total) / 100;
        if (row.event) {
            stock.shares += row.shares;
            if (row.total != 0) {
                const CashFlow dividend{date, amount};
                stock.flows.push_back(dividend);
                account.push_back(dividend);
            }
            continue;
        }
        if (row.sell) {
            const qint64 cost =
                row.shares >= stock.shares || stock.shares <= 0
                    ? stock.cost
                    : std::llround(double(stock.cost) * double(row.shares) / double(stock.shares));
            stock.cost -= cost;
            stock.shares = std::max<qint64>(0, stock.shares - row.shares);
        } else {
            stock.cost += row.total;
            stock.shares += row.shares;
        }
        const CashFlow flow{date, row.sell ? amount : -amount};
        stock.flows.push_back(flow);
        account.push_back(flow);
    }

    AccountReturns out;
    for (Stock& stock : stocks) {
        StockReturn result{stock.name, std::nullopt, stock.shares > 0, false};
        if (result.held) {
            qint64 value = stock.cost;
            if (quoted) {
                const auto holding = quoted->constFind(stock.name);
                if (holding != quoted->cend() && holding->shares == stock.shares) {
                    value = holding->value;
                    result.heldAtMarket = true;
                    out.marketValue = true;
                }
            }
            const CashFlow held{today, double(value) / 100};
            stock.flows.push_back(held);
            account.push_back(held);
        }
        result.rate = moneyWeightedReturn(stock.flows);
        out.stocks.append(std::move(result));
    }
    out.account = moneyWeightedReturn(account);
    return out;
}

} // namespace corvanta::report
