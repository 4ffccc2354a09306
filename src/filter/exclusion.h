#pragma once
// Endless exclusion: pass after pass over a candidate set, each pass looking
// at the history through a freshly drawn view (stage length W and position
// permutation P) and marking the candidates that fail the window's test.
// One engine serves the four windows (repeat, sum, skew, follow); a kind
// decides the ordering key, the views a pass needs and the test.
// Plain C++: the windows and zelvor-cli read their settings into
// ExclusionSettings, run the engine and show the outcome.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "common/progress.h"
#include "common/random.h"
#include "data/lottery.h"
#include "filter/betlist.h"

namespace zelvor {

enum class ExclusionKind { Repeat, Sum, Skew, Follow };

inline constexpr const char* kExclusionLottoOnlyMessage = "无穷排除只适用于乐透型彩票！";
inline constexpr const char* kExclusionPickCountMessage = "无穷排除只适用于每注4到7个号码、号码不超过62的彩票！";
inline constexpr const char* kFollowCompareMessage = "对比号码数只能是1、2或3！";
inline constexpr const char* kFollowStageMessage = "阶段统计期数必须大于0！";

// Why a lottery cannot be filtered by endless exclusion; nullopt when it can.
std::optional<std::string> exclusionRefusal(const LotteryParams& lottery);

// ------------------------------------------------------------ candidates

// A CandidateTable packed one row per 64-bit word: bit x set for each number
// x (1..62) of the combination, the top bit the exclusion mark. 8 bytes a row
// keep even C(49, 7) = 85,900,584 rows in memory.
class ExclusionCandidates {
public:
    static constexpr std::uint64_t MarkBit = std::uint64_t{1} << 63;

    int pickCount() const { return k_; }
    std::int64_t size() const { return static_cast<std::int64_t>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    std::uint64_t row(std::int64_t i) const { return rows_[static_cast<std::size_t>(i)]; }
    bool marked(std::int64_t i) const { return (rows_[static_cast<std::size_t>(i)] & MarkBit) != 0; }
    void mark(std::int64_t i) { rows_[static_cast<std::size_t>(i)] |= MarkBit; }
    std::vector<std::uint64_t>& rows() { return rows_; }
    const std::vector<std::uint64_t>& rows() const { return rows_; }

    // Every k-subset of 1..N in ascending lexicographic order, all unmarked.
    void buildAll(int N, int k);
    // The combinations of a loaded BetFile (k numbers each, file order).
    void assign(int k, const std::vector<std::uint8_t>& flatNumbers);
    void clear() { rows_.clear(); }
    // Drops the marked rows, keeping the order of the others.
    void compact();
    std::int64_t countKept() const;
    // The numbers of a row, ascending.
    static std::vector<int> numbers(std::uint64_t row);

private:
    int k_ = 0;
    std::vector<std::uint64_t> rows_;
};

inline std::uint64_t numberBit(int x) { return std::uint64_t{1} << x; }

// Writes the unmarked rows: as shown (red-numbers-only BetLines with
// sequence numbers, the list file) or as a saved BetFile. CR LF line ends,
// through a temporary file. progress(row, rows) every 64K rows.
FileWriteResult writeExclusionList(const std::filesystem::path& file, const ExclusionCandidates& candidates,
                                   bool asBetFile, const ProgressFn& progress = {});

// ------------------------------------------------------------ pass views

// Order of the position records. "Must come first" for each key:
enum class PlaceKey {
    CountFirst,    // smaller count; at equal counts larger omission (repeat, skew, follow 次数模式)
    OmissionFirst, // smaller omission; at equal omissions larger count (sum pass)
    LongestGap,    // larger omission; at equal omissions smaller count (follow 间隔模式)
};

struct PositionRecord {
    int position = 0; // 1..N
    int count = 0;
    int omission = 0;
};

// True when record a must come before record b by the key.
bool comesBefore(const PositionRecord& a, const PositionRecord& b, PlaceKey key);
// The exchange sort: for i, for j > i, swap when slot j must come first.
void exchangeSort(std::vector<PositionRecord>& records, PlaceKey key);

// Uniform random permutation of 1..N (index 0 unused), drawn by taking a
// value of 1..N for each n in turn and drawing again while it is taken.
std::vector<int> drawPositionPermutation(int N, Random& random);

// The position records of a view walked through the history draw by draw.
// At position t the records cover the draws before t: counts over the last W
// draws (all draws for W = 0), omissions over all of them.
class ViewWalk {
public:
    ViewWalk(const DrawHistory& history, int N, std::span<const int> permutation, int W, PlaceKey key);

    int t() const { return t_; }
    // Takes draw t into the records (t < D).
    void advance();
    void advanceTo(int t);

    int pos(int x) const { return (P_[static_cast<std::size_t>(x)] + t_) % N_ + 1; }
    std::vector<PositionRecord> records() const;
    // map[x] = view(x, t) = place of pos(x, t) in the ordering at t (x = 1..N).
    void viewMap(std::vector<int>& map) const;
    // map[x] = pos(x, t): the wheel positions themselves.
    void wheelMap(std::vector<int>& map) const;

private:
    const DrawHistory& history_;
    int N_;
    std::vector<int> P_;
    int W_;
    PlaceKey key_;
    int t_ = 0;
    std::vector<int> count_;
    std::vector<int> last_; // latest draw with a number at the position, -1 for none
};

// ------------------------------------------------------------ settings

// Where a pass's stage length and permutation come from: the program
// generator, or given ones (zelvor-cli --window/--perm, tests).
class ViewSource {
public:
    virtual ~ViewSource() = default;
    // A stage length of 1..maxW for the pass (1-based).
    virtual int stage(int pass, int maxW) = 0;
    virtual std::vector<int> permutation(int pass, int N) = 0;
};

class RandomViewSource : public ViewSource {
public:
    explicit RandomViewSource(Random& random) : random_(random) {}
    int stage(int, int maxW) override { return 1 + random_.below(maxW); }
    std::vector<int> permutation(int, int N) override { return drawPositionPermutation(N, random_); }

private:
    Random& random_;
};

// Pass i takes the ((i - 1) mod n)-th permutation and the same-numbered stage.
class GivenViewSource : public ViewSource {
public:
    GivenViewSource(std::vector<std::vector<int>> permutations, std::vector<int> stages)
        : permutations_(std::move(permutations)), stages_(std::move(stages))
    {
    }
    int stage(int pass, int maxW) override;
    std::vector<int> permutation(int pass, int N) override;

private:
    std::vector<std::vector<int>> permutations_;
    std::vector<int> stages_;
};

// The settings of a run, every one read once when the run starts.
struct ExclusionSettings {
    ExclusionKind kind = ExclusionKind::Repeat;
    int b = 0;              // betting position: draws 0..b-1 are its history
    bool byTarget = true;   // optjushu: down to `target` bets; else `passes` passes
    std::int64_t target = 10000;
    int passes = 10000;
    // repeat
    int span = 10;          // S
    int minRepeats = 6;     // R
    // sum, follow: fails when the value >= upper or <= lower
    int upper = 0;
    int lower = 0;
    // skew
    bool oddMode = false;   // 奇偶模式 (else 大小模式)
    bool high = false;      // chkda
    int A = 5, L1 = 0, U1 = 5;
    bool low = false;       // chkxiao
    int B = 1, L2 = 1, U2 = 6;
    int Y = 2;
    // follow
    bool standard = false;    // 常规 (else 变幻)
    bool wheel = false;       // 排列模式 (else 排名模式)
    bool omissionKey = false; // 间隔模式 (else 次数模式)
    bool randomStage = false; // 随机阶段
    bool maxStage = false;    // 最大阶段期数
    int stage = 100;
    int h = 2;
};

// The controls of a window as texts, read by readExclusionSettings.
struct ExclusionInputs {
    int b = 0;
    bool byTarget = true;
    std::string targetText = "10000";
    std::string passesText = "10000";
    int span = 10;                  // repeat: comqishu's list position + 1
    std::string repeatsText;        // comAC
    std::string upperText, lowerText; // sum, follow: comhei1, comhei2
    bool oddMode = false;
    bool high = false;
    std::string aText, l1Text, u1Text;
    bool low = false;
    std::string bText, l2Text, u2Text;
    std::string yText = "2";
    bool standard = false, wheel = false, omissionKey = false, randomStage = false, maxStage = false;
    std::string stageText = "100";
    std::string hText = "2";
};

// Every setting the kind uses, read in the window's order; the first text
// that is not a whole number (conversion message) or a refused value wins.
std::variant<ExclusionSettings, std::string> readExclusionSettings(ExclusionKind kind, const ExclusionInputs& inputs,
                                                                   const LotteryParams& lottery);

// The defaults of the sum window's bounds: the list values at positions
// (count x 9) div 10 - 1 and (count x 2) div 10 - 1 of all possible sums.
int sumListLow(int N, int k);
int sumListHigh(int N, int k);
int defaultSumUpper(int N, int k);
int defaultSumLower(int N, int k);

// ------------------------------------------------------------ the run

struct ExclusionPassReport {
    int pass = 0;          // 1-based
    int stage = 0;         // W of the pass (0 for the standard follow pass)
    std::int64_t excluded = 0;
    std::int64_t left = 0;
};

struct ExclusionHooks {
    // Polled before each pass tests a row and every few milliseconds while it
    // does; false stops the run (the user pressed "停止").
    std::function<bool(int pass)> keepGoing;
    // pb's position in 0..progressMax.
    std::function<void(std::int64_t value, std::int64_t max)> progress;
    std::function<void(const ExclusionPassReport&)> passDone;
};

struct ExclusionRunResult {
    bool stopped = false;
    int passes = 0;           // passes completed (a pass that reached the target counts)
    std::int64_t survivors = 0;
};

// The work of one pass, prepared once and applied to every row.
struct ExclusionPass {
    ExclusionKind kind = ExclusionKind::Repeat;
    int stage = 0;
    bool testsRows = true;             // skew: false when neither state holds
    std::vector<std::uint64_t> masks;  // repeat: compared draws; follow: followers; skew: counted values
    std::vector<int> value;            // sum: value[x] = view(x, b)
    int threshold = 0;                 // repeat R
    int pickCount = 0;                 // k: every row holds k numbers
    int upper = 0, lower = 0;          // sum, follow
    bool high = false, low = false;    // skew states with their ticks
    int L1 = 0, U1 = 0, L2 = 0, U2 = 0;
};

struct ExclusionChunk {
    std::int64_t next = 0;     // the first row not looked at
    std::int64_t excluded = 0; // rows marked
};
// Tests the unmarked rows from..to-1 and marks those that fail, stopping
// after `room` marks (a target met).
ExclusionChunk testRows(const ExclusionPass& pass, std::uint64_t* rows, std::int64_t from, std::int64_t to,
                        std::int64_t room);

// Builds pass `pass`'s view (drawing W and P from the source as the kind
// needs) and prepares its test.
ExclusionPass prepareExclusionPass(const ExclusionSettings& s, const LotteryParams& lottery,
                                   const DrawHistory& history, ViewSource& source, int pass);

// The same pass written straight from the rules: the views as k values per
// draw, every comparison per candidate. Marks the failing unmarked rows and
// returns how many; for checks and benchmarks.
std::int64_t exclusionPassDirect(ExclusionCandidates& candidates, const ExclusionSettings& s,
                                 const LotteryParams& lottery, const DrawHistory& history,
                                 std::span<const int> permutation, int stage);

// A window's candidate set with its start-over flag and the stage length in
// force.
class ExclusionEngine {
public:
    ExclusionEngine(LotteryParams lottery, const DrawHistory& history) : lottery_(std::move(lottery)), history_(history) {}

    ExclusionCandidates& candidates() { return candidates_; }
    const ExclusionCandidates& candidates() const { return candidates_; }
    bool startFromAll() const { return startFromAll_; }
    void clear() { startFromAll_ = true; }
    void takeLoaded(const BetFileLoad& load);
    int stageInForce() const { return stageInForce_; }
    void setStageInForce(int w) { stageInForce_ = w; }

    // Steps 3 to 10 of a run. A completed run clears StartFromAll and
    // compacts the set (the caller writes the list); a stopped one keeps the
    // marks and StartFromAll.
    ExclusionRunResult run(const ExclusionSettings& settings, ViewSource& source, const ExclusionHooks& hooks = {});

private:
    LotteryParams lottery_;
    const DrawHistory& history_;
    ExclusionCandidates candidates_;
    bool startFromAll_ = true;
    int stageInForce_ = 0;
};

// ------------------------------------------------------------ statistics

struct ExclusionStatistics {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> values; // the chart's value per row
    std::string summary;     // repeat and sum; empty for follow
};

// A view for the variable statistics: P, and W (0 = all draws).
struct StatisticsView {
    std::vector<int> permutation;
    int stage = 0;
    bool wheel = false;       // follow 排列模式
    bool omissionKey = false; // follow 间隔模式
};

ExclusionStatistics repeatStatistics(const LotteryParams& lottery, const DrawHistory& history, int span,
                                     const StatisticsView* view = nullptr);
ExclusionStatistics sumStatistics(const LotteryParams& lottery, const DrawHistory& history,
                                  const StatisticsView* view = nullptr);
ExclusionStatistics followStatistics(const LotteryParams& lottery, const DrawHistory& history, int h,
                                     const StatisticsView* view = nullptr);

// The follow count of a set (bit x for each value x) against the draws
// H(0..t-1) given the same way, at position t: the largest overlap with the
// follower of the latest earlier draw holding each h-subset of H(t-1).
int followCount(std::uint64_t set, std::span<const std::uint64_t> draws, int t, int h);

} // namespace zelvor
