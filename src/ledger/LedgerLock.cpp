#include "LedgerLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

LedgerLock::LedgerLock(const QString& ledgerPath)
    : m_ledgerPath(ledgerPath), m_file(std::make_unique<QLockFile>(lockPath(ledgerPath)))
{
    // A copy may keep the ledger open for days: only a holder that no longer
    // runs makes a lock stale, never its age.
    m_file->setStaleLockTime(0);
}

LedgerLock::LedgerLock(LedgerLock&&) noexcept = default;
LedgerLock& LedgerLock::operator=(LedgerLock&&) noexcept = default;
LedgerLock::~LedgerLock() = default;

LedgerLock::Outcome LedgerLock::acquire()
{
    if (m_file->isLocked() || m_file->tryLock(0))
        return Outcome::Acquired;
    return m_file->error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere : Outcome::Failed;
}

QString LedgerLock::message(Outcome outcome) const
{
    const QString shown = QDir::toNativeSeparators(m_ledgerPath);
    switch (outcome) {
    case Outcome::Acquired:
        return {};
    case Outcome::HeldElsewhere:
        return u"账本已在另一个窗口中打开：\n"_s + shown;
    case Outcome::Failed:
        return u"无法在账本文件所在的文件夹“"_s +
               QDir::toNativeSeparators(QFileInfo(m_ledgerPath).absolutePath()) +
               u"”中建立锁定文件，无法确认账本没有在另一个窗口中打开：\n"_s + shown;
    }
    return {};
}

QString LedgerLock::lockPath(const QString& ledgerPath)
{
    return ledgerPath + u".lock"_s;
}

} // namespace corvanta::ledger
