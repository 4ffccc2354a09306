#include "filter/text_lines.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace zelvor {

bool forEachLine(const std::filesystem::path& file, const std::function<bool(std::string_view)>& fn,
                 std::string* error)
{
    auto setError = [&](const char* what) {
        if (error) {
            const auto u8 = file.u8string();
            *error = std::string(what) + "“" + std::string(u8.begin(), u8.end()) + "”。";
        }
        return false;
    };
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return setError("无法打开文件");

    std::vector<char> chunk(1u << 20);
    std::string carry; // a line split across chunks
    while (true) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        const char* p = chunk.data();
        const char* end = p + got;
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nl) {
                carry.append(p, end);
                break;
            }
            bool go;
            if (!carry.empty()) {
                carry.append(p, nl);
                go = fn(withoutCr(carry));
                carry.clear();
            } else {
                go = fn(withoutCr(std::string_view(p, static_cast<std::size_t>(nl - p))));
            }
            if (!go)
                return true;
            p = nl + 1;
        }
        if (in.eof())
            break;
    }
    if (in.bad())
        return setError("读取文件失败：");
    if (!carry.empty())
        fn(withoutCr(carry));
    return true;
}

} // namespace zelvor
