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

AccountReturns accountReturns(sql::Database& db, const QuotedValues* quoted, QDate today,
                              const EventEffects* given)
{
    EventEffects read;
    if (!given)
        read = eventEffects(db);
    const EventEffects& effects = given ? *given : read;
    auto query = db.prepare("SELECT 日期,股票名,交易状态='卖出',ifnull(数量,0),ifnull(总金额,0),id "
                            "FROM gpjl NOT INDEXED WHERE 虚拟卖出='假' AND 交易状态 IN "
                            "('买入','卖出') ORDER BY id");
    std::vector<Row> rows;
    std::vector<Stock> stocks;
    QHash<QString, int> index;
    while (query.step()) {
        const QString name = query.text(1);
        auto known = index.constFind(name);
        if (known == index.cend()) {
            known = index.insert(name, int(stocks.size()));
            stocks.push_back({name, 0, 0, {}});
        }
        const bool sell = query.int64(2) != 0;
        const qint64 total = std::llround(query.real(4) * 100);
        rows.push_back({query.text(0), known.value(), false, sell, query.int64(3),
                        sell ? total - effects.saleTaxFen.value(query.int64(5)) : total});
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
