#include "LedgerView.h"

#include "LedgerEventRows.h"
#include "StockHoldings.h"
#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// Columns 1 to 11 are the grid's, in its order; 14 and 15 code the usual texts of
// 交易状态 and 监控状态.
#define CORVANTA_LEDGER_ROW_COLUMNS                                                                                      \
    "SELECT id,日期,股票名,交易状态,数量,价格,费用,总金额,印花税,佣金,过户费等,其它费用," \
    "股票代码,监控状态,CASE 交易状态 WHEN '买入' THEN 1 WHEN '卖出' THEN 2 ELSE 0 END,"                  \
    "CASE 监控状态 WHEN '是' THEN 1 WHEN '否' THEN 2 ELSE 0 END FROM gpjl "
constexpr const char* rowsByDate =
    CORVANTA_LEDGER_ROW_COLUMNS "WHERE 虚拟卖出='假' ORDER BY 日期,id,股票名";
constexpr const char* rowsByName =
    CORVANTA_LEDGER_ROW_COLUMNS "WHERE 虚拟卖出='假' ORDER BY 股票名 COLLATE PINYIN,id,日期";
constexpr const char* rowById = CORVANTA_LEDGER_ROW_COLUMNS "WHERE id=?1 AND 虚拟卖出='假'";
#undef CORVANTA_LEDGER_ROW_COLUMNS
constexpr const char* idsByDate = "SELECT id FROM gpjl WHERE 虚拟卖出='假' ORDER BY 日期,id";
// Grouped by name from the index; the groups are put in pinyin order afterwards.
constexpr const char* idsByName =
    "SELECT id,股票名 FROM gpjl WHERE 虚拟卖出='假' ORDER BY 股票名,id";

QString numberText(const sql::Statement& query, int column)
{
    return query.isNull(column) ? QString() : num::general(query.real(column));
}

// Fees, quantities and often prices repeat across a ledger: each distinct value is
// formatted once per refresh and its text shared by the rows.
class NumberTexts {
public:
    QString of(const sql::Statement& query, int column)
    {
        if (query.isNull(column))
            return {};
        const double value = query.real(column);
        auto known = m_texts.constFind(value);
        if (known == m_texts.constEnd())
            known = m_texts.insert(value, num::general(value));
        return *known;
    }

private:
    QHash<double, QString> m_texts;
};

// Sorted rows repeat the previous row's date, or its name and code: such a text
// shares the previous row's copy, so a long ledger holds far fewer strings.
void shareWithPrevious(QString& text, const QString& previous)
{
    if (text == previous)
        text = previous;
}

// The usual texts of 交易状态 and 监控状态 are literals, needing no copy per row.
QString stateText(const sql::Statement& query, int codeColumn, int textColumn)
{
    switch (query.int64(codeColumn)) {
    case 1:
        return u"买入"_s;
    case 2:
        return u"卖出"_s;
    }
    return query.text(textColumn);
}

QString monitorText(const sql::Statement& query, int codeColumn, int textColumn)
{
    switch (query.int64(codeColumn)) {
    case 1:
        return u"是"_s;
    case 2:
        return u"否"_s;
    }
    return query.text(textColumn);
}

RowColour colourOf(const QString& state, const QString& monitor)
{
    if (state != u"买入"_s)
        return RowColour::Sell;
    return monitor == u"是"_s ? RowColour::MonitoredBuy : RowColour::Buy;
}

// The buy's shares and price after the bonus and transfer shares they were
// entitled to; none when they met none.
std::optional<TradeSelection::AfterEvents> afterEvents(sql::Database& db, const TradeSelection& buy,
                                                       qint64 shares, double amount,
                                                       const QDate& today)
{
    QList<calc::StockEvent> terms;
    for (const StoredEvent& event : stockEvents(db, buy.name))
        terms.append(event.terms);
    const qint64 after = calc::sharesAfterEvents(shares, buy.date, terms, today);
    if (after == shares || after <= 0)
        return std::nullopt;
    return TradeSelection::AfterEvents{QString::number(after),
                                       num::perShare(amount / double(after))};
}

} // namespace

std::array<QString, LedgerColumnCount> ledgerColumnTitles()
{
    return {u"日期"_s,   u"股票名"_s, u"交易状态"_s, u"数量"_s,     u"价格"_s,    u"费用"_s,
            u"总金额"_s, u"印花税"_s, u"佣金"_s,     u"过户费等"_s, u"其它费用"_s};
}

QString selectedRecordCaption(int recordNumber)
{
    return u"交易记录    当前记录号:"_s + QString::number(recordNumber);
}

namespace {

// One grid row from a query over the row columns; texts equal to the previous
// row's share its copies.
LedgerRow readRow(const sql::Statement& query, NumberTexts& numbers, const LedgerRow* previous)
{
    LedgerRow row;
    row.id = query.int64(0);
    row.cells[DateColumn] = query.text(1);
    row.cells[NameColumn] = query.text(2);
    row.code = query.text(12);
    if (previous) {
        shareWithPrevious(row.cells[DateColumn], previous->cells[DateColumn]);
        shareWithPrevious(row.cells[NameColumn], previous->cells[NameColumn]);
        shareWithPrevious(row.code, previous->code);
    }
    row.cells[StateColumn] = stateText(query, 14, 3);
    for (int column = QuantityColumn; column < LedgerColumnCount; ++column)
        row.cells[column] = numbers.of(query, column + 1);
    row.monitor = monitorText(query, 15, 13);
    row.colour = colourOf(row.cells[StateColumn], row.monitor);
    return row;
}

} // namespace

QList<LedgerRow> ledgerRows(sql::Database& db, LedgerSortOrder order)
{
    auto query = db.prepare(order == LedgerSortOrder::ByName ? rowsByName : rowsByDate);
    QList<LedgerRow> rows;
    NumberTexts numbers;
    while (query.step())
        rows.append(readRow(query, numbers, rows.isEmpty() ? nullptr : &rows.constLast()));
    return rows;
}

namespace {

// The ids by name in pinyin order. Sorting every row through the collation would
// compare texts a million times on a long ledger; a ledger has a few hundred names,
// so the rows come grouped by name from the index and only the groups are sorted.
QList<qint64> idsInPinyinOrder(sql::Database& db)
{
    struct Group {
        QString name;
        qsizetype first = 0;
        qsizetype count = 0;
    };
    auto query = db.prepare(idsByName);
    QList<qint64> byCodePoint;
    std::vector<Group> groups;
    while (query.step()) {
        QString name = query.text(1);
        if (groups.empty() || groups.back().name != name)
            groups.push_back({std::move(name), byCodePoint.size(), 0});
        ++groups.back().count;
        byCodePoint.append(query.int64(0));
    }
    const QCollator pinyin(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(groups.begin(), groups.end(), [&pinyin](const Group& a, const Group& b) {
        return pinyin.compare(a.name, b.name) < 0;
    });
    QList<qint64> ids;
    ids.reserve(byCodePoint.size());
    for (const Group& group : groups)
        ids.append(byCodePoint.mid(group.first, group.count));
    return ids;
}

} // namespace

QList<qint64> ledgerRowIds(sql::Database& db, LedgerSortOrder order)
{
    if (order == LedgerSortOrder::ByName)
        return withEventRows(db, idsInPinyinOrder(db), order);
    auto query = db.prepare(idsByDate);
    QList<qint64> ids;
    while (query.step())
        ids.append(query.int64(0));
    return withEventRows(db, std::move(ids), order);
}

qsizetype ledgerTradeCount(sql::Database& db)
{
    // Every row counted page by page, no row decoded, less the few that are no
    // real trade (open positions), each kind a short range of the index: cheaper
    // than stepping the 100,000 entries of the real ones.
    auto query = db.prepare("SELECT (SELECT count(*) FROM gpjl)"
                            " - (SELECT count(*) FROM gpjl WHERE 虚拟卖出<'假')"
                            " - (SELECT count(*) FROM gpjl WHERE 虚拟卖出>'假')"
                            " - (SELECT count(*) FROM gpjl WHERE 虚拟卖出 IS NULL)");
    return query.step() ? qsizetype(query.int64(0)) : 0;
}

QList<qint64> lastLedgerRowIdsByDate(sql::Database& db, qsizetype count)
{
    auto query =
        db.prepare("SELECT id FROM gpjl WHERE 虚拟卖出='假' ORDER BY 日期 DESC,id DESC LIMIT ?1");
    query.bind(1, qint64(count));
    QList<qint64> ids;
    ids.reserve(count);
    while (query.step())
        ids.append(query.int64(0));
    std::reverse(ids.begin(), ids.end());
    return ids;
}

std::optional<GridPlace> gridPlaceOf(sql::Database& db, qint64 id, LedgerSortOrder order)
{
    auto trade = db.prepare("SELECT 日期,股票名 FROM gpjl WHERE id=?1 AND 虚拟卖出='假'");
    trade.bind(1, id);
    if (!trade.step() || trade.isNull(0) || trade.isNull(1))
        return std::nullopt;
    const QString date = trade.text(0), name = trade.text(1);
    // Each a few steps along the index that gives the grid its order.
    const auto firstId = [&](const char* sql, const QString& key) -> std::optional<qint64> {
        auto query = db.prepare(sql);
        query.bind(1, key).bind(2, id);
        if (!query.step())
            return std::nullopt;
        return query.int64(0);
    };
    if (order == LedgerSortOrder::ByDate) {
        const auto next = firstId("SELECT id FROM gpjl WHERE 虚拟卖出='假' AND 日期>=?1 "
                                  "AND (日期>?1 OR id>?2) ORDER BY 日期,id LIMIT 1",
                                  date);
        return next ? GridPlace{GridPlace::Kind::Before, *next} : GridPlace{};
    }
    if (const auto next = firstId("SELECT id FROM gpjl WHERE 虚拟卖出='假' AND 股票名=?1 "
                                  "AND id>?2 ORDER BY id LIMIT 1",
                                  name))
        return GridPlace{GridPlace::Kind::Before, *next};
    if (const auto previous = firstId("SELECT id FROM gpjl WHERE 虚拟卖出='假' AND 股票名=?1 "
                                      "AND id<?2 ORDER BY id DESC LIMIT 1",
                                      name))
        return GridPlace{GridPlace::Kind::After, *previous};
    return std::nullopt;
}

QList<LedgerRow> ledgerRowsOf(sql::Database& db, std::span<const qint64> ids)
{
    auto query = db.prepare(rowById);
    QList<LedgerRow> rows;
    rows.reserve(ids.size());
    NumberTexts numbers;
    std::optional<EventRowReader> events;
    for (const qint64 id : ids) {
        if (isEventRowId(id)) {
            if (!events)
                events.emplace(db);
            rows.append(events->row(id).value_or(LedgerRow{id, {}, {}, {}, RowColour::Event}));
            continue;
        }
        query.bind(1, id);
        if (query.step())
            rows.append(readRow(query, numbers, rows.isEmpty() ? nullptr : &rows.constLast()));
        else
            rows.append(LedgerRow{id, {}, {}, {}, RowColour::Sell});
        query.reset();
    }
    return rows;
}

QStringList ledgerStateTexts(sql::Database& db)
{
    // One step of the index per distinct text, however many trades there are.
    auto query = db.prepare(
        "WITH RECURSIVE state(text) AS ("
        " SELECT min(交易状态) FROM gpjl WHERE 虚拟卖出='假'"
        " UNION ALL SELECT (SELECT min(交易状态) FROM gpjl WHERE 虚拟卖出='假' AND 交易状态 > text)"
        " FROM state WHERE text IS NOT NULL) "
        "SELECT text FROM state WHERE text IS NOT NULL");
    QStringList texts;
    while (query.step())
        texts << query.text(0);
    return texts;
}

std::optional<TradeSelection> selectTrade(sql::Database& db, qint64 id, const QDate& today)
{
    auto query = db.prepare("SELECT 股票名,股票代码,数量,价格,总金额,费用,印花税,佣金,过户费等,"
                            "其它费用,日期,交易状态 FROM gpjl "
                            "WHERE ID=?1 AND 虚拟卖出='假' AND 股票名 IS NOT NULL");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;

    TradeSelection trade;
    trade.id = id;
    trade.name = query.text(0);
    trade.code = query.text(1);
    trade.recordLabel = trade.name + u":"_s + trade.code;
    trade.quantity = numberText(query, 2);
    trade.price = numberText(query, 3);
    trade.total = numberText(query, 4);
    trade.totalFees = numberText(query, 5);
    trade.stampDuty = numberText(query, 6);
    trade.commission = numberText(query, 7);
    trade.transferAndOther = numberText(query, 8);
    trade.otherFee = numberText(query, 9);
    trade.date = QDate::fromString(query.text(10), u"yyyy-M-d"_s);
    trade.direction = query.text(11) == u"买入"_s ? Direction::Buy : Direction::Sell;
    // The amount traded, before the fees were added (buy) or taken off (sell).
    const double total = query.real(4);
    const double fees = query.real(5);
    trade.tradeAmount =
        num::general(trade.direction == Direction::Buy ? total - fees : total + fees);
    trade.market = marketOfStoredCode(trade.code);
    trade.infoLinkCaption = u"打开"_s + trade.name + u"相关资讯网页"_s;
    trade.infoLinkPath = u"/q/bc.php?code="_s + trade.code;
    if (trade.direction == Direction::Buy && trade.date.isValid() && !query.isNull(2))
        trade.afterEvents = afterEvents(db, trade, query.int64(2), total - fees, today);
    return trade;
}

} // namespace corvanta::ledger
