#include "filter/backtest.h"

#include <algorithm>

#include "analysis/metrics.h"

namespace zelvor {

namespace {

constexpr const char* kNames[RangeTestCount] = {"big", "odd", "sum", "span", "dispersion", "skew", "ac"};
constexpr const char* kCaptions[RangeTestCount] = {"大数", "奇数", "和值", "跨度", "散度", "偏度", "AC值"};

// One metric of the total filter's seven, as the filter measures it.
int measure(RangeTest test, std::span<const int> x, std::span<const int> previous, int N)
{
    switch (test) {
    case RangeTest::Big: return TotalFilterBigCount(x, N);
    case RangeTest::Odd: return OddCount(x);
    case RangeTest::Sum: return SumValue(x);
    case RangeTest::Span: return SpanValue(x);
    case RangeTest::Dispersion: return DispersionValue(x, N);
    case RangeTest::Skewness: return SkewnessValue(x, previous);
    case RangeTest::Ac: return AcValue(x);
    }
    return 0;
}

void count(BacktestReplay& replay, const BacktestDraw& d)
{
    for (int t = 0; t < RangeTestCount; ++t)
        if (d.broken & (1u << t))
            ++replay.failures[static_cast<std::size_t>(t)];
    if (d.broken == 0)
        ++replay.passed;
    replay.draws.push_back(d);
}

} // namespace

const char* backtestConditionName(RangeTest test) { return kNames[static_cast<int>(test)]; }
const char* backtestConditionCaption(RangeTest test) { return kCaptions[static_cast<int>(test)]; }

std::vector<RangeTest> BacktestRanges::tickedTests() const
{
    std::vector<RangeTest> tests;
    for (int t = 0; t < RangeTestCount; ++t)
        if (ticked[static_cast<std::size_t>(t)])
            tests.push_back(static_cast<RangeTest>(t));
    return tests;
}

std::variant<BacktestRanges, TotalFilterProblem> readBacktestRanges(
    const std::array<RangeInput, RangeTestCount>& rows, const LotteryParams& lottery)
{
    // The total filter's own checks on the metric rows alone: no banker and
    // no red choice, and one blue number so that the check for blue numbers,
    // which has no meaning here, is met.
    TotalFilterInputs in;
    in.ranges = rows;
    in.chosenBlues = {1};
    LotteryParams withBlue = lottery;
    withBlue.specialRange = std::max(withBlue.specialRange, 1);
    auto read = readTotalFilter(in, withBlue);
    if (auto* problem = std::get_if<TotalFilterProblem>(&read))
        return *problem;
    const TotalFilterConditions& c = std::get<TotalFilterConditions>(read);
    BacktestRanges r;
    r.ticked = c.ticked;
    r.lower = c.lower;
    r.upper = c.upper;
    return r;
}

DrawMeasures measureDraw(std::span<const int> numbers, std::span<const int> previous, int N)
{
    DrawMeasures m{};
    for (int t = 0; t < RangeTestCount; ++t)
        m[static_cast<std::size_t>(t)] = measure(static_cast<RangeTest>(t), numbers, previous, N);
    return m;
}

std::vector<DrawMeasures> measureHistory(const DrawHistory& history, int N)
{
    std::vector<DrawMeasures> measures;
    if (history.size() < 2)
        return measures;
    measures.reserve(static_cast<std::size_t>(history.size() - 1));
    for (int i = 1; i < history.size(); ++i)
        measures.push_back(measureDraw(history.main(i), history.main(i - 1), N));
    return measures;
}

int backtestDrawCount(const DrawHistory& history, std::optional<int> recent)
{
    const int available = std::max(history.size() - 1, 0);
    return recent ? std::clamp(*recent, 0, available) : available;
}

BacktestReplay replayBacktest(const DrawHistory& history, const std::vector<DrawMeasures>& measures,
                              const BacktestRanges& ranges, std::optional<int> recent)
{
    BacktestReplay replay;
    const int R = std::min(backtestDrawCount(history, recent), static_cast<int>(measures.size()));
    replay.draws.reserve(static_cast<std::size_t>(R));
    const int first = history.size() - R;
    for (int i = first; i < history.size(); ++i) {
        const DrawMeasures& m = measures[static_cast<std::size_t>(i - 1)];
        BacktestDraw d{i, history.issue(i), 0};
        for (int t = 0; t < RangeTestCount; ++t)
            if (ranges.breaks(static_cast<RangeTest>(t), m[static_cast<std::size_t>(t)]))
                d.broken |= static_cast<std::uint8_t>(1u << t);
        count(replay, d);
    }
    return replay;
}

BacktestReplay replayBacktestDirect(const DrawHistory& history, int N, const BacktestRanges& ranges,
                                    std::optional<int> recent)
{
    BacktestReplay replay;
    const int R = backtestDrawCount(history, recent);
    for (int i = history.size() - R; i < history.size(); ++i) {
        BacktestDraw d{i, history.issue(i), 0};
        for (int t = 0; t < RangeTestCount; ++t) {
            const auto test = static_cast<RangeTest>(t);
            if (ranges.ticked[static_cast<std::size_t>(t)]
                && ranges.breaks(test, measure(test, history.main(i), history.main(i - 1), N)))
                d.broken |= static_cast<std::uint8_t>(1u << t);
        }
        count(replay, d);
    }
    return replay;
}

KeptShare BacktestKeptCounter::count(const LotteryParams& lottery, const DrawHistory& history,
                                     const BacktestRanges& ranges, const ProgressFn& progress)
{
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    if (N != N_ || k != k_) {
        table_.buildAll(N, k);
        N_ = N;
        k_ = k;
    } else {
        table_.resetMarks();
    }
    KeptShare share;
    if (table_.empty())
        return share;
    TotalFilterConditions c;
    c.ticked = ranges.ticked;
    c.lower = ranges.lower;
    c.upper = ranges.upper;
    const TotalFilterPass pass = totalFilterPass(table_, c, standardView(lottery, history), cache_, progress);
    share.total = table_.size();
    share.kept = pass.survivors;
    share.stopped = pass.stopped;
    return share;
}

std::optional<std::int64_t> efficiencyHundredths(int passed, int replayed, const KeptShare& share)
{
    if (replayed <= 0 || share.kept <= 0 || share.total <= 0 || passed < 0)
        return std::nullopt;
    // 100 * (passed / replayed) / (kept / total), rounded half up (never negative).
    const __int128 num = static_cast<__int128>(100) * passed * share.total;
    const __int128 den = static_cast<__int128>(replayed) * share.kept;
    return static_cast<std::int64_t>((2 * num + den) / (2 * den));
}

std::string efficiencyText(int passed, int replayed, const KeptShare& share)
{
    const auto h = efficiencyHundredths(passed, replayed, share);
    if (!h)
        return "-";
    const std::int64_t cents = *h % 100;
    return std::to_string(*h / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

} // namespace zelvor
