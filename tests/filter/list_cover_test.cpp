// Covering a filtered list: every result checked by brute force.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <set>

#include "common/random.h"
#include "filter/list_cover.h"

using namespace zelvor;

namespace {

std::vector<NumberSet> randomList(int N, int k, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::set<NumberSet> list;
    std::vector<int> all(static_cast<std::size_t>(N));
    for (int i = 0; i < N; ++i)
        all[static_cast<std::size_t>(i)] = i;
    while (static_cast<int>(list.size()) < count) {
        std::shuffle(all.begin(), all.end(), rng);
        NumberSet s = 0;
        for (int i = 0; i < k; ++i)
            s |= NumberSet{1} << all[static_cast<std::size_t>(i)];
        list.insert(s);
    }
    return {list.begin(), list.end()};
}

// Every member against every bet, counting common numbers.
bool bruteForceCovers(const std::vector<NumberSet>& list, const std::vector<NumberSet>& bets, int t)
{
    return std::all_of(list.begin(), list.end(), [&](NumberSet c) {
        return std::any_of(bets.begin(), bets.end(), [&](NumberSet b) { return std::popcount(c & b) >= t; });
    });
}

bool allFromList(const std::vector<NumberSet>& list, const std::vector<NumberSet>& bets)
{
    const std::set<NumberSet> members(list.begin(), list.end());
    return std::all_of(bets.begin(), bets.end(), [&](NumberSet b) { return members.count(b) > 0; });
}

} // namespace

TEST(ListCover, ResultsCoverTheListForEveryGuarantee)
{
    struct Case {
        int N, k, count, t;
        double seconds;
    } cases[] = {{12, 6, 300, 3, 0}, {12, 6, 300, 4, 0.2}, {14, 6, 500, 5, 0.2}, {10, 5, 200, 4, 0.1}, {33, 6, 800, 5, 0.2}};
    for (const Case& c : cases) {
        Random random(11);
        const std::vector<NumberSet> list = randomList(c.N, c.k, c.count, 3);
        const ListCoverResult r = coverList(list, c.t, c.seconds, random);
        EXPECT_TRUE(bruteForceCovers(list, r.bets, c.t)) << c.N << " " << c.t;
        EXPECT_TRUE(coversList(list, r.bets, c.t));
        EXPECT_TRUE(allFromList(list, r.bets));
        EXPECT_LE(static_cast<std::int64_t>(r.bets.size()), r.greedyBets);
        EXPECT_TRUE(std::is_sorted(r.bets.begin(), r.bets.end(), [](NumberSet a, NumberSet b) {
            return numbersOf(a) < numbersOf(b);
        }));
    }
}

TEST(ListCover, NoTwoSharingTheGuaranteeKeepsTheWholeList)
{
    // Pairwise at most 2 common numbers: with T = 3 every member must be a bet.
    const std::vector<NumberSet> list = {0b111111, NumberSet{0b111111} << 6, NumberSet{0b111111} << 12,
                                         0b11000011000011};
    Random random(1);
    const ListCoverResult r = coverList(list, 3, 0.1, random);
    EXPECT_EQ(r.bets.size(), list.size());
}

TEST(ListCover, AllCombinationsOfAFewNumbersNeedNoMoreThanAWheel)
{
    // Every 6-subset of 1..8 (28 of them): 中6保5 needs 4 bets at best.
    std::vector<NumberSet> list;
    for (NumberSet s = 0; s < (1u << 8); ++s)
        if (std::popcount(s) == 6)
            list.push_back(s);
    Random random(2);
    const ListCoverResult r = coverList(list, 5, 0.5, random);
    EXPECT_TRUE(bruteForceCovers(list, r.bets, 5));
    EXPECT_LE(r.bets.size(), 6u);
}

TEST(ListCover, AStopKeepsAValidCover)
{
    const std::vector<NumberSet> list = randomList(20, 6, 2000, 9);
    Random random(4);
    int reports = 0;
    const ListCoverResult r = coverList(list, 4, 30, random, [&](const ListCoverProgress&) { return ++reports < 2; });
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(bruteForceCovers(list, r.bets, 4));
}
