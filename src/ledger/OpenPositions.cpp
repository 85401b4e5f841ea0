#include "TradeLedger.h"

#include "StockRows.h"
#include "sql/Database.h"
#include "sql/Statement.h"

namespace corvanta::ledger {

void TradeLedger::rederiveOpenPositions(const QStringList& names)
{
    sql::Transaction transaction(m_db);
    QStringList done;
    for (const QString& name : names) {
        if (name.isNull() || done.contains(name))
            continue;
        rows::rederiveOpenPosition(m_db, name);
        done << name;
    }
    transaction.commit();
}

} // namespace corvanta::ledger
