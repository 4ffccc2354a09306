#include "filter/compound_search.h"

#include <utility>

#include "analysis/trend.h"
#include "common/error.h"
#include "common/format.h"

namespace zelvor {

std::string compoundRefusal(const LotteryParams& lottery, int drawCount, const CompoundSettings& settings)
{
    const int N = lottery.numberRange;
    if (lottery.kind != LotteryKind::Lotto || N < 2)
        return "只有乐透型彩票可以搜索复式号码！";
    if (settings.wanted < 1 || settings.wanted > N - 1)
        return "号码个数必须在1到" + std::to_string(N - 1) + "之间！";
    if (settings.useThreshold && settings.threshold > drawCount)
        return "遗漏期数不能大于历史期数" + std::to_string(drawCount) + "！";
    return {};
}

std::vector<int> columnOmissions(const DrawHistory& variableHistory, int N)
{
    const int D = variableHistory.size();
    std::vector<int> omission(static_cast<std::size_t>(N) + 1, D);
    std::vector<bool> seen(static_cast<std::size_t>(N) + 1, false);
    int open = N;
    for (int i = D - 1; i >= 0 && open > 0; --i) {
        for (int c : variableHistory.main(i)) {
            if (c < 1 || c > N || seen[static_cast<std::size_t>(c)])
                continue;
            seen[static_cast<std::size_t>(c)] = true;
            omission[static_cast<std::size_t>(c)] = D - 1 - i;
            --open;
        }
    }
    return omission;
}

int mostOverdueColumn(const std::vector<int>& omissions, int N)
{
    std::vector<std::pair<int, int>> pairs; // (c, omission)
    pairs.reserve(static_cast<std::size_t>(N));
    for (int c = 1; c <= N; ++c)
        pairs.emplace_back(c, omissions[static_cast<std::size_t>(c)]);
    for (std::size_t i = 0; i + 1 < pairs.size(); ++i)
        for (std::size_t j = i + 1; j < pairs.size(); ++j)
            if (pairs[j].second < pairs[i].second)
                std::swap(pairs[i], pairs[j]);
    return pairs.empty() ? 0 : pairs.back().first;
}

CompoundSearch::CompoundSearch(int numberRange, const CompoundSettings& settings)
    : N_(numberRange), settings_(settings), struck_(static_cast<std::size_t>(numberRange) + 1, false),
      left_(numberRange)
{
}

CompoundPass CompoundSearch::pass(const VariableTrend& trend)
{
    ++passes_;
    CompoundPass p;
    const std::vector<int> omissions = columnOmissions(trend.history, N_);
    p.column = mostOverdueColumn(omissions, N_);
    p.omission = p.column > 0 ? omissions[static_cast<std::size_t>(p.column)] : 0;
    if (p.column > 0 && !(settings_.useThreshold && p.omission < settings_.threshold)) {
        const int b = trend.numberForNextValue(p.column);
        if (b >= 1 && b <= N_) {
            p.struck = b;
            if (!struck_[static_cast<std::size_t>(b)]) {
                struck_[static_cast<std::size_t>(b)] = true;
                --left_;
            }
        }
    }
    p.left = left_;
    return p;
}

std::vector<int> CompoundSearch::remaining() const
{
    std::vector<int> v;
    for (int n = 1; n <= N_; ++n)
        if (!struck_[static_cast<std::size_t>(n)])
            v.push_back(n);
    return v;
}

std::string CompoundSearch::resultText() const
{
    return numbersWithBlanks(remaining());
}

bool parseCompoundView(std::string_view line, int N, VariableSettings& view)
{
    std::vector<int> values;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i >= line.size())
            break;
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r')
            ++j;
        int v = 0;
        if (!tryParseInteger(std::string(line.substr(i, j - i)), v))
            return false;
        values.push_back(v);
        i = j;
    }
    if (static_cast<int>(values.size()) != N + 1 || values[0] < 1 || values[0] > 100)
        return false;
    VariableSettings s;
    s.window = values[0];
    s.permutation.assign(values.begin(), values.end());
    s.permutation[0] = 0;
    if (!isPermutation(s.permutation, N))
        return false;
    view = std::move(s);
    return true;
}

} // namespace zelvor
