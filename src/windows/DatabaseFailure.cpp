#include "DatabaseFailure.h"

#include "Prompter.h"
#include "ledger/sql/Database.h"

using namespace Qt::StringLiterals;

namespace corvanta::windows {

QString databaseFailureText(LedgerAccess access, const sql::Error& error)
{
    const QString lead =
        access == LedgerAccess::Write ? u"账本写入失败，未做任何更改："_s : u"账本读取失败："_s;
    return lead + u"\n"_s + error.message();
}

void showDatabaseFailure(Prompter& prompter, LedgerAccess access, const sql::Error& error)
{
    prompter.inform(databaseFailureText(access, error));
}

} // namespace corvanta::windows
