// Restoring a backup of 10,000 trades and 7,000 stocks into a ledger: opening
// and checking the backup, reading its rows, replacing gpjl and gpmc and
// committing. Target: under 0.5 s.

#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerRestore.h"
#include "ledger/sql/Statement.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace corvanta;

namespace {

QList<ledger::SeedStock> stocks(int count)
{
    QList<ledger::SeedStock> list;
    for (int i = 0; i < count; ++i)
        list.append({QString::number(600000 + i), QStringLiteral("股票") + QString::number(i),
                     QStringLiteral("GP")});
    return list;
}

void fillTrades(sql::Database& db, int count)
{
    sql::Transaction transaction(db);
    auto insert = db.prepare("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,"
                             "总金额,盈亏金额,印花税,佣金,过户费等,其它费用) "
                             "VALUES (?1,?2,?3,'买入',100,10.5,7.5,1057.5,-1057.5,1,5,1,0.5)");
    for (int i = 0; i < count; ++i) {
        insert.bind(1, QStringLiteral("2008-01-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')))
            .bind(2, QString::number(600000 + i % 7000))
            .bind(3, QStringLiteral("股票") + QString::number(i % 7000));
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

void restoreLargeBackup(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString backup = dir.path() + QStringLiteral("/copy.mdb");
    {
        sql::Database source =
            ledger::openLedger(dir.path() + QStringLiteral("/source.mdb"), stocks(7000));
        fillTrades(source, 10000);
        ledger::backupLedger(source, backup);
    }
    sql::Database ledger = ledger::openLedger(dir.path() + QStringLiteral("/gpmc.mdb"), stocks(10));
    for (auto _ : state) {
        ledger::LedgerRestore restore(ledger, backup);
        while (!restore.atEnd())
            restore.copyNext(500);
        restore.finish();
        benchmark::DoNotOptimize(restore.tradeCount());
    }
}
BENCHMARK(restoreLargeBackup)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
