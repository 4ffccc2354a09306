#include "filter/intersection.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "filter/filter_test_support.h"

namespace zelvor {
namespace {

using testing::readAll;
using testing::ScratchDir;
using testing::writeAll;

const char* const A = "01 02 03 04 05 06";
const char* const B = "01 02 03 04 05 07";
const char* const C = "01 02 03 04 05 08";
const char* const D = "02 03 04 05 06 07";

std::string lines(const std::vector<std::string>& v)
{
    std::string s;
    for (const auto& l : v)
        s += l + "\r\n";
    return s;
}

class Intersection : public ::testing::Test {
protected:
    // Writes the files (one string of lines each) and runs on them.
    IntersectionResult run(const std::vector<std::string>& files, int a = 0, int b = 0,
                           SpecialChoice choice = SpecialChoice::Import, const std::string& typed = {},
                           const LotteryParams& lottery = TwoColourBall())
    {
        IntersectionInput in;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto p = dir / ("大底" + std::to_string(i + 1) + ".txt");
            writeAll(p, files[i]);
            in.files.push_back(p);
        }
        in.toleranceLow = a;
        in.toleranceHigh = b;
        in.specials = choice;
        in.typed = typed;
        in.listFile = list();
        return runIntersection(lottery, in);
    }
    std::filesystem::path list() const { return dir / "temp.txt"; }
    std::string listText() const { return readAll(list()); }

    ScratchDir dir;
};

TEST_F(Intersection, RedOnlyFilesAndTolerances)
{
    struct Case {
        const char* what;
        std::vector<std::string> files;
        int a, b;
        std::string expected;
    } cases[] = {
        {"two files 0-0", {lines({A, B, C}), lines({D, C, B})}, 0, 0,
         lines({"0000001    01 02 03 04 05 07 ", "0000002    01 02 03 04 05 08 "})},
        {"three files 0-1", {lines({A, B}), lines({B, C}), lines({D, A})}, 0, 1,
         lines({"0000001    01 02 03 04 05 06 ", "0000002    01 02 03 04 05 07 "})},
        {"three files 1-1", {lines({A, B}), lines({B, C, A}), lines({D, A})}, 1, 1,
         lines({"0000001    01 02 03 04 05 07 "})},
        {"twice in one file counts once", {lines({A, A, B}), lines({A})}, 0, 0,
         lines({"0000001    01 02 03 04 05 06 "})},
        {"twice in one file, 1-1", {lines({A, A, B}), lines({A})}, 1, 1,
         lines({"0000001    01 02 03 04 05 07 "})},
        {"any order, blanks, tabs, commas, empty lines, no final line end",
         {" \t06 05 04 03 02 01\t\r\n\r\n01,02,03,04,05,07", lines({B, A})}, 0, 0,
         lines({"0000001    01 02 03 04 05 06 ", "0000002    01 02 03 04 05 07 "})},
        {"an empty file", {"", lines({A})}, 0, 1, lines({"0000001    01 02 03 04 05 06 "})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const IntersectionResult r = run(c.files, c.a, c.b);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_FALSE(r.withSpecials);
        EXPECT_EQ(listText(), c.expected);
        EXPECT_EQ(r.lines, static_cast<std::int64_t>(std::count(c.expected.begin(), c.expected.end(), '\n')));
    }
}

TEST_F(Intersection, SpecialChoices)
{
    const std::vector<std::string> plus = {lines({"01 02 03 04 05 06+01", "01 02 03 04 05 07+05"}),
                                           lines({"01 02 03 04 05 06+03"})};
    struct Case {
        const char* what;
        std::vector<std::string> files;
        SpecialChoice choice;
        std::string typed;
        std::string expected;
    } cases[] = {
        {"imported", plus, SpecialChoice::Import, "",
         lines({"0000001    01 02 03 04 05 06+01", "0000002    01 02 03 04 05 06+03",
                "0000003    01 02 03 04 05 06+05"})},
        {"typed 03 and 11", plus, SpecialChoice::Typed, "11+03",
         lines({"0000001    01 02 03 04 05 06+03", "0000002    01 02 03 04 05 06+11"})},
        {"none", plus, SpecialChoice::None, "", lines({"0000001    01 02 03 04 05 06 "})},
        {"red-only last file, all", {plus[0], lines({A})}, SpecialChoice::All, "",
         lines({"0000001    01 02 03 04 05 06 "})},
        {"red-only last file, typed", {plus[0], lines({A})}, SpecialChoice::Typed, "07",
         lines({"0000001    01 02 03 04 05 06 "})},
        {"a short line mid-file stops the specials of that file",
         {lines({"01 02 03 04 05 06+01", B, "01 02 03 04 05 08+09"}),
          lines({"01 02 03 04 05 06+02", "01 02 03 04 05 07+02", "01 02 03 04 05 08+02"})},
         SpecialChoice::Import, "",
         lines({"0000001    01 02 03 04 05 06+01", "0000002    01 02 03 04 05 06+02",
                "0000003    01 02 03 04 05 07+01", "0000004    01 02 03 04 05 07+02",
                "0000005    01 02 03 04 05 08+01", "0000006    01 02 03 04 05 08+02"})},
        {"specials missing on a long line count as a short line",
         {lines({"01 02  03  04  05  06", "01 02 03 04 05 07+04"})}, SpecialChoice::Import, "",
         lines({"0000001    01 02 03 04 05 06 ", "0000002    01 02 03 04 05 07 "})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const IntersectionResult r = run(c.files, 0, 0, c.choice, c.typed);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(listText(), c.expected);
    }
    const IntersectionResult all = run(plus, 0, 0, SpecialChoice::All);
    EXPECT_EQ(all.lines, 16);
    EXPECT_EQ(all.combinations, 1);
}

TEST_F(Intersection, MarkSixLinesNeverCarrySpecials)
{
    const IntersectionResult r = run({lines({"01 02 03 04 05 06 49", "01 02 03 04 05 06 07"}),
                                      lines({"01 02 03 04 05 06 49"})},
                                     0, 0, SpecialChoice::All, "", MarkSix());
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(listText(), lines({"0000001    01 02 03 04 05 06 49 "}));
}

TEST_F(Intersection, SavedResultReadsBack)
{
    ASSERT_TRUE(run({lines({"01 02 03 04 05 06+01", "01 02 03 04 05 07+02", C}),
                     lines({"01 02 03 04 05 06+01", "01 02 03 04 05 07+02"})})
                    .ok());
    const std::string first = listText();
    ASSERT_EQ(first, lines({"0000001    01 02 03 04 05 06+01", "0000002    01 02 03 04 05 06+02",
                            "0000003    01 02 03 04 05 07+01", "0000004    01 02 03 04 05 07+02"}));
    std::string error;
    ASSERT_TRUE(saveIntersectionLines(list(), dir / "saved.txt", &error)) << error;
    EXPECT_EQ(readAll(dir / "saved.txt"),
              lines({"0000001    01 02 03 04 05 06+01 ", "0000002    01 02 03 04 05 06+02 ",
                     "0000003    01 02 03 04 05 07+01 ", "0000004    01 02 03 04 05 07+02 "}));
    IntersectionInput in;
    in.files = {dir / "saved.txt"};
    in.listFile = list();
    const IntersectionResult again = runIntersection(TwoColourBall(), in);
    ASSERT_TRUE(again.ok()) << again.message;
    EXPECT_EQ(listText(), first);
}

TEST_F(Intersection, RefusalsAndBadLinesLeaveTheListFile)
{
    struct Case {
        const char* what;
        std::vector<std::string> files;
        int a, b;
        SpecialChoice choice;
        std::string typed;
        std::string message; // a part of it
    } cases[] = {
        {"no files", {}, 0, 0, SpecialChoice::Import, "", "请先导入大底文件！"},
        {"b = F", {lines({A}), lines({A})}, 0, 2, SpecialChoice::Import, "", "交集容错"},
        {"a > b", {lines({A}), lines({A})}, 1, 0, SpecialChoice::Import, "", "交集容错"},
        {"a < 0", {lines({A}), lines({A})}, -1, 0, SpecialChoice::Import, "", "交集容错"},
        {"nothing typed", {lines({A})}, 0, 0, SpecialChoice::Typed, " + ", "请输入特码！"},
        {"typed 17", {lines({A})}, 0, 0, SpecialChoice::Typed, "03 17", "特码必须在1到16之间！"},
        {"typed text", {lines({A})}, 0, 0, SpecialChoice::Typed, "3x", "“3x”不是有效的整数。"},
        {"number 34", {lines({A}), lines({B, "01 02 03 04 05 34"})}, 0, 0, SpecialChoice::Import, "",
         "大底2.txt”第2行"},
        {"number 0", {lines({"00 02 03 04 05 06"})}, 0, 0, SpecialChoice::Import, "", "”第1行"},
        {"repeated number", {lines({A, "", "01 02 03 04 05 05"})}, 0, 0, SpecialChoice::Import, "", "”第3行"},
        {"five numbers", {lines({"01 02 03 04 05"})}, 0, 0, SpecialChoice::Import, "", "”第1行"},
        {"not a number", {lines({"01 02 03 04 05 0x"})}, 0, 0, SpecialChoice::Import, "", "“0x”不是有效的整数。"},
        {"special 17", {lines({"01 02 03 04 05 06+17"})}, 0, 0, SpecialChoice::None, "", "”第1行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(list(), "old\r\n");
        const IntersectionResult r = run(c.files, c.a, c.b, c.choice, c.typed);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_EQ(listText(), "old\r\n");
    }

    writeAll(list(), "old\r\n");
    IntersectionInput in;
    in.files = {dir / "missing.txt"};
    in.listFile = list();
    IntersectionResult r = runIntersection(TwoColourBall(), in);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find("missing.txt"), std::string::npos) << r.message;
    in.files.assign(kMaxIntersectionFiles + 1, dir / "missing.txt");
    r = runIntersection(TwoColourBall(), in);
    EXPECT_EQ(r.status, IntersectionResult::Status::Refused);
    EXPECT_EQ(listText(), "old\r\n");
}

} // namespace
} // namespace zelvor

namespace zelvor {
namespace {

// The first `count` combinations of 6 of 33 in the list's order.
std::vector<std::array<int, 6>> firstCombinations(int count)
{
    std::vector<std::array<int, 6>> out;
    std::array<int, 6> c{1, 2, 3, 4, 5, 6};
    for (int n = 0; n < count; ++n) {
        out.push_back(c);
        int i = 5;
        while (i >= 0 && c[i] == 28 + i)
            --i;
        ++c[i];
        for (int j = i + 1; j < 6; ++j)
            c[j] = c[j - 1] + 1;
    }
    return out;
}

std::string betText(const std::array<int, 6>& c, const char* tail)
{
    char line[40];
    std::snprintf(line, sizeof line, "%.2d %.2d %.2d %.2d %.2d %.2d%s", c[0], c[1], c[2], c[3], c[4], c[5], tail);
    return line;
}

TEST_F(Intersection, LargeFilesWithEveryLineEndReadWhole)
{
    // 70,000 lines (about 1.5 MB a file) cross the reading blocks at many
    // places; the files differ only in layout, so all 70,000 combinations
    // are in every file.
    const auto combos = firstCombinations(70000);
    std::string crlf, lf, mixed;
    for (std::size_t i = 0; i < combos.size(); ++i) {
        crlf += betText(combos[i], "+01\r\n");
        lf += betText(combos[combos.size() - 1 - i], "+02\n");
        // Lone CRs, unsorted numbers, separators "," and "+", a leading blank
        // now and then, and no line end after the last line.
        std::array<int, 6> c = combos[i];
        std::swap(c[0], c[5]);
        std::string line = betText(c, i % 3 == 0 ? ",03" : "+03");
        if (i % 1000 == 7)
            line = " " + line;
        mixed += line;
        if (i + 1 < combos.size())
            mixed += i % 2 ? "\r" : "\r\n";
    }
    const IntersectionResult r = run({crlf, lf, mixed});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.combinations, 70000);
    EXPECT_EQ(r.specials, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(r.lines, 210000);
    const std::string text = listText();
    const std::string first = "0000001    01 02 03 04 05 06+01\r\n0000002    01 02 03 04 05 06+02\r\n";
    EXPECT_EQ(text.substr(0, first.size()), first);
    const std::string lastLine = "0210000    " + betText(combos.back(), "+03\r\n");
    EXPECT_EQ(text.substr(text.size() - lastLine.size()), lastLine);
    EXPECT_EQ(text.size(), 210000u * 33u);
}

TEST_F(Intersection, ShortLinesAndBadLinesAfterUsualOnes)
{
    // A line without its special drops the specials for the rest of the
    // file, even where later lines have one again.
    IntersectionResult r = run({lines({"01 02 03 04 05 06+01", "01 02 03 04 05 07", "01 02 03 04 05 08+16"})});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_FALSE(r.withSpecials);
    EXPECT_EQ(listText(), lines({"0000001    01 02 03 04 05 06 ", "0000002    01 02 03 04 05 07 ",
                                 "0000003    01 02 03 04 05 08 "}));
    // Bad lines among usual ones name their line, whichever way they are read.
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {lines({A, B, "01 02 03 04 05 34+01"}) + "01 02 03", "第3行的号码不在1到33之间"},
        {lines({A, "", "01 02 03 04 04 06+01"}), "第3行的号码重复"},
        {lines({"01 02 03 04 05 06+01", "01 02 03 04 05 07+17"}), "第2行的特码不在1到16之间"},
        {lines({A, B}) + "01 02 03 04 05", "第3行的号码不足6个"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        writeAll(list(), "old\r\n");
        r = run({c.text});
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_EQ(listText(), "old\r\n");
    }
}

} // namespace
} // namespace zelvor
