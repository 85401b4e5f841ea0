#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// How a ledger row moves money: a buy, a real sell, an open position (any other
// sell row) or a row of another state, which pays like a buy.
enum class RowKind { Buy, RealSell, OpenPosition, Other };

// A date text "yyyy-MM-dd" as the number yyyyMMdd, which orders as the text
// does; -1 for any other text.
int dateKey(QByteArrayView text);
int dateKey(QStringView text);

// Text order of two dates, by their keys where both have one.
inline bool dateBefore(int keyA, const QString& a, int keyB, const QString& b)
{
    return keyA >= 0 && keyB >= 0 ? keyA < keyB : a < b;
}
inline bool sameDate(int keyA, const QString& a, int keyB, const QString& b)
{
    return keyA >= 0 && keyB >= 0 ? keyA == keyB : a == b;
}

// One ledger row as the capital flow and the returns walk it.
struct PassRow {
    qint64 id = 0;
    QString date; // as stored; a run of one date shares its text
    int dateKey = -1;
    int stock = 0; // index into LedgerPass::names
    RowKind kind = RowKind::Other;
    bool realTrade = false; // a buy or a sell not marked as open position (虚拟卖出='假')
    qint64 shares = 0;      // 数量, NULL as 0
    double total = 0;       // 总金额, NULL as 0
    double fees = 0;        // 费用, NULL as 0
};

// An SQL aggregate's running value: an integer sum while every value is an
// integer, a floating sum once one is not, nothing while all are NULL — the
// rules of SQLite's sum().
struct SqlSum {
    qint64 count = 0;
    qint64 integer = 0;
    double real = 0;
    bool approximate = false;
};

// The sums of the rows of one stock name, side, open-position mark and monitor
// mark, as GROUP BY 股票名,交易状态,虚拟卖出,监控状态 gives them.
struct LedgerSumRow {
    std::optional<QByteArray> name, state, open, monitored; // UTF-8; nullopt for NULL
    SqlSum quantity, priceSum, fees, total, profit;
    qint64 priceCount = 0;
    std::optional<QByteArray> code; // the largest 股票代码
};

// The whole ledger read once in storage (ID) order: its rows for the walks by
// date and its sums per group for the scratch tables. Reading it once rather
// than once per figure matters when the ledger outgrows the page cache: each
// full scan decrypts every page again.
struct LedgerPass {
    std::vector<PassRow> rows;
    QList<QString> names;     // the distinct 股票名 (NULL as empty)
    QList<LedgerSumRow> sums; // in the order of their group keys
};

// Which rows a pass keeps: all, with the sums; or only the real trades (buys and
// sells not marked as open position), without sums, for the returns alone.
enum class PassScope { AllRows, RealTrades };

LedgerPass readLedgerPass(sql::Database& db, PassScope scope = PassScope::AllRows);

// Writes the sums as the table temp.ledger_sums, with the same columns and row
// order as a CREATE TABLE … AS SELECT of that GROUP BY would give.
void writeLedgerSums(sql::Database& db, const LedgerPass& pass);

} // namespace corvanta::report
