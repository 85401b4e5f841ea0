#include "report/MonitorGridUpdate.h"
#include "report/MonitorTableModel.h"
#include "report/TickerRotation.h"

#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace corvanta;
using namespace corvanta::report;
using namespace Qt::StringLiterals;

namespace {

constexpr int stockCount = 200;

QString stockCode(int stock)
{
    static const QString prefixes[] = {u"600"_s, u"000"_s, u"300"_s};
    return prefixes[stock % 3] + QString::number(stock).rightJustified(3, u'0');
}

QString stockName(int stock)
{
    return u"股票"_s + QString::number(stock);
}

// An encrypted ledger file with 200 monitored stocks, each bought twice, partly
// sold and still held, and the monitor's scratch tables built from it.
struct MonitoredLedger {
    QTemporaryDir dir;
    sql::Database db;

    MonitoredLedger()
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        QList<ledger::SeedStock> seeds{{u"000000"_s, u"无名股票"_s, u"WMGP"_s}};
        for (int i = 0; i < stockCount; ++i)
            seeds.append({stockCode(i), stockName(i), u"GP"_s});
        ledger::ensureSchema(db, seeds);
        sql::Transaction transaction(db);
        auto insert = db.prepare(
            "INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态) VALUES ('2026-12-01',?1,?2,?3,?4,?5,5,?6,0,?7,'是')");
        for (int i = 0; i < stockCount; ++i) {
            const struct {
                const char16_t* state;
                qint64 quantity;
                bool open;
            } rows[] = {{u"买入", 1000, false},
                        {u"买入", 500, false},
                        {u"卖出", 700, false},
                        {u"卖出", 800, true}};
            for (const auto& row : rows) {
                insert.reset();
                insert.bind(1, stockCode(i)).bind(2, stockName(i)).bind(3, row.state);
                insert.bind(4, row.quantity).bind(5, 10.0 + i % 7);
                insert.bind(6, row.quantity * (10.0 + i % 7)).bind(7, row.open ? u"真" : u"假");
                insert.run();
            }
        }
        const QList<StockFigures> figures = buildScratchTables(db, SummaryScope::MonitoredStocks);
        const MonitorGridUpdate first = updateMonitorGrid(monitorStocks(figures), {}, fees(),
                                                          MonitorPass::Initial, {}, u"not"_s);
        storeFigures(db, first.stored);
        transaction.commit();
        grid = first.grid;
    }

    static FeeSnapshot fees()
    {
        FeeSnapshot s;
        s.quantity = u"1000"_s;
        s.price = u"10"_s;
        s.stampRate = u"1"_s;
        s.commissionRate = u"3"_s;
        s.otherFee = u"5"_s;
        s.direction = Direction::Sell;
        return s;
    }

    MonitorGrid grid;
};

// The record lines a cycle fetched: one per stock.
QStringList cycleLines(int cycle)
{
    QStringList lines;
    for (int i = 0; i < stockCount; ++i)
        lines << stockCode(i) + u",2026-12-10,10:"_s + QString::number(10 + cycle % 40) +
                     u":00,"_s + QString::number(10.5 + (i + cycle) % 9 * 0.01, 'f', 2) +
                     u",12,0.05,0.48,10.4,120000,1250000,600,400,10.0,10.1,10.9,9.9"_s;
    return lines;
}

// One refresh cycle's work besides the network: the stored rows read back, every
// stock priced and computed, the grid model updated and the bar moved on.
void BM_MonitorCycle200(benchmark::State& state)
{
    MonitoredLedger ledger;
    MonitorTableModel model;
    model.setGrid(ledger.grid);
    TickerRotation ticker;
    ticker.setActive(true);
    int cycle = 0;
    for (auto _ : state) {
        const QStringList lines = cycleLines(++cycle);
        const QList<MonitorStock> stocks = readMonitorStocks(ledger.db);
        const MonitorGridUpdate update = updateMonitorGrid(
            stocks, lines, MonitoredLedger::fees(), MonitorPass::Cycle, model.grid(), u"not"_s);
        model.setGrid(update.grid);
        TickerRound round;
        for (const MonitorCells& cells : update.grid.rows)
            round.rows.append({cells[MonitorName], stockTickerLine(cells), true});
        ticker.headQuoted(u"head"_s, u"0.1"_s);
        ticker.step(round);
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(BM_MonitorCycle200)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
