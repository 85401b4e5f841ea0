#include "AccountSeries.h"

#include "EventEffects.h"
#include "YearlyStatement.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvanta::report {

namespace {

// 1 buy, 2 real sell, 0 open position, 3 another state (pays like a buy).
constexpr const char* seriesRows =
    "SELECT 日期,股票代码,股票名,CASE WHEN 交易状态='卖出' THEN (CASE WHEN 虚拟卖出='假' "
    "THEN 2 ELSE 0 END) WHEN 交易状态='买入' THEN 1 ELSE 3 END,数量,总金额,id FROM gpjl NOT "
    "INDEXED ORDER BY id";

enum class Kind { OpenPosition = 0, Buy = 1, RealSell = 2, Other = 3, Event = 4 };

struct Row {
    QString date;
    QString code;
    QString name;
    Kind kind = Kind::Other;
    bool event = false; // a 分红送配 on its ex-date
    qint64 shares = 0;  // bought or sold; an event's new shares
    qint64 total = 0;   // fen; an event's cash before tax
    qint64 tax = 0;     // fen: the dividend tax a sell bears, or withheld from an event's cash
};

struct Pool {
    QString name;
    qint64 shares = 0;
    qint64 cost = 0;
};

// The cost of `sold` shares out of a pool, rounded to the fen; a sell of more
// than is held takes the whole pool.
qint64 costOfSale(const Pool& pool, qint64 sold)
{
    if (pool.shares <= 0 || sold <= 0)
        return 0;
    if (sold >= pool.shares)
        return pool.cost;
    return std::llround(double(pool.cost) * double(sold) / double(pool.shares));
}

std::vector<Row> readRows(sql::Database& db, const EventEffects* given)
{
    EventEffects read;
    if (!given)
        read = eventEffects(db);
    const EventEffects& effects = given ? *given : read;
    auto query = db.prepare(seriesRows);
    std::vector<Row> rows;
    // Dates, codes and names repeat across a ledger: each distinct text is kept
    // once and shared by the rows, so memory follows the distinct texts rather
    // than the trades.
    QSet<QString> texts;
    const auto shared = [&texts](QString text) {
        return *texts.insert(std::move(text));
    };
    while (query.step()) {
        Row row;
        row.date = shared(query.text(0));
        row.code = shared(query.text(1));
        row.name = shared(query.text(2));
        const qint64 kind = query.int64(3);
        row.kind = kind >= 0 && kind <= 3 ? Kind(kind) : Kind::Other;
        row.shares = query.int64(4);
        row.total = std::llround(query.real(5) * 100);
        if (row.kind == Kind::RealSell && !effects.saleTaxFen.isEmpty())
            row.tax = effects.saleTaxFen.value(query.int64(6));
        rows.push_back(std::move(row));
    }
    if (!effects.effects.isEmpty()) {
        // Events name their stock; the pools go by code, the one its trades carry.
        QHash<QString, QString> codes;
        for (const Row& row : rows)
            codes.insert(row.name, row.code);
        for (const EventEffect& effect : effects.effects) {
            const auto code = codes.constFind(effect.name);
            if (code == codes.cend() || (effect.newShares == 0 && effect.cashFen == 0))
                continue;
            rows.push_back({shared(effect.paid.toString(Qt::ISODate)), *code, shared(effect.name),
                            Kind::Event, true, effect.newShares, effect.cashFen,
                            effect.taxAtPaymentFen});
        }
    }
    // By date, then id: the rows came by id, so a stable sort keeps that.
    std::stable_sort(rows.begin(), rows.end(), inWalkOrder<Row>);
    return rows;
}

} // namespace

QString positionTip(const OpenPosition& position)
{
    QString tip = QStringLiteral("%1（%2）：%3 股，成本 %4 元")
                      .arg(position.name, position.code)
                      .arg(position.shares)
                      .arg(yuanText(position.cost));
    if (position.quoted)
        tip += QStringLiteral("，市值 %1 元").arg(yuanText(position.value));
    return tip;
}

AccountSeries accountSeries(sql::Database& db, const QuotedValues* quoted,
                            const EventEffects* effects)
{
    const std::vector<Row> rows = readRows(db, effects);
    AccountSeries series;
    QHash<QString, Pool> pools; // by code
    QStringList order;          // codes by first appearance
    qint64 invested = 0, cash = 0, holdingCost = 0, cumulative = 0;
    // Paid first from the cash of earlier sells; only the shortfall is new money.
    const auto pay = [&invested, &cash](qint64 amount) {
        if (amount > cash) {
            invested += amount - cash;
            cash = 0;
        } else {
            cash -= amount;
        }
    };

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        switch (row.kind) {
        case Kind::Buy:
        case Kind::Other: {
            pay(row.total);
            if (row.kind == Kind::Other)
                break;
            auto pool = pools.find(row.code);
            if (pool == pools.end()) {
                pool = pools.insert(row.code, Pool{});
                order << row.code;
            }
            pool->name = row.name;
            pool->shares += row.shares;
            pool->cost += row.total;
            holdingCost += row.total;
            break;
        }
        case Kind::RealSell: {
            cash += row.total;
            Pool& pool = pools[row.code];
            if (pool.name.isEmpty())
                pool.name = row.name;
            const qint64 cost = costOfSale(pool, row.shares);
            pool.cost -= cost;
            pool.shares = std::max<qint64>(0, pool.shares - row.shares);
            holdingCost -= cost;
            pay(row.tax);
            const qint64 profit = row.total - cost - row.tax;
            cumulative += profit;
            series.profits.append({row.date, row.code, row.name, profit, cumulative});
            break;
        }
        case Kind::Event: {
            // New shares at no cost: the pool's cost per share falls.
            series.events = true;
            pools[row.code].shares += row.shares;
            cash += row.total - row.tax;
            if (row.total > 0) {
                cumulative += row.total - row.tax;
                series.profits.append({row.date, row.code, row.name, 0, cumulative, row.total});
            }
            break;
        }
        case Kind::OpenPosition:
            break;
        }
        if (i + 1 == rows.size() || rows[i + 1].date != row.date)
            series.money.append({row.date, invested, cash, holdingCost});
    }

    qint64 marketValue = 0;
    for (const QString& code : std::as_const(order)) {
        const Pool& pool = pools[code];
        if (pool.shares <= 0)
            continue;
        OpenPosition position{code, pool.name, pool.shares, pool.cost, pool.cost, false};
        if (quoted) {
            const auto value = quoted->constFind(pool.name);
            if (value != quoted->cend() && value->shares == pool.shares) {
                position.value = value->value;
                position.quoted = true;
            }
        }
        marketValue += position.value;
        series.positions.append(position);
    }
    std::stable_sort(
        series.positions.begin(), series.positions.end(),
        [](const OpenPosition& a, const OpenPosition& b) { return a.value > b.value; });
    if (quoted && !series.money.isEmpty())
        series.marketValue = marketValue;
    return series;
}

} // namespace corvanta::report
