#pragma once

#include <sqlite3.h>

namespace corvanta::crash {

// Becomes SQLite's default file layer while it lives, passing every call on to the
// real one. Once armed, it numbers the calls that change a file (write, truncate,
// sync, delete) and kills the process with SIGKILL just before the chosen one, as
// a crash or a power cut would stop the program between two of them. Only for a
// child process that is meant to die.
class KillingVfs {
public:
    KillingVfs();
    KillingVfs(const KillingVfs&) = delete;
    KillingVfs& operator=(const KillingVfs&) = delete;
    ~KillingVfs();

    // Starts numbering; `killAt` is the 1-based call to die before, 0 for none.
    void arm(int killAt);
    // Calls that changed a file since arm().
    int changes() const { return m_changes; }

private:
    friend struct VfsCalls;
    void aboutToChange();

    sqlite3_vfs m_vfs{};
    sqlite3_vfs* m_real = nullptr;
    bool m_armed = false;
    int m_killAt = 0;
    int m_changes = 0;
};

} // namespace corvanta::crash
