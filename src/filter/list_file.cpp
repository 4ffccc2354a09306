#include "filter/list_file.h"

#include <cstring>
#include <fstream>

#include "filter/text_lines.h"

namespace zelvor {

bool ListFile::open(const std::filesystem::path& file, const ProgressFn& progress)
{
    close();
    file_ = file;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const auto u8 = file.u8string();
        error_ = "无法打开文件“" + std::string(u8.begin(), u8.end()) + "”。";
        return false;
    }
    std::error_code ec;
    const auto total = static_cast<std::int64_t>(std::filesystem::file_size(file, ec));

    std::vector<char> chunk(4u << 20);
    std::int64_t offset = 0;
    std::int64_t newlines = 0;
    bool lastEndsLine = true;
    blockStart_.push_back(0);
    while (true) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        const char* base = chunk.data();
        const char* p = base;
        const char* end = base + got;
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nl)
                break;
            ++newlines;
            if (newlines % IndexStride == 0)
                blockStart_.push_back(offset + (nl - base) + 1);
            p = nl + 1;
        }
        lastEndsLine = base[got - 1] == '\n';
        offset += static_cast<std::int64_t>(got);
        if (!reportProgress(progress, offset, total)) {
            close();
            error_.clear();
            return false;
        }
        if (in.eof())
            break;
    }
    if (in.bad()) {
        close();
        error_ = "读取文件失败。";
        return false;
    }
    lines_ = newlines + (lastEndsLine ? 0 : 1);
    bytes_ = offset;
    // A start recorded at the very end of the file begins no line.
    if (static_cast<std::int64_t>(blockStart_.size()) > (lines_ + IndexStride - 1) / IndexStride)
        blockStart_.resize(static_cast<std::size_t>((lines_ + IndexStride - 1) / IndexStride));
    open_ = true;
    return true;
}

void ListFile::close()
{
    open_ = false;
    lines_ = 0;
    bytes_ = 0;
    blockStart_.clear();
    edits_.clear();
    cachedBlock_ = -1;
    cachedLines_.clear();
    error_.clear();
}

bool ListFile::loadBlock(std::int64_t b) const
{
    if (b == cachedBlock_)
        return true;
    cachedBlock_ = -1;
    cachedLines_.clear();
    if (b < 0 || b >= static_cast<std::int64_t>(blockStart_.size()))
        return false;
    const std::int64_t from = blockStart_[static_cast<std::size_t>(b)];
    const std::int64_t to = b + 1 < static_cast<std::int64_t>(blockStart_.size())
                                ? blockStart_[static_cast<std::size_t>(b + 1)]
                                : bytes_;
    std::ifstream in(file_, std::ios::binary);
    if (!in)
        return false;
    std::string text(static_cast<std::size_t>(to - from), '\0');
    in.seekg(from);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t nl = rest.find('\n');
        if (nl == std::string_view::npos) {
            cachedLines_.emplace_back(withoutCr(rest));
            break;
        }
        cachedLines_.emplace_back(withoutCr(rest.substr(0, nl)));
        rest.remove_prefix(nl + 1);
    }
    cachedBlock_ = b;
    return true;
}

std::string ListFile::line(std::int64_t i) const
{
    if (i < 0 || i >= lines_)
        return {};
    if (auto e = edits_.find(i); e != edits_.end())
        return e->second;
    if (!loadBlock(i / IndexStride))
        return {};
    const auto j = static_cast<std::size_t>(i % IndexStride);
    return j < cachedLines_.size() ? cachedLines_[j] : std::string();
}

std::vector<std::string> ListFile::lines(std::int64_t first, std::int64_t count) const
{
    std::vector<std::string> out;
    first = std::max<std::int64_t>(first, 0);
    const std::int64_t last = std::min(lines_, first + std::max<std::int64_t>(count, 0));
    for (std::int64_t i = first; i < last; ++i)
        out.push_back(line(i));
    return out;
}

bool ListFile::setLine(std::int64_t i, std::string text)
{
    if (i < 0 || i >= lines_)
        return false;
    edits_[i] = std::move(text);
    return true;
}

FileWriteResult ListFile::saveAsBetFile(const std::filesystem::path& file, const ProgressFn& progress) const
{
    BetFileWriter out(file);
    if (!out.isOpen())
        return out.finish();
    std::int64_t i = 0;
    bool stopped = false;
    std::string readError;
    const bool read = forEachLine(file_, [&](std::string_view text) {
        if (i >= lines_)
            return false;
        if (i % 65536 == 0 && !reportProgress(progress, i, lines_)) {
            stopped = true;
            return false;
        }
        if (auto e = edits_.find(i); e != edits_.end())
            out.addShownLine(e->second);
        else
            out.addShownLine(text);
        ++i;
        return true;
    }, &readError);
    if (stopped)
        return out.stop();
    if (!read) {
        FileWriteResult failed = out.stop();
        failed.status = FileWriteResult::Status::Failed;
        failed.error = readError;
        return failed;
    }
    return out.finish();
}

} // namespace zelvor
