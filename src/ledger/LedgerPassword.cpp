#include "LedgerPassword.h"

#include "LedgerFile.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

PasswordChangeError failedBecause(const QString& detail)
{
    return PasswordChangeError(u"账本密码没有改动（"_s + detail +
                               u"）。账本仍然用原来的密码或密钥加密。"_s);
}

void removeFile(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + u"-journal"_s);
}

// Writes every table of the ledger into a new file keyed with `key`.
void exportTo(sql::Database& ledger, const QString& target, const QByteArray& key)
{
    // The ledger's connection may not create files: the new one starts empty, with
    // the ledger's permissions, which it keeps when it takes the ledger's place.
    QFile empty(target);
    if (!empty.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw failedBecause(empty.errorString());
    empty.close();
    QFile::setPermissions(target, QFile::permissions(ledger.path()));
    auto attach = ledger.prepare("ATTACH ?1 AS rekeyed KEY ?2");
    attach.bind(1, target).bindBytes(2, key);
    attach.run();
    try {
        {
            sql::Transaction transaction(ledger);
            auto exported = ledger.prepare("SELECT sqlcipher_export('rekeyed')");
            exported.step();
            transaction.commit();
        }
        ledger.exec("DETACH rekeyed");
    } catch (...) {
        try {
            ledger.exec("DETACH rekeyed");
        } catch (const sql::Error&) {
        }
        throw;
    }
}

QStringList tablesOf(sql::Database& db)
{
    QStringList tables;
    auto query = db.prepare("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    while (query.step())
        tables << query.text(0);
    return tables;
}

// The ledger's own tables, each counted by a statement of its own: a table's
// name cannot be a bound parameter, and no statement is built from a name read
// out of the file.
struct CountedTable {
    const char16_t* name;
    const char* count;
};
constexpr CountedTable countedTables[] = {
    {u"gpjl", "SELECT count(*) FROM gpjl"},
    {u"gpmc", "SELECT count(*) FROM gpmc"},
    {u"dxgp", "SELECT count(*) FROM dxgp"},
    {u"dxgp_reminder", "SELECT count(*) FROM dxgp_reminder"},
};

// Reads the new file back with the new key: it must be intact and hold every
// table of the ledger with as many rows.
void verify(sql::Database& ledger, const QString& target, const QByteArray& key)
{
    sql::Database copy = sql::Database::open(target, key, sql::Database::Mode::ReadOnly);
    auto check = copy.prepare("PRAGMA integrity_check");
    if (!check.step() || check.text(0) != u"ok"_s)
        throw failedBecause(u"新文件检查未通过"_s);
    const QStringList tables = tablesOf(ledger);
    if (tablesOf(copy) != tables)
        throw failedBecause(u"新文件的表与账本不符"_s);
    for (const CountedTable& table : countedTables) {
        const QString name = QString::fromUtf16(table.name);
        if (tables.contains(name) && copy.scalarInt(table.count) != ledger.scalarInt(table.count))
            throw failedBecause(u"新文件中表 "_s + name + u" 的行数与账本不符"_s);
    }
}

bool syncPath(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

PasswordChangeError::PasswordChangeError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

bool hasPersonalPassword(const sql::Database& ledger)
{
    return ledger.key() != QByteArrayView(ledgerKey);
}

QString newPasswordRefusal(const QByteArray& password, const QByteArray& repeated)
{
    if (password.isEmpty())
        return u"密码不能是空的。"_s;
    if (password != repeated)
        return u"两次输入的密码不一样，密码没有改动。"_s;
    if (password == QByteArrayView(ledgerKey))
        return u"这是程序自带的密钥，不能用作个人密码，请换一个。"_s;
    return {};
}

void changeLedgerPassword(sql::Database& ledger, const QByteArray& newPassword)
{
    const QByteArray key = newPassword.isEmpty() ? QByteArray(ledgerKey) : newPassword;
    const QString path = ledger.path();
    const QFileInfo info(path);
    const QString fresh = info.absolutePath() + u"/."_s + info.fileName() + u".rekey"_s;
    // What a crash left of an earlier change is never the ledger: start afresh.
    removeFile(fresh);
    try {
        exportTo(ledger, fresh, key);
        verify(ledger, fresh, key);
    } catch (const sql::Error& error) {
        removeFile(fresh);
        throw failedBecause(error.message());
    } catch (...) {
        removeFile(fresh);
        throw;
    }
    if (!syncPath(fresh, O_RDONLY)) {
        removeFile(fresh);
        throw failedBecause(u"无法把新文件写到磁盘"_s);
    }
    // rename() replaces the ledger in one step: no moment without a whole file.
    if (std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) !=
        0) {
        removeFile(fresh);
        throw failedBecause(u"无法替换账本文件“"_s + shown(path) + u"”"_s);
    }
    syncPath(info.absolutePath(), O_RDONLY | O_DIRECTORY);
    ledger = openLedger(path, {}, key);
}

namespace passwordTexts {

QString noRecovery()
{
    return u"账本密码没有提示，也无法找回：忘记了它，账本和用它加密的备份就再也打不开。"
           "请输入两遍。"_s;
}

QString askAtStart(const QString& ledgerPath)
{
    return u"账本文件“"_s + shown(ledgerPath) + u"”设有密码，请输入密码："_s;
}

QString askForBackup(const QString& backupPath)
{
    return u"备份文件“"_s + shown(backupPath) +
           u"”不能用账本现在的密码打开，它可能是在另一个密码下做的。请输入那个密码："_s;
}

QString set()
{
    return u"账本密码已设置。以后打开账本、恢复这以后的备份都要输入它。"_s;
}

QString changed()
{
    return u"账本密码已更改。"_s;
}

QString removed()
{
    return u"账本密码已去掉，账本改用程序自带的密钥加密。"_s;
}

} // namespace passwordTexts

} // namespace corvanta::ledger
