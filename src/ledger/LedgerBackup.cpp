#include "LedgerBackup.h"

#include "LedgerFile.h"
#include "Schema.h"
#include "sql/Backup.h"
#include "sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

BackupError copyFailed(const QString& target, const QString& reason)
{
    return BackupError(u"无法备份到“"_s + shown(target) + u"”："_s + reason + u"。"_s);
}

QString reasonOf(const sql::Error& error)
{
    switch (error.kind()) {
    case sql::Error::Kind::Full:
        return u"磁盘已满"_s;
    case sql::Error::Kind::ReadOnly:
        return u"目标文件或文件夹不允许写入"_s;
    case sql::Error::Kind::Busy:
        return u"目标文件正被其他程序使用"_s;
    default:
        return error.message();
    }
}

BackupError notABackup(const QString& path, const QString& detail, bool keyRefused = false)
{
    return BackupError(u"“"_s + shown(path) + u"”不是本程序的备份文件（"_s + detail +
                           u"）。账本没有任何改动。"_s,
                       keyRefused);
}

sql::Database openChecked(const QString& path, const QByteArray& key)
{
    try {
        sql::Database db = sql::Database::open(path, key, sql::Database::Mode::ReadOnly);
        requireTradeTables(db);
        return db;
    } catch (const ForeignTableError& error) {
        throw notABackup(path, u"表 "_s + error.table() + u" 缺少列 "_s +
                                   error.missingColumns().join(u'、'));
    } catch (const sql::Error& error) {
        if (error.kind() == sql::Error::Kind::NotADatabase)
            throw notABackup(path, u"不是数据库，或者密码不符"_s, looksEncrypted(path));
        throw notABackup(path, error.message());
    }
}

} // namespace

BackupError::BackupError(const QString& message, bool keyRefused)
    : std::runtime_error(message.toStdString()), m_message(message), m_keyRefused(keyRefused)
{
}

void backupLedger(sql::Database& ledger, const QString& target)
{
    const QFileInfo info(target);
    if (info.isDir())
        throw copyFailed(target, u"这是一个文件夹"_s);
    if (!QFileInfo(info.absolutePath()).isDir())
        throw copyFailed(target, u"文件夹不存在"_s);
    if (info.exists() && !info.isWritable())
        throw copyFailed(target, u"目标文件是只读的"_s);
    if (QFileInfo(ledger.path()).canonicalFilePath() == info.canonicalFilePath())
        throw copyFailed(target, u"这就是正在使用的账本文件"_s);

    const QString partial = info.absolutePath() + u"/."_s + info.fileName() + u".part"_s;
    QFile::remove(partial);
    try {
        // Keyed as the ledger is now: a personal password protects its copies too.
        sql::Database copy =
            sql::Database::open(partial, ledger.key(), sql::Database::Mode::ReadWriteCreate);
        sql::copyDatabase(ledger, copy);
    } catch (const sql::Error& error) {
        QFile::remove(partial);
        QFile::remove(partial + u"-journal"_s);
        throw copyFailed(target, reasonOf(error));
    }
    std::error_code code;
    std::filesystem::rename(partial.toStdString(), info.absoluteFilePath().toStdString(), code);
    if (code) {
        QFile::remove(partial);
        throw copyFailed(target, QString::fromStdString(code.message()));
    }
}

sql::Database openBackup(const QString& path, const QByteArray& key)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw BackupError(u"找不到备份文件“"_s + shown(path) + u"”。账本没有任何改动。"_s);
    if (info.size() == 0)
        throw notABackup(path, u"文件是空的"_s);
    // A backup made before the ledger had its password is keyed with the program's key.
    const QByteArray programKey(ledgerKey);
    if (!key.isEmpty() && key != programKey) {
        try {
            return openChecked(path, key);
        } catch (const BackupError& error) {
            if (!error.keyRefused())
                throw;
        }
    }
    return openChecked(path, programKey);
}

} // namespace corvanta::ledger
