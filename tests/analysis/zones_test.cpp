#include "analysis/zones.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvor {
namespace {

DrawHistory twoDraws()
{
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{10, 11, 12, 13, 26, 28}, std::vector<int>{11});
    h.append(2003002, std::vector<int>{1, 7, 12, 20, 25, 33}, std::vector<int>{5});
    return h;
}

TEST(ZoneAnalysis, ZoneCountsHeaderAndRows)
{
    struct Case {
        int Z;
        int width;
        std::vector<std::string> header;
        std::vector<std::string> latestRow;
    } cases[] = {
        {6, 6,
         {"记录期号", "开奖号码", "01-06号码总数", "07-12号码总数", "13-18号码总数", "19-24号码总数", "25-30号码总数",
          "31-33号码总数"},
         {"2003002", "01 07 12 20 25 33 ", "1", "2", "0", "1", "1", "1"}},
        {7, 5,
         {"记录期号", "开奖号码", "01-05号码总数", "06-10号码总数", "11-15号码总数", "16-20号码总数", "21-25号码总数",
          "26-30号码总数", "31-33号码总数"},
         {"2003002", "01 07 12 20 25 33 ", "1", "1", "1", "1", "1", "0", "1"}},
        {1, 33, {"记录期号", "开奖号码", "01-33号码总数"}, {"2003002", "01 07 12 20 25 33 ", "6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "Z=" << c.Z);
        const ZoneAnalysis a = ComputeZones(twoDraws(), 33, c.Z, 3);
        EXPECT_EQ(a.zoneCount, c.Z);
        EXPECT_EQ(a.zoneWidth, c.width);
        EXPECT_EQ(a.header, c.header);
        ASSERT_EQ(a.rows.size(), 2u);
        EXPECT_EQ(a.rows[1], c.latestRow);
        EXPECT_EQ(a.seriesTitles.size(), static_cast<std::size_t>(c.Z));
        EXPECT_EQ(a.seriesTitles.front(), "1区号码数");
    }
}

TEST(ZoneAnalysis, ChartSeriesCoverTheLastRows)
{
    const ZoneAnalysis a = ComputeZones(twoDraws(), 33, 6, 3);
    // R = 3 with two draws: limited to both rows, oldest first.
    EXPECT_EQ(a.recentCount, 2);
    ASSERT_EQ(a.series.size(), 6u);
    // Zone 07-12: 10 11 12 in the first draw, 07 12 in the second; zone 13-18: 13, then none.
    ASSERT_EQ(a.series[1].size(), 2u);
    EXPECT_EQ(a.series[1][0].value, 3);
    EXPECT_EQ(a.series[1][0].label, "3");
    EXPECT_EQ(a.series[1][1].value, 2);
    EXPECT_EQ(a.series[2][0].value, 1);
    EXPECT_EQ(a.series[2][1].value, 0);
    EXPECT_EQ(a.series[2][1].label, "0");
    const auto one = zoneChartSeries(a, 1);
    ASSERT_EQ(one[0].size(), 1u);
    EXPECT_EQ(one[0][0].value, 1);
}

TEST(ZoneAnalysis, DigitLotteryZonesAreLabelledByDigits)
{
    const LotteryParams lottery{"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0};
    DrawHistory h(3, 0);
    h.append(2004001, std::vector<int>{0, 0, 9});
    h.append(2004002, std::vector<int>{4, 7, 8});
    // Z = k = 3: width 4 over the digits 0..9.
    const ZoneAnalysis a = ComputeZones(h, lottery, defaultZoneCount(lottery.pickCount), 3);
    EXPECT_EQ(a.zoneWidth, 4);
    EXPECT_EQ(a.header, (std::vector<std::string>{"记录期号", "开奖号码", "0-3号码总数", "4-7号码总数", "8-9号码总数"}));
    ASSERT_EQ(a.rows.size(), 2u);
    EXPECT_EQ(a.rows[0], (std::vector<std::string>{"2004001", "00 00 09 ", "2", "0", "1"}));
    EXPECT_EQ(a.rows[1], (std::vector<std::string>{"2004002", "04 07 08 ", "0", "2", "1"}));
    // Every digit falls in some zone, 0 included.
    for (const auto& counts : a.counts)
        EXPECT_EQ(counts[0] + counts[1] + counts[2], 3);
}

TEST(ZoneAnalysis, ZoneCountChoices)
{
    struct Case {
        int k, expected;
    } cases[] = {{6, 6}, {7, 7}, {5, 5}, {3, 3}, {8, 7}, {20, 7}, {0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(defaultZoneCount(c.k), c.expected) << "k=" << c.k;
    EXPECT_EQ(ComputeZones(twoDraws(), 33, 9, 3).zoneCount, 7);
    EXPECT_TRUE(ComputeZones(DrawHistory(6, 1), 33, 6, 3).rows.empty());
}

} // namespace
} // namespace zelvor
