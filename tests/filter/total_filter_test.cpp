#include <gtest/gtest.h>

#include <numeric>

#include "filter/total_filter.h"
#include "filter_test_support.h"

using namespace zelvor;
using zelvor::testing::crlfLines;
using zelvor::testing::readAll;
using zelvor::testing::ScratchDir;

namespace {

LotteryParams twoColourBall() { return TwoColourBall(); }

// The window as FormCreate leaves it, with blue 07 chosen.
TotalFilterInputs freshInputs()
{
    TotalFilterInputs in;
    in.bankerHitsFrom = "1";
    in.bankerHitsTo = "1";
    in.redHitsFrom = "6";
    in.redHitsTo = "6";
    in.chosenBlues = {7};
    return in;
}

// Ticks a metric and chooses lo and hi from its list (positions as the list has them).
void setRange(TotalFilterInputs& in, RangeTest t, int lo, int hi, int N = 33, int k = 6)
{
    RangeInput& r = in.ranges[static_cast<std::size_t>(t)];
    const int first = rangeListBounds(t, N, k).min;
    r.ticked = true;
    r.lowerText = std::to_string(lo);
    r.upperText = std::to_string(hi);
    r.lowerIndex = lo - first;
    r.upperIndex = hi - first;
}

DrawHistory historyWithLatest(std::vector<int> latest)
{
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{10, 11, 12, 13, 26, 28}, std::vector<int>{11});
    h.append(2003002, latest, std::vector<int>{1});
    return h;
}

// Counts the 6-subsets of 1..33 that satisfy pred, by plain nested loops.
template <class Pred> std::int64_t countCombinations(Pred pred)
{
    std::int64_t n = 0;
    int c[6];
    for (c[0] = 1; c[0] <= 28; ++c[0])
        for (c[1] = c[0] + 1; c[1] <= 29; ++c[1])
            for (c[2] = c[1] + 1; c[2] <= 30; ++c[2])
                for (c[3] = c[2] + 1; c[3] <= 31; ++c[3])
                    for (c[4] = c[3] + 1; c[4] <= 32; ++c[4])
                        for (c[5] = c[4] + 1; c[5] <= 33; ++c[5])
                            n += pred(c);
    return n;
}

int countAtLeast16(const int* c) { return static_cast<int>(std::count_if(c, c + 6, [](int v) { return v >= 16; })); }
int sum6(const int* c) { return std::accumulate(c, c + 6, 0); }

bool kept(const CombinationTable& t, std::vector<int> c)
{
    return t.mark(CombinationRank(c, 33) - 1) == 0;
}

} // namespace

TEST(TotalFilterValidation, FirstFailureInTheWindowsOrderWins)
{
    struct Case {
        const char* what;
        std::function<void(TotalFilterInputs&)> setUp;
        TotalFilterProblem::Kind kind;
        std::string message;
    };
    auto reversedUnticked = [](TotalFilterInputs& in) {
        in.ranges[2].lowerIndex = 10; // sum boxes, unticked: 31 .. 21
        in.ranges[2].upperIndex = 0;
    };
    const Case cases[] = {
        {"nothing ticked, blue missing too",
         [](TotalFilterInputs& in) { in.chosenBlues.clear(); }, TotalFilterProblem::Kind::UserError,
         "请选择过滤条件！"},
        {"ticked span with an empty box, banker empty, ranges reversed",
         [&](TotalFilterInputs& in) {
             setRange(in, RangeTest::Span, 10, 20);
             in.ranges[3].upperText.clear();
             in.bankerTicked = true;
             reversedUnticked(in);
         },
         TotalFilterProblem::Kind::UserError, "请选择组合框中的数值！"},
        {"banker ticked without hits, ranges reversed",
         [&](TotalFilterInputs& in) {
             in.bankerTicked = true;
             in.bankerText = "03 07";
             in.bankerHitsTo.clear();
             reversedUnticked(in);
         },
         TotalFilterProblem::Kind::UserError, "请输入胆码以及最少中奖个数和最多中奖个数！"},
        {"an unticked metric's positions reversed, banker hits reversed",
         [&](TotalFilterInputs& in) {
             setRange(in, RangeTest::Odd, 2, 4);
             reversedUnticked(in);
             in.bankerHitsFrom = "2";
         },
         TotalFilterProblem::Kind::UserError, "请前面组合框中的数值应该小于等于后面组合框中的数值！"},
        {"a typed upper value has no list position",
         [](TotalFilterInputs& in) {
             setRange(in, RangeTest::Sum, 90, 110);
             in.ranges[2].upperIndex = -1;
         },
         TotalFilterProblem::Kind::UserError, "请前面组合框中的数值应该小于等于后面组合框中的数值！"},
        {"banker hits reversed while the banker is unticked, no red chosen",
         [](TotalFilterInputs& in) {
             in.redChoiceTicked = true;
             in.bankerHitsFrom = "3";
             in.bankerHitsTo = "2";
         },
         TotalFilterProblem::Kind::UserError, "胆码前面的中奖个数应该小于等于后面的中奖个数！"},
        {"banker hit count not a number while unticked",
         [](TotalFilterInputs& in) {
             setRange(in, RangeTest::Big, 2, 4);
             in.bankerHitsTo = "abc";
         },
         TotalFilterProblem::Kind::ConversionError, "“abc”不是有效的整数。"},
        {"red choice ticked, none chosen, no blue",
         [](TotalFilterInputs& in) {
             in.redChoiceTicked = true;
             in.chosenBlues.clear();
         },
         TotalFilterProblem::Kind::UserError, "请点击你要选择的红球！"},
        {"red choice ticked, five chosen",
         [](TotalFilterInputs& in) {
             in.redChoiceTicked = true;
             in.chosenReds = {1, 2, 3, 4, 5};
         },
         TotalFilterProblem::Kind::UserError, "请至少选择6个红球！"},
        {"no blue chosen",
         [](TotalFilterInputs& in) {
             setRange(in, RangeTest::Big, 2, 4);
             in.chosenBlues.clear();
         },
         TotalFilterProblem::Kind::UserError, "请点击你要选择的蓝球！"},
        {"typed range text that is not a number",
         [](TotalFilterInputs& in) {
             setRange(in, RangeTest::Sum, 90, 110);
             in.ranges[2].lowerText = "9o";
         },
         TotalFilterProblem::Kind::ConversionError, "“9o”不是有效的整数。"},
        {"banker numbers separated by a comma alone",
         [](TotalFilterInputs& in) {
             in.bankerTicked = true;
             in.bankerText = "03,07";
         },
         TotalFilterProblem::Kind::ConversionError, "“03,07”不是有效的整数。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TotalFilterInputs in = freshInputs();
        c.setUp(in);
        auto read = readTotalFilter(in, twoColourBall());
        const auto* problem = std::get_if<TotalFilterProblem>(&read);
        ASSERT_NE(problem, nullptr);
        EXPECT_EQ(problem->kind, c.kind);
        EXPECT_EQ(problem->message, c.message);
    }
}

TEST(TotalFilterValidation, ProblemsChangeNothing)
{
    CombinationTable table;
    table.buildAll(33, 6);
    TotalFilter filter(table);
    TotalFilterInputs in = freshInputs();
    setRange(in, RangeTest::Sum, 90, 110);
    in.ranges[6].ticked = true; // AC ticked with typed text that is no number
    in.ranges[6].lowerText = "x";
    in.ranges[6].upperText = "15";
    const TotalFilterRun run = filter.run(in, twoColourBall(), standardView(twoColourBall(), {}), {});
    EXPECT_EQ(run.status, TotalFilterStatus::ConversionError);
    EXPECT_EQ(run.message, "“x”不是有效的整数。");
    EXPECT_EQ(table.countKept(), table.size());
    EXPECT_TRUE(filter.startFromAll());
}

TEST(TotalFilterValidation, WithoutBlueNumbersEveryRunStopsAtTheBlueMessage)
{
    LotteryParams markSix;
    markSix.name = kMarkSix;
    markSix.numberRange = 49;
    markSix.pickCount = 7;
    for (std::vector<int> blues : {std::vector<int>{}, std::vector<int>{1}}) { // M = 0: no blue is valid
        TotalFilterInputs in = freshInputs();
        setRange(in, RangeTest::Big, 2, 4, 49, 7);
        in.chosenBlues = blues;
        auto problem = validateTotalFilter(in, markSix);
        ASSERT_TRUE(problem.has_value());
        EXPECT_EQ(problem->message, "请点击你要选择的蓝球！");
    }
}

TEST(TotalFilter, BankerItems)
{
    const struct {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"03 07 11", {"03", "07", "11"}},
        {"  03   07 ", {"03", "07"}},
        {",03 ,07 ,,11", {"03", "07", "11"}},
        {"03,07", {"03,07"}},
        {"03, 07", {"03,", "07"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitBankerItems(c.text), c.items) << c.text;
}

TEST(TotalFilter, RunsNarrowUntilClearStartsOver)
{
    ScratchDir dir;
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    const TotalFilterView view = standardView(lottery, historyWithLatest({1, 9, 12, 22, 28, 31}));

    TotalFilterInputs big = freshInputs();
    setRange(big, RangeTest::Big, 2, 4);
    TotalFilterRun run = filter.run(big, lottery, view, dir / "temp.txt");
    ASSERT_EQ(run.status, TotalFilterStatus::Done) << run.message;
    const std::int64_t bigCount = countCombinations([](const int* c) {
        const int b = countAtLeast16(c);
        return b >= 2 && b <= 4;
    });
    EXPECT_EQ(run.survivors, bigCount);
    EXPECT_EQ(run.lines, bigCount);
    EXPECT_FALSE(filter.startFromAll());
    // 16 is big for this filter (N div 2), 15 is not.
    EXPECT_TRUE(kept(table, {1, 2, 3, 4, 16, 17}));
    EXPECT_FALSE(kept(table, {1, 2, 3, 4, 15, 17}));
    EXPECT_FALSE(kept(table, {16, 17, 18, 19, 20, 21}));

    TotalFilterInputs sum = freshInputs();
    setRange(sum, RangeTest::Sum, 90, 110);
    run = filter.run(sum, lottery, view, dir / "temp.txt");
    ASSERT_EQ(run.status, TotalFilterStatus::Done);
    EXPECT_EQ(run.survivors, countCombinations([](const int* c) {
        const int b = countAtLeast16(c);
        const int s = sum6(c);
        return b >= 2 && b <= 4 && s >= 90 && s <= 110;
    }));
    EXPECT_FALSE(kept(table, {1, 2, 3, 4, 16, 17}));   // big 2, sum 43
    EXPECT_TRUE(kept(table, {1, 7, 12, 20, 25, 33}));    // big 3, sum 98
    EXPECT_TRUE(kept(table, {1, 2, 3, 30, 31, 33}));     // big 3, sum 100
    EXPECT_FALSE(kept(table, {10, 11, 12, 30, 32, 33})); // big 3, sum 128
    EXPECT_FALSE(kept(table, {10, 16, 17, 18, 19, 20})); // sum 100, but big 5: out since the first run

    filter.clear();
    run = filter.run(sum, lottery, view, dir / "temp.txt");
    ASSERT_EQ(run.status, TotalFilterStatus::Done);
    EXPECT_EQ(run.survivors, countCombinations([](const int* c) {
        const int s = sum6(c);
        return s >= 90 && s <= 110;
    }));
    EXPECT_TRUE(kept(table, {10, 16, 17, 18, 19, 20})); // back after the clear
}

TEST(TotalFilter, ChosenRedsWithHitsKToK)
{
    ScratchDir dir;
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    TotalFilterInputs in = freshInputs();
    in.redChoiceTicked = true;
    in.chosenReds = {1, 5, 9, 13, 17, 21, 25, 29};
    in.chosenBlues = {4, 11};
    const TotalFilterRun run = filter.run(in, lottery, standardView(lottery, {}), dir / "temp.txt");
    ASSERT_EQ(run.status, TotalFilterStatus::Done) << run.message;
    EXPECT_EQ(run.survivors, 28); // C(8, 6)
    EXPECT_EQ(run.lines, 56);     // 28 per blue
    const auto lines = crlfLines(readAll(dir / "temp.txt"));
    ASSERT_EQ(lines.size(), 56u);
    EXPECT_EQ(lines[0], "0000001    01 05 09 13 17 21+04");
    EXPECT_EQ(lines[1], "0000002    01 05 09 13 17 21+11");
    EXPECT_EQ(lines[55], "0000056    09 13 17 21 25 29+11");
}

TEST(TotalFilter, ThreeBluesTripleTheList)
{
    ScratchDir dir;
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    TotalFilterInputs in = freshInputs();
    in.redChoiceTicked = true;
    in.chosenReds = {1, 2, 3, 4, 5, 6, 7};
    in.chosenBlues = {1};
    TotalFilterRun one = filter.run(in, lottery, standardView(lottery, {}), dir / "one.txt");
    ASSERT_EQ(one.status, TotalFilterStatus::Done);
    filter.clear();
    in.chosenBlues = {14, 2, 9};
    TotalFilterRun three = filter.run(in, lottery, standardView(lottery, {}), dir / "three.txt");
    ASSERT_EQ(three.status, TotalFilterStatus::Done);
    EXPECT_EQ(one.lines, 7);
    EXPECT_EQ(three.lines, 21);
    EXPECT_EQ(three.blues, (std::vector<int>{2, 9, 14}));
    const auto lines = crlfLines(readAll(dir / "three.txt"));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "0000001    01 02 03 04 05 06+02");
    EXPECT_EQ(lines[1], "0000002    01 02 03 04 05 06+09");
    EXPECT_EQ(lines[2], "0000003    01 02 03 04 05 06+14");
    EXPECT_EQ(lines[3], "0000004    01 02 03 04 05 07+02");
    EXPECT_EQ(lines[20], "0000021    02 03 04 05 06 07+14");
}

TEST(TotalFilter, AcAndDispersionAndSkewnessOfKnownCombinations)
{
    // Values by hand: 01..06 has differences 1..5 (AC 5) and leaves 7..33
    // uncovered (dispersion 27); 01 02 04 08 16 32 has 15 distinct
    // differences; 01 07 13 19 25 31 is evenly spread (dispersion 3);
    // against the draw 01 09 12 22 28 31 the skewness is 4, 4, 3 and 3.
    const std::vector<std::vector<int>> rows{
        {1, 2, 3, 4, 5, 6}, {1, 2, 4, 8, 16, 32}, {1, 7, 13, 19, 25, 31}, {1, 7, 12, 20, 25, 33}};
    struct Case {
        RangeTest test;
        int lo, hi;
        std::vector<int> survivors; // row indexes
    } cases[] = {
        {RangeTest::Ac, 5, 5, {0, 2}}, // 01 07 .. 31 only has the differences 6, 12, 18, 24, 30
        {RangeTest::Ac, 15, 15, {1}},
        {RangeTest::Dispersion, 27, 27, {0}},
        {RangeTest::Dispersion, 3, 3, {2}},
        {RangeTest::Dispersion, 4, 4, {3}},
        {RangeTest::Skewness, 3, 3, {2, 3}}, // 25 is 3 from 22 and 28; 19 is 3 from 22
        {RangeTest::Skewness, 4, 4, {0, 1}}, // 5 is 4 from 1 and 9; 16 is 4 from 12
        {RangeTest::Span, 5, 5, {0}},
        {RangeTest::Odd, 4, 4, {3}},
    };
    const LotteryParams lottery = twoColourBall();
    const TotalFilterView view = standardView(lottery, historyWithLatest({1, 9, 12, 22, 28, 31}));
    for (const Case& c : cases) {
        for (bool direct : {false, true}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(c.test)) + (direct ? " direct" : " fast"));
            CombinationTable table;
            for (const auto& r : rows)
                table.appendRow(r);
            TotalFilterInputs in = freshInputs();
            setRange(in, c.test, c.lo, c.hi);
            auto conditions = std::get<TotalFilterConditions>(readTotalFilter(in, lottery));
            TotalFilterCache cache;
            const TotalFilterPass pass = direct ? totalFilterPassDirect(table, conditions, view)
                                                : totalFilterPass(table, conditions, view, cache);
            std::vector<int> survivors;
            for (int r = 0; r < static_cast<int>(table.size()); ++r)
                if (table.mark(r) == 0)
                    survivors.push_back(r);
            EXPECT_EQ(survivors, c.survivors);
            EXPECT_EQ(pass.survivors, static_cast<std::int64_t>(c.survivors.size()));
        }
    }
}

TEST(TotalFilter, SkewnessIsMeasuredAgainstTheLatestDraw)
{
    const LotteryParams lottery = twoColourBall();
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{1, 7, 12, 20, 25, 33}, std::vector<int>{1}); // skewness 0 against this one
    h.append(2003002, std::vector<int>{1, 9, 12, 22, 28, 31}, std::vector<int>{1}); // and 3 against the latest
    BetFileLoad load;
    load.pickCount = 6;
    load.numbers = {1, 7, 12, 20, 25, 33};
    const struct {
        int lo, hi;
        TotalFilterStatus status;
    } cases[] = {
        {0, 2, TotalFilterStatus::NoSurvivors},
        {3, 3, TotalFilterStatus::Done},
    };
    for (const auto& c : cases) {
        CombinationTable table;
        TotalFilter filter(table);
        filter.takeLoaded(load);
        TotalFilterInputs in = freshInputs();
        setRange(in, RangeTest::Skewness, c.lo, c.hi);
        const TotalFilterRun run = filter.run(in, lottery, standardView(lottery, h), {});
        EXPECT_EQ(run.status, c.status) << c.lo;
        EXPECT_EQ(table.size(), 1);
    }
}

TEST(TotalFilter, BankerExactlyOneOfThree)
{
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    for (const char* text : {"03 07 11", ", 03 ,07  11"}) {
        filter.clear();
        TotalFilterInputs in = freshInputs();
        in.bankerTicked = true;
        in.bankerText = text;
        const TotalFilterRun run = filter.run(in, lottery, standardView(lottery, {}), {});
        ASSERT_EQ(run.status, TotalFilterStatus::Done) << run.message;
        EXPECT_EQ(run.survivors, 3 * 142506) << text; // C(3,1) x C(30,5)
        EXPECT_TRUE(kept(table, {1, 2, 3, 4, 5, 6}));
        EXPECT_FALSE(kept(table, {1, 2, 3, 4, 5, 7}));
        EXPECT_FALSE(kept(table, {1, 2, 4, 5, 6, 8}));
    }
}

TEST(TotalFilter, NoSurvivorsKeepsTheMarksAndTheStartOverFlag)
{
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    const TotalFilterView view = standardView(lottery, {});
    TotalFilterInputs low = freshInputs();
    setRange(low, RangeTest::Sum, 21, 21);
    ASSERT_EQ(filter.run(low, lottery, view, {}).survivors, 1);
    ASSERT_FALSE(filter.startFromAll());

    TotalFilterInputs high = freshInputs();
    setRange(high, RangeTest::Sum, 183, 183);
    TotalFilterRun run = filter.run(high, lottery, view, {});
    EXPECT_EQ(run.status, TotalFilterStatus::NoSurvivors);
    EXPECT_EQ(table.countKept(), 0);
    EXPECT_FALSE(filter.startFromAll());
    // Every later run fails too, until cleared.
    EXPECT_EQ(filter.run(low, lottery, view, {}).status, TotalFilterStatus::NoSurvivors);

    filter.clear();
    TotalFilterInputs none = freshInputs();
    setRange(none, RangeTest::Sum, 21, 21); // only 01..06, which has three odd numbers
    setRange(none, RangeTest::Odd, 0, 0);
    EXPECT_EQ(filter.run(none, lottery, view, {}).status, TotalFilterStatus::NoSurvivors);
    EXPECT_TRUE(filter.startFromAll());
    run = filter.run(high, lottery, view, {});
    EXPECT_EQ(run.status, TotalFilterStatus::Done);
    EXPECT_EQ(run.survivors, 1);
}

TEST(TotalFilter, VariableModeTestsTheShownValuesButChoosesByOwnNumbers)
{
    const LotteryParams lottery = twoColourBall();
    TotalFilterView view;
    view.numberRange = 33;
    view.mode = TrendMode::Variable;
    view.nextValue.resize(34);
    for (int n = 1; n <= 33; ++n)
        view.nextValue[n] = 34 - n; // 01..06 shows as 33..28
    CombinationTable table;
    TotalFilter filter(table);

    TotalFilterInputs in = freshInputs();
    setRange(in, RangeTest::Sum, 183, 183);
    TotalFilterRun run = filter.run(in, lottery, view, {});
    ASSERT_EQ(run.status, TotalFilterStatus::Done);
    EXPECT_EQ(run.survivors, 1);
    EXPECT_TRUE(kept(table, {1, 2, 3, 4, 5, 6}));

    // Banker items are compared with the shown values: 33 is number 01.
    filter.clear();
    in = freshInputs();
    in.bankerTicked = true;
    in.bankerText = "33";
    in.bankerHitsFrom = "1";
    in.bankerHitsTo = "1";
    in.redChoiceTicked = true; // chosen reds count the own numbers
    in.chosenReds = {1, 2, 3, 4, 5, 6, 7};
    run = filter.run(in, lottery, view, {});
    ASSERT_EQ(run.status, TotalFilterStatus::Done);
    EXPECT_EQ(run.survivors, 6); // the 6-subsets of 1..7 holding 1
}

TEST(TotalFilter, LoadedSetIsWhatTheNextRunNarrows)
{
    const LotteryParams lottery = twoColourBall();
    CombinationTable table;
    TotalFilter filter(table);
    BetFileLoad load;
    load.pickCount = 6;
    load.numbers = {1, 2, 3, 4, 5, 6, 10, 16, 17, 18, 19, 20, 1, 2, 3, 4, 5, 6};
    filter.takeLoaded(load);
    EXPECT_FALSE(filter.startFromAll());
    TotalFilterInputs in = freshInputs();
    setRange(in, RangeTest::Sum, 21, 21);
    const TotalFilterRun run = filter.run(in, lottery, standardView(lottery, {}), {});
    EXPECT_EQ(run.survivors, 2); // the repeated combination stands twice
    EXPECT_EQ(table.size(), 3);
}

TEST(TotalFilter, FastPassLeavesTheSameMarksAsTheDirectOne)
{
    Random random(20240611);
    const LotteryParams lottery = twoColourBall();
    CombinationTable all;
    all.buildAll(24, 6); // 134,596 rows keep the check quick; N = 33 below once
    for (int round = 0; round < 60; ++round) {
        const bool full = round == 0 || round == 1;
        const int N = full ? 33 : 24;
        CombinationTable fast;
        if (full)
            fast.buildAll(33, 6);
        else
            fast = all;
        if (round % 3 == 2) // start from an already narrowed set
            for (std::int64_t r = 0; r < fast.size(); r += 1 + random.below(3))
                fast.setMark(r, 1);
        CombinationTable direct = fast;

        TotalFilterView view;
        view.numberRange = N;
        view.mode = round % 2 ? TrendMode::Variable : TrendMode::Standard;
        view.nextValue.resize(static_cast<std::size_t>(N) + 1);
        std::iota(view.nextValue.begin() + 1, view.nextValue.end(), 1);
        std::shuffle(view.nextValue.begin() + 1, view.nextValue.end(), random.engine());
        for (int i = 0; i < 6; ++i)
            view.reference.push_back(1 + random.below(N));

        TotalFilterConditions c;
        for (int t = 0; t < RangeTestCount; ++t) {
            c.ticked[t] = random.below(3) != 0;
            const Bounds b = rangeListBounds(static_cast<RangeTest>(t), N, 6);
            const int width = b.max - b.min;
            c.lower[t] = b.min + random.below(width / 2 + 1);
            c.upper[t] = c.lower[t] + random.below(width + 1);
        }
        c.redChoice = random.below(3) == 0;
        for (int n = 1; n <= N; ++n)
            if (random.below(2))
                c.chosenReds.push_back(n);
        c.redHitsLow = random.below(4);
        c.redHitsHigh = c.redHitsLow + random.below(4);
        c.banker = random.below(2) == 0;
        for (int i = 0; i < 4; ++i)
            c.bankerItems.push_back(random.below(N + 3)); // 0 and beyond N never match
        c.bankerHitsLow = random.below(2);
        c.bankerHitsHigh = c.bankerHitsLow + random.below(3);
        c.blues = {1};

        TotalFilterCache cache;
        const TotalFilterPass a = totalFilterPass(fast, c, view, cache);
        const TotalFilterPass b = totalFilterPassDirect(direct, c, view);
        ASSERT_EQ(a.survivors, b.survivors) << "round " << round;
        ASSERT_TRUE(std::equal(fast.marks(), fast.marks() + fast.size(), direct.marks())) << "round " << round;
        EXPECT_EQ(a.survivors, fast.countKept());
    }
}

TEST(TotalFilter, ProgressEverySixtyFourThousandRowsCanStop)
{
    CombinationTable table;
    TotalFilter filter(table);
    const LotteryParams lottery = twoColourBall();
    TotalFilterInputs in = freshInputs();
    setRange(in, RangeTest::Sum, 90, 110);
    std::vector<std::int64_t> seen;
    const TotalFilterRun run = filter.run(in, lottery, standardView(lottery, {}), {},
                                          [&](std::int64_t done, std::int64_t) {
                                              seen.push_back(done);
                                              return done < 3 * 65536;
                                          });
    EXPECT_EQ(run.status, TotalFilterStatus::Stopped);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 65536, 131072, 196608}));
    EXPECT_TRUE(filter.startFromAll());
    EXPECT_EQ(table.mark(table.size() - 1), 0); // rows after the stop untouched
}

TEST(RandomChoice, DistinctNumbersOrAClearRefusal)
{
    Random random(7);
    const struct {
        const char* count;
        int range;
        bool ok;
        std::size_t numbers;
        const char* message;
    } cases[] = {
        {"6", 33, true, 6, ""},
        {"33", 33, true, 33, ""},
        {"0", 16, true, 0, ""},
        {"0", 0, true, 0, ""},
        {"34", 33, false, 0, "随机选择的个数应在0到33之间！"},
        {"-1", 16, false, 0, "随机选择的个数应在0到16之间！"},
        {"1", 0, false, 0, "随机选择的个数应在0到0之间！"},
        {"six", 33, false, 0, "“six”不是有效的整数。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        const RandomChoice choice = chooseRandomNumbers(c.count, c.range, random);
        EXPECT_EQ(choice.ok, c.ok);
        EXPECT_EQ(choice.message, c.message);
        ASSERT_EQ(choice.numbers.size(), c.numbers);
        for (std::size_t i = 0; i < choice.numbers.size(); ++i) {
            EXPECT_GE(choice.numbers[i], 1);
            EXPECT_LE(choice.numbers[i], c.range);
            if (i) {
                EXPECT_LT(choice.numbers[i - 1], choice.numbers[i]);
            }
        }
    }
}
