#pragma once
// The draw trend table: the standard build (stored numbers) and the variable
// build (each number replaced by its rank in a randomised ordering of overdue
// numbers). Pure C++; the trend window paints TrendRows.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/random.h"
#include "data/lottery.h"
#include "data/trend_tables.h"

namespace zelvor {

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

VariableSettings drawVariableSettings(int N, Random& random);

// Whether p(1..N) (index 0 unused) is a permutation of 1..N.
bool isPermutation(const std::vector<int>& permutation, int N);
// "p(1) ... p(N)", whole numbers separated by blanks or commas, as a
// permutation (index 0 unused); nullopt when it is not a permutation of 1..N.
std::optional<std::vector<int>> parsePermutation(std::string_view text, int N);

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
