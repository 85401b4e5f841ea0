#include "Backup.h"

#include "Database.h"

#include <sqlite3.h>

namespace corvanta::sql {

void copyDatabase(Database& source, Database& target)
{
    // Pages are copied as they are: between a plain and an encrypted file they do
    // not fit, and the copy would write past them.
    if (source.isEncrypted() != target.isEncrypted())
        throw Error(SQLITE_MISMATCH, QStringLiteral("一个文件加密而另一个没有，无法复制"));
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup) {
        const int code = sqlite3_errcode(target.handle());
        throw Error(code, QString::fromUtf8(sqlite3_errmsg(target.handle())));
    }
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        throw Error(stepped, QString::fromUtf8(sqlite3_errstr(stepped)));
    if (finished != SQLITE_OK)
        throw Error(finished, QString::fromUtf8(sqlite3_errmsg(target.handle())));
}

} // namespace corvanta::sql
