#include "analysis/trend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "analysis/variable_reference.h"

namespace zelvor {
namespace {

LotteryParams lotto(int N, int k, int M, int m)
{
    LotteryParams p;
    p.kind = LotteryKind::Lotto;
    p.numberRange = N;
    p.pickCount = k;
    p.specialRange = M;
    p.specialCount = m;
    return p;
}

LotteryParams digits(int N, int k)
{
    LotteryParams p = lotto(N, k, 0, 0);
    p.kind = LotteryKind::Digit;
    return p;
}

// Draws of a random history: distinct numbers in random stored order for a
// lotto lottery, digits 0..N-1 with repeats for a digit lottery.
DrawHistory randomHistory(const LotteryParams& lottery, int D, Random& random)
{
    DrawHistory h(lottery.pickCount, lottery.specialCount);
    std::vector<int> all(static_cast<std::size_t>(lottery.numberRange));
    for (int d = 0; d < D; ++d) {
        std::vector<int> main;
        if (lottery.digitsFromZero()) {
            for (int j = 0; j < lottery.pickCount; ++j)
                main.push_back(random.below(lottery.numberRange));
        } else {
            std::iota(all.begin(), all.end(), 1);
            for (int j = 0; j < lottery.pickCount; ++j) {
                int r = j + random.below(lottery.numberRange - j);
                std::swap(all[j], all[r]);
                main.push_back(all[j]);
            }
        }
        std::vector<int> special;
        for (int j = 0; j < lottery.specialCount; ++j)
            special.push_back(random.below(lottery.specialRange) + 1);
        h.append(2003001 + d, main, special);
    }
    return h;
}

std::vector<int> rowCells(const DrawHistory& h, int i)
{
    auto r = h.row(i);
    return {r.begin(), r.end()};
}

void expectSameTrend(const VariableTrend& a, const VariableTrend& b)
{
    ASSERT_EQ(a.history.size(), b.history.size());
    for (int i = 0; i < a.history.size(); ++i)
        ASSERT_EQ(rowCells(a.history, i), rowCells(b.history, i)) << "row " << i;
    ASSERT_EQ(a.snapshot.size(), b.snapshot.size());
    for (std::size_t s = 0; s < a.snapshot.size(); ++s) {
        EXPECT_EQ(a.snapshot[s].value, b.snapshot[s].value) << "slot " << s;
        EXPECT_EQ(a.snapshot[s].count, b.snapshot[s].count) << "slot " << s;
        EXPECT_EQ(a.snapshot[s].omission, b.snapshot[s].omission) << "slot " << s;
    }
    EXPECT_EQ(a.snapshotRank, b.snapshotRank);
}

TEST(TrendLayout, ColumnsAndHeaders)
{
    struct Case {
        const char* what;
        LotteryParams lottery;
        int columns, specialSeparator, firstSpecial;
        std::vector<std::pair<int, std::string>> headers;
    } cases[] = {
        {"two-colour ball", lotto(33, 6, 16, 1), 53, 36, 37,
         {{0, "记录期号"}, {1, "开奖号码"}, {2, ""}, {3, "1"}, {35, "33"}, {36, ""}, {37, "1"}, {52, "16"}}},
        {"Mark Six", lotto(49, 7, 0, 0), 53, 52, -1, {{3, "1"}, {51, "49"}, {52, ""}}},
        // Digits 0..9 get columns; a layout of 1..N would never show 0.
        {"three digits", digits(10, 3), 14, 13, -1, {{3, "0"}, {12, "9"}, {13, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TrendLayout layout = trendLayout(c.lottery);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.specialSeparator, c.specialSeparator);
        EXPECT_EQ(layout.firstSpecial, c.firstSpecial);
        for (const auto& [column, text] : c.headers)
            EXPECT_EQ(layout.headerText(column), text) << "column " << column;
    }
}

TEST(StandardTrend, RowsKeepStoredOrderAndMarkTheirColumns)
{
    struct Case {
        const char* what;
        LotteryParams lottery;
        std::vector<int> main, special;
        std::string text;
        std::vector<int> marked;
    } cases[] = {
        {"two-colour ball", lotto(33, 6, 16, 1), {3, 9, 16, 17, 24, 33}, {12}, "03 09 16 17 24 33 + 12",
         {5, 11, 18, 19, 26, 35, 36 + 12}},
        {"stored order kept", lotto(33, 6, 16, 1), {5, 3, 22, 17, 9, 30}, {11}, "05 03 22 17 09 30 + 11",
         {5, 7, 11, 19, 24, 32, 36 + 11}},
        {"no specials", lotto(49, 7, 0, 0), {1, 2, 3, 40, 41, 48, 49}, {}, "01 02 03 40 41 48 49",
         {3, 4, 5, 42, 43, 50, 51}},
        {"repeated digits", digits(10, 3), {0, 0, 7}, {}, "00 00 07", {3, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DrawHistory h(c.lottery.pickCount, c.lottery.specialCount);
        h.append(2003001, c.main, c.special);
        const TrendRows rows = buildStandardTrend(c.lottery, h);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].issue, 2003001);
        EXPECT_EQ(rows[0].numbers, c.text);
        std::vector<int> marked;
        for (std::size_t col = 0; col < rows[0].cells.size(); ++col)
            if (rows[0].cells[col])
                marked.push_back(static_cast<int>(col));
        EXPECT_EQ(marked, c.marked);
        EXPECT_EQ(static_cast<int>(rows[0].cells.size()), trendLayout(c.lottery).columns);
    }
}

TEST(VariableTrend, HandComputedSmallCase)
{
    // N = 5, k = 2, W = 2, p = (3 1 5 2 4). Shifted values of the draws at
    // their positions: {4 2}, {2 1}, {4 5}. At position 1 the exchange sort
    // leaves value 3 ahead of value 1 although both have omission 0 and
    // count 0, which a stable sort would not.
    const VariableSettings settings{2, {0, 3, 1, 5, 2, 4}};
    struct Case {
        const char* what;
        LotteryParams lottery;
        std::vector<std::vector<int>> draws;
        std::vector<std::vector<int>> rows; // VariableHistory main cells
        std::vector<int> next;              // nextValue of each number, smallest number first
    } cases[] = {
        {"lotto", lotto(5, 2, 0, 0), {{1, 2}, {3, 5}, {2, 4}}, {{2, 4}, {1, 4}, {1, 5}}, {2, 4, 3, 1, 5}},
        // The same draws as digits d = n - 1; values come back as digits.
        {"digits", digits(5, 2), {{0, 1}, {2, 4}, {1, 3}}, {{1, 3}, {0, 3}, {0, 4}}, {1, 3, 2, 0, 4}},
    };
    const std::vector<std::vector<int>> valuesAt{{4, 2, 1, 3, 5}, {5, 3, 1, 2, 4}, {2, 1, 4, 5, 3}, {2, 4, 3, 1, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DrawHistory h(2, 0);
        for (std::size_t d = 0; d < c.draws.size(); ++d)
            h.append(101 + static_cast<int>(d), c.draws[d]);
        std::vector<std::vector<int>> seen;
        const VariableTrend t = buildVariableTrend(c.lottery, h, settings, [&](int i, std::span<const int> v) {
            EXPECT_EQ(i, static_cast<int>(seen.size()));
            seen.emplace_back(v.begin() + 1, v.end());
        });
        EXPECT_EQ(seen, valuesAt);
        ASSERT_EQ(t.history.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.history.issue(i), 101 + i);
            auto m = t.history.main(i);
            EXPECT_EQ(std::vector<int>(m.begin(), m.end()), c.rows[static_cast<std::size_t>(i)]) << "row " << i;
        }
        const std::vector<std::vector<int>> snapshot{{1, 1, 2}, {2, 1, 2}, {4, 1, 1}, {5, 1, 1}, {3, 0, 0}};
        ASSERT_EQ(t.snapshot.size(), 5u);
        for (std::size_t s = 0; s < 5; ++s)
            EXPECT_EQ((std::vector<int>{t.snapshot[s].value, t.snapshot[s].count, t.snapshot[s].omission}),
                      snapshot[s])
                << "slot " << s;
        EXPECT_EQ(t.snapshotRank, (std::vector<int>{0, 1, 2, 5, 3, 4}));
        const int first = c.lottery.digitsFromZero() ? 0 : 1;
        for (int n = 0; n < 5; ++n) {
            EXPECT_EQ(t.nextValue(first + n), c.next[static_cast<std::size_t>(n)]) << "number " << first + n;
            EXPECT_EQ(t.numberForNextValue(c.next[static_cast<std::size_t>(n)]), first + n);
        }
        EXPECT_EQ(t.nextValue(first + 5), -1);
        EXPECT_EQ(t.numberForNextValue(first + 5), -1);
    }
}

TEST(VariableTrend, FastBuildMatchesTheLiteralAlgorithm)
{
    struct Case {
        LotteryParams lottery;
        int draws;
        int window; // 0: as drawn
    } cases[] = {
        {lotto(5, 2, 0, 0), 12, 0},    {lotto(5, 2, 0, 0), 3, 50},   {lotto(10, 3, 0, 0), 40, 0},
        {lotto(33, 6, 16, 1), 300, 0}, {lotto(33, 6, 16, 1), 60, 100}, {lotto(33, 6, 16, 1), 250, 1},
        {lotto(49, 7, 0, 0), 200, 0},  {digits(10, 3), 300, 0},     {digits(10, 3), 20, 90},
        {lotto(33, 6, 16, 1), 1, 0},   {lotto(33, 6, 16, 1), 0, 0},
        {lotto(64, 8, 0, 0), 150, 0},  {lotto(80, 20, 0, 0), 120, 0}, {lotto(80, 20, 0, 0), 30, 3},
    };
    for (std::uint64_t seed : {1u, 7u, 2024u}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " N=" << c.lottery.numberRange << " D=" << c.draws
                                            << " W=" << c.window);
            Random random(seed);
            const DrawHistory h = randomHistory(c.lottery, c.draws, random);
            Random r1(seed * 31 + 5), r2(seed * 31 + 5);
            VariableSettings s = drawVariableSettings(c.lottery.numberRange, r1);
            const VariableSettings direct = reference::drawSettingsDirect(c.lottery.numberRange, r2);
            EXPECT_EQ(s.window, direct.window);
            EXPECT_EQ(s.permutation, direct.permutation);
            if (c.window)
                s.window = c.window;
            expectSameTrend(buildVariableTrend(c.lottery, h, s), reference::buildVariableTrendDirect(c.lottery, h, s));
        }
    }
}

TEST(VariableTrend, EveryPositionIsAPermutationAndPositionZeroIsUnsorted)
{
    const LotteryParams lottery = lotto(33, 6, 16, 1);
    Random random(99);
    const DrawHistory h = randomHistory(lottery, 400, random);
    const VariableSettings s = drawVariableSettings(33, random);
    int positions = 0;
    const VariableTrend t = buildVariableTrend(lottery, h, s, [&](int i, std::span<const int> v) {
        ++positions;
        std::vector<int> sorted(v.begin() + 1, v.end());
        std::sort(sorted.begin(), sorted.end());
        std::vector<int> identity(33);
        std::iota(identity.begin(), identity.end(), 1);
        ASSERT_EQ(sorted, identity) << "position " << i;
        if (i == 0) {
            for (int n = 1; n <= 33; ++n)
                EXPECT_EQ(v[static_cast<std::size_t>(n)], s.permutation[static_cast<std::size_t>(n)] % 33 + 1);
        }
    });
    EXPECT_EQ(positions, 401);

    // First row: the sorted S(x, 0); every row ascending, distinct, in 1..N.
    std::vector<int> first;
    for (int x : h.main(0))
        first.push_back(s.permutation[static_cast<std::size_t>(x)] % 33 + 1);
    std::sort(first.begin(), first.end());
    auto row0 = t.history.main(0);
    EXPECT_EQ(std::vector<int>(row0.begin(), row0.end()), first);
    for (int i = 0; i < t.history.size(); ++i) {
        auto m = t.history.main(i);
        EXPECT_TRUE(std::adjacent_find(m.begin(), m.end(), std::greater_equal<>()) == m.end()) << "row " << i;
        EXPECT_GE(m.front(), 1);
        EXPECT_LE(m.back(), 33);
        EXPECT_EQ(t.history.issue(i), h.issue(i));
    }
    std::vector<int> ranks(t.snapshotRank.begin() + 1, t.snapshotRank.end());
    std::sort(ranks.begin(), ranks.end());
    std::vector<int> identity(33);
    std::iota(identity.begin(), identity.end(), 1);
    EXPECT_EQ(ranks, identity);
    for (int c = 1; c <= 33; ++c)
        EXPECT_EQ(t.nextValue(t.numberForNextValue(c)), c);
}

TEST(VariableTrend, SeedDecidesTheView)
{
    const LotteryParams lottery = lotto(33, 6, 16, 1);
    Random data(5);
    const DrawHistory h = randomHistory(lottery, 200, data);
    auto view = [&](std::uint64_t seed) {
        Random random(seed);
        const VariableTrend t = buildVariableTrend(lottery, h, drawVariableSettings(33, random));
        std::vector<int> cells;
        for (int i = 0; i < t.history.size(); ++i)
            for (int v : t.history.main(i))
                cells.push_back(v);
        return cells;
    };
    EXPECT_EQ(view(11), view(11));
    EXPECT_NE(view(11), view(12));
}

TEST(VariableTrend, RowsShowRanksAndStoredSpecials)
{
    const LotteryParams lottery = lotto(33, 6, 16, 1);
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{5, 3, 22, 17, 9, 30}, std::vector<int>{11});
    Random random(3);
    const VariableSettings s = drawVariableSettings(33, random);
    const VariableTrend t = buildVariableTrend(lottery, h, s);
    const TrendRows rows = variableTrendRows(lottery, h, t);
    ASSERT_EQ(rows.size(), 1u);
    auto m = t.history.main(0);
    const std::vector<int> ranks(m.begin(), m.end());
    std::string expected;
    for (int v : ranks)
        expected += (v < 10 ? "0" : "") + std::to_string(v) + " ";
    expected.pop_back();
    EXPECT_EQ(rows[0].numbers, expected + " + 11");
    const TrendLayout layout = trendLayout(lottery);
    for (int v : ranks)
        EXPECT_EQ(rows[0].cells[static_cast<std::size_t>(layout.mainColumn(v))], 1);
    EXPECT_EQ(rows[0].cells[static_cast<std::size_t>(layout.specialColumn(11))], 1);
    EXPECT_EQ(std::count(rows[0].cells.begin(), rows[0].cells.end(), 1), 7);
}

TEST(VariableTrend, RejectsSettingsThatWouldIndexOutsideTheTables)
{
    const LotteryParams lottery = lotto(5, 2, 0, 0);
    DrawHistory h(2, 0);
    h.append(101, std::vector<int>{1, 2});
    const VariableSettings bad[] = {{2, {0, 3, 1, 5, 2}}, {2, {0, 3, 1, 5, 2, 6}}, {2, {0, 3, 3, 5, 2, 4}},
                                    {0, {0, 3, 1, 5, 2, 4}}};
    for (const auto& s : bad)
        EXPECT_THROW(buildVariableTrend(lottery, h, s), std::invalid_argument);
}

TEST(VariableTrend, EmptyHistory)
{
    const LotteryParams lottery = lotto(33, 6, 16, 1);
    const DrawHistory h(6, 1);
    EXPECT_TRUE(buildStandardTrend(lottery, h).empty());
    Random random(1);
    const VariableSettings s = drawVariableSettings(33, random);
    const VariableTrend t = buildVariableTrend(lottery, h, s);
    EXPECT_EQ(t.history.size(), 0);
    EXPECT_TRUE(variableTrendRows(lottery, h, t).empty());
    // Nothing drawn: no swaps, rank(t) = t, so the next value is S(n, 0).
    ASSERT_EQ(t.snapshot.size(), 33u);
    for (int v = 1; v <= 33; ++v)
        EXPECT_EQ(t.snapshot[static_cast<std::size_t>(v - 1)].value, v);
    for (int n = 1; n <= 33; ++n)
        EXPECT_EQ(t.nextValue(n), s.permutation[static_cast<std::size_t>(n)] % 33 + 1);
}

} // namespace
} // namespace zelvor
