#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "advisers/adviser_reference.h"
#include "advisers/advisers.h"
#include "common/error.h"

using namespace zelvor;

namespace {

LotteryParams lotto(int N, int k) { return {"测试乐透", LotteryKind::Lotto, N, k, 0, 0}; }
LotteryParams digits3() { return {"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0}; }

DrawHistory historyOf(int k, const std::vector<std::vector<int>>& draws, int firstIssue = 1)
{
    DrawHistory h(k, 0);
    for (std::size_t i = 0; i < draws.size(); ++i)
        h.append(firstIssue + static_cast<int>(i), draws[i]);
    return h;
}

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

std::string errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

} // namespace

// ---- settings texts ----

TEST(AdviserSettings, WholeNumbersInRangeOrOneMessage)
{
    struct Case {
        const char* text;
        int expected; // -1: refused
        const char* message;
    } cases[] = {
        {"5", 5, ""},
        {"+7", 7, ""},
        {"20", 20, ""},
        {"0", -1, "间隔期数须为1到20的整数！"},
        {"21", -1, "间隔期数须为1到20的整数！"},
        {"-3", -1, "间隔期数须为1到20的整数！"},
        {"99999999999999999999", -1, "间隔期数须为1到20的整数！"},
        {"abc", -1, "“abc”不是有效的整数。"},
        {" 5", -1, "“ 5”不是有效的整数。"},
        {"", -1, "“”不是有效的整数。"},
        {"5.0", -1, "“5.0”不是有效的整数。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.expected >= 0)
            EXPECT_EQ(parseSetting(c.text, "间隔期数", 1, 20), c.expected);
        else
            EXPECT_EQ(errorOf([&] { parseSetting(c.text, "间隔期数", 1, 20); }), c.message);
    }
}

TEST(AdviserSettings, StageAllOrOneToN)
{
    EXPECT_EQ(parseStage("全部期数", "全部期数", 30), 0);
    EXPECT_EQ(parseStage("30", "全部期数", 30), 30);
    EXPECT_EQ(errorOf([] { parseStage("31", "全部期数", 30); }), "阶段次数须为全部期数或1到30的整数！");
    EXPECT_EQ(errorOf([] { parseStage("x", "all", 30); }), "“x”不是有效的整数。");
}

TEST(AdviserSettings, TargetIsAHistoryIssueOrTheNext)
{
    const DrawHistory h = historyOf(2, {{1, 2}, {3, 4}, {5, 6}}, 120);
    EXPECT_EQ(parseTarget(h, "120"), 0);
    EXPECT_EQ(parseTarget(h, "122"), 2);
    EXPECT_EQ(parseTarget(h, "123"), 3);
    EXPECT_EQ(errorOf([&] { parseTarget(h, "124"); }), "目前投注期须为历史中的一期或下一期！");
    EXPECT_EQ(errorOf([&] { parseTarget(h, "12a"); }), "“12a”不是有效的整数。");
    EXPECT_EQ(targetItems(h), (std::vector<std::string>{"120", "121", "122", "123"}));
}

// ---- 5.1 ----

TEST(IntervalAdviser, ExchangeSortOrdersTiesAsTheSwapsLeaveThem)
{
    struct Case {
        std::vector<int> frequency;
        std::vector<int> order;
    } cases[] = {
        {{2, 2, 1}, {3, 2, 1}}, // d = 1 swaps with d = 3, then d = 2 with d = 1
        {{0, 0, 0}, {1, 2, 3}},
        {{3, 1, 2, 1}, {2, 4, 3, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(intervalOrder(c.frequency), c.order);
}

TEST(IntervalAdviser, OldestTargetTakesOneToS)
{
    const DrawHistory h = historyOf(2, {{3, 4}, {1, 5}, {2, 6}});
    EXPECT_EQ(recommendInterval(h, lotto(8, 2), 0, {5, 4}), range(1, 4));
}

TEST(IntervalAdviser, GroupsByIntervalLeastFrequentFirst)
{
    // N = 6, k = 1. Target P = 4, M = 3: window draws 0..3.
    // Intervals: draw 0 (1): 1; draw 1 (2): 2; draw 2 (1): 2; draw 3 (3): 4 (not counted).
    // Frequencies d1 = 1, d2 = 2, d3 = 0 -> order 3, 1, 2.
    // Current intervals at P = 4: 3 -> 1, 1 -> 2, 2 -> 3, others 5.
    const DrawHistory h = historyOf(1, {{1}, {2}, {1}, {3}});
    EXPECT_EQ(recommendInterval(h, lotto(6, 1), 4, {3, 6}), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(recommendInterval(h, lotto(6, 1), 4, {3, 2}), (std::vector<int>{2, 3}));
}

// ---- 5.2 ----

namespace {
// N = 6, k = 2; reference draw 4 = {1, 2}.
DrawHistory intimateHistory() { return historyOf(2, {{1, 2}, {3, 4}, {1, 5}, {2, 6}, {1, 2}}); }
} // namespace

TEST(IntimateAdviser, BetsFromFollowerCounts)
{
    struct Case {
        bool overall;
        int count;
        int stage;
        std::vector<int> bet;
    } cases[] = {
        {true, 2, 0, {2, 3}},     // overall 1:1 2:2 3:2 4:2 6:1
        {false, 2, 0, {1, 2, 3}}, // position 1 takes 2 3, position 2 takes 1 2
        {false, 1, 0, {1, 2}},
        {true, 2, 2, {1, 2}},     // only the latest occurrence: 2 6 and 1 2
        {true, 3, 1, {1, 2, 3}},  // stage 1 counts nothing
        {false, 2, 1, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.overall << " W=" << c.count << " S=" << c.stage);
        const IntimateResult r = recommendIntimate(intimateHistory(), lotto(6, 2), 5, {c.overall, c.count, c.stage});
        EXPECT_EQ(r.bet, c.bet);
    }
}

TEST(IntimateAdviser, TableCellsAndTargetZero)
{
    const IntimateResult r = recommendIntimate(intimateHistory(), lotto(6, 2), 5, {true, 2, 0});
    EXPECT_EQ(intimacyCells(r, true),
              (std::vector<std::vector<std::string>>{{"各亲密数字总次数2:2次 3:2次 4:2次 1:1次 6:1次 5:0次 "}}));
    const auto cells = intimacyCells(r, false);
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(cells[0], (std::vector<std::string>{"参照号码", "1", "2"}));
    EXPECT_EQ(cells[1], (std::vector<std::string>{"排名1", "2:1次", "1:1次"}));
    EXPECT_EQ(cells[6][0], "排名6");
    EXPECT_EQ(errorOf([] { recommendIntimate(intimateHistory(), lotto(6, 2), 0, {}); }), "目前投注期之前没有开奖号码！");
}

// ---- 5.3 ----

namespace {
// N = 8, k = 2; number 1 is drawn in draws 0, 1, 2.
DrawHistory compositeHistory() { return historyOf(2, {{1, 2}, {1, 3}, {1, 4}, {5, 6}, {7, 8}, {5, 6}}); }
} // namespace

TEST(CompositeAdviser, FourStepsByHand)
{
    struct Case {
        int T;
        CompositeSettings s;
        std::array<std::string, 4> boxes;
        std::vector<int> bet;
    } cases[] = {
        // Ranking A over draws 1..5 is 1 5 6 3 4 7 8 2; the three-in-a-row ends
        // at draw 2, inside the window; ranking B (draw 4) is 7 8, both at
        // positions 6..8 of A.
        {6, {5, 1, 1, 1}, {"01 03 05 06 ", "01 03 ", "01", "07 08 "}, {1, 3, 7, 8}},
        // Clipped at the first draw: A over draws 0, 1; B over draw 0.
        {2, {40, 1, 10, 10}, {"01 02 03 04 ", "02 04 ", "", ""}, {2, 4}},
        // The run of 1 lies outside a window of 3 (draws 3..5).
        {6, {3, 1, 1, 1}, {"05 06 07 08 ", "07 08 ", "", ""}, {7, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.T);
        const CompositeResult r = recommendComposite(compositeHistory(), lotto(8, 2), c.T, c.s);
        EXPECT_EQ(compositeBoxTexts(r), c.boxes);
        EXPECT_EQ(r.bet, c.bet);
    }
}

// ---- 5.4 ----

TEST(StemBranchAdviser, StemsAndBranchesOfDates)
{
    struct Case {
        const char* date;
        const char* stem;
        const char* branch;
    } cases[] = {
        {"2001-5-1", "甲", "子"},  {"2001-5-11", "甲", "戌"}, {"2003-2-23", "丁", "卯"},
        {"2001-4-30", "癸", "亥"}, {"2003/02/23", "丁", "卯"}, {"2001-5-2", "乙", "丑"},
        {"2001-6-30", "甲", "子"}, // sixty days on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        CivilDate d;
        ASSERT_TRUE(parseDate(c.date, d));
        EXPECT_STREQ(kStems[stemIndex(d)], c.stem);
        EXPECT_STREQ(kBranches[branchIndex(d)], c.branch);
    }
}

TEST(StemBranchAdviser, DigitSetsOfTheRule)
{
    struct Case {
        int stem;
        int branch;
        bool extra;
        std::vector<int> digits;
    } cases[] = {
        {3, 3, false, {0, 1, 4, 5, 6, 9}}, // 丁卯
        {3, 3, true, {0, 4, 5, 9}},
        {0, 2, false, {0, 2, 3, 5, 7, 8}}, // 甲寅
        {0, 2, true, {0, 3, 5, 8}},
        {9, 11, false, {1, 3, 6, 8}}, // 癸亥
        {9, 11, true, {1, 6}},
    };
    for (const Case& c : cases) {
        const auto f = selectedDigits(c.stem, c.branch, c.extra);
        std::vector<int> got;
        for (int d = 0; d < 10; ++d)
            if (f[d])
                got.push_back(d);
        EXPECT_EQ(got, c.digits) << c.stem << " " << c.branch << " " << c.extra;
    }
    EXPECT_EQ(recommendStemBranch(lotto(33, 6), selectedDigits(3, 3, false)),
              (std::vector<int>{1, 4, 5, 6, 9, 10, 11, 14, 15, 16, 19, 20, 21, 24, 25, 26, 29, 30, 31}));
    EXPECT_EQ(recommendStemBranch(digits3(), selectedDigits(3, 3, true)), (std::vector<int>{0, 4, 5, 9}));
}

TEST(StemBranchAdviser, NextDrawDates)
{
    struct Case {
        const char* lottery;
        const char* weekdays;
        const char* last;
        const char* next;
    } cases[] = {
        {"中国福彩双色球", "247", "2003-2-27", "2003-3-2"}, // Thursday -> Sunday
        {"中国福彩双色球", "247", "2003-2-23", "2003-2-25"}, // Sunday -> Tuesday
        {"中国福彩双色球", "247", "2003-2-25", "2003-2-27"}, // Tuesday -> Thursday
        {"中国福彩双色球", "247", "2003-3-1", "2003-3-2"},   // Saturday -> Sunday
        {"中国香港六合彩", "246", "2003-2-27", "2003-3-1"}, // Thursday -> Saturday
        {"中国香港六合彩", "246", "2003-3-1", "2003-3-4"},  // Saturday -> Tuesday
        {"中国香港六合彩", "", "2003-3-1", "2003-3-2"},
        {"中国福彩3D", "1234567", "2003-12-31", "2004-1-1"},
    };
    for (const Case& c : cases) {
        CivilDate last;
        ASSERT_TRUE(parseDate(c.last, last));
        EXPECT_EQ(dateText(nextDrawDate(c.lottery, c.weekdays, last)), c.next) << c.lottery << " " << c.last;
    }
}

TEST(StemBranchAdviser, DayBeforeBaseAndBadDates)
{
    CivilDate d;
    ASSERT_TRUE(parseDate("2001-4-30", d));
    EXPECT_EQ(stemIndex(d), 9);
    EXPECT_EQ(branchIndex(d), 11);
    for (const char* bad : {"", "2001-2-29", "2001-13-1", "2001-5", "2001-5-1x", "2001-5/1", "五月"})
        EXPECT_FALSE(parseDate(bad, d)) << bad;
}

TEST(StemBranchAdviser, ReplayCountsRepeatedDigitsAndTargetDates)
{
    // 2001-4-30 is 癸亥: F = {1, 3, 6, 8}. Draw 1 1 5 has two hits; 0 0 8 one.
    const DrawHistory h = historyOf(3, {{1, 1, 5}, {0, 0, 8}}, 2001001);
    const std::vector<std::string> dates = {"2001-4-30", "2001-4-30"};
    const AdviserReplay r = replayStemBranch(h, digits3(), dates, {false});
    EXPECT_EQ(r.hits, (std::vector<int>{2, 1}));
    EXPECT_EQ(replayCell(r, h, 0, 1), "1 1 5 ");
    EXPECT_EQ(replayCell(r, h, 0, 2), "1 3 6 8 ");
    EXPECT_EQ(replayMemo(r), "最大中奖号码数为2个，最小中奖号码数为1个");
    EXPECT_EQ(errorOf([&] { replayStemBranch(h, digits3(), {"2001-4-30", "?"}, {false}); }),
              "第2001002期没有正确的开奖日期！");

    CivilDate d;
    EXPECT_TRUE(targetDate(h, dates, "中国福彩3D", "1234567", 2, d));
    EXPECT_EQ(dateText(d), "2001-5-1");
    EXPECT_FALSE(targetDate(h, {"2001-4-30", ""}, "中国福彩3D", "1234567", 1, d));
    EXPECT_FALSE(targetDate(h, {"2001-4-30", ""}, "中国福彩3D", "1234567", 2, d));
}

// ---- replays ----

TEST(AdviserReplays, FewDrawsAndEmptyHistory)
{
    const DrawHistory one = historyOf(2, {{1, 2}});
    EXPECT_EQ(replayMemo(replayInterval(one, lotto(8, 2), {5, 4})), "历史期数不足，无法统计！");
    EXPECT_EQ(replayMemo(replayIntimate(one, lotto(8, 2), {true, 4, 7})), "历史期数不足，无法统计！");
    EXPECT_EQ(replayMemo(replayComposite(compositeHistory(), lotto(8, 2), {1, 1, 1, 1})), "历史期数不足，无法统计！");
    const DrawHistory none(2, 0);
    EXPECT_EQ(replayMemo(replayInterval(none, lotto(8, 2), {5, 4})), "没有开奖数据！");
    const AdviserReplay r = replayInterval(one, lotto(8, 2), {5, 4});
    EXPECT_EQ(r.rowCount(), 1);
    EXPECT_EQ(replayCell(r, one, 0, 2), "");
    EXPECT_EQ(replayCell(r, one, 0, 3), "0");
}

TEST(AdviserReplays, IntimateChartStartsAfterTheStage)
{
    const AdviserReplay r = replayIntimate(intimateHistory(), lotto(6, 2), {true, 2, 2});
    EXPECT_EQ(r.rowCount(), 5);
    EXPECT_EQ(r.barCount(), 2); // positions 3 and 4
    EXPECT_EQ(r.firstBar, 3);
    EXPECT_EQ(replayCell(r, intimateHistory(), 0, 3), "");
    EXPECT_EQ(replayCell(r, intimateHistory(), 4, 2), "3 4 "); // reference 2 6: 2 last came in draw 0, followed by 3 4
}

namespace {

DrawHistory randomHistory(const LotteryParams& p, int draws, unsigned seed)
{
    std::mt19937 g(seed);
    DrawHistory h(p.pickCount, 0);
    const int lo = firstNumber(p);
    for (int i = 0; i < draws; ++i) {
        std::vector<int> row;
        if (p.digitsFromZero()) {
            for (int j = 0; j < p.pickCount; ++j)
                row.push_back(lo + static_cast<int>(g() % p.numberRange));
        } else {
            std::vector<int> pool = range(1, p.numberRange);
            std::shuffle(pool.begin(), pool.end(), g);
            row.assign(pool.begin(), pool.begin() + p.pickCount);
        }
        h.append(1000 + i, row);
    }
    return h;
}

void expectSameReplay(const AdviserReplay& fast, const AdviserReplay& direct)
{
    EXPECT_EQ(fast.firstBet, direct.firstBet);
    EXPECT_EQ(fast.betStart, direct.betStart);
    EXPECT_EQ(fast.betNumbers, direct.betNumbers);
    EXPECT_EQ(fast.hits, direct.hits);
    EXPECT_EQ(fast.histogram, direct.histogram);
    EXPECT_EQ(fast.maxHits, direct.maxHits);
    EXPECT_EQ(fast.minHits, direct.minHits);
    EXPECT_EQ(fast.firstBar, direct.firstBar);
}

} // namespace

TEST(AdviserReplays, IncrementalMatchesDirectLoops)
{
    const LotteryParams lotteries[] = {lotto(12, 3), lotto(33, 6), digits3()};
    for (const LotteryParams& p : lotteries) {
        const DrawHistory h = randomHistory(p, 160, static_cast<unsigned>(p.numberRange * 7 + p.pickCount));
        SCOPED_TRACE(p.name + " N=" + std::to_string(p.numberRange));
        for (IntervalSettings s : {IntervalSettings{5, 6}, IntervalSettings{1, 3}, IntervalSettings{20, p.numberRange}})
            expectSameReplay(replayInterval(h, p, s), reference::replayInterval(h, p, s));
        for (IntimateSettings s : {IntimateSettings{true, p.numberRange / 2 + 1, 7}, IntimateSettings{true, 3, 0},
                                   IntimateSettings{false, 1, 7}, IntimateSettings{false, 2, 0},
                                   IntimateSettings{true, 2, 1}})
            expectSameReplay(replayIntimate(h, p, s), reference::replayIntimate(h, p, s));
        for (CompositeSettings s : {CompositeSettings{40, 1, 10, 10}, CompositeSettings{5, 3, 2, 1},
                                    CompositeSettings{1, 5, 1, 10}, CompositeSettings{120, 2, 10, 4}})
            expectSameReplay(replayComposite(h, p, s), reference::replayComposite(h, p, s));
    }
}

TEST(AdviserReplays, SingleTargetsAgreeWithTheReplay)
{
    const LotteryParams p = lotto(33, 6);
    const DrawHistory h = randomHistory(p, 90, 5);
    const AdviserReplay a = replayInterval(h, p, {5, 18});
    const AdviserReplay b = replayIntimate(h, p, {false, 2, 7});
    const AdviserReplay c = replayComposite(h, p, {40, 1, 10, 10});
    for (int P : {1, 30, 51, 89}) {
        const auto ia = recommendInterval(h, p, P, {5, 18});
        EXPECT_EQ(std::vector<int>(a.bet(P).begin(), a.bet(P).end()), ia);
        const auto ib = recommendIntimate(h, p, P, {false, 2, 7}).bet;
        EXPECT_EQ(std::vector<int>(b.bet(P).begin(), b.bet(P).end()), ib);
        if (P >= 51) {
            const auto ic = recommendComposite(h, p, P, {40, 1, 10, 10}).bet;
            EXPECT_EQ(std::vector<int>(c.bet(P).begin(), c.bet(P).end()), ic);
        }
    }
}
