#pragma once

#include "TradeEntry.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// What became of a recording: the new trade row, or the message refusing it.
struct RecordOutcome {
    qint64 id = 0;   // the new trade row's ID when recorded
    QString refusal; // the message to show when refused
    bool recorded() const { return refusal.isEmpty(); }
};

struct DeleteOutcome {
    enum class Status { Deleted, Refused, NotFound };
    Status status = Status::NotFound;
    QString refusal; // the message to show when refused
};

// Every change to the trade ledger gpjl. Each operation is one transaction: the
// trade row, the stock's open-position row and its monitor mark change together or
// not at all, and a refusal writes nothing. Rows of one stock are those of its name.
//
// Between operations, for every stock name: the open-position row (虚拟卖出 "真")
// holds the shares bought minus the shares really sold, and exists exactly while
// that is positive.
class TradeLedger {
public:
    explicit TradeLedger(sql::Database& db) : m_db(db) {}

    // Records the entry in its own direction.
    RecordOutcome record(const TradeEntry& entry);
    // A buy creates the open-position row (priced at the break-even price) or grows it.
    RecordOutcome recordBuy(TradeEntry entry);
    // A sell shrinks the open-position row, deleting it at zero; selling more than
    // is held is refused.
    RecordOutcome recordSell(TradeEntry entry);

    // The question to ask before deleting the trade; none when there is no such
    // trade or it has no stock name, and then there is nothing to delete.
    std::optional<QString> deleteQuestion(qint64 id) const;
    // Deletes a trade and repairs the open position; a buy whose shares were
    // partly sold already is refused.
    DeleteOutcome deleteTrade(qint64 id);

    // Deletes every ledger row and every event and empties the scratch tables tmpdb1..3 that exist.
    void clearLedger();

    // Re-derives the open positions of these names from their trades, for changes
    // that move rows between names (a rename, an import, a restore): each name gets
    // one open-position row holding the shares bought minus the shares really
    // sold, or none when that is not positive. An existing row keeps its price and
    // amounts; a missing one is priced from the name's first buy as recording that
    // buy priced it (its break-even price, fees and total). Whole or not at all,
    // inside the caller's transaction when there is one.
    void rederiveOpenPositions(const QStringList& names);

private:
    sql::Database& m_db;
};

} // namespace corvanta::ledger
