// Prize check: every level at its boundary, the line forms players keep,
// refused lines, and a three-draw history worked by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "filter/prize_check.h"

using namespace zelvor;

namespace {

DrawHistory ssqDraws(std::initializer_list<std::pair<int, std::vector<int>>> draws)
{
    DrawHistory h(6, 1);
    for (const auto& [issue, n] : draws)
        h.append(issue, std::vector<int>(n.begin(), n.begin() + 6), std::vector<int>{n[6]});
    return h;
}

PrizeBets betsOf(PrizeGame game, const std::vector<std::string>& lines)
{
    PrizeBetsLoad l = parsePrizeBets(game, lines);
    EXPECT_TRUE(l.ok()) << l.message;
    return l.bets;
}

// The name of the single level won, or "" when none; checks the fast and the
// direct count agree.
std::string levelWon(PrizeGame game, const std::string& line, const PrizeDraw& draw, std::int64_t* fixed = nullptr)
{
    const PrizeBets bets = betsOf(game, {line});
    const PrizeTally t = checkDraw(bets, draw);
    const PrizeTally d = checkDrawDirect(bets, draw);
    EXPECT_EQ(t.counts, d.counts) << line;
    EXPECT_EQ(t.fixedTotal, d.fixedTotal) << line;
    if (fixed)
        *fixed = t.fixedTotal;
    std::string won;
    for (std::size_t l = 0; l < t.counts.size(); ++l)
        if (t.counts[l] != 0) {
            EXPECT_EQ(t.counts[l], 1) << line;
            EXPECT_TRUE(won.empty()) << line;
            won = prizeLevels(game)[l].name;
        }
    const int w = winningLevel(bets, 0, draw);
    EXPECT_EQ(w < 0 ? std::string() : std::string(prizeLevels(game)[static_cast<std::size_t>(w)].name), won) << line;
    return won;
}

} // namespace

TEST(PrizeCheck, TwoColourBallLevelsAtTheirBoundaries)
{
    const DrawHistory h = ssqDraws({{2003001, {1, 2, 3, 4, 5, 6, 7}}});
    const PrizeDraw draw = prizeDraw(PrizeGame::TwoColourBall, h, 0);
    struct Case {
        const char* line;
        const char* level;
        std::int64_t fixed;
    } const cases[] = {
        {"01 02 03 04 05 06+07", "一等奖", 0},
        {"01 02 03 04 05 06+08", "二等奖", 0}, // 6+0
        {"01 02 03 04 05 33+07", "三等奖", 3000}, // 5+1
        {"01 02 03 04 05 33+08", "四等奖", 200}, // 5+0
        {"01 02 03 04 32 33+07", "四等奖", 200}, // 4+1
        {"01 02 03 04 32 33+08", "五等奖", 10}, // 4+0
        {"01 02 03 31 32 33+07", "五等奖", 10}, // 3+1
        {"01 02 03 31 32 33+08", "", 0},        // 3+0
        {"01 02 30 31 32 33+07", "六等奖", 5},  // 2+1
        {"01 29 30 31 32 33+07", "六等奖", 5},  // 1+1
        {"28 29 30 31 32 33+07", "六等奖", 5},  // 0+1
        {"01 02 30 31 32 33+08", "", 0},        // 2+0
        {"28 29 30 31 32 33+16", "", 0},
        // Red numbers only: counted by their red matches.
        {"01 02 03 04 05 06", "红球中6个", 0},
        {"01 02 03 04 05 33", "红球中5个", 0},
        {"01 02 03 04 32 33", "红球中4个", 0},
        {"01 02 03 31 32 33", "", 0},
        // Order on the line does not matter.
        {"06 05 04 03 02 01+07", "一等奖", 0},
    };
    for (const Case& c : cases) {
        std::int64_t fixed = -1;
        EXPECT_EQ(levelWon(PrizeGame::TwoColourBall, c.line, draw, &fixed), c.level) << c.line;
        EXPECT_EQ(fixed, c.fixed) << c.line;
    }
}

TEST(PrizeCheck, MarkSixDivisionsAndTheSevenBetsOfASevenNumberLine)
{
    DrawHistory h(7, 0);
    h.append(2026001, std::vector<int>{1, 2, 3, 4, 5, 6, 7}); // the seventh is the extra number
    const PrizeDraw draw = prizeDraw(PrizeGame::MarkSix, h, 0);
    struct Case {
        const char* line;
        const char* level;
    } const cases[] = {
        {"01 02 03 04 05 06", "头奖"}, {"01 02 03 04 05 07", "二奖"}, {"01 02 03 04 05 49", "三奖"},
        {"01 02 03 04 07 49", "四奖"}, {"01 02 03 04 48 49", "五奖"}, {"01 02 03 07 48 49", "六奖"},
        {"01 02 03 47 48 49", "七奖"}, {"01 02 07 47 48 49", ""},     {"07 44 45 46 47 48", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(levelWon(PrizeGame::MarkSix, c.line, draw), c.level) << c.line;

    // All seven drawn: leaving out the extra gives 头奖, leaving out any of
    // the six gives 5 + extra.
    PrizeBets all7 = betsOf(PrizeGame::MarkSix, {"01 02 03 04 05 06 07"});
    EXPECT_EQ(all7.betCount, 7);
    EXPECT_EQ(all7.cost(), 14);
    PrizeTally t = checkDraw(all7, draw);
    EXPECT_EQ(t.counts, (std::vector<std::int64_t>{1, 6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(checkDrawDirect(all7, draw).counts, t.counts);
    EXPECT_EQ(winningLevel(all7, 0, draw), 0);
    // Five of the six: leaving out a match gives 4 (五奖, five ways),
    // leaving out 48 or 49 gives 5 (三奖).
    t = checkDraw(betsOf(PrizeGame::MarkSix, {"01 02 03 04 05 48 49"}), draw);
    EXPECT_EQ(t.counts, (std::vector<std::int64_t>{0, 0, 2, 0, 5, 0, 0}));
    // Four and the extra: leave a match out -> 3 + extra (六奖, 4 ways);
    // the extra -> 4 (五奖); 48 or 49 -> 4 + extra (四奖, 2 ways).
    t = checkDraw(betsOf(PrizeGame::MarkSix, {"01 02 03 04 07 48 49"}), draw);
    EXPECT_EQ(t.counts, (std::vector<std::int64_t>{0, 0, 0, 2, 1, 4, 0}));
    EXPECT_EQ(t.fixedTotal, 0); // every Mark Six amount floats
}

TEST(PrizeCheck, ThreeDigitDirectPlayNeedsEveryPosition)
{
    DrawHistory h(3, 0);
    h.append(2002001, std::vector<int>{0, 7, 3});
    const PrizeDraw draw = prizeDraw(PrizeGame::Digit3, h, 0);
    struct Case {
        const char* line;
        const char* level;
    } const cases[] = {
        {"0 7 3", "直选"}, {"073", "直选"}, {"00 07 03", "直选"}, {"0,7,3", "直选"},
        {"3 7 0", ""},     {"0 7 4", ""},   {"1 7 3", ""},        {"0 3 7", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(levelWon(PrizeGame::Digit3, c.line, draw), c.level) << c.line;
    std::int64_t fixed = 0;
    levelWon(PrizeGame::Digit3, "073", draw, &fixed);
    EXPECT_EQ(fixed, 1040);
}

TEST(PrizeCheck, LineFormsPlayersKeep)
{
    struct Case {
        PrizeGame game;
        const char* line;
        const char* canonical; // as the program writes the bet
        int bets;
    } const cases[] = {
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06+07", "01 02 03 04 05 06+07", 1},
        {PrizeGame::TwoColourBall, "01,02,03,04,05,06|07", "01 02 03 04 05 06+07", 1},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06 07", "01 02 03 04 05 06+07", 1},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06 + 07\r", "01 02 03 04 05 06+07", 1},
        {PrizeGame::TwoColourBall, "0000001    01 02 03 04 05 06+07", "01 02 03 04 05 06+07", 1},
        {PrizeGame::TwoColourBall, "0000012    03 07 11 19 25 33 ", "03 07 11 19 25 33", 1},
        {PrizeGame::TwoColourBall, "10000000    03 07 11 19 25 33+16", "03 07 11 19 25 33+16", 1},
        {PrizeGame::TwoColourBall, "\t33 07 11 19 25 03 ", "03 07 11 19 25 33", 1},
        {PrizeGame::MarkSix, "0000003    01 12 23 34 45 49", "01 12 23 34 45 49", 1},
        {PrizeGame::MarkSix, "01,12,23,34,45,48,49", "01 12 23 34 45 48 49", 7},
        {PrizeGame::Digit3, "0000002    9 0 9", "9 0 9", 1},
    };
    for (const Case& c : cases) {
        ParsedBetLine p;
        std::string why;
        ASSERT_TRUE(parsePrizeBetLine(c.game, c.line, p, &why)) << c.line << " " << why;
        EXPECT_FALSE(p.empty);
        EXPECT_EQ(prizeBetText(c.game, p.mask), c.canonical) << c.line;
        EXPECT_EQ(p.bets, c.bets) << c.line;
    }
    ParsedBetLine p;
    ASSERT_TRUE(parsePrizeBetLine(PrizeGame::TwoColourBall, "  \r", p));
    EXPECT_TRUE(p.empty);
}

TEST(PrizeCheck, LinesThatAreNoBetAreRefusedByNumber)
{
    struct Case {
        PrizeGame game;
        const char* line;
        const char* why;
    } const cases[] = {
        {PrizeGame::TwoColourBall, "01 02 03 04 05", "格式有误"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06 07 08", "格式有误"},
        {PrizeGame::TwoColourBall, "1 2 3 4 5 6+7", "号码应为两位数"},
        {PrizeGame::TwoColourBall, "001 02 03 04 05 06+07", "号码应为两位数"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 34+07", "号码超出范围"},
        {PrizeGame::TwoColourBall, "00 02 03 04 05 06+07", "号码超出范围"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06+17", "号码超出范围"},
        {PrizeGame::TwoColourBall, "01 01 03 04 05 06+07", "号码重复"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05+06 07", "格式有误"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06+07+08", "格式有误"},
        {PrizeGame::TwoColourBall, "01 02 03 04 05 06+", "格式有误"},
        {PrizeGame::TwoColourBall, "01 02 03 04 O5 06+07", "格式有误"},
        {PrizeGame::TwoColourBall, "0000001", "格式有误"},
        {PrizeGame::MarkSix, "01 02 03 04 05 50", "号码超出范围"},
        {PrizeGame::MarkSix, "01 02 03 04 05 06+07", "格式有误"},
        {PrizeGame::MarkSix, "01 02 03 04 05 05", "号码重复"},
        {PrizeGame::Digit3, "0 7 3 1", "格式有误"},
        {PrizeGame::Digit3, "10 7 3", "号码超出范围"},
        {PrizeGame::Digit3, "0739", "格式有误"},
    };
    for (const Case& c : cases) {
        ParsedBetLine p;
        std::string why;
        EXPECT_FALSE(parsePrizeBetLine(c.game, c.line, p, &why)) << c.line;
        EXPECT_EQ(why, c.why) << c.line;
    }
    // A whole file: the first bad line is named and nothing is kept.
    const PrizeBetsLoad l =
        parsePrizeBets(PrizeGame::TwoColourBall, {"01 02 03 04 05 06+07", "", "01 02 03 04 05 34+07", "garbage"});
    EXPECT_EQ(l.status, PrizeBetsLoad::Status::Refused);
    EXPECT_EQ(l.message, "第3行不是本彩票的投注号码（号码超出范围）：“01 02 03 04 05 34+07”");
    EXPECT_TRUE(l.bets.masks.empty());
}

TEST(PrizeCheck, FileWithBlankLinesAndMixedForms)
{
    const auto dir = std::filesystem::temp_directory_path()
                     / ("zelvor_prize_check_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "bets.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF"
               "0000001    01 02 03 04 05 06+07\r\n\r\n01,02,03,04,05,33|07\r\n01 02 03 04 32 33\n";
    }
    const PrizeBetsLoad l = loadPrizeBets(PrizeGame::TwoColourBall, file);
    ASSERT_TRUE(l.ok()) << l.message;
    EXPECT_EQ(l.bets.betCount, 3);
    const PrizeTally t = checkDraw(l.bets, prizeDraw(PrizeGame::TwoColourBall,
                                                     ssqDraws({{2003001, {1, 2, 3, 4, 5, 6, 7}}}), 0));
    EXPECT_EQ(t.counts, (std::vector<std::int64_t>{1, 0, 1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(t.fixedTotal, 3000);

    const auto winners = dir / "winners.txt";
    const FileWriteResult w = writeWinningBets(winners, l.bets,
                                               prizeDraw(PrizeGame::TwoColourBall,
                                                         ssqDraws({{2003001, {1, 2, 3, 4, 5, 33, 7}}}), 0));
    ASSERT_TRUE(w.ok());
    EXPECT_EQ(w.lines, 3);
    std::ifstream in(winners, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "0000001    01 02 03 04 05 06+07    三等奖\r\n"
                    "0000002    01 02 03 04 05 33+07    一等奖\r\n"
                    "0000003    01 02 03 04 32 33    红球中5个\r\n");
    std::filesystem::remove_all(dir);
    EXPECT_EQ(loadPrizeBets(PrizeGame::TwoColourBall, file).status, PrizeBetsLoad::Status::Failed);
}

TEST(PrizeCheck, HistoryTotalsOverThreeDrawsByHand)
{
    const DrawHistory h = ssqDraws({{2003001, {1, 2, 3, 4, 5, 6, 7}},
                                    {2003002, {10, 11, 12, 13, 14, 15, 1}},
                                    {2003003, {1, 2, 3, 10, 11, 12, 16}}});
    const PrizeBets bets = betsOf(PrizeGame::TwoColourBall, {"01 02 03 04 05 06+07", "10 11 12 13 14 33+01",
                                                             "01 02 03 10 20 21+16", "20 21 22 23 24 25+16"});
    // 2003001: the first bet 6+1.  2003002: the second 5+1 (3000).
    // 2003003: the third 4+1 (200), the fourth 0+1 (5).
    const HistoryPrizeCheck r = checkHistory(bets, h);
    EXPECT_EQ(r.draws, 3);
    EXPECT_EQ(r.cost, 4 * 2 * 3);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].tally.counts, (std::vector<std::int64_t>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.rows[1].tally.counts, (std::vector<std::int64_t>{0, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.rows[2].tally.counts, (std::vector<std::int64_t>{0, 0, 0, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(r.rows[2].tally.fixedTotal, 205);
    EXPECT_EQ(r.totals.counts, (std::vector<std::int64_t>{1, 0, 1, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(r.totals.fixedTotal, 3205);

    // A stop after the second draw keeps what was checked.
    const HistoryPrizeCheck s = checkHistory(bets, h, [](std::int64_t done, std::int64_t) { return done < 2; });
    EXPECT_TRUE(s.stopped);
    EXPECT_EQ(s.draws, 2);
    EXPECT_EQ(s.totals.fixedTotal, 3000);
}
