#pragma once
// The trend tables of the open lottery: which view is shown, its rows, and the
// variable view's ranks. Plain types; the builds that fill them are in
// analysis/trend.h.
#include <cstdint>
#include <string>
#include <vector>

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

} // namespace zelvor
