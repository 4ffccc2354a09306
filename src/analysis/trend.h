#pragma once
// The draw trend table: the standard build (stored numbers) and the variable
// build (each number replaced by its rank in a randomised ordering of overdue
// numbers). Pure C++; the trend window paints TrendRows.
#include <cstdint>
#include <string>
#include <vector>

#include "common/random.h"
#include "data/lottery.h"

namespace zelvor {

enum class TrendMode { Standard, Variable };

// One row of the trend table. cells[c] is 1 where column c carries a mark
// (c >= 2; 0 and 1 are the issue and numbers columns, kept 0 here).
struct TrendRow {
    int issue = 0;
    std::string numbers; // "03 09 16 17 24 33 + 12"
    std::vector<std::uint8_t> cells;
};
using TrendRows = std::vector<TrendRow>;

// Column layout of the trend grid for a lottery.
struct TrendLayout {
    int columns = 0;      // N + M + 4 with specials, N + 3 without
    int firstMain = 3;    // grid column of the lowest main number
    int mainCount = 0;    // number of main-number columns
    int mainBase = 1;     // value shown in the first main column (0 for digit lotteries)
    int specialSeparator = -1; // column of the second separator (-1 when none)
    int firstSpecial = -1;     // first special column (-1 when none)
    int specialCount = 0;      // M
};
TrendLayout trendLayout(const LotteryParams& lottery);

TrendRows buildStandardTrend(const LotteryParams& lottery, const DrawHistory& history);

// One entry of the rank table: shifted value t, its count and omission.
struct RankEntry {
    int value = 0;
    int count = 0;
    int omission = 0;
};

// The random choices of one variable build: window W (1..100) and the
// permutation p(1..N) (permutation[0] unused).
struct VariableSettings {
    int window = 1;
    std::vector<int> permutation;
};
VariableSettings drawVariableSettings(int N, Random& random);

struct VariableTrend {
    VariableSettings settings;
    DrawHistory history;               // VariableHistory: issue + k ascending ranks
    std::vector<RankEntry> snapshot;   // VariableSnapshot: rank table at position D, rank order
    std::vector<int> snapshotRank;     // rank(t) at position D, t = 1..N (index 0 unused)
    int drawCount = 0;                 // D
    int numberRange = 0;               // N

    // VariableValue(n, D): the value number n takes after the latest draw.
    int nextValue(int n) const;
    // The number b with VariableValue(b, D) = c.
    int numberForNextValue(int c) const;
};

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings);

// TrendRows of the variable view: ranked main numbers, stored special numbers.
TrendRows variableTrendRows(const LotteryParams& lottery, const DrawHistory& history,
                            const VariableTrend& trend);

} // namespace zelvor
