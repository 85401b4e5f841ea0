#include "StockTable.h"

#include "Schema.h"
#include "SettingsKeys.h"
#include "StockHoldings.h"
#include "StockRows.h"
#include "TradeLedger.h"
#include "calc/PinyinReadings.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

RenameRefused::RenameRefused(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

namespace {

// The settings rows share gpmc with the stocks; each query leaves them out.
constexpr const char* byCodePrefix = "SELECT id,gpid,gpmc,gppy FROM gpmc WHERE gpid LIKE ?1 ESCAPE "
                                     "'\\' AND " CORVANTA_STOCK_ROWS_ONLY " ORDER BY id LIMIT ?2";
constexpr const char* byPinyinPrefix =
    "SELECT id,gpid,gpmc,gppy FROM gpmc WHERE gppy LIKE ?1 ESCAPE '\\' "
    "AND " CORVANTA_STOCK_ROWS_ONLY " ORDER BY id LIMIT ?2";
constexpr const char* byCode =
    "SELECT id,gpid,gpmc,gppy FROM gpmc WHERE gpid=?1 AND " CORVANTA_STOCK_ROWS_ONLY
    " ORDER BY id LIMIT 1";

void refuseSettingsKey(const QString& code)
{
    if (isSettingsKey(code))
        throw std::invalid_argument("a settings key is not a stock code");
}

// A LIKE pattern matching texts that begin with `text` taken literally.
QString prefixPattern(const QString& text)
{
    QString pattern;
    pattern.reserve(text.size() + 2);
    for (QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            pattern += u'\\';
        pattern += c;
    }
    pattern += u'%';
    return pattern;
}

StockRow readRow(const sql::Statement& query)
{
    return {query.int64(0), query.text(1), query.text(2), query.text(3)};
}

} // namespace

QList<StockRow> StockTable::lookup(const QString& text, int limit) const
{
    const bool isCode = !text.isEmpty() && text.front() >= u'0' && text.front() <= u'9';
    const QString typed = isCode ? text : text.toUpper();
    auto query = m_db.prepare(isCode ? byCodePrefix : byPinyinPrefix);
    query.bind(1, prefixPattern(typed));
    query.bind(2, qint64(limit > 0 ? limit : -1));
    QList<StockRow> rows;
    while (query.step())
        rows.append(readRow(query));
    if (isCode || (limit > 0 && rows.size() >= limit))
        return rows;

    // The stored code has one reading per character; a name read another common
    // way (招商银行 as ZSYH, not only ZSYX) follows the names its stored code found.
    auto all = m_db.prepare(byPinyinPrefix);
    all.bind(1, QStringLiteral("%"));
    all.bind(2, qint64(-1));
    while (all.step() && (limit <= 0 || rows.size() < limit)) {
        StockRow row = readRow(all);
        if (!row.pinyin.startsWith(typed, Qt::CaseInsensitive) &&
            pinyinPrefixMatches(row.name, row.pinyin, typed))
            rows.append(std::move(row));
    }
    return rows;
}

std::optional<StockRow> StockTable::findByCode(const QString& code) const
{
    auto query = m_db.prepare(byCode);
    query.bind(1, code);
    if (!query.step())
        return std::nullopt;
    return readRow(query);
}

void StockTable::addStock(const QString& code, const QString& name, const QString& pinyin)
{
    refuseSettingsKey(code);
    auto insert = m_db.prepare("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES (?1,?2,?3)");
    insert.bind(1, code).bind(2, name).bind(3, pinyin);
    insert.run();
}

void StockTable::renameStock(const QString& code, const QString& name, const QString& pinyin)
{
    refuseSettingsKey(code);
    sql::Transaction transaction(m_db);
    // Every name the code's rows leave, and the one they join, may now hold the
    // wrong shares in its open position.
    QStringList touched{name};
    auto names = m_db.prepare("SELECT DISTINCT 股票名 FROM gpjl WHERE 股票代码=?1");
    names.bind(1, code);
    while (names.step())
        touched << names.text(0);

    touched.removeDuplicates();
    // Shares sold beyond those bought, per name, before the rename.
    auto oversold = [&](const QString& stock) {
        return -sharesHeld(m_db, stock);
    };
    QList<qint64> before;
    for (const QString& stock : touched)
        before << oversold(stock);

    auto stocks = m_db.prepare("UPDATE gpmc SET gpmc=?2,gppy=?3 WHERE gpid=?1");
    stocks.bind(1, code).bind(2, name).bind(3, pinyin);
    stocks.run();
    auto trades = m_db.prepare("UPDATE gpjl SET 股票名=?2 WHERE 股票代码=?1");
    trades.bind(1, code).bind(2, name);
    trades.run();
    if (hasEventTable(m_db)) {
        auto events = m_db.prepare("UPDATE fhsp SET 股票名=?2 WHERE 股票代码=?1");
        events.bind(1, code).bind(2, name);
        events.run();
    }
    // Sales recorded under a merged name may have drawn on the other code's
    // shares: splitting them apart again would leave a name selling shares it
    // never bought, and its later buys could not be sold. Leaving the transaction
    // unfinished rolls the rename back.
    for (qsizetype i = 0; i < touched.size(); ++i) {
        const qint64 after = oversold(touched[i]);
        if (after > 0 && after > before[i]) {
            const qint64 bought = rows::sharesBought(m_db, touched[i]);
            throw RenameRefused(u"改名后“"_s + touched[i] + u"”的卖出总数（"_s +
                                QString::number(bought + after) + u" 股）将大于买入总数（"_s +
                                QString::number(bought) +
                                u" 股）：它的卖出记录用到了另一个代码的股份。不能改名。"_s);
        }
    }
    TradeLedger(m_db).rederiveOpenPositions(touched);
    transaction.commit();
}

} // namespace corvanta::ledger
