#pragma once
// Plain types of the open lottery shared by every subsystem. No Qt here:
// the analysis and filter cores, the command line and the benchmarks use them.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvor {

enum class LotteryKind { Lotto = 0, Digit = 1 };

// CurrentLottery: Name, Kind, N, k, M, m.
struct LotteryParams {
    std::string name;
    LotteryKind kind = LotteryKind::Lotto;
    int numberRange = 0;  // N
    int pickCount = 0;    // k
    int specialRange = 0; // M
    int specialCount = 0; // m

    // A digit lottery whose numbers are digits 0..9 rather than 1..N.
    bool digitsFromZero() const { return kind == LotteryKind::Digit; }
};

inline constexpr const char* kTwoColourBall = "中国福彩双色球";
inline constexpr const char* kMarkSix = "中国香港六合彩";
inline constexpr int MaxStoredDraws = 20000;

// The two lotteries the program knows by name, with their fixed ranges.
inline LotteryParams TwoColourBall() { return {kTwoColourBall, LotteryKind::Lotto, 33, 6, 16, 1}; }
inline LotteryParams MarkSix() { return {kMarkSix, LotteryKind::Lotto, 49, 7, 0, 0}; }

// DrawHistory: D rows, oldest first; each row holds the issue, the k main
// numbers in stored order and the m special numbers, in one flat array.
class DrawHistory {
public:
    DrawHistory() = default;
    DrawHistory(int pickCount, int specialCount) : k_(pickCount), m_(specialCount) {}

    int pickCount() const { return k_; }
    int specialCount() const { return m_; }
    int rowWidth() const { return 1 + k_ + m_; }
    int size() const { return rowWidth() ? static_cast<int>(cells_.size()) / rowWidth() : 0; }
    bool empty() const { return cells_.empty(); }

    int issue(int i) const { return cells_[static_cast<std::size_t>(i) * rowWidth()]; }
    std::span<const int> row(int i) const
    {
        return {cells_.data() + static_cast<std::size_t>(i) * rowWidth(), static_cast<std::size_t>(rowWidth())};
    }
    std::span<const int> main(int i) const { return row(i).subspan(1, static_cast<std::size_t>(k_)); }
    std::span<const int> special(int i) const
    {
        return row(i).subspan(1 + static_cast<std::size_t>(k_), static_cast<std::size_t>(m_));
    }

    void clear() { cells_.clear(); }
    void reserve(int rows) { cells_.reserve(static_cast<std::size_t>(rows) * rowWidth()); }
    void append(int issue, std::span<const int> mainNumbers, std::span<const int> specialNumbers = {})
    {
        cells_.push_back(issue);
        for (int j = 0; j < k_; ++j)
            cells_.push_back(j < static_cast<int>(mainNumbers.size()) ? mainNumbers[j] : 0);
        for (int j = 0; j < m_; ++j)
            cells_.push_back(j < static_cast<int>(specialNumbers.size()) ? specialNumbers[j] : 0);
    }
    // The issue after the latest draw (0 for an empty history).
    int nextIssue() const { return empty() ? 0 : issue(size() - 1) + 1; }

private:
    int k_ = 0;
    int m_ = 0;
    std::vector<int> cells_;
};

} // namespace zelvor
