#include "LedgerPass.h"

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

// Rows reserved ahead, at most: the largest ID is only a guess at their number.
constexpr qint64 maxReserved = 4'000'000;

// Storage order is ID order (ID is the rowid): no sort, and each page read once.
constexpr const char* passRows =
    "SELECT ID,日期,股票名,交易状态,虚拟卖出,监控状态,数量,价格,费用,总金额,盈亏金额,股票代码 "
    "FROM gpjl NOT INDEXED ORDER BY ID";
constexpr const char* passRealTrades =
    "SELECT ID,日期,股票名,交易状态,虚拟卖出,监控状态,数量,价格,费用,总金额,盈亏金额,股票代码 "
    "FROM gpjl NOT INDEXED WHERE 虚拟卖出='假' AND 交易状态 IN ('买入','卖出') ORDER BY ID";

enum Column {
    IdColumn,
    DateColumn,
    NameColumn,
    StateColumn,
    OpenColumn,
    MonitoredColumn,
    QuantityColumn,
    PriceColumn,
    FeesColumn,
    TotalColumn,
    ProfitColumn,
    CodeColumn
};

// The distinct values of one text column, NULL among them, each with an index.
// Consecutive rows mostly repeat a value, so the last one is tried first.
class Interner {
public:
    int indexOf(const sql::Statement& query, int column)
    {
        const QByteArrayView bytes = query.utf8(column);
        if (bytes.isNull()) {
            if (m_null < 0) {
                m_null = int(m_values.size());
                m_values.push_back(std::nullopt);
            }
            return m_null;
        }
        if (m_last >= 0 && m_values[std::size_t(m_last)] && *m_values[std::size_t(m_last)] == bytes)
            return m_last;
        // Sides and marks take a few values: a look along them beats hashing.
        if (m_values.size() <= 8) {
            for (std::size_t i = 0; i < m_values.size(); ++i) {
                if (m_values[i] && *m_values[i] == bytes) {
                    m_last = int(i);
                    return m_last;
                }
            }
        }
        auto found = m_index.constFind(QByteArray::fromRawData(bytes.data(), bytes.size()));
        if (found == m_index.cend()) {
            found = m_index.insert(bytes.toByteArray(), int(m_values.size()));
            m_values.push_back(found.key());
        }
        m_last = found.value();
        return m_last;
    }

    const std::optional<QByteArray>& value(int index) const { return m_values[std::size_t(index)]; }
    int size() const { return int(m_values.size()); }

private:
    QHash<QByteArray, int> m_index;
    std::vector<std::optional<QByteArray>> m_values;
    int m_null = -1;
    int m_last = -1;
};

// Adds a value as sum() does; false for NULL, which it skips.
bool add(SqlSum& sum, const sql::Statement& query, int column)
{
    const sql::Statement::Storage storage = query.storage(column);
    if (storage == sql::Statement::Storage::Null)
        return false;
    ++sum.count;
    if (storage == sql::Statement::Storage::Integer) {
        const qint64 value = query.int64(column);
        sum.integer += value;
        sum.real += double(value);
    } else {
        sum.real += query.real(column);
        sum.approximate = true;
    }
    return true;
}

void bindSum(sql::Statement& insert, int index, const SqlSum& sum)
{
    if (sum.count == 0)
        insert.bindNull(index);
    else if (sum.approximate)
        insert.bind(index, sum.real);
    else
        insert.bind(index, sum.integer);
}

void bindText(sql::Statement& insert, int index, const std::optional<QByteArray>& text)
{
    if (text)
        insert.bind(index, QString::fromUtf8(*text));
    else
        insert.bindNull(index);
}

// SQLite's order of text keys under the binary collation: NULL first, then bytes.
bool keyLess(const std::optional<QByteArray>& a, const std::optional<QByteArray>& b)
{
    if (!a || !b)
        return !a && b;
    return *a < *b;
}

char16_t unit(char c)
{
    return char16_t(static_cast<unsigned char>(c));
}

char16_t unit(QChar c)
{
    return c.unicode();
}

template <typename Text> int keyOf(const Text& text)
{
    if (text.size() != 10 || unit(text[4]) != u'-' || unit(text[7]) != u'-')
        return -1;
    int key = 0;
    for (qsizetype i = 0; i < 10; ++i) {
        if (i == 4 || i == 7)
            continue;
        const char16_t c = unit(text[i]);
        if (c < u'0' || c > u'9')
            return -1;
        key = key * 10 + int(c - u'0');
    }
    return key;
}

struct Group {
    int name, state, open, monitored;
    bool operator==(const Group&) const = default;
};

size_t qHash(const Group& g, size_t seed = 0)
{
    return qHashMulti(seed, g.name, g.state, g.open, g.monitored);
}

} // namespace

int dateKey(QByteArrayView text)
{
    return keyOf(text);
}

int dateKey(QStringView text)
{
    return keyOf(text);
}

LedgerPass readLedgerPass(sql::Database& db, PassScope scope)
{
    const bool withSums = scope == PassScope::AllRows;
    LedgerPass pass;
    Interner names, states, opens, monitors;
    QHash<Group, qsizetype> groupIndex;
    const QByteArray buy = QByteArrayLiteral("买入"), sell = QByteArrayLiteral("卖出"),
                     real = QByteArrayLiteral("假");
    QByteArray previousDate;
    QString previousDateText;
    int previousKey = -1;
    // A ledger has a few thousand days: the rows of one day share its text,
    // whatever their order, rather than each decoding and keeping its own.
    QHash<int, QString> dayTexts;
    auto query = db.prepare(withSums ? passRows : passRealTrades);
    if (auto last = db.prepare("SELECT max(ID) FROM gpjl"); last.step())
        pass.rows.reserve(std::size_t(std::clamp<qint64>(last.int64(0), 0, maxReserved)));
    while (query.step()) {
        PassRow row;
        row.id = query.int64(IdColumn);
        const QByteArrayView date = query.utf8(DateColumn);
        if (const int key = dateKey(date); key >= 0) {
            if (key != previousKey) {
                auto known = dayTexts.constFind(key);
                if (known == dayTexts.cend())
                    known = dayTexts.insert(key, query.text(DateColumn));
                previousDateText = known.value();
                previousKey = key;
            }
        } else if (pass.rows.empty() || previousKey >= 0 || date != previousDate || date.isNull()) {
            previousDate = date.toByteArray();
            previousDateText = query.text(DateColumn);
            previousKey = -1;
        }
        row.date = previousDateText;
        row.dateKey = previousKey;
        const int name = names.indexOf(query, NameColumn);
        if (name == pass.names.size())
            pass.names.append(names.value(name) ? QString::fromUtf8(*names.value(name))
                                                : QString());
        row.stock = name;
        const int state = states.indexOf(query, StateColumn);
        const int open = opens.indexOf(query, OpenColumn);
        const int monitored = monitors.indexOf(query, MonitoredColumn);
        const auto& stateText = states.value(state);
        const auto& openText = opens.value(open);
        const bool isSell = stateText && *stateText == sell, isBuy = stateText && *stateText == buy;
        const bool notOpen = openText && *openText == real;
        row.kind = isSell ? (notOpen ? RowKind::RealSell : RowKind::OpenPosition)
                          : (isBuy ? RowKind::Buy : RowKind::Other);
        row.realTrade = notOpen && (isSell || isBuy);
        row.shares = query.int64(QuantityColumn);
        row.total = query.real(TotalColumn);
        row.fees = query.real(FeesColumn);
        pass.rows.push_back(std::move(row));
        if (!withSums)
            continue;

        const Group key{name, state, open, monitored};
        auto found = groupIndex.constFind(key);
        if (found == groupIndex.cend()) {
            found = groupIndex.insert(key, pass.sums.size());
            LedgerSumRow sums;
            sums.name = names.value(name);
            sums.state = stateText;
            sums.open = openText;
            sums.monitored = monitors.value(monitored);
            pass.sums.append(std::move(sums));
        }
        LedgerSumRow& sums = pass.sums[found.value()];
        add(sums.quantity, query, QuantityColumn);
        if (add(sums.priceSum, query, PriceColumn))
            ++sums.priceCount;
        add(sums.fees, query, FeesColumn);
        add(sums.total, query, TotalColumn);
        add(sums.profit, query, ProfitColumn);
        if (const QByteArrayView code = query.utf8(CodeColumn); !code.isNull()) {
            if (!sums.code || *sums.code < code)
                sums.code = code.toByteArray();
        }
    }
    std::sort(pass.sums.begin(), pass.sums.end(), [](const LedgerSumRow& a, const LedgerSumRow& b) {
        if (a.name != b.name)
            return keyLess(a.name, b.name);
        if (a.state != b.state)
            return keyLess(a.state, b.state);
        if (a.open != b.open)
            return keyLess(a.open, b.open);
        return keyLess(a.monitored, b.monitored);
    });
    return pass;
}

void writeLedgerSums(sql::Database& db, const LedgerPass& pass)
{
    // The sums have no declared type, so each keeps the kind of value it has,
    // as in a table made by CREATE TABLE … AS SELECT.
    db.exec("CREATE TEMP TABLE ledger_sums(name TEXT,state TEXT,open TEXT,monitored TEXT,"
            "quantity,priceSum,priceCount INT,fees,total,profit,code TEXT)");
    auto insert =
        db.prepare("INSERT INTO temp.ledger_sums VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)");
    for (const LedgerSumRow& sums : pass.sums) {
        bindText(insert, 1, sums.name);
        bindText(insert, 2, sums.state);
        bindText(insert, 3, sums.open);
        bindText(insert, 4, sums.monitored);
        bindSum(insert, 5, sums.quantity);
        bindSum(insert, 6, sums.priceSum);
        insert.bind(7, sums.priceCount);
        bindSum(insert, 8, sums.fees);
        bindSum(insert, 9, sums.total);
        bindSum(insert, 10, sums.profit);
        bindText(insert, 11, sums.code);
        insert.run();
        insert.reset();
    }
}

} // namespace corvanta::report
