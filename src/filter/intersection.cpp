#include "filter/intersection.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/error.h"
#include "data/combinations.h"
#include "filter/betlist.h"
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
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

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

// Per combination: how many files hold it and the last file that counted it,
// side by side so a line costs one cache miss. Zero-filled by calloc, so
// pages never touched cost nothing.
struct Tally {
    std::uint16_t count;
    std::uint16_t stamp;
};
struct TallyTable {
    std::unique_ptr<Tally, decltype(&std::free)> p{nullptr, &std::free};
    bool allocate(std::int64_t n)
    {
        p.reset(static_cast<Tally*>(std::calloc(static_cast<std::size_t>(std::max<std::int64_t>(n, 1)), sizeof(Tally))));
        return p != nullptr;
    }
    Tally& operator[](std::int64_t i) { return p.get()[i]; }
};

// Writes "%.7d" of v (more digits when needed) at out; returns the end.
char* putSequence(char* out, std::int64_t v)
{
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v > 0);
    for (int i = n; i < 7; ++i)
        *out++ = '0';
    while (n > 0)
        *out++ = tmp[--n];
    return out;
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

IntersectionResult runIntersection(const LotteryParams& lottery, const IntersectionInput& input)
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
    std::vector<std::int64_t> step(static_cast<std::size_t>(k) * (N + 2), 0);
    for (int i = 0; i < k; ++i)
        for (int v = 2; v <= N + 1; ++v)
            step[static_cast<std::size_t>(i) * (N + 2) + v] =
                step[static_cast<std::size_t>(i) * (N + 2) + v - 1] + std::max<std::int64_t>(Binomial(N - (v - 1), k - 1 - i), 0);

    TallyTable tally;
    if (!tally.allocate(rows)) {
        result.status = IntersectionResult::Status::Failed;
        result.message = "内存不足";
        return result;
    }
    std::vector<bool> marked(static_cast<std::size_t>(std::max(M, 0)) + 1, false);
    bool withSpecials = true;
    const std::size_t shortLine = static_cast<std::size_t>(std::max(3 * k + 3 * S - 1, 0));

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
                Tally& t = tally[pending[i]];
                if (t.stamp != fileStamp) {
                    t.stamp = fileStamp;
                    ++t.count;
                }
            }
            pendingCount = 0;
        };
        std::string_view fields[16];
        int numbers[8];
        std::string readError;
        const bool read = forEachLine(
            input.files[static_cast<std::size_t>(f)],
            [&](std::string_view raw) {
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
                    const std::int64_t* row = step.data() + static_cast<std::size_t>(j) * (N + 2);
                    rank += row[numbers[j]] - row[prev + 1];
                    prev = numbers[j];
                }
                // Counted a batch later, so the entry's cache line is on its way meanwhile.
                __builtin_prefetch(&tally[rank], 1);
                pending[pendingCount++] = rank;
                if (pendingCount == kBatch)
                    countPending();
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
            },
            &readError);
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

    SafeFileWriter out(input.listFile);
    if (!out.isOpen()) {
        result.status = IntersectionResult::Status::Failed;
        result.message = out.error();
        return result;
    }
    const int lowCount = F - b;
    const int highCount = F - a;
    int c[8];
    for (int i = 0; i < k; ++i)
        c[i] = i + 1;
    std::int64_t seq = 0;
    const std::size_t lineRoom = 32 + 3 * static_cast<std::size_t>(k);
    for (std::int64_t r = 0; r < rows; ++r) {
        if ((r & 0xFFFF) == 0 && r > 0 && !reportProgress(input.progress, r, rows)) {
            result.status = IntersectionResult::Status::Stopped;
            return result;
        }
        const int n = tally[r].count;
        if (n >= lowCount && n <= highCount) {
            ++result.combinations;
            const std::size_t lines = result.withSpecials ? result.specials.size() : 1;
            char* start = out.reserve(lines * lineRoom);
            char* p = start;
            for (std::size_t s = 0; s < lines; ++s) {
                p = putSequence(p, ++seq);
                std::memcpy(p, "    ", 4);
                p += 4;
                for (int i = 0; i < k; ++i) {
                    p = putTwo(p, c[i]);
                    if (result.withSpecials) {
                        *p++ = i + 1 < k ? ' ' : '+';
                    } else {
                        *p++ = ' ';
                    }
                }
                if (result.withSpecials)
                    p = putTwo(p, result.specials[s]);
                *p++ = '\r';
                *p++ = '\n';
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
        for (int j = i + 1; j < k; ++j)
            c[j] = c[j - 1] + 1;
    }
    if (!out.commit()) {
        result.status = IntersectionResult::Status::Failed;
        result.message = out.error();
        return result;
    }
    result.lines = seq;
    return result;
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
