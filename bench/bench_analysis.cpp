// Trend builds: the variable build over 20,000 draws against a direct,
// unoptimised version of it, and the standard build of the real
// two-colour-ball history.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/analysis/variable_reference.h"
#include "analysis/metric_analysis.h"
#include "analysis/trend.h"
#include "common/random.h"
#include "data/history_import.h"

namespace {

using namespace zelvor;

LotteryParams twoColourBall() { return TwoColourBall(); }

const DrawHistory& syntheticDraws()
{
    static const DrawHistory h = bench::syntheticDraws();
    return h;
}

DrawHistory readSsq(bool& ok)
{
    try {
        ok = true;
        return readHistoryFile(std::string(ZELVOR_SHARED_DATA) + "/ssq.csv", TwoColourBall());
    } catch (const std::exception&) {
        ok = false;
        return DrawHistory(6, 1);
    }
}

// The real two-colour-ball history, read once; skips the benchmark when absent.
const DrawHistory* realHistory(benchmark::State& state)
{
    bool ok = false;
    static const DrawHistory h = readSsq(ok);
    if (h.empty()) {
        state.SkipWithError("ssq.csv not found under ZELVOR_SHARED_DATA");
        return nullptr;
    }
    return &h;
}

VariableSettings fixedSettings()
{
    Random random(42);
    return drawVariableSettings(33, random);
}

void BM_VariableTrend20000(benchmark::State& state)
{
    const DrawHistory& h = syntheticDraws();
    const VariableSettings s = fixedSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildVariableTrend(twoColourBall(), h, s));
    state.counters["W"] = s.window;
}
BENCHMARK(BM_VariableTrend20000)->Unit(benchmark::kMillisecond);

void BM_VariableTrend20000Direct(benchmark::State& state)
{
    const DrawHistory& h = syntheticDraws();
    const VariableSettings s = fixedSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::buildVariableTrendDirect(twoColourBall(), h, s));
}
BENCHMARK(BM_VariableTrend20000Direct)->Unit(benchmark::kMillisecond);

void BM_StandardTrendSsq(benchmark::State& state)
{
    const DrawHistory* real = realHistory(state);
    if (!real)
        return;
    const DrawHistory& h = *real;
    for (auto _ : state)
        benchmark::DoNotOptimize(buildStandardTrend(twoColourBall(), h));
    state.counters["draws"] = h.size();
}
BENCHMARK(BM_StandardTrendSsq)->Unit(benchmark::kMillisecond);

void BM_MetricWindowSsq(benchmark::State& state)
{
    const DrawHistory* real = realHistory(state);
    if (!real)
        return;
    const DrawHistory& h = *real;
    for (auto _ : state)
        for (const auto& d : metricWindowFamily())
            benchmark::DoNotOptimize(Compute(d, h, 33, 6, 3));
}
BENCHMARK(BM_MetricWindowSsq)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
