// Endless exclusion on the two-colour-ball table (1,107,568 candidates) and
// the real history, betting on the coming draw (b = D): one pass of each kind,
// each next to the direct pass written straight from the rules, and a run of
// 1,000 repeat passes with the window's defaults.
#include <benchmark/benchmark.h>

#include <limits>

#include "common/random.h"
#include "data/history_import.h"
#include "filter/exclusion.h"

using namespace zelvor;

namespace {

const DrawHistory* realHistory(benchmark::State& state)
{
    static const DrawHistory h = [] {
        try {
            return readHistoryFile(std::string(ZELVOR_SHARED_DATA) + "/ssq.csv", TwoColourBall());
        } catch (const std::exception&) {
            return DrawHistory(6, 1);
        }
    }();
    if (h.empty()) {
        state.SkipWithError("no real history in shared/data/ssq.csv");
        return nullptr;
    }
    return &h;
}

const ExclusionCandidates& allCandidates()
{
    static const ExclusionCandidates c = [] {
        ExclusionCandidates t;
        t.buildAll(33, 6);
        return t;
    }();
    return c;
}

ExclusionSettings settingsFor(int variant, int D)
{
    ExclusionSettings s;
    s.b = D;
    s.byTarget = false;
    s.passes = 1;
    switch (variant) {
    case 0: s.kind = ExclusionKind::Repeat; s.span = 10; s.minRepeats = 6; break;
    case 1: s.kind = ExclusionKind::Repeat; s.span = 10; s.minRepeats = 4; break;
    case 2: s.kind = ExclusionKind::Sum; s.upper = 166; s.lower = 52; break;
    case 3: // skew with Y = 0, so both states hold and every row is tested
        s.kind = ExclusionKind::Skew; s.Y = 0; s.high = s.low = true; s.L1 = 0; s.U1 = 5; s.L2 = 1; s.U2 = 6; break;
    case 4: s.kind = ExclusionKind::Follow; s.upper = 6; s.lower = 0; s.h = 2; s.stage = 100; break;
    case 5: s.kind = ExclusionKind::Follow; s.standard = true; s.upper = 6; s.lower = 0; s.h = 2; break;
    }
    return s;
}

const char* const kNames[] = {"repeat S=10 R=6", "repeat S=10 R=4", "sum 166/52", "skew Y=0",
                              "follow variable h=2", "follow standard h=2"};

// One pass as the engine makes it: the view, then every row.
void BM_ExclusionPass(benchmark::State& state)
{
    const DrawHistory* h = realHistory(state);
    if (!h)
        return;
    const int variant = static_cast<int>(state.range(0));
    state.SetLabel(kNames[variant]);
    const ExclusionSettings s = settingsFor(variant, h->size());
    const LotteryParams ssq = TwoColourBall();
    Random random(7);
    RandomViewSource source(random);
    std::vector<std::uint64_t> rows = allCandidates().rows();
    std::int64_t excluded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rows = allCandidates().rows();
        state.ResumeTiming();
        const ExclusionPass p = prepareExclusionPass(s, ssq, *h, source, 1);
        if (p.testsRows)
            excluded += testRows(p, rows.data(), 0, static_cast<std::int64_t>(rows.size()),
                                 std::numeric_limits<std::int64_t>::max())
                            .excluded;
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["excluded/pass"] = static_cast<double>(excluded) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ExclusionPass)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The same pass written straight from the rules, on every 16th row (the
// direct follow pass over all rows takes minutes); times are for 1/16 of
// the table.
void BM_ExclusionPassDirect(benchmark::State& state)
{
    const DrawHistory* h = realHistory(state);
    if (!h)
        return;
    const int variant = static_cast<int>(state.range(0));
    state.SetLabel(std::string(kNames[variant]) + ", 1/16 of the rows");
    const ExclusionSettings s = settingsFor(variant, h->size());
    const LotteryParams ssq = TwoColourBall();
    Random random(7);
    for (auto _ : state) {
        state.PauseTiming();
        ExclusionCandidates c;
        c.rows().clear();
        for (std::size_t r = 0; r < allCandidates().rows().size(); r += 16)
            c.rows().push_back(allCandidates().rows()[r]);
        const auto P = drawPositionPermutation(33, random);
        const int W = s.kind == ExclusionKind::Follow ? s.stage : 1 + random.below(h->size());
        state.ResumeTiming();
        benchmark::DoNotOptimize(exclusionPassDirect(c, s, ssq, *h, P, W));
    }
}
BENCHMARK(BM_ExclusionPassDirect)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(2);

// 1,000 passes of the repeat window's defaults (S = 10, R = 6) from all combinations.
void BM_RepeatRun1000(benchmark::State& state)
{
    const DrawHistory* h = realHistory(state);
    if (!h)
        return;
    ExclusionSettings s = settingsFor(0, h->size());
    s.passes = 1000;
    Random random(7);
    RandomViewSource source(random);
    std::int64_t left = 0;
    for (auto _ : state) {
        ExclusionEngine engine(TwoColourBall(), *h);
        left = engine.run(s, source).survivors;
    }
    state.counters["left"] = static_cast<double>(left);
}
BENCHMARK(BM_RepeatRun1000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
