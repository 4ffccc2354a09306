// Endless exclusion: orderings, views, the four tests, runs and statistics,
// on a hand-made history of N = 7, k = 3 (35 candidates) with values worked
// out by hand, and the fast passes against the direct ones on the real history.
#include <gtest/gtest.h>

#include <filesystem>

#include "data/history_import.h"
#include "filter/exclusion.h"
#include "filter_test_support.h"

namespace zelvor {
namespace {

LotteryParams tiny() { return {"小", LotteryKind::Lotto, 7, 3, 0, 0}; }

DrawHistory tinyHistory(std::initializer_list<std::vector<int>> draws, int firstIssue = 1)
{
    DrawHistory h(3, 0);
    int issue = firstIssue;
    for (const auto& d : draws)
        h.append(issue++, d);
    return h;
}

std::vector<int> identity(int N)
{
    std::vector<int> p(static_cast<std::size_t>(N) + 1);
    for (int x = 0; x <= N; ++x)
        p[static_cast<std::size_t>(x)] = x;
    return p;
}

std::uint64_t maskOf(std::initializer_list<int> xs)
{
    std::uint64_t m = 0;
    for (int x : xs)
        m |= numberBit(x);
    return m;
}

TEST(ExchangeSort, TiesKeepTheOrderTheSwapsLeave)
{
    // (position, count, omission); smaller count first, larger omission first.
    std::vector<PositionRecord> r = {{1, 2, 1}, {2, 1, 3}, {3, 1, 3}, {4, 0, 0}, {5, 2, 1}};
    exchangeSort(r, PlaceKey::CountFirst);
    std::vector<int> order;
    for (const auto& x : r)
        order.push_back(x.position);
    // Positions 2 and 3 tie; the swaps leave 3 before 2.
    EXPECT_EQ(order, (std::vector<int>{4, 3, 2, 1, 5}));
}

TEST(ExchangeSort, KeysOfTheThreeOrderings)
{
    const PositionRecord a{1, 2, 5}, b{2, 1, 5}, c{3, 1, 7};
    EXPECT_TRUE(comesBefore(b, a, PlaceKey::CountFirst));
    EXPECT_TRUE(comesBefore(c, b, PlaceKey::CountFirst));     // equal count, larger omission
    EXPECT_TRUE(comesBefore(a, b, PlaceKey::OmissionFirst));  // equal omission, larger count
    EXPECT_TRUE(comesBefore(b, c, PlaceKey::OmissionFirst));
    EXPECT_TRUE(comesBefore(c, a, PlaceKey::LongestGap));
    EXPECT_TRUE(comesBefore(b, a, PlaceKey::LongestGap));     // equal omission, smaller count
    EXPECT_FALSE(comesBefore(a, a, PlaceKey::CountFirst));
}

TEST(ViewWalk, PositionZeroAndTheFirstOrdering)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}, {1, 5, 7}});
    const auto P = identity(7);
    ViewWalk walk(h, 7, P, 0, PlaceKey::CountFirst);
    std::vector<int> map;
    // t = 0: no records, no swaps; the view is the wheel position x mod 7 + 1.
    walk.viewMap(map);
    EXPECT_EQ(map, (std::vector<int>{0, 2, 3, 4, 5, 6, 7, 1}));
    // t = 1: positions 2, 3, 4 hold one number each; places p1 p5 p6 p7 p2 p3 p4.
    walk.advance();
    walk.viewMap(map);
    EXPECT_EQ(map, (std::vector<int>{0, 6, 7, 2, 3, 4, 1, 5}));
}

TEST(ViewWalk, StageLengthClipsTheCounts)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}, {1, 5, 7}});
    const auto P = identity(7);
    ViewWalk walk(h, 7, P, 1, PlaceKey::CountFirst);
    walk.advanceTo(2);
    const auto r = walk.records();
    // Counts only from draw 1 (positions 4, 6, 1); omissions from both draws.
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {0, 2}, {0, 2}, {1, 1}, {0, 0}, {1, 1}, {0, 0}};
    for (int p = 0; p < 7; ++p) {
        EXPECT_EQ(r[static_cast<std::size_t>(p)].count, expected[static_cast<std::size_t>(p)].first) << p + 1;
        EXPECT_EQ(r[static_cast<std::size_t>(p)].omission, expected[static_cast<std::size_t>(p)].second) << p + 1;
    }
    std::vector<int> map;
    walk.viewMap(map);
    // Places: p2 1, p3 2, p5 3, p7 4, p1 5, p6 6, p4 7; pos(x, 2) = (x + 2) mod 7 + 1.
    EXPECT_EQ(map, (std::vector<int>{0, 7, 3, 6, 4, 5, 1, 2}));
}

TEST(PositionPermutation, IsAPermutationAndRepeatsWithTheSeed)
{
    Random a(5), b(5);
    const auto p = drawPositionPermutation(33, a);
    EXPECT_EQ(p, drawPositionPermutation(33, b));
    std::vector<int> sorted(p.begin() + 1, p.end());
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(sorted[static_cast<std::size_t>(i)], i + 1);
}

TEST(Candidates, PackedRowsInLexicographicOrder)
{
    ExclusionCandidates c;
    c.buildAll(7, 3);
    ASSERT_EQ(c.size(), 35);
    EXPECT_EQ(c.row(0), maskOf({1, 2, 3}));
    EXPECT_EQ(c.row(1), maskOf({1, 2, 4}));
    EXPECT_EQ(c.row(5), maskOf({1, 3, 4}));
    EXPECT_EQ(c.row(34), maskOf({5, 6, 7}));
    c.mark(0);
    c.mark(34);
    EXPECT_EQ(c.countKept(), 33);
    c.compact();
    EXPECT_EQ(c.size(), 33);
    EXPECT_EQ(ExclusionCandidates::numbers(c.row(0)), (std::vector<int>{1, 2, 4}));
}

TEST(Candidates, ListAndBetFileLayouts)
{
    testing::ScratchDir dir;
    ExclusionCandidates c;
    c.buildAll(7, 3);
    for (std::int64_t i = 2; i < c.size(); ++i)
        c.mark(i);
    auto shown = writeExclusionList(dir / "temp.txt", c, false);
    ASSERT_TRUE(shown.ok());
    EXPECT_EQ(shown.lines, 2);
    EXPECT_EQ(testing::readAll(dir / "temp.txt"), "0000001    01 02 03 \r\n0000002    01 02 04 \r\n");
    ASSERT_TRUE(writeExclusionList(dir / "bets.txt", c, true).ok());
    EXPECT_EQ(testing::readAll(dir / "bets.txt"), "01 02 03\r\n01 02 04\r\n");
}

TEST(Follow, CountsOfHandMadeDraws)
{
    // H0..H3; at t = 4 the draw before is H3 = {3, 5, 7}.
    const std::vector<std::uint64_t> H = {maskOf({1, 2, 3}), maskOf({4, 5, 6}), maskOf({1, 2, 7}), maskOf({3, 5, 7})};
    // h = 1: {3} -> H0, follower H1; {5} -> H1, follower H2; {7} -> H2, follower H3 (the draw before t).
    EXPECT_EQ(followCount(maskOf({2, 3, 5}), H, 4, 1), 2); // only H3 shares two
    EXPECT_EQ(followCount(maskOf({4, 5, 6}), H, 4, 1), 3);
    // h = 2: no pair of {3, 5, 7} stood together before: no value.
    EXPECT_EQ(followCount(maskOf({4, 5, 6}), H, 4, 2), 0);
    // t < 2 always 0.
    EXPECT_EQ(followCount(maskOf({1, 2, 3}), H, 1, 1), 0);
    // h = 3: the whole draw {3, 5, 7} found at H0, follower H1.
    const std::vector<std::uint64_t> G = {maskOf({3, 5, 7}), maskOf({1, 2, 4}), maskOf({3, 5, 7})};
    EXPECT_EQ(followCount(maskOf({1, 2, 6}), G, 3, 3), 2);
}

// A run of one kind with given views.
struct RunCase {
    ExclusionSettings s;
    std::vector<std::vector<int>> perms;
    std::vector<int> stages;
};

ExclusionRunResult runWith(ExclusionEngine& engine, const RunCase& c, std::vector<ExclusionPassReport>* reports = nullptr,
                           std::function<bool(int)> keepGoing = {})
{
    GivenViewSource source(c.perms, c.stages);
    ExclusionHooks hooks;
    hooks.keepGoing = std::move(keepGoing);
    if (reports)
        hooks.passDone = [reports](const ExclusionPassReport& r) { reports->push_back(r); };
    return engine.run(c.s, source, hooks);
}

ExclusionSettings passes(ExclusionKind kind, int b, int n)
{
    ExclusionSettings s;
    s.kind = kind;
    s.b = b;
    s.byTarget = false;
    s.passes = n;
    return s;
}

TEST(RepeatRun, ThresholdKRemovesTheViewsOfTheComparedDraws)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}, {1, 5, 7}});
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Repeat, 2, 1), {identity(7)}, {2}};
    c.s.span = 2;
    c.s.minRepeats = 3;
    std::vector<ExclusionPassReport> reports;
    const auto r = runWith(engine, c, &reports);
    // Views at W = 2: draw 0 -> {2,3,4}, draw 1 -> {7,3,1}; the ordering at 2
    // with both draws counted maps back to exactly two candidates.
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].excluded, 2);
    EXPECT_EQ(r.survivors, 33);
    EXPECT_EQ(engine.candidates().size(), 33); // compacted
    EXPECT_FALSE(engine.startFromAll());
    EXPECT_EQ(engine.stageInForce(), 2);
}

TEST(RepeatRun, NoDrawBeforeTheBetMeansNoRepeats)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}});
    for (auto [R, left] : {std::pair{1, 35}, {0, 0}}) {
        ExclusionEngine engine(tiny(), h);
        RunCase c{passes(ExclusionKind::Repeat, 0, 1), {identity(7)}, {1}};
        c.s.minRepeats = R;
        EXPECT_EQ(runWith(engine, c).survivors, left) << R;
    }
}

TEST(SumRun, LowerAboveUpperExcludesEveryCandidateReached)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}});
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Sum, 2, 1), {identity(7)}, {1}};
    c.s.upper = 10;
    c.s.lower = 12;
    EXPECT_EQ(runWith(engine, c).survivors, 0);

    // Target mode: stops as soon as the target is met.
    ExclusionEngine e2(tiny(), h);
    RunCase t = c;
    t.s.byTarget = true;
    t.s.target = 30;
    EXPECT_EQ(runWith(e2, t).survivors, 30);
    EXPECT_EQ(e2.candidates().size(), 30);
}

TEST(SumRun, ATargetAboveTheCandidatesStillRemovesOne)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}});
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Sum, 2, 1), {identity(7)}, {1}};
    c.s.byTarget = true;
    c.s.target = 100;
    c.s.upper = 10;
    c.s.lower = 12;
    std::vector<ExclusionPassReport> reports;
    EXPECT_EQ(runWith(engine, c, &reports).survivors, 34);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].excluded, 1);
}

TEST(SkewRun, StatesOfNoDrawsAndOfTooFewDraws)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}});
    // b = 0, Y = 0: both states hold. View at 0 with identity P: x -> x mod 7 + 1;
    // big means value >= 7 div 2 = 3, i.e. the numbers 2..6. Only {1, 7, x}
    // has at most one big value: 5 candidates are left.
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Skew, 0, 1), {identity(7)}, {1}};
    c.s.Y = 0;
    c.s.high = true;
    c.s.L1 = 0;
    c.s.U1 = 1;
    EXPECT_EQ(runWith(engine, c).survivors, 5);

    // Odd mode: the odd values 1, 3, 5, 7 come from the numbers 7, 2, 4, 6.
    // With the low range 1..3 only {1, 3, 5}, without an odd value, fails.
    ExclusionEngine odd(tiny(), h);
    RunCase o{passes(ExclusionKind::Skew, 0, 1), {identity(7)}, {1}};
    o.s.Y = 0;
    o.s.oddMode = true;
    o.s.low = true;
    o.s.L2 = 1;
    o.s.U2 = 3;
    EXPECT_EQ(runWith(odd, o).survivors, 34);

    // b = 1 < Y = 2: neither state holds, nothing fails.
    ExclusionEngine few(tiny(), h);
    RunCase f = c;
    f.s.b = 1;
    f.s.Y = 2;
    EXPECT_EQ(runWith(few, f).survivors, 35);
}

TEST(FollowRun, StandardPassAtEarlyBetsAndTwice)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {4, 5, 6}, {1, 2, 7}, {3, 5, 7}});
    // b <= 1: every follow count is 0, the lower bound 0 excludes all.
    ExclusionEngine early(tiny(), h);
    RunCase c{passes(ExclusionKind::Follow, 1, 1), {}, {}};
    c.s.standard = true;
    c.s.upper = 3;
    c.s.lower = 0;
    c.s.h = 1;
    EXPECT_EQ(runWith(early, c).survivors, 0);

    // b = 4, h = 1: followers H1 {4,5,6}, H2 {1,2,7}, H3 {3,5,7}; keep counts of 1 or 2.
    ExclusionEngine engine(tiny(), h);
    c.s.b = 4;
    c.s.upper = 3;
    const auto first = runWith(engine, c).survivors;
    // Fails: a count of 3 (the three followers themselves) or 0 (no number of
    // any follower: impossible, as 1..7 are all in one). 35 - 3 = 32.
    EXPECT_EQ(first, 32);
    EXPECT_EQ(runWith(engine, c).survivors, 32); // same pass again: nothing more
}

TEST(EngineRun, StopKeepsMarksAndStartOver)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}});
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Sum, 2, 5), {identity(7)}, {1}};
    c.s.upper = 13; // view sums of 13 and more fail
    c.s.lower = 0;
    std::vector<ExclusionPassReport> reports;
    const auto r = runWith(engine, c, &reports, [](int pass) { return pass <= 1; });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.passes, 1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_GT(reports[0].excluded, 0);
    EXPECT_TRUE(engine.startFromAll());
    EXPECT_EQ(engine.candidates().size(), 35); // not compacted
    EXPECT_EQ(engine.candidates().countKept(), 35 - reports[0].excluded);
}

TEST(EngineRun, ChainedRunsNarrowAndClearStartsOver)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}});
    ExclusionEngine engine(tiny(), h);
    RunCase c{passes(ExclusionKind::Sum, 2, 1), {identity(7)}, {1}};
    c.s.upper = 16;
    c.s.lower = 0;
    const auto one = runWith(engine, c).survivors;
    RunCase d = c;
    d.s.upper = 12;
    const auto two = runWith(engine, d).survivors;
    EXPECT_LT(two, one);
    EXPECT_EQ(engine.candidates().size(), two);
    engine.clear();
    EXPECT_EQ(runWith(engine, c).survivors, one);
}

TEST(Settings, ConversionAndRefusals)
{
    const LotteryParams ssq = TwoColourBall();
    ExclusionInputs in;
    in.repeatsText = "6";
    in.targetText = "1x";
    auto r = readExclusionSettings(ExclusionKind::Repeat, in, ssq);
    ASSERT_TRUE(std::holds_alternative<std::string>(r));
    EXPECT_EQ(std::get<std::string>(r), "“1x”不是有效的整数。");

    ExclusionInputs f;
    f.upperText = "6";
    f.lowerText = "0";
    f.hText = "4";
    r = readExclusionSettings(ExclusionKind::Follow, f, ssq);
    EXPECT_EQ(std::get<std::string>(r), kFollowCompareMessage);
    f.hText = "2";
    f.stageText = "0";
    r = readExclusionSettings(ExclusionKind::Follow, f, ssq);
    EXPECT_EQ(std::get<std::string>(r), kFollowStageMessage);
    f.maxStage = true; // the list's stage is not read
    EXPECT_TRUE(std::holds_alternative<ExclusionSettings>(readExclusionSettings(ExclusionKind::Follow, f, ssq)));

    LotteryParams digit{"3D", LotteryKind::Digit, 10, 3, 0, 0};
    r = readExclusionSettings(ExclusionKind::Sum, f, digit);
    EXPECT_EQ(std::get<std::string>(r), kExclusionLottoOnlyMessage);
}

TEST(Settings, SumListDefaults)
{
    EXPECT_EQ(defaultSumUpper(33, 6), 166);
    EXPECT_EQ(defaultSumLower(33, 6), 52);
    EXPECT_EQ(sumListLow(33, 6), 21);
    EXPECT_EQ(sumListHigh(33, 6), 183);
}

TEST(Statistics, RepeatTableAndSummary)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}, {1, 5, 7}}, 2026001);
    auto st = repeatStatistics(tiny(), h, 1);
    ASSERT_EQ(st.rows.size(), 3u);
    EXPECT_EQ(st.headers[5], "实际重码数");
    EXPECT_EQ(st.rows[0], (std::vector<std::string>{"2026001", "01 02 03 ", "0", "3", "1.5", ""}));
    EXPECT_EQ(st.rows[1][5], "1");
    EXPECT_EQ(st.rows[2][5], "0");
    EXPECT_EQ(st.values, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(st.summary, "最大重码个数：1 最小重码个数：0");
    EXPECT_EQ(repeatStatistics(tiny(), h, 5).summary, "最大重码个数：- 最小重码个数：-");

    // Views with identity P, all draws: draw 0 -> 02 03 04, draw 1 -> 07 03 01.
    StatisticsView v{identity(7), 0};
    st = repeatStatistics(tiny(), h, 1, &v);
    EXPECT_EQ(st.rows[0][1], "02 03 04 ");
    EXPECT_EQ(st.rows[1][1], "07 03 01 ");
    EXPECT_EQ(st.rows[1][5], "1");
}

TEST(Statistics, SumTableAndSummary)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {2, 4, 6}, {1, 5, 7}});
    const auto st = sumStatistics(tiny(), h);
    EXPECT_EQ(st.values, (std::vector<int>{6, 12, 13}));
    EXPECT_EQ(st.summary, "和值：理论平均值：12.0 理论最小值：6 理论最大值：18 实际最小值：6 实际最大值：13");
    EXPECT_EQ(sumStatistics(TwoColourBall(), DrawHistory(6, 1)).summary,
              "和值：理论平均值：102.0 理论最小值：21 理论最大值：183 实际最小值：- 实际最大值：-");
}

TEST(Statistics, FollowTable)
{
    const DrawHistory h = tinyHistory({{1, 2, 3}, {4, 5, 6}, {1, 2, 7}, {3, 5, 7}});
    const auto st = followStatistics(tiny(), h, 1);
    // Draw 2 {1,2,7}: {4},{5},{6} of draw 1 never stood before: 0. Draw 3
    // {3,5,7}: {1},{2} at H0 -> follower H1 {4,5,6}: 1; {7} not before: max 1.
    EXPECT_EQ(st.values, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(st.rows[3], (std::vector<std::string>{"4", "03 05 07 ", "1"}));
}

// The fast passes against the direct ones on the real history.
class RealHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string file = std::string(ZELVOR_SHARED_DATA) + "/ssq.csv";
        if (!std::filesystem::exists(file))
            GTEST_SKIP() << "no real history at " << file;
        history = readHistoryFile(file, TwoColourBall());
    }
    DrawHistory history;
};

TEST_F(RealHistory, FastPassesMarkWhatTheDirectOnesMark)
{
    Random random(11);
    const LotteryParams ssq = TwoColourBall();
    const int D = history.size();
    std::vector<ExclusionSettings> cases;
    ExclusionSettings s = passes(ExclusionKind::Repeat, D, 1);
    s.minRepeats = 6;
    s.span = 400; // enough compared views that some sampled rows fail
    cases.push_back(s);
    s.span = 10;
    s.minRepeats = 4;
    cases.push_back(s);
    s.b = 5; // fewer draws than the span
    cases.push_back(s);
    s = passes(ExclusionKind::Sum, D - 100, 1);
    s.upper = 120;
    s.lower = 80;
    cases.push_back(s);
    s = passes(ExclusionKind::Skew, D, 1);
    s.Y = 1;
    s.A = 3;
    s.B = 3;
    s.high = s.low = true;
    s.L1 = 2;
    s.U1 = 4;
    s.L2 = 3;
    s.U2 = 5;
    cases.push_back(s);
    s = passes(ExclusionKind::Follow, 400, 1);
    s.upper = 3;
    s.lower = 0;
    s.h = 1;
    cases.push_back(s);
    s.wheel = true;
    s.h = 2;
    cases.push_back(s);
    s.wheel = false;
    s.omissionKey = true;
    s.h = 3;
    cases.push_back(s);
    s.standard = true;
    cases.push_back(s);
    // Every 97th combination: the direct follow pass is slow.
    ExclusionCandidates all;
    all.buildAll(33, 6);
    BetFileLoad sample;
    sample.pickCount = 6;
    for (std::int64_t r = 0; r < all.size(); r += 97)
        for (int x : ExclusionCandidates::numbers(all.row(r)))
            sample.numbers.push_back(static_cast<std::uint8_t>(x));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto P = drawPositionPermutation(33, random);
        const int W = cases[i].kind == ExclusionKind::Follow ? 100 : 1 + random.below(std::max(cases[i].b, 1));
        cases[i].stage = W;
        ExclusionEngine engine(ssq, history);
        engine.takeLoaded(sample);
        RunCase c{cases[i], {P}, {W}};
        GivenViewSource source(c.perms, c.stages);
        engine.run(c.s, source);
        ExclusionCandidates direct;
        direct.assign(6, sample.numbers);
        exclusionPassDirect(direct, cases[i], ssq, history, P, W);
        direct.compact();
        EXPECT_EQ(engine.candidates().rows(), direct.rows()) << "case " << i;
    }
}

} // namespace
} // namespace zelvor
