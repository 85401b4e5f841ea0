#pragma once

#include "StatementTrade.h"
#include "sql/Statement.h"

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
class TradeWriter {
public:
    explicit TradeWriter(sql::Database& db);

    // `otherFee` is written as 其它费用 when the line carries fees of its own.
    void record(const StatementTrade& trade, double otherFee);

private:
    void insertRow(const StatementTrade& trade, double otherFee, bool openPosition);

    sql::Database& m_db;
    sql::Statement m_insert;
    sql::Statement m_findOpen;
    sql::Statement m_changeShares;
    sql::Statement m_spreadMark;
};

} // namespace corvanta::ledger::statement
