#include "filter/text_lines.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace zelvor {

namespace {

// The next c in [from, end), or end. `cache` remembers the last answer, so a
// file with only one kind of line end is still scanned once, not once a line.
const char* nextOf(char c, const char* from, const char* end, const char*& cache)
{
    if (!cache || cache < from) {
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
        cache = hit ? static_cast<const char*>(hit) : end;
    }
    return cache;
}

} // namespace

std::string fileErrorText(const char* what, const std::filesystem::path& file)
{
    const auto u8 = file.u8string();
    return std::string(what) + "“" + std::string(u8.begin(), u8.end()) + "”。";
}

bool forEachLine(const std::filesystem::path& file, const std::function<bool(std::string_view)>& fn,
                 std::string* error)
{
    auto setError = [&](const char* what) {
        if (error)
            *error = fileErrorText(what, file);
        return false;
    };
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return setError("无法打开文件");

    // Read in 1 MiB pieces; a smaller file needs no more room than its size.
    std::size_t piece = 1u << 20;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size < piece)
        piece = std::max<std::size_t>(static_cast<std::size_t>(size), 4096);
    std::vector<char> chunk(piece);
    std::string carry;       // a line split across chunks
    bool skipLf = false;     // the previous chunk ended in CR: a leading LF belongs to it
    while (true) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        const char* p = chunk.data();
        const char* end = p + got;
        if (skipLf && *p == '\n')
            ++p;
        skipLf = false;
        const char* lf = nullptr;
        const char* cr = nullptr;
        while (p < end) {
            // A line ends at LF, CR LF or a CR alone.
            const char* eol = std::min(nextOf('\n', p, end, lf), nextOf('\r', p, end, cr));
            if (eol == end) {
                carry.append(p, end);
                break;
            }
            bool go;
            if (!carry.empty()) {
                carry.append(p, eol);
                go = fn(carry);
                carry.clear();
            } else {
                go = fn(std::string_view(p, static_cast<std::size_t>(eol - p)));
            }
            if (!go)
                return true;
            p = eol + 1;
            if (*eol == '\r') {
                if (p < end && *p == '\n')
                    ++p;
                else if (p == end)
                    skipLf = true;
            }
        }
        if (in.eof())
            break;
    }
    if (in.bad())
        return setError("读取文件失败：");
    if (!carry.empty())
        fn(carry);
    return true;
}

} // namespace zelvor
