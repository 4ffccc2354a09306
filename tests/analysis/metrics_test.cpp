#include "analysis/metrics.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/format.h"

namespace zelvor {
namespace {

using Numbers = std::vector<int>;

int value(Metric m, const Numbers& x, const Numbers& reference, int N)
{
    return MetricValue(m, std::span<const int>(x), std::span<const int>(reference), N);
}

TEST(NumberMetrics, WorkedExampleEveryMetric)
{
    const Numbers combination{1, 7, 12, 20, 25, 33};
    const Numbers reference{1, 9, 12, 22, 28, 31};
    // Stored order must not matter: the same numbers shuffled give the same values.
    const Numbers shuffled{25, 1, 33, 12, 7, 20};
    struct Case {
        Metric metric;
        int expected;
    } cases[] = {
        {Metric::Big, 3},  {Metric::Odd, 4},        {Metric::Sum, 98}, {Metric::Span, 32},
        {Metric::Dispersion, 4}, {Metric::Skewness, 3}, {Metric::Ac, 11}, {Metric::Repeat, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(value(c.metric, combination, reference, 33), c.expected) << MetricDisplayName(c.metric);
        EXPECT_EQ(value(c.metric, shuffled, reference, 33), c.expected) << MetricDisplayName(c.metric);
    }
    EXPECT_EQ(ZoneCounts(std::span<const int>(combination), 33, 6), (std::vector<int>{1, 2, 0, 1, 1, 1}));
    EXPECT_EQ(numbersWithBlanks(combination), "01 07 12 20 25 33 ");
}

TEST(NumberMetrics, BoundsFor33Of6)
{
    const MetricBoundsTable b = MetricBounds(33, 6);
    struct Case {
        Metric metric;
        int min, max;
    } cases[] = {
        {Metric::Big, 0, 6},        {Metric::Odd, 0, 6},       {Metric::Sum, 21, 183}, {Metric::Span, 5, 32},
        {Metric::Dispersion, 3, 27}, {Metric::Skewness, 0, 27}, {Metric::Ac, 5, 15},    {Metric::Repeat, 0, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(b.of(c.metric).min, c.min) << MetricDisplayName(c.metric);
        EXPECT_EQ(b.of(c.metric).max, c.max) << MetricDisplayName(c.metric);
    }
}

TEST(NumberMetrics, ExtremesReachTheBounds)
{
    struct Case {
        const char* what;
        Metric metric;
        Numbers x;
        int expected;
    } cases[] = {
        {"top of the range", Metric::Dispersion, {28, 29, 30, 31, 32, 33}, 27},
        {"evenly spread", Metric::Dispersion, {1, 7, 13, 19, 25, 31}, 3},
        {"consecutive", Metric::Ac, {1, 2, 3, 4, 5, 6}, 5},
        {"all differences distinct", Metric::Ac, {1, 2, 5, 11, 13, 18}, 15},
        {"repeated digit counts difference 0", Metric::Ac, {3, 3, 5}, 2},
        {"16 is small", Metric::Big, {16}, 0},
        {"17 is big", Metric::Big, {17}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(value(c.metric, c.x, {}, 33), c.expected) << c.what;
    EXPECT_EQ(FirstDrawSkewness(33, 6), 13.5);
}

TEST(NumberMetrics, ZoneLabelsAndCounts)
{
    struct Case {
        int N, Z, width;
        std::vector<std::string> labels;
        Numbers x;
        std::vector<int> counts;
    } cases[] = {
        {33, 6, 6, {"01-06", "07-12", "13-18", "19-24", "25-30", "31-33"}, {1, 7, 12, 20, 25, 33}, {1, 2, 0, 1, 1, 1}},
        {33, 7, 5, {"01-05", "06-10", "11-15", "16-20", "21-25", "26-30", "31-33"}, {1, 7, 12, 20, 25, 33},
         {1, 1, 1, 1, 1, 0, 1}},
        {33, 1, 33, {"01-33"}, {1, 7, 12, 20, 25, 33}, {6}},
        // Zones 6 and 7 start beyond N: nominal first bound, never counted.
        {10, 7, 2, {"01-02", "03-04", "05-06", "07-08", "09-10", "11-10", "13-10"}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {2, 2, 2, 2, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "N=" << c.N << " Z=" << c.Z);
        EXPECT_EQ(ZoneWidth(c.N, c.Z), c.width);
        EXPECT_EQ(ZoneLabels(c.N, c.Z), c.labels);
        EXPECT_EQ(ZoneCounts(std::span<const int>(c.x), c.N, c.Z), c.counts);
    }
}

TEST(NumberMetrics, DigitLotteryMeasuresTheDigitsZeroToNine)
{
    // Three digits of 0..9, repeats allowed. Big digits are the upper half
    // 5..9; holes run over 0..9; the other metrics read the digits as drawn.
    struct Case {
        const char* what;
        Metric metric;
        Numbers x;
        Numbers reference;
        int expected;
    } cases[] = {
        {"5 is big, 4 is small", Metric::Big, {4, 5, 9}, {}, 2},
        {"0 0 9 has one big digit", Metric::Big, {0, 0, 9}, {}, 1},
        {"0 2 3 leaves 4..9 open: 9 is 6 from 3", Metric::Dispersion, {0, 2, 3}, {}, 6},
        {"0 0 9: 4 and 5 are 4 from the nearest", Metric::Dispersion, {0, 0, 9}, {}, 4},
        {"one digit three times: 0 is 5 from 5", Metric::Dispersion, {5, 5, 5}, {}, 5},
        {"sum of the digits", Metric::Sum, {0, 2, 3}, {}, 5},
        {"odd digits", Metric::Odd, {0, 2, 3}, {}, 1},
        {"span from 0", Metric::Span, {0, 2, 3}, {}, 3},
        {"one repeated digit: only the difference 0", Metric::Ac, {5, 5, 5}, {}, 1},
        {"0 is repeated from the draw before", Metric::Repeat, {0, 2, 3}, {0, 0, 9}, 1},
        {"skewness against 0 0 9: 3 is 3 from 0", Metric::Skewness, {0, 2, 3}, {0, 0, 9}, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MetricValue(c.metric, std::span<const int>(c.x), std::span<const int>(c.reference), 10, true),
                  c.expected)
            << c.what;
    // The same call for a lottery numbered from 1 is the plain metric.
    const Numbers x{1, 7, 12, 20, 25, 33};
    EXPECT_EQ(MetricValue(Metric::Big, std::span<const int>(x), std::span<const int>(), 33, false), 3);
}

TEST(NumberMetrics, DigitLotteryBoundsAndZones)
{
    // 中国福彩3D: three digits of 0..9. Sums 000..999 give 0..27, span 0..9,
    // holes 2 (0 4 8: 2 and 6 are 2 away) .. 9 (0 0 0), skewness up to 9
    // (000 after 999), AC 1 (555) .. 3 (0 1 3).
    const MetricBoundsTable b = MetricBounds(10, 3, true);
    struct Case {
        Metric metric;
        int min, max;
    } cases[] = {
        {Metric::Big, 0, 3},        {Metric::Odd, 0, 3},      {Metric::Sum, 0, 27}, {Metric::Span, 0, 9},
        {Metric::Dispersion, 2, 9}, {Metric::Skewness, 0, 9}, {Metric::Ac, 1, 3},   {Metric::Repeat, 0, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(b.of(c.metric).min, c.min) << MetricDisplayName(c.metric);
        EXPECT_EQ(b.of(c.metric).max, c.max) << MetricDisplayName(c.metric);
    }

    struct ZoneCase {
        int Z;
        std::vector<std::string> labels;
        Numbers x;
        std::vector<int> counts;
    } zones[] = {
        {3, {"0-3", "4-7", "8-9"}, {0, 0, 9}, {2, 0, 1}},
        {5, {"0-1", "2-3", "4-5", "6-7", "8-9"}, {0, 2, 3}, {1, 2, 0, 0, 0}},
        {1, {"0-9"}, {5, 5, 5}, {3}},
        // As for numbers from 1: zones that start beyond the range keep their
        // nominal first digit and never count.
        {7, {"0-1", "2-3", "4-5", "6-7", "8-9", "10-9", "12-9"}, {1, 8, 9}, {1, 0, 0, 0, 2, 0, 0}},
    };
    for (const auto& c : zones) {
        SCOPED_TRACE(testing::Message() << "Z=" << c.Z);
        EXPECT_EQ(ZoneLabels(10, c.Z, true), c.labels);
        EXPECT_EQ(ZoneCounts(std::span<const int>(c.x), 10, c.Z, true), c.counts);
    }
}

TEST(NumberMetrics, PerDrawValuesRoundHalvesAwayFromZero)
{
    EXPECT_EQ(roundedText(13.5), "14");
    EXPECT_EQ(roundedText(12.5), "13");
    EXPECT_EQ(roundedText(FirstDrawSkewness(33, 6)), "14");
}

} // namespace
} // namespace zelvor
