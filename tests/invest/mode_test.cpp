// The investment mode: bet generation, hits, intervals, files, and the
// simulation worked by hand, the cached walk against the step-by-step one,
// and the search.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/error.h"
#include "common/random.h"
#include "invest/mode.h"

using namespace zelvor;
using namespace zelvor::invest;

namespace {

// A hit table of R draws with hits at the given 1-based draws.
HitTable hitsAt(int R, std::vector<int> hits)
{
    HitTable t;
    int last = 0;
    for (int d = 1; d <= R; ++d) {
        t.issue.push_back(2020000 + d);
        const bool hit = std::find(hits.begin(), hits.end(), d) != hits.end();
        t.distance.push_back(hit ? 0 : d - last);
        if (hit)
            last = d;
    }
    return t;
}

ModeSettings defaultsWithCarry(bool carry)
{
    ModeSettings s;
    s.carry = carry;
    return s;
}

std::vector<std::int64_t> values(const Cycle& c) { return {c.step, c.multiplier, c.stake, c.total, c.prize, c.net, c.rate}; }

std::filesystem::path tempFile(const std::string& name)
{
    return std::filesystem::temp_directory_path() /
           (name + "." + ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

std::vector<std::string> fileLines(const std::filesystem::path& f)
{
    std::ifstream in(f, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::vector<std::string> lines;
    std::string text = s.str(), line;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t e = text.find("\r\n", at);
        lines.push_back(text.substr(at, e - at));
        at = e + 2;
    }
    return lines;
}

void writeAll(const std::filesystem::path& f, const std::string& text)
{
    std::ofstream out(f, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

TEST(ModeBets, FullGenerationsAndCountChecks)
{
    Random random(7);
    std::vector<Bet> bets;
    ASSERT_EQ(generateBets(Group3, 90, random, bets), "");
    ASSERT_EQ(bets.size(), 90u);
    EXPECT_EQ(bets.front(), (Bet{0, 0, 1}));
    EXPECT_EQ(bets.back(), (Bet{8, 9, 9}));
    for (std::size_t i = 0; i < bets.size(); ++i) {
        const Bet& b = bets[i];
        EXPECT_TRUE(b[0] <= b[1] && b[1] <= b[2]);
        EXPECT_EQ((b[0] == b[1]) + (b[1] == b[2]), 1);
        if (i > 0) {
            EXPECT_LT(bets[i - 1], b);
        }
    }
    ASSERT_EQ(generateBets(Direct, 1000, random, bets), "");
    for (int v = 0; v < 1000; ++v)
        EXPECT_EQ(bets[v], (Bet{v / 100, v / 10 % 10, v % 10}));

    const std::vector<Bet> before = bets;
    EXPECT_EQ(generateBets(Group3, 91, random, bets), "请请输入1到90的组选3注数！");
    EXPECT_EQ(generateBets(Direct, 0, random, bets), "请请输入1到1000的直选注数！");
    EXPECT_EQ(generateBets(AnyGroup, 211, random, bets), "请请输入1到210的组选注数！");
    EXPECT_EQ(generateBets(Group6, -3, random, bets), "请请输入1到120的组选6注数！");
    EXPECT_EQ(bets, before);
}

TEST(ModeHits, GroupAndDirectTests)
{
    const int draw[] = {3, 1, 3};
    EXPECT_TRUE(betHits(AnyGroup, {1, 3, 3}, draw));
    EXPECT_TRUE(betHits(Group3, {1, 3, 3}, draw));
    EXPECT_FALSE(betHits(Direct, {1, 3, 3}, draw));
    EXPECT_TRUE(betHits(Direct, {3, 1, 3}, draw));
}

TEST(ModeHits, SevenDrawExample)
{
    // Hits at draws 2 and 5 (from 0) of seven.
    DrawHistory h(3, 0);
    const int miss[] = {9, 9, 9}, hit[] = {1, 2, 3};
    for (int i = 0; i < 7; ++i)
        h.append(2004001 + i, i == 2 || i == 5 ? std::span<const int>(hit) : std::span<const int>(miss));
    const HitTable t = buildHitTable(Direct, {{1, 2, 3}}, h);
    EXPECT_EQ(t.distance, (std::vector<std::int64_t>{1, 2, 0, 1, 2, 0, 1}));
    EXPECT_EQ(t.issue.front(), 2004001);
    EXPECT_EQ(intervalList(t), (std::vector<std::int64_t>{3, 3, 3}));
    // Every run reaches the end of the list: no rows.
    EXPECT_TRUE(intervalStatistics(t).empty());
    // No hit at all: no rows either.
    EXPECT_TRUE(intervalStatistics(buildHitTable(Direct, {{0, 0, 0}}, h)).empty());
}

TEST(ModeHits, IntervalStatisticsByHand)
{
    // Hits at 2, 3, 7, 8 of 10 draws: intervals 2, 1, 4, 1, then 10 − 7 + 1 = 4.
    const HitTable t = hitsAt(10, {2, 3, 7, 8});
    EXPECT_EQ(intervalList(t), (std::vector<std::int64_t>{2, 1, 4, 1, 4}));
    // G = 4. m = 2: runs [2] ended by 1, [4] ended by 1 → (2,1,2); m = 3, 4: [4] → (3,1,1), (4,1,1).
    EXPECT_EQ(intervalStatistics(t), (std::vector<IntervalStat>{{2, 1, 2}, {3, 1, 1}, {4, 1, 1}}));
}

TEST(ModeFiles, LinesRoundTripAndBadFiles)
{
    const auto f = tempFile("mode_files.txt");
    ModeSettings s = clearedSettings();
    s.type = Group6;
    s.waitPos = 3;
    s.repPos = 11;
    s.carry = false;
    saveSettingsFile(f, s);
    EXPECT_EQ(fileLines(f), (std::vector<std::string>{"3", "3", "11", "0", "0", "10000", "100000", "100", "1000",
                                                      "10", "0", "1", "3"}));
    EXPECT_EQ(loadSettingsFile(f, ModeSettings{}), s);

    Random random(3);
    std::vector<Bet> bets;
    ASSERT_EQ(generateBets(Direct, 100, random, bets), "");
    saveBothFile(f, s, bets);
    const std::vector<std::string> lines = fileLines(f);
    ASSERT_EQ(lines.size(), 114u);
    EXPECT_EQ(lines[13], "100");
    const LoadedBoth both = loadBothFile(f, ModeSettings{});
    EXPECT_EQ(both.settings, s);
    EXPECT_EQ(both.bets.bets, bets);

    // An unchecked interval mode puts both observation combos back at "1".
    writeAll(f, "0\r\n0\r\n0\r\n9\r\n4\r\n10000\r\n100000\r\n100\r\n1000\r\n10\r\n1\r\n0\r\n0\r\n");
    const ModeSettings off = loadSettingsFile(f, ModeSettings{});
    EXPECT_FALSE(off.gapMode);
    EXPECT_EQ(off.gapMinPos, 0);
    EXPECT_EQ(off.gapRunsPos, 0);

    // Bets are all lines after the count line, whatever the count says.
    writeAll(f, "2\r\n5\r\n133\r\n077x\r\n");
    const LoadedBets lb = loadBetsFile(f);
    EXPECT_EQ(lb.type, 2);
    EXPECT_EQ(lb.count, 5);
    EXPECT_EQ(lb.bets, (std::vector<Bet>{{1, 3, 3}, {0, 7, 7}}));

    struct Case {
        std::string text, message;
    } bad[] = {
        {"4\r\n1\r\n123\r\n", "投注文件第1行：“4”不在0到3之间。"},
        {"0\r\n1\r\n12\r\n", "投注文件第3行：" + integerConversionMessage("12")},
        {"0\r\n1\r\n1a3\r\n", "投注文件第3行：" + integerConversionMessage("1a3")},
        {"0\r\n", "投注文件第2行：缺少这一行"},
    };
    for (const Case& c : bad) {
        writeAll(f, c.text);
        try {
            loadBetsFile(f);
            ADD_FAILURE() << c.text;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    writeAll(f, "0\r\n0\r\n50\r\n");
    EXPECT_THROW(loadSettingsFile(f, ModeSettings{}), Error);
    std::filesystem::remove(f);
}

TEST(ModeSimulation, PlanOfOneHundredBets)
{
    ModeSettings s; // 100 bets, prize 1000, 10 %
    const std::vector<PlanRow> rows = modePlan(0, s, 12);
    std::vector<std::int64_t> m;
    for (const PlanRow& r : rows)
        m.push_back(r.multiplier);
    EXPECT_EQ(m, (std::vector<std::int64_t>{1, 1, 1, 1, 2, 2, 3, 4, 5, 6, 8, 10}));
    EXPECT_EQ(rows[4].stake, 400);
    EXPECT_EQ(rows[4].total, 1200);
    EXPECT_EQ(rows[4].prize, 2000);
    EXPECT_EQ(rows[4].net, 800);
    EXPECT_EQ(rows[4].rate, 66);
}

TEST(ModeSimulation, DefaultCyclesByHand)
{
    // Hits at 1, 2, 5, 7, 8 of 9: a win at 2 (+800), a loss from 5 recorded at
    // 7 (−200), a win at 8; then no hit is left for the observation.
    const HitTable t = hitsAt(9, {1, 2, 5, 7, 8});
    Simulator sim(t);
    const RunResult off = sim.run(defaultsWithCarry(false));
    ASSERT_EQ(off.cycles.size(), 3u);
    EXPECT_EQ(values(off.cycles[0]), (std::vector<std::int64_t>{1, 1, 200, 200, 1000, 800, 400}));
    EXPECT_EQ(values(off.cycles[1]), (std::vector<std::int64_t>{1, 1, 200, 200, 1000, -200, 400}));
    EXPECT_EQ(off.surplus, 1400);
    EXPECT_TRUE(off.message.empty());

    // Carried: the cycle after the loss starts from 200: total 400, net 600, rate 150.
    const RunResult on = sim.run(defaultsWithCarry(true));
    ASSERT_EQ(on.cycles.size(), 3u);
    EXPECT_EQ(values(on.cycles[2]), (std::vector<std::int64_t>{1, 1, 200, 400, 1000, 600, 150}));
    EXPECT_EQ(on.surplus, 1400);

    // Hits at 1, 2, 5, 8 of 9: the second loss in a row is −400 and the run
    // ends with it open; each amount counts once: 800 − 400.
    const HitTable t2 = hitsAt(9, {1, 2, 5, 8});
    const RunResult two = Simulator(t2).run(defaultsWithCarry(true));
    ASSERT_EQ(two.cycles.size(), 3u);
    EXPECT_EQ(two.cycles[1].net, -200);
    EXPECT_EQ(values(two.cycles[2]), (std::vector<std::int64_t>{1, 1, 200, 400, 1000, -400, 150}));
    EXPECT_EQ(two.surplus, 400);
}

TEST(ModeSimulation, AbortsAndMessages)
{
    const HitTable t = hitsAt(9, {1, 2, 5, 8});
    // A stake limit below one issue's stake ends the first cycle silently.
    ModeSettings s;
    s.maxStake = 100;
    RunResult r = Simulator(t).run(s);
    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(r.cycles.empty());
    EXPECT_EQ(r.surplus, 0);

    // A carried loss lifts the first step above the total limit: the win
    // (+800) and the loss (−200) both count.
    s = ModeSettings{};
    s.maxTotal = 300;
    r = Simulator(t).run(s);
    EXPECT_EQ(r.message, kFirstDayTooMuch);
    ASSERT_EQ(r.cycles.size(), 2u);
    EXPECT_EQ(r.surplus, 600);

    // A prize that never pays the stake back: no multiplier fits.
    s = ModeSettings{};
    s.prize = 150;
    r = Simulator(t).run(s);
    EXPECT_EQ(r.message, kModeMultiplierTooLarge);
}

TEST(ModeSimulation, CachedWalkMatchesStepByStepRun)
{
    Random random(99);
    for (int k = 0; k < 150; ++k) {
        const int R = 1 + random.below(120);
        std::vector<int> hits;
        const int density = 2 + random.below(8);
        for (int d = 1; d <= R; ++d)
            if (random.below(density) == 0)
                hits.push_back(d);
        const HitTable t = hitsAt(R, hits);
        ModeSettings s;
        s.bets = 1 + random.below(150);
        s.prize = 100 + random.below(3000);
        s.profit = random.below(60) - 20;
        s.maxStake = 200 + random.below(20000);
        s.maxTotal = 500 + random.below(200000);
        s.waitPos = random.below(6);
        s.repPos = random.below(kRepItems);
        s.gapMinPos = random.below(5);
        s.gapRunsPos = random.below(4);
        s.carry = random.below(2) == 1;
        Simulator sim(t);
        const RunResult fast = sim.run(s), slow = simulateDirect(t, s);
        EXPECT_EQ(fast.surplus, slow.surplus) << "case " << k;
        EXPECT_EQ(fast.message, slow.message) << "case " << k;
        EXPECT_EQ(fast.cycles, slow.cycles) << "case " << k;
    }
}

TEST(ModeSearch, RunCountTiesAndStop)
{
    ModeSettings s;
    s.gapMode = false;
    EXPECT_EQ(searchRunCount(s), 2550);
    s.gapMode = true;
    EXPECT_EQ(searchRunCount(s), 25500);

    // No hit: every run ends in the observation with 0; the first run stays best.
    const HitTable none = hitsAt(30, {});
    Simulator sim(none);
    s.gapMode = false;
    s.waitPos = 7;
    SearchResult r = searchSettings(sim, s);
    EXPECT_EQ(r.runs, 2550);
    EXPECT_EQ(r.best, 0);
    EXPECT_EQ(r.gapRunsPos + r.waitPos + r.repPos, 0);

    // A stop request takes effect before the next run.
    std::atomic<bool> stop{false};
    int seen = 0;
    r = searchSettings(sim, s, &stop, [&](int, int, int, std::int64_t) {
        if (++seen == 75)
            stop = true;
    });
    EXPECT_EQ(r.runs, 75);

    // The search and the step-by-step search agree on a small history.
    const HitTable t = hitsAt(60, {3, 4, 9, 15, 16, 17, 30, 41, 44, 58});
    Simulator sim2(t);
    const SearchResult fast = searchSettings(sim2, s), slow = searchSettingsDirect(t, s);
    EXPECT_EQ(fast.best, slow.best);
    EXPECT_EQ(std::tie(fast.gapRunsPos, fast.waitPos, fast.repPos), std::tie(slow.gapRunsPos, slow.waitPos, slow.repPos));
}
