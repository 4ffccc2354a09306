#include "analysis/trend.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "common/format.h"

namespace zelvor {

namespace {

// "%.2d" without going through printf: the standard build formats every
// number of up to 20,000 draws.
void appendTwo(std::string& s, int n)
{
    if (n >= 0 && n < 100) {
        s += static_cast<char>('0' + n / 10);
        s += static_cast<char>('0' + n % 10);
    } else {
        s += two(n);
    }
}

TrendRow makeRow(const TrendLayout& layout, int issue, std::span<const int> mainNumbers,
                 std::span<const int> specialNumbers)
{
    TrendRow row;
    row.issue = issue;
    row.numbers = trendNumbersText(mainNumbers, specialNumbers);
    row.cells.assign(static_cast<std::size_t>(layout.columns), 0);
    // Numbers outside the lottery's range get no mark rather than a write past the row.
    for (int v : mainNumbers)
        if (int c = layout.mainColumn(v); c >= 0)
            row.cells[static_cast<std::size_t>(c)] = 1;
    for (int s : specialNumbers)
        if (int c = layout.specialColumn(s); c >= 0)
            row.cells[static_cast<std::size_t>(c)] = 1;
    return row;
}

// Rank-table entry packed so that one integer comparison decides the order:
// bits 40.. omission, bits 16..39 the inverted count, bits 0..15 the value t.
// A larger key (entry >> 16) comes first: more overdue, then less frequent.
constexpr int kValueBits = 16;
constexpr std::uint64_t kCountMask = 0xFFFFFF;

std::uint64_t packEntry(int t, int count, int omission)
{
    const auto c = static_cast<std::uint64_t>(std::clamp(count, 0, static_cast<int>(kCountMask)));
    return (static_cast<std::uint64_t>(omission) << 40) | ((kCountMask - c) << kValueBits)
        | static_cast<std::uint64_t>(t);
}
int entryValue(std::uint64_t e) { return static_cast<int>(e & 0xFFFF); }
int entryOmission(std::uint64_t e) { return static_cast<int>(e >> 40); }
int entryCount(std::uint64_t e) { return static_cast<int>(kCountMask - ((e >> kValueBits) & kCountMask)); }

// The program's exchange sort (for each slot a, each later b swaps in when it
// must come first), with the same result but less work: the key slot a ends
// with is known from a plain sort of the keys, so a slot already holding it is
// skipped and a scan stops as soon as it has found it. Nothing after that
// point could swap, so the order of ties is untouched.
void exchangeSortRankTable(std::vector<std::uint64_t>& entries, std::vector<std::uint64_t>& keys)
{
    const std::size_t n = entries.size();
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = entries[i] >> kValueBits;
    std::sort(keys.begin(), keys.end(), std::greater<>());
    for (std::size_t a = 0; a + 1 < n; ++a) {
        const std::uint64_t best = keys[a];
        std::uint64_t cur = entries[a];
        if ((cur >> kValueBits) == best)
            continue;
        for (std::size_t b = a + 1; b < n; ++b) {
            if ((entries[b] >> kValueBits) > (cur >> kValueBits)) {
                std::swap(entries[b], cur);
                if ((cur >> kValueBits) == best)
                    break;
            }
        }
        entries[a] = cur;
    }
}

} // namespace

std::string TrendLayout::headerText(int column) const
{
    if (column == 0)
        return "记录期号";
    if (column == 1)
        return "开奖号码";
    if (column >= firstMain && column < firstMain + mainCount)
        return std::to_string(mainBase + column - firstMain);
    if (firstSpecial >= 0 && column >= firstSpecial && column < firstSpecial + specialCount)
        return std::to_string(column - firstSpecial + 1);
    return {};
}

TrendLayout trendLayout(const LotteryParams& lottery)
{
    TrendLayout layout;
    const int N = std::max(lottery.numberRange, 0);
    const int M = std::max(lottery.specialRange, 0);
    layout.columns = N + M + 4;
    layout.firstMain = 3;
    layout.mainCount = N;
    layout.mainBase = lottery.digitsFromZero() ? 0 : 1;
    layout.specialSeparator = N + 3;
    layout.firstSpecial = M > 0 ? N + 4 : -1;
    layout.specialCount = M;
    return layout;
}

std::string trendNumbersText(std::span<const int> mainNumbers, std::span<const int> specialNumbers)
{
    std::string s;
    s.reserve(3 * (mainNumbers.size() + specialNumbers.size()) + 3);
    for (std::size_t j = 0; j < mainNumbers.size(); ++j) {
        if (j)
            s += ' ';
        appendTwo(s, mainNumbers[j]);
    }
    if (!specialNumbers.empty()) {
        s += " + ";
        for (std::size_t j = 0; j < specialNumbers.size(); ++j) {
            if (j)
                s += ' ';
            appendTwo(s, specialNumbers[j]);
        }
    }
    return s;
}

TrendRows buildStandardTrend(const LotteryParams& lottery, const DrawHistory& history)
{
    const TrendLayout layout = trendLayout(lottery);
    TrendRows rows;
    rows.reserve(static_cast<std::size_t>(history.size()));
    for (int i = 0; i < history.size(); ++i)
        rows.push_back(makeRow(layout, history.issue(i), history.main(i), history.special(i)));
    return rows;
}

VariableSettings drawVariableSettings(int N, Random& random)
{
    VariableSettings settings;
    settings.window = random.below(100) + 1;
    settings.permutation.assign(static_cast<std::size_t>(std::max(N, 0)) + 1, 0);
    // Repeated draws until unused: the permutation is drawn the way the
    // program always has, so a seed gives the same view everywhere.
    std::vector<bool> used(static_cast<std::size_t>(std::max(N, 0)) + 1, false);
    for (int n = 1; n <= N; ++n) {
        int v = random.below(N) + 1;
        while (used[static_cast<std::size_t>(v)])
            v = random.below(N) + 1;
        used[static_cast<std::size_t>(v)] = true;
        settings.permutation[static_cast<std::size_t>(n)] = v;
    }
    return settings;
}

int VariableTrend::nextValue(int n) const
{
    const int internal = digits ? n + 1 : n;
    if (internal < 1 || internal > numberRange
        || static_cast<int>(settings.permutation.size()) <= numberRange)
        return -1;
    const int t = (settings.permutation[static_cast<std::size_t>(internal)] + drawCount) % numberRange + 1;
    const int rank = snapshotRank[static_cast<std::size_t>(t)];
    return digits ? rank - 1 : rank;
}

int VariableTrend::numberForNextValue(int c) const
{
    const int first = digits ? 0 : 1;
    for (int b = first; b < first + numberRange; ++b)
        if (nextValue(b) == c)
            return b;
    return -1;
}

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings)
{
    return buildVariableTrend(lottery, history, settings, {});
}

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings, const VariableValueFn& observe)
{
    const int N = lottery.numberRange;
    const int k = history.pickCount();
    const int D = history.size();
    const int W = settings.window;
    if (N < 1 || static_cast<int>(settings.permutation.size()) != N + 1)
        throw std::invalid_argument("variable trend: permutation does not match the number range");
    const int shift = lottery.digitsFromZero() ? 1 : 0;

    VariableTrend trend;
    trend.settings = settings;
    trend.drawCount = D;
    trend.numberRange = N;
    trend.digits = shift != 0;
    trend.history = DrawHistory(k, 0);
    trend.history.reserve(D);

    const auto& p = settings.permutation;
    auto S = [&](int x, int d) { return (p[static_cast<std::size_t>(x)] + d) % N + 1; };

    // Shifted value of every drawn number at its own position; 0 marks a
    // number outside the lottery's range, which then takes part in nothing.
    std::vector<int> shifted(static_cast<std::size_t>(D) * static_cast<std::size_t>(k), 0);
    for (int d = 0; d < D; ++d) {
        auto x = history.main(d);
        for (int j = 0; j < k; ++j) {
            const int n = x[static_cast<std::size_t>(j)] + shift;
            if (n >= 1 && n <= N)
                shifted[static_cast<std::size_t>(d) * k + j] = S(n, d);
        }
    }
    auto shiftedOf = [&](int d) {
        return std::span<const int>(shifted.data() + static_cast<std::size_t>(d) * k, static_cast<std::size_t>(k));
    };

    std::vector<int> count(static_cast<std::size_t>(N) + 1, 0);
    // Omission comes from the latest position at which each value was seen,
    // instead of scanning back through the history for every value.
    std::vector<int> lastSeen(static_cast<std::size_t>(N) + 1, -1);
    std::vector<std::uint64_t> entries(static_cast<std::size_t>(N));
    std::vector<std::uint64_t> keys(static_cast<std::size_t>(N));
    std::vector<int> rank(static_cast<std::size_t>(N) + 1, 0);
    std::vector<int> values(observe ? static_cast<std::size_t>(N) + 1 : 0, 0);
    std::vector<int> cells(static_cast<std::size_t>(k));

    for (int i = 0; i <= D; ++i) {
        if (i >= 1)
            for (int t : shiftedOf(i - 1))
                if (t) {
                    ++count[static_cast<std::size_t>(t)];
                    lastSeen[static_cast<std::size_t>(t)] = i - 1;
                }
        if (i >= W + 1)
            for (int t : shiftedOf(i - W - 1))
                if (t)
                    --count[static_cast<std::size_t>(t)];

        for (int t = 1; t <= N; ++t) {
            const int seen = lastSeen[static_cast<std::size_t>(t)];
            entries[static_cast<std::size_t>(t - 1)] =
                packEntry(t, count[static_cast<std::size_t>(t)], seen >= 0 ? i - seen : 0);
        }
        exchangeSortRankTable(entries, keys);
        for (int a = 0; a < N; ++a)
            rank[static_cast<std::size_t>(entryValue(entries[static_cast<std::size_t>(a)]))] = a + 1;

        if (observe) {
            for (int n = 1; n <= N; ++n)
                values[static_cast<std::size_t>(n)] = rank[static_cast<std::size_t>(S(n, i))];
            observe(i, values);
        }

        if (i < D) {
            auto t = shiftedOf(i);
            for (int j = 0; j < k; ++j)
                cells[static_cast<std::size_t>(j)] =
                    t[static_cast<std::size_t>(j)] ? rank[static_cast<std::size_t>(t[static_cast<std::size_t>(j)])] - shift : 0;
            std::sort(cells.begin(), cells.end());
            trend.history.append(history.issue(i), cells);
        } else {
            trend.snapshot.resize(static_cast<std::size_t>(N));
            for (int a = 0; a < N; ++a) {
                const auto e = entries[static_cast<std::size_t>(a)];
                trend.snapshot[static_cast<std::size_t>(a)] = {entryValue(e), entryCount(e), entryOmission(e)};
            }
            trend.snapshotRank = rank;
        }
    }
    return trend;
}

TrendRows variableTrendRows(const LotteryParams& lottery, const DrawHistory& history, const VariableTrend& trend)
{
    const TrendLayout layout = trendLayout(lottery);
    TrendRows rows;
    const int D = std::min(history.size(), trend.history.size());
    rows.reserve(static_cast<std::size_t>(D));
    for (int i = 0; i < D; ++i)
        rows.push_back(makeRow(layout, trend.history.issue(i), trend.history.main(i), history.special(i)));
    return rows;
}

} // namespace zelvor
