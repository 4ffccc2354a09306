#include "filter/line_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "filter/filter_test_support.h"
#include "filter/text_lines.h"

namespace zelvor {
namespace {

using testing::ScratchDir;
using testing::writeAll;

std::vector<std::string> linesByForEachLine(const std::filesystem::path& file)
{
    std::vector<std::string> out;
    forEachLine(file, [&](std::string_view l) {
        out.emplace_back(l);
        return true;
    });
    return out;
}

// The lines scanLines hands out with a buffer of `bufferSize` bytes; the fast
// reader takes lines that are exactly "ab" and marks them with a "*".
std::vector<std::string> linesByScanner(const std::filesystem::path& file, std::size_t bufferSize, std::size_t room,
                                        bool withFast)
{
    std::vector<std::string> out;
    std::vector<char> buffer(bufferSize);
    auto fast = [&](const char* p, const char* end, bool eof) -> const char* {
        if (!withFast || end - p < 2 || p[0] != 'a' || p[1] != 'b')
            return nullptr;
        const bool lineEnd = end - p == 2 ? eof : (p[2] == '\r' || p[2] == '\n');
        if (!lineEnd)
            return nullptr;
        out.emplace_back("*ab");
        return p + 2;
    };
    auto slow = [&](std::string_view l) {
        out.emplace_back(l == "ab" && withFast ? "*ab" : std::string(l));
        return true;
    };
    std::string error;
    EXPECT_TRUE(scanLines(file, buffer, room, fast, slow, &error)) << error;
    return out;
}

TEST(LineScanner, SameLinesAsForEachLineAcrossBlockBoundaries)
{
    ScratchDir dir;
    const auto file = dir / "lines.txt";
    struct Case {
        const char* what;
        std::string text;
    };
    std::vector<Case> cases = {
        {"empty file", ""},
        {"no final line end", "ab\r\ncd"},
        {"CR LF split after the CR", std::string(17, 'x') + "\r\nab\r\n"},
        {"lone CRs and empty lines", "ab\r\rcd\n\nab\r"},
        {"a line longer than the buffer", std::string(300, 'y') + "\nab"},
        {"only line ends", "\r\n\r\n\n\r"},
    };
    std::mt19937 g(11);
    const char alphabet[] = {'a', 'b', ' ', '\r', '\n', 'c'};
    for (int r = 0; r < 40; ++r) {
        std::string t;
        const int length = static_cast<int>(g() % 200);
        for (int i = 0; i < length; ++i)
            t += alphabet[g() % sizeof alphabet];
        cases.push_back({"random", t});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(file, c.text);
        const std::vector<std::string> expected = linesByForEachLine(file);
        std::vector<std::string> marked = expected;
        for (std::string& l : marked)
            if (l == "ab")
                l = "*ab";
        for (std::size_t bufferSize : {1u, 7u, 19u, 64u, 4096u})
            for (std::size_t room : {1u, 3u, 8u}) {
                SCOPED_TRACE("buffer " + std::to_string(bufferSize) + " room " + std::to_string(room));
                EXPECT_EQ(linesByScanner(file, bufferSize, room, false), expected);
                EXPECT_EQ(linesByScanner(file, bufferSize, room, true), marked);
            }
    }
}

TEST(LineScanner, StopsWhenAskedAndReportsAMissingFile)
{
    ScratchDir dir;
    writeAll(dir / "lines.txt", "a\nb\nc\n");
    std::vector<char> buffer(64);
    std::vector<std::string> seen;
    auto none = [](const char*, const char*, bool) -> const char* { return nullptr; };
    EXPECT_TRUE(scanLines(dir / "lines.txt", buffer, 4, none,
                          [&](std::string_view l) {
                              seen.emplace_back(l);
                              return l != "b";
                          },
                          nullptr));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    std::string error;
    EXPECT_FALSE(scanLines(dir / "missing.txt", buffer, 4, none, [](std::string_view) { return true; }, &error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;
}

} // namespace
} // namespace zelvor
