#pragma once
// The condition back-test ("回测"): replays the recent draws of the history
// against the total filter's metric ranges, each draw measured with the draw
// before it as its skewness reference, and sets the share of draws that pass
// beside the share of all combinations that the same ranges keep now.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "common/progress.h"
#include "data/combinations.h"
#include "data/lottery.h"
#include "filter/total_filter.h"

namespace zelvor {

inline constexpr int kDefaultBacktestDraws = 100;

// Names of the seven conditions on the command line ("big" .. "ac") and in
// the window ("大数" .. "AC值"), in RangeTest order.
const char* backtestConditionName(RangeTest test);
const char* backtestConditionCaption(RangeTest test);

// The ticked metric ranges, closed intervals [lower, upper].
struct BacktestRanges {
    std::array<bool, RangeTestCount> ticked{};
    std::array<int, RangeTestCount> lower{};
    std::array<int, RangeTestCount> upper{};

    bool breaks(RangeTest test, int value) const
    {
        const auto i = static_cast<std::size_t>(test);
        return ticked[i] && (value < lower[i] || value > upper[i]);
    }
    std::vector<RangeTest> tickedTests() const;
};

// The seven metric rows with the total filter's own checks and messages: no
// row ticked, an empty box, a reversed range, a text that is not a whole number.
std::variant<BacktestRanges, TotalFilterProblem> readBacktestRanges(
    const std::array<RangeInput, RangeTestCount>& rows, const LotteryParams& lottery);

// The seven measures of one draw, with the total filter's big rule and the
// draw before as the skewness reference, in RangeTest order.
using DrawMeasures = std::array<int, RangeTestCount>;
DrawMeasures measureDraw(std::span<const int> numbers, std::span<const int> previous, int N);

// The measures of every draw that has a draw before it: entry i belongs to
// draw i + 1 of the history. Made once per opened history; each replay only
// compares them with the ranges.
std::vector<DrawMeasures> measureHistory(const DrawHistory& history, int N);

struct BacktestDraw {
    int draw = 0;            // position in the history, oldest 0
    int issue = 0;
    std::uint8_t broken = 0; // bit per RangeTest
};

struct BacktestReplay {
    std::vector<BacktestDraw> draws; // oldest first
    std::array<int, RangeTestCount> failures{};
    int passed = 0;
    int replayed() const { return static_cast<int>(draws.size()); }
};

// Draws replayed for a wish of `recent` (nullopt: all): the draws that have a
// draw before them, at most `recent` of them.
int backtestDrawCount(const DrawHistory& history, std::optional<int> recent);

// Replays the newest backtestDrawCount draws against the ranges.
BacktestReplay replayBacktest(const DrawHistory& history, const std::vector<DrawMeasures>& measures,
                              const BacktestRanges& ranges, std::optional<int> recent);
// The same written straight from the rules: every ticked metric of each draw
// computed afresh from the draw and the one before it. For checks and benchmarks.
BacktestReplay replayBacktestDirect(const DrawHistory& history, int N, const BacktestRanges& ranges,
                                    std::optional<int> recent);

// How many of all combinations the same ranges keep now (skewness against the
// latest draw): the total filter's count. total is 0 when the lottery's
// combinations are not held (k outside 5..7 or too many).
struct KeptShare {
    std::int64_t kept = 0;
    std::int64_t total = 0;
    bool stopped = false;
};

// Holds its own table of all combinations, so the total filter's candidate
// set is left as it stands; the table and its metric cache are kept between
// counts of the same lottery.
class BacktestKeptCounter {
public:
    KeptShare count(const LotteryParams& lottery, const DrawHistory& history, const BacktestRanges& ranges,
                    const ProgressFn& progress = {});

private:
    CombinationTable table_;
    TotalFilterCache cache_;
    int N_ = 0;
    int k_ = 0;
};

// (passed / replayed) / (kept / total) in hundredths, halves away from zero,
// worked out in whole numbers; nullopt when either share is undefined (no
// draw replayed, nothing kept, combinations not held).
std::optional<std::int64_t> efficiencyHundredths(int passed, int replayed, const KeptShare& share);
// "0.87", or "-" when undefined.
std::string efficiencyText(int passed, int replayed, const KeptShare& share);

} // namespace zelvor
