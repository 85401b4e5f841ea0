#include "LedgerLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool sameFile(int fd, const QByteArray& path)
{
    struct stat open {};
    struct stat named {};
    return fstat(fd, &open) == 0 && stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

QByteArray contentsOf(int fd)
{
    char buffer[512];
    const ssize_t size = pread(fd, buffer, sizeof buffer, 0);
    return size > 0 ? QByteArray(buffer, size) : QByteArray();
}

} // namespace

LedgerLock::LedgerLock(const QString& ledgerPath, Holder holder, const QString& task)
    : m_ledgerPath(ledgerPath), m_holder(holder), m_task(task), m_lockPath(lockPath(ledgerPath))
{
}

LedgerLock::LedgerLock(LedgerLock&& other) noexcept
    : m_ledgerPath(std::move(other.m_ledgerPath)), m_holder(other.m_holder),
      m_task(std::move(other.m_task)), m_lockPath(std::move(other.m_lockPath)),
      m_fd(std::exchange(other.m_fd, -1)), m_otherHolder(std::move(other.m_otherHolder))
{
}

LedgerLock& LedgerLock::operator=(LedgerLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_ledgerPath = std::move(other.m_ledgerPath);
        m_holder = other.m_holder;
        m_task = std::move(other.m_task);
        m_lockPath = std::move(other.m_lockPath);
        m_fd = std::exchange(other.m_fd, -1);
        m_otherHolder = std::move(other.m_otherHolder);
    }
    return *this;
}

LedgerLock::~LedgerLock()
{
    release();
}

void LedgerLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so nobody locks the old file after it is gone.
    unlink(QFile::encodeName(m_lockPath).constData());
    close(m_fd);
    m_fd = -1;
}

LedgerLock::Outcome LedgerLock::acquire()
{
    if (m_fd >= 0)
        return Outcome::Acquired;
    // The ledger may have been created since: its real path counts now.
    m_lockPath = lockPath(m_ledgerPath);
    const QByteArray path = QFile::encodeName(m_lockPath);
    // A holder that lets go removes the file; a lock taken on the removed file
    // would hold nothing, so the file is opened again until the lock is on the one
    // that the path names.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return Outcome::Failed;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            m_otherHolder = contentsOf(fd);
            close(fd);
            return error == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Failed;
        }
        if (!sameFile(fd, path)) {
            close(fd);
            continue;
        }
        QByteArray holder = m_holder == Holder::Window ? "window\n" : "command\n";
        holder += QByteArray::number(qint64(getpid())) + '\n' + m_task.toUtf8() + '\n';
        // Only for the refusal's text: a holder that cannot write it still holds.
        const bool named =
            ftruncate(fd, 0) == 0 && pwrite(fd, holder.constData(), holder.size(), 0) > 0;
        Q_UNUSED(named);
        m_fd = fd;
        return Outcome::Acquired;
    }
    return Outcome::Failed;
}

QString LedgerLock::message(Outcome outcome) const
{
    const QString ledger = shown(m_ledgerPath);
    const QString lockFile = u"\n锁定文件："_s + shown(m_lockPath);
    switch (outcome) {
    case Outcome::Acquired:
        return {};
    case Outcome::HeldElsewhere: {
        const QList<QByteArray> lines = m_otherHolder.split('\n');
        const QByteArray kind = lines.value(0);
        if (kind == "window") {
            return (m_holder == Holder::Window
                        ? u"账本已在另一个窗口中打开：\n"_s
                        : u"账本正由运行中的窗口使用，请先关闭窗口再运行命令：\n"_s) +
                   ledger + lockFile;
        }
        if (kind == "command") {
            const QString task = QString::fromUtf8(lines.value(2)).trimmed();
            return (task.isEmpty() ? u"账本正由另一个命令使用"_s
                                   : u"账本正由命令 "_s + task + u" 使用"_s) +
                   u"，请等它结束后再试：\n"_s + ledger + lockFile;
        }
        // The holder has locked but not yet said who it is.
        return u"账本正由另一个窗口或命令使用，请稍后再试：\n"_s + ledger + lockFile;
    }
    case Outcome::Failed:
        return u"无法在账本文件所在的文件夹“"_s + shown(QFileInfo(m_lockPath).absolutePath()) +
               u"”中建立锁定文件，无法确认账本没有在另一个窗口中打开：\n"_s + ledger + lockFile;
    }
    return {};
}

QString LedgerLock::lockPath(const QString& ledgerPath)
{
    const QFileInfo ledger(ledgerPath);
    const QString real = ledger.canonicalFilePath();
    return (real.isEmpty() ? ledger.absoluteFilePath() : real) + u".lock"_s;
}

} // namespace corvanta::ledger
