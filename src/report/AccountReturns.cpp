#include "AccountReturns.h"

#include "DateOrder.h"
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
    int dateKey = -1;
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

namespace {

// The rows to walk and the stocks they belong to, by name.
struct Walk {
    std::vector<Row> rows;
    std::vector<Stock> stocks;
    QHash<QString, int> index;

    int stockNamed(const QString& name)
    {
        auto known = index.constFind(name);
        if (known == index.cend()) {
            known = index.insert(name, int(stocks.size()));
            stocks.push_back({name, 0, 0, {}});
        }
        return known.value();
    }

    void addTrade(const QString& date, int key, int stock, bool sell, qint64 shares, double amount,
                  qint64 id, const EventEffects& effects)
    {
        const qint64 total = std::llround(amount * 100);
        rows.push_back(
            {date, key, stock, false, sell, shares,
             sell && !effects.saleTaxFen.isEmpty() ? total - effects.saleTaxFen.value(id) : total});
    }
};

AccountReturns walkReturns(Walk& walk, const EventEffects& effects, const QuotedValues* quoted,
                           QDate today);

} // namespace

AccountReturns accountReturns(sql::Database& db, const QuotedValues* quoted, QDate today,
                              const EventEffects* given)
{
    // Read straight into the rows to walk: the charts call this beside their own
    // series, and a copy of the ledger more would add to their peak.
    EventEffects read;
    if (!given)
        read = eventEffects(db);
    const EventEffects& effects = given ? *given : read;
    auto query = db.prepare("SELECT 日期,股票名,交易状态='卖出',ifnull(数量,0),ifnull(总金额,0),id "
                            "FROM gpjl NOT INDEXED WHERE 虚拟卖出='假' AND 交易状态 IN "
                            "('买入','卖出') ORDER BY id");
    Walk walk;
    QString date, name;
    int key = -1, stock = -1;
    while (query.step()) {
        const QString rowDate = query.text(0);
        if (rowDate != date || walk.rows.empty()) {
            date = rowDate;
            key = dateKey(QStringView(date));
        }
        const QString rowName = query.text(1);
        if (rowName != name || stock < 0) {
            name = rowName;
            stock = walk.stockNamed(name);
        }
        walk.addTrade(date, key, stock, query.int64(2) != 0, query.int64(3), query.real(4),
                      query.int64(5), effects);
    }
    return walkReturns(walk, effects, quoted, today);
}

AccountReturns accountReturns(const LedgerPass& pass, const EventEffects& effects,
                              const QuotedValues* quoted, QDate today)
{
    Walk walk;
    // Each name of the ledger is looked up once (a NULL name is the empty one).
    std::vector<int> stockOf(std::size_t(pass.names.size()), -1);
    walk.rows.reserve(pass.rows.size() + std::size_t(effects.effects.size()));
    for (const PassRow& trade : pass.rows) {
        if (!trade.realTrade)
            continue;
        int& stock = stockOf[std::size_t(trade.stock)];
        if (stock < 0)
            stock = walk.stockNamed(pass.names[trade.stock]);
        walk.addTrade(trade.date, trade.dateKey, stock, trade.kind == RowKind::RealSell,
                      trade.shares, trade.total, trade.id, effects);
    }
    return walkReturns(walk, effects, quoted, today);
}

namespace {

AccountReturns walkReturns(Walk& walk, const EventEffects& effects, const QuotedValues* quoted,
                           QDate today)
{
    std::vector<Row>& rows = walk.rows;
    std::vector<Stock>& stocks = walk.stocks;
    for (const EventEffect& effect : effects.effects) {
        const int stock = walk.stockNamed(effect.name);
        const QString date = effect.paid.toString(Qt::ISODate);
        rows.push_back({date, dateKey(QStringView(date)), stock, true, false, effect.newShares,
                        effect.cashFen - effect.taxAtPaymentFen});
    }
    // By date, and on one day an ex-date's new shares and cash before the trades.
    sortByDate(
        rows,
        [](const Row& row) { return row.dateKey < 0 ? -1 : qint64(row.dateKey) * 2 + !row.event; },
        [](const Row& a, const Row& b) {
            return !sameDate(a.dateKey, a.date, b.dateKey, b.date)
                       ? dateBefore(a.dateKey, a.date, b.dateKey, b.date)
                       : a.event && !b.event;
        });

    std::vector<CashFlow> account;
    account.reserve(rows.size() + stocks.size());
    QDate date;
    const Row* dated = nullptr; // the row `date` was read from
    for (const Row& row : rows) {
        Stock& stock = stocks[std::size_t(row.stock)];
        if (!dated || !sameDate(row.dateKey, row.date, dated->dateKey, dated->date))
            date = QDate::fromString(row.date, Qt::ISODate);
        dated = &row;
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

} // namespace

} // namespace corvanta::report
