#pragma once
// The investment mode: random bets of a three-digit play type, the hit table
// they give over a draw history, the interval statistics, the settings and
// their files, and the simulation of a chasing plan cycle by cycle with the
// search over three of its settings. Plain C++, shared by the investment mode
// window and zelvor-cli.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <string>
#include <vector>

#include "common/random.h"
#include "data/lottery.h"
#include "invest/plan.h"

namespace zelvor::invest {

// Play types, in the order of the radio group.
enum PlayType { Direct = 0, AnyGroup = 1, Group3 = 2, Group6 = 3 };
inline constexpr int kPlayTypeCount = 4;
const char* playTypeText(int type);          // "直选", "全组选", "组选3", "组选6"
int playTypeMaxBets(int type);               // 1000, 210, 90, 120
const char* playTypeCountMessage(int type);  // "请请输入1到1000的直选注数！" ...

inline constexpr const char* kGenerateFirst = "请生成号码！";
inline constexpr const char* kFirstDayTooMuch = "第一天投入已经超出中奖金额，无法投注！";
inline constexpr const char* kModeMultiplierTooLarge = "所需倍数太大，无法投注！";
inline constexpr const char* kWrongLottery = "投资模式只适用于3个号码的数字型彩票（中国福彩3D）！";

// Items of the four combo boxes: 中出后间隔期数 0..50, 连续投入期数 1..50,
// 观察间隔数 1..100, 观察间隔连续次数 1..10. Settings hold positions.
inline constexpr int kWaitItems = 51;
inline constexpr int kRepItems = 50;
inline constexpr int kGapMinItems = 100;
inline constexpr int kGapRunsItems = 10;
inline int waitValue(int pos) { return pos; }
inline int repValue(int pos) { return pos + 1; }
inline int gapMinValue(int pos) { return pos + 1; }
inline int gapRunsValue(int pos) { return pos + 1; }

// The window's settings. The edits hold whole numbers within ±10^9.
struct ModeSettings {
    int type = Direct;
    std::int64_t bets = 100;         // 单倍注数 (edtjushu)
    std::int64_t prize = 1000;       // 单注奖金 (edtoutofsin)
    std::int64_t profit = 10;        // 预期利润(%) (edtlirun)
    std::int64_t maxStake = 1000000; // 单期最大投入 (edtsinmax)
    std::int64_t maxTotal = 1000000; // 累计最大投入 (edtallmax)
    int waitPos = 0;                 // comtozisep
    int repPos = 0;                  // comtozirep
    int gapMinPos = 0;               // comsepindex
    int gapRunsPos = 0;              // comsepnum
    bool gapMode = true;             // chksepmode
    bool carry = true;               // chkyuji

    bool operator==(const ModeSettings&) const = default;
};
// "清空": first combo items, maxima 10000 and 100000, 100 bets, prize 1000,
// 10 %, both check boxes checked.
ModeSettings clearedSettings();
// The interval mode's rule when unchecked: both observation combos at "1".
void applyGapModeRule(ModeSettings& s);

using Bet = std::array<int, 3>;

// Whether the lottery is one the mode works for (digits, three numbers).
bool modeFitsLottery(const LotteryParams& lottery);

// Draws `count` distinct bets of the play type and sorts them ascending.
// Returns the type's message (and no bets) when count is below 1 or above
// the type's number of distinct bets.
std::string generateBets(int type, std::int64_t count, Random& random, std::vector<Bet>& bets);

// Whether a bet hits a draw: 直选 position by position, the group types by
// the same digits in any order.
bool betHits(int type, const Bet& bet, std::span<const int> draw);

// The hit table: one entry per draw, its issue and distance d (0 for a hit,
// else draws since the last hit, counting from a virtual hit before the first).
struct HitTable {
    std::vector<std::int64_t> issue;
    std::vector<std::int64_t> distance;
    int size() const { return static_cast<int>(issue.size()); }
};
HitTable buildHitTable(int type, const std::vector<Bet>& bets, const DrawHistory& history);

// The interval list and its statistics rows (interval, run length, count),
// ordered by interval then run length. No hit gives no rows.
std::vector<std::int64_t> intervalList(const HitTable& hits);
struct IntervalStat {
    std::int64_t interval, run, count;
    bool operator==(const IntervalStat&) const = default;
};
std::vector<IntervalStat> intervalStatistics(const HitTable& hits);

// Files. Bets: type index, count, one bet a line. Settings: thirteen lines.
// Both: the settings lines, then a bets file's count and bets. Loading checks
// the whole file and throws Error naming the line of a fault.
void saveBetsFile(const std::filesystem::path& file, int type, const std::vector<Bet>& bets);
void saveSettingsFile(const std::filesystem::path& file, const ModeSettings& s);
void saveBothFile(const std::filesystem::path& file, const ModeSettings& s, const std::vector<Bet>& bets);
struct LoadedBets {
    int type = 0;
    std::int64_t count = 0; // the count line, written into 单倍注数
    std::vector<Bet> bets;  // every line after the count line
};
LoadedBets loadBetsFile(const std::filesystem::path& file);
ModeSettings loadSettingsFile(const std::filesystem::path& file, const ModeSettings& current);
struct LoadedBoth {
    ModeSettings settings;
    LoadedBets bets;
};
LoadedBoth loadBothFile(const std::filesystem::path& file, const ModeSettings& current);
std::vector<std::string> settingsFileLines(const ModeSettings& s);

// The six printed lines of the settings (left and right column), with the
// text of 总体赢余.
std::vector<std::pair<std::string, std::string>> modeSettingsPrintLines(const ModeSettings& s,
                                                                        const std::string& surplus);

// ---- simulation ----

// One recorded cycle: the plan row it ended on (step, multiplier, stake,
// running total, prize, net profit, rate), whether it was cut short, and
// whether its plan started from the previous cycle's loss.
struct Cycle {
    std::int64_t step = 0, multiplier = 0, stake = 0, total = 0, prize = 0, net = 0, rate = 0;
    bool cut = false;
    bool carriedIn = false;
    bool operator==(const Cycle&) const = default;
};
struct RunResult {
    std::vector<Cycle> cycles;
    std::int64_t surplus = 0;
    std::string message; // the message the run ends with, if any
    bool aborted = false;
};
inline constexpr const char* kSurplusLabel = "总体赢余：";
const std::vector<std::string>& cycleHeaders();

// A cycle's plan rows for steps 1..steps after a carried loss (rows of zeros
// from the first step no multiplier up to 100000 fits).
std::vector<PlanRow> modePlan(std::int64_t carried, const ModeSettings& s, int steps);

// What a run needs besides the settings: which draws (1..R) are hits.
class Simulator {
public:
    explicit Simulator(const HitTable& hits);
    // Whether a run may start (a hit table with at least one draw).
    bool ready() const { return R_ > 0; }
    // One run with the given settings; `cycles` false leaves the cycle list
    // empty (the search only wants the surplus).
    RunResult run(const ModeSettings& s, bool cycles = true);

private:
    struct PlanInfo;
    const PlanInfo& plan(std::int64_t carried);

    int R_ = 0;
    std::vector<int> nextHit_; // nextHit_[i]: first hit draw ≥ i, R+1 when none (i = 1..R+1)
    // Plans by carried loss for the settings they were made with.
    ModeSettings planSettings_;
    bool havePlans_ = false;
    std::unordered_map<std::int64_t, std::unique_ptr<PlanInfo>> plans_;
public:
    ~Simulator();
    Simulator(Simulator&&) noexcept;
};

// The same run, transcribed step by step: a linear multiplier search for
// every plan step and a draw-by-draw walk (for tests and comparison).
RunResult simulateDirect(const HitTable& hits, const ModeSettings& s);

// The search: for 观察间隔连续次数 (all ten positions with the interval mode,
// else only the first), 中出后间隔期数 and 连续投入期数 in this nesting, one
// run each; the first best surplus is kept. `each` sees every run's positions
// and surplus; the stop flag is read before each run.
struct SearchResult {
    int gapRunsPos = 0, waitPos = 0, repPos = 0;
    std::int64_t best = 0;
    int runs = 0;
};
using SearchStep = std::function<void(int gapRunsPos, int waitPos, int repPos, std::int64_t surplus)>;
int searchRunCount(const ModeSettings& s);
SearchResult searchSettings(Simulator& sim, const ModeSettings& s, const std::atomic<bool>* stop = nullptr,
                            const SearchStep& each = {});
SearchResult searchSettingsDirect(const HitTable& hits, const ModeSettings& s);

} // namespace zelvor::invest
