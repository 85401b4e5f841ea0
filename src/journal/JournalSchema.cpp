#include "JournalSchema.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

namespace corvanta::journal {

void upgradeJournalSchema(sql::Database& db)
{
    // An upgraded file is left alone, without even a write lock.
    if (ledger::tableExists(db, QStringLiteral("dxgp_reminder")))
        return;
    sql::Transaction transaction(db);
    // Dates are "yyyy-mm-dd" texts like the rest of the ledger; a NULL date or
    // level means none. 提醒频率: 0 on the date, 1 daily, 2 weekly.
    db.exec("CREATE TABLE IF NOT EXISTS dxgp_reminder ("
            "note_id INTEGER PRIMARY KEY,"
            "提醒日期 TEXT,"
            "提醒频率 INTEGER NOT NULL DEFAULT 0,"
            "提醒周期 TEXT,"
            "已提醒日期 TEXT,"
            "目标价 REAL,"
            "目标价基准 REAL,"
            "目标价已到 INTEGER NOT NULL DEFAULT 0,"
            "最高目标价 REAL,"
            "最高目标价基准 REAL,"
            "最高目标价已到 INTEGER NOT NULL DEFAULT 0)");
    transaction.commit();
}

} // namespace corvanta::journal
