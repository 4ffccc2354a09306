#include <gtest/gtest.h>

#include "filter/betlist.h"
#include "filter/text_lines.h"
#include "filter_test_support.h"

using namespace zelvor;
using zelvor::testing::crlfLines;
using zelvor::testing::readAll;
using zelvor::testing::ScratchDir;
using zelvor::testing::writeAll;

namespace {

CombinationTable tableOf(std::initializer_list<std::vector<int>> rows)
{
    CombinationTable t;
    for (const auto& r : rows)
        t.appendRow(r);
    return t;
}

BetFileLoadOptions totalFilterOptions()
{
    BetFileLoadOptions o;
    o.reader = BetFileReader::TotalFilter;
    return o; // 33/6/16/1
}

BetFileLoadOptions exclusionOptions()
{
    BetFileLoadOptions o;
    o.reader = BetFileReader::Exclusion;
    return o;
}

std::vector<std::vector<int>> combinationsOf(const BetFileLoad& load)
{
    std::vector<std::vector<int>> out;
    for (std::size_t i = 0; i + load.pickCount <= load.numbers.size(); i += load.pickCount)
        out.emplace_back(load.numbers.begin() + i, load.numbers.begin() + i + load.pickCount);
    return out;
}

} // namespace

TEST(BetLine, BothLayoutsAndLongSequenceNumbers)
{
    const std::vector<std::uint8_t> first{1, 2, 3, 4, 5, 6};
    const std::vector<std::uint8_t> other{3, 7, 11, 19, 25, 33};
    EXPECT_EQ(betLineWithSpecial(1, first, 1), "0000001    01 02 03 04 05 06+01");
    EXPECT_EQ(betLineWithSpecial(17721088, other, 16), "17721088    03 07 11 19 25 33+16");
    EXPECT_EQ(betLineRedOnly(12, other), "0000012    03 07 11 19 25 33 ");
    EXPECT_EQ(betLineRedOnly(3, std::vector<std::uint8_t>{1, 2, 3, 4}), "0000003    01 02 03 04 ");
}

TEST(BetList, WritesKeptRowsWithEveryBlueInAscendingOrder)
{
    ScratchDir dir;
    CombinationTable t = tableOf({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {3, 7, 11, 19, 25, 33}});
    t.setMark(1, 1);
    const std::vector<int> blues{9, 2, 14}; // given unsorted, written ascending
    const FileWriteResult r = writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial, blues);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.lines, 6);
    EXPECT_EQ(crlfLines(readAll(dir / "temp.txt")), (std::vector<std::string>{
                                                        "0000001    01 02 03 04 05 06+02",
                                                        "0000002    01 02 03 04 05 06+09",
                                                        "0000003    01 02 03 04 05 06+14",
                                                        "0000004    03 07 11 19 25 33+02",
                                                        "0000005    03 07 11 19 25 33+09",
                                                        "0000006    03 07 11 19 25 33+14",
                                                    }));

    const FileWriteResult red = writeBetList(dir / "temp.txt", t, BetLineLayout::RedOnly);
    ASSERT_TRUE(red.ok());
    EXPECT_EQ(readAll(dir / "temp.txt"), "0000001    01 02 03 04 05 06 \r\n0000002    03 07 11 19 25 33 \r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"temp.txt"}); // no temporary file left
}

TEST(BetList, SequenceNumbersGrowPastSevenDigits)
{
    ScratchDir dir;
    CombinationTable t;
    t.buildAll(33, 6);
    std::vector<int> blues(16);
    for (int b = 1; b <= 16; ++b)
        blues[b - 1] = b;
    // 625,000 rows x 16 blues: line 10,000,000 is the last blue of row 624,999.
    for (std::int64_t r = 625000; r < t.size(); ++r)
        t.setMark(r, 1);
    const FileWriteResult w = writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial, blues);
    ASSERT_TRUE(w.ok());
    EXPECT_EQ(w.lines, 10000000);
    // The last two lines: 33 and 34 characters with their CR LF.
    std::ifstream in(dir / "temp.txt", std::ios::binary);
    in.seekg(-67, std::ios::end);
    std::string tail(67, '\0');
    in.read(tail.data(), 67);
    std::vector<std::uint8_t> before(t.row(624999).begin(), t.row(624999).end());
    EXPECT_EQ(tail, betLineWithSpecial(9999999, before, 15) + "\r\n" + betLineWithSpecial(10000000, before, 16) + "\r\n");
    EXPECT_EQ(tail.substr(33, 13), "10000000    0");
}

TEST(BetList, StopAndFailureKeepTheOldFile)
{
    ScratchDir dir;
    writeAll(dir / "temp.txt", "old list\r\n");
    CombinationTable t;
    t.buildAll(33, 6);
    int calls = 0;
    const FileWriteResult stopped = writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial,
                                                 std::vector<int>{1}, [&](std::int64_t done, std::int64_t total) {
                                                     ++calls;
                                                     return done < total / 2;
                                                 });
    EXPECT_EQ(stopped.status, FileWriteResult::Status::Stopped);
    EXPECT_GT(calls, 10);                       // every few thousand rows ...
    EXPECT_LT(calls, t.size() / 1000);          // ... never per row
    EXPECT_EQ(readAll(dir / "temp.txt"), "old list\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"temp.txt"});

    const FileWriteResult failed = writeBetList(dir / "no such folder" / "temp.txt", t, BetLineLayout::RedOnly);
    EXPECT_EQ(failed.status, FileWriteResult::Status::Failed);
    EXPECT_FALSE(failed.error.empty());
}

TEST(BetFile, DefaultNamesUseTheLastIssuePlusOneWithoutRollOver)
{
    DrawHistory h(6, 1);
    h.append(2025150, std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{1});
    h.append(2025151, std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{1}); // last draw of a year
    const struct {
        BetListOwner owner;
        const char* name;
    } cases[] = {
        {BetListOwner::TotalFilter, "中国福彩双色球2025152期总体过滤投注号码.txt"},
        {BetListOwner::RepeatExclusion, "中国福彩双色球2025152期无穷重码投注号码.txt"},
        {BetListOwner::SumExclusion, "中国福彩双色球2025152期总体过滤投注号码.txt"},
        {BetListOwner::SkewExclusion, "中国福彩双色球2025152期无穷偏态投注号码.txt"},
        {BetListOwner::FollowExclusion, "中国福彩双色球2025152期无穷跟随投注号码.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultBetFileName(kTwoColourBall, h, c.owner), c.name);
    EXPECT_EQ(followExclusionOpenName(kTwoColourBall, "2025151"), "中国福彩双色球2025151期投注号码.txt");
}

// The sequence number of line n has at least seven digits: from line
// 10,000,000 on it has eight, and all of them are dropped.
TEST(BetFile, SaveDropsTheSequenceNumberOfItsLine)
{
    struct Case {
        const char* shown;
        std::int64_t line;
        const char* bet;
    } cases[] = {
        {"0000001    01 02 03 04 05 06+01", 1, "01 02 03 04 05 06+01"},
        {"9999999    01 02 03 04 05 06+01", 9'999'999, "01 02 03 04 05 06+01"},
        {"10000000    01 02 03 04 05 07+16", 10'000'000, "01 02 03 04 05 07+16"},
        {"17721088    28 29 30 31 32 33+16", 17'721'088, "28 29 30 31 32 33+16"},
        {"000000101 02 03 04 05 06+01", 1, "01 02 03 04 05 06+01"}, // blanks lost by a hand edit
        {"0000002    03 07 11 19 25 33 ", 2, "03 07 11 19 25 33"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(betFileLine(c.shown, c.line), c.bet) << c.shown;
}

TEST(BetFile, SaveDropsSequenceNumbersAndBlanks)
{
    ScratchDir dir;
    const std::vector<std::string> shown{
        "0000001    01 02 03 04 05 06+01",
        "0000002    03 07 11 19 25 33 ",
        "0000003    01 02 03 04 05 07+16",
        "0000004",                           // emptied by hand: no blank line in the file
    };
    const FileWriteResult r = saveBetFile(dir / "bets.txt", shown);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.lines, 3);
    EXPECT_EQ(readAll(dir / "bets.txt"), "01 02 03 04 05 06+01\r\n03 07 11 19 25 33\r\n01 02 03 04 05 07+16\r\n");

    const FileWriteResult empty = saveBetFile(dir / "empty.txt", std::vector<std::string>{});
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(std::filesystem::exists(dir / "empty.txt"));
    EXPECT_EQ(readAll(dir / "empty.txt"), "");
}

TEST(BetFile, LoadMergesOnlyConsecutiveRepeats)
{
    ScratchDir dir;
    struct Case {
        const char* what;
        BetFileReader reader;
        std::string file;
        std::vector<std::vector<int>> combinations;
        std::int64_t linesRead;
        std::vector<int> blues;
    } cases[] = {
        {"blues of one combination on consecutive lines", BetFileReader::TotalFilter,
         "01 02 03 04 05 06+01\r\n01 02 03 04 05 06+05\r\n03 07 11 19 25 33+02\r\n01 02 03 04 05 06+03\r\n",
         {{1, 2, 3, 4, 5, 6}, {3, 7, 11, 19, 25, 33}, {1, 2, 3, 4, 5, 6}}, 4, {1, 2, 3, 5}},
        {"LF line ends", BetFileReader::TotalFilter, "01 02 03 04 05 06+01\n01 02 03 04 05 06+05\n",
         {{1, 2, 3, 4, 5, 6}}, 2, {1, 5}},
        {"an empty line ends the total filter's load", BetFileReader::TotalFilter,
         "01 02 03 04 05 06+01\r\n   \r\n03 07 11 19 25 33+02\r\n", {{1, 2, 3, 4, 5, 6}}, 1, {1}},
        {"a short line ends the reading of blues", BetFileReader::TotalFilter,
         "01 02 03 04 05 06+01\r\n01 02 03 04 05 07\r\n03 07 11 19 25 33+09\r\n",
         {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {3, 7, 11, 19, 25, 33}}, 3, {1}},
        {"total filter file in an exclusion window", BetFileReader::Exclusion,
         "01 02 03 04 05 06+01\r\n01 02 03 04 05 06+05\r\n01 02 03 04 05 07+01\r\n",
         {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}}, 3, {}},
        {"CR line ends", BetFileReader::TotalFilter,
         "01 02 03 04 05 06+01\r01 02 03 04 05 06+05\r03 07 11 19 25 33+02\r",
         {{1, 2, 3, 4, 5, 6}, {3, 7, 11, 19, 25, 33}}, 3, {1, 2, 5}},
        {"CR line ends without a last one", BetFileReader::Exclusion, "01 02 03 04 05 06\r03 07 11 19 25 33",
         {{1, 2, 3, 4, 5, 6}, {3, 7, 11, 19, 25, 33}}, 2, {}},
        {"mixed line ends", BetFileReader::Exclusion, "01 02 03 04 05 06\r\n01 02 03 04 05 07\n03 07 11 19 25 33\r",
         {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {3, 7, 11, 19, 25, 33}}, 3, {}},
        {"unsorted numbers are sorted; the same set in another order merges", BetFileReader::TotalFilter,
         "06 05 04 03 02 01+01\r\n01 02 03 04 05 06+05\r\n33 25 19 11 07 03+02\r\n",
         {{1, 2, 3, 4, 5, 6}, {3, 7, 11, 19, 25, 33}}, 3, {1, 2, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(dir / "bets.txt", c.file);
        BetFileLoadOptions o = c.reader == BetFileReader::TotalFilter ? totalFilterOptions() : exclusionOptions();
        const BetFileLoad load = loadBetFile(dir / "bets.txt", o);
        ASSERT_TRUE(load.ok()) << load.error;
        EXPECT_EQ(combinationsOf(load), c.combinations);
        EXPECT_EQ(load.combinations, static_cast<std::int64_t>(c.combinations.size()));
        EXPECT_EQ(load.linesRead, c.linesRead);
        EXPECT_EQ(load.chosenBlues, c.blues);
    }
}

TEST(BetFile, LoadShowsTheLinesEachWindowWrites)
{
    ScratchDir dir;
    writeAll(dir / "bets.txt", "01 02 03 04 05 06+01\r\n01 02 03 04 05 06+05\r\n03 07 11 19 25 33+02\r\n");
    BetFileLoadOptions o = totalFilterOptions();
    BetFileLoad load = loadBetFile(dir / "bets.txt", o);
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.shownLines, (std::vector<std::string>{"0000001    01 02 03 04 05 06+01",
                                                         "0000002    01 02 03 04 05 06+05",
                                                         "0000003    03 07 11 19 25 33+02"}));
    EXPECT_EQ(load.chosenReds, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 11, 19, 25, 33}));

    o = exclusionOptions();
    o.listFile = dir / "temp.txt";
    load = loadBetFile(dir / "bets.txt", o);
    ASSERT_TRUE(load.ok());
    EXPECT_TRUE(load.shownLines.empty());
    EXPECT_EQ(load.linesShown, 2);
    EXPECT_EQ(readAll(dir / "temp.txt"), "0000001    01 02 03 04 05 06 \r\n0000002    03 07 11 19 25 33 \r\n");
}

TEST(BetFile, LoadErrorsNameTheLineAndLeaveTheListAlone)
{
    ScratchDir dir;
    struct Case {
        const char* what;
        BetFileReader reader;
        std::string file;
        std::string error;
    } cases[] = {
        {"empty line in an exclusion window", BetFileReader::Exclusion,
         "01 02 03 04 05 06+01\r\n\r\n", "第2行：“”不是有效的整数。"},
        {"letters in a red field", BetFileReader::TotalFilter, "01 02 0x 04 05 06+01\r\n",
         "第1行：“0x”不是有效的整数。"},
        {"line shorter than the bet", BetFileReader::Exclusion, "01 02 03 04 05 06\r\n01 02 03\r\n",
         "第2行：“”不是有效的整数。"},
        {"letters in the blue field", BetFileReader::TotalFilter, "01 02 03 04 05 06+0a\r\n",
         "第1行：“0a”不是有效的整数。"},
        {"red number out of range", BetFileReader::TotalFilter, "01 02 03 04 05 34+01\r\n",
         "第1行：号码“34”不在1到33之间。"},
        {"blue number out of range", BetFileReader::TotalFilter, "01 02 03 04 05 06+17\r\n",
         "第1行：号码“17”不在1到16之间。"},
        {"one number six times", BetFileReader::TotalFilter, "01 02 03 04 05 06+07\r\n01 01 01 01 01 01+07\r\n",
         "第2行：号码“01”重复。"},
        {"a number twice, out of order", BetFileReader::Exclusion, "09 03 07 03 11 12\r\n",
         "第1行：号码“03”重复。"},
        {"CR-only lines still name the right line", BetFileReader::Exclusion,
         "01 02 03 04 05 06\r01 02 03 04 05 07\r01 02 03 04 0x 07\r", "第3行：“0x”不是有效的整数。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(dir / "temp.txt", "old list\r\n");
        writeAll(dir / "bets.txt", c.file);
        BetFileLoadOptions o = c.reader == BetFileReader::TotalFilter ? totalFilterOptions() : exclusionOptions();
        o.listFile = dir / "temp.txt";
        const BetFileLoad load = loadBetFile(dir / "bets.txt", o);
        EXPECT_EQ(load.status, BetFileLoad::Status::Failed);
        EXPECT_EQ(load.error, c.error);
        EXPECT_TRUE(load.numbers.empty());
        EXPECT_EQ(readAll(dir / "temp.txt"), "old list\r\n");
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"bets.txt", "temp.txt"}));
    const BetFileLoad missing = loadBetFile(dir / "missing.txt", totalFilterOptions());
    EXPECT_EQ(missing.status, BetFileLoad::Status::Failed);
    EXPECT_FALSE(missing.error.empty());
}

TEST(BetFile, MoreThanTheRoomForCombinationsIsRefused)
{
    ScratchDir dir;
    // 1,200,001 lines, each a new combination (alternating), red numbers only.
    std::string text;
    text.reserve(1200001u * 19u);
    for (int i = 0; i < 1200001; ++i)
        text += (i % 2) ? "01 02 03 04 05 07\r\n" : "01 02 03 04 05 06\r\n";
    writeAll(dir / "big.txt", text);
    BetFileLoadOptions o = exclusionOptions();
    o.listFile = dir / "temp.txt";
    const BetFileLoad over = loadBetFile(dir / "big.txt", o);
    EXPECT_EQ(over.status, BetFileLoad::Status::Failed);
    EXPECT_EQ(over.error, "文件中的投注号码超过1200000注，无法载入！");
    EXPECT_FALSE(std::filesystem::exists(dir / "temp.txt"));

    // One line fewer fits exactly.
    writeAll(dir / "big.txt", text.substr(0, text.size() - 19));
    const BetFileLoad fits = loadBetFile(dir / "big.txt", o);
    ASSERT_TRUE(fits.ok()) << fits.error;
    EXPECT_EQ(fits.combinations, 1200000);
}

TEST(BetFile, SaveLoadSaveGivesTheSameFile)
{
    ScratchDir dir;
    CombinationTable t = tableOf({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 7}, {3, 7, 11, 19, 25, 33}});
    ASSERT_TRUE(writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial, std::vector<int>{3, 12}).ok());
    const std::vector<std::string> shown = crlfLines(readAll(dir / "temp.txt"));
    ASSERT_TRUE(saveBetFile(dir / "first.txt", shown).ok());

    BetFileLoadOptions o = totalFilterOptions();
    const BetFileLoad load = loadBetFile(dir / "first.txt", o);
    ASSERT_TRUE(load.ok());
    EXPECT_EQ(load.combinations, 3);
    EXPECT_EQ(load.chosenBlues, (std::vector<int>{3, 12}));
    EXPECT_EQ(load.shownLines, shown); // the list shows the same bets again
    ASSERT_TRUE(saveBetFile(dir / "second.txt", load.shownLines).ok());
    EXPECT_EQ(readAll(dir / "second.txt"), readAll(dir / "first.txt"));
    EXPECT_EQ(readAll(dir / "first.txt").substr(0, 22), "01 02 03 04 05 06+03\r\n");
}

TEST(BetFile, UnsortedLinesAreShownSorted)
{
    ScratchDir dir;
    writeAll(dir / "bets.txt", "06 05 04 03 02 01+07\r\n03 07 11 19 25 33+02\r\n");
    const BetFileLoad load = loadBetFile(dir / "bets.txt", totalFilterOptions());
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.shownLines, (std::vector<std::string>{"0000001    01 02 03 04 05 06+07",
                                                         "0000002    03 07 11 19 25 33+02"}));
}

TEST(TextLines, EveryLineEndAlsoAcrossReadChunks)
{
    ScratchDir dir;
    // The reader takes the file in 1 MiB pieces: put a CR LF and a lone CR
    // right at the first piece's end and see that neither makes an extra line.
    const std::size_t piece = 1u << 20;
    struct Case {
        const char* what;
        std::string ending; // line end that straddles the piece boundary
        std::size_t lines;
    } cases[] = {{"CR LF split by the boundary", "\r\n", 3}, {"CR alone at the boundary", "\r", 3},
                 {"LF at the boundary", "\n", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text(piece - 1, 'a'); // the CR is the last byte of the first piece
        text += c.ending;
        text += "second\rthird\r\n";
        writeAll(dir / "lines.txt", text);
        std::vector<std::string> lines;
        ASSERT_TRUE(forEachLine(dir / "lines.txt", [&](std::string_view l) {
            lines.emplace_back(l);
            return true;
        }));
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines[0].size(), piece - 1);
        EXPECT_EQ(lines[1], "second");
        EXPECT_EQ(lines[2], "third");
    }
}
