#include <gtest/gtest.h>

#include <limits>

#include "data/combinations.h"

using namespace zelvor;

TEST(AllCombinations, TwoColourBallTableRunsLexicographicallyFromFirstToLast)
{
    CombinationTable t;
    t.buildAll(33, 6);
    ASSERT_EQ(t.size(), 1107568);
    const std::vector<std::uint8_t> first(t.row(0).begin(), t.row(0).end());
    const std::vector<std::uint8_t> second(t.row(1).begin(), t.row(1).end());
    const std::vector<std::uint8_t> last(t.row(t.size() - 1).begin(), t.row(t.size() - 1).end());
    EXPECT_EQ(first, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(second, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(last, (std::vector<std::uint8_t>{28, 29, 30, 31, 32, 33}));
    EXPECT_EQ(t.countKept(), t.size());
    // Row r holds the combination of rank r + 1.
    for (std::int64_t r : {std::int64_t{0}, std::int64_t{12345}, std::int64_t{777777}, t.size() - 1}) {
        std::vector<int> c(t.row(r).begin(), t.row(r).end());
        EXPECT_EQ(CombinationRank(c, 33), r + 1) << r;
    }
}

TEST(AllCombinations, LeftEmptyWhereTheToolsCannotUseIt)
{
    struct Case {
        int N, k;
        std::int64_t rows;
    } cases[] = {
        {33, 6, 1107568}, {35, 5, 324632}, {30, 7, 2035800},
        {10, 3, 0},  // k outside 5..7
        {49, 7, 0},  // 85,900,584 rows: too large to hold
    };
    for (const Case& c : cases) {
        CombinationTable t;
        t.buildAll(c.N, c.k);
        EXPECT_EQ(t.size(), c.rows) << c.N << "/" << c.k;
    }
}

TEST(AllCombinations, CompactKeepsTheOrderOfKeptRows)
{
    CombinationTable t;
    t.buildAll(7, 5);
    ASSERT_EQ(t.size(), 21);
    for (std::int64_t r = 0; r < t.size(); r += 2)
        t.setMark(r, 1);
    t.compact();
    ASSERT_EQ(t.size(), 10);
    const std::vector<int> second(t.row(0).begin(), t.row(0).end());
    EXPECT_EQ(second, (std::vector<int>{1, 2, 3, 4, 6}));
    EXPECT_EQ(t.countKept(), 10);
}

TEST(BetCount, DigitAndLottoKinds)
{
    EXPECT_EQ(BetCount(LotteryKind::Digit, 10, 3), 1000);
    EXPECT_EQ(BetCount(LotteryKind::Lotto, 33, 6), 1107568);
    EXPECT_EQ(BetCount(LotteryKind::Lotto, 49, 7), 85900584); // beyond 32-bit products
    EXPECT_EQ(Binomial(5, 0), 1);
}

TEST(CombinationRank, FirstSecondAndLast)
{
    EXPECT_EQ(CombinationRank(std::vector<int>{1, 2, 3, 4, 5, 6}, 33), 1);
    EXPECT_EQ(CombinationRank(std::vector<int>{1, 2, 3, 4, 5, 7}, 33), 2);
    EXPECT_EQ(CombinationRank(std::vector<int>{28, 29, 30, 31, 32, 33}, 33), 1107568);
    EXPECT_EQ(CombinationRank(std::vector<int>{1, 2, 3, 4, 6, 7}, 33), 29);
}

TEST(BetCount, LargeRangesSaturateInsteadOfOverflowing)
{
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        LotteryKind kind;
        int N, k;
        std::int64_t count;
    } cases[] = {
        // C(66,33) = 7,219,428,434,016,265,740 is the largest central value in
        // 64 bits; its last step needs 66 x C(65,32), beyond 64 bits.
        {LotteryKind::Lotto, 66, 33, 7219428434016265740},
        // C(67,33) = C(66,32) + C(66,33) = 7,007,092,303,604,022,630 + 7,219,428,434,016,265,740.
        {LotteryKind::Lotto, 67, 33, kMax},
        {LotteryKind::Lotto, 2000000000, 6, kMax},
        {LotteryKind::Lotto, 2000000000, 1, 2000000000},
        {LotteryKind::Lotto, 2000000000, 2000000000, 1},
        {LotteryKind::Lotto, 2000000000, 1999999999, 2000000000},
        {LotteryKind::Lotto, -5, 3, 0},
        {LotteryKind::Lotto, 33, -1, 0},
        {LotteryKind::Digit, 10, 18, 1000000000000000000},
        {LotteryKind::Digit, 10, 19, kMax},
        {LotteryKind::Digit, 2000000000, 3, kMax},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BetCount(c.kind, c.N, c.k), c.count) << c.N << "/" << c.k;

    // A table that large is never built.
    CombinationTable t;
    t.buildAll(2000000000, 6);
    EXPECT_TRUE(t.empty());
}
