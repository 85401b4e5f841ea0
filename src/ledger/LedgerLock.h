#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace corvanta::ledger {

// Keeps a second copy of the program off a ledger that a window has open: while
// acquired, a lock file beside the ledger ("gpmc.mdb.lock") names this process.
// A lock left by a process that no longer runs is taken over; a lock held by a
// running copy is never taken, however old it is.
class LedgerLock {
public:
    enum class Outcome {
        Acquired,      // this process holds the ledger until the lock goes
        HeldElsewhere, // another running copy has the ledger open
        Failed,        // the lock file could not be written (an unwritable folder)
    };

    explicit LedgerLock(const QString& ledgerPath);
    LedgerLock(LedgerLock&&) noexcept;
    LedgerLock& operator=(LedgerLock&&) noexcept;
    ~LedgerLock(); // releases the lock when held

    // Tries once, without waiting.
    Outcome acquire();
    // The text to show for an outcome other than Acquired.
    QString message(Outcome outcome) const;

    static QString lockPath(const QString& ledgerPath);

private:
    QString m_ledgerPath;
    std::unique_ptr<QLockFile> m_file;
};

} // namespace corvanta::ledger
