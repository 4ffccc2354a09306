#pragma once
// The four selection advisers: each recommends numbers for one target issue
// from the draws before it and replays that rule over the whole history.
//
// Numbers run from firstNumber(lottery) (1, or 0 for a digit lottery) over N
// values; "every number ascending" walks them in that order. A hit count is
// the number of the draw's k numbers that are in the bet, and window counts
// count drawn positions, so a repeated digit counts each time.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

inline int firstNumber(const LotteryParams& p) { return p.digitsFromZero() ? 0 : 1; }

enum class AdviserKind { Interval, Intimate, Composite, StemBranch };

// ---- settings -------------------------------------------------------------

struct IntervalSettings {
    int draws = 5;  // M, 间隔期数
    int count = 18; // S, 选号个数
};

struct IntimateSettings {
    bool overall = true; // "总体位置" (else "各个位置")
    int count = 17;      // W
    int stage = 7;       // S, 0 for "全部期数"
};

struct CompositeSettings {
    int w1 = 40;
    int w2 = 1;
    int w3 = 10;
    int w4 = 10;
};

struct StemBranchSettings {
    bool extra = false; // "附加" (else "标准")
};

// Defaults for a lottery and a history of n draws.
IntervalSettings defaultIntervalSettings(const LotteryParams& p);
IntimateSettings defaultIntimateSettings(const LotteryParams& p, int n);
CompositeSettings defaultCompositeSettings(int n);

// ---- turning typed texts into settings (windows and command line alike) ----

// A whole number (ASCII digits with an optional sign) of lo..hi. Throws Error:
// integerConversionMessage for anything else than a whole number, and
// label + "须为" + lo + "到" + hi + "的整数！" when out of range.
int parseSetting(const std::string& text, const std::string& label, int lo, int hi);
// The stage count: allWord ("全部期数", or "all" on the command line) gives 0,
// otherwise a whole number 1..n ("阶段次数须为全部期数或1到n的整数！").
int parseStage(const std::string& text, const std::string& allWord, int n);
// The position of an issue in the target list (every issue of the history,
// then the next issue): 0..n. Throws Error with the conversion message or
// "目前投注期须为历史中的一期或下一期！".
int parseTarget(const DrawHistory& h, const std::string& text);
// The target list's texts.
std::vector<std::string> targetItems(const DrawHistory& h);

// ---- Part rules -----------------------------------------------------------

// 5.1: the intervals 1..M ordered by their frequencies (frequency[d - 1]),
// least frequent first, by the exchange sort.
std::vector<int> intervalOrder(const std::vector<int>& frequency);
// 5.1: the bet for target position P (0..n), grouped by interval.
std::vector<int> recommendInterval(const DrawHistory& h, const LotteryParams& p, int P, const IntervalSettings& s);

struct IntimacyEntry {
    int number = 0;
    int count = 0;
};
struct IntimateResult {
    std::vector<int> reference;                          // draw P-1's numbers
    std::vector<std::vector<IntimacyEntry>> positions;   // ordered tables, one per position
    std::vector<IntimacyEntry> overall;                  // ordered overall table
    std::vector<int> bet;                                // marked numbers, ascending
};
// 5.2: P >= 1 (throws Error "目前投注期之前没有开奖号码！" for P = 0).
IntimateResult recommendIntimate(const DrawHistory& h, const LotteryParams& p, int P, const IntimateSettings& s);

struct CompositeResult {
    std::vector<int> step1; // ascending
    std::vector<int> step2; // ascending
    std::vector<int> step3; // ascending
    std::vector<int> step4; // ranking-B order
    std::vector<int> bet;   // ascending
};
// 5.3: the four steps for target T (0..n).
CompositeResult recommendComposite(const DrawHistory& h, const LotteryParams& p, int T, const CompositeSettings& s);

// 5.4: dates, stems and branches.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};
// Year-month-day with "-" or "/" between the parts; false for anything else
// or a day that does not exist.
bool parseDate(const std::string& text, CivilDate& date);
std::string dateText(const CivilDate& d); // "2003-2-23"
long long dayNumber(const CivilDate& d);    // days since 1970-1-1
CivilDate dateFromDayNumber(long long days);
int weekdayOf(const CivilDate& d);          // 1 = Monday … 7 = Sunday
int stemIndex(const CivilDate& d);
int branchIndex(const CivilDate& d);
extern const std::array<const char*, 10> kStems;
extern const std::array<const char*, 12> kBranches;
// The selected last digits for a stem and a branch.
std::array<bool, 10> selectedDigits(int stem, int branch, bool extra);
std::vector<int> recommendStemBranch(const LotteryParams& p, const std::array<bool, 10>& digits);
// The date of the draw after one on lastDate: the two-colour ball by its
// weekday table, another lottery on the first later day among its draw
// weekdays ("开奖星期" digits 1..7), or the next day when none are stored.
CivilDate nextDrawDate(const std::string& lotteryName, const std::string& weekdays, const CivilDate& lastDate);

// ---- history replay -------------------------------------------------------

struct AdviserReplay {
    AdviserKind kind = AdviserKind::Interval;
    int drawCount = 0;
    int firstBet = -1; // first position with a bet; -1 when none
    int firstRow = 0;  // first position with a grid row
    int firstBar = 0;  // first position with a history-chart bar
    std::vector<int> betStart;   // per position, offsets into betNumbers (drawCount + 1)
    std::vector<int> betNumbers; // bets in display order
    std::vector<int> hits;       // per position (0 without a bet)
    std::vector<int> histogram;  // k + 1 (5.1, 5.2)
    int maxHits = 0;
    int minHits = 0;

    bool hasBet(int pos) const { return firstBet >= 0 && pos >= firstBet; }
    std::span<const int> bet(int pos) const
    {
        return std::span<const int>(betNumbers).subspan(static_cast<std::size_t>(betStart[pos]),
                                                        static_cast<std::size_t>(betStart[pos + 1] - betStart[pos]));
    }
    int rowCount() const { return drawCount > firstRow ? drawCount - firstRow : 0; }
    int barCount() const { return drawCount > firstBar ? drawCount - firstBar : 0; }
};

AdviserReplay replayInterval(const DrawHistory& h, const LotteryParams& p, const IntervalSettings& s);
AdviserReplay replayIntimate(const DrawHistory& h, const LotteryParams& p, const IntimateSettings& s);
AdviserReplay replayComposite(const DrawHistory& h, const LotteryParams& p, const CompositeSettings& s);
// Throws Error "第I期没有正确的开奖日期！" for a draw without a readable date.
AdviserReplay replayStemBranch(const DrawHistory& h, const LotteryParams& p, const std::vector<std::string>& dates,
                               const StemBranchSettings& s);

// ---- texts ----------------------------------------------------------------

extern const std::array<const char*, 4> kReplayHeader; // 记录期号 开奖号码 投注号码 中奖个数
// Cell (0..3) of grid row `row` (0 = the first row under the header).
std::string replayCell(const AdviserReplay& r, const DrawHistory& h, int row, int column);
// The memo's one line.
std::string replayMemo(const AdviserReplay& r);
// Numbers "%.2d " or plain + " ", each followed by one blank.
std::string numbersText(std::span<const int> numbers, bool twoDigits);
// edtcurcode: issue + "期推荐投注号码：" + the bet.
std::string recommendationText(const std::string& issueText, std::span<const int> bet, bool twoDigits);
// tabcode's cells: overall one cell, per position N + 1 rows of k + 1 cells.
std::vector<std::vector<std::string>> intimacyCells(const IntimateResult& r, bool overall);
// edtcode1 … edtcode4.
std::array<std::string, 4> compositeBoxTexts(const CompositeResult& r);
// The draw date of target position pos (0..n): a draw's own date, or for the
// next issue the date after the last draw's; none when it cannot be read.
bool targetDate(const DrawHistory& h, const std::vector<std::string>& dates, const std::string& lotteryName,
                const std::string& weekdays, int pos, CivilDate& date);

} // namespace zelvor
