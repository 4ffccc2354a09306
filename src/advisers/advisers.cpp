#include "advisers/advisers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "advisers/leading_slots.h"
#include "common/error.h"
#include "common/format.h"

namespace zelvor {

namespace {

// The exchange sort every ranked table uses, run only for the first `slots`
// slots: slot a is final after its pass, so the first slots come out exactly
// as the full sort leaves them. mustPrecede(x, y): y must come before x.
template <class T, class Swap>
void exchangeSort(std::vector<T>& v, int slots, Swap mustSwap)
{
    const int n = static_cast<int>(v.size());
    slots = std::min(slots, n - 1);
    for (int a = 0; a < slots; ++a)
        for (int b = a + 1; b < n; ++b)
            if (mustSwap(v[a], v[b]))
                std::swap(v[a], v[b]);
}

// The same exchange sort, largest count first, on entries packed as
// count << 8 | index (index < 256): the entry of slot a rides in a register
// through its pass, and the swaps are plain selects.
// One step of a pass: entry x meets the pass's current entry cur (hi is cur
// with every index bit set); returns what stays in x's place.
inline int exchangeStep(int x, int& cur, int& hi)
{
    int stay = x;
#if defined(__x86_64__) && defined(__GNUC__)
    // x beats cur only when it is greater than hi (a strictly greater
    // frequency part); conditional moves, so a pass never mispredicts, and
    // only hi is carried from one step to the next.
    __asm__("cmpl %[hi], %[x]\n\t"
            "cmovg %[cur], %[stay]\n\t"
            "cmovg %[x], %[cur]\n\t"
            "cmovg %[xhi], %[hi]"
            : [stay] "+&r"(stay), [cur] "+&r"(cur), [hi] "+&r"(hi)
            : [x] "r"(x), [xhi] "r"(x | 255)
            : "cc");
#else
    const int mask = -static_cast<int>(x > hi);
    const int diff = (x ^ cur) & mask;
    stay = x ^ diff;
    cur ^= diff;
    hi = cur | 255;
#endif
    return stay;
}

// Passes over p[0..n) and p[1..n) (n >= 2) in one sweep: the second pass
// takes each entry as the first leaves it, so the two run side by side.
inline void exchangePassPair(int* p, int n)
{
    int cur0 = p[0];
    int hi0 = cur0 | 255;
    int cur1 = exchangeStep(p[1], cur0, hi0);
    int hi1 = cur1 | 255;
    for (int b = 2; b < n; ++b) {
        const int stay0 = exchangeStep(p[b], cur0, hi0);
        p[b] = exchangeStep(stay0, cur1, hi1);
    }
    p[0] = cur0;
    p[1] = cur1;
}

void largestFirst(std::vector<int>& v, int slots)
{
    const int n = static_cast<int>(v.size());
    slots = std::min(slots, n - 1);
    int* p = v.data();
    for (int a = 0; a < slots; ++a) {
        int cur = p[a];
        for (int b = a + 1; b < n; ++b) {
            const int x = p[b];
            // All ones when x must come first: a select without a branch.
            const int mask = -static_cast<int>((x >> 8) > (cur >> 8));
            const int diff = (x ^ cur) & mask;
            p[b] = x ^ diff;
            cur ^= diff;
        }
        p[a] = cur;
    }
}

bool isWholeNumberText(const std::string& t)
{
    std::size_t i = 0;
    if (!t.empty() && (t[0] == '+' || t[0] == '-'))
        i = 1;
    if (i >= t.size())
        return false;
    for (; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9')
            return false;
    return true;
}

// -1, 0 or the value clipped to a long long's range for a whole-number text.
long long wholeNumberValue(const std::string& t)
{
    const bool negative = t[0] == '-';
    long long v = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            continue;
        if (v > 1'000'000'000'000LL)
            break; // far out of every range
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

std::string rangeMessage(const std::string& label, int lo, int hi)
{
    return label + "须为" + std::to_string(lo) + "到" + std::to_string(hi) + "的整数！";
}

void appendBet(AdviserReplay& r, std::span<const int> bet)
{
    r.betNumbers.insert(r.betNumbers.end(), bet.begin(), bet.end());
    r.betStart.push_back(static_cast<int>(r.betNumbers.size()));
}

void startReplay(AdviserReplay& r, AdviserKind kind, const DrawHistory& h, const LotteryParams& p)
{
    r.kind = kind;
    r.drawCount = h.size();
    r.betStart.reserve(static_cast<std::size_t>(h.size()) + 1);
    r.betStart.assign(1, 0);
    r.hits.assign(static_cast<std::size_t>(h.size()), 0);
    r.histogram.assign(static_cast<std::size_t>(p.pickCount + 1), 0);
}

void countHit(AdviserReplay& r, int pos, int hits, bool first)
{
    r.hits[pos] = hits;
    if (first || hits > r.maxHits)
        r.maxHits = hits;
    if (first || hits < r.minHits)
        r.minHits = hits;
    if (hits >= 0 && hits < static_cast<int>(r.histogram.size()))
        ++r.histogram[hits];
}

// The last-digit classes of the stem-branch rule: class 1..5 of each stem and
// branch, the digits of each class and the companion classes G, K, M.
constexpr std::array<int, 10> kStemClass = {3, 3, 2, 2, 5, 5, 4, 4, 1, 1};
constexpr std::array<int, 12> kBranchClass = {1, 5, 3, 3, 5, 2, 2, 5, 4, 4, 5, 1};
constexpr std::array<std::array<int, 2>, 6> kClassDigits = {{{0, 0}, {1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 0}}};
constexpr std::array<int, 6> kClassG = {0, 3, 5, 2, 1, 4};
constexpr std::array<int, 6> kClassK = {0, 2, 4, 5, 3, 1};
constexpr std::array<int, 6> kClassM = {0, 4, 3, 1, 5, 2};

} // namespace

const std::array<const char*, 10> kStems = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const std::array<const char*, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                               "午", "未", "申", "酉", "戌", "亥"};
const std::array<const char*, 4> kReplayHeader = {"记录期号", "开奖号码", "投注号码", "中奖个数"};

IntervalSettings defaultIntervalSettings(const LotteryParams& p)
{
    return {5, std::min(18, p.numberRange)};
}

IntimateSettings defaultIntimateSettings(const LotteryParams& p, int n)
{
    return {true, p.numberRange / 2 + 1, std::min(7, n)};
}

CompositeSettings defaultCompositeSettings(int n)
{
    return {std::min(40, n), 1, 10, 10};
}

int parseSetting(const std::string& text, const std::string& label, int lo, int hi)
{
    if (!isWholeNumberText(text))
        throw Error(integerConversionMessage(text));
    const long long v = wholeNumberValue(text);
    if (v < lo || v > hi)
        throw Error(rangeMessage(label, lo, hi));
    return static_cast<int>(v);
}

int parseStage(const std::string& text, const std::string& allWord, int n)
{
    if (text == allWord)
        return 0;
    if (!isWholeNumberText(text))
        throw Error(integerConversionMessage(text));
    const long long v = wholeNumberValue(text);
    if (v < 1 || v > n)
        throw Error("阶段次数须为全部期数或1到" + std::to_string(n) + "的整数！");
    return static_cast<int>(v);
}

std::vector<std::string> targetItems(const DrawHistory& h)
{
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(h.size()) + 1);
    for (int i = 0; i < h.size(); ++i)
        items.push_back(std::to_string(h.issue(i)));
    items.push_back(std::to_string(h.nextIssue()));
    return items;
}

int parseTarget(const DrawHistory& h, const std::string& text)
{
    if (!isWholeNumberText(text))
        throw Error(integerConversionMessage(text));
    const long long v = wholeNumberValue(text);
    for (int i = 0; i < h.size(); ++i)
        if (h.issue(i) == v)
            return i;
    if (v == h.nextIssue())
        return h.size();
    throw Error("目前投注期须为历史中的一期或下一期！");
}

std::string numbersText(std::span<const int> numbers, bool twoDigits)
{
    if (twoDigits)
        return numbersWithBlanks(numbers);
    std::string s;
    for (int v : numbers)
        s += std::to_string(v) + ' ';
    return s;
}

// ---- 5.1 ------------------------------------------------------------------

namespace {

// Groups the numbers by current interval and takes them, least frequent
// interval first; freq[d] for d = 1..M, current[v - lo] the current intervals.
// Frequencies are at most k * (M + 1) <= 20 * 21; the bias keeps packed keys positive.
constexpr int kFrequencyBias = 1 << 20;

struct IntervalScratch {
    struct Entry {
        int d;
        int f;
    };
    std::vector<Entry> entries;
    std::vector<int> packed;
    std::vector<int> groupStart; // numbers with current interval d: groupItems[groupStart[d] .. groupStart[d + 1])
    std::vector<int> groupItems;
};

void selectByInterval(const std::vector<int>& freq, const std::vector<int>& current, int lo, int M, int S,
                      std::vector<int>& bet, IntervalScratch& x)
{
    using Entry = IntervalScratch::Entry;
    // Least frequent first: the largest-first sort on negated frequencies
    // swaps exactly where "entry i's frequency is greater than entry j's".
    x.packed.resize(static_cast<std::size_t>(M));
    for (int d = 1; d <= M; ++d)
        x.packed[d - 1] = (kFrequencyBias - freq[d]) << 8 | d;
    largestFirst(x.packed, M - 1);
    x.entries.clear();
    for (int e : x.packed)
        x.entries.push_back({e & 255, 0});
    // Numbers grouped by current interval, ascending within a group.
    x.groupStart.assign(static_cast<std::size_t>(M) + 2, 0);
    for (int c : current)
        if (c >= 1 && c <= M)
            ++x.groupStart[c + 1];
    for (int d = 1; d <= M; ++d)
        x.groupStart[d + 1] += x.groupStart[d];
    x.groupItems.resize(static_cast<std::size_t>(x.groupStart[M + 1]));
    std::vector<int>& fill = x.groupStart; // advanced while filling, restored below
    for (std::size_t i = 0; i < current.size(); ++i) {
        const int c = current[i];
        if (c >= 1 && c <= M)
            x.groupItems[fill[c]++] = static_cast<int>(i) + lo;
    }
    for (int d = M; d >= 1; --d)
        fill[d + 1] = fill[d];
    fill[1] = 0;
    bet.clear();
    for (const Entry& e : x.entries) {
        for (int i = x.groupStart[e.d]; i < x.groupStart[e.d + 1] && static_cast<int>(bet.size()) < S; ++i)
            bet.push_back(x.groupItems[i]);
        if (static_cast<int>(bet.size()) >= S)
            break;
    }
}

// For each 8-bit mask, the positions of its set bits, lowest first (0 after them).
constexpr std::array<std::array<std::uint8_t, 8>, 256> kBitPositions = [] {
    std::array<std::array<std::uint8_t, 8>, 256> t{};
    for (int m = 0; m < 256; ++m) {
        int n = 0;
        for (int b = 0; b < 8; ++b)
            if (m >> b & 1)
                t[m][n++] = static_cast<std::uint8_t>(b);
    }
    return t;
}();

constexpr std::array<std::uint8_t, 256> kBitCounts = [] {
    std::array<std::uint8_t, 256> t{};
    for (int m = 0; m < 256; ++m)
        for (int b = 0; b < 8; ++b)
            t[m] = static_cast<std::uint8_t>(t[m] + (m >> b & 1));
    return t;
}();

// Each drawn position's re-appearance interval: t - (the latest earlier draw
// holding the same number), or t + 1 when there is none.
std::vector<int> drawnIntervals(const DrawHistory& h, const LotteryParams& p)
{
    const int k = h.pickCount();
    const int lo = firstNumber(p);
    std::vector<int> last(static_cast<std::size_t>(p.numberRange), -1);
    std::vector<int> iv(static_cast<std::size_t>(h.size()) * k);
    for (int t = 0; t < h.size(); ++t) {
        auto row = h.main(t);
        for (int j = 0; j < k; ++j) {
            const int x = row[j] - lo;
            iv[static_cast<std::size_t>(t) * k + j] = (x >= 0 && x < p.numberRange) ? t - last[x] : t + 1;
        }
        for (int j = 0; j < k; ++j) {
            const int x = row[j] - lo;
            if (x >= 0 && x < p.numberRange)
                last[x] = t;
        }
    }
    return iv;
}

} // namespace

std::vector<int> intervalOrder(const std::vector<int>& frequency)
{
    const int M = static_cast<int>(frequency.size());
    std::vector<int> freq(static_cast<std::size_t>(M) + 1, 0);
    std::vector<int> current;
    for (int d = 1; d <= M; ++d) {
        freq[d] = frequency[d - 1];
        current.push_back(d); // one stand-in number per interval
    }
    std::vector<int> order;
    IntervalScratch scratch;
    selectByInterval(freq, current, 1, M, M, order, scratch);
    // Number d - 1 + 1 = d stands for interval d.
    return order;
}

std::vector<int> recommendInterval(const DrawHistory& h, const LotteryParams& p, int P, const IntervalSettings& s)
{
    const int lo = firstNumber(p);
    const int N = p.numberRange;
    const int M = s.draws;
    const int k = h.pickCount();
    std::vector<int> freq(static_cast<std::size_t>(M) + 1, 0);
    const int start = std::max(0, P - M - 1);
    const std::vector<int> iv = drawnIntervals(h, p);
    for (int t = P - 1; t >= start; --t)
        for (int j = 0; j < k; ++j) {
            const int d = iv[static_cast<std::size_t>(t) * k + j];
            if (d >= 1 && d <= M)
                ++freq[d];
        }
    std::vector<int> current(static_cast<std::size_t>(N), P + 1);
    for (int u = 0; u < P; ++u)
        for (int x : h.main(u))
            if (x - lo >= 0 && x - lo < N)
                current[x - lo] = P - u;
    std::vector<int> bet;
    IntervalScratch scratch;
    selectByInterval(freq, current, lo, M, s.count, bet, scratch);
    return bet;
}

AdviserReplay replayInterval(const DrawHistory& h, const LotteryParams& p, const IntervalSettings& s)
{
    AdviserReplay r;
    startReplay(r, AdviserKind::Interval, h, p);
    const int n = h.size();
    const int k = h.pickCount();
    const int lo = firstNumber(p);
    const int N = p.numberRange;
    const int M = s.draws;
    r.firstBet = n >= 2 ? 1 : -1;
    const std::vector<int> iv = drawnIntervals(h, p);
    // freq[M + 1] takes the intervals outside 1..M, so counting needs no branch.
    std::vector<int> freq(static_cast<std::size_t>(M) + 2, 0);
    std::vector<int> lastSeen(static_cast<std::size_t>(N), -1);
    std::vector<int> current(static_cast<std::size_t>(N));
    std::vector<int> bet;
    std::vector<char> inBet(static_cast<std::size_t>(N), 0);
    IntervalScratch scratch;
    r.betNumbers.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(std::min(s.count, N)));
    appendBet(r, {});
    // The window of target P is draws max(0, P-M-1) .. P-1; slide it along.
    auto addDraw = [&](int t, int sign) {
        for (int j = 0; j < k; ++j) {
            const int d = iv[static_cast<std::size_t>(t) * k + j];
            freq[d >= 1 && d <= M ? d : M + 1] += sign;
        }
    };
    if (n > 0)
        addDraw(0, 1);
    // Each draw's distinct numbers (as offsets from lo), ascending.
    std::vector<int> rowStart(static_cast<std::size_t>(n) + 1, 0);
    std::vector<int> rowNumbers;
    rowNumbers.reserve(static_cast<std::size_t>(n) * k);
    for (int t = 0; t < n; ++t) {
        const std::size_t from = rowNumbers.size();
        if (N <= 64) {
            std::uint64_t set = 0;
            for (int x : h.main(t))
                if (x - lo >= 0 && x - lo < N)
                    set |= std::uint64_t{1} << (x - lo);
            for (; set; set &= set - 1)
                rowNumbers.push_back(std::countr_zero(set));
            rowStart[static_cast<std::size_t>(t) + 1] = static_cast<int>(rowNumbers.size());
            continue;
        }
        for (int x : h.main(t)) {
            const int v = x - lo;
            if (v < 0 || v >= N)
                continue;
            std::size_t q = rowNumbers.size();
            bool repeated = false;
            for (std::size_t i = from; i < q; ++i)
                repeated = repeated || rowNumbers[i] == v;
            if (repeated)
                continue;
            rowNumbers.push_back(v);
            while (q > from && rowNumbers[q - 1] > v) {
                rowNumbers[q] = rowNumbers[q - 1];
                --q;
            }
            rowNumbers[q] = v;
        }
        rowStart[static_cast<std::size_t>(t) + 1] = static_cast<int>(rowNumbers.size());
    }
    // alive[t]: bit i set while the i-th number of draw t's row has not been
    // drawn since (its current interval is P - t).
    std::vector<std::uint64_t> alive(static_cast<std::size_t>(n), 0);
    std::vector<int> lastPos(static_cast<std::size_t>(N), 0);
    auto markDrawn = [&](int t) {
        const int from = rowStart[t];
        for (int i = from; i < rowStart[t + 1]; ++i) {
            const int v = rowNumbers[i];
            if (lastSeen[v] >= 0 && lastPos[v] < 64)
                alive[lastSeen[v]] &= ~(std::uint64_t{1} << lastPos[v]);
            lastSeen[v] = t;
            lastPos[v] = i - from;
            if (i - from < 64)
                alive[t] |= std::uint64_t{1} << (i - from);
        }
    };
    if (n > 0)
        markDrawn(0);
    // The intervals packed as (bias - frequency) << 8 | d, largest first: the
    // exchange sort's passes are run one at a time, only as far as numbers
    // are taken.
    std::vector<int> order(static_cast<std::size_t>(M));
    std::vector<int> taken(static_cast<std::size_t>(std::max(s.count, 0)) + static_cast<std::size_t>(std::max(k, 8)));
    const int S = s.count;
    const bool fastGroups = k <= 64; // a row's numbers fit in one alive mask
    for (int P = 1; P < n; ++P) {
        if (P - M - 2 >= 0)
            addDraw(P - M - 2, -1);
        if (P >= M && fastGroups) {
            // Every number with a current interval d <= M was last drawn in
            // draw P - d, so the groups come from the last M draws.
            int* o = order.data();
            for (int d = 1; d <= M; ++d)
                o[d - 1] = (kFrequencyBias - freq[d]) << 8 | d;
            int got = 0;
            for (int a = 0; a < M && got < S; ++a) {
                // Slots a and a + 1 are settled together; the second is read
                // in the next round when the numbers are not yet enough.
                if ((a & 1) == 0 && a + 1 < M)
                    exchangePassPair(o + a, M - a);
                const int cur = o[a] & 255;
                // Numbers still last seen in draw t, ascending; a group may
                // overfill `taken`, only the first S count.
                const int t = P - cur;
                const std::uint64_t m = alive[t];
                const int* row = rowNumbers.data() + rowStart[t];
                if (k <= 8) {
                    // k copies whatever the mask, so no branch depends on it.
                    const auto& at = kBitPositions[m];
                    int* out = taken.data() + got;
                    for (int i = 0; i < k; ++i)
                        out[i] = row[at[i]] + lo;
                    got += kBitCounts[m];
                } else {
                    const int len = rowStart[t + 1] - rowStart[t];
                    for (int i = 0; i < len; ++i) {
                        taken[got] = row[i] + lo;
                        got += static_cast<int>((m >> i) & 1);
                    }
                }
            }
            got = std::max(0, std::min(got, S));
            int hits = 0;
            if (N <= 64) {
                std::uint64_t betSet = 0;
                for (int i = 0; i < got; ++i)
                    betSet |= std::uint64_t{1} << (taken[i] - lo);
                for (int x : h.main(P)) {
                    const unsigned v = static_cast<unsigned>(x - lo);
                    hits += v < static_cast<unsigned>(N) ? static_cast<int>((betSet >> v) & 1) : 0;
                }
            } else {
                for (int i = 0; i < got; ++i)
                    inBet[taken[i] - lo] = 1;
                for (int x : h.main(P))
                    if (x - lo >= 0 && x - lo < N && inBet[x - lo])
                        ++hits;
                for (int i = 0; i < got; ++i)
                    inBet[taken[i] - lo] = 0;
            }
            appendBet(r, std::span<const int>(taken.data(), static_cast<std::size_t>(got)));
            countHit(r, P, hits, P == 1);
            addDraw(P, 1);
            markDrawn(P);
            continue;
        }
        for (int v = 0; v < N; ++v)
            current[v] = P - lastSeen[v];
        selectByInterval(freq, current, lo, M, S, bet, scratch);
        for (int v : bet)
            inBet[v - lo] = 1;
        int hits = 0;
        for (int x : h.main(P))
            if (x - lo >= 0 && x - lo < N && inBet[x - lo])
                ++hits;
        for (int v : bet)
            inBet[v - lo] = 0;
        appendBet(r, bet);
        countHit(r, P, hits, P == 1);
        addDraw(P, 1);
        markDrawn(P);
    }
    return r;
}

// ---- 5.2 ------------------------------------------------------------------

namespace {

using Table = std::vector<IntimacyEntry>;

Table tableFrom(const int* counts, int N, int lo)
{
    Table t(static_cast<std::size_t>(N));
    for (int v = 0; v < N; ++v)
        t[v] = {v + lo, counts[v]};
    return t;
}

void orderTable(Table& t, int slots)
{
    exchangeSort(t, slots, [](const IntimacyEntry& a, const IntimacyEntry& b) { return b.count > a.count; });
}

// Running follower counts: follow[x][y] counts the numbers y drawn right
// after the counted occurrences of x (its latest stage-1 occurrences, or all).
class FollowerCounts {
public:
    FollowerCounts(const DrawHistory& h, const LotteryParams& p, int stage)
        : h_(h), N_(p.numberRange), lo_(firstNumber(p)), stage_(stage),
          follow_(static_cast<std::size_t>(N_) * N_, 0), occ_(static_cast<std::size_t>(N_)),
          oldest_(static_cast<std::size_t>(N_), 0)
    {
    }
    // Counts draw j as an occurrence of each of its numbers (j + 1 must exist).
    void addOccurrence(int j)
    {
        auto row = h_.main(j);
        for (std::size_t a = 0; a < row.size(); ++a) {
            const int x = row[a] - lo_;
            if (x < 0 || x >= N_)
                continue;
            bool repeated = false;
            for (std::size_t b = 0; b < a; ++b)
                repeated = repeated || row[b] == row[a];
            if (repeated)
                continue; // "contains" counts a draw once
            add(x, j + 1, 1);
            if (stage_ <= 0)
                continue; // every occurrence counts: nothing is ever dropped
            // The occurrences still counted are occ_[x][oldest_[x] ..].
            std::vector<int>& occ = occ_[x];
            occ.push_back(j);
            if (static_cast<int>(occ.size()) - oldest_[x] > stage_ - 1)
                add(x, occ[static_cast<std::size_t>(oldest_[x]++)] + 1, -1);
        }
    }
    const int* counts(int x) const { return follow_.data() + static_cast<std::size_t>(x) * N_; }

private:
    void add(int x, int draw, int sign)
    {
        int* c = follow_.data() + static_cast<std::size_t>(x) * N_;
        for (int y : h_.main(draw))
            if (y - lo_ >= 0 && y - lo_ < N_)
                c[y - lo_] += sign;
    }
    const DrawHistory& h_;
    int N_;
    int lo_;
    int stage_;
    std::vector<int> follow_;
    std::vector<std::vector<int>> occ_;
    std::vector<int> oldest_;
};

// Marks the bet of reference draw P - 1 from the follower counts: the first
// W slots of each ordered table, found without ordering the tables.
void markIntimate(const DrawHistory& h, const LotteryParams& p, int P, const IntimateSettings& s,
                  const FollowerCounts& f, std::vector<char>& marked, std::vector<int>& overall,
                  const std::vector<int>& zeros, LeadingSlotsScratch& scratch)
{
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    std::fill(marked.begin(), marked.end(), 0);
    auto ref = h.main(P - 1);
    const int W = std::min(s.count, N);
    if (s.overall) {
        std::fill(overall.begin(), overall.end(), 0);
        int* sum = overall.data();
        for (int x : ref)
            if (x - lo >= 0 && x - lo < N) {
                const int* c = f.counts(x - lo);
                for (int v = 0; v < N; ++v)
                    sum[v] += c[v];
            }
        markLeadingSlots(sum, N, W, marked.data(), scratch);
    } else {
        for (int x : ref) {
            const bool valid = x - lo >= 0 && x - lo < N;
            markLeadingSlots(valid ? f.counts(x - lo) : zeros.data(), N, W, marked.data(), scratch);
        }
    }
}

} // namespace

IntimateResult recommendIntimate(const DrawHistory& h, const LotteryParams& p, int P, const IntimateSettings& s)
{
    if (P <= 0)
        throw Error("目前投注期之前没有开奖号码！");
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    FollowerCounts f(h, p, s.stage);
    for (int j = 0; j <= P - 2; ++j)
        f.addOccurrence(j);
    IntimateResult r;
    auto ref = h.main(P - 1);
    r.reference.assign(ref.begin(), ref.end());
    std::vector<int> overall(static_cast<std::size_t>(N), 0);
    std::vector<int> zeros(static_cast<std::size_t>(N), 0);
    for (int x : ref) {
        const int* c = (x - lo >= 0 && x - lo < N) ? f.counts(x - lo) : zeros.data();
        Table t = tableFrom(c, N, lo);
        for (int v = 0; v < N; ++v)
            overall[v] += c[v];
        orderTable(t, N - 1);
        r.positions.push_back(std::move(t));
    }
    r.overall = tableFrom(overall.data(), N, lo);
    orderTable(r.overall, N - 1);
    std::vector<char> marked(static_cast<std::size_t>(N), 0);
    const int W = std::min(s.count, N);
    if (s.overall)
        for (int a = 0; a < W; ++a)
            marked[r.overall[a].number - lo] = 1;
    else
        for (const Table& t : r.positions)
            for (int a = 0; a < W; ++a)
                marked[t[a].number - lo] = 1;
    for (int v = 0; v < N; ++v)
        if (marked[v])
            r.bet.push_back(v + lo);
    return r;
}

AdviserReplay replayIntimate(const DrawHistory& h, const LotteryParams& p, const IntimateSettings& s)
{
    AdviserReplay r;
    startReplay(r, AdviserKind::Intimate, h, p);
    const int n = h.size();
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    r.firstBet = n >= 2 ? 1 : -1;
    r.firstBar = s.stage > 0 ? s.stage + 1 : 1;
    FollowerCounts f(h, p, s.stage);
    std::vector<char> marked(static_cast<std::size_t>(N), 0);
    std::vector<int> overall(static_cast<std::size_t>(N), 0);
    const std::vector<int> zeros(static_cast<std::size_t>(N), 0);
    LeadingSlotsScratch scratch;
    std::vector<int> bet;
    r.betNumbers.reserve(static_cast<std::size_t>(n) *
                         static_cast<std::size_t>(std::min(N, s.overall ? s.count : s.count * p.pickCount)));
    appendBet(r, {});
    for (int P = 1; P < n; ++P) {
        if (P >= 2)
            f.addOccurrence(P - 2);
        markIntimate(h, p, P, s, f, marked, overall, zeros, scratch);
        bet.resize(static_cast<std::size_t>(N));
        int taken = 0;
        for (int v = 0; v < N; ++v) {
            bet[taken] = v + lo;
            taken += marked[v];
        }
        bet.resize(static_cast<std::size_t>(taken));
        int hits = 0;
        for (int x : h.main(P))
            if (x - lo >= 0 && x - lo < N && marked[x - lo])
                ++hits;
        appendBet(r, bet);
        countHit(r, P, hits, P == 1);
    }
    return r;
}

// ---- 5.3 ------------------------------------------------------------------

namespace {

// Window state of the four steps for one target; filled directly or slid.
struct CompositeWindows {
    std::vector<int> countA;  // draws T-w1 .. T-1
    std::vector<int> countB;  // draws T-w4-1 .. T-2
    std::vector<int> triples; // positions p = T-1 .. T-w1 (p >= 2) ending a three-in-a-row
    std::vector<int> lastSeen; // latest draw < T holding each number, -1 when none
};

// The four steps from the window state, with both rankings fully ordered
// (step 4 lists its numbers in ranking-B order).
void compositeSteps(const LotteryParams& p, int T, const CompositeSettings& s, const CompositeWindows& w,
                    CompositeResult& out, std::vector<int>& rankA, std::vector<int>& rankB,
                    std::vector<char>& selected, std::vector<char>& tailA, std::vector<char>& inStep1)
{
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    const int half = N / 2;
    const int quarter = N / 4;
    const int tailFrom = std::max(0, (3 * N) / 4 - 1); // 0-based slot of 1-based position (3N) div 4
    for (int v = 0; v < N; ++v) {
        rankA[v] = w.countA[v] << 8 | v;
        rankB[v] = w.countB[v] << 8 | v;
    }
    largestFirst(rankA, N - 1);
    largestFirst(rankB, N - 1);
    std::fill(selected.begin(), selected.end(), 0);
    std::fill(tailA.begin(), tailA.end(), 0);
    for (int a = tailFrom; a < N; ++a)
        tailA[rankA[a] & 255] = 1;
    out.step1.clear();
    out.step2.clear();
    out.step3.clear();
    out.step4.clear();
    std::fill(inStep1.begin(), inStep1.end(), 0);
    for (int a = 0; a < half; ++a)
        inStep1[rankA[a] & 255] = 1;
    for (int v = 0; v < N; ++v) {
        if (!inStep1[v])
            continue;
        out.step1.push_back(v + lo);
        if (w.lastSeen[v] < T - s.w2) {
            out.step2.push_back(v + lo);
            selected[v] = 1;
        }
    }
    for (int v = 0; v < N; ++v)
        if (w.triples[v] > 0 && w.lastSeen[v] < T - s.w3) {
            out.step3.push_back(v + lo);
            selected[v] = 1;
        }
    for (int a = 0; a < quarter; ++a) {
        const int v = rankB[a] & 255;
        if (tailA[v]) {
            out.step4.push_back(v + lo);
            selected[v] = 1;
        }
    }
    out.bet.clear();
    for (int v = 0; v < N; ++v)
        if (selected[v])
            out.bet.push_back(v + lo);
}

// The replay's bet from the window state: the same four steps as
// compositeSteps, but only the sets of numbers they take, so the ranked
// tables are never ordered (markLeadingSlots finds their leading slots).
struct CompositeScratch {
    std::vector<char> step1;  // first N/2 slots of ranking A
    std::vector<char> frontA; // first (3N)/4 - 1 slots of ranking A
    std::vector<char> frontB; // first N/4 slots of ranking B
    LeadingSlotsScratch slots;
};

void compositeBet(const LotteryParams& p, int T, const CompositeSettings& s, const CompositeWindows& w,
                  std::vector<char>& selected, std::vector<int>& bet, CompositeScratch& x)
{
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    const int half = N / 2;
    const int quarter = N / 4;
    const int tailFrom = std::max(0, (3 * N) / 4 - 1);
    x.step1.assign(static_cast<std::size_t>(N), 0);
    x.frontA.assign(static_cast<std::size_t>(N), 0);
    x.frontB.assign(static_cast<std::size_t>(N), 0);
    markLeadingSlots(w.countA.data(), N, half, x.step1.data(), x.slots);
    markLeadingSlots(w.countA.data(), N, tailFrom, x.frontA.data(), x.slots);
    markLeadingSlots(w.countB.data(), N, quarter, x.frontB.data(), x.slots);
    // Every test is evaluated, without branches: the outcomes are hard to guess.
    bet.resize(static_cast<std::size_t>(N));
    int taken = 0;
    for (int v = 0; v < N; ++v) {
        const int quiet2 = w.lastSeen[v] < T - s.w2;
        const int quiet3 = w.lastSeen[v] < T - s.w3;
        const int take = (x.step1[v] & quiet2) | (static_cast<int>(w.triples[v] > 0) & quiet3) |
                         (x.frontB[v] & (x.frontA[v] ^ 1));
        selected[v] = static_cast<char>(take);
        bet[taken] = v + lo;
        taken += take;
    }
    bet.resize(static_cast<std::size_t>(taken));
}

bool drawHolds(const DrawHistory& h, int t, int x)
{
    for (int y : h.main(t))
        if (y == x)
            return true;
    return false;
}

class CompositeWalker {
public:
    CompositeWalker(const DrawHistory& h, const LotteryParams& p, const CompositeSettings& s)
        : h_(h), p_(p), s_(s), N_(p.numberRange), lo_(firstNumber(p))
    {
        w_.countA.assign(static_cast<std::size_t>(N_), 0);
        w_.countB.assign(static_cast<std::size_t>(N_), 0);
        w_.triples.assign(static_cast<std::size_t>(N_), 0);
        w_.lastSeen.assign(static_cast<std::size_t>(N_), -1);
        if (N_ <= 64) {
            masks_.assign(static_cast<std::size_t>(h.size()), 0);
            for (int t = 0; t < h.size(); ++t)
                for (int x : h.main(t))
                    if (valid(x))
                        masks_[static_cast<std::size_t>(t)] |= std::uint64_t{1} << (x - lo_);
        }
    }
    // Fills the windows of target T directly.
    void start(int T)
    {
        T_ = T;
        for (int t = std::max(0, T - s_.w1); t < T; ++t)
            countDraw(w_.countA, t, 1);
        for (int t = std::max(0, T - s_.w4 - 1); t <= T - 2; ++t)
            countDraw(w_.countB, t, 1);
        for (int q = std::max(2, T - s_.w1); q < T; ++q)
            tripleAt(q, 1);
        for (int t = 0; t < T; ++t)
            for (int x : h_.main(t))
                if (valid(x))
                    w_.lastSeen[x - lo_] = t;
    }
    // Moves the windows from T to T + 1.
    void advance()
    {
        const int T = T_;
        countDraw(w_.countA, T, 1);
        if (T - s_.w1 >= 0)
            countDraw(w_.countA, T - s_.w1, -1);
        if (T - 1 >= 0)
            countDraw(w_.countB, T - 1, 1);
        if (T - s_.w4 - 1 >= 0)
            countDraw(w_.countB, T - s_.w4 - 1, -1);
        if (T >= 2)
            tripleAt(T, 1);
        if (T - s_.w1 >= 2)
            tripleAt(T - s_.w1, -1);
        for (int x : h_.main(T))
            if (valid(x))
                w_.lastSeen[x - lo_] = T;
        ++T_;
    }
    const CompositeWindows& windows() const { return w_; }
    int target() const { return T_; }

private:
    bool valid(int x) const { return x - lo_ >= 0 && x - lo_ < N_; }
    // Whether draw t holds the valid number x.
    bool holds(int t, int x) const
    {
        if (!masks_.empty())
            return (masks_[static_cast<std::size_t>(t)] >> (x - lo_)) & 1;
        return drawHolds(h_, t, x);
    }
    void countDraw(std::vector<int>& c, int t, int sign)
    {
        for (int x : h_.main(t))
            if (valid(x))
                c[x - lo_] += sign;
    }
    void tripleAt(int q, int sign)
    {
        auto row = h_.main(q);
        for (std::size_t a = 0; a < row.size(); ++a) {
            const int x = row[a];
            bool repeated = false;
            for (std::size_t b = 0; b < a; ++b)
                repeated = repeated || row[b] == x;
            if (!repeated && valid(x) && holds(q - 1, x) && holds(q - 2, x))
                w_.triples[x - lo_] += sign;
        }
    }
    const DrawHistory& h_;
    const LotteryParams& p_;
    CompositeSettings s_;
    int N_;
    int lo_;
    int T_ = 0;
    CompositeWindows w_;
    std::vector<std::uint64_t> masks_; // per draw its numbers as bits, when N <= 64
};

} // namespace

CompositeResult recommendComposite(const DrawHistory& h, const LotteryParams& p, int T, const CompositeSettings& s)
{
    const int N = p.numberRange;
    CompositeWalker walker(h, p, s);
    walker.start(T);
    CompositeResult r;
    std::vector<int> rankA(static_cast<std::size_t>(N)), rankB(static_cast<std::size_t>(N));
    std::vector<char> selected(static_cast<std::size_t>(N)), tailA(static_cast<std::size_t>(N)),
        inStep1(static_cast<std::size_t>(N));
    compositeSteps(p, T, s, walker.windows(), r, rankA, rankB, selected, tailA, inStep1);
    return r;
}

AdviserReplay replayComposite(const DrawHistory& h, const LotteryParams& p, const CompositeSettings& s)
{
    AdviserReplay r;
    startReplay(r, AdviserKind::Composite, h, p);
    const int n = h.size();
    const int N = p.numberRange;
    const int lo = firstNumber(p);
    const int first = s.w1 + 11;
    r.firstBet = first < n ? first : -1;
    r.firstRow = s.w1 + 20;
    r.firstBar = s.w1 + 20;
    for (int P = 0; P < std::min(first, n); ++P)
        appendBet(r, {});
    if (first >= n)
        return r;
    CompositeWalker walker(h, p, s);
    walker.start(first);
    std::vector<char> selected(static_cast<std::size_t>(N));
    std::vector<int> bet;
    CompositeScratch scratch;
    r.betNumbers.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(N / 2 + 4));
    for (int T = first; T < n; ++T) {
        compositeBet(p, T, s, walker.windows(), selected, bet, scratch);
        int hits = 0;
        for (int x : h.main(T))
            if (x - lo >= 0 && x - lo < N && selected[x - lo])
                ++hits;
        appendBet(r, bet);
        countHit(r, T, hits, T == first);
        if (T + 1 < n)
            walker.advance();
    }
    return r;
}

// ---- 5.4 ------------------------------------------------------------------

bool parseDate(const std::string& text, CivilDate& date)
{
    int parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    char sep = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (++digits > 4)
                return false;
            parts[part] = parts[part] * 10 + (c - '0');
        } else if ((c == '-' || c == '/') && digits > 0 && part < 2 && (sep == 0 || sep == c)) {
            sep = c;
            ++part;
            digits = 0;
        } else {
            return false;
        }
    }
    if (part != 2 || digits == 0)
        return false;
    const CivilDate d{parts[0], parts[1], parts[2]};
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    if (d.day > days)
        return false;
    date = d;
    return true;
}

std::string dateText(const CivilDate& d)
{
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

long long dayNumber(const CivilDate& d)
{
    // Days since 1970-1-1 in the proleptic Gregorian calendar.
    const long long y = d.month <= 2 ? d.year - 1 : d.year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (d.month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + d.day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate dateFromDayNumber(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

int weekdayOf(const CivilDate& d)
{
    // 1970-1-1 was a Thursday (4).
    const long long w = ((dayNumber(d) + 3) % 7 + 7) % 7; // 0 = Monday
    return static_cast<int>(w) + 1;
}

namespace {
long long daysFromBase(const CivilDate& d)
{
    return dayNumber(d) - dayNumber({2001, 5, 1});
}
} // namespace

int stemIndex(const CivilDate& d)
{
    return static_cast<int>(((daysFromBase(d) % 10) + 10) % 10);
}

int branchIndex(const CivilDate& d)
{
    return static_cast<int>(((daysFromBase(d) % 12) + 12) % 12);
}

std::array<bool, 10> selectedDigits(int stem, int branch, bool extra)
{
    std::array<bool, 10> f{};
    const int s = kStemClass[stem];
    const int b = kBranchClass[branch];
    auto set = [&](int c, bool on) {
        f[kClassDigits[c][0]] = on;
        f[kClassDigits[c][1]] = on;
    };
    if (stem == 9 || branch == 11) {
        set(s, true);
        set(b, true);
        f[3] = f[8] = true;
    } else if (s != b) {
        f.fill(true);
        set(s, false);
        set(b, false);
    } else {
        set(b, true);
        set(kClassG[b], true);
        set(kClassK[b], true);
    }
    if (extra) {
        set(kClassG[b], false);
        set(kClassM[b], false);
    }
    return f;
}

std::vector<int> recommendStemBranch(const LotteryParams& p, const std::array<bool, 10>& digits)
{
    std::vector<int> bet;
    const int lo = firstNumber(p);
    for (int v = lo; v < lo + p.numberRange; ++v)
        if (digits[v % 10])
            bet.push_back(v);
    return bet;
}

CivilDate nextDrawDate(const std::string& lotteryName, const std::string& weekdays, const CivilDate& lastDate)
{
    const long long day = dayNumber(lastDate);
    const int wd = weekdayOf(lastDate);
    if (lotteryName == kTwoColourBall) {
        // Monday … Sunday
        static constexpr int kStep[] = {1, 2, 1, 3, 2, 1, 2};
        return dateFromDayNumber(day + kStep[wd - 1]);
    }
    for (int step = 1; step <= 7; ++step) {
        const int w = (wd - 1 + step) % 7 + 1;
        if (weekdays.find(static_cast<char>('0' + w)) != std::string::npos)
            return dateFromDayNumber(day + step);
    }
    return dateFromDayNumber(day + 1);
}

AdviserReplay replayStemBranch(const DrawHistory& h, const LotteryParams& p, const std::vector<std::string>& dates,
                               const StemBranchSettings& s)
{
    AdviserReplay r;
    startReplay(r, AdviserKind::StemBranch, h, p);
    const int n = h.size();
    r.firstBet = n >= 1 ? 0 : -1;
    std::array<std::vector<int>, 120> cache; // per (stem, branch)
    std::array<std::array<bool, 10>, 120> digitsOf{};
    std::array<bool, 120> known{};
    for (int P = 0; P < n; ++P) {
        CivilDate d;
        if (P >= static_cast<int>(dates.size()) || !parseDate(dates[P], d))
            throw Error("第" + std::to_string(h.issue(P)) + "期没有正确的开奖日期！");
        const int key = stemIndex(d) * 12 + branchIndex(d);
        if (!known[key]) {
            digitsOf[key] = selectedDigits(stemIndex(d), branchIndex(d), s.extra);
            cache[key] = recommendStemBranch(p, digitsOf[key]);
            known[key] = true;
        }
        int hits = 0;
        for (int x : h.main(P))
            if (x >= 0 && digitsOf[key][x % 10])
                ++hits;
        appendBet(r, cache[key]);
        countHit(r, P, hits, P == 0);
    }
    return r;
}

// ---- texts ----------------------------------------------------------------

std::string replayCell(const AdviserReplay& r, const DrawHistory& h, int row, int column)
{
    const int pos = r.firstRow + row;
    const bool twoDigitDraws = r.kind != AdviserKind::StemBranch;
    const bool twoDigitBets = r.kind == AdviserKind::Interval || r.kind == AdviserKind::Composite;
    switch (column) {
    case 0:
        return std::to_string(h.issue(pos));
    case 1:
        return numbersText(h.main(pos), twoDigitDraws);
    case 2:
        return r.hasBet(pos) ? numbersText(r.bet(pos), twoDigitBets) : std::string();
    default:
        if (r.hasBet(pos))
            return std::to_string(r.hits[pos]);
        return r.kind == AdviserKind::Interval ? "0" : "";
    }
}

std::string recommendationText(const std::string& issueText, std::span<const int> bet, bool twoDigits)
{
    return issueText + "期推荐投注号码：" + numbersText(bet, twoDigits);
}

std::vector<std::vector<std::string>> intimacyCells(const IntimateResult& r, bool overall)
{
    auto entry = [](const IntimacyEntry& e) { return std::to_string(e.number) + ":" + std::to_string(e.count) + "次"; };
    if (overall) {
        std::string cell = "各亲密数字总次数";
        for (const IntimacyEntry& e : r.overall)
            cell += entry(e) + " ";
        return {{cell}};
    }
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> head{"参照号码"};
    for (int x : r.reference)
        head.push_back(std::to_string(x));
    rows.push_back(std::move(head));
    const std::size_t N = r.overall.size();
    for (std::size_t i = 0; i < N; ++i) {
        std::vector<std::string> row{"排名" + std::to_string(i + 1)};
        for (const auto& t : r.positions)
            row.push_back(entry(t[i]));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::array<std::string, 4> compositeBoxTexts(const CompositeResult& r)
{
    std::string three;
    for (int v : r.step3)
        three += two(v);
    return {numbersWithBlanks(r.step1), numbersWithBlanks(r.step2), three, numbersWithBlanks(r.step4)};
}

bool targetDate(const DrawHistory& h, const std::vector<std::string>& dates, const std::string& lotteryName,
                const std::string& weekdays, int pos, CivilDate& date)
{
    if (pos < 0 || pos > h.size())
        return false;
    if (pos < h.size())
        return pos < static_cast<int>(dates.size()) && parseDate(dates[pos], date);
    CivilDate last;
    if (pos == 0 || pos - 1 >= static_cast<int>(dates.size()) || !parseDate(dates[pos - 1], last))
        return false;
    date = nextDrawDate(lotteryName, weekdays, last);
    return true;
}

std::string replayMemo(const AdviserReplay& r)
{
    if (r.drawCount == 0)
        return "没有开奖数据！";
    if (r.firstBet < 0)
        return "历史期数不足，无法统计！";
    if (r.kind == AdviserKind::Composite)
        return "最大中奖个数：" + std::to_string(r.maxHits) + " 最小中奖个数：" + std::to_string(r.minHits);
    return "最大中奖号码数为" + std::to_string(r.maxHits) + "个，" + "最小中奖号码数为" + std::to_string(r.minHits) +
           "个";
}

} // namespace zelvor
