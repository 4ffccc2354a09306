#include "analysis/metrics.h"

#include "common/format.h"

namespace zelvor {

int ZoneWidth(int N, int Z)
{
    if (Z <= 0)
        return N > 0 ? N : 1;
    if (N % Z == 0)
        return N / Z > 0 ? N / Z : 1;
    for (int b = 1; b <= 100; ++b)
        if ((N + b) % Z == 0)
            return (N + b) / Z;
    return N / Z + 1;
}

std::vector<std::string> ZoneLabels(int N, int Z, bool digits)
{
    const int W = ZoneWidth(N, Z);
    std::vector<std::string> labels;
    for (int z = 1; z <= Z; ++z) {
        const int first = (z - 1) * W + 1;
        const int last = std::min(z * W, N);
        if (digits)
            labels.push_back(std::to_string(first - 1) + "-" + std::to_string(last - 1));
        else
            labels.push_back(two(first) + "-" + two(last));
    }
    return labels;
}

Bounds MetricBoundsTable::of(Metric m) const
{
    switch (m) {
    case Metric::Big: return big;
    case Metric::Odd: return odd;
    case Metric::Sum: return sum;
    case Metric::Span: return span;
    case Metric::Dispersion: return dispersion;
    case Metric::Skewness: return skewness;
    case Metric::Ac: return ac;
    case Metric::Repeat: return repeat;
    }
    return {};
}

MetricBoundsTable MetricBounds(int N, int k, bool digits)
{
    MetricBoundsTable b;
    b.big = {0, k};
    b.odd = {0, k};
    b.sum = {k * (k + 1) / 2, k * (2 * N - k + 1) / 2};
    b.span = {k - 1, N - 1};
    // A single number leaves holes on both sides; the best it can do is N div 2.
    int dispMin = 0;
    if (k >= 2) {
        int f = ((N - 1) - (N - 1) % (k - 1)) / (k - 1);
        dispMin = (f % 2 == 0) ? f / 2 : (f + 1) / 2;
    } else {
        dispMin = N / 2;
    }
    b.dispersion = {dispMin, N - k};
    b.skewness = {0, N - k};
    b.ac = {k - 1, k * (k - 1) / 2};
    b.repeat = {0, k};
    if (digits) {
        // k digits of 0..N-1, repeats allowed: k zeros up to k nines, one
        // digit k times (span 0, only the difference 0, a hole of N - 1).
        b.sum = {0, k * (N - 1)};
        b.span = {0, N - 1};
        b.dispersion.max = N - 1;
        b.skewness.max = N - 1;
        b.ac = {k >= 2 ? 1 : 0, std::min(k * (k - 1) / 2, N - 1)};
    }
    return b;
}

const char* MetricDisplayName(Metric m)
{
    switch (m) {
    case Metric::Big: return "大数个数";
    case Metric::Odd: return "奇数个数";
    case Metric::Sum: return "和值";
    case Metric::Span: return "跨度";
    case Metric::Dispersion: return "散度";
    case Metric::Skewness: return "偏度";
    case Metric::Ac: return "AC值";
    case Metric::Repeat: return "重码个数";
    }
    return "";
}

} // namespace zelvor
