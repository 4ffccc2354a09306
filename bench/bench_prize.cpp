// Prize check speed: every two-colour-ball combination (1,107,568 lines, the
// blues in turn) against one draw, and 300,000 lines against 3,508 draws,
// each beside the direct version that counts matches number by number.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "bench_support.h"
#include "filter/prize_check.h"

using namespace zelvor;

namespace {

// Every combination of 6 of 33 in order with blues 1..16 in turn, or the
// first `limit` of them.
const PrizeBets& betsOf(std::size_t limit)
{
    static std::map<std::size_t, PrizeBets> cache;
    auto it = cache.find(limit);
    if (it != cache.end())
        return it->second;
    std::vector<std::string> lines;
    lines.reserve(limit);
    char buf[32];
    int blue = 0;
    for (int a = 1; a <= 28 && lines.size() < limit; ++a)
        for (int b = a + 1; b <= 29 && lines.size() < limit; ++b)
            for (int c = b + 1; c <= 30 && lines.size() < limit; ++c)
                for (int d = c + 1; d <= 31 && lines.size() < limit; ++d)
                    for (int e = d + 1; e <= 32 && lines.size() < limit; ++e)
                        for (int f = e + 1; f <= 33 && lines.size() < limit; ++f) {
                            std::snprintf(buf, sizeof buf, "%.2d %.2d %.2d %.2d %.2d %.2d+%.2d", a, b, c, d, e, f,
                                          blue % 16 + 1);
                            ++blue;
                            lines.emplace_back(buf);
                        }
    PrizeBetsLoad l = parsePrizeBets(PrizeGame::TwoColourBall, lines);
    return cache.emplace(limit, std::move(l.bets)).first->second;
}

constexpr std::size_t kAll = 1'107'568;
constexpr int kDraws = 3508;

void BM_PrizeOneDraw(benchmark::State& state)
{
    const PrizeBets& bets = betsOf(kAll);
    const DrawHistory h = bench::syntheticDraws(1);
    const PrizeDraw draw = prizeDraw(PrizeGame::TwoColourBall, h, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(checkDraw(bets, draw));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bets.masks.size()));
}
BENCHMARK(BM_PrizeOneDraw)->Unit(benchmark::kMillisecond);

void BM_PrizeOneDrawDirect(benchmark::State& state)
{
    const PrizeBets& bets = betsOf(kAll);
    const DrawHistory h = bench::syntheticDraws(1);
    const PrizeDraw draw = prizeDraw(PrizeGame::TwoColourBall, h, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(checkDrawDirect(bets, draw));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bets.masks.size()));
}
BENCHMARK(BM_PrizeOneDrawDirect)->Unit(benchmark::kMillisecond);

void BM_PrizeHistory(benchmark::State& state)
{
    const PrizeBets& bets = betsOf(300'000);
    const DrawHistory h = bench::syntheticDraws(kDraws);
    for (auto _ : state)
        benchmark::DoNotOptimize(checkHistory(bets, h));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bets.masks.size()) * kDraws);
}
BENCHMARK(BM_PrizeHistory)->Unit(benchmark::kMillisecond);

// The direct version over the first 100 draws only (all 3,508 would take
// minutes); items per second compare with BM_PrizeHistory.
void BM_PrizeHistoryDirect100(benchmark::State& state)
{
    const PrizeBets& bets = betsOf(300'000);
    const DrawHistory h = bench::syntheticDraws(100);
    for (auto _ : state)
        for (int i = 0; i < h.size(); ++i)
            benchmark::DoNotOptimize(checkDrawDirect(bets, prizeDraw(PrizeGame::TwoColourBall, h, i)));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bets.masks.size()) * h.size());
}
BENCHMARK(BM_PrizeHistoryDirect100)->Unit(benchmark::kMillisecond);

void BM_PrizeWinningBetsList(benchmark::State& state)
{
    const PrizeBets& bets = betsOf(kAll);
    const DrawHistory h = bench::syntheticDraws(1);
    const PrizeDraw draw = prizeDraw(PrizeGame::TwoColourBall, h, 0);
    const auto file = std::filesystem::temp_directory_path() / "zelvor_bench_prize_winners.txt";
    for (auto _ : state)
        benchmark::DoNotOptimize(writeWinningBets(file, bets, draw));
    std::filesystem::remove(file);
}
BENCHMARK(BM_PrizeWinningBetsList)->Unit(benchmark::kMillisecond);

// Reading a saved list of every combination with one blue (1,107,568 lines
// as the total filter saves them).
void BM_PrizeLoadFile(benchmark::State& state)
{
    const auto file = std::filesystem::temp_directory_path() / "zelvor_bench_prize_bets.txt";
    {
        std::ofstream out(file, std::ios::binary);
        const PrizeBets& bets = betsOf(kAll);
        for (const std::uint64_t m : bets.masks)
            out << prizeBetText(PrizeGame::TwoColourBall, m) << "\r\n";
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(loadPrizeBets(PrizeGame::TwoColourBall, file));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kAll));
    std::filesystem::remove(file);
}
BENCHMARK(BM_PrizeLoadFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
