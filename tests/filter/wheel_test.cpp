// The rotating matrix: names, the matrix reader, generation, and the
// library checker against a brute-force count.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "filter/wheel.h"
#include "filter/wheel_check.h"

using namespace zelvor;

namespace {

std::uint32_t maskOf(const std::vector<int>& indexes)
{
    std::uint32_t m = 0;
    for (int i : indexes)
        m |= 1u << (i - 1);
    return m;
}

// Every p-subset against every row, counting common indexes.
std::int64_t bruteForceHoles(int v, int p, int t, const std::vector<std::uint32_t>& rows, std::vector<int>& first)
{
    std::int64_t holes = 0;
    first.clear();
    std::vector<int> pick(static_cast<std::size_t>(p));
    for (int i = 0; i < p; ++i)
        pick[static_cast<std::size_t>(i)] = i + 1;
    while (true) {
        const std::uint32_t set = maskOf(pick);
        const bool covered = std::any_of(rows.begin(), rows.end(),
                                         [&](std::uint32_t r) { return std::popcount(r & set) >= t; });
        if (!covered) {
            if (holes == 0)
                first = pick; // lexicographic walk: the first one found is the first
            ++holes;
        }
        int i = p - 1;
        while (i >= 0 && pick[static_cast<std::size_t>(i)] == v - p + i + 1)
            --i;
        if (i < 0)
            break;
        ++pick[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < p; ++j)
            pick[static_cast<std::size_t>(j)] = pick[static_cast<std::size_t>(j - 1)] + 1;
    }
    return holes;
}

struct TempFolder {
    TempFolder()
    {
        path = std::filesystem::temp_directory_path() / ("zelvor-wheel-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path / std::filesystem::u8path(name), std::ios::binary) << content;
    }
    std::filesystem::path path;
};

WheelInputs inputs(std::vector<std::string> boxes, bool banker = false, std::string basic = "10",
                   std::string bankers = "0")
{
    WheelInputs in;
    in.bankerForm = banker;
    in.basicText = std::move(basic);
    in.bankerText = std::move(bankers);
    in.boxes = std::move(boxes);
    return in;
}

} // namespace

TEST(WheelChecker, AgreesWithBruteForceOnRandomWheels)
{
    std::mt19937 rng(7);
    struct Shape {
        int v, k, p, t;
    } shapes[] = {{7, 6, 6, 5}, {9, 5, 4, 3}, {10, 6, 5, 4}, {11, 4, 3, 3}, {12, 7, 6, 4}, {8, 3, 3, 2}, {10, 7, 7, 4}};
    for (const Shape& s : shapes)
        for (int trial = 0; trial < 6; ++trial) {
            std::vector<std::uint32_t> rows;
            const int count = 1 + static_cast<int>(rng() % 12);
            for (int r = 0; r < count; ++r) {
                std::vector<int> all(static_cast<std::size_t>(s.v));
                for (int i = 0; i < s.v; ++i)
                    all[static_cast<std::size_t>(i)] = i + 1;
                std::shuffle(all.begin(), all.end(), rng);
                all.resize(static_cast<std::size_t>(s.k));
                rows.push_back(maskOf(all));
            }
            std::vector<int> expectedFirst, first;
            const std::int64_t expected = bruteForceHoles(s.v, s.p, s.t, rows, expectedFirst);
            EXPECT_EQ(uncoveredSubsets(s.v, s.p, s.t, rows, &first), expected) << s.v << " " << s.p << " " << s.t;
            EXPECT_EQ(first, expectedFirst);
        }
}

TEST(WheelChecker, EveryRowOfAFullWheelMatters)
{
    // All 6-subsets of 1..7 cover 中6保6; each removed row leaves exactly itself uncovered.
    std::vector<std::uint32_t> rows;
    for (int out = 7; out >= 1; --out) {
        std::vector<int> r;
        for (int i = 1; i <= 7; ++i)
            if (i != out)
                r.push_back(i);
        rows.push_back(maskOf(r));
    }
    EXPECT_EQ(uncoveredSubsets(7, 6, 6, rows), 0);
    for (std::size_t drop = 0; drop < rows.size(); ++drop) {
        std::vector<std::uint32_t> less = rows;
        less.erase(less.begin() + static_cast<std::ptrdiff_t>(drop));
        std::vector<int> first;
        EXPECT_EQ(uncoveredSubsets(7, 6, 6, less, &first), 1);
        EXPECT_EQ(maskOf(first), rows[drop]);
    }
}

TEST(WheelChecker, NamesAndFileFormat)
{
    struct Case {
        const char* name;
        std::string content;
        const char* line;
    } cases[] = {
        {"选三型04码中3保3.txt", "1 2 3\r\n1 2 4\r\n1 3 4\r\n2 3 4\r\n", "选三型04码中3保3.txt\trows=4\tok"},
        {"选三型04码中3保3.txt", "1 2 3\r\n1 2 4\r\n", "选三型04码中3保3.txt\trows=2\tholes=2\tfirst=01 03 04"},
        {"选三型04码中3保3.txt", "", "选三型04码中3保3.txt\tbad line 1"},
        {"选三型04码中3保3.txt", "1 2 3\r\n1 2 4", "选三型04码中3保3.txt\tbad line 2"},   // no line end
        {"选三型04码中3保3.txt", "1 2 3\n", "选三型04码中3保3.txt\tbad line 1"},          // LF alone
        {"选三型04码中3保3.txt", "1 2 4\r\n1 2 3\r\n", "选三型04码中3保3.txt\tbad line 2"}, // not increasing
        {"选三型04码中3保3.txt", "1 3 2\r\n", "选三型04码中3保3.txt\tbad line 1"},        // not ascending
        {"选三型04码中3保3.txt", "1  2 3\r\n", "选三型04码中3保3.txt\tbad line 1"},       // two blanks
        {"选三型04码中3保3.txt", "1 2 5\r\n", "选三型04码中3保3.txt\tbad line 1"},        // beyond v
        {"选三型04码中3保3.txt", "1 2\r\n", "选三型04码中3保3.txt\tbad line 1"},          // k - 1 indexes
        {"选三型04码中3保3.txt", "01 2 3\r\n", "选三型04码中3保3.txt\tbad line 1"},       // leading zero
        {"选三型4码中3保3.txt", "1 2 3\r\n", "选三型4码中3保3.txt\tbad name"},
        {"选三型04码中03保3.txt", "1 2 3\r\n", "选三型04码中03保3.txt\tbad name"},
        {"选三型04码中3保4.txt", "1 2 3\r\n", "选三型04码中3保4.txt\tbad name"},          // t > p
        {"选三型22码中3保3.txt", "1 2 3\r\n", "选三型22码中3保3.txt\tbad name"},          // v > 21
        {"选八型09码中3保3.txt", "1 2 3\r\n", "选八型09码中3保3.txt\tbad name"},
        {"选三型04码中3保3.TXT", "1 2 3\r\n", "选三型04码中3保3.TXT\tbad name"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wheelCheckLine(c.name, checkWheelFile(c.name, c.content)), c.line) << c.name << " " << c.content;
}

TEST(WheelMatrix, ReaderRules)
{
    struct Case {
        const char* text;
        int width, basic;
        std::vector<std::vector<int>> rows;
        const char* error;
    } cases[] = {
        {"1 2 3\r\n4 5 6\r\n", 3, 6, {{1, 2, 3}, {4, 5, 6}}, ""},
        {"1 2 3\n4 5 6", 3, 6, {{1, 2, 3}, {4, 5, 6}}, ""},                 // LF, last line without end
        {"  1  2   3\n ,1 ,2 ,3\n", 3, 6, {{1, 2, 3}, {1, 2, 3}}, ""},      // blanks and commas before tokens
        {"1 2 3\nx 5 6\n1 2 3\n", 3, 6, {{1, 2, 3}}, ""},                   // stop line
        {"1 2 3\n\n4 5 6\n", 3, 6, {{1, 2, 3}}, ""},                        // empty line stops too
        {"1 2,3 4\n", 3, 6, {}, "矩阵文件第1行有误！"},                     // "2,3" is one token, no integer
        {"1,2 3 4\n", 3, 6, {}, "矩阵文件中没有投注号码！"},                // a first token "1,2" ends the matrix
        {"1 2 3\n4 5 x\n", 3, 6, {}, "矩阵文件第2行有误！"},
        {"1 2 3\n4 5\n", 3, 6, {}, "矩阵文件第2行有误！"},
        {"1 2 3\n4 5 7\n", 3, 6, {}, "矩阵文件第2行有误！"},
        {"1 2 3\n4 0 5\n", 3, 6, {}, "矩阵文件第2行有误！"},
        {"1 2 2\n", 3, 6, {}, "矩阵文件第1行有误！"},
        {"", 3, 6, {}, "矩阵文件中没有投注号码！"},
        {"abc\n1 2 3\n", 3, 6, {}, "矩阵文件中没有投注号码！"},
        {"\x01\x02\xff\xfe", 3, 6, {}, "矩阵文件中没有投注号码！"},
    };
    for (const Case& c : cases) {
        const WheelMatrixRead r = readWheelMatrix(c.text, c.width, c.basic);
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_EQ(r.rows, c.rows) << c.text;
    }
}

TEST(WheelGenerate, NamesOfTheDefaultsAndTheBankerForm)
{
    WheelSettings s;
    EXPECT_EQ(wheelMatrixName(s), "选六型10码中6保5.txt");
    EXPECT_EQ(wheelSaveName(s), "选六型10码中6保5投注号码.txt");
    s.bankerForm = true;
    s.basic = 9;
    s.bankers = 1;
    EXPECT_EQ(wheelMatrixName(s), "选五型09码中5保4.txt");
    EXPECT_EQ(wheelSaveName(s), "选六型1胆9拖中6保5投注号码.txt");
    s = WheelSettings{};
    s.basic = 7;
    EXPECT_EQ(wheelMatrixName(s), "选六型07码中6保5.txt");
    EXPECT_EQ(wheelSaveName(s), "选六型7码中6保5投注号码.txt");
}

TEST(WheelGenerate, BetsAreSortedWithTheirBankers)
{
    TempFolder folder;
    // Third line starts with a letter: two bets.
    folder.write("选五型09码中5保4.txt", "1 2 3 4 5\r\n5 6 7 8 9\r\nx 1 2 3 4\r\n");
    WheelInputs in = inputs({"33", "2", "17", "8", "4", "30", "12", "09", "21", "1"}, true, "9", "1");
    const WheelGeneration g = generateWheel(in, folder.path);
    ASSERT_TRUE(g.ok()) << g.message;
    EXPECT_EQ(g.matrixName, "选五型09码中5保4.txt");
    ASSERT_EQ(g.bets.size(), 2u);
    EXPECT_EQ(g.bets[0], (std::vector<int>{1, 2, 4, 8, 17, 33}));
    EXPECT_EQ(g.bets[1], (std::vector<int>{1, 4, 9, 12, 21, 30}));
    EXPECT_EQ(wheelBetLine(g.bets[0]), "01 02 04 08 17 33 \r\n");
    EXPECT_EQ(wheelBetLine(g.bets[0]).size(), 18u + 2u);
}

TEST(WheelGenerate, RefusalsInTheirOrder)
{
    TempFolder folder;
    folder.write("选六型07码中6保5.txt", "1 2 3 4 5 6\r\n");
    const std::vector<std::string> seven = {"1", "2", "3", "4", "5", "6", "7"};
    struct Case {
        WheelInputs in;
        const char* message;
    } cases[] = {
        {inputs(seven, false, "7"), ""},
        {inputs(seven, false, "x"), "“x”不是有效的整数。"},
        {inputs(seven, false, "0"), "基本号码和胆码个数不正确！"},
        {inputs(seven, false, "22"), "基本号码和胆码个数不正确！"},
        {inputs(seven, true, "20", "2"), "基本号码和胆码个数不正确！"},
        {inputs(seven, true, "7", "3"), "基本号码和胆码个数不正确！"},
        {inputs(seven, false, "8"), "没有该类型的矩阵！"},
        {inputs({"1", "2", "3", "4", "5", "6", "0"}, false, "7"), "请在下面号码框中输入正确的号码数字！"},
        {inputs({"1", "2", "3", "4", "5", "6", "100"}, false, "7"), "请在下面号码框中输入正确的号码数字！"},
        {inputs({"1", "2", "3", "4", "5", "6", "-3"}, false, "7"), "请在下面号码框中输入正确的号码数字！"},
        {inputs({"1", "2", "3", "4", "5", "6", ""}, false, "7"), "请在下面号码框中输入正确的号码数字！"},
        {inputs({"1", "2", "3", "4", "5", "6", "05"}, false, "7"), "请不要输入重复的号码数字！"},
    };
    for (Case& c : cases) {
        const WheelGeneration g = generateWheel(c.in, folder.path);
        EXPECT_EQ(g.message, c.message) << c.in.basicText;
    }
    WheelInputs badPick = inputs(seven, false, "7");
    badPick.pickText = "选8型";
    EXPECT_EQ(generateWheel(badPick, folder.path).message, "没有该类型的矩阵！");
    WheelInputs badKeep = inputs(seven, false, "7");
    badKeep.keepText = "五";
    EXPECT_EQ(generateWheel(badKeep, folder.path).message, "“五”不是有效的整数。");
}
