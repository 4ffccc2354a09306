// The condition back-test: each draw measured with the draw before it, the
// total filter's ranges and messages, the kept share and the efficiency.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "data/history_import.h"
#include "filter/backtest.h"
#include "support/histories.h"

using namespace zelvor;
using zelvor::testing::threeDraws;

namespace {

constexpr std::int64_t kAll = 1107568; // C(33, 6)

BacktestRanges ranges(std::initializer_list<std::tuple<RangeTest, int, int>> ticked)
{
    BacktestRanges r;
    for (const auto& [test, lo, hi] : ticked) {
        const auto i = static_cast<std::size_t>(test);
        r.ticked[i] = true;
        r.lower[i] = lo;
        r.upper[i] = hi;
    }
    return r;
}

// Every range ticked at the widest its box lists, then one changed.
BacktestRanges wideWith(RangeTest test, int lo, int hi)
{
    BacktestRanges r;
    for (int t = 0; t < RangeTestCount; ++t) {
        const Bounds b = rangeListBounds(static_cast<RangeTest>(t), 33, 6);
        r.ticked[static_cast<std::size_t>(t)] = true;
        r.lower[static_cast<std::size_t>(t)] = b.min;
        r.upper[static_cast<std::size_t>(t)] = b.max;
    }
    r.lower[static_cast<std::size_t>(test)] = lo;
    r.upper[static_cast<std::size_t>(test)] = hi;
    return r;
}

std::uint8_t bit(RangeTest t) { return static_cast<std::uint8_t>(1u << static_cast<int>(t)); }

} // namespace

TEST(BacktestMeasures, EachDrawIsMeasuredWithTheFilterRulesAndTheDrawBefore)
{
    struct Case {
        std::vector<int> draw, previous;
        DrawMeasures expected; // big (>= 16), odd, sum, span, dispersion, skew, AC
    } cases[] = {
        // 07..12 after 01..06: no number of 16..33; the hole 13..33 is 21 wide;
        // 12 is 6 away from 06; differences 1..5.
        {{7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}, {0, 3, 57, 5, 21, 6, 5}},
        // 03 09 16 22 30 33 after 07..12: 33 is 21 away from 12; the gap 22..30
        // leaves 26 four away; 13 distinct differences.
        {{3, 9, 16, 22, 30, 33}, {7, 8, 9, 10, 11, 12}, {4, 3, 113, 30, 4, 21, 13}},
        // The metric table's worked example: 16 counts as big for the filter
        // only, and 16 is not in it, so the big count stays 3.
        {{1, 7, 12, 20, 25, 33}, {1, 9, 12, 22, 28, 31}, {3, 4, 98, 32, 4, 3, 11}},
        // 16 is big for the filter's rule (N div 2 and above).
        {{16, 2, 4, 6, 8, 10}, {16, 2, 4, 6, 8, 10}, {1, 0, 46, 14, 17, 0, 7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(measureDraw(c.draw, c.previous, 33), c.expected);
}

TEST(Backtest, ADrawBreakingOnlyTheSumIsLostToTheSumAlone)
{
    const DrawHistory h = threeDraws();
    // 2003002 sums to 57, below 60; every other range is as wide as its box.
    const BacktestRanges r = wideWith(RangeTest::Sum, 60, 120);
    const BacktestReplay replay = replayBacktest(h, measureHistory(h, 33), r, 100);
    ASSERT_EQ(replay.replayed(), 2);
    EXPECT_EQ(replay.draws[0].issue, 2003002);
    EXPECT_EQ(replay.draws[0].broken, bit(RangeTest::Sum));
    EXPECT_EQ(replay.draws[1].issue, 2003003);
    EXPECT_EQ(replay.draws[1].broken, 0);
    EXPECT_EQ(replay.failures, (std::array<int, RangeTestCount>{0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(replay.passed, 1);
}

TEST(Backtest, SkewnessIsMeasuredAgainstTheDrawBeforeNotTheLatest)
{
    const DrawHistory h = threeDraws();
    // 2003003 lies 21 from 2003002 (33 to 12) but 0 from itself, the latest draw.
    const BacktestRanges r = ranges({{RangeTest::Skewness, 0, 10}});
    const BacktestReplay replay = replayBacktest(h, measureHistory(h, 33), r, std::nullopt);
    ASSERT_EQ(replay.replayed(), 2);
    EXPECT_EQ(replay.draws[0].broken, 0); // 6 from 2003001
    EXPECT_EQ(replay.draws[1].broken, bit(RangeTest::Skewness));
    EXPECT_EQ(replay.failures[static_cast<std::size_t>(RangeTest::Skewness)], 1);

    // Now, against the latest draw 03 09 16 22 30 33, no number lies more than
    // 4 away (26 alone is 4 away): 0..4 keeps all, 0..3 all without 26.
    BacktestKeptCounter counter;
    const KeptShare upTo4 = counter.count(TwoColourBall(), h, ranges({{RangeTest::Skewness, 0, 4}}));
    EXPECT_EQ(upTo4.kept, kAll);
    EXPECT_EQ(upTo4.total, kAll);
    const KeptShare upTo3 = counter.count(TwoColourBall(), h, ranges({{RangeTest::Skewness, 0, 3}}));
    EXPECT_EQ(upTo3.kept, 906192); // C(32, 6)
}

TEST(Backtest, RecentCountIsCappedAtTheDrawsWithADrawBefore)
{
    const DrawHistory h = threeDraws();
    struct Case {
        std::optional<int> recent;
        int replayed;
        int oldestIssue;
    } cases[] = {{100, 2, 2003002}, {2, 2, 2003002}, {1, 1, 2003003}, {std::nullopt, 2, 2003002}};
    const BacktestRanges r = ranges({{RangeTest::Sum, 21, 183}});
    for (const Case& c : cases) {
        EXPECT_EQ(backtestDrawCount(h, c.recent), c.replayed);
        const BacktestReplay replay = replayBacktest(h, measureHistory(h, 33), r, c.recent);
        ASSERT_EQ(replay.replayed(), c.replayed);
        EXPECT_EQ(replay.draws.front().issue, c.oldestIssue);
        EXPECT_EQ(replay.draws.back().issue, 2003003);
    }
    // A single draw has none before it: nothing to replay.
    DrawHistory one(6, 1);
    one.append(2003001, h.main(0), h.special(0));
    EXPECT_EQ(replayBacktest(one, measureHistory(one, 33), r, 100).replayed(), 0);
    EXPECT_EQ(replayBacktestDirect(one, 33, r, std::nullopt).replayed(), 0);
}

TEST(Backtest, KeptCountIsTheTotalFiltersCountFromAllCombinations)
{
    // Big numbers by the filter's rule are 16..33 (18), small 1..15 (15):
    // C(15,6) + 18 C(15,5) + C(18,2) C(15,4) + C(18,3) C(15,3)
    // = 5005 + 54054 + 208845 + 371280.
    BacktestKeptCounter counter;
    const KeptShare share = counter.count(TwoColourBall(), threeDraws(), ranges({{RangeTest::Big, 0, 3}}));
    EXPECT_EQ(share.kept, 639184);
    EXPECT_EQ(share.total, kAll);
    // 1 of 2 draws passed: 0.5 / (639184 / 1107568) = 0.8664
    EXPECT_EQ(efficiencyText(1, 2, share), "0.87");
    // A lottery whose combinations are not held has no kept share.
    const LotteryParams four{"四个号", LotteryKind::Lotto, 20, 4, 0, 0};
    EXPECT_EQ(counter.count(four, threeDraws(), ranges({{RangeTest::Sum, 10, 40}})).total, 0);
}

TEST(Backtest, EfficiencyIsTheRatioOfTheSharesInHundredthsHalvesAway)
{
    struct Case {
        int passed, replayed;
        std::int64_t kept, total;
        const char* text;
    } cases[] = {
        {1, 8, 1, 10, "1.25"},          // 0.125 / 0.1
        {1, 8, 1, 1, "0.13"},           // 0.125: the half goes up
        {1, 16, 1, 1, "0.06"},          // 0.0625
        {3, 8, 1, 1, "0.38"},           // 0.375
        {0, 5, 7, 9, "0.00"},           // nothing passed
        {3, 3, 1, kAll, "1107568.00"},  // every draw passed, one combination kept
        {0, 0, 7, 9, "-"},              // nothing replayed
        {2, 5, 0, 9, "-"},              // nothing kept
        {2, 5, 0, 0, "-"},              // combinations not held
    };
    for (const Case& c : cases)
        EXPECT_EQ(efficiencyText(c.passed, c.replayed, KeptShare{c.kept, c.total, false}), c.text)
            << c.passed << "/" << c.replayed << " " << c.kept << "/" << c.total;
}

TEST(BacktestRanges, RefusedWithTheTotalFiltersMessages)
{
    auto row = [](RangeTest t, const char* lo, const char* hi) {
        return rangeInput(t, 33, 6, true, lo, hi);
    };
    struct Case {
        std::array<RangeInput, RangeTestCount> rows;
        const char* message;
    } cases[] = {
        {{}, "请选择过滤条件！"},
        {{row(RangeTest::Big, "1", "")}, "请选择组合框中的数值！"},
        {{RangeInput{}, RangeInput{}, row(RangeTest::Sum, "120", "90")},
         "请前面组合框中的数值应该小于等于后面组合框中的数值！"},
        {{RangeInput{}, RangeInput{}, row(RangeTest::Sum, "9x", "90")}, "“9x”不是有效的整数。"},
    };
    for (const Case& c : cases) {
        const auto read = readBacktestRanges(c.rows, TwoColourBall());
        ASSERT_TRUE(std::holds_alternative<TotalFilterProblem>(read)) << c.message;
        EXPECT_EQ(std::get<TotalFilterProblem>(read).message, c.message);
    }
    // A lottery without blue numbers is back-tested all the same.
    std::array<RangeInput, RangeTestCount> rows{};
    rows[2] = rangeInput(RangeTest::Sum, 49, 7, true, "100", "200");
    const auto read = readBacktestRanges(rows, MarkSix());
    ASSERT_TRUE(std::holds_alternative<BacktestRanges>(read));
    const BacktestRanges& r = std::get<BacktestRanges>(read);
    EXPECT_EQ(r.tickedTests(), std::vector<RangeTest>{RangeTest::Sum});
    EXPECT_EQ(r.lower[2], 100);
    EXPECT_EQ(r.upper[2], 200);
}

TEST(Backtest, ReplayOfTheRealHistoryMatchesTheDirectReplay)
{
    const std::string file = std::string(ZELVOR_SHARED_DATA) + "/ssq.csv";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "no real history at " << file;
    const DrawHistory h = readHistoryFile(file, TwoColourBall());
    ASSERT_GT(h.size(), 1000);
    const std::vector<DrawMeasures> measures = measureHistory(h, 33);
    const BacktestRanges sets[] = {
        ranges({{RangeTest::Big, 2, 4}, {RangeTest::Odd, 2, 4}, {RangeTest::Sum, 80, 120}, {RangeTest::Span, 20, 30},
                {RangeTest::Dispersion, 4, 8}, {RangeTest::Skewness, 2, 6}, {RangeTest::Ac, 7, 10}}),
        ranges({{RangeTest::Skewness, 0, 3}}),
        wideWith(RangeTest::Sum, 100, 100),
    };
    for (const BacktestRanges& r : sets)
        for (std::optional<int> recent : {std::optional<int>{}, std::optional<int>{500}}) {
            const BacktestReplay fast = replayBacktest(h, measures, r, recent);
            const BacktestReplay direct = replayBacktestDirect(h, 33, r, recent);
            ASSERT_EQ(fast.replayed(), direct.replayed());
            EXPECT_EQ(fast.replayed(), recent ? 500 : h.size() - 1);
            for (int i = 0; i < fast.replayed(); ++i) {
                EXPECT_EQ(fast.draws[static_cast<std::size_t>(i)].issue, direct.draws[static_cast<std::size_t>(i)].issue);
                EXPECT_EQ(fast.draws[static_cast<std::size_t>(i)].broken, direct.draws[static_cast<std::size_t>(i)].broken);
            }
            EXPECT_EQ(fast.failures, direct.failures);
            EXPECT_EQ(fast.passed, direct.passed);
        }
}
