#pragma once

#include <QString>

namespace corvanta::ledger {

// Keeps two users off one ledger at a time: a window and a command, or two of
// either. While acquired, this process holds an advisory lock (flock) on the lock
// file beside the ledger ("gpmc.mdb.lock"), so the operating system lets go when
// the holder ends in whatever way, a kill or a power cut included; an empty or
// left-over lock file locks nobody out. The lock follows the ledger's real file,
// so a second folder whose gpmc.mdb links to the same ledger is refused too.
// The holder writes who it is into the file, only to name it in the refusal.
class LedgerLock {
public:
    enum class Holder {
        Window,  // the program's window
        Command, // a command-line run
    };
    enum class Outcome {
        Acquired,      // this process holds the ledger until the lock goes
        HeldElsewhere, // another window or command has the ledger
        Failed,        // the lock file could not be written (an unwritable folder)
    };

    // `task` names a command ("backup") in the lock file; a window leaves it empty.
    LedgerLock(const QString& ledgerPath, Holder holder, const QString& task = {});
    LedgerLock(LedgerLock&& other) noexcept;
    LedgerLock& operator=(LedgerLock&& other) noexcept;
    LedgerLock(const LedgerLock&) = delete;
    LedgerLock& operator=(const LedgerLock&) = delete;
    ~LedgerLock(); // releases the lock when held

    // Tries once, without waiting.
    Outcome acquire();
    // The text to show for the last outcome other than Acquired: who holds the
    // ledger (as its lock file says) and the lock file's path.
    QString message(Outcome outcome) const;

    // The lock file of the ledger at `ledgerPath`: beside the ledger's real file
    // when the path is a link.
    static QString lockPath(const QString& ledgerPath);

private:
    void release();

    QString m_ledgerPath;
    Holder m_holder;
    QString m_task;
    QString m_lockPath;
    int m_fd = -1;
    QByteArray m_otherHolder; // what the lock file said when it was held elsewhere
};

} // namespace corvanta::ledger
