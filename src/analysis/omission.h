#pragma once
// The omission tables of the skew-state and win-backfill windows: for every
// candidate number its theoretical period and wins, its actual wins, its
// longest gap, the reported gap, the cold multiple and the chase value, plus
// the three sorts. Plain C++; the windows and the command line show the rows.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

// Skew state reports the current omission of every number; backfill reports
// an earlier gap only for numbers whose recent gaps match the backfill pattern.
enum class OmissionKind { SkewState, Backfill };

// Which numbers are ranked: the main numbers (N, k) or the specials (M, m).
enum class OmissionBalls { Red, Blue };

// Order of the rows: number order, chase value (largest first), the reported
// gap (largest first), actual wins (smallest first).
enum class OmissionSort { Number = 0, Chase = 1, Reported = 2, Wins = 3 };

struct OmissionRow {
    int number = 0;
    int wins = 0;          // c, draws holding the number
    int longestGap = 0;    // L (the current omission counts as a gap)
    int reported = 0;      // G of cell 5 (0 when nothing is reported)
    std::int64_t chase = 0; // ChaseValue
    std::array<std::string, 8> cells;
};

// The header row; cell 5 depends on the window.
std::array<std::string, 8> omissionHeader(OmissionKind kind);

// The draws of one selection: `numbers` holds perDraw numbers per draw,
// oldest draw first. range = Nsel, perDraw = ksel.
struct OmissionDraws {
    int range = 0;
    int perDraw = 0;
    std::vector<int> numbers;
    int drawCount() const { return perDraw ? static_cast<int>(numbers.size()) / perDraw : 0; }
};

// The red (main) or blue (special) numbers of a history. A lottery the
// windows do not serve gives an empty message in *refusal (see omissionRefusal).
OmissionDraws omissionDraws(const LotteryParams& lottery, const DrawHistory& history, OmissionBalls balls);

// Why a lottery cannot be analysed with this selection; empty when it can.
std::string omissionRefusal(const LotteryParams& lottery, OmissionBalls balls);

// G x ksel / Nsel with one decimal, halves away from zero (exact: 3508/16 -> "219.3").
std::string coldMultipleText(std::int64_t gap, int perDraw, int range);
// (G x 100 x ksel x ksel x n) div (Nsel x Nsel x c), 0 when c = 0.
std::int64_t chaseValue(std::int64_t gap, int perDraw, int range, std::int64_t draws, std::int64_t wins);

// The table in number order (one backward walk over the draws).
std::vector<OmissionRow> omissionTable(OmissionKind kind, const OmissionDraws& draws);

// Exchange sort of the rows by the mode's key; equal keys never swap.
void sortOmissionRows(std::vector<OmissionRow>& rows, OmissionSort mode);

} // namespace zelvor
