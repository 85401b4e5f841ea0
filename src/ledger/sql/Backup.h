#pragma once

namespace corvanta::sql {

class Database;

// Copies every page of `source`'s main database into `target`'s with SQLite's
// online backup, in one pass: the copy is consistent even while the source is in
// use. Both connections must use the same key. Throws sql::Error on failure.
void copyDatabase(Database& source, Database& target);

} // namespace corvanta::sql
