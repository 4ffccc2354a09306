// The wheel checker and generation: the bit-parallel check against a direct
// count (every p-subset against every row), and the bets of a large wheel.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "filter/wheel.h"
#include "filter/wheel_check.h"

using namespace zelvor;

namespace {

// Random rows of k indexes of 1..v (the check costs the same whether they cover or not).
std::vector<std::uint32_t> randomRows(int v, int k, int count)
{
    std::mt19937 rng(5);
    std::vector<std::uint32_t> rows;
    std::vector<int> all(static_cast<std::size_t>(v));
    for (int i = 0; i < v; ++i)
        all[static_cast<std::size_t>(i)] = i;
    for (int r = 0; r < count; ++r) {
        std::shuffle(all.begin(), all.end(), rng);
        std::uint32_t m = 0;
        for (int i = 0; i < k; ++i)
            m |= 1u << all[static_cast<std::size_t>(i)];
        rows.push_back(m);
    }
    return rows;
}

std::int64_t directHoles(int v, int p, int t, const std::vector<std::uint32_t>& rows)
{
    std::int64_t holes = 0;
    for (std::uint32_t s = (1u << p) - 1; s < (1u << v);) {
        bool covered = false;
        for (std::uint32_t r : rows)
            if (std::popcount(r & s) >= t) {
                covered = true;
                break;
            }
        holes += !covered;
        const std::uint32_t c = s & (~s + 1);
        const std::uint32_t x = s + c;
        s = (((x ^ s) >> 2) / c) | x;
    }
    return holes;
}

struct Case {
    int v, k, p, t, rows;
};
const Case kCases[] = {{21, 6, 6, 5, 1130}, {21, 7, 7, 4, 120}};

void BM_WheelCheck(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    const auto rows = randomRows(c.v, c.k, c.rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(uncoveredSubsets(c.v, c.p, c.t, rows));
    state.SetLabel("v=" + std::to_string(c.v) + " 中" + std::to_string(c.p) + "保" + std::to_string(c.t));
}
BENCHMARK(BM_WheelCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WheelCheckDirect(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    const auto rows = randomRows(c.v, c.k, c.rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(directHoles(c.v, c.p, c.t, rows));
    state.SetLabel("v=" + std::to_string(c.v) + " 中" + std::to_string(c.p) + "保" + std::to_string(c.t));
}
BENCHMARK(BM_WheelCheckDirect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// "开始缩水" from a wheel of 8,700 rows of 7 indexes of 21, with the save text.
void BM_WheelGenerateLargest(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelvor-bench-wheel";
    std::filesystem::create_directories(folder);
    {
        std::ofstream f(folder / std::filesystem::u8path("选七型21码中6保6.txt"), std::ios::binary);
        for (std::uint32_t m : randomRows(21, 7, 8700)) {
            bool first = true;
            for (int i = 0; i < 21; ++i)
                if (m >> i & 1) {
                    f << (first ? "" : " ") << i + 1;
                    first = false;
                }
            f << "\r\n";
        }
    }
    WheelInputs in;
    in.pickText = "选7型";
    in.basicText = "21";
    in.hitText = "6";
    in.keepText = "6";
    for (int n = 1; n <= 21; ++n)
        in.boxes.push_back(std::to_string(n + 10));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const WheelGeneration g = generateWheel(in, folder);
        std::string text;
        for (const auto& bet : g.bets)
            text += wheelBetLine(bet);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WheelGenerateLargest)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
