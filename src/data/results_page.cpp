#include "data/results_page.h"

#include <chrono>
#include <cstdio>
#include <set>

#include "common/error.h"
#include "data/history_import.h"

namespace zelvor {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control bytes off both ends (bytes up to 0x20).
std::string trimmedLine(const std::string& s)
{
    std::size_t a = 0;
    std::size_t b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= 0x20)
        ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= 0x20)
        --b;
    return s.substr(a, b - a);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return lines;
}

} // namespace

std::vector<PageDraw> parseResultsPage(const std::string& page, long long latestIssue, int numberColumns,
                                       int maxDraws)
{
    std::vector<PageDraw> draws;
    std::set<std::string> taken;
    const std::vector<std::string> lines = splitLines(page);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmedLine(lines[i]);
        if (line.size() != 49)
            continue;
        const std::string tail = line.substr(line.size() - 12);
        bool seven = true;
        for (int c = 0; c < 7; ++c)
            seven = seven && isDigit(tail[static_cast<std::size_t>(c)]);
        if (!seven || isDigit(tail[7]))
            continue;
        const std::string issue = tail.substr(0, 7);
        if (std::stoll(issue) <= latestIssue)
            continue;
        // The next line is the numbers line, whatever it looks like.
        const std::string numbersLine = i + 1 < lines.size() ? trimmedLine(lines[i + 1]) : std::string();
        ++i;
        if (static_cast<int>(draws.size()) >= maxDraws || !taken.insert(issue).second)
            continue;
        PageDraw d;
        d.issue = issue;
        const std::string digits =
            numbersLine.size() >= 21 ? numbersLine.substr(numbersLine.size() - 21, 14) : std::string();
        for (int c = 0; c < numberColumns; ++c) {
            const std::size_t at = static_cast<std::size_t>(2 * c);
            d.numbers.push_back(at + 2 <= digits.size() ? digits.substr(at, 2) : std::string());
        }
        draws.push_back(std::move(d));
    }
    return draws;
}

int daysToNextDraw(int weekday)
{
    static const int days[7] = {2, 1, 2, 1, 3, 2, 1};
    return days[((weekday % 7) + 7) % 7];
}

std::string nextDrawDate(const std::string& date)
{
    const std::string normal = normaliseDate(date);
    if (normal.empty())
        return {};
    int y = 0;
    unsigned m = 0, d = 0;
    std::sscanf(normal.c_str(), "%d-%u-%u", &y, &m, &d);
    using namespace std::chrono;
    const sys_days day{year{y} / month{m} / std::chrono::day{d}};
    const int wd = static_cast<int>(weekday{day}.c_encoding());
    const year_month_day next{day + days{daysToNextDraw(wd)}};
    return std::to_string(static_cast<int>(next.year())) + "-" + std::to_string(static_cast<unsigned>(next.month()))
           + "-" + std::to_string(static_cast<unsigned>(next.day()));
}

void datePageDraws(std::vector<PageDraw>& draws, const std::string& latestDate)
{
    std::string date = latestDate;
    if (normaliseDate(date).empty())
        throw Error("最新一期的开奖日期“" + clipped(latestDate) + "”不是有效的日期，无法推算新开奖日期");
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
        date = nextDrawDate(date);
        it->date = date;
    }
}

} // namespace zelvor
