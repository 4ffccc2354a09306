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

TEST(NumberMetrics, PerDrawValuesRoundHalvesAwayFromZero)
{
    EXPECT_EQ(roundedText(13.5), "14");
    EXPECT_EQ(roundedText(12.5), "13");
    EXPECT_EQ(roundedText(FirstDrawSkewness(33, 6)), "14");
}

} // namespace
} // namespace zelvor
