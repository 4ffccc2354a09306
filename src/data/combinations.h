#pragma once
// AllCombinations / CandidateTable: every k-subset of 1..N in lexicographic
// order, held as compact fixed-width rows (one byte per number) with a
// separate exclusion-mark column, so a 33/6 table is about 7.7 MB.
#include <cstdint>
#include <span>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

class CombinationTable {
public:
    CombinationTable() = default;

    int pickCount() const { return k_; }
    std::int64_t size() const { return static_cast<std::int64_t>(marks_.size()); }
    bool empty() const { return marks_.empty(); }

    std::span<const std::uint8_t> row(std::int64_t i) const
    {
        return {numbers_.data() + i * k_, static_cast<std::size_t>(k_)};
    }
    std::uint8_t mark(std::int64_t i) const { return marks_[static_cast<std::size_t>(i)]; }
    void setMark(std::int64_t i, std::uint8_t v) { marks_[static_cast<std::size_t>(i)] = v; }
    std::uint8_t* marks() { return marks_.data(); }
    const std::uint8_t* marks() const { return marks_.data(); }
    const std::uint8_t* numbers() const { return numbers_.data(); }

    // Every k-subset of 1..N, ascending lexicographic order, marks 0.
    // Left empty for k outside 5..7 (pass minK/maxK to widen) or a table too
    // large to hold (more than maxRows rows), so tools report nothing to filter.
    void buildAll(int N, int k, int minK = 5, int maxK = 7, std::int64_t maxRows = 20'000'000);
    // Replace the rows by the given combinations (each k numbers), marks 0.
    void assign(int k, const std::vector<std::uint8_t>& flatNumbers);
    void appendRow(std::span<const int> numbers);
    void clear();
    void resetMarks();
    // Drop every excluded row, keeping the order of the others.
    void compact();
    std::int64_t countKept() const;

private:
    int k_ = 0;
    std::vector<std::uint8_t> numbers_;
    std::vector<std::uint8_t> marks_;
};

// BetCount: N^k for a digit lottery, C(N, k) for a lotto lottery (64-bit).
// Counts beyond 64 bits give INT64_MAX (no table that large is ever built).
std::int64_t BetCount(LotteryKind kind, int N, int k);
// C(a, b) as the product a(a-1)..(a-b+1) divided in turn by 1..b; C(a, 0) = 1;
// 0 for b < 0 or a < b; INT64_MAX when the value does not fit in 64 bits.
std::int64_t Binomial(int a, int b);
// 1-based lexicographic rank of c1 < ... < ck among the k-subsets of 1..N.
std::int64_t CombinationRank(std::span<const int> combination, int N);

} // namespace zelvor
