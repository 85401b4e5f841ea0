#include "SafetyCopies.h"

#include "LedgerBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

const QString prefix = u"gpmc-"_s;
const QString suffix = u".mdb"_s;

// The time of the copy and its number within that second (1 for the first).
std::optional<std::pair<QString, int>> order(const QString& name)
{
    static const QRegularExpression pattern(
        u"^gpmc-([0-9]{8}-[0-9]{6})(?:-([0-9]{1,6}))?\\.mdb$"_s);
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const int number = match.hasCaptured(2) ? match.captured(2).toInt() : 1;
    return std::pair{match.captured(1), number};
}

} // namespace

SafetyCopies::SafetyCopies(const QString& ledgerPath)
    : m_folder(QFileInfo(ledgerPath).absolutePath() + u"/backups"_s)
{
}

QStringList SafetyCopies::copies() const
{
    QList<std::pair<std::pair<QString, int>, QString>> found;
    for (const QString& name : QDir(m_folder).entryList({prefix + u'*' + suffix}, QDir::Files)) {
        if (const auto key = order(name))
            found.append({*key, name});
    }
    std::sort(found.begin(), found.end());
    QStringList paths;
    for (const auto& copy : found)
        paths << m_folder + u'/' + copy.second;
    return paths;
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
    removeLeftovers();
    const QString time = now.toString(u"yyyyMMdd-HHmmss"_s);
    const QString stamp = m_folder + u'/' + prefix + time;
    // After every copy of that second, so that the newest is always last.
    int after = 0;
    for (const QString& copy : copies()) {
        if (const auto key = order(QFileInfo(copy).fileName()); key && key->first == time)
            after = std::max(after, key->second);
    }
    QString path;
    for (int number = after + 1;; ++number) {
        path = stamp + (number == 1 ? QString() : u'-' + QString::number(number)) + suffix;
        if (!QFileInfo::exists(path) && backupLedgerAsNew(ledger, path))
            break;
        if (number > 100000)
            throw BackupError(u"安全备份文件夹“"_s + QDir::toNativeSeparators(m_folder) +
                              u"”中这一秒的备份太多。"_s);
    }
    QStringList present = copies();
    while (present.size() > kept)
        QFile::remove(present.takeFirst());
    return path;
}

void SafetyCopies::drop(const QString& copy) const
{
    QFile::remove(copy);
}

void SafetyCopies::removeLeftovers() const
{
    const QDir folder(m_folder);
    for (const QString& name :
         folder.entryList({u"."_s + prefix + u"*.part*"_s}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(name));
}

} // namespace corvanta::ledger
