#pragma once

#include "StatementRecording.h"
#include "StatementTrade.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
class Error;
} // namespace corvanta::sql

namespace corvanta::ledger {

struct StatementImportOptions {
    bool replaceLedger = false;  // empty gpjl (trades and open positions) first
    bool skipDuplicates = false; // leave out the lines the ledger already holds
    double otherFee = 0;         // 其它费用 of the lines that carry fees of their own
};

struct StatementImportOutcome {
    bool committed = false;
    int tradesWritten = 0;
    int stocksAdded = 0;
    QList<int> duplicatesSkipped; // line numbers
    int stoppedAtLine = 0;        // the statement line that failed; 0 when none did
    QString error;                // why nothing was written, in the user's words
    sql::Error::Kind errorKind = sql::Error::Kind::Other; // when the database refused
};

// Writes a statement's trades into the ledger in one transaction: every line with
// its stock-table row, open-position bookkeeping and monitor mark, or nothing.
//
// The work can be done in slices (`applyNext`) between which the caller's event
// loop runs, so a long statement can show progress. The transaction stays open
// from the first slice to `finish`; meanwhile nothing else may write through the
// same connection. Destroying an unfinished import rolls everything back.
class StatementImport {
public:
    StatementImport(sql::Database& db, QList<StatementTrade> trades,
                    StatementImportOptions options);
    StatementImport(const StatementImport&) = delete;
    StatementImport& operator=(const StatementImport&) = delete;

    qsizetype total() const { return m_trades.size(); }
    qsizetype done() const { return m_next; }
    bool failed() const { return !m_outcome.error.isEmpty(); }
    // True once every line is written, or the import has failed or finished.
    bool atEnd() const { return failed() || m_finished || m_next >= m_trades.size(); }

    // Writes up to `count` more lines. False once the import has failed: it is
    // rolled back and `finish` reports the line that stopped it.
    bool applyNext(qsizetype count);

    // Writes what is left and commits. Later calls only repeat the outcome.
    StatementImportOutcome finish();

private:
    bool begin();
    void applyTrade(const StatementTrade& trade);
    void fail(int line, const QString& error);
    void fail(int line, const sql::Error& error);

    sql::Database& m_db;
    QList<StatementTrade> m_trades;
    StatementImportOptions m_options;
    std::optional<sql::Transaction> m_transaction;
    std::optional<statement::TradeWriter> m_writer; // lives inside the transaction
    QSet<int> m_skippedLines;
    QSet<QString> m_knownStocks; // code and name pairs of the stock table
    qsizetype m_next = 0;
    bool m_finished = false;
    StatementImportOutcome m_outcome;
};

// The whole import in one call.
StatementImportOutcome applyStatement(sql::Database& db, QList<StatementTrade> trades,
                                      const StatementImportOptions& options);

} // namespace corvanta::ledger
