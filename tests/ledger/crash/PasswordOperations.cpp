#include "CrashOperations.h"

#include "ledger/LedgerPassword.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Database.h"

#include <QDateTime>

namespace corvanta::crash {

namespace {

const QByteArray oldPassword = QByteArrayLiteral("old secret 旧");
const QByteArray newPassword = QByteArrayLiteral("new secret 新");

void someTradesUnderThePassword(sql::Database& db)
{
    someTrades(db);
    ledger::changeLedgerPassword(db, oldPassword);
}

} // namespace

std::vector<CrashOperation> passwordOperations()
{
    return {
        {"set a password",
         someTrades,
         [](sql::Database& db) { ledger::changeLedgerPassword(db, oldPassword); },
         {},
         {},
         oldPassword},
        {"change the password",
         someTradesUnderThePassword,
         [](sql::Database& db) { ledger::changeLedgerPassword(db, newPassword); },
         {},
         oldPassword,
         newPassword},
        {"remove the password",
         someTradesUnderThePassword,
         [](sql::Database& db) { ledger::changeLedgerPassword(db, {}); },
         {},
         oldPassword,
         {}},
        {"make a safety copy under a password", someTradesUnderThePassword,
         [](sql::Database& db) {
             ledger::SafetyCopies(db.path()).make(db, QDateTime::currentDateTime());
         },
         QStringLiteral("backups"), oldPassword, oldPassword},
    };
}

} // namespace corvanta::crash
