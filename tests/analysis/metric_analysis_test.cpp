#include "analysis/metric_analysis.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvor {
namespace {

// The first four two-colour-ball draws. Per draw (hand-computed):
//            big odd sum span disp skew   AC repeat
// 2003001     2   2  100  18    9  13.5    9   0
// 2003002     4   3   99  22    7   6     12   1
// 2003003     3   3  101  31    6   6     13   0
// 2003004     1   3   65  21    8   3     12   2
DrawHistory fixture()
{
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{10, 11, 12, 13, 26, 28}, std::vector<int>{11});
    h.append(2003002, std::vector<int>{4, 9, 19, 20, 21, 26}, std::vector<int>{12});
    h.append(2003003, std::vector<int>{1, 7, 10, 23, 28, 32}, std::vector<int>{16});
    h.append(2003004, std::vector<int>{4, 6, 7, 10, 13, 25}, std::vector<int>{3});
    return h;
}

const MetricWindowDescriptor& member(const char* className)
{
    const MetricWindowDescriptor* d = findMetricWindow(className);
    EXPECT_NE(d, nullptr) << className;
    return d ? *d : metricWindowFamily()[0];
}

TEST(MetricAnalysis, FamilySummariesOverAFixture)
{
    struct Case {
        const char* className;
        int R;
        const char* title;
        std::vector<std::string> values;
        std::vector<std::string> summary;
    } cases[] = {
        {"Tfrmdaxiao", 3, "大数个数", {"2", "4", "3", "1"},
         {"理论最多大数个数：6.0", "理论最少大数个数：0.0", "理论平均大数个数：3.0", "最近3期大数个数总和：8.0",
          "最近3期理论大数个数总和：9.0"}},
        {"Tfrmdaxiao", 1, "大数个数", {"2", "4", "3", "1"},
         {"理论最多大数个数：6.0", "理论最少大数个数：0.0", "理论平均大数个数：3.0", "最近1期大数个数总和：1.0",
          "最近1期理论大数个数总和：3.0",
          "最近1期大数个数总和远远低于理论个数总和，建议选择大于理论平均大数个数的组合！"}},
        {"Tfrmjiou", 3, "奇数个数", {"2", "3", "3", "3"},
         {"理论最多奇数个数：6.0", "理论最少奇数个数：0.0", "理论平均奇数个数：3.0", "最近3期奇数个数总和：9.0",
          "最近3期理论奇数个数总和：9.0"}},
        {"Tfrmhei", 3, "和值", {"100", "99", "101", "65"},
         {"理论最大和值：183.0", "理论最小和值：21.0", "理论平均和值：91.3", "最近3期和值总和：265.0",
          "最近3期理论和值总和：273.8"}},
        {"Tfrmkuadu", 3, "跨度", {"18", "22", "31", "21"},
         {"理论最大跨度：32.0", "理论最小跨度：5.0", "理论平均跨度：23.0", "最近3期跨度总和：74.0",
          "最近3期理论跨度总和：69.0"}},
        {"Tfrmsandu", 3, "散度", {"9", "7", "6", "8"},
         {"理论最大散度：27.0", "理论最小散度：3.0", "理论平均散度：7.5", "最近3期散度总和：21.0",
          "最近3期理论散度总和：22.5"}},
        {"Tfrmpiandu", 3, "偏度", {"14", "6", "6", "3"},
         {"理论最多偏度：27.0", "理论最少偏度：0.0", "理论平均偏度：7.1", "最近3期偏度总和：15.0",
          "最近3期理论偏度总和：21.4"}},
        {"Tfrmac", 3, "AC值", {"9", "12", "13", "12"},
         {"理论最大AC值：15.0", "理论最小AC值：5.0", "理论平均AC值：11.5", "最近3期AC值总和：37.0",
          "最近3期理论AC值总和：34.5"}},
        {"Tfrmcongma", 3, "重码个数", {"0", "1", "0", "2"},
         {"理论最多重码个数：6.0", "理论最少重码个数：0.0", "理论平均重码个数：1.0", "最近3期重码个数总和：3.0",
          "最近3期理论重码个数总和：3.0"}},
    };
    const DrawHistory h = fixture();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.className << " R=" << c.R);
        const MetricAnalysis a = Compute(member(c.className), h, 33, 6, c.R);
        EXPECT_EQ(a.header, (MetricRow{"记录期号", "开奖号码", c.title}));
        ASSERT_EQ(a.rows.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(a.rows[i][2], c.values[i]) << "row " << i;
        EXPECT_EQ(a.summary, c.summary);
    }
    const MetricAnalysis big = Compute(member("Tfrmdaxiao"), h, 33, 6, 3);
    EXPECT_EQ(big.rows[0], (MetricRow{"2003001", "10 11 12 13 26 28 ", "2"}));
    ASSERT_EQ(big.bars.size(), 3u);
    EXPECT_EQ(big.bars[0].value, 4);
    EXPECT_EQ(big.bars[0].label, "2003002");
    EXPECT_EQ(big.bars[2].value, 1);
    EXPECT_EQ(big.bars[2].label, "2003004");
}

TEST(MetricAnalysis, FamilyTableAndSources)
{
    struct Case {
        const char* className;
        const char* caption;
        const char* chartTitle;
        Metric metric;
        TrendMode opensInVariable, recountsInVariable;
    } cases[] = {
        {"Tfrmdaxiao", "大小分析", "最近各期开奖号码大数个数", Metric::Big, TrendMode::Variable, TrendMode::Variable},
        {"Tfrmjiou", "奇数分析", "最近各期开奖号码奇数个数", Metric::Odd, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmhei", "和值分析", "最近各期开奖号码和值", Metric::Sum, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmkuadu", "跨度分析", "最近各期开奖号码跨度", Metric::Span, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmsandu", "散度分析", "最近各期开奖号码散度", Metric::Dispersion, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmpiandu", "偏度分析", "最近各期开奖号码偏度", Metric::Skewness, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmac", "AC值分析", "最近各期开奖号码AC值", Metric::Ac, TrendMode::Standard, TrendMode::Standard},
        {"Tfrmcongma", "重码分析", "最近各期开奖号码重码个数", Metric::Repeat, TrendMode::Variable, TrendMode::Standard},
    };
    ASSERT_EQ(metricWindowFamily().size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const auto& c = cases[i];
        const MetricWindowDescriptor& d = metricWindowFamily()[i];
        SCOPED_TRACE(c.className);
        EXPECT_STREQ(d.className, c.className);
        EXPECT_STREQ(d.caption, c.caption);
        EXPECT_STREQ(d.chartTitle, c.chartTitle);
        EXPECT_EQ(d.metric, c.metric);
        EXPECT_STREQ(d.valueTitle, MetricDisplayName(c.metric));
        EXPECT_EQ(&metricWindowFor(c.metric), &d);
        EXPECT_EQ(sourceAtOpening(d, TrendMode::Variable), c.opensInVariable);
        EXPECT_EQ(sourceAtRecount(d, TrendMode::Variable), c.recountsInVariable);
        EXPECT_EQ(sourceAtOpening(d, TrendMode::Standard), TrendMode::Standard);
        EXPECT_EQ(sourceAtRecount(d, TrendMode::Standard), TrendMode::Standard);
    }
    EXPECT_EQ(findMetricWindow("Tfrmqujian"), nullptr);
}

TEST(MetricAnalysis, AdviceRuleAtItsEdges)
{
    const MetricWindowDescriptor& d = member("Tfrmdaxiao");
    const std::string exceeds = "最近3期大数个数总和远远超过理论个数总和，建议选择小于理论平均大数个数的组合！";
    const std::string below = "最近3期大数个数总和远远低于理论个数总和，建议选择大于理论平均大数个数的组合！";
    struct Case {
        float A, T;
        std::string advice;
    } cases[] = {
        {4.5f, 3.0f, exceeds}, {2.0f, 3.0f, below}, {4.4f, 3.0f, ""}, {2.1f, 3.0f, ""}, {0.0f, 0.0f, exceeds},
    };
    for (const auto& c : cases)
        EXPECT_EQ(metricAdvice(d, 3, c.A, c.T), c.advice) << "A=" << c.A << " T=" << c.T;

    // Both totals 0 in a real window: repeat window with k * R * k < N and no repeats.
    DrawHistory h(2, 0);
    for (int i = 0; i < 4; ++i)
        h.append(100 + i, std::vector<int>{1 + 2 * i, 2 + 2 * i});
    const MetricAnalysis a = Compute(member("Tfrmcongma"), h, 33, 2, 3);
    ASSERT_EQ(a.summary.size(), 6u);
    EXPECT_EQ(a.summary[4], "最近3期理论重码个数总和：0.0");
    EXPECT_EQ(a.summary[5], "最近3期重码个数总和远远超过理论个数总和，建议选择小于理论平均重码个数的组合！");
}

TEST(MetricAnalysis, AllDrawsAndSkewnessMeanVersusCell)
{
    const DrawHistory h = fixture();
    // "全部期": R = n, so the sum window's T = R * S / n is S itself.
    const MetricAnalysis sum = Compute(member("Tfrmhei"), h, 33, 6, 4);
    EXPECT_EQ(sum.summary[3], "最近4期和值总和：365.0");
    EXPECT_EQ(sum.summary[4], "最近4期理论和值总和：365.0");
    EXPECT_EQ(recentCountItems(4), (std::vector<std::string>{"全部期", "1", "2", "3", "4"}));

    // The mean takes the first skewness at 13.5 (S = 28.5); the cell and the
    // recent total take it as displayed, 14.
    const MetricAnalysis skew = Compute(member("Tfrmpiandu"), h, 33, 6, 4);
    EXPECT_EQ(skew.rows[0][2], "14");
    EXPECT_DOUBLE_EQ(skew.values[0], 13.5);
    EXPECT_EQ(skew.summary[2], "理论平均偏度：7.1");
    EXPECT_EQ(skew.summary[3], "最近4期偏度总和：29.0");
    EXPECT_EQ(skew.summary[4], "最近4期理论偏度总和：28.5");
}

TEST(MetricAnalysis, DigitLotteryUsesTheDigitsZeroToNine)
{
    // 中国福彩3D (N = 10, k = 3), digits 0..9 with repeats. Per draw (by hand):
    //            big odd sum span disp skew  AC repeat
    // 2004001     1   1    9   9    4   3.5   2   0
    // 2004002     0   1    5   3    6   3     3   1
    // 2004003     3   3   15   0    5   2     1   0
    // 2004004     2   1   19   4    4   3     3   0
    const LotteryParams lottery{"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0};
    DrawHistory h(3, 0);
    h.append(2004001, std::vector<int>{0, 0, 9});
    h.append(2004002, std::vector<int>{0, 2, 3});
    h.append(2004003, std::vector<int>{5, 5, 5});
    h.append(2004004, std::vector<int>{4, 7, 8});

    // Bounds over 0..9 with repeats; averages k / 2, the history mean, or
    // (k * k) div N = 9 div 10 = 0.
    struct Case {
        const char* className;
        std::vector<std::string> values;
        std::vector<std::string> theory;
    } cases[] = {
        {"Tfrmdaxiao", {"1", "0", "3", "2"}, {"理论最多大数个数：3.0", "理论最少大数个数：0.0", "理论平均大数个数：1.5"}},
        {"Tfrmjiou", {"1", "1", "3", "1"}, {"理论最多奇数个数：3.0", "理论最少奇数个数：0.0", "理论平均奇数个数：1.5"}},
        {"Tfrmhei", {"9", "5", "15", "19"}, {"理论最大和值：27.0", "理论最小和值：0.0", "理论平均和值：12.0"}},
        {"Tfrmkuadu", {"9", "3", "0", "4"}, {"理论最大跨度：9.0", "理论最小跨度：0.0", "理论平均跨度：4.0"}},
        {"Tfrmsandu", {"4", "6", "5", "4"}, {"理论最大散度：9.0", "理论最小散度：2.0", "理论平均散度：4.8"}},
        {"Tfrmpiandu", {"4", "3", "2", "3"}, {"理论最多偏度：9.0", "理论最少偏度：0.0", "理论平均偏度：2.9"}},
        {"Tfrmac", {"2", "3", "1", "3"}, {"理论最大AC值：3.0", "理论最小AC值：1.0", "理论平均AC值：2.3"}},
        {"Tfrmcongma", {"0", "1", "0", "0"}, {"理论最多重码个数：3.0", "理论最少重码个数：0.0", "理论平均重码个数：0.0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        const MetricAnalysis a = Compute(member(c.className), h, lottery, 3);
        ASSERT_EQ(a.rows.size(), 4u);
        EXPECT_EQ(a.rows[1][1], "00 02 03 ");
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(a.rows[i][2], c.values[i]) << "row " << i;
        ASSERT_GE(a.summary.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(a.summary.begin(), a.summary.begin() + 3), c.theory);
    }
    // Big digits 0 + 3 + 2 = 5 against k * R / 2 = 4.5: within 1.5 either way.
    EXPECT_EQ(Compute(member("Tfrmdaxiao"), h, lottery, 3).summary,
              (std::vector<std::string>{"理论最多大数个数：3.0", "理论最少大数个数：0.0", "理论平均大数个数：1.5",
                                        "最近3期大数个数总和：5.0", "最近3期理论大数个数总和：4.5"}));
    // Holes 6 + 5 + 4 = 15 against 3 * 19 / 4 = 14.25.
    EXPECT_EQ(Compute(member("Tfrmsandu"), h, lottery, 3).summary[4], "最近3期理论散度总和：14.3");
}

TEST(MetricAnalysis, RecentCountLimitsAndEmptyHistory)
{
    const DrawHistory h = fixture();
    // R above the number of draws is limited to it: never reads before the first draw.
    const MetricAnalysis a = Compute(member("Tfrmdaxiao"), h, 33, 6, 10);
    EXPECT_EQ(a.recentCount, 4);
    EXPECT_EQ(a.bars.size(), 4u);
    EXPECT_EQ(a.summary[3], "最近4期大数个数总和：10.0");
    EXPECT_EQ(a.summary[4], "最近4期理论大数个数总和：12.0");
    EXPECT_EQ(metricChartBars(a.rows, 2).size(), 2u);

    // No draws: header only, no bars, and the three theoretical lines.
    const MetricAnalysis empty = Compute(member("Tfrmhei"), DrawHistory(6, 1), 33, 6, 3);
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_TRUE(empty.bars.empty());
    EXPECT_EQ(empty.header[2], "和值");
    EXPECT_EQ(empty.summary,
              (std::vector<std::string>{"理论最大和值：183.0", "理论最小和值：21.0", "理论平均和值：0.0"}));

    EXPECT_EQ(historyGridTopRow(101), 77);
    EXPECT_EQ(historyGridTopRow(25), 1);
    EXPECT_EQ(historyGridTopRow(24), 1);
}

} // namespace
} // namespace zelvor
