// Total filter and list writing speed on the two-colour-ball table
// (1,107,568 combinations). Run with --benchmark_filter to pick one; the
// 17.7-million-line write is best run alone so its peak memory is its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <numeric>

#include "common/random.h"
#include "filter/betlist.h"
#include "filter/list_file.h"
#include "filter/total_filter.h"

using namespace zelvor;

namespace {

LotteryParams twoColourBall() { return TwoColourBall(); }

void setRange(TotalFilterInputs& in, RangeTest t, int lo, int hi)
{
    RangeInput& r = in.ranges[static_cast<std::size_t>(t)];
    const int first = rangeListBounds(t, 33, 6).min;
    r = {true, std::to_string(lo), std::to_string(hi), lo - first, hi - first};
}

// All seven metric tests and the banker test. `wide` uses the full ranges,
// so no test rejects a row early and every row pays for every test.
TotalFilterInputs allTests(bool wide)
{
    TotalFilterInputs in;
    in.chosenBlues = {7};
    for (int t = 0; t < RangeTestCount; ++t) {
        const Bounds b = rangeListBounds(static_cast<RangeTest>(t), 33, 6);
        setRange(in, static_cast<RangeTest>(t), b.min, b.max);
    }
    if (!wide) {
        setRange(in, RangeTest::Big, 2, 4);
        setRange(in, RangeTest::Odd, 2, 4);
        setRange(in, RangeTest::Sum, 80, 120);
        setRange(in, RangeTest::Span, 20, 30);
        setRange(in, RangeTest::Dispersion, 4, 8);
        setRange(in, RangeTest::Skewness, 0, 5);
        setRange(in, RangeTest::Ac, 7, 12);
    }
    in.bankerTicked = true;
    in.bankerText = "03 07 11";
    in.bankerHitsFrom = "0";
    in.bankerHitsTo = wide ? "6" : "2";
    return in;
}

TotalFilterView view(TrendMode mode)
{
    DrawHistory h(6, 1);
    h.append(2026111, std::vector<int>{1, 9, 12, 22, 28, 31}, std::vector<int>{5});
    TotalFilterView v = standardView(twoColourBall(), h);
    if (mode == TrendMode::Variable) {
        Random random(20030223);
        v.mode = TrendMode::Variable;
        v.nextValue.resize(34);
        std::iota(v.nextValue.begin() + 1, v.nextValue.end(), 1);
        std::shuffle(v.nextValue.begin() + 1, v.nextValue.end(), random.engine());
        v.reference = {3, 8, 15, 20, 27, 30};
    }
    return v;
}

std::filesystem::path scratch(const char* name)
{
    const auto dir = std::filesystem::temp_directory_path() / "zelvor_bench_filter";
    std::filesystem::create_directories(dir);
    return dir / name;
}

double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// One "过滤" from all combinations, as the window runs it (no list written).
void BM_TotalFilterRun(benchmark::State& state)
{
    const TrendMode mode = state.range(0) ? TrendMode::Variable : TrendMode::Standard;
    const bool wide = state.range(1) != 0;
    CombinationTable table;
    TotalFilter filter(table);
    const TotalFilterInputs in = allTests(wide);
    const TotalFilterView v = view(mode);
    filter.run(in, twoColourBall(), v, {}); // builds the table and its cache once
    std::int64_t survivors = 0;
    for (auto _ : state) {
        filter.clear();
        survivors = filter.run(in, twoColourBall(), v, {}).survivors;
        benchmark::DoNotOptimize(survivors);
    }
    state.counters["survivors"] = static_cast<double>(survivors);
    state.SetLabel(std::string(mode == TrendMode::Variable ? "variable" : "standard") + (wide ? ", full ranges" : ", narrow ranges"));
}
BENCHMARK(BM_TotalFilterRun)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same conditions through a direct, unoptimised version of the pass.
void BM_TotalFilterDirect(benchmark::State& state)
{
    const TrendMode mode = state.range(0) ? TrendMode::Variable : TrendMode::Standard;
    const bool wide = state.range(1) != 0;
    CombinationTable table;
    table.buildAll(33, 6);
    const auto conditions = std::get<TotalFilterConditions>(readTotalFilter(allTests(wide), twoColourBall()));
    const TotalFilterView v = view(mode);
    for (auto _ : state) {
        table.resetMarks();
        benchmark::DoNotOptimize(totalFilterPassDirect(table, conditions, v).survivors);
    }
    state.SetLabel(std::string(mode == TrendMode::Variable ? "variable" : "standard") + (wide ? ", full ranges" : ", narrow ranges"));
}
BENCHMARK(BM_TotalFilterDirect)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Metric values of every row, made once per table.
void BM_TotalFilterCacheBuild(benchmark::State& state)
{
    CombinationTable table;
    table.buildAll(33, 6);
    for (auto _ : state) {
        TotalFilterCache cache;
        cache.prepare(table, 33, TotalFilterCache::fingerprint(table));
        benchmark::DoNotOptimize(cache.sum());
    }
}
BENCHMARK(BM_TotalFilterCacheBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TableFingerprint(benchmark::State& state)
{
    CombinationTable table;
    table.buildAll(33, 6);
    for (auto _ : state)
        benchmark::DoNotOptimize(TotalFilterCache::fingerprint(table));
}
BENCHMARK(BM_TableFingerprint)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 300,000 survivors x 1 blue.
void BM_WriteList300k(benchmark::State& state)
{
    CombinationTable table;
    table.buildAll(33, 6);
    // Exactly 300,000 rows kept, spread over the table.
    std::int64_t kept = 0;
    for (std::int64_t r = 0; r < table.size(); ++r) {
        const bool keep = (r * 300000) / table.size() != ((r + 1) * 300000) / table.size();
        table.setMark(r, keep ? 0 : 1);
        kept += keep;
    }
    const auto path = scratch("temp300k.txt");
    std::int64_t lines = 0;
    for (auto _ : state)
        lines = writeBetList(path, table, BetLineLayout::WithSpecial, std::vector<int>{7}).lines;
    state.counters["rows"] = static_cast<double>(kept);
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_WriteList300k)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every combination with all 16 blues: 17,721,088 lines.
void BM_WriteList17M(benchmark::State& state)
{
    CombinationTable table;
    table.buildAll(33, 6);
    std::vector<int> blues(16);
    std::iota(blues.begin(), blues.end(), 1);
    const auto path = scratch("temp17m.txt");
    const double before = peakRssMb();
    std::int64_t lines = 0;
    for (auto _ : state)
        lines = writeBetList(path, table, BetLineLayout::WithSpecial, blues).lines;
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_rss_MB"] = peakRssMb();
    state.counters["peak_extra_MB"] = peakRssMb() - before;
    // The file stays for the index benchmark below; main removes it.
}
BENCHMARK(BM_WriteList17M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

// Index the 17.7-million-line list, then fetch a page in the middle.
void BM_ListFileIndex17M(benchmark::State& state)
{
    const auto path = scratch("temp17m.txt");
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("run BM_WriteList17M first");
        return;
    }
    std::int64_t count = 0;
    for (auto _ : state) {
        ListFile list;
        list.open(path);
        count = list.lineCount();
        benchmark::DoNotOptimize(list.lines(count / 2, 40));
    }
    state.counters["lines"] = static_cast<double>(count);
}
BENCHMARK(BM_ListFileIndex17M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "zelvor_bench_filter", ec);
    return 0;
}
