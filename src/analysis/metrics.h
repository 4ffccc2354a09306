#pragma once
// NumberMetrics: the one definition of every per-combination measure, its
// theoretical bounds and averages. Pure functions of the numbers, N and k
// (and, for skewness and repeats, the reference draw). Templates so that the
// filters can run them directly on packed byte rows.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace zelvor {

enum class Metric { Big, Odd, Sum, Span, Dispersion, Skewness, Ac, Repeat };

// Number of xi with xi > N div 2.
template <class T> int BigCount(std::span<const T> x, int N)
{
    int n = 0;
    for (T v : x)
        n += (static_cast<int>(v) > N / 2);
    return n;
}

template <class T> int OddCount(std::span<const T> x)
{
    int n = 0;
    for (T v : x)
        n += (static_cast<int>(v) & 1);
    return n;
}

template <class T> int SumValue(std::span<const T> x)
{
    int s = 0;
    for (T v : x)
        s += static_cast<int>(v);
    return s;
}

template <class T> int SpanValue(std::span<const T> x)
{
    if (x.empty())
        return 0;
    auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    return static_cast<int>(*hi) - static_cast<int>(*lo);
}

// Widest distance from any v in 1..N to its nearest chosen number.
template <class T> int DispersionValue(std::span<const T> x, int N)
{
    if (x.empty())
        return 0;
    int sorted[64];
    const int k = std::min<int>(static_cast<int>(x.size()), 64);
    for (int i = 0; i < k; ++i)
        sorted[i] = static_cast<int>(x[i]);
    std::sort(sorted, sorted + k);
    // Below the smallest, above the largest, and the middle of each gap.
    int best = std::max(sorted[0] - 1, N - sorted[k - 1]);
    for (int i = 1; i < k; ++i)
        best = std::max(best, (sorted[i] - sorted[i - 1]) / 2);
    return std::max(best, 0);
}

// Largest distance from a chosen number to the nearest number of the reference draw.
template <class T, class U> int SkewnessValue(std::span<const T> x, std::span<const U> reference)
{
    int best = 0;
    for (T v : x) {
        int nearest = 1 << 30;
        for (U y : reference)
            nearest = std::min(nearest, std::abs(static_cast<int>(v) - static_cast<int>(y)));
        if (!reference.empty())
            best = std::max(best, nearest);
    }
    return best;
}

// The skewness of a history's first draw, which has no reference: (N - k) / 2.
inline double FirstDrawSkewness(int N, int k) { return (N - k) / 2.0; }

// Number of distinct values among |xi - xj|, i != j (0 counts when a number repeats).
template <class T> int AcValue(std::span<const T> x)
{
    // Differences 0..255; numbers of a lottery never lie further apart. A
    // larger difference is skipped rather than folded onto a smaller one.
    std::uint64_t seen[4] = {0, 0, 0, 0};
    const std::size_t k = x.size();
    for (std::size_t i = 0; i < k; ++i)
        for (std::size_t j = i + 1; j < k; ++j) {
            int d = std::abs(static_cast<int>(x[i]) - static_cast<int>(x[j]));
            if (d < 256)
                seen[d >> 6] |= std::uint64_t{1} << (d & 63);
        }
    return __builtin_popcountll(seen[0]) + __builtin_popcountll(seen[1]) + __builtin_popcountll(seen[2])
        + __builtin_popcountll(seen[3]);
}

// Positions whose number occurs among the reference draw's numbers.
template <class T, class U> int RepeatCount(std::span<const T> x, std::span<const U> reference)
{
    int n = 0;
    for (T v : x)
        n += std::find(reference.begin(), reference.end(), static_cast<U>(v)) != reference.end();
    return n;
}

// Width of each of Z zones over 1..N: ceil(N / Z) for Z <= 7.
int ZoneWidth(int N, int Z);
// "01-06", ...; a zone starting beyond N keeps its nominal first bound ("11-10").
// A digit lottery's zones cover the digits 0..N-1 and are labelled by them
// ("0-3", "4-7", "8-9").
std::vector<std::string> ZoneLabels(int N, int Z, bool digits = false);
template <class T> std::vector<int> ZoneCounts(std::span<const T> x, int N, int Z, bool digits = false)
{
    const int W = ZoneWidth(N, Z);
    const int first = digits ? 0 : 1;
    std::vector<int> counts(static_cast<std::size_t>(Z), 0);
    for (T v : x) {
        const int offset = static_cast<int>(v) - first;
        if (offset < 0)
            continue;
        const int z = offset / W;
        if (z < Z)
            ++counts[static_cast<std::size_t>(z)];
    }
    return counts;
}

struct Bounds {
    int min = 0;
    int max = 0;
};

struct MetricBoundsTable {
    Bounds big, odd, sum, span, dispersion, skewness, ac, repeat;
    Bounds of(Metric m) const;
};

// Closed-form theoretical minimum and maximum of every metric for N and k.
// A digit lottery draws k digits of 0..N-1 and a digit may repeat, so its
// sums start at 0, its spans at 0 and its holes reach N - 1.
MetricBoundsTable MetricBounds(int N, int k, bool digits = false);

// Display name of a metric ("大数个数", "奇数个数", "和值", ...).
const char* MetricDisplayName(Metric m);

// A metric of a combination; skewness/repeat use the reference draw.
template <class T, class U>
int MetricValue(Metric m, std::span<const T> x, std::span<const U> reference, int N)
{
    switch (m) {
    case Metric::Big: return BigCount(x, N);
    case Metric::Odd: return OddCount(x);
    case Metric::Sum: return SumValue(x);
    case Metric::Span: return SpanValue(x);
    case Metric::Dispersion: return DispersionValue(x, N);
    case Metric::Skewness: return SkewnessValue(x, reference);
    case Metric::Ac: return AcValue(x);
    case Metric::Repeat: return RepeatCount(x, reference);
    }
    return 0;
}

// The same for a lottery whose numbers may be the digits 0..N-1. Big numbers
// and holes are measured on the range: digit d stands at place d + 1 of 1..N,
// so the big digits are the upper half (5..9 of 0..9) and the holes run from
// 0 to N - 1. The other metrics read the digits as they are.
template <class T, class U>
int MetricValue(Metric m, std::span<const T> x, std::span<const U> reference, int N, bool digits)
{
    if (!digits || (m != Metric::Big && m != Metric::Dispersion))
        return MetricValue(m, x, reference, N);
    int places[64];
    const std::size_t k = std::min<std::size_t>(x.size(), 64);
    for (std::size_t i = 0; i < k; ++i)
        places[i] = static_cast<int>(x[i]) + 1;
    return MetricValue(m, std::span<const int>(places, k), reference, N);
}

} // namespace zelvor
