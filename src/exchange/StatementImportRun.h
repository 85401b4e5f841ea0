#pragma once

#include "GenericStatement.h"
#include "StatementLayout.h"
#include "StatementParser.h"
#include "ledger/LedgerChanges.h"
#include "ledger/StatementImport.h"

#include <QString>

#include <memory>
#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::exchange {

// A statement as read, with the refusal its reader gives when nothing may be
// imported from it (no trade read, no header, an unreadable file).
struct StatementToImport {
    ParsedStatement parsed;
    std::optional<QString> refusal;
};
StatementToImport toImport(ParsedStatement parsed, const StatementLayout& layout);
StatementToImport toImport(const GenericStatement& statement);

// The questions of an import, answered by whoever drives it: the import window
// with message boxes, the command line with its flags.
class ImportAnswers {
public:
    virtual ~ImportAnswers() = default;
    // Some lines are in the ledger already (`question` names them): true leaves
    // them out.
    virtual bool skipDuplicates(const QString& question) = 0;
    // Go ahead with the statement's `trades`, `duplicates` of which match trades
    // the ledger holds?
    virtual bool proceed(qsizetype trades, qsizetype duplicates) = 0;
    // Empty the ledger's trades first?
    virtual bool replaceLedger() = 0;
};

// One statement import from start to end, the same for every caller: refuse a
// statement without trades, ask about the lines the ledger already holds, ask to
// go ahead and whether to replace, keep a safety copy, write in one transaction
// (in slices, so a window can show progress), drop the copy of an import that
// changed nothing, and announce a committed one.
//
// The lines' 其它费用 is the saved buy-side other fee: an import writes past
// trades, which owe nothing to the direction or the unsaved text of the fee
// calculator at the moment, and the generic reader prices missing fees with the
// same saved rates.
class StatementImportRun {
public:
    StatementImportRun(sql::Database& db, ledger::LedgerNotifier& notifier);
    ~StatementImportRun();
    StatementImportRun(const StatementImportRun&) = delete;
    StatementImportRun& operator=(const StatementImportRun&) = delete;

    enum class Start { Begun, Refused, Declined };
    struct Started {
        Start start = Start::Refused;
        QString refusal; // when refused
    };
    // Refuses or asks; when the answers go ahead, keeps a safety copy and
    // prepares the writing. Throws sql::Error when the ledger cannot be read and
    // ledger::BackupError when no safety copy can be made: nothing is written then.
    Started start(const StatementToImport& statement, ImportAnswers& answers);

    bool running() const { return m_import != nullptr; }
    QString safetyCopy() const { return m_safetyCopy; }
    qsizetype total() const;
    qsizetype done() const;
    bool atEnd() const;
    // Writes up to `lines` more lines of the import begun.
    void applyNext(qsizetype lines);
    // Writes what is left and commits, or rolls back and drops the safety copy;
    // a committed import is announced.
    ledger::StatementImportOutcome finish();

private:
    sql::Database& m_db;
    ledger::LedgerNotifier& m_notifier;
    std::unique_ptr<ledger::StatementImport> m_import;
    QString m_safetyCopy;
};

} // namespace corvanta::exchange
