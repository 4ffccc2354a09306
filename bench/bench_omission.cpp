// The omission table, a compound-search pass and the bet-file intersection,
// each against a direct, unoptimised version of the same work.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../tests/analysis/variable_reference.h"
#include "analysis/omission.h"
#include "analysis/trend.h"
#include "common/random.h"
#include "data/combinations.h"
#include "data/history_import.h"
#include "filter/compound_search.h"
#include "filter/intersection.h"

namespace {

// The next six-number set of 1..33 in increasing order; false after the last.
bool nextSet(std::array<int, 6>& c)
{
    int i = 5;
    while (i >= 0 && c[i] == 28 + i)
        --i;
    if (i < 0)
        return false;
    ++c[i];
    for (int j = i + 1; j < 6; ++j)
        c[j] = c[j - 1] + 1;
    return true;
}

using namespace zelvor;

DrawHistory syntheticDraws(int count) { return bench::syntheticDraws(count); }

const DrawHistory& draws20000()
{
    static const DrawHistory h = syntheticDraws(MaxStoredDraws);
    return h;
}

const DrawHistory* realHistory(benchmark::State& state)
{
    static bool ok = true;
    static const DrawHistory h = [] {
        try {
            return readHistoryFile(std::string(ZELVOR_SHARED_DATA) + "/ssq.csv", TwoColourBall());
        } catch (const std::exception&) {
            ok = false;
            return DrawHistory(6, 1);
        }
    }();
    if (!ok) {
        state.SkipWithError("no ssq.csv in the shared data folder");
        return nullptr;
    }
    return &h;
}

// ---------------------------------------------------------------- omission

// One scan of the history per number, newest row first, as the table is described.
std::vector<std::array<std::string, 8>> omissionDirect(const OmissionDraws& d)
{
    std::vector<std::array<std::string, 8>> rows;
    const int n = d.drawCount();
    for (int v = 1; v <= d.range; ++v) {
        int last = n - 1, c = 0, L = 0, G = 0;
        for (int r = n - 1; r >= 0; --r) {
            bool has = false;
            for (int j = 0; j < d.perDraw; ++j)
                has = has || d.numbers[static_cast<std::size_t>(r) * d.perDraw + j] == v;
            if (!has)
                continue;
            ++c;
            const int g = last - r;
            if (c == 1)
                G = g;
            L = std::max(L, g);
            last = r;
        }
        char cold[32];
        std::snprintf(cold, sizeof cold, "%.1f", double(G) * d.perDraw / d.range);
        const long long chase =
            c ? (long long)G * 100 * d.perDraw * d.perDraw * n / ((long long)d.range * d.range * c) : 0;
        rows.push_back({std::to_string(v), "", "", std::to_string(c), std::to_string(L), std::to_string(G), cold,
                        std::to_string(chase) + "%"});
    }
    return rows;
}

void BM_OmissionTable20000(benchmark::State& state)
{
    const OmissionDraws d = omissionDraws(TwoColourBall(), draws20000(), OmissionBalls::Red);
    for (auto _ : state)
        benchmark::DoNotOptimize(omissionTable(OmissionKind::SkewState, d));
}
BENCHMARK(BM_OmissionTable20000)->Unit(benchmark::kMicrosecond);

void BM_OmissionTable20000Direct(benchmark::State& state)
{
    const OmissionDraws d = omissionDraws(TwoColourBall(), draws20000(), OmissionBalls::Red);
    for (auto _ : state)
        benchmark::DoNotOptimize(omissionDirect(d));
}
BENCHMARK(BM_OmissionTable20000Direct)->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- compound pass

// Column omission by a scan back through the history for every column.
std::vector<int> columnOmissionsDirect(const DrawHistory& h, int N)
{
    const int R = h.size();
    std::vector<int> out(static_cast<std::size_t>(N) + 1, R);
    for (int c = 1; c <= N; ++c)
        for (int i = R - 1; i >= 0; --i) {
            const auto row = h.main(i);
            if (std::find(row.begin(), row.end(), c) != row.end()) {
                out[static_cast<std::size_t>(c)] = R - 1 - i;
                break;
            }
        }
    return out;
}

void compoundPass(benchmark::State& state, const DrawHistory& h, bool direct)
{
    Random random(7);
    for (auto _ : state) {
        const VariableSettings s = drawVariableSettings(33, random);
        if (direct) {
            const VariableTrend t = reference::buildVariableTrendDirect(TwoColourBall(), h, s);
            const std::vector<int> om = columnOmissionsDirect(t.history, 33);
            benchmark::DoNotOptimize(t.numberForNextValue(mostOverdueColumn(om, 33)));
        } else {
            CompoundSearch search(33, {28, false, 0});
            benchmark::DoNotOptimize(search.pass(buildVariableTrend(TwoColourBall(), h, s)));
        }
    }
}

void BM_CompoundPassSsq(benchmark::State& state)
{
    if (const DrawHistory* h = realHistory(state))
        compoundPass(state, *h, false);
}
BENCHMARK(BM_CompoundPassSsq)->Unit(benchmark::kMillisecond);

void BM_CompoundPassSsqDirect(benchmark::State& state)
{
    if (const DrawHistory* h = realHistory(state))
        compoundPass(state, *h, true);
}
BENCHMARK(BM_CompoundPassSsqDirect)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CompoundPass20000(benchmark::State& state) { compoundPass(state, draws20000(), false); }
BENCHMARK(BM_CompoundPass20000)->Unit(benchmark::kMillisecond);

void BM_CompoundPass20000Direct(benchmark::State& state) { compoundPass(state, draws20000(), true); }
BENCHMARK(BM_CompoundPass20000Direct)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---------------------------------------------------------------- intersection

struct BetFiles {
    std::filesystem::path dir;
    std::vector<std::filesystem::path> files;
    ~BetFiles()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// Ten files of 300,000 bets with a blue each ("01 02 03 04 05 06+01"), 66 MB.
const BetFiles& betFiles()
{
    static const BetFiles f = [] {
        BetFiles out;
        out.dir = std::filesystem::temp_directory_path() / ("zelvor_bench_jiaoqi_" + std::to_string(::getpid()));
        std::filesystem::create_directories(out.dir);
        Random random(11);
        const std::int64_t rows = Binomial(33, 6);
        std::vector<std::array<int, 6>> all;
        all.reserve(static_cast<std::size_t>(rows));
        std::array<int, 6> c{1, 2, 3, 4, 5, 6};
        do
            all.push_back(c);
        while (nextSet(c));
        for (int f = 0; f < 10; ++f) {
            out.files.push_back(out.dir / ("dadi" + std::to_string(f) + ".txt"));
            std::string text;
            text.reserve(300000 * 22);
            char line[32];
            for (int l = 0; l < 300000; ++l) {
                // A common core of 200,000 bets in every file, the rest at random.
                const auto& b = l < 200000 ? all[static_cast<std::size_t>(l) * 5]
                                           : all[static_cast<std::size_t>(random.below(static_cast<int>(rows)))];
                std::snprintf(line, sizeof line, "%.2d %.2d %.2d %.2d %.2d %.2d+%.2d\r\n", b[0], b[1], b[2], b[3], b[4],
                              b[5], random.below(16) + 1);
                text += line;
            }
            std::ofstream(out.files.back(), std::ios::binary) << text;
        }
        return out;
    }();
    return f;
}

// Resident memory in KiB: the peak since the last reset, and now.
long residentKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + key.size());
    return 0;
}

// The peak memory of one call of work() beyond what the process held before
// it, in MiB: measured in a child process that first hands its free heap back
// to the system and resets its peak (clear_refs), so every page the work
// touches is counted. -1 where that cannot be done.
double peakExtraMiB(const std::function<void()>& work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::malloc_trim(0);
        double mib = -1;
        if (std::ofstream("/proc/self/clear_refs") << "5") {
            const long before = residentKiB("VmRSS");
            work();
            mib = static_cast<double>(residentKiB("VmHWM") - before) / 1024.0;
        }
        [[maybe_unused]] const auto n = ::write(fds[1], &mib, sizeof mib);
        ::_exit(0);
    }
    double mib = -1;
    if (::read(fds[0], &mib, sizeof mib) != sizeof mib)
        mib = -1;
    ::close(fds[0]);
    ::close(fds[1]);
    ::waitpid(child, nullptr, 0);
    return mib;
}

// Reading and counting the ten files (the list file is not written).
void BM_IntersectReadTenFiles(benchmark::State& state)
{
    const BetFiles& f = betFiles();
    IntersectionInput in;
    in.files = f.files;
    in.specials = SpecialChoice::None;
    in.listFile = f.dir / "temp.txt";
    for (auto _ : state) {
        IntersectionCounts counts;
        benchmark::DoNotOptimize(countIntersection(TwoColourBall(), in, counts).ok());
    }
    state.counters["peak_extra_MiB"] = peakExtraMiB([&] { runIntersection(TwoColourBall(), in); });
}
BENCHMARK(BM_IntersectReadTenFiles)->Unit(benchmark::kMillisecond);

// The whole run: reading, counting and writing about 200,000 result lines.
void BM_IntersectTenFiles(benchmark::State& state)
{
    const BetFiles& f = betFiles();
    IntersectionInput in;
    in.files = f.files;
    in.specials = SpecialChoice::None;
    in.listFile = f.dir / "temp.txt";
    std::int64_t lines = 0;
    for (auto _ : state)
        lines = runIntersection(TwoColourBall(), in).lines;
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_IntersectTenFiles)->Unit(benchmark::kMillisecond);

// Reading and counting as directly as it is described: getline, string
// splitting and the rank as sums of binomials.
void BM_IntersectTenFilesReadDirect(benchmark::State& state)
{
    const BetFiles& f = betFiles();
    const std::int64_t rows = Binomial(33, 6);
    for (auto _ : state) {
        std::vector<int> count(static_cast<std::size_t>(rows), 0);
        std::vector<int> mark(static_cast<std::size_t>(rows), 0);
        for (const auto& file : f.files) {
            std::fill(mark.begin(), mark.end(), 0);
            std::ifstream in(file);
            std::string line;
            while (std::getline(in, line)) {
                for (char& ch : line)
                    if (ch == '+' || ch == ',' || ch == '\r')
                        ch = ' ';
                std::istringstream fields(line);
                std::vector<int> x;
                std::string field;
                while (fields >> field)
                    x.push_back(std::stoi(field));
                if (x.size() < 6)
                    continue;
                std::int64_t rank = 1;
                int prev = 0;
                for (int i = 1; i <= 6; ++i) {
                    for (int j = prev + 1; j <= x[i - 1] - 1; ++j)
                        rank += Binomial(33 - j, 6 - i);
                    prev = x[i - 1];
                }
                if (!mark[static_cast<std::size_t>(rank - 1)]) {
                    mark[static_cast<std::size_t>(rank - 1)] = 1;
                    ++count[static_cast<std::size_t>(rank - 1)];
                }
            }
        }
        benchmark::DoNotOptimize(count.data());
    }
}
BENCHMARK(BM_IntersectTenFilesReadDirect)->Unit(benchmark::kMillisecond)->Iterations(1);

// One file of the first 300,000 combinations, made once.
std::filesystem::path oneFile()
{
    const auto one = betFiles().dir / "one.txt";
    if (!std::filesystem::exists(one)) {
        std::string text;
        char line[32];
        std::array<int, 6> c{1, 2, 3, 4, 5, 6};
        for (int l = 0; l < 300000; ++l) {
            std::snprintf(line, sizeof line, "%.2d %.2d %.2d %.2d %.2d %.2d\r\n", c[0], c[1], c[2], c[3], c[4], c[5]);
            text += line;
            nextSet(c);
        }
        std::ofstream(one, std::ios::binary) << text;
    }
    return one;
}

// Writing 300,000 result lines: the counts of one file of 300,000 distinct
// bets, read once before.
void BM_IntersectWrite300000(benchmark::State& state)
{
    const BetFiles& f = betFiles();
    IntersectionInput in;
    in.files = {oneFile()};
    in.listFile = f.dir / "temp.txt";
    IntersectionCounts counts;
    const IntersectionResult counted = countIntersection(TwoColourBall(), in, counts);
    std::int64_t lines = 0;
    for (auto _ : state)
        lines = writeIntersection(TwoColourBall(), in, counts, counted).lines;
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_IntersectWrite300000)->Unit(benchmark::kMillisecond);

// The same 300,000 lines written directly: every combination in order, one
// snprintf and one stream write per result line.
void BM_IntersectWrite300000Direct(benchmark::State& state)
{
    const BetFiles& f = betFiles();
    IntersectionInput in;
    in.files = {oneFile()};
    IntersectionCounts counts;
    if (!countIntersection(TwoColourBall(), in, counts).ok()) {
        state.SkipWithError("no counts");
        return;
    }
    for (auto _ : state) {
        std::ofstream out(f.dir / "direct.txt", std::ios::binary);
        std::array<int, 6> c{1, 2, 3, 4, 5, 6};
        long long seq = 0;
        char line[64];
        for (std::int64_t r = 0; r < counts.rows; ++r) {
            if (counts.entries.get()[r].count == 1) {
                const int n = std::snprintf(line, sizeof line, "%.7lld    %.2d %.2d %.2d %.2d %.2d %.2d \r\n", ++seq,
                                            c[0], c[1], c[2], c[3], c[4], c[5]);
                out.write(line, n);
            }
            if (!nextSet(c))
                break;
        }
    }
}
BENCHMARK(BM_IntersectWrite300000Direct)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
