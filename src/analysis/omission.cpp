#include "analysis/omission.h"

#include <utility>

#include "common/format.h"

namespace zelvor {

namespace {

// num / den (both >= 0, den > 0) with one decimal, halves rounded away from zero.
std::string fractionOneDecimal(std::int64_t num, std::int64_t den)
{
    const std::int64_t tenths = (20 * num + den) / (2 * den);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// Per number, what the backward walk has seen so far.
struct Walk {
    int wins = 0;
    int last = 0;      // row of the previous occurrence (n - 1 before the first)
    int seenRow = -1;  // row already counted (a number twice in one draw counts once)
    int longest = 0;
    int reported = 0;
    bool hasReport = false;
    int gaps[4] = {0, 0, 0, 0};
};

} // namespace

std::array<std::string, 8> omissionHeader(OmissionKind kind)
{
    return {"待选号码",     "理论周期",     "理论中奖总次数",
            "实际总奖总次数", "历史最大遗漏",
            kind == OmissionKind::SkewState ? "目前遗漏" : "前次遗漏",
            "目前冷态倍数", "追号价值"};
}

std::string omissionRefusal(const LotteryParams& lottery, OmissionBalls balls)
{
    if (lottery.kind != LotteryKind::Lotto)
        return "数字型彩票不能进行遗漏分析！";
    if (balls == OmissionBalls::Blue && (lottery.specialCount <= 0 || lottery.specialRange <= 0))
        return "本彩种没有蓝球，不能分析蓝球！";
    if (lottery.numberRange <= 0 || lottery.pickCount <= 0)
        return "本彩种不能进行遗漏分析！";
    return {};
}

OmissionDraws omissionDraws(const LotteryParams& lottery, const DrawHistory& history, OmissionBalls balls)
{
    OmissionDraws d;
    const bool red = balls == OmissionBalls::Red;
    d.range = red ? lottery.numberRange : lottery.specialRange;
    d.perDraw = red ? lottery.pickCount : lottery.specialCount;
    if (!omissionRefusal(lottery, balls).empty() || d.perDraw <= 0) {
        d.perDraw = 0;
        return d;
    }
    d.numbers.reserve(static_cast<std::size_t>(history.size()) * static_cast<std::size_t>(d.perDraw));
    for (int i = 0; i < history.size(); ++i) {
        const auto nums = red ? history.main(i) : history.special(i);
        for (int j = 0; j < d.perDraw; ++j)
            d.numbers.push_back(j < static_cast<int>(nums.size()) ? nums[j] : 0);
    }
    return d;
}

std::string coldMultipleText(std::int64_t gap, int perDraw, int range)
{
    return fractionOneDecimal(gap * perDraw, range);
}

std::int64_t chaseValue(std::int64_t gap, int perDraw, int range, std::int64_t draws, std::int64_t wins)
{
    if (wins <= 0 || range <= 0)
        return 0;
    const std::int64_t k = perDraw;
    const std::int64_t n = range;
    return (gap * 100 * k * k * draws) / (n * n * wins);
}

std::vector<OmissionRow> omissionTable(OmissionKind kind, const OmissionDraws& draws)
{
    const int N = draws.range;
    const int k = draws.perDraw;
    const int n = draws.drawCount();
    std::vector<OmissionRow> rows;
    if (N <= 0 || k <= 0)
        return rows;

    std::vector<Walk> walk(static_cast<std::size_t>(N) + 1);
    for (Walk& w : walk)
        w.last = n - 1;

    // The backfill thresholds against P = N / k, kept as exact fractions:
    // g <= 1.5P  <=>  2gk <= 3N;  g <= P  <=>  gk <= N;  g >= 3P  <=>  gk >= 3N.
    const auto withinHalfAgain = [&](std::int64_t g) { return 2 * g * k <= 3 * static_cast<std::int64_t>(N); };
    const auto withinPeriod = [&](std::int64_t g) { return g * k <= static_cast<std::int64_t>(N); };
    const auto threePeriods = [&](std::int64_t g) { return g * k >= 3 * static_cast<std::int64_t>(N); };

    for (int r = n - 1; r >= 0; --r) {
        const int* row = draws.numbers.data() + static_cast<std::size_t>(r) * k;
        for (int j = 0; j < k; ++j) {
            const int v = row[j];
            if (v < 1 || v > N)
                continue;
            Walk& w = walk[static_cast<std::size_t>(v)];
            if (w.seenRow == r)
                continue;
            w.seenRow = r;
            ++w.wins;
            const int gap = w.last - r;
            if (w.wins <= 4)
                w.gaps[w.wins - 1] = gap;
            if (kind == OmissionKind::SkewState) {
                if (w.wins == 1) {
                    w.reported = gap;
                    w.hasReport = true;
                }
            } else if (w.wins == 3) {
                const int* g = w.gaps;
                if (withinHalfAgain(g[0]) && withinPeriod(g[1]) && threePeriods(g[2])) {
                    w.reported = g[2];
                    w.hasReport = true;
                }
            } else if (w.wins == 4) {
                const int* g = w.gaps;
                if (withinHalfAgain(g[0]) && withinPeriod(g[1]) && withinPeriod(g[2]) && threePeriods(g[3])) {
                    w.reported = g[3];
                    w.hasReport = true;
                }
            }
            if (gap > w.longest)
                w.longest = gap;
            w.last = r;
        }
    }

    const std::string period = fractionOneDecimal(N, k);
    const std::string expected = fractionOneDecimal(static_cast<std::int64_t>(n) * k, N);
    rows.reserve(static_cast<std::size_t>(N));
    for (int v = 1; v <= N; ++v) {
        const Walk& w = walk[static_cast<std::size_t>(v)];
        OmissionRow row;
        row.number = v;
        row.wins = w.wins;
        row.longestGap = w.longest;
        row.reported = w.hasReport ? w.reported : 0;
        row.chase = chaseValue(row.reported, k, N, n, w.wins);
        row.cells = {two(v),
                     period,
                     expected,
                     std::to_string(w.wins),
                     std::to_string(w.longest),
                     std::to_string(row.reported),
                     w.hasReport ? coldMultipleText(w.reported, k, N) : std::string("0"),
                     std::to_string(row.chase) + "%"};
        rows.push_back(std::move(row));
    }
    return rows;
}

void sortOmissionRows(std::vector<OmissionRow>& rows, OmissionSort mode)
{
    if (mode == OmissionSort::Number)
        return;
    // Whether row b must come before row a.
    const auto first = [mode](const OmissionRow& b, const OmissionRow& a) {
        switch (mode) {
        case OmissionSort::Chase:
            return b.chase > a.chase;
        case OmissionSort::Reported:
            return b.reported > a.reported;
        case OmissionSort::Wins:
            return b.wins < a.wins;
        default:
            return false;
        }
    };
    const std::size_t count = rows.size();
    for (std::size_t i = 0; i + 1 < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j)
            if (first(rows[j], rows[i]))
                std::swap(rows[i], rows[j]);
}

} // namespace zelvor
