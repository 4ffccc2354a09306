#include "filter/betlist.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <system_error>

#include "common/error.h"
#include "common/format.h"
#include "common/text.h"
#include "filter/text_lines.h"

namespace zelvor {

namespace {

// "%.2d" of a number into out; returns the characters written (2, or more above 99).
inline int putTwo(char* out, int v)
{
    if (v >= 0 && v < 100) {
        out[0] = static_cast<char>('0' + v / 10);
        out[1] = static_cast<char>('0' + v % 10);
        return 2;
    }
    const std::string s = std::to_string(v);
    if (v < 0) { // "%.2d" of -5 is "-05"
        std::string t = "-";
        if (s.size() < 3)
            t += '0';
        t += s.substr(1);
        std::memcpy(out, t.data(), t.size());
        return static_cast<int>(t.size());
    }
    std::memcpy(out, s.data(), s.size());
    return static_cast<int>(s.size());
}

// The running "%.7d" sequence number, incremented in place.
class SequenceCounter {
public:
    SequenceCounter() { std::memset(digits_, '0', sizeof digits_); }
    void next()
    {
        int i = kWidth - 1;
        while (i > 0 && digits_[i] == '9')
            digits_[i--] = '0';
        ++digits_[i];
        used_ = std::max(used_, kWidth - i);
    }
    const char* text() const { return digits_ + kWidth - width(); }
    int width() const { return std::max(used_, 7); }

private:
    static constexpr int kWidth = 20;
    char digits_[kWidth];
    int used_ = 1;
};

std::string sequenceText(std::int64_t n)
{
    std::string s = std::to_string(n);
    if (s.size() < 7)
        s.insert(0, 7 - s.size(), '0');
    return s;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimBlanks(std::string_view s) { return trimmedOf(s, " \t\r"); }

std::string pathText(const std::filesystem::path& p)
{
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

} // namespace

std::string betLineWithSpecial(std::int64_t sequence, std::span<const std::uint8_t> reds, int special)
{
    std::string s = sequenceText(sequence) + "    ";
    char buf[16];
    for (std::size_t i = 0; i < reds.size(); ++i) {
        if (i)
            s += ' ';
        s.append(buf, static_cast<std::size_t>(putTwo(buf, reds[i])));
    }
    s += '+';
    s.append(buf, static_cast<std::size_t>(putTwo(buf, special)));
    return s;
}

std::string betLineRedOnly(std::int64_t sequence, std::span<const std::uint8_t> reds)
{
    std::string s = sequenceText(sequence) + "    ";
    char buf[16];
    for (std::uint8_t v : reds) {
        s.append(buf, static_cast<std::size_t>(putTwo(buf, v)));
        s += ' ';
    }
    return s;
}

// ---------------------------------------------------------------- SafeFileWriter

SafeFileWriter::SafeFileWriter(std::filesystem::path target, std::size_t bufferSize)
    : target_(std::move(target))
{
    temp_ = target_;
    temp_ += ".tmp";
    buffer_.resize(std::max<std::size_t>(bufferSize, 4096));
    out_.open(temp_, std::ios::binary | std::ios::trunc);
    ok_ = out_.is_open();
    if (!ok_)
        error_ = "无法创建文件“" + pathText(target_) + "”。";
}

SafeFileWriter::~SafeFileWriter()
{
    if (!committed_) {
        if (out_.is_open())
            out_.close();
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
    }
}

void SafeFileWriter::fail(const std::string& what)
{
    if (ok_)
        error_ = what;
    ok_ = false;
}

bool SafeFileWriter::flush()
{
    if (!ok_)
        return false;
    if (used_) {
        out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
        if (!out_)
            fail("写入文件“" + pathText(target_) + "”失败。");
    }
    return ok_;
}

char* SafeFileWriter::reserve(std::size_t n)
{
    if (buffer_.size() - used_ < n) {
        flush();
        if (buffer_.size() < n)
            buffer_.resize(n);
    }
    return buffer_.data() + used_;
}

void SafeFileWriter::append(std::string_view s)
{
    std::memcpy(reserve(s.size()), s.data(), s.size());
    used_ += s.size();
}

bool SafeFileWriter::commit()
{
    if (!flush())
        return false;
    out_.close();
    if (out_.fail()) {
        fail("写入文件“" + pathText(target_) + "”失败。");
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp_, target_, ec);
    if (ec) {
        fail("无法保存文件“" + pathText(target_) + "”：" + ec.message());
        return false;
    }
    committed_ = true;
    return true;
}

// ---------------------------------------------------------------- list file

FileWriteResult writeBetList(const std::filesystem::path& listFile, const CombinationTable& table,
                             BetLineLayout layout, std::span<const int> specials, const ProgressFn& progress)
{
    FileWriteResult result;
    SafeFileWriter out(listFile);
    if (!out.isOpen()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = out.error();
        return result;
    }

    std::vector<int> blues(specials.begin(), specials.end());
    std::sort(blues.begin(), blues.end());
    blues.erase(std::unique(blues.begin(), blues.end()), blues.end());
    // Each blue's "%.2d" text plus CR LF, made once.
    std::vector<std::string> blueTails;
    for (int b : blues) {
        char buf[16];
        std::string t(buf, static_cast<std::size_t>(putTwo(buf, b)));
        blueTails.push_back(t + "\r\n");
    }

    const int k = table.pickCount();
    const std::int64_t rows = table.size();
    const std::uint8_t* numbers = table.numbers();
    const std::uint8_t* marks = table.marks();
    SequenceCounter seq;
    char body[256]; // "    01 02 03 04 05 06+" or "    03 07 11 19 25 33 \r\n"
    constexpr std::int64_t kProgressEvery = 4096;

    for (std::int64_t r = 0; r < rows; ++r) {
        if (r % kProgressEvery == 0 && !reportProgress(progress, r, rows)) {
            result.status = FileWriteResult::Status::Stopped;
            return result; // the writer drops its temporary file
        }
        if (marks[r])
            continue;
        const std::uint8_t* row = numbers + r * k;
        int len = 0;
        std::memcpy(body, "    ", 4);
        len = 4;
        if (layout == BetLineLayout::WithSpecial) {
            for (int i = 0; i < k; ++i) {
                if (i)
                    body[len++] = ' ';
                len += putTwo(body + len, row[i]);
            }
            body[len++] = '+';
            for (const std::string& tail : blueTails) {
                seq.next();
                const int w = seq.width();
                char* p = out.reserve(static_cast<std::size_t>(w + len) + tail.size());
                std::memcpy(p, seq.text(), static_cast<std::size_t>(w));
                std::memcpy(p + w, body, static_cast<std::size_t>(len));
                std::memcpy(p + w + len, tail.data(), tail.size());
                out.advance(static_cast<std::size_t>(w + len) + tail.size());
                ++result.lines;
            }
        } else {
            for (int i = 0; i < k; ++i) {
                len += putTwo(body + len, row[i]);
                body[len++] = ' ';
            }
            body[len++] = '\r';
            body[len++] = '\n';
            seq.next();
            const int w = seq.width();
            char* p = out.reserve(static_cast<std::size_t>(w + len));
            std::memcpy(p, seq.text(), static_cast<std::size_t>(w));
            std::memcpy(p + w, body, static_cast<std::size_t>(len));
            out.advance(static_cast<std::size_t>(w + len));
            ++result.lines;
        }
    }
    if (!out.commit()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = out.error();
        return result;
    }
    reportProgress(progress, rows, rows);
    return result;
}

// ---------------------------------------------------------------- BetFile save

const char* betFileSuffix(BetListOwner owner)
{
    switch (owner) {
    case BetListOwner::TotalFilter: return "期总体过滤投注号码.txt";
    case BetListOwner::RepeatExclusion: return "期无穷重码投注号码.txt";
    case BetListOwner::SumExclusion: return "期总体过滤投注号码.txt";
    case BetListOwner::SkewExclusion: return "期无穷偏态投注号码.txt";
    case BetListOwner::FollowExclusion: return "期无穷跟随投注号码.txt";
    }
    return ".txt";
}

std::string defaultBetFileName(const std::string& lotteryName, const DrawHistory& history, BetListOwner owner)
{
    const long long last = history.empty() ? 0 : history.issue(history.size() - 1);
    return lotteryName + std::to_string(last + 1) + betFileSuffix(owner);
}

std::string followExclusionOpenName(const std::string& lotteryName, const std::string& issueText)
{
    return lotteryName + issueText + "期投注号码.txt";
}

std::string betFileLine(std::string_view shown, std::int64_t lineNumber)
{
    std::size_t width = 7;
    for (std::int64_t n = lineNumber; n >= 10'000'000; n /= 10)
        ++width;
    if (shown.size() <= width)
        return {};
    return std::string(trimBlanks(shown.substr(width)));
}

void BetFileWriter::addShownLine(std::string_view shownLine)
{
    const std::string bet = betFileLine(shownLine, ++shown_);
    if (bet.empty())
        return;
    out_.append(bet);
    out_.append("\r\n");
    ++lines_;
}

FileWriteResult BetFileWriter::finish()
{
    FileWriteResult result;
    result.lines = lines_;
    if (!out_.commit()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = out_.error();
    }
    return result;
}

FileWriteResult BetFileWriter::stop()
{
    FileWriteResult result;
    result.status = FileWriteResult::Status::Stopped;
    result.lines = lines_;
    return result;
}

FileWriteResult saveBetFile(const std::filesystem::path& file, const LineSource& shownLines)
{
    BetFileWriter out(file);
    std::string_view line;
    while (shownLines(line))
        out.addShownLine(line);
    return out.finish();
}

FileWriteResult saveBetFile(const std::filesystem::path& file, std::span<const std::string> shownLines)
{
    std::size_t next = 0;
    return saveBetFile(file, [&](std::string_view& line) {
        if (next >= shownLines.size())
            return false;
        line = shownLines[next++];
        return true;
    });
}

// ---------------------------------------------------------------- BetFile load

namespace {

std::string lineError(std::int64_t lineNo, const std::string& what)
{
    return "第" + std::to_string(lineNo) + "行：" + what;
}

std::string rangeError(std::int64_t lineNo, std::string_view text, int range)
{
    return lineError(lineNo, "号码“" + std::string(text) + "”不在1到" + std::to_string(range) + "之间。");
}

// The two-character field at 0-based offset `at`, shorter where the line ends.
std::string_view field(std::string_view line, std::size_t at)
{
    if (at >= line.size())
        return {};
    return line.substr(at, 2);
}

} // namespace

BetFileLoad loadBetFile(const std::filesystem::path& file, const BetFileLoadOptions& options)
{
    BetFileLoad load;
    const int k = options.pickCount;
    const int m = options.specialCount;
    const bool totalFilter = options.reader == BetFileReader::TotalFilter;
    load.pickCount = k;

    auto failed = [&](std::string message) {
        load.status = BetFileLoad::Status::Failed;
        load.error = std::move(message);
        load.numbers.clear();
        load.shownLines.clear();
        return false;
    };

    // Numbers are held in one byte each and a bet has at least one of them.
    if (k < 1 || m < 0 || options.numberRange < k || options.numberRange > 255 || options.specialRange < 0
        || options.specialRange > 255) {
        failed("无法载入投注号码：彩票的号码个数设置无效。");
        return load;
    }

    std::unique_ptr<SafeFileWriter> list;
    if (!options.listFile.empty()) {
        list = std::make_unique<SafeFileWriter>(options.listFile, 1u << 20);
        if (!list->isOpen()) {
            failed(list->error());
            return load;
        }
    }
    auto show = [&](std::string_view text) {
        if (list) {
            list->append(text);
            list->append("\r\n");
        } else {
            load.shownLines.emplace_back(text);
        }
        ++load.linesShown;
    };

    std::vector<bool> redSeen(static_cast<std::size_t>(std::max(options.numberRange, 0)) + 1, false);
    std::vector<bool> blueSeen(static_cast<std::size_t>(std::max(options.specialRange, 0)) + 1, false);
    std::vector<std::string> previousKey(static_cast<std::size_t>(k));
    std::vector<std::uint8_t> current(static_cast<std::size_t>(k));
    std::vector<std::uint8_t> parsed(static_cast<std::size_t>(k));
    bool reordered = false; // the current line's numbers were not ascending
    bool readingBlues = totalFilter;
    const std::size_t longLine = static_cast<std::size_t>(std::max(3 * (k + m) - 1, 0));
    std::int64_t lineNo = 0;
    std::string shown;

    std::string readError;
    const bool read = forEachLine(file, [&](std::string_view line) {
        ++lineNo;
        if (lineNo % 8192 == 0 && !reportProgress(options.progress, lineNo, 0)) {
            load.status = BetFileLoad::Status::Stopped;
            return false;
        }
        if (totalFilter && trimBlanks(line).empty())
            return false; // the rest of the file is ignored

        bool sameKey = lineNo > 1;
        for (int i = 0; i < k && sameKey; ++i)
            sameKey = field(line, static_cast<std::size_t>(3 * i)) == previousKey[static_cast<std::size_t>(i)];
        bool newCombination = false;
        if (!sameKey) {
            for (int i = 0; i < k; ++i) {
                const std::string f(field(line, static_cast<std::size_t>(3 * i)));
                int v = 0;
                if (!tryParseInteger(f, v))
                    return failed(lineError(lineNo, integerConversionMessage(f)));
                if (v < 1 || v > options.numberRange)
                    return failed(rangeError(lineNo, f, options.numberRange));
                parsed[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
                previousKey[static_cast<std::size_t>(i)] = std::string(f);
            }
            // A hand-edited line may list its numbers out of order: the bet is
            // the same set, so it is sorted. A number twice is no bet at all.
            reordered = !std::is_sorted(parsed.begin(), parsed.end());
            if (reordered)
                std::sort(parsed.begin(), parsed.end());
            if (const auto twice = std::adjacent_find(parsed.begin(), parsed.end()); twice != parsed.end())
                return failed(lineError(lineNo, "号码“" + two(*twice) + "”重复。"));
            // Consecutive lines of one set (in any order) give one combination.
            newCombination = lineNo == 1 || parsed != current;
            current = parsed;
        }
        if (newCombination) {
            if (load.combinations >= options.maxCombinations)
                return failed("文件中的投注号码超过" + std::to_string(options.maxCombinations)
                              + "注，无法载入！");
            load.numbers.insert(load.numbers.end(), current.begin(), current.end());
            ++load.combinations;
        }

        if (totalFilter) {
            for (std::uint8_t v : current)
                redSeen[v] = true;
            if (readingBlues && line.size() < longLine)
                readingBlues = false;
            if (readingBlues) {
                for (int i = k + 1; i <= k + m; ++i) {
                    const std::string f(field(line, static_cast<std::size_t>(3 * i - 3)));
                    int v = 0;
                    if (!tryParseInteger(f, v))
                        return failed(lineError(lineNo, integerConversionMessage(f)));
                    if (v < 1 || v > options.specialRange)
                        return failed(rangeError(lineNo, f, options.specialRange));
                    blueSeen[static_cast<std::size_t>(v)] = true;
                }
            }
            ++load.linesRead;
            shown = sequenceText(load.linesRead);
            shown += "    ";
            if (reordered) {
                // The sorted numbers in place of the line's own, the rest as it was.
                shown += numbersJoined(std::vector<int>(current.begin(), current.end()));
                const std::size_t rest = static_cast<std::size_t>(3 * k - 1);
                if (line.size() > rest)
                    shown += line.substr(rest);
            } else {
                shown += line;
            }
            show(shown);
        } else {
            ++load.linesRead;
            if (newCombination)
                show(betLineRedOnly(load.combinations, current));
        }
        return true;
    }, &readError);

    if (!read)
        return failed(readError), load;
    if (load.status != BetFileLoad::Status::Loaded) {
        if (load.status == BetFileLoad::Status::Stopped)
            load.numbers.clear();
        return load;
    }
    if (list && !list->commit())
        return failed(list->error()), load;

    for (int v = 1; v < static_cast<int>(redSeen.size()); ++v)
        if (redSeen[static_cast<std::size_t>(v)])
            load.chosenReds.push_back(v);
    for (int v = 1; v < static_cast<int>(blueSeen.size()); ++v)
        if (blueSeen[static_cast<std::size_t>(v)])
            load.chosenBlues.push_back(v);
    return load;
}

BetFileLoadOptions betFileLoadOptions(BetFileReader reader, const LotteryParams& lottery,
                                      std::filesystem::path listFile)
{
    BetFileLoadOptions options;
    options.reader = reader;
    options.numberRange = lottery.numberRange;
    options.pickCount = lottery.pickCount;
    options.specialRange = lottery.specialRange;
    options.specialCount = lottery.specialCount;
    options.listFile = std::move(listFile);
    return options;
}

} // namespace zelvor
