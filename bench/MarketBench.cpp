// Valuing the held stocks with quotes from a local fake of each source, the way the
// quoted summary fetches them: a run over the codes with the summary's 300 ms pause
// before each request, through the sources' gates, then every stock's price looked
// up in the record lines and multiplied out.
//
// Target for the real sources: 500 stocks in under 2 s (5 requests of 100 codes).
// The quote page ("金融界") asks one stock a request, so its 500 pauses alone take
// 150 s: BM_ValueByPage runs with a 3 ms pause and reports the time the real pause
// would give (the measured time with the 500 short pauses swapped for real ones).
#include "market/FetchOptions.h"
#include "market/QuoteParsing.h"
#include "market/QuoteSnapshot.h"
#include "market/QuoteSourceChoice.h"
#include "market/SequentialQuoteRun.h"
#include "quote-server/QuoteServer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace corvanta::market;
using corvanta::tools::Layout;
using corvanta::tools::QuoteServer;

namespace {

constexpr qsizetype heldStocks = 500;

struct Valuation {
    double value = 0;
    qsizetype priced = 0;
    bool completed = false;
};

// One quoted valuation of the held codes, 100 shares of each.
Valuation value(const std::shared_ptr<const QuoteSource>& source, const QStringList& codes,
                std::chrono::milliseconds pause)
{
    SequentialQuoteRun run(source, summaryQuoteOptions({}), pause);
    QStringList lines;
    run.setSkip([&lines](const QStringList& one) { return alreadyFetched(one[0], lines); });
    QObject::connect(
        &run, &SequentialQuoteRun::requestFinished,
        [&lines](const QStringList&, const QuoteResult& result) { lines += result.records; });
    Valuation valuation;
    QEventLoop loop;
    QObject::connect(&run, &SequentialQuoteRun::finished, &loop, [&](bool completed) {
        valuation.completed = completed;
        loop.quit();
    });
    QTimer::singleShot(0, &run, [&run, &codes] { run.start(codes); });
    loop.exec();
    for (const QString& code : codes) {
        const QString price = priceFromLines(code, lines);
        if (price != missingPrice) {
            valuation.value += price.toDouble() * 100;
            ++valuation.priced;
        }
    }
    return valuation;
}

QStringList heldCodes(const QList<corvanta::tools::ListedStock>& listed)
{
    QStringList codes;
    for (qsizetype i = 0; i < heldStocks && i < listed.size(); ++i)
        codes.append(listed[i * (listed.size() / heldStocks)].code);
    return codes;
}

void valueThrough(benchmark::State& state, Layout layout, QuoteSourceKind kind,
                  std::chrono::milliseconds pause)
{
    const QList<corvanta::tools::ListedStock> listed = corvanta::tools::shippedStocks();
    corvanta::tools::QuoteServerOptions options;
    options.layout = layout;
    QuoteServer server(listed, options);
    if (!server.listen()) {
        state.SkipWithError("the fake could not listen");
        return;
    }
    const QUrl unused(u"http://127.0.0.1:1"_s);
    QuoteHosts hosts{unused, unused, unused};
    (kind == QuoteSourceKind::Sina      ? hosts.sina
     : kind == QuoteSourceKind::Tencent ? hosts.tencent
                                        : hosts.page) = server.address();
    // The gates keep the pace of the program, shortened with the run's pause.
    QuoteSourceChoice choice(kind, hosts, std::min(pause, sourcePause));
    const QStringList codes = heldCodes(listed);
    QElapsedTimer clock;
    qint64 elapsedMs = 0;
    for (auto _ : state) {
        clock.start();
        const Valuation valuation = value(choice.source(), codes, pause);
        elapsedMs += clock.elapsed();
        if (!valuation.completed || valuation.priced != codes.size()) {
            state.SkipWithError("not every stock was priced");
            return;
        }
        benchmark::DoNotOptimize(valuation.value);
    }
    state.counters["requests"] = double(server.requests().size()) / double(state.iterations());
    if (pause < summaryPause) {
        // Each of the one-by-one requests waits the real pause instead.
        const double perRun = double(elapsedMs) / double(state.iterations());
        state.counters["with_300ms_pauses_s"] =
            (perRun + double(codes.size()) * double((summaryPause - pause).count())) / 1000.0;
    }
}

void BM_ValueBySina(benchmark::State& state)
{
    valueThrough(state, Layout::Sina, QuoteSourceKind::Sina, summaryPause);
}

void BM_ValueByTencent(benchmark::State& state)
{
    valueThrough(state, Layout::Tencent, QuoteSourceKind::Tencent, summaryPause);
}

void BM_ValueByPage(benchmark::State& state)
{
    valueThrough(state, Layout::Page, QuoteSourceKind::Page, std::chrono::milliseconds(3));
}

BENCHMARK(BM_ValueBySina)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ValueByTencent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ValueByPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
