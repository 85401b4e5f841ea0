// A statement read by its column names against the fixed layout it resembles:
// both 10,000 lines of the same trades, read and imported into a keyed file
// ledger (target < 1 s for the generic one; the fixed layout is the reference).
#include "exchange/GenericStatement.h"
#include "exchange/StatementLayout.h"
#include "exchange/StatementParser.h"
#include "ledger/Schema.h"
#include "ledger/StatementImport.h"
#include "ledger/sql/Database.h"

#include <QDate>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace corvanta;
using namespace Qt::StringLiterals;

namespace {

constexpr int statementLines = 10'000;
constexpr int stocks = 200;

struct Line {
    QString date, code, name;
    bool buy;
    int shares;
    double price;
};

Line lineAt(int i)
{
    const int stock = i % stocks;
    const bool buy = (i / stocks) % 2 == 0;
    return {QDate(2020, 1, 1).addDays(i / 40).toString(u"yyyy-MM-dd"_s),
            u"6"_s + QString::number(stock).rightJustified(5, u'0'),
            u"股票"_s + QString::number(stock),
            buy,
            buy ? 1000 : 500,
            3.0 + double((stock * 7919 + i * 104729) % 4000) / 100};
}

// The generic statement: GBK, commas, a title and summary block, signed quantities
// and net amounts, every fee column.
QByteArray genericStatement()
{
    QString text = u"历史成交\r\n\r\n成交日期,证券代码,证券名称,操作,成交数量,成交均价,成交金额,"
                   u"手续费,印花税,过户费,发生金额\r\n"_s;
    for (int i = 0; i < statementLines; ++i) {
        const Line line = lineAt(i);
        const double amount = line.price * line.shares;
        const double stamp = line.buy ? 0 : amount / 1000;
        const double net = line.buy ? -(amount + 5 + 1) : amount - 5 - stamp - 1;
        text += QStringList{line.date,
                            line.code,
                            line.name,
                            line.buy ? u"证券买入"_s : u"证券卖出"_s,
                            QString::number(line.buy ? line.shares : -line.shares),
                            QString::number(line.price, 'f', 2),
                            QString::number(amount, 'f', 2),
                            u"5"_s,
                            QString::number(stamp, 'f', 2),
                            u"1"_s,
                            QString::number(net, 'f', 2)}
                    .join(u',') +
                u"\r\n"_s;
    }
    text += u"合计,,,,,,,,,,\r\n"_s;
    return QStringEncoder("GBK").encode(text);
}

// The same trades in the 首创证券 layout.
QByteArray sczqStatement()
{
    QString text = u"成交日期\t成交时间\t证券代码\t证券名称\t操作\t成交数量\t成交编号\t成交均价\t"
                   u"成交金额\t其他杂费\t合同编号\t手续费\t印花税\t过户费\t\r\n"_s;
    for (int i = 0; i < statementLines; ++i) {
        const Line line = lineAt(i);
        const double amount = line.price * line.shares;
        text += QStringList{line.date,
                            u"09:30:00"_s,
                            line.code,
                            line.name,
                            line.buy ? u"买入"_s : u"卖出"_s,
                            QString::number(line.shares),
                            QString::number(i),
                            QString::number(line.price, 'f', 2),
                            QString::number(amount, 'f', 2),
                            u"0"_s,
                            u"A"_s,
                            u"5"_s,
                            QString::number(line.buy ? 0 : amount / 1000, 'f', 2),
                            u"1"_s}
                    .join(u'\t') +
                u"\t\r\n"_s;
    }
    return QStringEncoder("GBK").encode(text);
}

struct FileLedger {
    QTemporaryDir dir;
    sql::Database db;
    FileLedger()
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        ledger::ensureSchema(db, {});
    }
};

template <typename Read>
void importEach(benchmark::State& state, const QByteArray& bytes, Read read)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<FileLedger>();
        state.ResumeTiming();
        const auto outcome = ledger::applyStatement(file->db, read(bytes), {});
        if (!outcome.committed || outcome.tradesWritten != statementLines)
            state.SkipWithError("the import failed");
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}

void BM_ImportGenericStatement(benchmark::State& state)
{
    importEach(state, genericStatement(), [](const QByteArray& bytes) {
        return exchange::readGenericStatement(bytes, FeeRates{}).parsed.trades;
    });
}
BENCHMARK(BM_ImportGenericStatement)->Unit(benchmark::kMillisecond)->Iterations(3);

// The reference: the fixed layout's reader on the same trades.
void BM_ImportFixedLayoutStatement(benchmark::State& state)
{
    importEach(state, sczqStatement(), [](const QByteArray& bytes) {
        return exchange::parseStatement(bytes, *exchange::findStatementLayout(u"sczq")).trades;
    });
}
BENCHMARK(BM_ImportFixedLayoutStatement)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reading alone, without the ledger.
void BM_ReadGenericStatement(benchmark::State& state)
{
    const QByteArray bytes = genericStatement();
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::readGenericStatement(bytes, FeeRates{}));
}
BENCHMARK(BM_ReadGenericStatement)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
