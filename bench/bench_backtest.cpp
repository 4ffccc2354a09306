// The condition back-test: all seven ranges over the whole history of 3,508
// draws (the real two-colour-ball history when it is at hand, otherwise as
// many random draws), with the direct replay in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_support.h"
#include "data/history_import.h"
#include "filter/backtest.h"

using namespace zelvor;

namespace {

const DrawHistory& history()
{
    static const DrawHistory h = [] {
        const std::string file = std::string(ZELVOR_SHARED_DATA) + "/ssq.csv";
        if (std::filesystem::exists(file))
            return readHistoryFile(file, TwoColourBall());
        return bench::syntheticDraws(3508);
    }();
    return h;
}

BacktestRanges allSeven()
{
    BacktestRanges r;
    r.ticked.fill(true);
    r.lower = {2, 2, 80, 20, 4, 2, 7};
    r.upper = {4, 4, 120, 30, 8, 6, 10};
    return r;
}

// Measuring every draw and replaying them: what a press of "回测" costs.
void BM_Backtest(benchmark::State& state)
{
    const DrawHistory& h = history();
    const BacktestRanges r = allSeven();
    for (auto _ : state) {
        const BacktestReplay replay = replayBacktest(h, measureHistory(h, 33), r, std::nullopt);
        benchmark::DoNotOptimize(replay.passed);
    }
    state.counters["draws"] = h.size();
}
BENCHMARK(BM_Backtest)->Unit(benchmark::kMicrosecond);

// Replaying draws measured once before (another set of ranges on the same history).
void BM_BacktestMeasured(benchmark::State& state)
{
    const DrawHistory& h = history();
    const BacktestRanges r = allSeven();
    const std::vector<DrawMeasures> measures = measureHistory(h, 33);
    for (auto _ : state) {
        const BacktestReplay replay = replayBacktest(h, measures, r, std::nullopt);
        benchmark::DoNotOptimize(replay.passed);
    }
}
BENCHMARK(BM_BacktestMeasured)->Unit(benchmark::kMicrosecond);

void BM_BacktestDirect(benchmark::State& state)
{
    const DrawHistory& h = history();
    const BacktestRanges r = allSeven();
    for (auto _ : state) {
        const BacktestReplay replay = replayBacktestDirect(h, 33, r, std::nullopt);
        benchmark::DoNotOptimize(replay.passed);
    }
}
BENCHMARK(BM_BacktestDirect)->Unit(benchmark::kMicrosecond);

// The kept share beside it: the total filter's pass over all 1,107,568
// combinations, the table and its metrics made once.
void BM_BacktestKept(benchmark::State& state)
{
    const DrawHistory& h = history();
    const BacktestRanges r = allSeven();
    BacktestKeptCounter counter;
    counter.count(TwoColourBall(), h, r);
    for (auto _ : state) {
        const KeptShare share = counter.count(TwoColourBall(), h, r);
        benchmark::DoNotOptimize(share.kept);
    }
}
BENCHMARK(BM_BacktestKept)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
