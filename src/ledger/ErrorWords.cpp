#include "ErrorWords.h"

#include "sql/Database.h"

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// SQLite's primary result codes met with files.
constexpr int ioError = 10;    // SQLITE_IOERR
constexpr int cannotOpen = 14; // SQLITE_CANTOPEN

QString withDetail(const QString& words, const QString& detail)
{
    return detail.isEmpty() ? words : words + u"（"_s + detail + u"）"_s;
}

} // namespace

QString errorInWords(const sql::Error& error)
{
    switch (error.kind()) {
    case sql::Error::Kind::Full:
        return withDetail(u"磁盘已满"_s, error.message());
    case sql::Error::Kind::ReadOnly:
        return withDetail(u"文件或文件夹不允许写入"_s, error.message());
    case sql::Error::Kind::Busy:
        return withDetail(u"账本正被其他程序使用"_s, error.message());
    case sql::Error::Kind::Corrupt:
        return withDetail(u"文件已经损坏"_s, error.message());
    case sql::Error::Kind::NotADatabase:
        return withDetail(u"不是本程序的数据库，或者密码不符"_s, error.message());
    case sql::Error::Kind::Other:
        break;
    }
    switch (error.code() & 0xff) {
    case ioError:
        return withDetail(u"读写磁盘时出错"_s, error.message());
    case cannotOpen:
        return withDetail(u"无法打开数据库文件"_s, error.message());
    default:
        break;
    }
    // A refusal in the program's own words stays as it is; SQLite's English is
    // given a reason in words first.
    const QString message = error.message();
    for (const QChar c : message) {
        if (c.unicode() > 0x7f)
            return message;
    }
    return withDetail(u"数据库出错"_s, message);
}

bool isFileError(const sql::Error& error)
{
    if (error.kind() != sql::Error::Kind::Other)
        return true;
    const int primary = error.code() & 0xff;
    return primary == ioError || primary == cannotOpen;
}

QString fileErrorInWords(int errorNumber)
{
    QString words;
    switch (errorNumber) {
    case ENOENT:
        words = u"找不到这个文件"_s;
        break;
    case EACCES:
    case EPERM:
        words = u"没有读取这个文件的权限"_s;
        break;
    case EISDIR:
        words = u"这是一个文件夹，不是文件"_s;
        break;
    case ENOSPC:
        words = u"磁盘已满"_s;
        break;
    case EIO:
        words = u"读写磁盘时出错"_s;
        break;
    default:
        words = u"无法读取这个文件"_s;
        break;
    }
    return withDetail(words, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

} // namespace corvanta::ledger
