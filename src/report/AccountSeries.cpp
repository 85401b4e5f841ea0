#include "AccountSeries.h"

#include "EventEffects.h"
#include "YearlyStatement.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace corvanta::report {

namespace {

// 1 buy, 2 real sell, 0 open position, 3 another state (pays like a buy). The
// trades of one value of 虚拟卖出 by date and id, as the index gpjl_grid_by_date
// (虚拟卖出,日期) and the row's id give them: no sort, nothing held per trade.
constexpr const char* seriesRows =
    "SELECT 日期,股票代码,股票名,CASE WHEN 交易状态='卖出' THEN (CASE WHEN 虚拟卖出='假' "
    "THEN 2 ELSE 0 END) WHEN 交易状态='买入' THEN 1 ELSE 3 END,数量,总金额,id FROM gpjl "
    "WHERE 虚拟卖出 IS ? ORDER BY 日期,id";

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

// The ledger's trades and events in walk order (by date, a date's events before
// its trades, trades by id), read as they are walked: one ordered read per value
// of 虚拟卖出, merged, so memory does not grow with the trades.
class WalkRows {
public:
    WalkRows(sql::Database& db, const EventEffects& effects) : m_effects(effects)
    {
        auto marks = db.prepare("SELECT DISTINCT 虚拟卖出 FROM gpjl");
        while (marks.step()) {
            Stream stream{db.prepare(seriesRows), {}, 0, false};
            if (marks.isNull(0))
                stream.query.bindNull(1);
            else
                stream.query.bind(1, marks.text(0));
            m_streams.push_back(std::move(stream));
        }
        for (Stream& stream : m_streams)
            advance(stream);
        readEvents(db);
    }

    // The next row in walk order; false after the last.
    bool next(Row& row)
    {
        Stream* first = nullptr;
        for (Stream& stream : m_streams) {
            if (stream.held && (!first || stream.row.date < first->row.date ||
                                (stream.row.date == first->row.date && stream.id < first->id)))
                first = &stream;
        }
        if (m_nextEvent < m_events.size() &&
            (!first || !inWalkOrder(first->row, m_events[m_nextEvent]))) {
            row = m_events[m_nextEvent++];
            return true;
        }
        if (!first)
            return false;
        row = std::move(first->row);
        advance(*first);
        return true;
    }

private:
    struct Stream {
        sql::Statement query;
        Row row;
        qint64 id = 0;
        bool held = false;
    };

    QString shared(QString text) { return *m_texts.insert(std::move(text)); }

    void advance(Stream& stream)
    {
        stream.held = stream.query.step();
        if (!stream.held)
            return;
        sql::Statement& query = stream.query;
        Row& row = stream.row;
        row.date = shared(query.text(0));
        row.code = shared(query.text(1));
        row.name = shared(query.text(2));
        const qint64 kind = query.int64(3);
        row.kind = kind >= 0 && kind <= 3 ? Kind(kind) : Kind::Other;
        row.event = false;
        row.shares = query.int64(4);
        row.total = std::llround(query.real(5) * 100);
        stream.id = query.int64(6);
        row.tax = row.kind == Kind::RealSell && !m_effects.saleTaxFen.isEmpty()
                      ? m_effects.saleTaxFen.value(stream.id)
                      : 0;
    }

    // Events name their stock; the pools go by code, the one the stock's last
    // trade carries. A stock without trades has no pool for an event.
    void readEvents(sql::Database& db)
    {
        if (m_effects.effects.isEmpty())
            return;
        auto codeOf =
            db.prepare("SELECT 股票代码 FROM gpjl WHERE 股票名=? ORDER BY id DESC LIMIT 1");
        QHash<QString, std::optional<QString>> codes;
        for (const EventEffect& effect : m_effects.effects) {
            if (effect.newShares == 0 && effect.cashFen == 0)
                continue;
            auto code = codes.find(effect.name);
            if (code == codes.end()) {
                codeOf.reset();
                codeOf.bind(1, effect.name);
                code =
                    codes.insert(effect.name, codeOf.step() ? std::optional(shared(codeOf.text(0)))
                                                            : std::nullopt);
            }
            if (!code->has_value())
                continue;
            m_events.push_back({shared(effect.paid.toString(Qt::ISODate)), **code,
                                shared(effect.name), Kind::Event, true, effect.newShares,
                                effect.cashFen, effect.taxAtPaymentFen});
        }
        std::stable_sort(m_events.begin(), m_events.end(), inWalkOrder<Row>);
    }

    const EventEffects& m_effects;
    std::vector<Stream> m_streams;
    std::vector<Row> m_events; // few: one per 分红送配
    std::size_t m_nextEvent = 0;
    // Dates, codes and names repeat across a ledger: each distinct text is kept
    // once and shared by the profit points.
    QSet<QString> m_texts;
};

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
    EventEffects read;
    if (!effects)
        read = eventEffects(db);
    WalkRows rows(db, effects ? *effects : read);
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

    Row row, following;
    bool more = rows.next(following);
    while (more) {
        row = std::move(following);
        more = rows.next(following);
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
        if (!more || following.date != row.date)
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
