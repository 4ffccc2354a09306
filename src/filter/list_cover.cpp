#include "filter/list_cover.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <queue>
#include <unordered_map>

namespace zelvor {

namespace {

// The T-subsets of a set, each as a set.
void subsetsOfSize(NumberSet set, int t, std::vector<NumberSet>& out)
{
    out.clear();
    int bits[64];
    int n = 0;
    for (NumberSet m = set; m; m &= m - 1)
        bits[n++] = std::countr_zero(m);
    if (t > n || t < 1)
        return;
    int pick[64];
    for (int i = 0; i < t; ++i)
        pick[i] = i;
    while (true) {
        NumberSet s = 0;
        for (int i = 0; i < t; ++i)
            s |= NumberSet{1} << bits[pick[i]];
        out.push_back(s);
        int i = t - 1;
        while (i >= 0 && pick[i] == n - t + i)
            --i;
        if (i < 0)
            break;
        ++pick[i];
        for (int j = i + 1; j < t; ++j)
            pick[j] = pick[j - 1] + 1;
    }
}

// The list indexed by its T-subsets: for every member, the members that share
// at least T numbers with it (itself included), as one flat array.
struct Neighbourhoods {
    std::vector<std::int64_t> start; // member i: ids[start[i] .. start[i + 1])
    std::vector<std::int32_t> ids;

    std::int64_t size(std::size_t i) const { return start[i + 1] - start[i]; }
    const std::int32_t* begin(std::size_t i) const { return ids.data() + start[i]; }
    const std::int32_t* end(std::size_t i) const { return ids.data() + start[i + 1]; }
};

Neighbourhoods neighbourhoods(const std::vector<NumberSet>& list, int keep)
{
    // Members by T-subset.
    std::unordered_map<NumberSet, std::vector<std::int32_t>> bySubset;
    bySubset.reserve(list.size() * 8);
    std::vector<NumberSet> subs;
    for (std::size_t i = 0; i < list.size(); ++i) {
        subsetsOfSize(list[i], keep, subs);
        for (NumberSet s : subs)
            bySubset[s].push_back(static_cast<std::int32_t>(i));
    }
    Neighbourhoods n;
    n.start.reserve(list.size() + 1);
    n.start.push_back(0);
    std::vector<std::int32_t> stamp(list.size(), -1);
    for (std::size_t i = 0; i < list.size(); ++i) {
        subsetsOfSize(list[i], keep, subs);
        for (NumberSet s : subs)
            for (std::int32_t j : bySubset[s])
                if (stamp[static_cast<std::size_t>(j)] != static_cast<std::int32_t>(i)) {
                    stamp[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(i);
                    n.ids.push_back(j);
                }
        n.start.push_back(static_cast<std::int64_t>(n.ids.size()));
    }
    return n;
}

// Lazy greedy: the member that covers most uncovered members first; a popped
// gain is worked out again and taken only while it still leads.
std::vector<std::int32_t> greedyCover(const Neighbourhoods& n, std::size_t members)
{
    std::vector<bool> covered(members, false);
    std::priority_queue<std::pair<std::int64_t, std::int32_t>> queue;
    for (std::size_t i = 0; i < members; ++i)
        queue.push({n.size(i), -static_cast<std::int32_t>(i)}); // ties: the earlier member first
    std::vector<std::int32_t> chosen;
    std::size_t left = members;
    while (left > 0 && !queue.empty()) {
        const auto [gain, negId] = queue.top();
        queue.pop();
        const auto i = static_cast<std::size_t>(-negId);
        std::int64_t now = 0;
        for (const std::int32_t* j = n.begin(i); j != n.end(i); ++j)
            now += !covered[static_cast<std::size_t>(*j)];
        if (now == 0)
            continue;
        if (now < gain && !queue.empty() && queue.top().first > now) {
            queue.push({now, negId});
            continue;
        }
        chosen.push_back(static_cast<std::int32_t>(i));
        for (const std::int32_t* j = n.begin(i); j != n.end(i); ++j)
            if (!covered[static_cast<std::size_t>(*j)]) {
                covered[static_cast<std::size_t>(*j)] = true;
                --left;
            }
    }
    return chosen;
}

// The chosen bets with, for every member, how many of them cover it.
class CoverState {
public:
    CoverState(const Neighbourhoods& n, std::size_t members) : n_(n), count_(members, 0), where_(members, -1) {}

    void choose(std::int32_t i)
    {
        positionInBets_[i] = static_cast<std::int32_t>(bets_.size());
        bets_.push_back(i);
        for (const std::int32_t* j = n_.begin(static_cast<std::size_t>(i)); j != n_.end(static_cast<std::size_t>(i)); ++j)
            if (count_[static_cast<std::size_t>(*j)]++ == 0)
                unlist(*j);
    }
    void drop(std::int32_t i)
    {
        const std::int32_t at = positionInBets_[i];
        positionInBets_.erase(i);
        bets_[static_cast<std::size_t>(at)] = bets_.back();
        if (bets_.back() != i)
            positionInBets_[bets_.back()] = at;
        bets_.pop_back();
        for (const std::int32_t* j = n_.begin(static_cast<std::size_t>(i)); j != n_.end(static_cast<std::size_t>(i)); ++j)
            if (--count_[static_cast<std::size_t>(*j)] == 0)
                list(*j);
    }
    bool chosen(std::int32_t i) const { return positionInBets_.count(i) > 0; }
    // Members only this bet covers.
    std::int64_t unique(std::int32_t i) const
    {
        std::int64_t u = 0;
        for (const std::int32_t* j = n_.begin(static_cast<std::size_t>(i)); j != n_.end(static_cast<std::size_t>(i)); ++j)
            u += count_[static_cast<std::size_t>(*j)] == 1;
        return u;
    }
    const std::vector<std::int32_t>& bets() const { return bets_; }
    const std::vector<std::int32_t>& uncovered() const { return uncovered_; }

private:
    void unlist(std::int32_t j)
    {
        const std::int32_t at = where_[static_cast<std::size_t>(j)];
        if (at < 0)
            return;
        uncovered_[static_cast<std::size_t>(at)] = uncovered_.back();
        where_[static_cast<std::size_t>(uncovered_.back())] = at;
        uncovered_.pop_back();
        where_[static_cast<std::size_t>(j)] = -1;
    }
    void list(std::int32_t j)
    {
        where_[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(uncovered_.size());
        uncovered_.push_back(j);
    }

    const Neighbourhoods& n_;
    std::vector<std::int32_t> count_;
    std::vector<std::int32_t> where_;
    std::vector<std::int32_t> uncovered_;
    std::vector<std::int32_t> bets_;
    std::unordered_map<std::int32_t, std::int32_t> positionInBets_;
};

bool tupleLess(NumberSet a, NumberSet b)
{
    const NumberSet d = a ^ b;
    return d && (a & (d & (~d + 1)));
}

} // namespace

std::vector<int> numbersOf(NumberSet set)
{
    std::vector<int> out;
    for (; set; set &= set - 1)
        out.push_back(std::countr_zero(set) + 1);
    return out;
}

CoverInput coverInput(const BetFileLoad& load)
{
    CoverInput in;
    const auto k = static_cast<std::size_t>(load.pickCount);
    std::vector<NumberSet> sets;
    for (std::size_t i = 0; k && i + k <= load.numbers.size(); i += k) {
        NumberSet s = 0;
        for (std::size_t j = 0; j < k; ++j)
            s |= NumberSet{1} << (load.numbers[i + j] - 1);
        sets.push_back(s);
    }
    std::sort(sets.begin(), sets.end());
    sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
    in.reds = std::move(sets);
    in.blues = load.chosenBlues;
    return in;
}

void forEachCoverLine(const std::vector<NumberSet>& bets, const std::vector<int>& blues,
                      const std::function<void(std::string_view shownLine)>& fn)
{
    std::int64_t sequence = 0;
    std::vector<std::uint8_t> reds;
    for (NumberSet bet : bets) {
        reds.clear();
        for (int v : numbersOf(bet))
            reds.push_back(static_cast<std::uint8_t>(v));
        if (blues.empty())
            fn(betLineRedOnly(++sequence, reds));
        for (int blue : blues)
            fn(betLineWithSpecial(++sequence, reds, blue));
    }
}

std::string coverGuaranteeText(int keep)
{
    return "开奖号码在原号码中时，至少中" + std::to_string(keep) + "个红球";
}

bool coversList(const std::vector<NumberSet>& combinations, const std::vector<NumberSet>& bets, int keep)
{
    std::unordered_map<NumberSet, bool> inBets;
    std::vector<NumberSet> subs;
    for (NumberSet b : bets) {
        subsetsOfSize(b, keep, subs);
        for (NumberSet s : subs)
            inBets[s] = true;
    }
    for (NumberSet c : combinations) {
        subsetsOfSize(c, keep, subs);
        if (std::none_of(subs.begin(), subs.end(), [&](NumberSet s) { return inBets.count(s) > 0; }))
            return false;
    }
    return true;
}

ListCoverResult coverList(const std::vector<NumberSet>& list, int keep, double seconds, Random& random,
                          const ListCoverReport& report)
{
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    ListCoverResult result;
    if (list.empty())
        return result;
    const Neighbourhoods n = neighbourhoods(list, keep);
    const std::size_t members = list.size();
    std::vector<std::int32_t> best = greedyCover(n, members);
    result.greedyBets = static_cast<std::int64_t>(best.size());

    CoverState state(n, members);
    for (std::int32_t i : best)
        state.choose(i);
    // Bets that cover nothing on their own go first.
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (std::int32_t i : state.bets())
            if (state.bets().size() > 1 && state.unique(i) == 0) {
                state.drop(i);
                dropped = true;
                break;
            }
    }
    best = state.bets();

    const auto deadline = started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    auto& rng = random.engine();
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    long step = 0;
    bool stop = false;
    while (seconds > 0 && !stop && state.bets().size() > 1 && Clock::now() < deadline) {
        // One bet fewer: the one covering fewest members alone goes.
        std::int32_t weakest = state.bets().front();
        std::int64_t least = -1;
        for (std::int32_t i : state.bets()) {
            const std::int64_t u = state.unique(i);
            if (least < 0 || u < least) {
                least = u;
                weakest = i;
            }
        }
        state.drop(weakest);
        double temperature = 0.5;
        // Repair: a random uncovered member is covered by one of its
        // neighbours, which takes the place of a random bet.
        while (!state.uncovered().empty()) {
            if ((++step & 63) == 0) {
                if (Clock::now() >= deadline) {
                    stop = true;
                    break;
                }
                temperature = std::max(0.02, temperature * 0.995);
                if (report && (step & 4095) == 0) {
                    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
                    if (!report({static_cast<std::int64_t>(best.size()), elapsed})) {
                        result.stopped = true;
                        stop = true;
                        break;
                    }
                }
            }
            const std::int32_t u = state.uncovered()[rng() % state.uncovered().size()];
            const auto size = n.size(static_cast<std::size_t>(u));
            const std::int32_t in = n.begin(static_cast<std::size_t>(u))[rng() % static_cast<std::uint64_t>(size)];
            if (state.chosen(in))
                continue;
            // The bet to give up: one near the new bet (its coverage overlaps
            // most), else any.
            std::int32_t out = -1;
            int seen = 0;
            for (const std::int32_t* j = n.begin(static_cast<std::size_t>(in)); j != n.end(static_cast<std::size_t>(in)); ++j)
                if (state.chosen(*j) && rng() % static_cast<std::uint64_t>(++seen) == 0)
                    out = *j;
            if (out < 0 || rng() % 8 == 0)
                out = state.bets()[rng() % state.bets().size()];
            const std::size_t before = state.uncovered().size();
            state.choose(in);
            state.drop(out);
            const double delta = static_cast<double>(state.uncovered().size()) - static_cast<double>(before);
            if (delta > 0 && unit(rng) >= std::exp(-delta / temperature)) {
                state.choose(out);
                state.drop(in);
            }
        }
        if (!state.uncovered().empty())
            break;
        best = state.bets();
    }

    for (std::int32_t i : best)
        result.bets.push_back(list[static_cast<std::size_t>(i)]);
    std::sort(result.bets.begin(), result.bets.end(), tupleLess);
    if (report) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
        report({static_cast<std::int64_t>(result.bets.size()), elapsed});
    }
    return result;
}

} // namespace zelvor
