#pragma once
// Prize check ("对奖"): a file of bets against one draw or every draw of the
// open lottery, counted per prize level.
//
// Every bet is packed into one 64-bit mask so that checking it against a draw
// is one AND, one popcount and one shift:
//   bits 1..49   its main numbers (a digit game: bit 1 + 10 * position + digit)
//   bits 34..49  a two-colour-ball bet's blue number b as bit 33 + b
//   bits 56..58  the kind of line (with blue, red only, six or seven numbers, digits)
// A draw is the mask of its main numbers and the bit of its special number
// (the blue, or Mark Six's extra number). The key of a bet against a draw is
// kind * 16 + matches * 2 + special hit; a per-draw histogram of keys gives
// the counts of every level.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/progress.h"
#include "data/lottery.h"
#include "filter/betlist.h"

namespace zelvor {

enum class PrizeGame { TwoColourBall, Digit3, MarkSix };

// The game whose prize rules fit the lottery: the two-colour ball and Mark
// Six by name, a digit lottery of three digits as the 3D game. nullopt for
// any other lottery.
std::optional<PrizeGame> prizeGameFor(const LotteryParams& lottery);

// One prize level as shown: its name and its prize per bet.
struct PrizeLevel {
    enum class Amount { Fixed, Floating, None };
    const char* name;
    Amount kind;
    std::int64_t yuan; // for Fixed
};

// The levels of a game from the top down. The two-colour ball adds the red
// counts of red-only lines ("红球中6个" .. "红球中4个") after its six levels.
const std::vector<PrizeLevel>& prizeLevels(PrizeGame game);
// "3000", "浮动" or "-".
std::string prizeAmountText(const PrizeLevel& level);

inline constexpr std::int64_t kYuanPerBet = 2;

// The bets of a file, in file order.
struct PrizeBets {
    PrizeGame game = PrizeGame::TwoColourBall;
    std::vector<std::uint64_t> masks;
    std::int64_t betCount = 0; // single bets: a seven-number Mark Six line holds seven
    std::int64_t cost() const { return betCount * kYuanPerBet; }
};

// One bet line in the forms players keep them: a saved bet file line
// ("01 02 03 04 05 06+07" or red numbers only), a shown line with its seven-
// digit sequence number in front, and the paste forms "01,02,03,04,05,06|07"
// and "01 02 03 04 05 06 07". Mark Six takes six numbers (one bet) or seven
// (the seven bets of a multiple); the 3D game three digits ("0 7 3", "00 07
// 03" or "073"). Numbers are two digits wide, within range and, in the lotto
// games, distinct. An empty line yields nothing; false with *why for a line
// that is no bet.
struct ParsedBetLine {
    bool empty = false;
    std::uint64_t mask = 0;
    int bets = 0;
};
bool parsePrizeBetLine(PrizeGame game, std::string_view line, ParsedBetLine& out, std::string* why = nullptr);

struct PrizeBetsLoad {
    enum class Status { Loaded, Refused, Failed, Stopped };
    Status status = Status::Loaded;
    std::string message; // Refused: names the line; Failed: the file error
    PrizeBets bets;
    bool ok() const { return status == Status::Loaded; }
};

// Reads a bet file; a line that is no bet refuses the whole file.
// progress(bytesDone, bytesTotal) every 64K lines may stop it.
PrizeBetsLoad loadPrizeBets(PrizeGame game, const std::filesystem::path& file, const ProgressFn& progress = {});
// The same for lines already in memory (pasted text, tests).
PrizeBetsLoad parsePrizeBets(PrizeGame game, const std::vector<std::string>& lines);

// A draw as the kernel needs it.
struct PrizeDraw {
    std::uint64_t mainMask = 0;
    int specialBit = 55; // a bit no bet sets when the draw has no special number
};
// Draw i of the history: the two-colour ball's six reds and blue, Mark Six's
// six numbers and extra (its seventh stored number), 3D's three digits.
PrizeDraw prizeDraw(PrizeGame game, const DrawHistory& history, int i);

// Winning bets per level (the order of prizeLevels) against one draw.
struct PrizeTally {
    std::vector<std::int64_t> counts;
    std::int64_t fixedTotal = 0; // the sum of fixed prizes, in 元
    bool anyWin() const;
};

PrizeTally checkDraw(const PrizeBets& bets, const PrizeDraw& draw);

// The straightforward version, one line at a time with the matches counted
// number by number; the reference for tests and benchmarks.
PrizeTally checkDrawDirect(const PrizeBets& bets, const PrizeDraw& draw);

struct HistoryPrizeRow {
    int drawIndex = 0;
    PrizeTally tally;
};
struct HistoryPrizeCheck {
    std::vector<HistoryPrizeRow> rows; // draws with at least one win, oldest first
    PrizeTally totals;                 // over every draw
    int draws = 0;                     // draws checked
    std::int64_t cost = 0;             // the bets once per draw
    bool stopped = false;
};
// Every draw of the history, oldest first. progress(drawsDone, draws) after
// every draw; false stops it (stopped is set and the rows so far are kept).
HistoryPrizeCheck checkHistory(const PrizeBets& bets, const DrawHistory& history, const ProgressFn& progress = {});

// The level a bet wins against a draw (index into prizeLevels), or -1. A
// seven-number Mark Six line reports its best level.
int winningLevel(const PrizeBets& bets, std::size_t bet, const PrizeDraw& draw);
// A bet as the program writes it: "01 02 03 04 05 06+07", "03 07 11 19 25 33",
// "0 7 3".
std::string prizeBetText(PrizeGame game, std::uint64_t mask);

// Writes the winning bets of one draw as a list: the bet's position in the
// file ("%.7d"), four blanks, the bet, four blanks and its level; CR LF.
// progress(betsDone, bets) may stop it (the old file stays).
FileWriteResult writeWinningBets(const std::filesystem::path& listFile, const PrizeBets& bets,
                                 const PrizeDraw& draw, const ProgressFn& progress = {});

} // namespace zelvor
