#pragma once
// The draw trend table: the standard build (stored numbers) and the variable
// build (each number replaced by its rank in a randomised ordering of overdue
// numbers). Pure C++; the trend window paints TrendRows.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/random.h"
#include "data/lottery.h"

namespace zelvor {

enum class TrendMode { Standard, Variable };

// One row of the trend table. cells[c] is 1 where column c carries a mark
// (c >= 2; 0 and 1 are the issue and numbers columns, kept 0 here). cells
// has one entry per grid column (TrendLayout::columns), separators included.
struct TrendRow {
    int issue = 0;
    std::string numbers; // "03 09 16 17 24 33 + 12"
    std::vector<std::uint8_t> cells;
};
using TrendRows = std::vector<TrendRow>;

// Column layout of the trend grid for a lottery.
// The grid always has N + M + 4 columns: issue, numbers, separator, the main
// columns, a second separator and the special columns (53 for 33/6/16/1 and
// for 49/7/0/0). A digit lottery's main columns show the digits 0..N-1.
struct TrendLayout {
    int columns = 0;      // N + M + 4
    int firstMain = 3;    // grid column of the lowest main number
    int mainCount = 0;    // number of main-number columns
    int mainBase = 1;     // value shown in the first main column (0 for digit lotteries)
    int specialSeparator = -1; // column of the second separator (-1 when none)
    int firstSpecial = -1;     // first special column (-1 when none)
    int specialCount = 0;      // M

    // Grid column of main number v (-1 when v is outside the main columns).
    int mainColumn(int v) const
    {
        return (v >= mainBase && v < mainBase + mainCount) ? firstMain + (v - mainBase) : -1;
    }
    // Grid column of special number s in 1..M (-1 otherwise).
    int specialColumn(int s) const
    {
        return (firstSpecial >= 0 && s >= 1 && s <= specialCount) ? firstSpecial + s - 1 : -1;
    }
    // Header text of a number column ("1".."33", digits "0".."9"); empty elsewhere.
    std::string headerText(int column) const;
};
TrendLayout trendLayout(const LotteryParams& lottery);

// "03 09 16 17 24 33 + 12": main numbers "%.2d" joined by one blank, then
// " + " and the special numbers when there are any.
std::string trendNumbersText(std::span<const int> mainNumbers, std::span<const int> specialNumbers);

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

// A digit lottery (digits 0..N-1, repeats allowed) runs the variable build on
// numbers 1..N, digit d as number d + 1, so p stays a permutation of 1..N.
// Its VariableHistory cells, nextValue and numberForNextValue are mapped back
// to digits (rank r shown as digit r - 1). Shifted values t, snapshot and
// snapshotRank keep the internal 1..N.
struct VariableTrend {
    VariableSettings settings;
    DrawHistory history;               // VariableHistory: issue + k ascending ranks
    std::vector<RankEntry> snapshot;   // VariableSnapshot: rank table at position D, rank order
    std::vector<int> snapshotRank;     // rank(t) at position D, t = 1..N (index 0 unused)
    int drawCount = 0;                 // D
    int numberRange = 0;               // N
    bool digits = false;               // numbers and values are digits 0..N-1

    // VariableValue(n, D): the value number n takes after the latest draw
    // (-1 when n is no number of the lottery).
    int nextValue(int n) const;
    // The number b with VariableValue(b, D) = c (-1 when c is out of range).
    int numberForNextValue(int c) const;
};

// Observer of every position i = 0..D: value[n] = VariableValue(n, i) for the
// internal numbers n = 1..N (index 0 unused). For tests and diagnostics.
using VariableValueFn = std::function<void(int position, std::span<const int> value)>;

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings);
VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings, const VariableValueFn& observe);

// TrendRows of the variable view: ranked main numbers, stored special numbers.
TrendRows variableTrendRows(const LotteryParams& lottery, const DrawHistory& history,
                            const VariableTrend& trend);

} // namespace zelvor
