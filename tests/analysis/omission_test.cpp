#include "analysis/omission.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvor {
namespace {

// n red draws (33 / 6) in which number 01 stands at the given rows (0 =
// oldest) and nowhere else; the other cells are filled from 28..33.
OmissionDraws redDraws(int n, const std::vector<int>& rowsWithOne)
{
    OmissionDraws d{33, 6, {}};
    for (int r = 0; r < n; ++r) {
        bool one = false;
        for (int x : rowsWithOne)
            one = one || x == r;
        d.numbers.push_back(one ? 1 : 27);
        for (int v = 28; v <= 32; ++v)
            d.numbers.push_back(v);
    }
    return d;
}

TEST(OmissionTable, RowOfNumberOneForGivenGaps)
{
    // 40 draws; gaps are counted back from the newest draw (row 39).
    struct Case {
        const char* what;
        OmissionKind kind;
        std::vector<int> rows;
        std::vector<std::string> cells;
    } cases[] = {
        {"backfill 5/4/20", OmissionKind::Backfill, {34, 30, 10},
         {"01", "5.5", "7.3", "3", "20", "20", "3.6", "881%"}},
        {"backfill 9/4/20 fails", OmissionKind::Backfill, {30, 26, 6},
         {"01", "5.5", "7.3", "3", "20", "0", "0", "0%"}},
        {"backfill 3/5/5/17", OmissionKind::Backfill, {36, 31, 26, 9},
         {"01", "5.5", "7.3", "4", "17", "17", "3.1", "561%"}},
        {"skew 5/4/20", OmissionKind::SkewState, {34, 30, 10},
         {"01", "5.5", "7.3", "3", "20", "5", "0.9", "220%"}},
        {"skew in the newest draw", OmissionKind::SkewState, {39, 20},
         {"01", "5.5", "7.3", "2", "19", "0", "0.0", "0%"}},
        {"skew current omission is the longest gap", OmissionKind::SkewState, {5},
         {"01", "5.5", "7.3", "1", "34", "34", "6.2", "4495%"}},
        {"never drawn", OmissionKind::SkewState, {},
         {"01", "5.5", "7.3", "0", "0", "0", "0", "0%"}},
        {"never drawn, backfill", OmissionKind::Backfill, {},
         {"01", "5.5", "7.3", "0", "0", "0", "0", "0%"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto rows = omissionTable(c.kind, redDraws(40, c.rows));
        ASSERT_EQ(rows.size(), 33u);
        EXPECT_EQ(std::vector<std::string>(rows[0].cells.begin(), rows[0].cells.end()), c.cells);
    }
}

TEST(OmissionTable, NumberTwiceInOneDrawCountsOnce)
{
    OmissionDraws d{16, 2, {3, 3, 1, 2, 4, 5}};
    const auto rows = omissionTable(OmissionKind::SkewState, d);
    EXPECT_EQ(rows[2].cells[3], "1");
    EXPECT_EQ(rows[2].cells[5], "2");
    EXPECT_EQ(rows[2].cells[4], "2");
}

TEST(OmissionTable, FormatsAndChaseValue)
{
    EXPECT_EQ(coldMultipleText(11, 6, 33), "2.0");
    EXPECT_EQ(coldMultipleText(3508, 1, 16), "219.3"); // 219.25, half away from zero
    EXPECT_EQ(coldMultipleText(0, 6, 33), "0.0");
    EXPECT_EQ(chaseValue(11, 6, 33, 2000, 360), 202);
    EXPECT_EQ(chaseValue(5, 6, 33, 2000, 0), 0);
    // 19999 x 100 x 36 x 20000 does not fit 32 bits.
    EXPECT_EQ(chaseValue(19999, 6, 33, 20000, 1), 1322247933);
}

TEST(OmissionTable, BlueRowsOfTheTwoColourBall)
{
    DrawHistory h(6, 1);
    for (int i = 0; i < 40; ++i)
        h.append(2003001 + i, std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{i % 2 ? 16 : 7});
    const OmissionDraws d = omissionDraws(TwoColourBall(), h, OmissionBalls::Blue);
    const auto rows = omissionTable(OmissionKind::SkewState, d);
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[6].cells[1], "16.0");
    EXPECT_EQ(rows[6].cells[2], "2.5");
    EXPECT_EQ(rows[6].cells[3], "20");
    EXPECT_EQ(rows[6].cells[4], "2");
    EXPECT_EQ(rows[6].cells[5], "1");
    EXPECT_EQ(rows[6].cells[6], "0.1");     // 1/16 = 0.0625
    EXPECT_EQ(rows[15].cells[5], "0");
}

TEST(OmissionTable, RefusedSelections)
{
    EXPECT_EQ(omissionRefusal(TwoColourBall(), OmissionBalls::Blue), "");
    EXPECT_NE(omissionRefusal(MarkSix(), OmissionBalls::Blue), "");
    EXPECT_EQ(omissionRefusal(MarkSix(), OmissionBalls::Red), "");
    LotteryParams digits{"三位", LotteryKind::Digit, 10, 3, 0, 0};
    EXPECT_NE(omissionRefusal(digits, OmissionBalls::Red), "");
    // Mark Six ranks its own 49 numbers, seven a draw.
    DrawHistory h(7, 0);
    h.append(1, std::vector<int>{1, 2, 3, 40, 47, 48, 49});
    const OmissionDraws d = omissionDraws(MarkSix(), h, OmissionBalls::Red);
    EXPECT_EQ(d.range, 49);
    EXPECT_EQ(d.perDraw, 7);
    EXPECT_EQ(omissionTable(OmissionKind::SkewState, d)[48].cells[3], "1");
}

std::vector<int> order(const std::vector<OmissionRow>& rows, std::size_t count)
{
    std::vector<int> v;
    for (std::size_t i = 0; i < count; ++i)
        v.push_back(rows[i].number);
    return v;
}

TEST(OmissionTable, ExchangeSortsAndTheirTies)
{
    std::vector<OmissionRow> rows(6);
    for (int i = 0; i < 6; ++i)
        rows[i].number = i + 1;
    rows[0].reported = 1;
    rows[1].reported = 1;
    rows[2].reported = 2;
    rows[0].wins = 3; rows[1].wins = 1; rows[2].wins = 2; rows[3].wins = 1; rows[4].wins = 5; rows[5].wins = 4;
    rows[0].chase = 10; rows[3].chase = 30; rows[5].chase = 30;

    auto byReported = rows;
    sortOmissionRows(byReported, OmissionSort::Reported);
    EXPECT_EQ(order(byReported, 3), (std::vector<int>{3, 2, 1}));

    // Least drawn first: 02 and 04 (1), 03 (2), 01 (3), 06 (4), 05 (5).
    auto byWins = rows;
    sortOmissionRows(byWins, OmissionSort::Wins);
    EXPECT_EQ(order(byWins, 6), (std::vector<int>{2, 4, 3, 1, 6, 5}));

    // 04 and 06 tie at 30: 04 takes slot 1 first, 06 slot 2, then 01.
    auto byChase = rows;
    sortOmissionRows(byChase, OmissionSort::Chase);
    EXPECT_EQ(order(byChase, 3), (std::vector<int>{4, 6, 1}));

    auto byNumber = rows;
    sortOmissionRows(byNumber, OmissionSort::Number);
    EXPECT_EQ(order(byNumber, 6), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

} // namespace
} // namespace zelvor
