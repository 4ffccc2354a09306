// zelvor-wheelsearch: makes the wheel library offline.
//
//   zelvor-wheelsearch --out DIR [--seconds S] [--seed X] [--only K,V,P,T] [--keep-better]
//
// For every wheel type of the library (or the one named by --only) it builds
// a cover greedily, then shrinks it one row at a time with simulated
// annealing (a fixed number of rows, the cost is the number of uncovered
// p-sets, a move changes one index of a row so that it covers a chosen
// uncovered p-set) for at most S seconds a type (default 5). Afterwards it
// takes for each type the smallest of: its own wheel, the wheel for v + 1
// with index v + 1 replaced (any p-set of 1..v is one of 1..v+1), and the
// wheel of any stronger type of the same k and v (smaller 中, larger 保).
// With --keep-better a wheel already in DIR that is smaller stays.
// Results are reproducible for a seed. Every file written is checked by
// zelvor-cli wheel-check, which shares no code with this program.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "filter/wheel.h"
#include "filter/wheel_targets.h"

using namespace zelvor;
using Mask = std::uint32_t;

namespace {

std::uint64_t binom[32][32];

void initBinomials()
{
    for (int n = 0; n < 32; ++n) {
        binom[n][0] = 1;
        for (int r = 1; r <= n; ++r)
            binom[n][r] = binom[n - 1][r - 1] + (r <= n - 1 ? binom[n - 1][r] : 0);
    }
}

// Colex rank of a set of p elements.
std::uint32_t rankOf(Mask m)
{
    std::uint32_t r = 0;
    int i = 1;
    for (; m; m &= m - 1, ++i)
        r += static_cast<std::uint32_t>(binom[__builtin_ctz(m)][i]);
    return r;
}

std::vector<Mask> subsetsOfSize(int n, int r)
{
    std::vector<Mask> out;
    if (r > n)
        return out;
    if (r == 0)
        return {0};
    for (Mask s = (1u << r) - 1; s < (1u << n);) {
        out.push_back(s);
        const Mask c = s & (~s + 1);
        const Mask x = s + c;
        s = (((x ^ s) >> 2) / c) | x;
    }
    return out;
}

// Scatter the low bits of pattern onto the set bits of target (pdep).
Mask deposit(Mask pattern, Mask target)
{
    Mask out = 0;
    for (; pattern && target; target &= target - 1, pattern >>= 1)
        if (pattern & 1)
            out |= target & (~target + 1);
    return out;
}

struct Problem {
    int v, k, p, t;
    // Patterns of the p-sets that meet a row in >= t: (positions in the row, positions outside).
    std::vector<std::pair<Mask, Mask>> patterns;
    std::uint32_t psets = 0;

    Problem(int v_, int k_, int p_, int t_) : v(v_), k(k_), p(p_), t(t_)
    {
        psets = static_cast<std::uint32_t>(binom[v][p]);
        for (int j = t; j <= std::min(p, k); ++j)
            for (Mask in : subsetsOfSize(k, j))
                for (Mask out : subsetsOfSize(v - k, p - j))
                    patterns.emplace_back(in, out);
    }
    Mask full() const { return v == 32 ? ~0u : (1u << v) - 1; }
    template <class F> void forCovered(Mask row, F&& f) const
    {
        const Mask outside = full() & ~row;
        for (const auto& [in, out] : patterns)
            f(rankOf(deposit(in, row) | deposit(out, outside)));
    }
};

// Rows with coverage counts and the list of uncovered p-sets.
struct Cover {
    const Problem& pb;
    std::vector<Mask> rows;
    std::vector<std::uint16_t> count;
    std::vector<std::uint32_t> uncovered; // ranks
    std::vector<std::int32_t> where;      // position in uncovered, -1 when covered
    std::vector<Mask> unrank;             // rank -> mask

    explicit Cover(const Problem& p) : pb(p), count(p.psets, 0), where(p.psets, -1), unrank(p.psets)
    {
        for (Mask s : subsetsOfSize(p.v, p.p))
            unrank[rankOf(s)] = s;
        uncovered.reserve(p.psets);
        for (std::uint32_t r = 0; r < p.psets; ++r) {
            where[r] = static_cast<std::int32_t>(uncovered.size());
            uncovered.push_back(r);
        }
    }
    // The state of another cover of the same problem.
    void takeFrom(Cover&& o)
    {
        rows = std::move(o.rows);
        count = std::move(o.count);
        uncovered = std::move(o.uncovered);
        where = std::move(o.where);
    }
    void inc(std::uint32_t r)
    {
        if (count[r]++ == 0) {
            const std::int32_t at = where[r];
            const std::uint32_t last = uncovered.back();
            uncovered[static_cast<std::size_t>(at)] = last;
            where[last] = at;
            uncovered.pop_back();
            where[r] = -1;
        }
    }
    void dec(std::uint32_t r)
    {
        if (--count[r] == 0) {
            where[r] = static_cast<std::int32_t>(uncovered.size());
            uncovered.push_back(r);
        }
    }
    void add(Mask row)
    {
        rows.push_back(row);
        pb.forCovered(row, [&](std::uint32_t r) { inc(r); });
    }
    void removeAt(std::size_t i)
    {
        pb.forCovered(rows[i], [&](std::uint32_t r) { dec(r); });
        rows[i] = rows.back();
        rows.pop_back();
    }
    // Uncovered p-sets that would appear if row i went.
    int lossOf(std::size_t i) const
    {
        int loss = 0;
        pb.forCovered(rows[i], [&](std::uint32_t r) { loss += count[r] == 1; });
        return loss;
    }
    void replace(std::size_t i, Mask row)
    {
        pb.forCovered(row, [&](std::uint32_t r) { inc(r); });
        pb.forCovered(rows[i], [&](std::uint32_t r) { dec(r); });
        rows[i] = row;
    }
};

Mask randomElement(Mask m, std::mt19937_64& rng)
{
    const int n = __builtin_popcount(m);
    int pick = static_cast<int>(rng() % static_cast<std::uint64_t>(n));
    for (; pick; --pick)
        m &= m - 1;
    return m & (~m + 1);
}

// A row through the p-set with rank r: t of its elements, the rest random.
Mask rowThrough(const Cover& c, std::uint32_t r, std::mt19937_64& rng)
{
    Mask pset = c.unrank[r];
    Mask row = 0;
    for (int i = 0; i < c.pb.t; ++i) {
        const Mask e = randomElement(pset, rng);
        row |= e;
        pset &= ~e;
    }
    Mask rest = c.pb.full() & ~row;
    while (__builtin_popcount(row) < c.pb.k) {
        const Mask e = randomElement(rest, rng);
        row |= e;
        rest &= ~e;
    }
    return row;
}

void greedy(Cover& c, std::mt19937_64& rng)
{
    while (!c.uncovered.empty()) {
        const std::uint32_t target = c.uncovered[rng() % c.uncovered.size()];
        Mask best = 0;
        long bestGain = -1;
        for (int tries = 0; tries < 24; ++tries) {
            const Mask row = rowThrough(c, target, rng);
            long gain = 0;
            c.pb.forCovered(row, [&](std::uint32_t r) { gain += c.count[r] == 0; });
            if (gain > bestGain) {
                bestGain = gain;
                best = row;
            }
        }
        c.add(best);
    }
}

// Simulated annealing on a fixed number of rows until nothing is uncovered or
// the deadline passes.
bool anneal(Cover& c, std::mt19937_64& rng, std::chrono::steady_clock::time_point deadline)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double temperature = 0.6;
    long step = 0;
    while (!c.uncovered.empty()) {
        if ((++step & 255) == 0) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            temperature = std::max(0.05, temperature * 0.9995);
        }
        const Mask pset = c.unrank[c.uncovered[rng() % c.uncovered.size()]];
        // The row that needs the fewest changes, among a few.
        std::size_t i = rng() % c.rows.size();
        for (int tries = 0; tries < 3; ++tries) {
            const std::size_t j = rng() % c.rows.size();
            if (__builtin_popcount(c.rows[j] & pset) > __builtin_popcount(c.rows[i] & pset))
                i = j;
        }
        const Mask row = c.rows[i];
        const Mask add = pset & ~row;
        const Mask drop = row & ~pset;
        if (!add || !drop)
            continue;
        const Mask next = (row & ~randomElement(drop, rng)) | randomElement(add, rng);
        const std::size_t before = c.uncovered.size();
        c.replace(i, next);
        const long delta = static_cast<long>(c.uncovered.size()) - static_cast<long>(before);
        if (delta > 0 && unit(rng) >= std::exp(-static_cast<double>(delta) / temperature))
            c.replace(i, row);
    }
    return true;
}

std::vector<Mask> search(const WheelType& w, double seconds, std::uint64_t seed)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep);
    std::mt19937_64 rng(seed);
    Cover c(pb);
    greedy(c, rng);
    // Drop rows that cover nothing on their own.
    for (std::size_t i = 0; i < c.rows.size();)
        if (c.rows.size() > 1 && c.lossOf(i) == 0)
            c.removeAt(i);
        else
            ++i;
    std::vector<Mask> best = c.rows;
    const auto deadline = std::chrono::steady_clock::now()
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
    const std::optional<int> target = bestKnownWheelSize(w);
    const std::optional<int> limit = wheelSizeLimit(w);
    // Far above the limit, go there at once: drop the rows that lose least,
    // then repair with the whole budget.
    if (limit && static_cast<int>(c.rows.size()) > *limit + 1) {
        Cover trial = c;
        while (static_cast<int>(trial.rows.size()) > *limit) {
            std::size_t worst = 0;
            int least = -1;
            for (std::size_t i = 0; i < trial.rows.size(); i += 1 + trial.rows.size() / 64) {
                const int loss = trial.lossOf(i);
                if (least < 0 || loss < least) {
                    least = loss;
                    worst = i;
                }
            }
            trial.removeAt(worst);
        }
        if (anneal(trial, rng, deadline)) {
            c.takeFrom(std::move(trial));
            best = c.rows;
        }
    }
    while (c.rows.size() > 1 && std::chrono::steady_clock::now() < deadline) {
        if (target && static_cast<int>(best.size()) <= *target)
            break;
        // One row fewer: drop the one whose loss is smallest, then repair.
        std::size_t worst = 0;
        int least = -1;
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            const int loss = c.lossOf(i);
            if (least < 0 || loss < least) {
                least = loss;
                worst = i;
            }
        }
        c.removeAt(worst);
        if (!anneal(c, rng, deadline))
            break;
        best = c.rows;
    }
    std::sort(best.begin(), best.end());
    return best;
}

std::vector<int> indexesOf(Mask m)
{
    std::vector<int> out;
    for (; m; m &= m - 1)
        out.push_back(__builtin_ctz(m) + 1);
    return out;
}

// Library order: rows strictly increasing as index tuples.
std::vector<Mask> libraryOrder(std::vector<Mask> rows)
{
    std::sort(rows.begin(), rows.end(), [](Mask a, Mask b) { return indexesOf(a) < indexesOf(b); });
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

// The wheel for v from one for v + 1: index v + 1 replaced by the smallest index not in the row.
std::vector<Mask> reduced(const std::vector<Mask>& rows, int v)
{
    std::vector<Mask> out;
    const Mask top = 1u << v;
    for (Mask r : rows) {
        if (r & top) {
            r &= ~top;
            const Mask free = ~r & ((1u << v) - 1);
            r |= free & (~free + 1);
        }
        out.push_back(r);
    }
    return libraryOrder(out);
}

std::string fileName(const WheelType& w)
{
    return "选" + pickNumeral(w.pick) + "型" + (w.numbers < 10 ? "0" : "") + std::to_string(w.numbers) + "码中"
        + std::to_string(w.hit) + "保" + std::to_string(w.keep) + ".txt";
}

std::vector<Mask> readLibraryFile(const std::filesystem::path& file)
{
    std::vector<Mask> rows;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        Mask m = 0;
        int value = 0;
        bool any = false;
        for (char ch : line) {
            if (ch >= '0' && ch <= '9') {
                value = value * 10 + (ch - '0');
                any = true;
            } else if (any) {
                m |= 1u << (value - 1);
                value = 0;
                any = false;
            }
        }
        if (any)
            m |= 1u << (value - 1);
        if (m)
            rows.push_back(m);
    }
    return rows;
}

void writeLibraryFile(const std::filesystem::path& file, const std::vector<Mask>& rows)
{
    std::string text;
    for (Mask r : libraryOrder(rows)) {
        const std::vector<int> idx = indexesOf(r);
        for (std::size_t i = 0; i < idx.size(); ++i)
            text += (i ? " " : "") + std::to_string(idx[i]);
        text += "\r\n";
    }
    const std::filesystem::path temp = file.string() + ".part";
    std::ofstream(temp, std::ios::binary) << text;
    std::filesystem::rename(temp, file);
}

} // namespace

int main(int argc, char** argv)
{
    initBinomials();
    std::filesystem::path out;
    double seconds = 5;
    std::uint64_t seed = 20030223;
    bool keepBetter = false;
    std::optional<WheelType> only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc)
            out = std::filesystem::u8path(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc)
            seconds = std::stod(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = std::stoull(argv[++i]);
        else if (a == "--keep-better")
            keepBetter = true;
        else if (a == "--only" && i + 1 < argc) {
            WheelType w{};
            if (std::sscanf(argv[++i], "%d,%d,%d,%d", &w.pick, &w.numbers, &w.hit, &w.keep) != 4)
                return 2;
            only = w;
        } else {
            std::fprintf(stderr, "usage: zelvor-wheelsearch --out DIR [--seconds S] [--seed X] [--only K,V,P,T] [--keep-better]\n");
            return 2;
        }
    }
    if (out.empty())
        return 2;
    std::filesystem::create_directories(out);

    std::vector<WheelType> types = wheelLibraryTypes();
    if (only)
        types = {*only};
    std::map<std::tuple<int, int, int, int>, std::vector<Mask>> wheels;
    auto key = [](const WheelType& w) { return std::make_tuple(w.pick, w.numbers, w.hit, w.keep); };
    for (const WheelType& w : types) {
        std::vector<Mask> rows = search(w, seconds, seed ^ (static_cast<std::uint64_t>(w.pick) << 24)
                                                        ^ (static_cast<std::uint64_t>(w.numbers) << 16)
                                                        ^ (static_cast<std::uint64_t>(w.hit) << 8) ^ w.keep);
        const std::filesystem::path file = out / std::filesystem::u8path(fileName(w));
        if (keepBetter && std::filesystem::exists(file)) {
            std::vector<Mask> old = readLibraryFile(file);
            if (!old.empty() && old.size() < rows.size())
                rows = old;
        }
        wheels[key(w)] = libraryOrder(rows);
        const std::optional<int> b = bestKnownWheelSize(w);
        std::fprintf(stderr, "%s rows=%zu%s\n", fileName(w).c_str(), rows.size(),
                     b ? (" best-known=" + std::to_string(*b)).c_str() : "");
    }
    // Constructions: reductions from v + 1 (from the top down) and stronger types.
    for (bool changed = true; changed;) {
        changed = false;
        for (auto& [k, rows] : wheels) {
            const auto [pick, v, p, t] = k;
            auto better = [&](const std::vector<Mask>& other) {
                if (!other.empty() && other.size() < rows.size()) {
                    rows = other;
                    changed = true;
                }
            };
            if (auto up = wheels.find({pick, v + 1, p, t}); up != wheels.end())
                better(reduced(up->second, v));
            for (const auto& [k2, rows2] : wheels) {
                const auto [pick2, v2, p2, t2] = k2;
                if (pick2 == pick && v2 == v && p2 <= p && t2 >= t && k2 != k)
                    better(rows2);
            }
        }
    }
    for (const auto& [k, rows] : wheels) {
        const auto [pick, v, p, t] = k;
        writeLibraryFile(out / std::filesystem::u8path(fileName({pick, v, p, t})), rows);
    }
    return 0;
}
