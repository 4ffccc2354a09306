#pragma once
// Small helpers for the filter tests: a scratch folder and whole-file I/O.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zelvor::testing {

class ScratchDir {
public:
    ScratchDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "zelvor_filter_";
        if (info)
            name += std::string(info->test_suite_name()) + "_" + info->name();
        name += "_" + std::to_string(std::random_device{}());
        for (char& c : name)
            if (c == '/')
                c = '_';
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }
    // Every file name in the folder (to see that no temporary file is left).
    std::vector<std::string> entries() const
    {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path path_;
};

inline std::string readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeAll(const std::filesystem::path& p, const std::string& text)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

// The lines of a CR LF file; fails the test on a bare LF.
inline std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t nl = text.find('\n', at);
        EXPECT_NE(nl, std::string::npos) << "unterminated last line";
        if (nl == std::string::npos)
            break;
        EXPECT_TRUE(nl > at && text[nl - 1] == '\r') << "line " << lines.size() + 1 << " not ended by CR LF";
        lines.push_back(text.substr(at, nl - at - (nl > at && text[nl - 1] == '\r' ? 1 : 0)));
        at = nl + 1;
    }
    return lines;
}

} // namespace zelvor::testing
