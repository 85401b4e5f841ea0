#include "LedgerBackup.h"

#include "ErrorWords.h"
#include "LedgerFile.h"
#include "LedgerOwnFiles.h"
#include "Schema.h"
#include "sql/Backup.h"
#include "sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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
    constexpr int ioError = 10; // SQLITE_IOERR, whatever the extended code
    if ((error.code() & 0xff) == ioError)
        return u"读写磁盘出错，磁盘可能已满（"_s + error.message() + u"）"_s;
    switch (error.kind()) {
    case sql::Error::Kind::Full:
        return u"磁盘已满"_s;
    case sql::Error::Kind::ReadOnly:
        return u"目标文件或文件夹不允许写入"_s;
    case sql::Error::Kind::Busy:
        return u"目标文件正被其他程序使用"_s;
    default:
        return errorInWords(error);
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
        throw notABackup(path, error.reason());
    } catch (const sql::Error& error) {
        if (error.kind() == sql::Error::Kind::NotADatabase)
            throw notABackup(path, u"不是数据库，或者密码不符"_s, looksEncrypted(path));
        if (!QFileInfo(path).isReadable())
            throw BackupError(u"无法读取备份文件“"_s + shown(path) + u"”："_s +
                              fileErrorInWords(EACCES) + u"。账本没有任何改动。"_s);
        throw notABackup(path, errorInWords(error));
    }
}

} // namespace

BackupError::BackupError(const QString& message, bool keyRefused)
    : std::runtime_error(message.toStdString()), m_message(message), m_keyRefused(keyRefused)
{
}

namespace {

// Copies the ledger to a hidden file beside `target`, then gives it the target's
// name: replacing an existing file, or, with `replace` false, only when there is
// none (false then, and nothing is left behind).
bool copyLedger(sql::Database& ledger, const QString& target, bool replace)
{
    const QFileInfo info(target);
    if (info.isDir())
        throw copyFailed(target, u"这是一个文件夹"_s);
    if (!QFileInfo(info.absolutePath()).isDir())
        throw copyFailed(target, u"文件夹不存在"_s);
    if (info.exists() && !info.isWritable())
        throw copyFailed(target, u"目标文件是只读的"_s);

    const QString partial = partialPath(target);
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
    const QByteArray from = QFile::encodeName(partial);
    const QByteArray to = QFile::encodeName(info.absoluteFilePath());
    // link() never replaces a file: the name is taken only when it is free.
    const int result = replace ? ::rename(from.constData(), to.constData())
                               : ::link(from.constData(), to.constData());
    const int error = errno;
    if (result != 0 || !replace)
        QFile::remove(partial);
    if (result != 0 && !replace && error == EEXIST)
        return false;
    if (result != 0)
        throw copyFailed(target, fileErrorInWords(error));
    return true;
}

} // namespace

QString partialPath(const QString& target)
{
    const QFileInfo info(target);
    return info.absolutePath() + u"/."_s + info.fileName() + u".part"_s;
}

void backupLedger(sql::Database& ledger, const QString& target)
{
    if (const QString reason = ledgerOwnFileReason(ledger.path(), target); !reason.isEmpty())
        throw copyFailed(target, reason);
    copyLedger(ledger, target, true);
}

bool backupLedgerAsNew(sql::Database& ledger, const QString& target)
{
    return copyLedger(ledger, target, false);
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
