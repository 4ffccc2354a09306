#include "data/history_import.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <set>

#include "common/error.h"

namespace zelvor {

namespace {

bool isDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "2003-02-23", "2003/2/23": starts with a digit and holds a separator. A
// signed number such as "-5" is a number (and out of range), not a date.
bool looksLikeDate(const std::string& s)
{
    return !s.empty() && s[0] >= '0' && s[0] <= '9'
           && (s.find('-') != std::string::npos || s.find('/') != std::string::npos);
}


std::string lineError(int lineNo, const std::string& what)
{
    return "第" + std::to_string(lineNo) + "行：" + what;
}

} // namespace

std::string normaliseDate(const std::string& text)
{
    int y = 0, m = 0, d = 0;
    char s1 = 0, s2 = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c%d%c", &y, &s1, &m, &s2, &d, &extra) != 5)
        return {};
    if (!((s1 == '-' && s2 == '-') || (s1 == '/' && s2 == '/')))
        return {};
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1 || d > days[m - 1])
        return {};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m == 2 && d == 29 && !leap)
        return {};
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

std::vector<ImportedDraw> parseHistoryText(const std::string& text, const LotteryParams& lottery)
{
    const int k = lottery.pickCount;
    const int m = lottery.specialCount;
    const bool digits = lottery.kind == LotteryKind::Digit;
    std::vector<ImportedDraw> draws;
    // Issue -> index in draws of its first line, to find conflicting repeats.
    std::map<std::string, std::size_t> firstOfIssue;
    std::size_t pos = 0;
    int lineNo = 0;
    while (pos <= text.size()) {
        // A line ends at LF, CR LF or a CR alone.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
        ++lineNo;
        if (lineNo == 1 && line.size() >= 3 && static_cast<unsigned char>(line[0]) == 0xEF
            && static_cast<unsigned char>(line[1]) == 0xBB && static_cast<unsigned char>(line[2]) == 0xBF)
            line.erase(0, 3); // byte-order mark
        std::vector<std::string> fields = splitNumberFields(line);
        if (fields.empty()) {
            if (end == text.size())
                break;
            continue;
        }
        if (lineNo == 1 && !(fields[0][0] >= '0' && fields[0][0] <= '9'))
            continue; // header
        ImportedDraw draw;
        draw.issue = fields[0];
        if (!isDigits(draw.issue) || draw.issue.size() != 7)
            throw Error(lineError(lineNo, "期号“" + clipped(draw.issue) + "”不是7位数字"));
        for (std::size_t f = 1; f < fields.size(); ++f) {
            const std::string& field = fields[f];
            if (looksLikeDate(field)) {
                if (!draw.date.empty())
                    throw Error(lineError(lineNo, "有两个日期"));
                draw.date = normaliseDate(field);
                if (draw.date.empty())
                    throw Error(lineError(lineNo, "日期“" + clipped(field) + "”无法识别"));
                continue;
            }
            int v = 0;
            if (!tryParseInteger(field, v))
                throw Error(lineError(lineNo, "号码“" + clipped(field) + "”不是整数"));
            draw.numbers.push_back(v);
        }
        if (static_cast<int>(draw.numbers.size()) != k + m)
            throw Error(lineError(lineNo, "应有" + std::to_string(k + m) + "个号码，实有"
                                              + std::to_string(draw.numbers.size()) + "个"));
        for (int j = 0; j < k + m; ++j) {
            const int v = draw.numbers[j];
            int lo = 1;
            int hi = j < k ? lottery.numberRange : lottery.specialRange;
            if (digits) {
                lo = 0;
                hi = lottery.numberRange - 1; // 9 for the usual N = 10
            }
            if (v < lo || v > hi)
                throw Error(lineError(lineNo, "号码" + std::to_string(v) + "超出范围" + std::to_string(lo) + "-"
                                                  + std::to_string(hi)));
        }
        if (!digits) {
            std::set<int> distinct(draw.numbers.begin(), draw.numbers.begin() + k);
            if (static_cast<int>(distinct.size()) != k)
                throw Error(lineError(lineNo, "号码有重复"));
        }
        draw.line = lineNo;
        const auto [first, isNew] = firstOfIssue.emplace(draw.issue, draws.size());
        if (!isNew) {
            const ImportedDraw& earlier = draws[first->second];
            if (earlier.numbers != draw.numbers)
                throw Error(lineError(lineNo, "第" + draw.issue + "期与第" + std::to_string(earlier.line)
                                                  + "行的号码不同"));
        }
        draws.push_back(std::move(draw));
    }
    return draws;
}

DrawHistory readHistoryFile(const std::string& path, const LotteryParams& lottery)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error("无法读取文件：" + path);
    std::ostringstream text;
    text << in.rdbuf();
    DrawHistory history(lottery.pickCount, lottery.specialCount);
    for (const ImportedDraw& d : parseHistoryText(text.str(), lottery)) {
        const std::span<const int> numbers(d.numbers);
        history.append(std::stoi(d.issue), numbers.first(static_cast<std::size_t>(lottery.pickCount)),
                       numbers.subspan(static_cast<std::size_t>(lottery.pickCount)));
    }
    return history;
}

std::string exportLine(const std::string& issue, const std::vector<int>& numbers)
{
    std::string line = issue + " ";
    for (int v : numbers) {
        if (v >= 0 && v < 10)
            line += '0';
        line += std::to_string(v);
        line += ' ';
    }
    line += "\r\n";
    return line;
}

std::vector<std::string> splitNumberFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string cur;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == ',') {
            if (!cur.empty())
                fields.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        fields.push_back(cur);
    return fields;
}

} // namespace zelvor
