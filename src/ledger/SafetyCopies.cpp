#include "SafetyCopies.h"

#include "LedgerBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

const QString prefix = u"gpmc-"_s;
const QString suffix = u".mdb"_s;
const QString digit = u"[0-9]"_s;

} // namespace

SafetyCopies::SafetyCopies(const QString& ledgerPath)
    : m_folder(QFileInfo(ledgerPath).absolutePath() + u"/backups"_s)
{
}

QStringList SafetyCopies::copies() const
{
    // The names hold the time, so their order is the copies' order.
    QStringList names = QDir(m_folder).entryList(
        {prefix + digit.repeated(8) + u'-' + digit.repeated(6) + suffix}, QDir::Files, QDir::Name);
    for (QString& name : names)
        name = m_folder + u'/' + name;
    return names;
}

bool SafetyCopies::dueOn(const QDate& day) const
{
    const QString stamp = prefix + day.toString(u"yyyyMMdd"_s);
    for (const QString& path : copies()) {
        if (QFileInfo(path).fileName().startsWith(stamp))
            return false;
    }
    return true;
}

QString SafetyCopies::make(sql::Database& ledger, const QDateTime& now) const
{
    if (!QDir().mkpath(m_folder))
        throw BackupError(u"无法建立安全备份文件夹“"_s + QDir::toNativeSeparators(m_folder) +
                          u"”。"_s);
    QString path = m_folder + u'/' + prefix + now.toString(u"yyyyMMdd-HHmmss"_s) + suffix;
    backupLedger(ledger, path);
    QStringList present = copies();
    while (present.size() > kept)
        QFile::remove(present.takeFirst());
    return path;
}

} // namespace corvanta::ledger
