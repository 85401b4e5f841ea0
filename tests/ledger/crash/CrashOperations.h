#pragma once

#include "ledger/TradeEntry.h"

#include <QString>

#include <functional>
#include <vector>

namespace corvanta::sql {
class Database;
}

namespace corvanta::crash {

// One operation that changes the ledger, with what the ledger holds before it.
// A new operation is one more row of one of the lists below.
struct CrashOperation {
    const char* name;
    // Brings a freshly seeded ledger to the state the operation starts from.
    std::function<void(sql::Database&)> prepare;
    // The operation itself, as the program runs it.
    std::function<void(sql::Database&)> run;
    // A folder beside the ledger where the operation writes copies of a ledger
    // (a backup, a safety copy); after a kill each copy in it must be whole, or
    // the copy absent. Empty when the operation writes only the ledger.
    QString copiesFolder = {};
    // The personal password the ledger has before and after the operation (none:
    // the program's key). A kill must leave it opening with one or the other.
    QByteArray passwordBefore = {};
    QByteArray passwordAfter = {};
};

// Every operation: the rows below put together.
const std::vector<CrashOperation>& crashOperations();

// Recording, deletion, clearing, stock edits and statement imports.
std::vector<CrashOperation> tradeOperations();
// Monitor-list commands, settings and the journal.
std::vector<CrashOperation> listSettingsAndJournalOperations();
// Backups, safety copies and restores.
std::vector<CrashOperation> copyOperations();
// Setting, changing and removing a personal password.
std::vector<CrashOperation> passwordOperations();

// Shared starting points and steps; each throws when the program refuses it.
void recorded(sql::Database& db, const ledger::TradeEntry& entry);
// A ledger with some history: one stock held, the sample trade's sold out.
void someTrades(sql::Database& db);
// Imports a statement of many lines, buys and sells of stocks old and new.
void importedStatement(sql::Database& db, bool replaceLedger);

} // namespace corvanta::crash
