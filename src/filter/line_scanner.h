#pragma once
// Line-by-line reading for large text files, without a call through
// std::function per line: the file is read block by block into one buffer,
// a line split by a block boundary is moved to the buffer's front before the
// next block is read, and each line goes to a caller's function inlined here.
// Line ends are as in forEachLine (text_lines.h): CR LF, LF or a CR alone; a
// final line end does not start another line.
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "filter/text_lines.h"

namespace zelvor {

// Calls slow(line) for every line, unless fast(p, end, eof) handled it first.
// fast gets the unread bytes [p, end) — at least `room` of them unless eof
// is true — and returns where its line's text ends (at the line end, or at
// end when eof) after handling the line, or nullptr, having changed nothing,
// to leave the line to slow. slow returns false to stop reading (not an
// error). Returns false with *error when the file cannot be opened or read.
template <class Fast, class Slow>
bool scanLines(const std::filesystem::path& file, std::vector<char>& buffer, std::size_t room, Fast&& fast,
               Slow&& slow, std::string* error)
{
    auto setError = [&](const char* what) {
        if (error)
            *error = fileErrorText(what, file);
        return false;
    };
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return setError("无法打开文件");
    if (buffer.size() < 2 * room + 16)
        buffer.resize(2 * room + 16);
    std::size_t at = 0;   // first unread byte
    std::size_t have = 0; // bytes in the buffer
    bool eof = false;
    bool skipLf = false; // a line ended in a CR that was the last byte read
    // Keeps the unread bytes, moved to the front, and reads after them.
    auto refill = [&]() {
        if (at > 0) {
            std::memmove(buffer.data(), buffer.data() + at, have - at);
            have -= at;
            at = 0;
        }
        if (have == buffer.size())
            buffer.resize(buffer.size() * 2); // one line longer than the buffer
        in.read(buffer.data() + have, static_cast<std::streamsize>(buffer.size() - have));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        have += got;
        if (!in)
            eof = true;
        return !in.bad();
    };
    while (true) {
        if (!eof && have - at < room) {
            if (!refill())
                return setError("读取文件失败：");
            continue;
        }
        const char* p = buffer.data() + at;
        const char* end = buffer.data() + have;
        if (p == end) {
            if (eof)
                break;
            if (!refill())
                return setError("读取文件失败：");
            continue;
        }
        if (skipLf) {
            skipLf = false;
            if (*p == '\n') {
                ++at;
                continue;
            }
        }
        const char* e = fast(p, end, eof);
        if (!e) {
            e = p;
            while (e < end && *e != '\n' && *e != '\r')
                ++e;
            // Not yet the whole line, or a CR whose LF may follow in the next block.
            if (!eof && (e == end || (*e == '\r' && e + 1 == end))) {
                if (!refill())
                    return setError("读取文件失败：");
                continue;
            }
            if (!slow(std::string_view(p, static_cast<std::size_t>(e - p))))
                return true;
        }
        if (e < end) {
            if (*e == '\r' && e + 1 == end)
                skipLf = !eof; // its LF, if any, comes with the next block
            e += (*e == '\r' && e + 1 < end && e[1] == '\n') ? 2 : 1;
        }
        at = static_cast<std::size_t>(e - buffer.data());
    }
    return true;
}

} // namespace zelvor
