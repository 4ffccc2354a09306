// Trend builds: the variable build over 20,000 draws against the literal
// transcription of its algorithm, and the standard build of the real
// two-colour-ball history.
#include <benchmark/benchmark.h>

#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/analysis/variable_reference.h"
#include "analysis/metric_analysis.h"
#include "analysis/trend.h"
#include "common/random.h"

namespace {

using namespace zelvor;

LotteryParams twoColourBall()
{
    LotteryParams p;
    p.name = kTwoColourBall;
    p.numberRange = 33;
    p.pickCount = 6;
    p.specialRange = 16;
    p.specialCount = 1;
    return p;
}

const DrawHistory& syntheticDraws()
{
    static const DrawHistory h = [] {
        Random random(20030223);
        DrawHistory out(6, 1);
        out.reserve(MaxStoredDraws);
        std::vector<int> all(33);
        for (int d = 0; d < MaxStoredDraws; ++d) {
            std::iota(all.begin(), all.end(), 1);
            std::vector<int> main;
            for (int j = 0; j < 6; ++j) {
                std::swap(all[j], all[j + random.below(33 - j)]);
                main.push_back(all[j]);
            }
            out.append(2000001 + d, main, std::vector<int>{random.below(16) + 1});
        }
        return out;
    }();
    return h;
}

// issue,date,r1..r6,blue
DrawHistory readSsq(bool& ok)
{
    DrawHistory h(6, 1);
    std::ifstream in(std::string(ZELVOR_SHARED_DATA) + "/ssq.csv");
    ok = static_cast<bool>(in);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::vector<int> cells;
        std::stringstream ss(line);
        std::string cell;
        for (int c = 0; std::getline(ss, cell, ','); ++c)
            if (c != 1)
                cells.push_back(std::stoi(cell));
        if (cells.size() == 8)
            h.append(cells[0], std::span<const int>(cells).subspan(1, 6), std::span<const int>(cells).subspan(7, 1));
    }
    return h;
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

void BM_VariableTrend20000Literal(benchmark::State& state)
{
    const DrawHistory& h = syntheticDraws();
    const VariableSettings s = fixedSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::buildVariableTrendLiteral(twoColourBall(), h, s));
}
BENCHMARK(BM_VariableTrend20000Literal)->Unit(benchmark::kMillisecond);

void BM_StandardTrendSsq(benchmark::State& state)
{
    bool ok = false;
    const DrawHistory h = readSsq(ok);
    if (!ok || h.empty()) {
        state.SkipWithError("ssq.csv not found under ZELVOR_SHARED_DATA");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(buildStandardTrend(twoColourBall(), h));
    state.counters["draws"] = h.size();
}
BENCHMARK(BM_StandardTrendSsq)->Unit(benchmark::kMillisecond);

void BM_MetricWindowSsq(benchmark::State& state)
{
    bool ok = false;
    const DrawHistory h = readSsq(ok);
    if (!ok || h.empty()) {
        state.SkipWithError("ssq.csv not found under ZELVOR_SHARED_DATA");
        return;
    }
    for (auto _ : state)
        for (const auto& d : metricWindowFamily())
            benchmark::DoNotOptimize(Compute(d, h, 33, 6, 3));
}
BENCHMARK(BM_MetricWindowSsq)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
