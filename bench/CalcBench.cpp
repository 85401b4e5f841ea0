#include "calc/FeeCalculator.h"
#include "calc/SellTargets.h"

#include <benchmark/benchmark.h>

using namespace corvanta;

namespace {

// One pricing as a key release in the quantity or price input runs it (target < 20 µs).
void BM_ComputeFees(benchmark::State& state)
{
    FeeInputs in;
    in.quantity = QStringLiteral("1200");
    in.price = QStringLiteral("14.46");
    in.stampRate = QStringLiteral("1");
    in.commissionRate = QStringLiteral("3");
    in.otherFee = QStringLiteral("5");
    in.transferFeeFlag = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(computeFees(in));
}
BENCHMARK(BM_ComputeFees)->Unit(benchmark::kMicrosecond);

// 1200 shares bought at 14.46 on Shenzhen, as the fee calculator priced them.
SellTargetInputs pricedHolding()
{
    SellTargetInputs in;
    in.trade.quantity = QStringLiteral("1200");
    in.trade.price = QStringLiteral("14.46");
    in.trade.stampRate = QStringLiteral("1");
    in.trade.commissionRate = QStringLiteral("3");
    in.trade.otherFee = QStringLiteral("5");
    in.trade.saved = {5, 1, 3, 5, 1, 3};
    in.total = QStringLiteral("17426.41");
    in.transferAndOther = QStringLiteral("5.00");
    return in;
}

// One sell-target operation as a key release in the profit-amount box runs it.
void BM_PriceForProfitAmount(benchmark::State& state)
{
    const SellTargetInputs in = pricedHolding();
    const QString typed = QStringLiteral("100");
    for (auto _ : state)
        benchmark::DoNotOptimize(computeSellTarget(SellTargetBox::ProfitAmount, in, typed));
}
BENCHMARK(BM_PriceForProfitAmount)->Unit(benchmark::kMicrosecond);

// The price-to-profit direction goes through the full sale total.
void BM_ProfitAtPrice(benchmark::State& state)
{
    const SellTargetInputs in = pricedHolding();
    const QString typed = QStringLiteral("15");
    for (auto _ : state)
        benchmark::DoNotOptimize(computeSellTarget(SellTargetBox::ProfitPrice, in, typed));
}
BENCHMARK(BM_ProfitAtPrice)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
