#pragma once

#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// Checks a backup's trade rows before a restore copies them: numbers where the
// ledger keeps numbers, the rules every recorded trade obeys (a valid date, a
// name, a whole positive quantity, a buy or sell state, a price), and open
// positions that agree with the trades. Returns why the backup cannot be
// restored, in the user's words, or nothing when it can.
std::optional<QString> backupRowFault(sql::Database& backup);

} // namespace corvanta::ledger
