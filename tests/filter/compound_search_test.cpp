#include "filter/compound_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvor {
namespace {

// A hand-set variable trend of N = 5 and five draws of two ranks each. The
// permutation is the identity and every rank keeps its shifted value, so
// after the latest draw number n stands for value (n mod 5) + 1: value c is
// number c - 1, value 1 is number 5.
VariableTrend handTrend(const std::vector<std::vector<int>>& ranks)
{
    VariableTrend t;
    t.numberRange = 5;
    t.drawCount = static_cast<int>(ranks.size());
    t.settings.window = 1;
    t.settings.permutation = {0, 1, 2, 3, 4, 5};
    t.snapshotRank = {0, 1, 2, 3, 4, 5};
    t.history = DrawHistory(2, 0);
    for (std::size_t i = 0; i < ranks.size(); ++i)
        t.history.append(static_cast<int>(i) + 1, ranks[i]);
    return t;
}

const std::vector<std::vector<int>> kFiveOverdue = {{1, 2}, {1, 3}, {2, 3}, {1, 4}, {1, 2}};
const std::vector<std::vector<int>> kAtMostTwo = {{1, 2}, {3, 4}, {5, 1}, {2, 3}, {4, 5}};
const std::vector<std::vector<int>> kOneOverdue = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 2}};

TEST(CompoundSearch, ColumnOmissions)
{
    EXPECT_EQ(columnOmissions(handTrend(kFiveOverdue).history, 5), (std::vector<int>{5, 0, 0, 2, 1, 5}));
    EXPECT_EQ(columnOmissions(handTrend(kOneOverdue).history, 5), (std::vector<int>{5, 4, 0, 2, 1, 0}));
    EXPECT_EQ(columnOmissions(DrawHistory(2, 0), 3), (std::vector<int>{0, 0, 0, 0}));
}

TEST(CompoundSearch, MostOverdueColumnFollowsTheExchangeSort)
{
    struct Case {
        std::vector<int> omissions; // index 0 unused
        int column;
    } cases[] = {
        {{0, 0, 0, 2, 1, 5}, 5},
        {{0, 3, 3, 1, 3}, 4},
        {{0, 2, 5, 5, 1}, 2}, // 02 and 03 tie at 5; 02 ends last
        {{0, 7, 7, 7}, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mostOverdueColumn(c.omissions, static_cast<int>(c.omissions.size()) - 1), c.column);
}

TEST(CompoundSearch, StrikeOrderRepeatAndThreshold)
{
    CompoundSearch search(5, {3, true, 3});
    struct Step {
        const std::vector<std::vector<int>>* ranks;
        int column, omission, struck, left;
    } steps[] = {
        {&kFiveOverdue, 5, 5, 4, 4},  // value 5 is number 04
        {&kFiveOverdue, 5, 5, 4, 4},  // a repeat strike changes nothing
        {&kAtMostTwo, 1, 2, -1, 4},   // 2 < 3: no strike
        {&kOneOverdue, 1, 4, 5, 3},   // value 1 is number 05
    };
    for (const auto& s : steps) {
        ASSERT_FALSE(search.done());
        const CompoundPass p = search.pass(handTrend(*s.ranks));
        EXPECT_EQ(p.column, s.column);
        EXPECT_EQ(p.omission, s.omission);
        EXPECT_EQ(p.struck, s.struck);
        EXPECT_EQ(p.left, s.left);
    }
    EXPECT_TRUE(search.done());
    EXPECT_EQ(search.passes(), 4);
    EXPECT_EQ(search.resultText(), "01 02 03 ");
}

TEST(CompoundSearch, WithoutThresholdEveryPassStrikes)
{
    CompoundSearch search(5, {4, false, 50});
    const CompoundPass p = search.pass(handTrend(kAtMostTwo));
    EXPECT_EQ(p.struck, 5);
    EXPECT_TRUE(search.done());
    EXPECT_EQ(search.resultText(), "01 02 03 04 ");
}

TEST(CompoundSearch, RefusedSettings)
{
    const LotteryParams ssq = TwoColourBall();
    struct Case {
        CompoundSettings settings;
        int draws;
        bool refused;
    } cases[] = {
        {{28, true, 50}, 3508, false},
        {{32, true, 50}, 3508, false},
        {{1, false, 50}, 10, false},
        {{0, true, 50}, 3508, true},
        {{33, true, 50}, 3508, true},
        {{-2, true, 50}, 3508, true},
        {{28, true, 51}, 50, true},  // can never be met
        {{28, true, 50}, 50, false},
        {{28, false, 51}, 50, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!compoundRefusal(ssq, c.draws, c.settings).empty(), c.refused)
            << c.settings.wanted << " " << c.settings.threshold;
    EXPECT_EQ(compoundRefusal(ssq, 3508, {33, true, 50}), "号码个数必须在1到32之间！");
    LotteryParams digits{"三位", LotteryKind::Digit, 10, 3, 0, 0};
    EXPECT_FALSE(compoundRefusal(digits, 100, {5, false, 0}).empty());
}

TEST(CompoundSearch, ViewLines)
{
    VariableSettings v;
    ASSERT_TRUE(parseCompoundView("7 2 3 1 5 4", 5, v));
    EXPECT_EQ(v.window, 7);
    EXPECT_EQ(v.permutation, (std::vector<int>{0, 2, 3, 1, 5, 4}));
    EXPECT_TRUE(parseCompoundView("  100\t5 4 3 2 1  ", 5, v));
    for (const char* bad : {"0 1 2 3 4 5", "101 1 2 3 4 5", "7 1 2 3 4", "7 1 2 3 4 5 6", "7 1 1 3 4 5",
                            "7 1 2 3 4 6", "7 1 2 x 4 5", ""})
        EXPECT_FALSE(parseCompoundView(bad, 5, v)) << bad;
}

} // namespace
} // namespace zelvor
