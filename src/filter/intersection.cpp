#include "filter/intersection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/error.h"
#include "common/text.h"
#include "data/combinations.h"
#include "filter/betlist.h"
#include "filter/line_scanner.h"
#include "filter/text_lines.h"

namespace zelvor {

namespace {

std::string pathText(const std::filesystem::path& p)
{
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return c == ' ' || c == '+' || c == ','; }
bool isDigit(char c) { return isAsciiDigit(c); }

std::string_view trimmed(std::string_view s) { return trimmedOf(s, " \t"); }

// A field as a whole number; false when it is not one. Short digit runs are
// read directly, anything else goes through the program's integer reading.
bool fieldValueSlow(std::string_view f, int& v);

// Two-digit fields, nearly all of them, are read here without a call.
inline bool fieldValue(std::string_view f, int& v)
{
    if (f.size() == 2 && isDigit(f[0]) && isDigit(f[1])) {
        v = (f[0] - '0') * 10 + (f[1] - '0');
        return true;
    }
    return fieldValueSlow(f, v);
}

bool fieldValueSlow(std::string_view f, int& v)
{
    if (!f.empty() && f.size() <= 9) {
        int x = 0;
        bool digits = true;
        for (char c : f) {
            if (!isDigit(c)) {
                digits = false;
                break;
            }
            x = x * 10 + (c - '0');
        }
        if (digits) {
            v = x;
            return true;
        }
    }
    return tryParseInteger(std::string(f), v);
}

char* putTwo(char* out, int v)
{
    if (v >= 100) {
        *out++ = static_cast<char>('0' + v / 100);
        v %= 100;
    }
    *out++ = static_cast<char>('0' + v / 10);
    *out++ = static_cast<char>('0' + v % 10);
    return out;
}

} // namespace

std::string readTypedSpecials(std::string_view text, int specialRange, std::vector<int>& specials)
{
    specials.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (isSeparator(text[i]) || text[i] == '\t'))
            ++i;
        std::size_t j = i;
        while (j < text.size() && !isSeparator(text[j]) && text[j] != '\t')
            ++j;
        if (j > i) {
            const std::string_view f = text.substr(i, j - i);
            int v = 0;
            if (!fieldValue(f, v))
                return integerConversionMessage(std::string(f));
            if (v < 1 || v > specialRange)
                return specialRange > 0 ? "特码必须在1到" + std::to_string(specialRange) + "之间！"
                                        : std::string("本彩种没有特码！");
            specials.push_back(v);
        }
        i = j;
    }
    std::sort(specials.begin(), specials.end());
    specials.erase(std::unique(specials.begin(), specials.end()), specials.end());
    if (specials.empty())
        return "请输入特码！";
    return {};
}

IntersectionResult countIntersection(const LotteryParams& lottery, const IntersectionInput& input,
                                     IntersectionCounts& counts)
{
    IntersectionResult result;
    auto refuse = [&](std::string message) {
        result.status = IntersectionResult::Status::Refused;
        result.message = std::move(message);
        return result;
    };
    const int F = static_cast<int>(input.files.size());
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    const int M = lottery.specialRange;
    const int S = lottery.specialCount;
    if (F == 0)
        return refuse("请先导入大底文件！");
    if (F > kMaxIntersectionFiles)
        return refuse("最多只能导入" + std::to_string(kMaxIntersectionFiles) + "个大底文件！");
    if (lottery.kind != LotteryKind::Lotto || k < 5 || k > 7 || N < k || N > 99)
        return refuse("只有5到7个号码的乐透型彩票可以进行大底交集！");
    const int a = input.toleranceLow;
    const int b = input.toleranceHigh;
    if (a < 0 || a > b || b > F - 1)
        return refuse("交集容错必须满足0≤前一个≤后一个≤" + std::to_string(F - 1) + "（文件数减1）！");
    std::vector<int> typed;
    if (input.specials == SpecialChoice::Typed) {
        std::string why = readTypedSpecials(input.typed, M, typed);
        if (!why.empty())
            return refuse(std::move(why));
    }

    // Rank table: step[i][v] = sum over j = 1..v-1 of C(N - j, k - 1 - i), so
    // the 0-based rank of x1 < .. < xk is the sum of step[i][xi] - step[i][x(i-1) + 1].
    const std::int64_t rows = Binomial(N, k);
    const std::size_t width = static_cast<std::size_t>(N) + 2;
    std::vector<std::int64_t> step(static_cast<std::size_t>(k) * width, 0);
    for (int i = 0; i < k; ++i)
        for (int v = 2; v <= N + 1; ++v)
            step[i * width + v] = step[i * width + v - 1] + std::max<std::int64_t>(Binomial(N - (v - 1), k - 1 - i), 0);
    // The same sum regrouped by number: rank = sum over i of part[i][xi], with
    // part[i][v] = step[i][v] - step[i + 1][v + 1] (step[0][1] is 0).
    std::vector<std::int64_t> part(static_cast<std::size_t>(k) * width, 0);
    for (int i = 0; i < k; ++i)
        for (int v = 1; v <= N; ++v)
            part[i * width + v] = step[i * width + v] - (i + 1 < k ? step[(i + 1) * width + v + 1] : 0);

    // Zero-filled by calloc, so pages never touched cost nothing.
    counts.rows = rows;
    counts.entries.reset(static_cast<IntersectionCounts::Entry*>(
        std::calloc(static_cast<std::size_t>(std::max<std::int64_t>(rows, 1)), sizeof(IntersectionCounts::Entry))));
    if (!counts.entries) {
        result.status = IntersectionResult::Status::Failed;
        result.message = "内存不足";
        return result;
    }
    IntersectionCounts::Entry* tally = counts.entries.get();
    std::vector<bool> marked(static_cast<std::size_t>(std::max(M, 0)) + 1, false);
    bool withSpecials = true;
    const std::size_t shortLine = static_cast<std::size_t>(std::max(3 * k + 3 * S - 1, 0));
    // The usual line, "01 02 03 04 05 06" with S specials "+01" after it:
    // read by the fast scanner below when it has that many bytes and a line end.
    const std::size_t plainLength = static_cast<std::size_t>(3 * k - 1);
    const std::size_t fullLength = plainLength + static_cast<std::size_t>(3 * std::max(S, 0));
    std::vector<char> buffer(std::size_t{1} << 20);

    for (int f = 0; f < F; ++f) {
        if (!reportProgress(input.progress, f, F)) {
            result.status = IntersectionResult::Status::Stopped;
            return result;
        }
        const std::uint16_t fileStamp = static_cast<std::uint16_t>(f + 1);
        withSpecials = true;
        std::int64_t lineNo = 0;
        std::string bad;
        auto fail = [&](const std::string& detail) {
            bad = "大底文件“" + pathText(input.files[static_cast<std::size_t>(f)]) + "”第" + std::to_string(lineNo) +
                  "行" + detail;
            return false;
        };
        constexpr int kBatch = 32;
        std::int64_t pending[kBatch];
        int pendingCount = 0;
        // A combination repeated inside one file counts once for it.
        auto countPending = [&] {
            for (int i = 0; i < pendingCount; ++i) {
                IntersectionCounts::Entry& t = tally[pending[i]];
                if (t.stamp != fileStamp) {
                    t.stamp = fileStamp;
                    ++t.count;
                }
            }
            pendingCount = 0;
        };
        // Counted a batch later, so the entry's cache line is on its way meanwhile.
        auto count = [&](std::int64_t rank) {
            __builtin_prefetch(&tally[rank], 1);
            pending[pendingCount++] = rank;
            if (pendingCount == kBatch)
                countPending();
        };

        // The usual line at p: k two-digit numbers and, when there, S two-digit
        // specials, each after one separator, then the line end (or the file's
        // end). Anything else, or a line that would be refused, is left to
        // the general reading with nothing changed.
        auto fast = [&](const char* p, const char* end, bool eof) -> const char* {
            const std::size_t left = static_cast<std::size_t>(end - p);
            if (left < plainLength)
                return nullptr;
            auto digit = [](char c) { return static_cast<unsigned>(c - '0'); };
            int numbers[8];
            for (int j = 0; j < k; ++j) {
                const unsigned hi = digit(p[3 * j]);
                const unsigned lo = digit(p[3 * j + 1]);
                if (hi > 9 || lo > 9)
                    return nullptr;
                if (j + 1 < k && !isSeparator(p[3 * j + 2]))
                    return nullptr;
                const int v = static_cast<int>(hi * 10 + lo);
                int q = j;
                while (q > 0 && numbers[q - 1] > v) {
                    numbers[q] = numbers[q - 1];
                    --q;
                }
                numbers[q] = v;
            }
            auto lineEnd = [&](std::size_t at) {
                return at < left ? (p[at] == '\r' || p[at] == '\n') : eof;
            };
            bool specials = false;
            std::size_t length = plainLength;
            if (!lineEnd(plainLength)) {
                if (S <= 0 || left < fullLength)
                    return nullptr;
                for (int j = 0; j < S; ++j) {
                    const std::size_t at = plainLength + 3 * static_cast<std::size_t>(j);
                    if (!isSeparator(p[at]) || digit(p[at + 1]) > 9 || digit(p[at + 2]) > 9)
                        return nullptr;
                }
                if (!lineEnd(fullLength))
                    return nullptr;
                specials = true;
                length = fullLength;
            }
            int prev = 0;
            std::int64_t rank = 0;
            for (int j = 0; j < k; ++j) {
                if (numbers[j] <= prev || numbers[j] > N)
                    return nullptr; // a repeat, 0 or above N: the general reading says which
                rank += part[j * width + numbers[j]];
                prev = numbers[j];
            }
            const bool readSpecials = specials && withSpecials;
            if (readSpecials)
                for (int j = 0; j < S; ++j) {
                    const char* q = p + plainLength + 3 * j + 1;
                    const int v = static_cast<int>(digit(q[0]) * 10 + digit(q[1]));
                    if (v < 1 || v > M)
                        return nullptr;
                }
            // The line is taken: from here on it changes the counts.
            ++lineNo;
            if (!specials && S > 0)
                withSpecials = false; // shorter than a line with specials
            count(rank);
            if (readSpecials)
                for (int j = 0; j < S; ++j) {
                    const char* q = p + plainLength + 3 * j + 1;
                    marked[static_cast<std::size_t>(digit(q[0]) * 10 + digit(q[1]))] = true;
                }
            return p + length;
        };

        std::string_view fields[16];
        int numbers[8];
        auto general = [&](std::string_view raw) {
            ++lineNo;
            std::string_view line = trimmed(raw);
            if (line.empty())
                return true;
            // The window's own saved lines start with their sequence number.
            std::size_t digits = 0;
            while (digits < line.size() && isDigit(line[digits]))
                ++digits;
            if (digits >= 7 && digits < line.size() && line[digits] == ' ')
                line = trimmed(line.substr(digits));
            if (line.size() < shortLine)
                withSpecials = false;
            const int wantFields = k + (withSpecials ? S : 0);
            int got = 0;
            std::size_t i = 0;
            while (i < line.size() && got < wantFields) {
                while (i < line.size() && isSeparator(line[i]))
                    ++i;
                if (i >= line.size())
                    break;
                std::size_t j = i;
                while (j < line.size() && !isSeparator(line[j]))
                    ++j;
                fields[got++] = line.substr(i, j - i);
                i = j;
            }
            if (got < k)
                return fail("的号码不足" + std::to_string(k) + "个：“" + clipped(std::string(line)) + "”");
            for (int j = 0; j < k; ++j) {
                int v = 0;
                if (!fieldValue(fields[j], v))
                    return fail("：" + integerConversionMessage(std::string(fields[j])));
                if (v < 1 || v > N)
                    return fail("的号码不在1到" + std::to_string(N) + "之间：“" + clipped(std::string(line)) + "”");
                int p = j;
                while (p > 0 && numbers[p - 1] > v) {
                    numbers[p] = numbers[p - 1];
                    --p;
                }
                numbers[p] = v;
            }
            std::int64_t rank = 0;
            int prev = 0;
            for (int j = 0; j < k; ++j) {
                if (numbers[j] == prev)
                    return fail("的号码重复：“" + clipped(std::string(line)) + "”");
                rank += part[j * width + numbers[j]];
                prev = numbers[j];
            }
            count(rank);
            if (withSpecials && S > 0) {
                if (got < k + S) {
                    withSpecials = false; // as short as a line without specials
                    return true;
                }
                for (int j = k; j < k + S; ++j) {
                    int v = 0;
                    if (!fieldValue(fields[j], v))
                        return fail("：" + integerConversionMessage(std::string(fields[j])));
                    if (v < 1 || v > M)
                        return fail("的特码不在1到" + std::to_string(M) + "之间：“" + clipped(std::string(line)) + "”");
                    marked[static_cast<std::size_t>(v)] = true;
                }
            }
            return true;
        };
        std::string readError;
        const bool read =
            scanLines(input.files[static_cast<std::size_t>(f)], buffer, fullLength + 2, fast, general, &readError);
        countPending();
        if (!read || !bad.empty()) {
            result.status = IntersectionResult::Status::Failed;
            result.message = !read ? readError : bad;
            return result;
        }
    }

    switch (input.specials) {
    case SpecialChoice::Import:
        break;
    case SpecialChoice::None:
        withSpecials = false;
        break;
    case SpecialChoice::All:
        std::fill(marked.begin(), marked.end(), true);
        marked[0] = false;
        break;
    case SpecialChoice::Typed:
        std::fill(marked.begin(), marked.end(), false);
        for (int v : typed)
            marked[static_cast<std::size_t>(v)] = true;
        break;
    }
    std::vector<int> specials;
    for (int v = 1; v <= M; ++v)
        if (marked[static_cast<std::size_t>(v)])
            specials.push_back(v);
    // Lines carry specials only while the last file's lines did and some are marked.
    result.withSpecials = withSpecials && !specials.empty();
    if (result.withSpecials)
        result.specials = specials;
    return result;
}

IntersectionResult writeIntersection(const LotteryParams& lottery, const IntersectionInput& input,
                                     const IntersectionCounts& counts, IntersectionResult result)
{
    if (!result.ok())
        return result;
    const int F = static_cast<int>(input.files.size());
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    const std::int64_t rows = counts.rows;
    const IntersectionCounts::Entry* tally = counts.entries.get();
    SafeFileWriter out(input.listFile);
    if (!out.isOpen()) {
        result.status = IntersectionResult::Status::Failed;
        result.message = out.error();
        return result;
    }
    const int lowCount = F - input.toleranceHigh;
    const int highCount = F - input.toleranceLow;
    // The text of the current combination, "01 02 03 04 05 06" and the blank
    // or "+" after it, kept up to date digit pair by digit pair as the
    // combinations are walked in order.
    int c[8];
    char body[8 * 3];
    const char last = result.withSpecials ? '+' : ' ';
    for (int i = 0; i < k; ++i) {
        c[i] = i + 1;
        putTwo(body + 3 * i, c[i]);
        body[3 * i + 2] = i + 1 < k ? ' ' : last;
    }
    const std::size_t bodyLength = 3 * static_cast<std::size_t>(k);
    // Each special's "%.2d" and CR LF.
    std::vector<std::string> tails;
    for (int v : result.specials) {
        char t[8];
        char* e = putTwo(t, v);
        *e++ = '\r';
        *e++ = '\n';
        tails.emplace_back(t, e);
    }
    const std::size_t lines = result.withSpecials ? result.specials.size() : 1;
    const std::size_t lineRoom = 32 + bodyLength;
    // The running "%.7d" sequence number, counted up in place.
    char seq[24];
    std::memset(seq, '0', sizeof seq);
    int seqWidth = 7;
    constexpr int kSeqEnd = sizeof seq;
    std::int64_t written = 0;
    for (std::int64_t r = 0; r < rows; ++r) {
        if ((r & 0xFFFF) == 0 && r > 0 && !reportProgress(input.progress, r, rows)) {
            result.status = IntersectionResult::Status::Stopped;
            return result;
        }
        const int n = tally[r].count;
        if (n >= lowCount && n <= highCount) {
            ++result.combinations;
            char* start = out.reserve(lines * lineRoom);
            char* p = start;
            for (std::size_t s = 0; s < lines; ++s) {
                int i = kSeqEnd - 1;
                while (seq[i] == '9')
                    seq[i--] = '0';
                ++seq[i];
                seqWidth = std::max(seqWidth, kSeqEnd - i);
                ++written;
                std::memcpy(p, seq + kSeqEnd - seqWidth, static_cast<std::size_t>(seqWidth));
                p += seqWidth;
                std::memcpy(p, "    ", 4);
                p += 4;
                std::memcpy(p, body, bodyLength);
                p += bodyLength;
                if (result.withSpecials) {
                    std::memcpy(p, tails[s].data(), tails[s].size());
                    p += tails[s].size();
                } else {
                    *p++ = '\r';
                    *p++ = '\n';
                }
            }
            out.advance(static_cast<std::size_t>(p - start));
        }
        // The next combination in lexicographic order.
        int i = k - 1;
        while (i >= 0 && c[i] == N - k + 1 + i)
            --i;
        if (i < 0)
            break;
        ++c[i];
        putTwo(body + 3 * i, c[i]);
        for (int j = i + 1; j < k; ++j) {
            c[j] = c[j - 1] + 1;
            putTwo(body + 3 * j, c[j]);
        }
    }
    if (!out.commit()) {
        result.status = IntersectionResult::Status::Failed;
        result.message = out.error();
        return result;
    }
    result.lines = written;
    return result;
}

IntersectionResult runIntersection(const LotteryParams& lottery, const IntersectionInput& input)
{
    IntersectionCounts counts;
    IntersectionResult counted = countIntersection(lottery, input, counts);
    if (!counted.ok())
        return counted;
    return writeIntersection(lottery, input, counts, std::move(counted));
}

bool saveIntersectionLines(const std::filesystem::path& listFile, const std::filesystem::path& target,
                           std::string* error)
{
    SafeFileWriter out(target);
    if (!out.isOpen()) {
        if (error)
            *error = out.error();
        return false;
    }
    const bool read = forEachLine(
        listFile,
        [&](std::string_view line) {
            out.append(line);
            out.append(" \r\n");
            return true;
        },
        error);
    if (!read)
        return false;
    if (!out.commit()) {
        if (error)
            *error = out.error();
        return false;
    }
    return true;
}

} // namespace zelvor
