#include "data/combinations.h"

#include <algorithm>
#include <limits>

namespace zelvor {

namespace {

constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max();

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t r = 0;
    return __builtin_add_overflow(a, b, &r) ? kSaturated : r;
}

} // namespace

std::int64_t Binomial(int a, int b)
{
    if (b < 0 || a < b)
        return 0;
    b = std::min(b, a - b); // C(a, b) = C(a, a - b): fewer steps, same value
    std::int64_t r = 1;
    for (int i = 1; i <= b; ++i) {
        // r = C(a-b+i, i) after each step; the product is taken in 128 bits, so
        // only a result beyond 64 bits saturates (and C grows with i here).
        const __int128 next = static_cast<__int128>(r) * (a - b + i) / i;
        if (next > kSaturated)
            return kSaturated;
        r = static_cast<std::int64_t>(next);
    }
    return r;
}

std::int64_t BetCount(LotteryKind kind, int N, int k)
{
    if (kind == LotteryKind::Digit) {
        if (N < 0 || k < 0)
            return 0;
        std::int64_t r = 1;
        for (int i = 0; i < k; ++i)
            if (__builtin_mul_overflow(r, static_cast<std::int64_t>(N), &r))
                return kSaturated;
        return r;
    }
    return Binomial(N, k);
}

std::int64_t CombinationRank(std::span<const int> c, int N)
{
    const int k = static_cast<int>(c.size());
    std::int64_t rank = 1;
    int prev = 0;
    for (int i = 1; i <= k; ++i) {
        for (int j = prev + 1; j <= c[i - 1] - 1; ++j)
            rank = saturatingAdd(rank, Binomial(N - j, k - i));
        prev = c[i - 1];
    }
    return rank;
}

void CombinationTable::buildAll(int N, int k, int minK, int maxK, std::int64_t maxRows)
{
    clear();
    k_ = k;
    if (k < minK || k > maxK || k < 1 || N < k)
        return;
    const std::int64_t rows = Binomial(N, k);
    if (rows <= 0 || rows > maxRows)
        return;
    numbers_.resize(static_cast<std::size_t>(rows * k));
    marks_.assign(static_cast<std::size_t>(rows), 0);

    // Iterative form of k nested loops: position i runs up to N - k + i + 1 (0-based i).
    std::vector<int> c(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i)
        c[i] = i + 1;
    std::uint8_t* out = numbers_.data();
    for (std::int64_t r = 0; r < rows; ++r) {
        for (int i = 0; i < k; ++i)
            *out++ = static_cast<std::uint8_t>(c[i]);
        int i = k - 1;
        while (i >= 0 && c[i] == N - k + i + 1)
            --i;
        if (i < 0)
            break;
        ++c[i];
        for (int j = i + 1; j < k; ++j)
            c[j] = c[j - 1] + 1;
    }
}

void CombinationTable::assign(int k, const std::vector<std::uint8_t>& flatNumbers)
{
    k_ = k;
    numbers_ = flatNumbers;
    marks_.assign(k > 0 ? flatNumbers.size() / static_cast<std::size_t>(k) : 0, 0);
}

void CombinationTable::appendRow(std::span<const int> numbers)
{
    k_ = static_cast<int>(numbers.size());
    for (int n : numbers)
        numbers_.push_back(static_cast<std::uint8_t>(n));
    marks_.push_back(0);
}

void CombinationTable::clear()
{
    numbers_.clear();
    numbers_.shrink_to_fit();
    marks_.clear();
    marks_.shrink_to_fit();
}

void CombinationTable::resetMarks()
{
    std::fill(marks_.begin(), marks_.end(), 0);
}

void CombinationTable::compact()
{
    std::size_t w = 0;
    for (std::size_t r = 0; r < marks_.size(); ++r) {
        if (marks_[r])
            continue;
        if (w != r)
            std::copy_n(numbers_.begin() + static_cast<std::ptrdiff_t>(r * k_), k_,
                        numbers_.begin() + static_cast<std::ptrdiff_t>(w * k_));
        ++w;
    }
    numbers_.resize(w * k_);
    marks_.assign(w, 0);
}

std::int64_t CombinationTable::countKept() const
{
    return static_cast<std::int64_t>(std::count(marks_.begin(), marks_.end(), 0));
}

} // namespace zelvor
