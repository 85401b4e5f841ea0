#include "CrashOperations.h"

#include "../LedgerTestSupport.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerRestore.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Database.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace corvanta::crash {

namespace {

QString besideLedger(sql::Database& db, const QString& name)
{
    return QFileInfo(db.path()).absolutePath() + u'/' + name;
}

// The file a restore reads: another ledger, with a statement's trades only.
QString restoreSource(sql::Database& db)
{
    return besideLedger(db, QStringLiteral("restore-source.mdb"));
}

void someTradesAndARestoreSource(sql::Database& db)
{
    someTrades(db);
    sql::Database source = ledger::openLedger(restoreSource(db), ledger::testing::tinySeedList());
    importedStatement(source, true);
}

// As the backup window restores: the source is read and a safety copy made
// first, then the rows are copied a slice at a time.
void restored(sql::Database& db)
{
    ledger::LedgerRestore restore(db, restoreSource(db));
    ledger::SafetyCopies(db.path()).make(db, QDateTime::currentDateTime());
    while (!restore.atEnd())
        restore.copyNext(25);
    restore.finish();
}

} // namespace

std::vector<CrashOperation> copyOperations()
{
    return {
        {"back up the ledger", someTrades,
         [](sql::Database& db) {
             const QString folder = besideLedger(db, QStringLiteral("backup"));
             QDir().mkpath(folder);
             ledger::backupLedger(db, folder + QStringLiteral("/gpmc.mdb"));
         },
         QStringLiteral("backup")},
        {"make a safety copy", someTrades,
         [](sql::Database& db) {
             ledger::SafetyCopies(db.path()).make(db, QDateTime::currentDateTime());
         },
         QStringLiteral("backups")},
        {"import a statement after a safety copy", someTrades,
         [](sql::Database& db) {
             ledger::SafetyCopies(db.path()).make(db, QDateTime::currentDateTime());
             importedStatement(db, false);
         },
         QStringLiteral("backups")},
        {"restore a backup", someTradesAndARestoreSource, restored, QStringLiteral("backups")},
    };
}

} // namespace corvanta::crash
