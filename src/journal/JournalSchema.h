#pragma once

namespace corvanta::sql {
class Database;
}

namespace corvanta::journal {

// Adds the journal's reminder table, dxgp_reminder, when the file has none: one row
// per note that has a reminder date or target prices, keyed by the note's ID, with
// what has already been reported. dxgp itself is not changed, so files and backups
// stay readable by every program that knows the three tables. Runs in one
// transaction; a second call changes nothing.
void upgradeJournalSchema(sql::Database& db);

} // namespace corvanta::journal
