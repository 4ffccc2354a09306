#pragma once
// Compound search: pass after pass, a fresh variable trend names its most
// overdue column, and the number that column stands for after the latest draw
// is struck out, until no more than the wanted count of numbers is left.
// Plain C++; the window builds each trend through the main window, the
// command line through the lottery state, and both hand it to pass().
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/lottery.h"
#include "data/trend_tables.h"

namespace zelvor {

struct CompoundSettings {
    int wanted = 28;          // W: numbers the compound bet keeps
    bool useThreshold = true; // "遗漏期数>="
    int threshold = 50;
};

// Why a search with these settings cannot run (it would never end or mean
// nothing); empty when it can.
std::string compoundRefusal(const LotteryParams& lottery, int drawCount, const CompoundSettings& settings);

// Column omission of every remapped number c = 1..N (index 0 unused): the
// draws since the latest draw holding c, or D when none does.
std::vector<int> columnOmissions(const DrawHistory& variableHistory, int N);

// The last entry of the exchange sort of (c, omission) pairs, c = 1..N in
// that order to start, ascending by omission: the most overdue column.
int mostOverdueColumn(const std::vector<int>& omissions, int N);

struct CompoundPass {
    int column = 0;    // c
    int omission = 0;  // its column omission
    int struck = -1;   // b, or -1 when the threshold kept the pass from striking
    int left = 0;      // numbers not struck out after the pass
};

class CompoundSearch {
public:
    CompoundSearch(int numberRange, const CompoundSettings& settings);

    // One pass on a freshly built variable trend.
    CompoundPass pass(const VariableTrend& trend);
    bool done() const { return left_ <= settings_.wanted; }
    int passes() const { return passes_; }

    // The numbers not struck out, ascending.
    std::vector<int> remaining() const;
    // Each remaining number "%.2d" and one blank.
    std::string resultText() const;

private:
    int N_;
    CompoundSettings settings_;
    std::vector<bool> struck_;
    int left_;
    int passes_ = 0;
};

// One view of a views file: "W p(1) ... p(N)", whole numbers separated by
// blanks or tabs. False when W is outside 1..100, the count is wrong or p is
// no permutation of 1..N.
bool parseCompoundView(std::string_view line, int N, VariableSettings& view);

} // namespace zelvor
