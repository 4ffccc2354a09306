#include "data/draw_entry.h"

#include <set>

#include "common/error.h"
#include "data/history_import.h"

namespace zelvor {

namespace {

std::string trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool sevenDigits(const std::string& s)
{
    if (s.size() != 7)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

CheckedDraw checkDrawEntry(const std::string& issueText, const std::vector<std::string>& numberTexts,
                           const std::string& dateText, const LotteryParams& lottery)
{
    const int k = lottery.pickCount;
    const int m = lottery.specialCount;
    CheckedDraw draw;
    draw.issue = trimmed(issueText);
    if (!sevenDigits(draw.issue))
        throw Error("期号“" + clipped(draw.issue) + "”不是7位数字");
    if (static_cast<int>(numberTexts.size()) != k + m)
        throw Error("应有" + std::to_string(k + m) + "个号码，实有" + std::to_string(numberTexts.size()) + "个");
    const bool digits = lottery.digitsFromZero();
    for (int j = 0; j < k + m; ++j) {
        const std::string column = "号码列“" + std::to_string(j + 1) + "”";
        int v = 0;
        if (!tryParseInteger(numberTexts[static_cast<std::size_t>(j)], v))
            throw Error(column + "：“" + clipped(trimmed(numberTexts[static_cast<std::size_t>(j)])) + "”不是整数");
        int lo = 1;
        int hi = j < k ? lottery.numberRange : lottery.specialRange;
        if (digits) {
            lo = 0;
            hi = lottery.numberRange - 1;
        }
        if (v < lo || v > hi)
            throw Error(column + "：号码" + std::to_string(v) + "超出范围" + std::to_string(lo) + "-"
                        + std::to_string(hi));
        draw.numbers.push_back(v);
    }
    if (!digits) {
        const std::set<int> distinct(draw.numbers.begin(), draw.numbers.begin() + k);
        if (static_cast<int>(distinct.size()) != k)
            throw Error("号码有重复");
    }
    const std::string date = trimmed(dateText);
    draw.date = normaliseDate(date);
    if (draw.date.empty())
        throw Error("开奖日期“" + clipped(date) + "”不是有效的日期");
    return draw;
}

} // namespace zelvor
