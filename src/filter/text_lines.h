#pragma once
// Line-by-line reading of the program's text files: lines end CR LF, LF or a
// CR alone, and a final line end does not start another (empty) line.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zelvor {

// Calls fn for every line (without its CR LF / LF) in order until fn returns
// false. Returns false, with a message in *error, when the file cannot be
// opened or read; a stop asked by fn is not an error.
// "无法打开文件“…”。" and the like: what failed, with the file's path.
std::string fileErrorText(const char* what, const std::filesystem::path& file);

bool forEachLine(const std::filesystem::path& file, const std::function<bool(std::string_view)>& fn,
                 std::string* error = nullptr);

// A line without its trailing CR.
inline std::string_view withoutCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace zelvor
