#pragma once

#include "sql/Database.h"

#include <QString>

#include <stdexcept>

namespace corvanta::ledger {

// A backup could not be written, or a file could not be read as one. message()
// is a complete sentence for the user naming the file and the reason.
class BackupError : public std::runtime_error {
public:
    explicit BackupError(const QString& message, bool keyRefused = false);
    QString message() const { return m_message; }
    // The key tried did not open a file that looks encrypted: a backup made under
    // another password may open with that password.
    bool keyRefused() const { return m_keyRefused; }

private:
    QString m_message;
    bool m_keyRefused = false;
};

// Writes a consistent copy of the open ledger to `target`, keyed as the ledger
// is. The copy is made beside the target under a temporary name and takes the
// target's name only when complete, so a failed copy leaves an existing file
// as it was. Refuses the ledger's own files (ledgerOwnFileReason). Throws
// BackupError.
void backupLedger(sql::Database& ledger, const QString& target);

// As backupLedger, for the program's own copies (which lie where backupLedger
// refuses to write), and never over an existing file: false when `target`
// exists, nothing written then.
bool backupLedgerAsNew(sql::Database& ledger, const QString& target);

// The hidden name a copy to `target` has until it is complete.
QString partialPath(const QString& target);

// Opens a backup read-only and checks that it opens with `key`, or failing that
// with the program's key (a backup made before the ledger had a password), and
// holds gpjl and gpmc with the ledger's columns. Throws BackupError.
sql::Database openBackup(const QString& path, const QByteArray& key = {});

} // namespace corvanta::ledger
