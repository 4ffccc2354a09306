// The advisers' history replays on a synthetic 20,000-draw two-colour-ball
// history, beside the direct, unoptimised loops of the same rules.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <numeric>
#include <string>
#include <vector>

#include "advisers/adviser_reference.h"
#include "advisers/advisers.h"
#include "common/random.h"

namespace {

using namespace zelvor;

const LotteryParams& lottery()
{
    static const LotteryParams p = TwoColourBall();
    return p;
}

const DrawHistory& draws()
{
    static const DrawHistory h = bench::syntheticDraws();
    return h;
}

const std::vector<std::string>& dates()
{
    static const std::vector<std::string> d = [] {
        std::vector<std::string> out;
        const long long first = dayNumber({2003, 2, 23});
        for (int i = 0; i < MaxStoredDraws; ++i)
            out.push_back(dateText(dateFromDayNumber(first + 2 * i)));
        return out;
    }();
    return d;
}

void BM_Interval(benchmark::State& state)
{
    const IntervalSettings s{static_cast<int>(state.range(0)), 18};
    for (auto _ : state)
        benchmark::DoNotOptimize(replayInterval(draws(), lottery(), s));
}
BENCHMARK(BM_Interval)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_IntervalDirect(benchmark::State& state)
{
    const IntervalSettings s{static_cast<int>(state.range(0)), 18};
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::replayInterval(draws(), lottery(), s));
}
BENCHMARK(BM_IntervalDirect)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(2);

// Args: overall (1) or per position (0), W, S (0 = all draws).
void BM_Intimate(benchmark::State& state)
{
    const IntimateSettings s{state.range(0) != 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    for (auto _ : state)
        benchmark::DoNotOptimize(replayIntimate(draws(), lottery(), s));
}
BENCHMARK(BM_Intimate)->Args({1, 17, 7})->Args({1, 17, 0})->Args({0, 1, 7})->Args({0, 1, 0})->Unit(benchmark::kMillisecond);

void BM_IntimateDirect(benchmark::State& state)
{
    const IntimateSettings s{state.range(0) != 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::replayIntimate(draws(), lottery(), s));
}
BENCHMARK(BM_IntimateDirect)->Args({1, 17, 7})->Args({1, 17, 0})->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Composite(benchmark::State& state)
{
    const CompositeSettings s{static_cast<int>(state.range(0)), 1, 10, 10};
    for (auto _ : state)
        benchmark::DoNotOptimize(replayComposite(draws(), lottery(), s));
}
BENCHMARK(BM_Composite)->Arg(40)->Arg(1000)->Arg(19000)->Unit(benchmark::kMillisecond);

void BM_CompositeDirect(benchmark::State& state)
{
    const CompositeSettings s{static_cast<int>(state.range(0)), 1, 10, 10};
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::replayComposite(draws(), lottery(), s));
}
BENCHMARK(BM_CompositeDirect)->Arg(40)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_StemBranch(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(replayStemBranch(draws(), lottery(), dates(), {state.range(0) != 0}));
}
BENCHMARK(BM_StemBranch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
