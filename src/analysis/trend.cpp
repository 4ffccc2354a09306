#include "analysis/trend.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "common/error.h"
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

// Rank-table key: a larger key comes first (more overdue, then less frequent).
// Built from the last draw that showed the value rather than the omission, so
// it changes only for the values a position adds or drops: the omission i - d
// orders as -d, and a value never seen (omission 0) comes after every seen one.
std::uint64_t rankKey(int count, int lastSeen)
{
    const std::uint64_t overdue = lastSeen >= 0 ? (std::uint64_t{1} << 31) - static_cast<std::uint64_t>(lastSeen) : 0;
    return (overdue << 32) | (0xFFFFFFFFu - static_cast<std::uint32_t>(count));
}

// Order of a group of equal keys after the program's exchange sort (for each
// slot a, each later slot b swaps in when its entry must come first), found
// without the quadratic sort. A pass moves only the chain of ever-better
// entries after slot a, each into the place of the next one, so the best
// key keeps its order, and the entries of key kappa end in the order given
// by walking the initial order t = 1..N restricted to keys >= kappa: an entry
// with key kappa joins the back of a queue, a strictly better one moves the
// queue's front to its back. The direct, unoptimised sort in the tests checks it.
void orderTies(std::span<int> group, std::uint64_t kappa, const std::vector<std::uint64_t>& key,
               std::vector<int>& queue)
{
    std::size_t head = 0, tail = 0;
    const std::size_t n = key.size();
    for (std::size_t t = 1; t < n; ++t) {
        if (key[t] > kappa) {
            if (tail - head >= 2)
                queue[tail++] = queue[head++];
        } else if (key[t] == kappa) {
            queue[tail++] = static_cast<int>(t);
        }
    }
    std::copy(queue.begin() + static_cast<std::ptrdiff_t>(head), queue.begin() + static_cast<std::ptrdiff_t>(tail),
              group.begin());
}

// Without a target flag for the instruction, std::popcount becomes a library call.
int bitCount(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}

// Bits 0..x-1.
std::uint64_t lowBits(int x) { return x >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << x) - 1; }

// The same queue walk for N <= 64 with value t as bit t - 1: the strictly
// better values between two members of the group only rotate the queue, so
// they are counted with one popcount instead of being visited one by one.
void orderTiesMasked(std::span<int> group, std::uint64_t members, std::uint64_t better, int* queue)
{
    int size = 0;
    int previous = -1; // bit of the previous member
    auto rotateBy = [&](std::uint64_t betweenMask) {
        if (size >= 2)
            if (int r = bitCount(better & betweenMask) % size; r)
                std::rotate(queue, queue + r, queue + size);
    };
    for (std::uint64_t m = members; m; m &= m - 1) {
        const int b = std::countr_zero(m);
        rotateBy(lowBits(b) & ~lowBits(previous + 1));
        queue[size++] = b + 1;
        previous = b;
    }
    rotateBy(~lowBits(previous + 1));
    std::copy(queue, queue + size, group.begin());
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
    // Repeated draws until an unused value comes up, so one seed gives the
    // same view in the program, the command line and the tests.
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

bool isPermutation(const std::vector<int>& permutation, int N)
{
    if (N < 1 || static_cast<int>(permutation.size()) != N + 1)
        return false;
    std::vector<bool> used(static_cast<std::size_t>(N) + 1, false);
    for (int n = 1; n <= N; ++n) {
        const int v = permutation[static_cast<std::size_t>(n)];
        if (v < 1 || v > N || used[static_cast<std::size_t>(v)])
            return false;
        used[static_cast<std::size_t>(v)] = true;
    }
    return true;
}

std::optional<std::vector<int>> parsePermutation(std::string_view text, int N)
{
    std::vector<int> p(1, 0);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t,", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(text.find_first_of(" \t,", start), text.size());
        int v = 0;
        if (!tryParseInteger(std::string(text.substr(start, end - start)), v))
            return std::nullopt;
        p.push_back(v);
        at = end;
    }
    if (!isPermutation(p, N))
        return std::nullopt;
    return p;
}

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings)
{
    return buildVariableTrend(lottery, history, settings, {});
}

namespace {

// One variable build. Walks the positions i = 0..D; at each it brings the
// rank table up to date (draw i - 1 joins, draw i - W - 1 leaves the window),
// orders it and records the ranks of draw i, or the snapshot at i = D.
class VariableBuild {
public:
    VariableBuild(const LotteryParams& lottery, const DrawHistory& history, const VariableSettings& settings)
        : history_(history), p_(settings.permutation), N_(lottery.numberRange), k_(history.pickCount()),
          D_(history.size()), W_(settings.window), shift_(lottery.digitsFromZero() ? 1 : 0)
    {
        // Settings come from drawVariableSettings; anything else must still not
        // index outside the tables.
        if (N_ < 1 || W_ < 1 || !isPermutation(settings.permutation, N_))
            throw std::invalid_argument("variable trend: settings are no window and permutation of 1..N");
        const auto n1 = static_cast<std::size_t>(N_) + 1;
        count_.assign(n1, 0);
        lastSeen_.assign(n1, -1);
        key_.assign(n1, rankKey(0, -1));
        // One spare slot: the branch-free compaction may write one past the values kept.
        order_.resize(n1);
        scratch_.resize(n1);
        for (int t = 1; t <= N_; ++t)
            order_[static_cast<std::size_t>(t - 1)] = t;
        mark_.assign(n1, -1);
        queue_.resize(2 * static_cast<std::size_t>(N_) + 2);
        rank_.assign(n1, 0);
        for (auto* v : {&joined_, &left_, &recorded_})
            v->resize(static_cast<std::size_t>(k_));

        trend_.settings = settings;
        trend_.drawCount = D_;
        trend_.numberRange = N_;
        trend_.digits = shift_ != 0;
        trend_.history = DrawHistory(k_, 0);
        trend_.history.reserve(D_);
    }

    VariableTrend run(const VariableValueFn& observe)
    {
        std::vector<int> values(observe ? static_cast<std::size_t>(N_) + 1 : 0, 0);
        for (int i = 0; i <= D_; ++i) {
            if (i >= 1)
                joinDraw(i);
            if (i >= W_ + 1)
                leaveWindow(i);
            if (i >= 1)
                refreshJoinedKeys();
            sortByKey();
            orderEqualKeys();
            for (int a = 0; a < N_; ++a)
                rank_[static_cast<std::size_t>(order_[static_cast<std::size_t>(a)])] = a + 1;
            if (observe) {
                for (int n = 1; n <= N_; ++n)
                    values[static_cast<std::size_t>(n)] = rank_[static_cast<std::size_t>(shiftedValue(n, i))];
                observe(i, values);
            }
            if (i < D_)
                recordDraw(i);
            else
                recordSnapshot(i);
        }
        return std::move(trend_);
    }

private:
    // S(x, d) = (p(x) + d) mod N + 1.
    int shiftedValue(int x, int d) const { return (p_[static_cast<std::size_t>(x)] + d) % N_ + 1; }

    // Shifted values of draw d at its own position; 0 marks a number outside
    // the lottery's range, which then takes part in nothing. Each draw is
    // shifted three times (joining, leaving the window, ranked), cheaper than
    // keeping D * k values around.
    std::span<const int> shiftDraw(int d, std::vector<int>& out) const
    {
        auto x = history_.main(d);
        const int base = d % N_;
        for (int j = 0; j < k_; ++j) {
            const int n = x[static_cast<std::size_t>(j)] + shift_;
            int t = 0;
            if (n >= 1 && n <= N_) {
                t = p_[static_cast<std::size_t>(n)] + base; // (p(n) + d) mod N + 1
                t = (t >= N_ ? t - N_ : t) + 1;
            }
            out[static_cast<std::size_t>(j)] = t;
        }
        return out;
    }

    // Draw i - 1 joins: its values count once more and were last seen now.
    // order_ keeps the values by key from one position to the next: seen
    // values from the least recently drawn on (omission descending), then the
    // never-seen ones. The joining values move to the end of the seen block,
    // so the sort after it only has to reorder by count.
    void joinDraw(int i)
    {
        const auto drawn = shiftDraw(i - 1, joined_);
        for (int t : drawn)
            if (t) {
                ++count_[static_cast<std::size_t>(t)];
                lastSeen_[static_cast<std::size_t>(t)] = i - 1;
                mark_[static_cast<std::size_t>(t)] = 2 * i;
            }
        int w = 0;
        // Branch-free compaction: about one value in six is dropped.
        for (int a = 0; a < seenValues_; ++a) {
            const int v = order_[static_cast<std::size_t>(a)];
            scratch_[static_cast<std::size_t>(w)] = v;
            w += mark_[static_cast<std::size_t>(v)] < 2 * i;
        }
        for (int t : drawn)
            if (t && mark_[static_cast<std::size_t>(t)] == 2 * i) {
                mark_[static_cast<std::size_t>(t)] = 2 * i + 1; // a digit may repeat within a draw
                scratch_[static_cast<std::size_t>(w++)] = t;
            }
        const int seenNow = w;
        for (int a = seenValues_; a < N_; ++a) {
            const int v = order_[static_cast<std::size_t>(a)];
            scratch_[static_cast<std::size_t>(w)] = v;
            w += mark_[static_cast<std::size_t>(v)] < 2 * i;
        }
        seenValues_ = seenNow;
        order_.swap(scratch_);
    }

    // Draw i - W - 1 leaves the window: its values count once less.
    void leaveWindow(int i)
    {
        for (int t : shiftDraw(i - W_ - 1, left_))
            if (t) {
                --count_[static_cast<std::size_t>(t)];
                key_[static_cast<std::size_t>(t)] =
                    rankKey(count_[static_cast<std::size_t>(t)], lastSeen_[static_cast<std::size_t>(t)]);
            }
    }

    void refreshJoinedKeys()
    {
        for (int t : joined_)
            if (t)
                key_[static_cast<std::size_t>(t)] =
                    rankKey(count_[static_cast<std::size_t>(t)], lastSeen_[static_cast<std::size_t>(t)]);
    }

    // Insertion sort by key, larger first; order_ is nearly sorted already.
    void sortByKey()
    {
        for (int a = 1; a < N_; ++a) {
            const int v = order_[static_cast<std::size_t>(a)];
            const std::uint64_t kv = key_[static_cast<std::size_t>(v)];
            int b = a;
            for (; b > 0 && key_[static_cast<std::size_t>(order_[static_cast<std::size_t>(b - 1)])] < kv; --b)
                order_[static_cast<std::size_t>(b)] = order_[static_cast<std::size_t>(b - 1)];
            order_[static_cast<std::size_t>(b)] = v;
        }
    }

    // Puts each run of equal keys into the exchange sort's order of ties.
    void orderEqualKeys()
    {
        auto keyAt = [this](int a) { return key_[static_cast<std::size_t>(order_[static_cast<std::size_t>(a)])]; };
        if (N_ > 64) {
            for (int a = 0; a < N_;) {
                const std::uint64_t kappa = keyAt(a);
                int b = a + 1;
                while (b < N_ && keyAt(b) == kappa)
                    ++b;
                if (b - a >= 2)
                    orderTies(std::span<int>(order_).subspan(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a)),
                              kappa, key_, queue_);
                a = b;
            }
            return;
        }
        // Bit a set: slots a and a + 1 hold equal keys. Most positions have
        // only a few such runs, found without a data-dependent branch.
        std::uint64_t equalNext = 0;
        for (int a = 0; a + 1 < N_; ++a)
            equalNext |= static_cast<std::uint64_t>(keyAt(a) == keyAt(a + 1)) << a;
        std::uint64_t better = 0; // values in the slots before `done`
        int done = 0;
        while (equalNext) {
            const int a = std::countr_zero(equalNext);
            const int b = a + std::countr_zero(~(equalNext >> a)); // slots a..b hold one key
            for (; done < a; ++done)
                better |= std::uint64_t{1} << (order_[static_cast<std::size_t>(done)] - 1);
            std::uint64_t members = 0;
            for (int c = a; c <= b; ++c)
                members |= std::uint64_t{1} << (order_[static_cast<std::size_t>(c)] - 1);
            orderTiesMasked(std::span<int>(order_).subspan(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a + 1)),
                            members, better, queue_.data());
            equalNext &= ~(lowBits(b) & ~lowBits(a)); // clear bits a..b-1
        }
    }

    // VariableHistory row of draw i: its numbers' ranks, ascending.
    void recordDraw(int i)
    {
        auto t = shiftDraw(i, recorded_);
        std::vector<int>& cells = recorded_;
        for (int j = 0; j < k_; ++j)
            cells[static_cast<std::size_t>(j)] =
                t[static_cast<std::size_t>(j)] ? rank_[static_cast<std::size_t>(t[static_cast<std::size_t>(j)])] - shift_ : 0;
        std::sort(cells.begin(), cells.end());
        trend_.history.append(history_.issue(i), cells);
    }

    // VariableSnapshot: the rank table after the latest draw.
    void recordSnapshot(int i)
    {
        trend_.snapshot.resize(static_cast<std::size_t>(N_));
        for (int a = 0; a < N_; ++a) {
            const int t = order_[static_cast<std::size_t>(a)];
            const int seen = lastSeen_[static_cast<std::size_t>(t)];
            trend_.snapshot[static_cast<std::size_t>(a)] = {t, count_[static_cast<std::size_t>(t)],
                                                            seen >= 0 ? i - seen : 0};
        }
        trend_.snapshotRank = rank_;
    }

    const DrawHistory& history_;
    const std::vector<int>& p_;
    const int N_, k_, D_, W_, shift_;
    VariableTrend trend_;
    std::vector<int> count_;
    // Omission comes from the latest position at which each value was seen,
    // instead of scanning back through the history for every value.
    std::vector<int> lastSeen_;
    std::vector<std::uint64_t> key_;
    std::vector<int> order_, scratch_;
    int seenValues_ = 0;
    std::vector<int> mark_;
    std::vector<int> queue_;
    std::vector<int> rank_;
    std::vector<int> joined_, left_, recorded_;
};

} // namespace

VariableTrend buildVariableTrend(const LotteryParams& lottery, const DrawHistory& history,
                                 const VariableSettings& settings, const VariableValueFn& observe)
{
    return VariableBuild(lottery, history, settings).run(observe);
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
