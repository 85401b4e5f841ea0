#pragma once

#include <QtGlobal>

#include <csignal>
#include <sys/resource.h>

namespace corvanta::testsupport {

// While it lives, no file of this process may grow past `bytes`: a write beyond
// fails as it would on a full disk, instead of ending the process with SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(bytes), m_saved.rlim_max};
        m_applied = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set; a test then proves nothing.
    bool applied() const { return m_applied; }

    // For a child process, between fork and exec (QProcess::setChildProcessModifier):
    // the child's writes past `bytes` fail.
    static void applyToThisProcess(qint64 bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
    bool m_applied = false;
};

} // namespace corvanta::testsupport
