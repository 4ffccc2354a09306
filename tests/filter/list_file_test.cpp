#include <gtest/gtest.h>

#include "filter/list_file.h"
#include "filter_test_support.h"

using namespace zelvor;
using zelvor::testing::readAll;
using zelvor::testing::ScratchDir;
using zelvor::testing::writeAll;

TEST(ListFile, FetchesLinesAcrossIndexBlocks)
{
    ScratchDir dir;
    CombinationTable t;
    t.buildAll(10, 6); // 210 rows x 12 blues = 2520 lines: three index blocks
    std::vector<int> blues(12);
    for (int b = 0; b < 12; ++b)
        blues[b] = b + 1;
    ASSERT_TRUE(writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial, blues).ok());

    ListFile list;
    ASSERT_TRUE(list.open(dir / "temp.txt"));
    EXPECT_EQ(list.lineCount(), 2520);
    const struct {
        std::int64_t i;
        const char* text;
    } cases[] = {
        {0, "0000001    01 02 03 04 05 06+01"},
        {11, "0000012    01 02 03 04 05 06+12"},
        {12, "0000013    01 02 03 04 05 07+01"},
        {1023, "0001024    01 03 04 06 09 10+04"}, // row 85, blue 4
        {1024, "0001025    01 03 04 06 09 10+05"},
        {2519, "0002520    05 06 07 08 09 10+12"},
        {2520, ""},
        {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.line(c.i), c.text) << c.i;
    // A range crossing a block boundary, clipped at the end.
    const auto range = list.lines(1022, 3);
    ASSERT_EQ(range.size(), 3u);
    EXPECT_EQ(range[2], "0001025    01 03 04 06 09 10+05");
    EXPECT_EQ(list.lines(2518, 10).size(), 2u);
}

TEST(ListFile, LineEndsAndAMissingLastLineEnd)
{
    ScratchDir dir;
    const struct {
        const char* text;
        std::int64_t lines;
        const char* last;
    } cases[] = {
        {"", 0, ""},
        {"a\r\nb\r\n", 2, "b"},
        {"a\nb\n", 2, "b"},
        {"a\r\nb", 2, "b"},
        {"a\r\n\r\n", 2, ""},
    };
    for (const auto& c : cases) {
        writeAll(dir / "l.txt", c.text);
        ListFile list;
        ASSERT_TRUE(list.open(dir / "l.txt"));
        EXPECT_EQ(list.lineCount(), c.lines) << c.text;
        if (c.lines)
            EXPECT_EQ(list.line(c.lines - 1), c.last) << c.text;
    }
    ListFile missing;
    EXPECT_FALSE(missing.open(dir / "missing.txt"));
    EXPECT_FALSE(missing.error().empty());
}

TEST(ListFile, EditsAreShownAndSaved)
{
    ScratchDir dir;
    CombinationTable t;
    t.buildAll(33, 6);
    for (std::int64_t r = 3000; r < t.size(); ++r)
        t.setMark(r, 1); // 3000 rows
    ASSERT_TRUE(writeBetList(dir / "temp.txt", t, BetLineLayout::WithSpecial, std::vector<int>{7}).ok());

    ListFile list;
    ASSERT_TRUE(list.open(dir / "temp.txt"));
    ASSERT_EQ(list.lineCount(), 3000);
    EXPECT_TRUE(list.setLine(2047, "0002048    01 02 03 04 05 06+16"));
    EXPECT_TRUE(list.setLine(1, ""));
    EXPECT_FALSE(list.setLine(3000, "beyond the end"));
    EXPECT_EQ(list.line(2047), "0002048    01 02 03 04 05 06+16");
    EXPECT_EQ(list.line(2046), "0002047    01 02 03 10 11 22+07"); // neighbours untouched
    EXPECT_TRUE(list.isEdited(2047));
    EXPECT_FALSE(list.isEdited(2046));

    const FileWriteResult saved = list.saveAsBetFile(dir / "bets.txt");
    ASSERT_TRUE(saved.ok()) << saved.error;
    EXPECT_EQ(saved.lines, 2999); // the emptied line is left out
    const std::string text = readAll(dir / "bets.txt");
    EXPECT_EQ(text.substr(0, 44), "01 02 03 04 05 06+07\r\n01 02 03 04 05 08+07\r\n");
    EXPECT_EQ(text.substr(2045 * 22, 66), "01 02 03 10 11 22+07\r\n01 02 03 04 05 06+16\r\n01 02 03 10 11 24+07\r\n");
    EXPECT_EQ(text.size(), 2999u * 22u);
}
