#pragma once

#include <QString>

namespace corvanta::ledger {

// Why `target` must not be written by a backup or an export of the ledger at
// `ledgerPath`, or an empty text when it may. Refused are the ledger itself, its
// journals ("-journal", "-wal", "-shm"), its lock file and every file in its
// safety-copy folder, each recognised by its real path: through links, and
// whether or not it exists yet.
QString ledgerOwnFileReason(const QString& ledgerPath, const QString& target);

} // namespace corvanta::ledger
