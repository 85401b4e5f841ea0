#include "BackupRowCheck.h"

#include "StockHoldings.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <QDate>
#include <QHash>
#include <QList>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// The number columns of gpjl, as the query below reads them from column 5 on:
// each value and its type.
constexpr int firstNumber = 5;
const char16_t* const numberColumns[] = {u"数量",   u"价格", u"费用",     u"总金额",  u"盈亏金额",
                                         u"印花税", u"佣金", u"过户费等", u"其它费用"};
constexpr int numberCount = int(std::size(numberColumns));

struct Row {
    qint64 id = 0;
    QString date;
    QString name;
    QString state;     // 交易状态
    bool open = false; // 虚拟卖出 "真": the open-position row
    qint64 shares = 0;
};

// "编号 12 的交易记录（2008-03-14 浦发银行）"
QString rowName(const Row& row)
{
    return u"编号 "_s + QString::number(row.id) + u" 的交易记录（"_s + row.date + u' ' + row.name +
           u"）"_s;
}

QString valueText(const sql::Statement& query, int column)
{
    return query.isNull(column) ? u"空"_s : u"“"_s + query.text(column) + u"”"_s;
}

bool isNumber(const QString& type)
{
    return type == u"integer"_s || type == u"real"_s;
}

// The first fault of one row, or nothing.
std::optional<QString> rowFault(const sql::Statement& query, Row& row)
{
    row.id = query.int64(0);
    row.date = query.text(1);
    row.name = query.text(2);
    row.state = query.text(3);
    const QString virtualSell = query.text(4);

    for (int i = 0; i < numberCount; ++i) {
        const int value = firstNumber + 2 * i;
        const QString type = query.text(value + 1);
        // Fees may be empty in old rows; the quantity and price of a trade may not.
        const bool required = i < 2;
        if (isNumber(type) || (!required && type == u"null"_s))
            continue;
        return rowName(row) + u"的"_s + QString::fromUtf16(numberColumns[i]) + u" "_s +
               valueText(query, value) + u" 不是数字"_s;
    }
    if (virtualSell != u"真"_s && virtualSell != u"假"_s)
        return rowName(row) + u"的虚拟卖出 "_s + valueText(query, 4) + u" 不是“真”或“假”"_s;
    row.open = virtualSell == u"真"_s;
    if (QDate::fromString(row.date, u"yyyy-MM-dd"_s).isNull() || row.date.size() != 10)
        return rowName(row) + u"的日期 "_s + valueText(query, 1) + u" 不是有效的日期"_s;
    if (row.name.trimmed().isEmpty())
        return rowName(row) + u"没有股票名"_s;
    if (query.text(firstNumber + 1) != u"integer"_s)
        return rowName(row) + u"的数量 "_s + valueText(query, firstNumber) + u" 不是整数"_s;
    row.shares = query.int64(firstNumber);
    if (row.shares < 1)
        return rowName(row) + u"的数量 "_s + valueText(query, firstNumber) + u" 小于 1"_s;
    if (row.state.trimmed().isEmpty() || (row.open && row.state != u"卖出"_s))
        return rowName(row) + u"的交易状态 "_s + valueText(query, 3) + u" 不是买入或卖出"_s;
    return std::nullopt;
}

// What one stock's open-position row may hold: its trades replayed in order as
// an import books them (a sale beyond the position closes it), or its shares
// bought less those sold, as a deletion or rename re-derives them. Neither is
// ever below zero, and a row never holds zero.
struct Position {
    qint64 bought = 0;
    qint64 sold = 0;     // real sales marked 卖出
    qint64 replayed = 0; // every real row not a buy reduces it
    qint64 open = 0;     // the shares of its open-position rows
    int openRows = 0;

    void add(const Row& row)
    {
        if (row.open) {
            open += row.shares;
            ++openRows;
        } else if (row.state == u"买入"_s) {
            bought += row.shares;
            replayed += row.shares;
        } else {
            if (row.state == u"卖出"_s)
                sold += row.shares;
            replayed = std::max<qint64>(0, replayed - row.shares);
        }
    }

    // A stock without any open-position row is taken as the backup has it, as
    // ledgers written by hand or by older programs may hold none.
    // `held` is the ledger's own derivation when the stock has events: their new
    // shares are in its open position.
    bool agrees(std::optional<qint64> held) const
    {
        if (held)
            return openRows == 0 || (openRows == 1 && open == std::max<qint64>(0, *held));
        const qint64 derived = std::max<qint64>(0, bought - sold);
        return openRows == 0 || (openRows == 1 && (open == replayed || open == derived));
    }
};

} // namespace

std::optional<QString> backupRowFault(sql::Database& backup)
{
    auto query = backup.prepare(
        "SELECT ID,日期,股票名,交易状态,虚拟卖出,"
        "数量,typeof(数量),价格,typeof(价格),费用,typeof(费用),总金额,typeof(总金额),"
        "盈亏金额,typeof(盈亏金额),印花税,typeof(印花税),佣金,typeof(佣金),"
        "过户费等,typeof(过户费等),其它费用,typeof(其它费用) FROM gpjl ORDER BY ID");
    QHash<QString, Position> positions;
    QStringList names; // in order of first appearance
    while (query.step()) {
        Row row;
        if (const auto fault = rowFault(query, row))
            return fault;
        if (!positions.contains(row.name))
            names << row.name;
        positions[row.name].add(row);
    }
    for (const QString& name : names) {
        const Position& position = positions[name];
        const std::optional<qint64> held =
            hasEvents(backup, name) ? std::optional(sharesHeld(backup, name)) : std::nullopt;
        if (position.agrees(held))
            continue;
        return u"“"_s + name + u"”的持仓行共 "_s + QString::number(position.open) + u" 股（"_s +
               QString::number(position.openRows) + u" 行），而它的交易记录买入 "_s +
               QString::number(position.bought) + u" 股、卖出 "_s + QString::number(position.sold) +
               u" 股，两者不符"_s;
    }
    return std::nullopt;
}

} // namespace corvanta::ledger
