// The investment-mode search on the real 3D history: 100 直选 bets 7n mod
// 1000 (n = 0..99), 单倍注数 100, other settings as "清空" sets them. The
// direct version (a linear multiplier search for every plan step and a
// draw-by-draw walk) runs once for comparison; it takes tens of seconds.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "invest/mode.h"

using namespace zelvor;
using namespace zelvor::invest;

namespace {

// The draws of fc3d.csv ("issue,date,d1,d2,d3"); empty when the file is absent.
const DrawHistory& history()
{
    static const DrawHistory h = [] {
        DrawHistory d(3, 0);
        std::ifstream in(ZELVOR_SHARED_DATA "/fc3d.csv");
        std::string line;
        std::getline(in, line); // header
        while (std::getline(in, line)) {
            std::stringstream s(line);
            std::string issue, date, a, b, c;
            if (std::getline(s, issue, ',') && std::getline(s, date, ',') && std::getline(s, a, ',') &&
                std::getline(s, b, ',') && std::getline(s, c, ',')) {
                const int n[] = {std::stoi(a), std::stoi(b), std::stoi(c)};
                d.append(std::stoi(issue), n);
            }
        }
        return d;
    }();
    return h;
}

const HitTable& hits()
{
    static const HitTable t = [] {
        std::vector<Bet> bets;
        for (int n = 0; n < 100; ++n) {
            const int v = 7 * n % 1000;
            bets.push_back({v / 100, v / 10 % 10, v % 10});
        }
        return buildHitTable(Direct, bets, history());
    }();
    return t;
}

ModeSettings settings(bool gapMode)
{
    ModeSettings s = clearedSettings();
    s.gapMode = gapMode;
    return s;
}

void search(benchmark::State& state, bool gapMode)
{
    if (history().empty()) {
        state.SkipWithError("fc3d.csv is absent");
        return;
    }
    SearchResult r;
    for (auto _ : state) {
        Simulator sim(hits()); // a fresh plan cache for every search
        r = searchSettings(sim, settings(gapMode));
        benchmark::DoNotOptimize(r);
    }
    state.counters["runs"] = r.runs;
    state.counters["best"] = static_cast<double>(r.best);
}

void BM_SearchIntervalModeOff(benchmark::State& state) { search(state, false); }
void BM_SearchWhole(benchmark::State& state) { search(state, true); }

void BM_SearchIntervalModeOffDirect(benchmark::State& state)
{
    if (history().empty()) {
        state.SkipWithError("fc3d.csv is absent");
        return;
    }
    SearchResult slow;
    for (auto _ : state) {
        slow = searchSettingsDirect(hits(), settings(false));
        benchmark::DoNotOptimize(slow);
    }
    // The two must agree on the best settings and surplus.
    Simulator sim(hits());
    const SearchResult fast = searchSettings(sim, settings(false));
    const bool same = fast.best == slow.best && fast.gapRunsPos == slow.gapRunsPos &&
                      fast.waitPos == slow.waitPos && fast.repPos == slow.repPos;
    ModeSettings chosen = settings(false);
    chosen.gapRunsPos = slow.gapRunsPos;
    chosen.waitPos = slow.waitPos;
    chosen.repPos = slow.repPos;
    const bool sameRun = sim.run(chosen).surplus == simulateDirect(hits(), chosen).surplus;
    if (!same || !sameRun)
        state.SkipWithError("the direct search disagrees");
    state.counters["best"] = static_cast<double>(slow.best);
}

} // namespace

BENCHMARK(BM_SearchIntervalModeOff)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_SearchWhole)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_SearchIntervalModeOffDirect)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
