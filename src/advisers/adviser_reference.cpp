#include "advisers/adviser_reference.h"

#include <algorithm>

namespace zelvor::reference {

namespace {

bool holds(const DrawHistory& h, int t, int x)
{
    for (int y : h.main(t))
        if (y == x)
            return true;
    return false;
}

int hitsOf(const DrawHistory& h, int t, const std::vector<int>& bet)
{
    int hits = 0;
    for (int x : h.main(t))
        if (std::find(bet.begin(), bet.end(), x) != bet.end())
            ++hits;
    return hits;
}

void begin(AdviserReplay& r, AdviserKind kind, const DrawHistory& h, const LotteryParams& p)
{
    r.kind = kind;
    r.drawCount = h.size();
    r.betStart.assign(1, 0);
    r.hits.assign(static_cast<std::size_t>(h.size()), 0);
    r.histogram.assign(static_cast<std::size_t>(p.pickCount + 1), 0);
}

void add(AdviserReplay& r, int pos, const std::vector<int>& bet, int hits, bool counted, bool first)
{
    r.betNumbers.insert(r.betNumbers.end(), bet.begin(), bet.end());
    r.betStart.push_back(static_cast<int>(r.betNumbers.size()));
    if (!counted)
        return;
    r.hits[pos] = hits;
    if (first || hits > r.maxHits)
        r.maxHits = hits;
    if (first || hits < r.minHits)
        r.minHits = hits;
    ++r.histogram[hits];
}

struct Pair {
    int a; // number or interval
    int b; // count or frequency
};

std::vector<int> intervalBet(const DrawHistory& h, const LotteryParams& p, int P, const IntervalSettings& s)
{
    const int lo = firstNumber(p);
    const int M = s.draws;
    int start = P - M - 1;
    if (start < 0)
        start = 0;
    std::vector<Pair> freq;
    for (int d = 1; d <= M; ++d)
        freq.push_back({d, 0});
    for (int t = P - 1; t >= start; --t)
        for (int x : h.main(t)) {
            int u = -1;
            for (int q = t - 1; q >= 0; --q)
                if (holds(h, q, x)) {
                    u = q;
                    break;
                }
            if (t - u >= 1 && t - u <= M)
                ++freq[t - u - 1].b;
        }
    for (int i = 0; i + 1 < M; ++i)
        for (int j = i + 1; j < M; ++j)
            if (freq[i].b > freq[j].b)
                std::swap(freq[i], freq[j]);
    std::vector<int> current;
    for (int v = lo; v < lo + p.numberRange; ++v) {
        int u = -1;
        for (int q = P - 1; q >= 0; --q)
            if (holds(h, q, v)) {
                u = q;
                break;
            }
        current.push_back(u < 0 ? P + 1 : P - u);
    }
    std::vector<int> bet;
    for (const Pair& e : freq)
        for (int v = lo; v < lo + p.numberRange; ++v)
            if (current[v - lo] == e.a && static_cast<int>(bet.size()) < s.count)
                bet.push_back(v);
    return bet;
}

std::vector<int> intimateBet(const DrawHistory& h, const LotteryParams& p, int P, const IntimateSettings& s)
{
    const int lo = firstNumber(p);
    const int N = p.numberRange;
    std::vector<std::vector<Pair>> tables;
    std::vector<Pair> overall;
    for (int v = lo; v < lo + N; ++v)
        overall.push_back({v, 0});
    for (int x : h.main(P - 1)) {
        std::vector<Pair> t;
        for (int v = lo; v < lo + N; ++v)
            t.push_back({v, 0});
        int c = 0;
        for (int j = P - 2; j >= 0; --j) {
            if (holds(h, j, x))
                ++c;
            if (s.stage > 0 && c >= s.stage)
                break;
            if (holds(h, j, x))
                for (int y : h.main(j + 1))
                    ++t[y - lo].b;
        }
        for (int v = 0; v < N; ++v)
            overall[v].b += t[v].b;
        tables.push_back(t);
    }
    auto order = [N](std::vector<Pair>& t) {
        for (int a = 0; a + 1 < N; ++a)
            for (int b = a + 1; b < N; ++b)
                if (t[b].b > t[a].b)
                    std::swap(t[a], t[b]);
    };
    std::vector<char> marked(static_cast<std::size_t>(N), 0);
    if (s.overall) {
        order(overall);
        for (int a = 0; a < s.count && a < N; ++a)
            marked[overall[a].a - lo] = 1;
    } else {
        for (auto& t : tables) {
            order(t);
            for (int a = 0; a < s.count && a < N; ++a)
                marked[t[a].a - lo] = 1;
        }
    }
    std::vector<int> bet;
    for (int v = 0; v < N; ++v)
        if (marked[v])
            bet.push_back(v + lo);
    return bet;
}

std::vector<Pair> ranking(const DrawHistory& h, const LotteryParams& p, int from, int to)
{
    const int lo = firstNumber(p);
    const int N = p.numberRange;
    std::vector<Pair> r;
    for (int v = lo; v < lo + N; ++v)
        r.push_back({v, 0});
    for (int t = std::max(0, from); t <= to; ++t)
        for (int x : h.main(t))
            ++r[x - lo].b;
    for (int i = 0; i + 1 < N; ++i)
        for (int j = i + 1; j < N; ++j)
            if (r[i].b < r[j].b)
                std::swap(r[i], r[j]);
    return r;
}

bool drawnIn(const DrawHistory& h, int x, int from, int to)
{
    for (int t = std::max(0, from); t <= to; ++t)
        if (holds(h, t, x))
            return true;
    return false;
}

std::vector<int> compositeBet(const DrawHistory& h, const LotteryParams& p, int T, const CompositeSettings& s)
{
    const int lo = firstNumber(p);
    const int N = p.numberRange;
    const std::vector<Pair> A = ranking(h, p, T - s.w1, T - 1);
    std::vector<char> selected(static_cast<std::size_t>(N), 0);
    for (int a = 0; a < N / 2; ++a)
        if (!drawnIn(h, A[a].a, T - s.w2, T - 1))
            selected[A[a].a - lo] = 1;
    for (int v = lo; v < lo + N; ++v) {
        bool triple = false;
        for (int q = T - 1; q >= T - s.w1; --q)
            if (q - 2 >= 0 && holds(h, q, v) && holds(h, q - 1, v) && holds(h, q - 2, v))
                triple = true;
        if (triple && !drawnIn(h, v, T - s.w3, T - 1))
            selected[v - lo] = 1;
    }
    const std::vector<Pair> B = ranking(h, p, T - s.w4 - 1, T - 2);
    for (int a = 0; a < N / 4; ++a)
        for (int pos = std::max(1, (3 * N) / 4); pos <= N; ++pos)
            if (A[pos - 1].a == B[a].a)
                selected[B[a].a - lo] = 1;
    std::vector<int> bet;
    for (int v = 0; v < N; ++v)
        if (selected[v])
            bet.push_back(v + lo);
    return bet;
}

} // namespace

AdviserReplay replayInterval(const DrawHistory& h, const LotteryParams& p, const IntervalSettings& s)
{
    AdviserReplay r;
    begin(r, AdviserKind::Interval, h, p);
    r.firstBet = h.size() >= 2 ? 1 : -1;
    for (int P = 0; P < h.size(); ++P) {
        const std::vector<int> bet = P == 0 ? std::vector<int>{} : intervalBet(h, p, P, s);
        add(r, P, bet, P == 0 ? 0 : hitsOf(h, P, bet), P > 0, P == 1);
    }
    return r;
}

AdviserReplay replayIntimate(const DrawHistory& h, const LotteryParams& p, const IntimateSettings& s)
{
    AdviserReplay r;
    begin(r, AdviserKind::Intimate, h, p);
    r.firstBet = h.size() >= 2 ? 1 : -1;
    r.firstBar = s.stage > 0 ? s.stage + 1 : 1;
    for (int P = 0; P < h.size(); ++P) {
        const std::vector<int> bet = P == 0 ? std::vector<int>{} : intimateBet(h, p, P, s);
        add(r, P, bet, P == 0 ? 0 : hitsOf(h, P, bet), P > 0, P == 1);
    }
    return r;
}

AdviserReplay replayComposite(const DrawHistory& h, const LotteryParams& p, const CompositeSettings& s)
{
    AdviserReplay r;
    begin(r, AdviserKind::Composite, h, p);
    const int first = s.w1 + 11;
    r.firstBet = first < h.size() ? first : -1;
    r.firstRow = r.firstBar = s.w1 + 20;
    for (int T = 0; T < h.size(); ++T) {
        const std::vector<int> bet = T < first ? std::vector<int>{} : compositeBet(h, p, T, s);
        add(r, T, bet, T < first ? 0 : hitsOf(h, T, bet), T >= first, T == first);
    }
    return r;
}

} // namespace zelvor::reference
