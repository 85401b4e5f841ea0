#pragma once

#include "StatementTrade.h"
#include "sql/Statement.h"

#include <QHash>
#include <QList>

namespace corvanta::sql {
class Database;
}

// Writing statement lines into the ledger, inside a transaction the caller holds.
// Not part of the ledger's public interface.
namespace corvanta::ledger::statement {

// Writes lines as recording a trade does: the trade row, then the stock's
// open-position bookkeeping and monitor mark; with these differences: the fees
// and amounts come from the statement, a sell is never refused for want of bought
// shares, and the open-position row a buy creates carries every column of the buy
// line. The statements stay prepared for the writer's life: preparing them anew
// for every line would cost more than the writing.
//
// What the bookkeeping needs of a stock (its open-position rows and whether it is
// monitored) is read from the ledger once, at the stock's first line, and kept up
// to date from then on: reading it per line would visit every row of the stock
// each time, so a statement with thousands of lines on one stock would take
// minutes. This holds because the caller's transaction keeps all other writers out.
class TradeWriter {
public:
    explicit TradeWriter(sql::Database& db);

    // `otherFee` is written as 其它费用 when the line carries fees of its own.
    void record(const StatementTrade& trade, double otherFee);

private:
    struct OpenRow {
        qint64 id = 0;
        qint64 shares = 0;
    };
    struct StockState {
        QList<OpenRow> open; // the stock's open-position rows by id; the first counts
        bool markKnown = false;
        bool monitored = false;
    };

    StockState& stateOf(const QString& name);
    void settleMark(const QString& name, StockState& state);
    qint64 insertRow(const StatementTrade& trade, double otherFee, bool openPosition,
                     bool monitored);

    sql::Database& m_db;
    sql::Statement m_insert;
    sql::Statement m_findOpen;
    sql::Statement m_findMark;
    sql::Statement m_changeShares;
    sql::Statement m_deleteRow;
    sql::Statement m_spreadMark;
    QHash<QString, StockState> m_stocks;
};

} // namespace corvanta::ledger::statement
