#pragma once

#include "Schema.h"
#include "sql/Database.h"

#include <QList>
#include <QString>

#include <stdexcept>

namespace corvanta::ledger {

// The ledger file's name and the key it is encrypted with.
inline constexpr char16_t ledgerFileName[] = u"gpmc.mdb";
inline constexpr char ledgerKey[] = "MiLor_427";

// The ledger file could not be opened or prepared. message() is a complete
// sentence for the user naming the file and the reason; the file is left as it was.
class LedgerOpenError : public std::runtime_error {
public:
    enum class Reason {
        NotALedger,     // not a database, another key, damaged, or foreign tables
        EmptyFile,      // zero bytes long
        ReadOnly,       // the file may not be written
        FolderReadOnly, // the folder may not be written (no journal, no new file)
        CannotCreate,   // a new file could not be made and seeded
        Failed,         // any other failure of the database engine
    };

    LedgerOpenError(Reason reason, const QString& message);
    Reason reason() const { return m_reason; }
    QString message() const { return m_message; }

private:
    Reason m_reason;
    QString m_message;
};

// The folder that holds the ledger: the program's own folder when it is writable
// or already holds a ledger file, otherwise `appDataDir`, which is created if needed.
QString ledgerFolder(const QString& programDir, const QString& appDataDir);

// The ledger file inside that folder.
QString ledgerPath(const QString& folder);

// Opens the ledger file, creating it when there is none, and creates and seeds
// whichever of its tables is missing (one transaction). An existing file that
// cannot be opened, read or written, or whose tables lack the ledger's columns,
// is never changed or re-created: that throws LedgerOpenError. A new file whose
// seeding fails is removed again, so the next start begins afresh.
sql::Database openLedger(const QString& path, const QList<SeedStock>& seedList);

} // namespace corvanta::ledger
