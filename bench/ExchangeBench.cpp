#include "exchange/StatementLayout.h"
#include "exchange/StatementParser.h"
#include "ledger/Schema.h"
#include "ledger/StatementDuplicates.h"
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
constexpr int manyStocks = 200;
constexpr int seedStocks = 7'000;

QString stockName(int stock)
{
    return u"股票"_s + QString::number(stock);
}

QString stockCode(int stock)
{
    return u"6"_s + QString::number(stock).rightJustified(5, u'0');
}

// A 首创证券 statement in GBK with CR LF line ends: a header, then per stock buys of
// 1000 and sells of 500 in turn, so every stock keeps an open position.
QByteArray generatedStatement(int stockCount = manyStocks)
{
    QString text = u"成交日期\t成交时间\t证券代码\t证券名称\t操作\t成交数量\t成交编号\t成交均价\t"
                   u"成交金额\t其他杂费\t合同编号\t手续费\t印花税\t过户费\t\r\n"_s;
    for (int i = 0; i < statementLines; ++i) {
        const int stock = i % stockCount;
        const bool buy = (i / stockCount) % 2 == 0;
        const int shares = buy ? 1000 : 500;
        const double price = 3.0 + double((stock * 7919 + i * 104729) % 4000) / 100;
        const QStringList fields = {
            QDate(2007, 1, 1).addDays(i / 40).toString(u"yyyy-MM-dd"_s),
            u"09:30:00"_s,
            stockCode(stock),
            stockName(stock),
            buy ? u"买入"_s : u"卖出"_s,
            buy ? QString::number(shares) : u"-"_s + QString::number(shares),
            QString::number(i),
            QString::number(price, 'f', 2),
            QString::number(price * shares, 'f', 2),
            u"0"_s,
            u"A"_s + QString::number(i),
            u"5"_s,
            buy ? u"0"_s : QString::number(price * shares / 1000, 'f', 2),
            u"1"_s,
        };
        text += fields.join(u'\t') + u"\t\r\n"_s;
    }
    QStringEncoder gbk("GBK");
    return gbk.encode(text);
}

// A keyed ledger file with the sample trade and a stock table of `seedStocks` rows,
// none of them named in the statement.
struct FileLedger {
    QTemporaryDir dir;
    sql::Database db;

    FileLedger()
        : db(sql::Database::open(dir.filePath(u"gpmc.mdb"_s), "bench-key",
                                 sql::Database::Mode::ReadWriteCreate))
    {
        QList<ledger::SeedStock> seed;
        for (int i = 0; i < seedStocks; ++i)
            seed.append({u"0"_s + QString::number(i).rightJustified(5, u'0'),
                         u"种子"_s + QString::number(i), u"ZZ"_s});
        ledger::ensureSchema(db, seed);
    }
};

const exchange::StatementLayout& sczq()
{
    return *exchange::findStatementLayout(u"sczq");
}

// Reading a 10,000-line statement.
void BM_ParseStatement(benchmark::State& state)
{
    const QByteArray bytes = generatedStatement();
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::parseStatement(bytes, sczq()));
}
BENCHMARK(BM_ParseStatement)->Unit(benchmark::kMillisecond);

// Importing a 10,000-line statement into a keyed file ledger, reading included
// (target < 1 s), over 200 stocks and over a single one: the stock's rows then
// grow with every line. Each import gets a fresh ledger, made untimed.
void BM_ImportStatement(benchmark::State& state)
{
    const QByteArray bytes = generatedStatement(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<FileLedger>();
        state.ResumeTiming();
        const exchange::ParsedStatement statement = exchange::parseStatement(bytes, sczq());
        const auto outcome = ledger::applyStatement(file->db, statement.trades, {});
        if (!outcome.committed || outcome.tradesWritten != statementLines)
            state.SkipWithError("the import failed");
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportStatement)
    ->ArgName("stocks")
    ->Arg(manyStocks)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Counting the lines of a 10,000-line statement already in the ledger.
void BM_DuplicateLines(benchmark::State& state)
{
    const exchange::ParsedStatement statement =
        exchange::parseStatement(generatedStatement(), sczq());
    FileLedger file;
    ledger::applyStatement(file.db, statement.trades, {});
    for (auto _ : state)
        benchmark::DoNotOptimize(ledger::duplicateLines(file.db, statement.trades));
}
BENCHMARK(BM_DuplicateLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
