#pragma once

#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The quote server's address is the gpmc row whose gpid is "hqdz" (letters, so no
// stock code collides with it), the address in gpmc.

// The address of the first such row; none when there is no row.
std::optional<QString> loadQuoteServer(sql::Database& db);

// Stores the address in one transaction: every row of the key is updated, or one is
// inserted when there is none. The caller validates the address first.
void saveQuoteServer(sql::Database& db, const QString& address);

} // namespace corvanta::ledger
