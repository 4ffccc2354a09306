#pragma once
// The total filter: marks the candidate table by ranges of seven metrics,
// a count of chosen red numbers and a count of banker hits, then writes the
// survivors with every chosen blue number as the list. The window reads its
// controls into TotalFilterInputs, calls TotalFilter::run and shows the
// outcome; zelvor-cli does the same from its arguments.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "analysis/metrics.h"
#include "analysis/trend.h"
#include "common/progress.h"
#include "common/random.h"
#include "data/combinations.h"
#include "data/lottery.h"
#include "filter/betlist.h"

namespace zelvor {

// The seven range tests, in the order the window lists and applies them.
enum class RangeTest { Big, Odd, Sum, Span, Dispersion, Skewness, Ac };
inline constexpr int RangeTestCount = 7;

// The filter's own big rule: values of at least N div 2 (16..33 for N = 33).
// Not BigCount, which counts values above N div 2.
template <class T> int TotalFilterBigCount(std::span<const T> values, int N)
{
    int n = 0;
    for (T v : values)
        n += (static_cast<int>(v) >= N / 2);
    return n;
}

// Items of a range combo box: every whole number from first to last.
Bounds rangeListBounds(RangeTest test, int N, int k);
std::vector<std::string> rangeListItems(RangeTest test, int N, int k);

// One metric row of the window: tick, the two boxes' texts and the list
// positions of their chosen items (-1 when none is chosen, e.g. typed text).
struct RangeInput {
    bool ticked = false;
    std::string lowerText;
    std::string upperText;
    int lowerIndex = -1;
    int upperIndex = -1;
};
// A metric row from its tick and the two texts as they stand in the boxes:
// each text's position among the box's items (-1 when it names none), as the
// window's boxes find it.
RangeInput rangeInput(RangeTest test, int N, int k, bool ticked, std::string lowerText, std::string upperText);

// The number panels: at most 50 red and 30 blue panels, numbered from 1.
inline constexpr int RedPanelLimit = 50;
inline constexpr int BluePanelLimit = 30;
inline int redPanelCount(const LotteryParams& lottery) { return std::min(lottery.numberRange, RedPanelLimit); }
inline int bluePanelCount(const LotteryParams& lottery) { return std::min(lottery.specialRange, BluePanelLimit); }

// Everything the window's controls hold, as they stand.
struct TotalFilterInputs {
    std::array<RangeInput, RangeTestCount> ranges; // chkdashu .. chkac
    bool bankerTicked = false;                     // chkdanma
    std::string bankerText;                        // edtdanma
    std::string bankerHitsFrom = "1";              // edtnum1
    std::string bankerHitsTo = "1";                // edtnum2
    bool redChoiceTicked = false;                  // chkhongqiu
    std::string redHitsFrom;                       // edtzhong1
    std::string redHitsTo;                         // edtzhong2
    std::vector<int> chosenReds;                   // red panels chosen
    std::vector<int> chosenBlues;                  // blue panels chosen
};

// Why a run did not start: a user mistake (modal error box) or a text that
// is not a whole number (the conversion message).
struct TotalFilterProblem {
    enum class Kind { UserError, ConversionError };
    Kind kind = Kind::UserError;
    std::string message;
};

// The conditions of one run, every text read once at the start.
struct TotalFilterConditions {
    std::array<bool, RangeTestCount> ticked{};
    std::array<int, RangeTestCount> lower{};
    std::array<int, RangeTestCount> upper{};
    bool redChoice = false;
    int redHitsLow = 0;
    int redHitsHigh = 0;
    std::vector<int> chosenReds; // 1..N, ascending
    bool banker = false;
    int bankerHitsLow = 0;
    int bankerHitsHigh = 0;
    std::vector<int> bankerItems;
    std::vector<int> blues; // 1..M, ascending, at least one
};

// The checks before a run, in the window's order; the first failure wins.
std::optional<TotalFilterProblem> validateTotalFilter(const TotalFilterInputs& inputs, const LotteryParams& lottery);
// Validation, then every text the run needs read as a whole number.
std::variant<TotalFilterConditions, TotalFilterProblem> readTotalFilter(const TotalFilterInputs& inputs,
                                                                        const LotteryParams& lottery);

// Banker text into items: separated by blanks; blanks and commas in front of
// an item are skipped, a comma behind a digit stays in the item ("03,07" is
// one item and not a whole number).
std::vector<std::string> splitBankerItems(std::string_view text);

// How the run sees the numbers: the current trend mode, each number's value
// after the latest draw in the variable trend (nextValue[n] = VariableValue(n, D)),
// and the latest draw's red numbers as the trend shows them (the skewness reference).
struct TotalFilterView {
    int numberRange = 0; // N
    TrendMode mode = TrendMode::Standard;
    std::vector<int> nextValue; // index 1..N; used in the variable mode
    std::vector<int> reference;

    int value(int n) const
    {
        return mode == TrendMode::Variable && n >= 0 && n < static_cast<int>(nextValue.size()) ? nextValue[n] : n;
    }
};

TotalFilterView standardView(const LotteryParams& lottery, const DrawHistory& history);
inline TotalFilterView variableView(const LotteryParams& lottery, const VariableTrend& trend)
{
    TotalFilterView v;
    v.numberRange = lottery.numberRange;
    v.mode = TrendMode::Variable;
    v.nextValue.assign(static_cast<std::size_t>(lottery.numberRange) + 1, 0);
    for (int n = 1; n <= lottery.numberRange; ++n)
        v.nextValue[static_cast<std::size_t>(n)] = trend.nextValue(n);
    if (!trend.history.empty()) {
        auto latest = trend.history.main(trend.history.size() - 1);
        v.reference.assign(latest.begin(), latest.end());
    }
    return v;
}

// Metric values of every row of one table, made once and kept while the
// rows stay the same (marks do not count). Recognises its table by a
// fingerprint of the rows, so a loaded set or a rebuilt table is noticed.
class TotalFilterCache {
public:
    // Fingerprint of a table's rows (k, count and every number).
    static std::uint64_t fingerprint(const CombinationTable& table);

    // Makes the cache describe `table`; recomputes only when the rows changed.
    void prepare(const CombinationTable& table, int N, std::uint64_t tableFingerprint);
    bool describes(std::uint64_t tableFingerprint, int N) const
    {
        return valid_ && fingerprint_ == tableFingerprint && N_ == N;
    }
    void reset() { valid_ = false; }

    const std::uint8_t* big() const { return big_.data(); }
    const std::uint8_t* odd() const { return odd_.data(); }
    const std::uint16_t* sum() const { return sum_.data(); }
    const std::uint8_t* span() const { return span_.data(); }
    const std::uint8_t* dispersion() const { return dispersion_.data(); }
    const std::uint8_t* ac() const { return ac_.data(); }

private:
    bool valid_ = false;
    int N_ = 0;
    int k_ = 0;
    std::uint64_t fingerprint_ = 0;
    std::vector<std::uint8_t> big_, odd_, span_, dispersion_, ac_;
    std::vector<std::uint16_t> sum_;
};

struct TotalFilterPass {
    std::int64_t survivors = 0;
    bool stopped = false;
};

// The filtering pass and then the banker pass over the rows with mark 0:
// marks rows that fail, counts the survivors. progress(row, rows) every
// 64K rows; false stops (marks set so far stay).
TotalFilterPass totalFilterPass(CombinationTable& table, const TotalFilterConditions& conditions,
                                const TotalFilterView& view, TotalFilterCache& cache,
                                const ProgressFn& progress = {});
// The same pass written straight from the rules, one metric call per row and
// test; the fast pass must leave identical marks. For checks and benchmarks.
TotalFilterPass totalFilterPassDirect(CombinationTable& table, const TotalFilterConditions& conditions,
                                      const TotalFilterView& view);

enum class TotalFilterStatus {
    Done,            // survivors written to the list
    UserError,       // message for a modal error box; nothing changed
    ConversionError, // a text is not a whole number; nothing changed
    NoSurvivors,     // "没有符合条件的投注号码，请重新选择过滤条件！"; marks stay, StartFromAll untouched
    Stopped,         // progress asked to stop; marks set so far stay
    ListFailed,      // the list file could not be written (message)
};

struct TotalFilterRun {
    TotalFilterStatus status = TotalFilterStatus::Done;
    std::string message;
    std::int64_t survivors = 0;
    std::int64_t lines = 0; // survivors x chosen blues: the count for lblcode
    std::vector<int> blues;
};

inline constexpr const char* kNoSurvivorsMessage = "没有符合条件的投注号码，请重新选择过滤条件！";
// A run from all combinations of a lottery whose AllCombinations is not held
// (k outside 5..7, or too many rows): without it every run would claim that
// no bet meets the conditions.
inline constexpr const char* kNoCombinationsMessage =
    "该彩票的号码组合过多或每注号码个数不在5到7之间，无法进行总体过滤！";

// The total filter's candidate set and start-over flag around the open
// lottery's AllCombinations table.
class TotalFilter {
public:
    explicit TotalFilter(CombinationTable& table) : table_(table) {}

    CombinationTable& table() { return table_; }
    bool startFromAll() const { return startFromAll_; }
    // "清空": the next run starts from all combinations.
    void clear() { startFromAll_ = true; }
    // A successful load: its combinations become the set the next run narrows.
    void takeLoaded(const BetFileLoad& load);

    // One "过滤": validate and read the inputs, filter, and when rows survive
    // write the list (layout with special number) to listFile, if given.
    TotalFilterRun run(const TotalFilterInputs& inputs, const LotteryParams& lottery, const TotalFilterView& view,
                       const std::filesystem::path& listFile, const ProgressFn& progress = {});

private:
    CombinationTable& table_;
    bool startFromAll_ = true;
    TotalFilterCache cache_;
    // Fingerprint of the table as built from all combinations of allN_, allK_.
    std::uint64_t allFingerprint_ = 0;
    int allN_ = 0;
    int allK_ = 0;
};

// Random red (or blue) numbers: `countText` distinct numbers of 1..range,
// ascending. A count that is not a whole number gets the conversion message;
// one below 0 or above the range is refused (it could never be met).
struct RandomChoice {
    bool ok = false;
    std::string message;
    std::vector<int> numbers;
};
RandomChoice chooseRandomNumbers(std::string_view countText, int range, Random& random);

} // namespace zelvor
