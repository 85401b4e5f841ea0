#include "AccountSeries.h"

#include "EventEffects.h"
#include "YearlyStatement.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvanta::report {

namespace {

// 1 buy, 2 real sell, 0 open position, 3 another state (pays like a buy). In
// storage order: one pass over the table, no index look-up per trade.
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

// The ledger's trades and events in walk order (by date, a date's events before
// its trades, trades by id). The trades are read once in storage order, which
// is id order, and kept as numbers: each distinct text once, a row as its texts'
// places and its figures. A counting sort by the rank of the date then gives the
// walk order without moving the rows.
class ScanRows {
public:
    ScanRows(sql::Database& db, const EventEffects& effects)
    {
        const bool wantCodes = !effects.effects.isEmpty();
        QHash<qint32, qint32> codeOfName; // a stock's code as its last trade carries it
        auto query = db.prepare(seriesRows);
        while (query.step()) {
            Entry entry;
            entry.date = dateNumber(query.utf8(0));
            entry.code = textNumber(query.utf8(1));
            entry.name = textNumber(query.utf8(2));
            const qint64 kind = query.int64(3);
            entry.kind = kind >= 0 && kind <= 3 ? Kind(kind) : Kind::Other;
            entry.shares = query.int64(4);
            entry.total = std::llround(query.real(5) * 100);
            if (entry.kind == Kind::RealSell && !effects.saleTaxFen.isEmpty())
                entry.tax = effects.saleTaxFen.value(query.int64(6));
            if (wantCodes)
                codeOfName.insert(entry.name, entry.code);
            m_trades.push_back(entry);
        }
        for (const EventEffect& effect : effects.effects) {
            if (effect.newShares == 0 && effect.cashFen == 0)
                continue;
            const auto name = m_textNumbers.constFind(effect.name.toUtf8());
            const auto code =
                name == m_textNumbers.cend() ? codeOfName.cend() : codeOfName.constFind(*name);
            if (code == codeOfName.cend())
                continue; // a stock without trades has no pool for an event
            Entry entry;
            entry.date = dateNumber(effect.paid.toString(Qt::ISODate).toUtf8());
            entry.code = *code;
            entry.name = *name;
            entry.kind = Kind::Event;
            entry.shares = effect.newShares;
            entry.total = effect.cashFen;
            entry.tax = effect.taxAtPaymentFen;
            m_events.push_back(entry);
        }
        order();
    }

    // The next row in walk order; false after the last.
    bool next(Row& row)
    {
        if (m_next == m_order.size())
            return false;
        const quint32 place = m_order[m_next++];
        const Entry& entry =
            place < m_events.size() ? m_events[place] : m_trades[place - m_events.size()];
        row.date = m_dates[std::size_t(entry.date)];
        row.code = m_texts[std::size_t(entry.code)];
        row.name = m_texts[std::size_t(entry.name)];
        row.kind = entry.kind;
        row.event = entry.kind == Kind::Event;
        row.shares = entry.shares;
        row.total = entry.total;
        row.tax = entry.tax;
        return true;
    }

private:
    struct Entry {
        qint32 date = 0; // into m_dates
        qint32 code = 0; // into m_texts
        qint32 name = 0; // into m_texts
        Kind kind = Kind::Other;
        qint64 shares = 0;
        qint64 total = 0;
        qint64 tax = 0;
    };

    static qint32 number(QHash<QByteArray, qint32>& numbers, std::vector<QString>& texts,
                         QByteArrayView utf8)
    {
        // Looked up without copying the bytes; copied once when new.
        const auto found = numbers.constFind(QByteArray::fromRawData(utf8.data(), utf8.size()));
        if (found != numbers.cend())
            return *found;
        const auto next = qint32(texts.size());
        numbers.insert(utf8.toByteArray(), next);
        texts.push_back(QString::fromUtf8(utf8));
        return next;
    }
    qint32 textNumber(QByteArrayView utf8) { return number(m_textNumbers, m_texts, utf8); }
    qint32 dateNumber(QByteArrayView utf8) { return number(m_dateNumbers, m_dates, utf8); }

    // Events first, then trades: the counting sort is stable, so a date's events
    // come before its trades and the trades keep their id order.
    void order()
    {
        std::vector<qint32> rank(m_dates.size());
        {
            std::vector<qint32> byText(m_dates.size());
            for (std::size_t i = 0; i < byText.size(); ++i)
                byText[i] = qint32(i);
            std::sort(byText.begin(), byText.end(), [this](qint32 a, qint32 b) {
                return m_dates[std::size_t(a)] < m_dates[std::size_t(b)];
            });
            for (std::size_t i = 0; i < byText.size(); ++i)
                rank[std::size_t(byText[i])] = qint32(i);
        }
        std::vector<quint32> start(m_dates.size() + 1, 0);
        const auto dateOf = [this](std::size_t place) {
            return place < m_events.size() ? m_events[place].date
                                           : m_trades[place - m_events.size()].date;
        };
        const std::size_t count = m_events.size() + m_trades.size();
        for (std::size_t place = 0; place < count; ++place)
            ++start[std::size_t(rank[std::size_t(dateOf(place))]) + 1];
        for (std::size_t i = 1; i < start.size(); ++i)
            start[i] += start[i - 1];
        m_order.resize(count);
        for (std::size_t place = 0; place < count; ++place)
            m_order[start[std::size_t(rank[std::size_t(dateOf(place))])]++] = quint32(place);
    }

    QHash<QByteArray, qint32> m_textNumbers; // codes and names
    QHash<QByteArray, qint32> m_dateNumbers;
    std::vector<QString> m_texts;
    std::vector<QString> m_dates;
    std::vector<Entry> m_trades;  // by id
    std::vector<Entry> m_events;  // few: one per 分红送配
    std::vector<quint32> m_order; // walk order: places in the events, then the trades
    std::size_t m_next = 0;
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
    ScanRows rows(db, effects ? *effects : read);
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
