#include "LedgerOwnFiles.h"

#include "LedgerLock.h"
#include "SafetyCopies.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// The file a write to `path` would land in: links followed (a dangling one to
// the file it would create), and the folder's real path for a file not there yet.
QString realPath(const QString& path)
{
    QFileInfo info(QFileInfo(path).absoluteFilePath());
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info = QFileInfo(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

bool inside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + u'/'));
}

} // namespace

QString ledgerOwnFileReason(const QString& ledgerPath, const QString& target)
{
    const QString file = realPath(target);
    const QString ledger = realPath(ledgerPath);
    if (file == ledger)
        return u"这就是正在使用的账本文件"_s;
    for (const QString& journal : {u"-journal"_s, u"-wal"_s, u"-shm"_s}) {
        if (file == ledger + journal)
            return u"这是账本的日志文件，账本要靠它保持完整"_s;
    }
    if (file == ledger + u".lock"_s || file == realPath(LedgerLock::lockPath(ledgerPath)))
        return u"这是账本的锁定文件"_s;
    if (inside(file, realPath(SafetyCopies(ledgerPath).folder())))
        return u"安全备份文件夹中的文件只由程序自己写入"_s;
    return {};
}

} // namespace corvanta::ledger
