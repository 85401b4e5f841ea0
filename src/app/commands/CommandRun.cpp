#include "Command.h"

#include "app/CommandLine.h"
#include "ledger/LedgerBackup.h"
#include "ledger/SafetyCopies.h"

#include <QDateTime>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString inWords(sql::Error::Kind kind, const QString& detail)
{
    QString reason;
    switch (kind) {
    case sql::Error::Kind::Full:
        reason = u"磁盘已满"_s;
        break;
    case sql::Error::Kind::ReadOnly:
        reason = u"账本文件或它的文件夹不允许写入"_s;
        break;
    case sql::Error::Kind::Busy:
        reason = u"账本正被其他程序使用"_s;
        break;
    case sql::Error::Kind::Corrupt:
        reason = u"账本文件已损坏"_s;
        break;
    case sql::Error::Kind::NotADatabase:
        reason = u"文件不是数据库，或者密码不符"_s;
        break;
    case sql::Error::Kind::Other:
        reason = u"数据库出错"_s;
        break;
    }
    return detail.isEmpty() ? reason : reason + u"（"_s + detail + u"）"_s;
}

QString inWords(const sql::Error& error)
{
    constexpr int ioError = 10; // SQLITE_IOERR, whatever the extended code
    if ((error.code() & 0xff) == ioError)
        return u"读写磁盘出错，磁盘可能已满（"_s + error.message() + u"）"_s;
    return inWords(error.kind(), error.message());
}

QString inWords(QFileDevice::FileError error, const QString& detail)
{
    QString reason;
    switch (error) {
    case QFileDevice::ReadError:
        reason = u"读取出错"_s;
        break;
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        reason = u"写入出错（磁盘可能已满）"_s;
        break;
    case QFileDevice::PermissionsError:
        reason = u"没有权限"_s;
        break;
    default:
        reason = u"无法打开文件"_s;
        break;
    }
    return detail.isEmpty() ? reason : reason + u"（"_s + detail + u"）"_s;
}

CommandRun::CommandRun(sql::Database& ledger, const QString& path, const QCommandLineParser& given,
                       QTextStream& output, QTextStream& errors)
    : db(ledger), ledgerPath(path), words(given), out(output), err(errors)
{
}

int CommandRun::fail(const QString& text)
{
    err << text << '\n';
    return CommandFailed;
}

int CommandRun::misused(const QString& text)
{
    err << text << '\n';
    return CommandMisused;
}

std::optional<QString> CommandRun::safetyCopy()
{
    try {
        const QString copy =
            ledger::SafetyCopies(ledgerPath).make(db, QDateTime::currentDateTime());
        out << u"安全备份："_s << shown(copy) << '\n';
        return copy;
    } catch (const ledger::BackupError& error) {
        fail(u"无法建立安全备份，没有改动账本："_s + error.message());
        return std::nullopt;
    }
}

void CommandRun::dropSafetyCopy(const QString& copy)
{
    ledger::SafetyCopies(ledgerPath).drop(copy);
    out << u"账本没有改动，安全备份已删除。"_s << '\n';
}

} // namespace corvanta::app::commands
