// zelvor-wheelsearch: makes the wheel library offline.
//
//   zelvor-wheelsearch --out DIR [--seconds S] [--seed X] [--only K,V,P,T] [--keep-better]
//                      [--group N|auto] [--gens G] [--cool F] [--missing LIB]
//                      [--weights] [--sample S] [--to-limit] [--start FILE] [--descend]
//                      [--exhaustive] [--ilp] [--cover] [--restart S]
//                      [--lns] [--cluster D] [--candidates M] [--step-seconds S] [--shake P]
//   zelvor-wheelsearch --stage LIB DIR...
//
// For every wheel type of the library (or the one named by --only) it builds
// a cover greedily, then shrinks it with simulated annealing (a fixed number
// of rows, the cost is the number of uncovered p-sets, a move takes an
// uncovered p-set and a row meeting it in t - 1 indexes and swaps one index
// so that the row covers it) for at most S seconds a type (default 5): first
// straight down to the size limit, then one row at a time. The temperature
// starts at 0.3 times the mean cost of a worsening move (WHEEL_T0 sets the
// factor) and cools by 0.5 % every F x rows x k moves (default F = 2).
// --group N searches for a wheel made of whole orbits under the cyclic shift
// of indexes 1..N (the others fixed), a far smaller problem for big wheels;
// --group auto takes N = v where the limit allows ten rows an index, else
// the plain search. --gens "(1 2 3)(4 5 6);(1 4)(2 5)" searches under the
// group made by these permutations (';' between generators, each a product
// of cycles of indexes). --missing LIB searches only the types LIB lacks (or
// holds above their limits).
// Afterwards it takes for each type the smallest of: its own wheel, the wheel
// for v + 1 with index v + 1 replaced (any p-set of 1..v is one of 1..v+1),
// the wheel of any stronger type of the same k and v (smaller 中, larger
// 保), and the wheel for v - 1 together with the rows of the 中p-1保t-1 wheel
// of k - 1 indexes for v - 1, each with index v added. Every better wheel is
// written at once, so a long run leaves its best so far; with --keep-better a
// smaller wheel already in DIR stays. A run
// follows its seed, but the time limit decides where it stops. Every file is
// checked by zelvor-cli wheel-check, which shares no code with this program,
// before it goes into the library. WHEEL_TRACE=1 prints the annealing's
// progress. --descend never jumps: one row fewer at a time from the start,
// which keeps more of a good start's shape.
// --weights repairs with a weighted local search instead of the annealing:
// each uncovered p-set weighs one more at every step without an improving
// move, and a step makes the best swap (by weight) that covers a chosen
// uncovered p-set. It reaches far smaller wheels for the coverings.
// --sample S weighs only S of those swaps, drawn at random.
// --to-limit stops a type once its wheel is within the size limit.
// --exhaustive (with --group or --gens) tries every choice of whole orbits
// within the size limit, until S seconds pass: it either finds a wheel or
// shows there is none made of orbits of that group (so it ruled out the
// 中6保4 wheels for 16 numbers under the shift of two cycles of 8, for 17
// and 19 under the shift of all, and for 18 under the shift of 1..17).
// --ilp (with --group or --gens) writes the choice of whole orbits as a 0-1
// program (minimise the rows, cover every p-set orbit) to DIR/K-V-P-T.lp and
// runs the solver cbc (Debian's coinor-cbc) on it for at most S seconds; its
// best solution, expanded and checked, is the wheel. Under the shift of
// 1..19 it gives 选五型20码中3保3 in 133 rows within seconds:
//   zelvor-wheelsearch --out work --only 5,20,3,3 --group 19 --ilp --seconds 300
// --cover searches as a weighted set cover: every row orbit (every row,
// without a group) a column, every p-set orbit a line, each column's lines
// listed beforehand, so that a step can bring in any row orbit covering an
// uncovered line (see setCoverSearch). It finds 选五型20码中3保3 in 133
// rows under the shift of 1..19 in a fraction of a second. A small group
// narrows the search without costing much: the 中6保4 wheels for 17 and 20
// numbers came from the shift of triples (34 and 69 rows), the one for 18
// from swapping pairs (42 rows), the one for 19 from the shift of six
// triples with --seed 21 --restart 30 (56 rows):
//   zelvor-wheelsearch --out work --only 6,20,6,4 --gens "(1,2,3)(4,5,6)(7,8,9)(10,11,12)(13,14,15)(16,17,18)" --cover --seconds 300 --to-limit
// With --restart S the set-cover search starts afresh (weights and cover)
// after S seconds without a better wheel, keeping the best cost; that gave
// 选五型21码中3保3 in 155 rows under the shift of four 5-cycles:
//   zelvor-wheelsearch --out work --only 5,21,3,3 --gens "(1,2,3,4,5)(6,7,8,9,10)(11,12,13,14,15)(16,17,18,19,20)" --cover --seed 3 --restart 30 --seconds 300 --to-limit
// The shift of four 4-cycles gave 选五型17码中4保4 in 500 rows and
// 选六型16码中6保5 in 234 rows (--seconds 240 each), 选六型17码中4保4 in 192
// rows and 选六型18码中4保4 in 241 rows (--seconds 120 each), and
// 选六型19码中4保4 in 332 rows (--seed 25 --seconds 200; seeds 7 and 21 to
// 24 stopped at 345 to 371):
//   zelvor-wheelsearch --out work --only 5,17,4,4 --gens "(1,2,3,4)(5,6,7,8)(9,10,11,12)(13,14,15,16)" --cover --restart 60 --seconds 240 --to-limit
// The shift of 1..16 gave 选六型17码中6保5 in 352 rows (--seconds 180), the
// shift of 1..17 选六型18码中6保5 in 493 rows (--seconds 150), the
// shift of two 8-cycles 选七型17码中5保5 in 416 rows:
//   zelvor-wheelsearch --out work --only 7,17,5,5 --gens "(1,2,3,4,5,6,7,8)(9,10,11,12,13,14,15,16)" --cover --restart 60 --seed 7 --seconds 300 --to-limit
// Affine maps x -> a x + b of Z_n (indexes 1..n standing for 0..n-1, those
// above n fixed) make groups between the plain shift and the big products.
// For 选七型21码中6保6 the shift of 1..21 with the involution x -> 13 x (order
// 42) reached 9583 rows where the plain shift stopped at 9639, and the shift
// by 3 with x -> 13 x (order 14) 9576 rows (seed 1, 300 s; seeds 2 and 4 to 13
// stopped at 9646 to 9737, x -> 8 x or x -> -x in place of x -> 13 x at 9779
// and 9809), 2 rows above its limit (since replaced by the 9520 below):
//   zelvor-wheelsearch --out work --only 7,21,6,6 --gens "(1,4,7,10,13,16,19)(2,5,8,11,14,17,20)(3,6,9,12,15,18,21);(2,14)(3,6)(4,19)(5,11)(7,16)(9,21)(10,13)(12,18)(17,20)" --cover --restart 60 --seconds 300 --to-limit
// The same affine groups did worse than the plain shift for the denser
// 中6保5 and 中5保5 wheels (选六型20码中6保5 1007 rows under the shift of 1..19
// with x -> 7 x, against 950; 选七型18码中5保5 648 to 680 rows under the shift of
// 1..16 or 1..17 with a multiplier, against 612), and --ilp over the plain
// shift of 19 to 21 indexes (2000 to 4000 orbits) ends far above what --cover
// finds in the same time. Polishing an orbit solution without a group
// (--weights --descend --start FILE) takes a few rows off within a minute
// (9583 to 9578 for 选七型21码中6保6, none off the 9576) and then stalls.
// Subgroups of the collineations of the projective plane of order 4 (its 21
// points as the indexes) settle the orbit problem outright with --ilp: a
// group of order 960 keeping a line (its 5 points one orbit, the other 16 the
// other) gave 选七型21码中6保6 in 9520 rows, one of order 360 keeping a
// hyperoval (6 points, no three on a line; orbits of 6 and 15)
// 选六型21码中4保4 in 504 rows, 60 s each:
//   zelvor-wheelsearch --out work --only 7,21,6,6 --gens "(1,19,7,8,3,17,5,4,12,21,15,9,13,20,11)(2,6,14,10,18);(1,17,16,15)(2,6,18,10)(3,12,13,21)(5,19,7,8)(9,11)" --ilp --seconds 60
//   zelvor-wheelsearch --out work --only 6,21,4,4 --gens "(1,6,8,7,9)(2,14,13,16,5)(3,18,19,4,10)(12,21,17,15,20);(1,2,14,9,12)(3,10,4,18,11)(5,6,20,15,13)(7,8,16,17,21)" --ilp --seconds 60
// The same for 20 and 19 indexes, from the collineations fixing one or two
// points of the plane (the others as the indexes): orders 192 and 144 gave
// 选七型20码中5保5 in 1044 rows and 选七型19码中5保5 in 708; for 21 indexes a
// group of order 320 gave 选六型21码中6保5 in 1223 rows and one of order 576
// 选七型21码中5保5 in 1368 (--ilp --seconds 60 each):
//   zelvor-wheelsearch --out work --only 7,20,5,5 --gens "(1,9,6,3,10,7)(2,12,8,4,11,5)(13,16,15)(17,19)(18,20);(1,11,7,15)(2,10,6,13)(3,9,8,16)(4,12,5,14)(18,20)" --ilp --seconds 60
//   zelvor-wheelsearch --out work --only 7,19,5,5 --gens "(1,2,3)(4,18,5,16,6,17)(7,19)(8,14,9,12,10,13)(11,15);(4,12,8)(5,14,11)(6,15,9)(7,13,10)(17,18,19)" --ilp --seconds 60
//   zelvor-wheelsearch --out work --only 6,21,6,5 --gens "(1,8,14,16,20,11,6,13)(2,4,21,5,10,7,19,17)(3,15,12,9);(1,2,17,7)(3,9)(4,13,10,6)(5,21,20,8)(11,14,19,16)(12,18)" --ilp --seconds 60
//   zelvor-wheelsearch --out work --only 7,21,5,5 --gens "(1,18,21)(2,13,10)(3,16,15)(5,7,8)(6,17,12)(9,11,14);(1,5,2)(6,18,21,12,16,15)(7,8,17,13,10,19)(9,11)(14,20)" --ilp --seconds 60
// The order-192 group of the 选七型20码中5保5 command gave 选六型20码中4保4 in
// 404 rows (--only 6,20,4,4), and polishing that wheel without a group took it to 401
// (--weights --descend --start FILE --seconds 400).
// The collineations of the projective line over GF(16) (17 points) gave
// 选七型17码中5保5 in 408 rows, which with 选六型17码中4保4 makes
// 选七型18码中5保5 in 596 (index 18 adjoined, see above); the program is
// solved to optimality within seconds:
//   zelvor-wheelsearch --out work --only 7,17,5,5 --gens "(1,2,17,10,7,5,14,6)(3,15,4,12,9,16,8,13);(1,4,9,3)(2,17,15,6)(7,12,13,8)(10,14)" --ilp --seconds 60
// Another subgroup of that group gave 405 rows (and 593 for 选七型18码中5保5):
//   zelvor-wheelsearch --out work --only 7,17,5,5 --gens "(1,16,9,13,4,2,17,12,14,3,11,8)(5,7)(6,10,15);(1,12,14,13,4,8)(2,3,16)(6,9,15,11,10,17)" --ilp --seconds 60
// 选六型21码中6保4 in 84 rows came from --cover under a collineation group of
// order 36 (orbits of 1, 2, 3, 6 and 9 points), seed 7 (other seeds stopped
// at 88 to 102):
//   zelvor-wheelsearch --out work --only 6,21,6,4 --gens "(1,3,11,15,8,20)(2,21)(4,16,19)(5,6,7,10,12,18)(9,17,13);(3,4)(6,10)(7,12)(8,11)(9,13)(15,16)(19,20)" --cover --restart 60 --seed 7 --seconds 180 --to-limit
// Polishing (--weights --descend --start FILE --seconds 600) took
// 选六型20码中6保5 from 955 rows (collineations fixing a point, order 192) to 937
// with every seed tried, 2 above its limit. For 选七型20码中4保4 (limit 207)
// the line over GF(16) on indexes 1..17 with 18..20 fixed did best: a
// subgroup of order 48 gave 213 rows, which polishing did not shrink in 600 s:
//   zelvor-wheelsearch --out work --only 7,20,4,4 --gens "(1,13,2,4)(3,10,11,6)(5,8,15,17)(7,16);(1,8,13)(2,17,4)(3,15,6)(5,10,11)(7,9,12)" --ilp --seconds 60
// WHEEL_CBC adds options to the solver's command line. With
// WHEEL_CBC="cutoff 207.5" the solver looks only for orbit wheels within the
// limit, and settles the question far sooner: for that group of order 48 it
// shows within a minute that there is none, and so it did for about 90
// subgroups of order 32 to 100 of the groups tried (the line over GF(16),
// PGL(2,19), S5 on ordered pairs and on 3-cycles, the 4 x 5 grid, AGL(4,2) and
// PGL(4,2) with the remaining indexes permuted, PGL(3,3) x PGL(3,2)).
// For 选六型20码中6保5 a subgroup of order 96 of the group of order 192 does
// better (944 rows within 400 s, the program unsettled; polishing reaches 940):
//   zelvor-wheelsearch --out work --only 6,20,6,5 --gens "(1,17,11,4,19,10)(2,20,12,3,18,9)(5,8,6)(13,14)(15,16);(1,5)(2,7)(3,8)(4,6)(9,17)(10,19)(11,20)(12,18)" --ilp --seconds 400
// The same cutoff on the cyclic shift of 1..18 or 1..19 leaves cbc without
// any solution in 300 s, and it rules out at once the products of the shift
// of 1..11 (or its dihedral or order-55 extension) with the shift of 12..20
// or of three triples. --cover does far worse on such groups (234 rows under
// the shift of 1..18; 1148 for 选六型20码中6保5 under the order-96 group).
// --lns (see neighbourhoodSearch) improves an orbit wheel quickly and then
// stalls: 选六型20码中6保5 went from 944 (either group of order 96) or 955 to
// 939 within ten minutes, and the 937-row wheel did not move in over an
// hour (clusters of 6 to 75 rows, 2000 candidates to all of them, with and
// without --shake);
// 选七型20码中4保4 went from 213 to 210 within half an hour and no further:
//   zelvor-wheelsearch --out work --only 6,20,6,5 --lns --start FILE --cluster 30 --candidates 5000 --step-seconds 20 --seconds 3000
//   zelvor-wheelsearch --out work --only 7,20,4,4 --lns --start FILE --cluster 20 --candidates 3000 --step-seconds 20 --seconds 3000
// The best wheels of these two types so far (937 and 210 rows, both over
// their limits and so not in the library) are kept in tools/wheel-starts as
// starts for --start.
// Other starts for 选六型20码中6保5 did worse: --ilp under the maps
// x -> a x + b of Z_19 (orders 57 and 171) found 1026 and 969 rows, and
// showed for order 342 that there is no orbit wheel within the limit; --cover
// under subgroups of order 12, 18 and 57 of PSL(2, 19) on the projective line
// (its 20 points as the indexes) 982 to 1050; --ilp under subgroups of order
// 32 and 48 of the order-96 groups 1044 and 1200 (400 s, cbc far from
// settled); one class of the 6-sets by their sum of index weights mod m
// (m = 20 to 79) leaves thousands of 6-sets open, some 1120 to 1190 rows
// once patched; the wheel of 选六型19码中6保5 with rows holding index 20
// added for what it leaves open, 1018. cbc over all 2504 rows of six wheels
// of 937 to 940 rows (the 937-row wheel as its start) found nothing smaller
// in 900 s. The annealing from the 937-row wheel at 935 rows
// (WHEEL_T0=0.04, --cool 10) left 4 to 20 of the 6-sets uncovered until its
// first restart and 170 or more after it (half an hour), and --weights --descend from a 939-row wheel
// of the other family stopped at 938. For 选七型20码中4保4 the same annealing
// from the 210-row wheel at 207 rows left 11 to 16 of the 4-sets uncovered,
// then 100 or more after its restarts, and --ilp under the shift of 1..18
// without the cutoff found only 246 rows in 90 s. cbc on the whole program
// of either type (every row a column), started from the best wheel with its
// proximity search on, had not finished its first relaxation after 45
// minutes.
// A sweep with the cutoff at the limit found no orbit wheel of either type.
// For 选七型20码中4保4 it took some 950 groups: the transitive groups of
// degree 20 of order 20 to 400; those of degree 12 to 19 and order 36 to
// 400 on the first indexes; the subgroups of order 36 to 1200 of PGL(2, 19)
// on the projective line, S6 x 2 on the 3-subsets of 1..6, S5 x S4 on a
// 5 x 4 grid, the stabiliser of a pair in M22 and in its automorphism
// group, the point stabiliser of PGammaL(3, 4) and PGammaL(2, 9) on two
// copies of 10 indexes; and the subgroups of PGammaL(2, 16) x S3 holding a
// 17-cycle. cbc ruled out nine in ten of them and stopped on time on the
// rest (mostly of order 60 or less). For 选六型20码中6保5 it took some 410
// groups (the larger ones of the same families, and the translations of
// GF(2)^4 on 16 indexes with linear maps of order up to 12 and a group of
// the other four): 230 ruled out, the rest stopped on time without a
// wheel. On the group of order 96 behind the 944-row wheel the
// relaxation gives 745, and after 20 minutes cbc had neither a wheel nor a
// proof. The 937-row wheel has 16 indexes in some 300 rows each and four
// (13 to 16) in 196, and each row holds none, two or all four of those
// (553, 376 and 8 rows). Other starts for 选七型20码中4保4: the Steiner
// system S(4, 7, 23) less three points, polished, stopped at 218 rows; the
// 7-subsets of the octads of S(5, 8, 24) off four points make a program
// whose relaxation alone needs 260.
// --start FILE starts from the rows of FILE (a wheel of the same v and k)
// instead of a greedy cover; --start design from the type's wheel made from
// the Steiner systems S(3, 6, 22) or S(4, 7, 23) (中3保3 for 6 numbers a bet,
// 中4保4 for 7), the way 选六型20码中3保3 and 选七型21码中4保4 were found:
//   zelvor-wheelsearch --out work --only 6,20,3,3 --weights --descend --start design --seed 7 --seconds 600 --to-limit
//
// --stage LIB DIR... makes the library in LIB (data/旋转矩阵) from the
// smallest wheel of each type in LIB, the DIRs and the known designs (the
// Steiner system S(3, 6, 22) from the Golay code) that keeps its guarantee and
// its size limit, applies the constructions, and lists what is missing.
// A long search runs into a work folder and is staged from there:
//   zelvor-wheelsearch --out work --missing data/旋转矩阵 --weights --to-limit --keep-better --seconds 600
//   zelvor-wheelsearch --stage data/旋转矩阵 work
// An offline tool, run on the developers' machines: use their popcount and
// bit-deposit instructions.
#if defined(__x86_64__) && defined(__GNUC__)
#pragma GCC target("popcnt,bmi2")
#include <immintrin.h>
#define ZELVOR_HAVE_PDEP 1
#endif
#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "filter/wheel.h"
#include "filter/wheel_targets.h"

using namespace zelvor;
using Mask = std::uint32_t;

namespace {

std::uint64_t binom[32][32];
// Annealing steps between two cooling steps, per row index (--cool).
double coolFactor = 2.0;

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
#ifdef ZELVOR_HAVE_PDEP
    return _pdep_u32(pattern, target);
#endif
    Mask out = 0;
    for (; pattern && target; target &= target - 1, pattern >>= 1)
        if (pattern & 1)
            out |= target & (~target + 1);
    return out;
}

// The search may look for a wheel made of whole orbits under a group of
// permutations of the indexes (the cyclic shift of the first n indexes, or
// the group made by given generators): rows and p-sets are then counted by
// orbit, which makes big wheels far smaller problems. The trivial group is
// the plain search.
using Permutation = std::vector<int>; // index -> image, both 0-based

struct Problem {
    int v, k, p, t, n;
    // Patterns of the p-sets that meet a row in >= t: (positions in the row, positions outside).
    std::vector<std::pair<Mask, Mask>> patterns;
    // Swapping x for y in a row changes only the p-sets that hold x or y and
    // meet the rest of the row in exactly t - 1: patterns of those (positions
    // among the row's other k - 1, positions among the v - k - 1 outside).
    std::vector<std::pair<Mask, Mask>> swapPatterns;
    std::uint32_t psets = 0;
    std::vector<std::uint32_t> orbitOf; // p-set rank -> orbit
    std::vector<Mask> orbitRep;         // orbit -> one of its p-sets
    std::uint32_t orbits = 0;
    // The group's elements as byte tables: image of a set = OR of the
    // images of its three bytes.
    std::vector<std::array<Mask, 3 * 256>> elements;

    Problem(int v_, int k_, int p_, int t_, const std::vector<Permutation>& generators = {})
        : v(v_), k(k_), p(p_), t(t_)
    {
        makeGroup(generators);
        n = static_cast<int>(elements.size());
        psets = static_cast<std::uint32_t>(binom[v][p]);
        for (int j = t; j <= std::min(p, k); ++j)
            for (Mask in : subsetsOfSize(k, j))
                for (Mask out : subsetsOfSize(v - k, p - j))
                    patterns.emplace_back(in, out);
        for (Mask in : subsetsOfSize(k - 1, t - 1))
            for (Mask out : subsetsOfSize(v - k - 1, p - t))
                swapPatterns.emplace_back(in, out);
        orbitOf.assign(psets, UINT32_MAX);
        for (Mask s : subsetsOfSize(v, p)) {
            const std::uint32_t r = rankOf(s);
            if (orbitOf[r] != UINT32_MAX)
                continue;
            for (int i = 0; i < n; ++i)
                orbitOf[rankOf(shifted(s, i))] = orbits;
            orbitRep.push_back(s);
            ++orbits;
        }
    }
    // The closure of the generators; a group of more than 20,000 elements
    // ends the program.
    void makeGroup(const std::vector<Permutation>& generators)
    {
        Permutation identity(static_cast<std::size_t>(v));
        for (int i = 0; i < v; ++i)
            identity[static_cast<std::size_t>(i)] = i;
        std::set<Permutation> seen{identity};
        std::vector<Permutation> queue{identity};
        for (std::size_t at = 0; at < queue.size(); ++at)
            for (const Permutation& g : generators) {
                Permutation next(static_cast<std::size_t>(v));
                for (int i = 0; i < v; ++i)
                    next[static_cast<std::size_t>(i)] = g[static_cast<std::size_t>(queue[at][static_cast<std::size_t>(i)])];
                if (seen.insert(next).second)
                    queue.push_back(next);
                if (queue.size() > 20000) {
                    std::fprintf(stderr, "the group has more than 20000 elements\n");
                    std::exit(2);
                }
            }
        for (const Permutation& g : queue) {
            std::array<Mask, 3 * 256> table{};
            for (int byte = 0; byte < 3; ++byte)
                for (int bits = 0; bits < 256; ++bits) {
                    Mask image = 0;
                    for (int b = 0; b < 8; ++b)
                        if (bits >> b & 1 && byte * 8 + b < v)
                            image |= 1u << g[static_cast<std::size_t>(byte * 8 + b)];
                    table[static_cast<std::size_t>(byte * 256 + bits)] = image;
                }
            elements.push_back(table);
        }
    }
    Mask full() const { return v == 32 ? ~0u : (1u << v) - 1; }
    // The image of a set under the group's element i.
    Mask shifted(Mask m, int i) const
    {
        const auto& e = elements[static_cast<std::size_t>(i)];
        return e[m & 255] | e[256 + (m >> 8 & 255)] | e[512 + (m >> 16 & 255)];
    }
    // Calls lost(orbit) and gained(orbit) for the p-sets that a row stops and
    // starts covering when x is swapped for y.
    template <class L, class G> void forSwap(Mask row, Mask x, Mask y, L&& lost, G&& gained) const
    {
        const Mask rest = row & ~x;
        const Mask outside = full() & ~row & ~y;
        for (const auto& [in, out] : swapPatterns) {
            const Mask base = deposit(in, rest) | deposit(out, outside);
            gained(orbitOf[rankOf(base | y)]);
        }
        for (const auto& [in, out] : swapPatterns) {
            const Mask base = deposit(in, rest) | deposit(out, outside);
            lost(orbitOf[rankOf(base | x)]);
        }
    }
    template <class F> void forCovered(Mask row, F&& f) const
    {
        const Mask outside = full() & ~row;
        for (const auto& [in, out] : patterns)
            f(orbitOf[rankOf(deposit(in, row) | deposit(out, outside))]);
    }
    // Every row of the orbit of each row, once.
    std::vector<Mask> expanded(const std::vector<Mask>& rows) const
    {
        std::set<Mask> all;
        for (Mask r : rows)
            for (int i = 0; i < n; ++i)
                all.insert(shifted(r, i));
        return {all.begin(), all.end()};
    }
};

// Rows with coverage counts and the list of uncovered p-sets.
struct Cover {
    const Problem& pb;
    std::vector<Mask> rows;
    std::vector<std::uint16_t> count;
    std::vector<std::uint32_t> uncovered; // ranks
    std::vector<std::int32_t> where;      // position in uncovered, -1 when covered
    std::vector<Mask> unrank;             // orbit -> one of its p-sets

    explicit Cover(const Problem& p)
        : pb(p), count(p.orbits, 0), where(p.orbits, -1), unrank(p.orbitRep)
    {
        uncovered.reserve(p.orbits);
        for (std::uint32_t r = 0; r < p.orbits; ++r) {
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
    // Uncovered p-set orbits that would appear if row i went (a row may
    // meet one orbit more than once).
    int lossOf(std::size_t i) const
    {
        std::vector<std::uint32_t> own;
        pb.forCovered(rows[i], [&](std::uint32_t r) { own.push_back(r); });
        std::sort(own.begin(), own.end());
        int loss = 0;
        for (std::size_t a = 0; a < own.size();) {
            std::size_t b = a;
            while (b < own.size() && own[b] == own[a])
                ++b;
            loss += count[own[a]] == b - a;
            a = b;
        }
        return loss;
    }
    // Row i becomes member (a row of its orbit) with x swapped for y.
    void swapIn(std::size_t i, Mask member, Mask x, Mask y)
    {
        pb.forSwap(member, x, y, [&](std::uint32_t r) { dec(r); }, [&](std::uint32_t r) { inc(r); });
        rows[i] = (member & ~x) | y;
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

// The time point S seconds from now.
std::chrono::steady_clock::time_point deadlineAfter(double seconds)
{
    return std::chrono::steady_clock::now()
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

// Whether the deadline has passed, looked at every mask + 1 steps (mask + 1
// a power of two); with WHEEL_TRACE set, trace() prints the progress every
// 65,536 steps.
template <class Trace>
bool timeUp(long step, long mask, std::chrono::steady_clock::time_point deadline, Trace&& trace)
{
    if ((step & mask) != 0)
        return false;
    if (std::chrono::steady_clock::now() > deadline)
        return true;
    if ((step & ((1 << 16) - 1)) == 0 && std::getenv("WHEEL_TRACE"))
        trace();
    return false;
}

// Every image of every row under the group, row by row: the images of row i
// are all[i * n .. i * n + n - 1].
struct RowImages {
    const Cover& c;
    std::vector<Mask> all;
    explicit RowImages(const Cover& cover) : c(cover), all(cover.rows.size() * static_cast<std::size_t>(cover.pb.n))
    {
        for (std::size_t i = 0; i < c.rows.size(); ++i)
            set(i);
    }
    void set(std::size_t i)
    {
        const auto n = static_cast<std::size_t>(c.pb.n);
        for (std::size_t sh = 0; sh < n; ++sh)
            all[i * n + sh] = c.pb.shifted(c.rows[i], static_cast<int>(sh));
    }
};

// Simulated annealing on a fixed number of rows until nothing is uncovered or
// the deadline passes. A move takes an uncovered p-set P, a row meeting P in
// t - 1 indexes (chosen at random among all such rows) and swaps one of its
// other indexes for one of P, so that the row covers P afterwards; the cost
// is the number of uncovered p-sets.
bool anneal(Cover& c, std::mt19937_64& rng, std::chrono::steady_clock::time_point deadline)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int want = c.pb.t - 1;
    // Temperatures are in units of the mean cost a worsening move adds,
    // measured over the first moves.
    const double startFactor = std::getenv("WHEEL_T0") ? std::atof(std::getenv("WHEEL_T0")) : 0.3;
    double temperature = 0.0;
    double floor = 0.0;
    double uphillSum = 0;
    long uphillCount = 0;
    std::size_t bestSeen = c.uncovered.size();
    long sinceBest = 0;
    long step = 0;
    // Rows (and shifts) one swap away from covering the chosen p-set.
    std::vector<std::uint32_t> candidates;
    const int n = c.pb.n;
    RowImages images(c);
    std::vector<Mask>& all = images.all;
    const long coolEvery = std::max<long>(2048, static_cast<long>(coolFactor * static_cast<double>(c.rows.size() * static_cast<std::size_t>(c.pb.k))));
    while (!c.uncovered.empty()) {
        if (timeUp(++step, 1023, deadline, [&] {
                std::fprintf(stderr, "  rows=%zu uncovered=%zu T=%.3f\n", c.rows.size(), c.uncovered.size(), temperature);
            }))
            return false;
        const Mask pset = c.unrank[c.uncovered[rng() % c.uncovered.size()]];
        // Reservoir choice among the rows one swap away from covering P;
        // failing those, among the rows meeting P most.
        candidates.clear();
        int bestOverlap = -1;
        for (std::size_t j = 0; j < all.size(); ++j) {
            const int o = __builtin_popcount(all[j] & pset);
            if (o > want || o < bestOverlap)
                continue;
            if (o > bestOverlap) {
                bestOverlap = o;
                candidates.clear();
            }
            candidates.push_back(static_cast<std::uint32_t>(j));
        }
        if (candidates.empty())
            continue;
        const std::uint32_t pick = candidates[rng() % candidates.size()];
        const std::size_t chosen = pick / static_cast<std::uint32_t>(n);
        const Mask chosenRow = all[pick];
        const Mask row = c.rows[chosen];
        const Mask add = pset & ~chosenRow;
        const Mask drop = chosenRow & ~pset;
        if (!add || !drop)
            continue;
        const Mask x = randomElement(drop, rng);
        const Mask y = randomElement(add, rng);
        const std::size_t before = c.uncovered.size();
        c.swapIn(chosen, chosenRow, x, y);
        const long delta = static_cast<long>(c.uncovered.size()) - static_cast<long>(before);
        if (temperature == 0.0 && delta > 0) {
            uphillSum += static_cast<double>(delta);
            if (++uphillCount == 2048) {
                const double mean = uphillSum / static_cast<double>(uphillCount);
                temperature = startFactor * mean;
                floor = 0.02 * mean;
                if (std::getenv("WHEEL_TRACE"))
                    std::fprintf(stderr, "  mean uphill %.2f\n", mean);
            }
        }
        if (delta > 0 && (temperature == 0.0 || unit(rng) >= std::exp(-static_cast<double>(delta) / temperature))) {
            c.swapIn(chosen, c.rows[chosen], y, x);
            c.rows[chosen] = row;
        }
        else
            images.set(chosen);
        // Cool steadily to a floor; when stuck there for long, warm up again.
        if (c.uncovered.size() < bestSeen) {
            bestSeen = c.uncovered.size();
            sinceBest = 0;
        } else if (++sinceBest > 3000000 && temperature <= floor * 1.2) {
            temperature = floor * 10;
            sinceBest = 0;
            bestSeen = c.uncovered.size();
        }
        if (step % coolEvery == 0)
            temperature = std::max(floor, temperature * 0.995);
    }
    return true;
}

// Weighted local search on a fixed number of rows (--weights): every
// uncovered p-set (orbit) carries a weight, raised by one at each step that
// finds no improving move, so that the p-sets which stay uncovered pull ever
// harder. A step takes an uncovered p-set P and makes the best swap (by the
// weighted cost) among those that let a row cover P, skipping a swap that
// would put back an index the row lost in the last few steps.
int sampleMoves = 0; // --sample

bool reweight(Cover& c, std::mt19937_64& rng, std::chrono::steady_clock::time_point deadline)
{
    const int want = c.pb.t - 1;
    const int n = c.pb.n;
    std::vector<std::uint32_t> weight(c.pb.orbits, 1);
    RowImages images(c);
    std::vector<Mask>& all = images.all;
    // tabu[row * 32 + index]: the step until which the index may not come back.
    std::vector<long> tabu(c.rows.size() * 32, 0);
    std::vector<std::uint16_t>& count = c.count;
    struct Move {
        std::uint32_t image;
        Mask x, y;
    };
    std::vector<Move> bestMoves;
    std::vector<Move> moves;
    std::size_t fewest = c.uncovered.size();
    long step = 0;
    while (!c.uncovered.empty()) {
        if (timeUp(++step, 255, deadline, [&] {
                std::fprintf(stderr, "  rows=%zu uncovered=%zu fewest=%zu\n", c.rows.size(), c.uncovered.size(), fewest);
            }))
            return false;
        const Mask pset = c.unrank[c.uncovered[rng() % c.uncovered.size()]];
        long best = LONG_MAX;
        bestMoves.clear();
        // Every swap that lets a row cover P; with --sample S only S of
        // them, drawn at random, are weighed (the lotto designs have many).
        moves.clear();
        for (std::size_t j = 0; j < all.size(); ++j) {
            const Mask member = all[j];
            if (__builtin_popcount(member & pset) != want)
                continue;
            for (Mask add = pset & ~member; add; add &= add - 1)
                for (Mask drop = member & ~pset; drop; drop &= drop - 1)
                    moves.push_back({static_cast<std::uint32_t>(j), drop & (~drop + 1), add & (~add + 1)});
        }
        std::size_t weigh = moves.size();
        if (sampleMoves > 0 && weigh > static_cast<std::size_t>(sampleMoves)) {
            weigh = static_cast<std::size_t>(sampleMoves);
            for (std::size_t a = 0; a < weigh; ++a)
                std::swap(moves[a], moves[a + rng() % (moves.size() - a)]);
        }
        for (std::size_t a = 0; a < weigh; ++a) {
            const auto [j, x, y] = moves[a];
            const Mask member = all[j];
            const std::size_t row = j / static_cast<std::size_t>(n);
            const bool banned = tabu[row * 32 + static_cast<std::size_t>(__builtin_ctz(y))] > step;
            long delta = 0;
            long newlyUncovered = 0;
            if (n == 1) {
                // Without a group every p-set the swap touches is its own
                // orbit and is touched once: no need to change the counts.
                c.pb.forSwap(member, x, y,
                    [&](std::uint32_t r) { if (count[r] == 1) { delta += weight[r]; ++newlyUncovered; } },
                    [&](std::uint32_t r) { if (count[r] == 0) { delta -= weight[r]; --newlyUncovered; } });
            } else {
                c.pb.forSwap(member, x, y,
                    [&](std::uint32_t r) { if (--count[r] == 0) { delta += weight[r]; ++newlyUncovered; } },
                    [&](std::uint32_t r) { if (count[r]++ == 0) { delta -= weight[r]; --newlyUncovered; } });
                c.pb.forSwap(member, x, y, [&](std::uint32_t r) { ++count[r]; }, [&](std::uint32_t r) { --count[r]; });
            }
            // A banned move is taken only when it beats the best cover so far.
            if (banned && c.uncovered.size() + static_cast<std::size_t>(newlyUncovered) >= fewest)
                continue;
            if (delta < best) {
                best = delta;
                bestMoves.clear();
            }
            if (delta == best)
                bestMoves.push_back(moves[a]);
        }
        if (bestMoves.empty())
            continue;
        if (best >= 0)
            for (std::uint32_t r : c.uncovered)
                ++weight[r];
        const Move m = bestMoves[rng() % bestMoves.size()];
        const std::size_t row = m.image / static_cast<std::uint32_t>(n);
        c.swapIn(row, all[m.image], m.x, m.y);
        images.set(row);
        tabu[row * 32 + static_cast<std::size_t>(__builtin_ctz(m.x))] = step + 3 + static_cast<long>(rng() % 8);
        fewest = std::min(fewest, c.uncovered.size());
    }
    return true;
}

bool useWeights = false;
bool exhaustiveSearch = false; // --exhaustive
bool integerProgramSearch = false; // --ilp
bool setCoverMode = false; // --cover
bool neighbourhoodMode = false; // --lns
double restartSeconds = 0; // --restart
bool descendOnly = false; // --descend
std::vector<Mask> startRows; // --start, for the type searched
bool stopAtLimit = false; // --to-limit

bool improve(Cover& c, std::mt19937_64& rng, std::chrono::steady_clock::time_point deadline)
{
    return useWeights ? reweight(c, rng, deadline) : anneal(c, rng, deadline);
}

// Rows of a wheel without the ones it can do without.
std::vector<Mask> pruned(const WheelType& w, const std::vector<Mask>& rows)
{
    const Problem plain(w.numbers, w.pick, w.hit, w.keep);
    Cover c(plain);
    for (Mask r : rows)
        c.add(r);
    for (std::size_t i = c.rows.size(); i-- > 0;)
        if (c.rows.size() > 1 && c.lossOf(i) == 0)
            c.removeAt(i);
    return c.rows;
}

// The row (orbit) whose loss is smallest, looking at every step-th one.
std::size_t cheapestRow(const Cover& c, std::size_t step)
{
    std::size_t worst = 0;
    int least = -1;
    for (std::size_t i = 0; i < c.rows.size(); i += step) {
        const int loss = c.lossOf(i);
        if (least < 0 || loss < least) {
            least = loss;
            worst = i;
        }
    }
    return worst;
}

// Adds the rows of the start wheel (--start) that fit the problem.
void addStartRows(Cover& c)
{
    for (Mask r : startRows)
        if (r <= c.pb.full() && __builtin_popcount(r) == c.pb.k)
            c.add(r);
}

std::vector<Mask> search(const WheelType& w, double seconds, std::uint64_t seed, const std::vector<Permutation>& group,
                         const std::function<void(const std::vector<Mask>&)>& better)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep, group);
    std::mt19937_64 rng(seed);
    Cover c(pb);
    // A given start (--start) when searching without a group, then greedy
    // rows for whatever it leaves uncovered.
    if (pb.n == 1)
        addStartRows(c);
    greedy(c, rng);
    for (std::size_t i = c.rows.size(); i-- > 0;)
        if (c.rows.size() > 1 && c.lossOf(i) == 0)
            c.removeAt(i);
    std::vector<Mask> best = pruned(w, pb.expanded(c.rows));
    better(best);
    const auto deadline = deadlineAfter(seconds);
    const std::optional<int> target = bestKnownWheelSize(w);
    const std::optional<int> limit = wheelSizeLimit(w);
    auto found = [&] {
        std::vector<Mask> rows = pruned(w, pb.expanded(c.rows));
        if (rows.size() < best.size()) {
            best = rows;
            better(best);
        }
    };
    // Far above the limit, go there at once: drop the rows that lose least,
    // then repair with the whole budget.
    const std::size_t perRow = static_cast<std::size_t>(pb.n);
    if (limit && best.size() > static_cast<std::size_t>(*limit) + perRow && !descendOnly) {
        Cover trial = c;
        while (trial.rows.size() * perRow > static_cast<std::size_t>(*limit))
            trial.removeAt(cheapestRow(trial, 1 + trial.rows.size() / 64));
        if (improve(trial, rng, deadline)) {
            c.takeFrom(std::move(trial));
            found();
        }
    }
    while (c.rows.size() > 1 && std::chrono::steady_clock::now() < deadline) {
        if (target && static_cast<int>(best.size()) <= *target)
            break;
        if (stopAtLimit && limit && static_cast<int>(best.size()) <= *limit)
            break;
        // One row (orbit) fewer: drop the one whose loss is smallest, then repair.
        c.removeAt(cheapestRow(c, 1));
        if (!improve(c, rng, deadline))
            break;
        found();
    }
    std::sort(best.begin(), best.end());
    return best;
}

// Every orbit of rows under the group with the p-set orbits it covers, both
// ways round: the columns and lines of the set-cover search and the 0-1
// program, the candidates of the exhaustive search. A column's cost is the
// size of its orbit; without a group every row is its own orbit.
struct SetCover {
    std::vector<Mask> rep;
    std::vector<int> cost;
    std::vector<std::vector<std::uint32_t>> colLines, lineCols;
};

SetCover setCoverOf(const Problem& pb)
{
    SetCover sc;
    std::vector<std::uint8_t> seen(binom[pb.v][pb.k], 0);
    std::vector<std::uint32_t> lines;
    for (Mask row : subsetsOfSize(pb.v, pb.k)) {
        if (seen[rankOf(row)])
            continue;
        int size = 0;
        for (int i = 0; i < pb.n; ++i) {
            std::uint8_t& s = seen[rankOf(pb.shifted(row, i))];
            size += s == 0;
            s = 1;
        }
        lines.clear();
        pb.forCovered(row, [&](std::uint32_t o) { lines.push_back(o); });
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
        sc.rep.push_back(row);
        sc.cost.push_back(size);
        sc.colLines.emplace_back(lines.begin(), lines.end());
    }
    sc.lineCols.resize(pb.orbits);
    for (std::uint32_t j = 0; j < sc.rep.size(); ++j)
        for (std::uint32_t o : sc.colLines[j])
            sc.lineCols[o].push_back(j);
    return sc;
}

// Exhaustive search over whole orbits (--exhaustive, with a group): every
// orbit of rows is one candidate; a depth-first search covers the uncovered
// p-set orbit with the fewest candidates first, within the size limit. It
// settles small orbit problems (a few orbits of a large group) for good:
// when it ends without a wheel, there is none of that kind.
std::vector<Mask> exhaustive(const WheelType& w, const std::vector<Permutation>& group,
                             std::chrono::steady_clock::time_point deadline, bool& complete)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep, group);
    const std::size_t words = (pb.orbits + 63) / 64;
    const SetCover sc = setCoverOf(pb);
    const std::vector<std::vector<std::uint32_t>>& coveringOrbit = sc.lineCols;
    std::vector<std::vector<std::uint64_t>> covers(sc.rep.size(), std::vector<std::uint64_t>(words, 0));
    for (std::size_t i = 0; i < sc.rep.size(); ++i)
        for (std::uint32_t o : sc.colLines[i])
            covers[i][o / 64] |= 1ull << (o % 64);
    const int budget = wheelSizeLimit(w).value_or(1 << 30);
    std::vector<std::uint32_t> chosen;
    std::vector<Mask> found;
    long nodes = 0;
    complete = true;
    std::function<bool(const std::vector<std::uint64_t>&, int)> dfs = [&](const std::vector<std::uint64_t>& covered, int left) {
        if ((++nodes & 1023) == 0 && std::chrono::steady_clock::now() > deadline) {
            complete = false;
            return false;
        }
        // The uncovered orbit with the fewest candidates that still fit.
        std::uint32_t pivot = UINT32_MAX;
        std::size_t fewest = SIZE_MAX;
        for (std::uint32_t o = 0; o < pb.orbits; ++o) {
            if (covered[o / 64] >> (o % 64) & 1)
                continue;
            std::size_t n = 0;
            for (std::uint32_t i : coveringOrbit[o])
                n += sc.cost[i] <= left;
            if (n < fewest) {
                fewest = n;
                pivot = o;
                if (n == 0)
                    return false;
            }
        }
        if (pivot == UINT32_MAX) {
            for (std::uint32_t i : chosen)
                found.push_back(sc.rep[i]);
            return true;
        }
        std::vector<std::uint64_t> next(words);
        for (std::uint32_t i : coveringOrbit[pivot]) {
            if (sc.cost[i] > left)
                continue;
            for (std::size_t j = 0; j < words; ++j)
                next[j] = covered[j] | covers[i][j];
            chosen.push_back(i);
            if (dfs(next, left - sc.cost[i]))
                return true;
            chosen.pop_back();
            if (!complete)
                return false;
        }
        return false;
    };
    // Orbits past the last one do not exist: mark them covered.
    std::vector<std::uint64_t> covered(words, 0);
    for (std::uint32_t o = pb.orbits; o < words * 64; ++o)
        covered[o / 64] |= 1ull << (o % 64);
    if (std::getenv("WHEEL_TRACE"))
        std::fprintf(stderr, "  %zu row orbits, %u p-set orbits\n", sc.rep.size(), pb.orbits);
    dfs(covered, budget);
    return found.empty() ? found : pruned(w, pb.expanded(found));
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

using Key = std::tuple<int, int, int, int>;
using Library = std::map<Key, std::vector<Mask>>;

Key keyOf(const WheelType& w) { return {w.pick, w.numbers, w.hit, w.keep}; }

// Whether rows keep the type's guarantee (counted here; the library is checked
// again by zelvor-cli wheel-check).
bool keepsGuarantee(const WheelType& w, const std::vector<Mask>& rows)
{
    const Problem plain(w.numbers, w.pick, w.hit, w.keep);
    Cover c(plain);
    for (Mask r : rows)
        c.add(r);
    return c.uncovered.empty();
}

bool withinLimit(const WheelType& w, std::size_t rows)
{
    const std::optional<int> limit = wheelSizeLimit(w);
    return !limit || rows <= static_cast<std::size_t>(*limit);
}

// The wheel for v from the one for v - 1 and the one of k - 1 indexes, 中p-1保t-1,
// for v - 1 with index v added to each of its rows: a p-set without index v
// meets a row of the first in t indexes, one with it meets a row of the second
// in t - 1 indexes besides v. Empty when either is (a search that found none).
std::vector<Mask> adjoined(const std::vector<Mask>& same, const std::vector<Mask>& smaller, int v)
{
    if (same.empty() || smaller.empty())
        return {};
    std::vector<Mask> out = same;
    for (Mask r : smaller)
        out.push_back(r | (1u << (v - 1)));
    return libraryOrder(out);
}

// The reductions from v + 1, the wheels of stronger types and the wheels
// adjoining index v, until nothing changes.
void applyConstructions(Library& wheels)
{
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
            const auto same = wheels.find({pick, v - 1, p, t});
            const auto smaller = wheels.find({pick - 1, v - 1, p - 1, t - 1});
            if (same != wheels.end() && smaller != wheels.end())
                better(adjoined(same->second, smaller->second, v));
            for (const auto& [k2, rows2] : wheels) {
                const auto [pick2, v2, p2, t2] = k2;
                if (pick2 == pick && v2 == v && p2 <= p && t2 >= t && k2 != k)
                    better(rows2);
            }
        }
    }
}

// The octads of the extended binary Golay code (the cyclic [23, 12] code
// generated by x^11 + x^10 + x^6 + x^5 + x^4 + x^2 + 1, and a parity bit):
// the 759 blocks of the Steiner system S(5, 8, 24) over indexes 0..23.
std::vector<Mask> golayOctads()
{
    const Mask g = (1u << 0) | (1u << 2) | (1u << 4) | (1u << 5) | (1u << 6) | (1u << 10) | (1u << 11);
    std::vector<Mask> octads;
    for (Mask m = 0; m < 4096; ++m) {
        Mask w = 0;
        for (int i = 0; i < 12; ++i)
            if (m >> i & 1)
                w ^= g << i;
        if (__builtin_popcount(w) % 2)
            w |= 1u << 23;
        if (__builtin_popcount(w) == 8)
            octads.push_back(w);
    }
    return octads;
}

// Wheels from the Steiner systems of the Golay code, with the indexes above
// v replaced one by one as for the wheel of v + 1: the octads through
// indexes 22 and 23, without them, are S(3, 6, 22) (77 rows holding every
// 3-set of 22 indexes once), those through index 23 are S(4, 7, 23) (253 rows
// holding every 4-set of 23 once). Empty for the other types.
std::vector<Mask> designWheel(const WheelType& w)
{
    Mask fixed = 0;
    int points = 0;
    if (w.pick == 6 && w.hit == 3 && w.keep == 3 && w.numbers <= 22) {
        fixed = (1u << 22) | (1u << 23);
        points = 22;
    } else if (w.pick == 7 && w.hit == 4 && w.keep == 4 && w.numbers <= 23) {
        fixed = 1u << 23;
        points = 23;
    } else
        return {};
    std::vector<Mask> rows;
    for (Mask o : golayOctads())
        if ((o & fixed) == fixed)
            rows.push_back(o & ~fixed);
    for (int v = points - 1; v >= w.numbers; --v)
        rows = reduced(rows, v);
    return rows;
}

// The design wheels (without the rows they can do without), for --stage to
// weigh like any other.
Library designWheels()
{
    Library out;
    for (const WheelType& w : wheelLibraryTypes())
        if (std::vector<Mask> rows = designWheel(w); !rows.empty())
            out[keyOf(w)] = libraryOrder(pruned(w, libraryOrder(rows)));
    return out;
}

// --stage LIB DIR...: the library in LIB made of the smallest wheel of each
// type found in LIB, the DIRs and the design wheels that keeps its guarantee
// and its size limit, with the constructions applied; prints the types still
// missing.
int stage(const std::filesystem::path& lib, const std::vector<std::filesystem::path>& dirs)
{
    Library wheels;
    std::vector<std::filesystem::path> all = dirs;
    all.insert(all.begin(), lib);
    for (const WheelType& w : wheelLibraryTypes()) {
        for (const std::filesystem::path& dir : all) {
            const std::filesystem::path file = dir / std::filesystem::u8path(fileName(w));
            if (!std::filesystem::exists(file))
                continue;
            const std::vector<Mask> rows = libraryOrder(readLibraryFile(file));
            auto it = wheels.find(keyOf(w));
            if (rows.empty() || (it != wheels.end() && it->second.size() <= rows.size()))
                continue;
            if (keepsGuarantee(w, rows))
                wheels[keyOf(w)] = rows;
            else
                std::fprintf(stderr, "%s in %s misses its guarantee\n", fileName(w).c_str(), dir.string().c_str());
        }
    }
    for (const auto& [key, rows] : designWheels()) {
        const auto [pick, v, p, t] = key;
        const WheelType w{pick, v, p, t};
        auto it = wheels.find(key);
        if ((it == wheels.end() || rows.size() < it->second.size()) && keepsGuarantee(w, rows))
            wheels[key] = rows;
    }
    applyConstructions(wheels);
    int missing = 0;
    for (const WheelType& w : wheelLibraryTypes()) {
        const std::filesystem::path file = lib / std::filesystem::u8path(fileName(w));
        auto it = wheels.find(keyOf(w));
        if (it == wheels.end() || !withinLimit(w, it->second.size())) {
            ++missing;
            std::printf("missing %d,%d,%d,%d rows=%zu limit=%d\n", w.pick, w.numbers, w.hit, w.keep,
                        it == wheels.end() ? 0 : it->second.size(), wheelSizeLimit(w).value_or(0));
            std::filesystem::remove(file);
            continue;
        }
        if (!std::filesystem::exists(file) || libraryOrder(readLibraryFile(file)) != it->second)
            writeLibraryFile(file, it->second);
    }
    std::printf("staged=%zu missing=%d\n", wheelLibraryTypes().size() - static_cast<std::size_t>(missing), missing);
    return 0;
}

} // namespace

// "(1 2 3)(4 5 6);(1 4)(2 5)": generators separated by ';', each a
// product of cycles of 1-based indexes (blanks or commas between them).
// Empty on a bad text.
// Weighted set-cover local search over whole orbits (--cover): each orbit of
// rows is a column costing its size, each p-set orbit a line to cover. With
// the columns' cover lists precomputed a step is cheap, and a step may bring
// in any row orbit that covers the chosen line, not only one index away from
// a row already there. A step drops the chosen column whose loss (by weight)
// is least and adds, for a random uncovered line, the column covering it
// with the best gain whose neighbourhood changed since it was last dropped;
// the weights of the uncovered lines then grow by one. Whenever everything
// is covered the cost is below the best so far: that is recorded and the
// cheapest column dropped. Without a group every row is its own orbit.
std::vector<Mask> setCoverSearch(const WheelType& w, const std::vector<Permutation>& group, double seconds,
                                 std::uint64_t seed, const std::function<void(const std::vector<Mask>&)>& better)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep, group);
    const SetCover sc = setCoverOf(pb);
    const std::size_t cols = sc.rep.size();
    const std::uint32_t lines = pb.orbits;
    if (std::getenv("WHEEL_TRACE"))
        std::fprintf(stderr, "  %zu row orbits, %u p-set orbits\n", cols, lines);
    std::mt19937_64 rng(seed);
    std::vector<long> weight(lines, 1), score(cols, 0);
    std::vector<std::uint32_t> covered(lines, 0);
    std::vector<std::uint64_t> chosenSum(lines, 0); // sum of the covering columns: the one when covered once
    std::vector<char> free(cols, 1);
    std::vector<long> since(cols, 0);
    std::vector<std::uint32_t> uncovered, where(lines, UINT32_MAX), solution, slot(cols, UINT32_MAX); // slot: place in solution, or none
    for (std::uint32_t o = 0; o < lines; ++o) {
        where[o] = static_cast<std::uint32_t>(uncovered.size());
        uncovered.push_back(o);
    }
    for (std::size_t j = 0; j < cols; ++j)
        score[j] = static_cast<long>(sc.colLines[j].size());
    long cost = 0, step = 0;
    auto setFree = [&](std::uint32_t o) {
        for (std::uint32_t c : sc.lineCols[o])
            free[c] = 1;
    };
    auto add = [&](std::uint32_t j) {
        for (std::uint32_t o : sc.colLines[j]) {
            if (covered[o] == 0) {
                for (std::uint32_t c : sc.lineCols[o])
                    if (c != j)
                        score[c] -= weight[o];
                const std::uint32_t last = uncovered.back();
                uncovered[where[o]] = last;
                where[last] = where[o];
                uncovered.pop_back();
                where[o] = UINT32_MAX;
                setFree(o);
            } else if (covered[o] == 1)
                score[chosenSum[o]] += weight[o];
            ++covered[o];
            chosenSum[o] += j;
        }
        score[j] = -score[j];
        slot[j] = static_cast<std::uint32_t>(solution.size());
        solution.push_back(j);
        cost += sc.cost[j];
        since[j] = step;
    };
    auto remove = [&](std::uint32_t j) {
        score[j] = -score[j];
        for (std::uint32_t o : sc.colLines[j]) {
            --covered[o];
            chosenSum[o] -= j;
            if (covered[o] == 0) {
                for (std::uint32_t c : sc.lineCols[o])
                    if (c != j)
                        score[c] += weight[o];
                where[o] = static_cast<std::uint32_t>(uncovered.size());
                uncovered.push_back(o);
                setFree(o);
            } else if (covered[o] == 1)
                score[chosenSum[o]] -= weight[o];
        }
        free[j] = 0;
        const std::uint32_t last = solution.back();
        solution[slot[j]] = last;
        slot[last] = slot[j];
        solution.pop_back();
        slot[j] = UINT32_MAX;
        cost -= sc.cost[j];
        since[j] = step;
    };
    // The chosen column losing least per row, the older one on a tie.
    auto cheapest = [&](std::uint32_t keep) {
        std::uint32_t best = UINT32_MAX;
        for (std::uint32_t j : solution)
            if (j != keep
                && (best == UINT32_MAX || score[j] * sc.cost[best] > score[best] * sc.cost[j]
                    || (score[j] * sc.cost[best] == score[best] * sc.cost[j] && since[j] < since[best])))
                best = j;
        return best;
    };
    // A given start (--start) when searching without a group, then greedy:
    // the best gain per row until all is covered.
    if (pb.n == 1) {
        std::map<Mask, std::uint32_t> column;
        for (std::uint32_t j = 0; j < cols; ++j)
            column[sc.rep[j]] = j;
        for (Mask r : startRows)
            if (const auto it = column.find(r); it != column.end() && slot[it->second] == UINT32_MAX)
                add(it->second);
    }
    auto greedyFill = [&] {
        while (!uncovered.empty()) {
            const std::uint32_t o = uncovered[rng() % uncovered.size()];
            std::uint32_t best = UINT32_MAX;
            for (std::uint32_t c : sc.lineCols[o])
                if (best == UINT32_MAX || score[c] * sc.cost[best] > score[best] * sc.cost[c])
                    best = c;
            add(best);
        }
        for (std::size_t i = solution.size(); i-- > 0;)
            if (i < solution.size() && score[solution[i]] == 0)
                remove(solution[i]);
    };
    greedyFill();
    // A restart (--restart S, after S seconds without a better wheel): all
    // weights back to one and a new greedy cover; the best cost stays, so the
    // search goes straight back below it.
    auto restart = [&] {
        while (!solution.empty())
            remove(solution.back());
        std::fill(weight.begin(), weight.end(), 1);
        for (std::size_t j = 0; j < cols; ++j)
            score[j] = static_cast<long>(sc.colLines[j].size());
        std::fill(free.begin(), free.end(), 1);
        greedyFill();
    };
    const auto deadline = deadlineAfter(seconds);
    const std::optional<int> target = bestKnownWheelSize(w);
    const std::optional<int> limit = wheelSizeLimit(w);
    long bestCost = LONG_MAX;
    std::vector<std::uint32_t> bestSolution;
    auto bestRows = [&] {
        std::vector<Mask> reps;
        for (std::uint32_t j : bestSolution)
            reps.push_back(sc.rep[j]);
        return pruned(w, pb.expanded(reps));
    };
    auto lastWrite = std::chrono::steady_clock::now();
    auto lastBetter = lastWrite;
    auto write = [&] {
        better(bestRows());
        lastWrite = std::chrono::steady_clock::now();
    };
    std::uint32_t lastAdded = UINT32_MAX;
    for (;; ++step) {
        if (uncovered.empty()) {
            if (cost < bestCost) {
                bestCost = cost;
                bestSolution = solution;
                if (std::getenv("WHEEL_TRACE"))
                    std::fprintf(stderr, "  step %ld: %ld rows\n", step, cost);
                const bool done = (target && cost <= *target) || (stopAtLimit && limit && cost <= *limit);
                if (done || std::chrono::steady_clock::now() - lastWrite > std::chrono::seconds(10))
                    write();
                if (done)
                    return bestRows();
                lastBetter = std::chrono::steady_clock::now();
            }
            remove(cheapest(UINT32_MAX));
            continue;
        }
        if ((step & 255) == 0) {
            const auto now = std::chrono::steady_clock::now();
            if (now > deadline)
                break;
            if (restartSeconds > 0 && now - lastBetter > std::chrono::duration<double>(restartSeconds)) {
                if (std::getenv("WHEEL_TRACE"))
                    std::fprintf(stderr, "  step %ld: restart\n", step);
                restart();
                lastBetter = now;
                continue;
            }
        }
        remove(cheapest(lastAdded));
        const std::uint32_t o = uncovered[rng() % uncovered.size()];
        std::uint32_t pick = UINT32_MAX;
        for (std::uint32_t c : sc.lineCols[o])
            if (free[c] && (pick == UINT32_MAX || score[c] * sc.cost[pick] > score[pick] * sc.cost[c]
                            || (score[c] * sc.cost[pick] == score[pick] * sc.cost[c] && since[c] < since[pick])))
                pick = c;
        if (pick == UINT32_MAX)
            pick = sc.lineCols[o][rng() % sc.lineCols[o].size()];
        add(pick);
        lastAdded = pick;
        while (cost >= bestCost && solution.size() > 1)
            remove(cheapest(lastAdded));
        for (std::uint32_t u : uncovered) {
            ++weight[u];
            for (std::uint32_t c : sc.lineCols[u])
                ++score[c];
        }
    }
    std::vector<Mask> rows = bestRows();
    better(rows);
    return rows;
}

// Writes a set-cover 0-1 program in LP format: minimise the sum of cost[i]
// x<i> so that each line's columns sum to at least one.
template <class Cost, class Column>
void writeCoverProgram(const std::filesystem::path& lp, const std::vector<Cost>& cost,
                       const std::vector<std::vector<Column>>& lineCols)
{
    std::ofstream f(lp);
    f << "Minimize\n obj:";
    for (std::size_t i = 0; i < cost.size(); ++i)
        f << (i % 8 == 7 ? "\n" : "") << " + " << cost[i] << " x" << i;
    f << "\nSubject To\n";
    for (std::size_t l = 0; l < lineCols.size(); ++l) {
        f << " c" << l << ":";
        for (std::size_t n = 0; n < lineCols[l].size(); ++n)
            f << (n % 16 == 15 ? "\n" : "") << " + x" << lineCols[l][n];
        f << " >= 1\n";
    }
    f << "Binary\n";
    for (std::size_t i = 0; i < cost.size(); ++i)
        f << " x" << i << "\n";
    f << "End\n";
}

// Runs cbc on the 0-1 program in lp for at most the given seconds and
// returns the columns (x<i>) its best solution sets.
std::vector<std::size_t> solvedColumns(const std::filesystem::path& lp, const std::filesystem::path& solution,
                                       const std::filesystem::path& log, double seconds, bool report)
{
    std::filesystem::remove(solution);
    // WHEEL_CBC: further options of cbc's own (see the head of this file).
    const char* extra = std::getenv("WHEEL_CBC");
    const std::string command = "cbc '" + lp.string() + "' " + (extra ? std::string(extra) + " " : std::string())
        + "sec " + std::to_string(static_cast<long>(seconds)) + " solve solu '" + solution.string() + "' > '"
        + log.string() + "' 2>&1";
    if (report && std::getenv("WHEEL_TRACE"))
        std::fprintf(stderr, "  %s\n", command.c_str());
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "cbc failed: %s\n", command.c_str());
    // The solution file: a status line, then "index name value cost" for
    // every column that is not zero.
    std::ifstream in(solution);
    std::string line;
    std::getline(in, line);
    if (report)
        std::fprintf(stderr, "  cbc: %s\n", line.c_str());
    std::vector<std::size_t> chosen;
    while (std::getline(in, line)) {
        char name[64] = {};
        double value = 0;
        if (std::sscanf(line.c_str(), "%*s %63s %lf", name, &value) == 2 && name[0] == 'x' && value > 0.5)
            chosen.push_back(std::strtoul(name + 1, nullptr, 10));
    }
    return chosen;
}

// The same choice of whole orbits as a 0-1 program (--ilp, with a group): a
// column for each row orbit, costing its size, and a line for each p-set
// orbit, to be covered at least once. The program is written to DIR as
// K-V-P-T.lp, the solver cbc (Debian's coinor-cbc) works on it for at most S
// seconds, and its best solution (the optimum when it says "Optimal") is the
// wheel. Where the annealing stalls a few orbits short, the solver settles
// the orbit problem of a well-chosen group outright.
std::vector<Mask> integerProgram(const WheelType& w, const std::vector<Permutation>& group,
                                 const std::filesystem::path& dir, double seconds)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep, group);
    const SetCover sc = setCoverOf(pb);
    const std::string stem = std::to_string(w.pick) + "-" + std::to_string(w.numbers) + "-" + std::to_string(w.hit)
        + "-" + std::to_string(w.keep);
    const std::filesystem::path lp = dir / (stem + ".lp");
    const std::filesystem::path solution = dir / (stem + ".sol");
    writeCoverProgram(lp, sc.cost, sc.lineCols);
    if (std::getenv("WHEEL_TRACE"))
        std::fprintf(stderr, "  %zu row orbits, %u p-set orbits\n", sc.rep.size(), pb.orbits);
    std::vector<Mask> chosen;
    for (std::size_t i : solvedColumns(lp, solution, dir / (stem + ".log"), seconds, true))
        if (i < sc.rep.size())
            chosen.push_back(sc.rep[i]);
    if (chosen.empty())
        return {};
    const std::vector<Mask> rows = pruned(w, pb.expanded(chosen));
    return keepsGuarantee(w, rows) ? rows : std::vector<Mask>{};
}

// --lns: large-neighbourhood search from the start wheel (--start), without a
// group. A step takes out a cluster of d rows (those sharing most indexes with
// a random row or with three random indexes, or rows at random) and covers
// again what only they covered, exactly, by cbc over the rows that cover most
// of it (and the rows taken out). It keeps the new rows when they are no more
// than d, so the wheel wanders along its plateau and shrinks whenever a
// neighbourhood needs fewer rows. --cluster D sets the mean d (25),
// --candidates M the rows offered to the solver (3000), --step-seconds the
// solver's time a step (20).
int lnsCluster = 25;
int lnsCandidates = 3000;
double lnsStepSeconds = 20;
// --shake P: at a share P of the steps the rows taken out may not come back,
// and the new cover may have one row more, as long as the wheel stays within
// two rows of the best; this moves the search off a plateau it has worn out.
double lnsShake = 0;

std::vector<Mask> neighbourhoodSearch(const WheelType& w, double seconds, std::uint64_t seed,
                                      const std::filesystem::path& dir,
                                      const std::function<void(const std::vector<Mask>&)>& better)
{
    const Problem pb(w.numbers, w.pick, w.hit, w.keep);
    std::mt19937_64 rng(seed);
    std::vector<Mask> best;
    {
        Cover start(pb);
        addStartRows(start);
        greedy(start, rng);
        best = pruned(w, start.rows);
    }
    Cover c(pb);
    for (Mask r : best)
        c.add(r);
    better(best);
    // The rows meeting a p-set in >= t indexes: (positions in the p-set, positions outside).
    std::vector<std::pair<Mask, Mask>> through;
    for (int j = pb.t; j <= std::min(pb.p, pb.k); ++j)
        for (Mask in : subsetsOfSize(pb.p, j))
            for (Mask out : subsetsOfSize(pb.v - pb.p, pb.k - j))
                through.emplace_back(in, out);
    std::vector<std::int32_t> lineOf(pb.orbits, -1); // p-set -> its line in the step's program, -1 when none
    const std::filesystem::path lp = dir / "lns.lp", solution = dir / "lns.sol", log = dir / "lns.log";
    const auto deadline = deadlineAfter(seconds);
    const std::optional<int> limit = wheelSizeLimit(w);
    std::uniform_real_distribution<double> unit(0, 1);
    for (long step = 1; std::chrono::steady_clock::now() < deadline; ++step) {
        const int d = std::min<int>(static_cast<int>(c.rows.size()),
                                    lnsCluster / 2 + static_cast<int>(rng() % static_cast<std::uint64_t>(lnsCluster + 1)));
        // The cluster: rows by closeness to a centre, ties at random.
        const double mode = unit(rng);
        Mask centre = 0;
        if (mode < 0.6)
            centre = c.rows[rng() % c.rows.size()];
        else if (mode < 0.8)
            while (__builtin_popcount(centre) < 3)
                centre |= 1u << (rng() % static_cast<std::uint64_t>(pb.v));
        std::vector<std::pair<double, std::size_t>> order;
        for (std::size_t i = 0; i < c.rows.size(); ++i)
            order.emplace_back(-__builtin_popcount(c.rows[i] & centre) + unit(rng) * 0.5, i);
        std::partial_sort(order.begin(), order.begin() + d, order.end());
        std::vector<std::size_t> drop;
        for (int i = 0; i < d; ++i)
            drop.push_back(order[static_cast<std::size_t>(i)].second);
        std::sort(drop.rbegin(), drop.rend());
        std::vector<Mask> dropped;
        for (std::size_t i : drop) {
            dropped.push_back(c.rows[i]);
            c.removeAt(i);
        }
        const std::vector<std::uint32_t> lines = c.uncovered;
        for (std::size_t l = 0; l < lines.size(); ++l)
            lineOf[lines[l]] = static_cast<std::int32_t>(l);
        // Candidates: the rows covering most of the uncovered, and the dropped ones.
        std::unordered_map<Mask, int> score;
        for (std::uint32_t line : lines) {
            const Mask u = c.unrank[line];
            const Mask outside = pb.full() & ~u;
            for (const auto& [in, out] : through)
                ++score[deposit(in, u) | deposit(out, outside)];
        }
        std::vector<std::pair<double, Mask>> ranked;
        ranked.reserve(score.size());
        for (const auto& [row, n] : score)
            ranked.emplace_back(-n - unit(rng) * 0.5, row);
        const std::size_t keep = std::min(ranked.size(), static_cast<std::size_t>(lnsCandidates));
        std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(keep), ranked.end());
        std::vector<Mask> cand;
        for (std::size_t i = 0; i < keep; ++i)
            cand.push_back(ranked[i].second);
        const bool shake = unit(rng) < lnsShake && c.rows.size() + dropped.size() + 1 < best.size() + 3;
        if (shake)
            std::erase_if(cand, [&](Mask r) { return std::find(dropped.begin(), dropped.end(), r) != dropped.end(); });
        else
            for (Mask r : dropped)
                if (std::find(cand.begin(), cand.end(), r) == cand.end())
                    cand.push_back(r);
        std::vector<std::vector<std::size_t>> cols(lines.size());
        for (std::size_t i = 0; i < cand.size(); ++i)
            pb.forCovered(cand[i], [&](std::uint32_t r) {
                if (lineOf[r] >= 0 && (cols[static_cast<std::size_t>(lineOf[r])].empty()
                                       || cols[static_cast<std::size_t>(lineOf[r])].back() != i))
                    cols[static_cast<std::size_t>(lineOf[r])].push_back(i);
            });
        // Costs a shade above one, at random, so that equal covers come out differently.
        std::vector<double> cost(cand.size());
        for (double& x : cost)
            x = 1 + unit(rng) * 0.001;
        writeCoverProgram(lp, cost, cols);
        std::vector<Mask> chosen;
        for (std::size_t i : solvedColumns(lp, solution, log, lnsStepSeconds, false))
            if (i < cand.size())
                chosen.push_back(cand[i]);
        for (std::uint32_t line : lines)
            lineOf[line] = -1;
        const std::size_t before = c.rows.size() + dropped.size();
        for (Mask r : chosen.size() <= dropped.size() + (shake ? 1 : 0) && !chosen.empty() ? chosen : dropped)
            c.add(r);
        if (!c.uncovered.empty()) { // the solver's answer does not cover: back to the old rows
            for (std::size_t i = c.rows.size(); i-- > before - dropped.size();)
                c.removeAt(i);
            for (Mask r : dropped)
                c.add(r);
        }
        if (c.rows.size() < best.size()) {
            best = c.rows;
            better(best);
        }
        if (std::getenv("WHEEL_TRACE") && (step % 10 == 0 || c.rows.size() < before))
            std::fprintf(stderr, "  step %ld: cluster %d, %zu uncovered, %zu candidates, %zu rows, best %zu\n", step, d,
                         lines.size(), cand.size(), c.rows.size(), best.size());
        if (stopAtLimit && limit && static_cast<int>(best.size()) <= *limit)
            break;
    }
    std::sort(best.begin(), best.end());
    return best;
}

std::vector<Permutation> parseGenerators(const std::string& text, int v)
{
    std::vector<Permutation> out;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find(';', at), text.size());
        Permutation g(static_cast<std::size_t>(v));
        for (int i = 0; i < v; ++i)
            g[static_cast<std::size_t>(i)] = i;
        std::vector<bool> used(static_cast<std::size_t>(v), false);
        std::vector<int> cycle;
        bool open = false;
        int number = -1;
        for (std::size_t i = at; i < end; ++i) {
            const char c = text[i];
            if (c >= '0' && c <= '9') {
                number = (number < 0 ? 0 : number * 10) + (c - '0');
                continue;
            }
            if (number >= 0) {
                if (!open || number < 1 || number > v || used[static_cast<std::size_t>(number - 1)])
                    return {};
                used[static_cast<std::size_t>(number - 1)] = true;
                cycle.push_back(number - 1);
                number = -1;
            }
            if (c == '(') {
                if (open)
                    return {};
                open = true;
            } else if (c == ')') {
                if (!open)
                    return {};
                for (std::size_t j = 0; j < cycle.size(); ++j)
                    g[static_cast<std::size_t>(cycle[j])] = cycle[(j + 1) % cycle.size()];
                cycle.clear();
                open = false;
            } else if (c != ' ' && c != ',')
                return {};
        }
        if (open || number >= 0)
            return {};
        out.push_back(g);
        at = end + 1;
    }
    return out;
}

int main(int argc, char** argv)
{
    initBinomials();
    std::filesystem::path out;
    double seconds = 5;
    std::uint64_t seed = 20030223;
    bool keepBetter = false;
    int group = 1; // 0: the cyclic shift of all v indexes where the limit allows ten rows an index
    std::string generators; // --gens
    std::optional<WheelType> only;
    std::filesystem::path missingIn;
    std::filesystem::path startFile;
    bool startFromDesign = false;
    const std::map<std::string, bool*> switches{{"--weights", &useWeights},     {"--exhaustive", &exhaustiveSearch}, {"--ilp", &integerProgramSearch}, {"--cover", &setCoverMode}, {"--lns", &neighbourhoodMode},
                                                {"--descend", &descendOnly},    {"--to-limit", &stopAtLimit},
                                                {"--keep-better", &keepBetter}};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--out" && i + 1 < argc)
            out = std::filesystem::u8path(argv[++i]);
        else if (a == "--seconds" && i + 1 < argc)
            seconds = std::stod(argv[++i]);
        else if (a == "--seed" && i + 1 < argc)
            seed = std::stoull(argv[++i]);
        else if (switches.count(a))
            *switches.at(a) = true;
        else if (a == "--sample" && i + 1 < argc)
            sampleMoves = std::stoi(argv[++i]);
        else if (a == "--start" && i + 1 < argc) {
            const std::string start = argv[++i];
            startFromDesign = start == "design";
            if (!startFromDesign)
                startFile = std::filesystem::u8path(start);
        }
        else if (a == "--cluster" && i + 1 < argc)
            lnsCluster = std::max(2, std::stoi(argv[++i]));
        else if (a == "--candidates" && i + 1 < argc)
            lnsCandidates = std::stoi(argv[++i]);
        else if (a == "--shake" && i + 1 < argc)
            lnsShake = std::stod(argv[++i]);
        else if (a == "--step-seconds" && i + 1 < argc)
            lnsStepSeconds = std::stod(argv[++i]);
        else if (a == "--restart" && i + 1 < argc)
            restartSeconds = std::stod(argv[++i]);
        else if (a == "--cool" && i + 1 < argc)
            coolFactor = std::stod(argv[++i]);
        else if (a == "--group" && i + 1 < argc) {
            const std::string g = argv[++i];
            group = g == "auto" ? 0 : std::stoi(g);
        } else if (a == "--gens" && i + 1 < argc)
            generators = argv[++i];
        else if (a == "--missing" && i + 1 < argc)
            missingIn = std::filesystem::u8path(argv[++i]);
        else if (a == "--stage" && i + 1 < argc) {
            const std::filesystem::path lib = std::filesystem::u8path(argv[++i]);
            std::vector<std::filesystem::path> dirs;
            while (i + 1 < argc)
                dirs.push_back(std::filesystem::u8path(argv[++i]));
            return stage(lib, dirs);
        }
        else if (a == "--only" && i + 1 < argc) {
            WheelType w{};
            if (std::sscanf(argv[++i], "%d,%d,%d,%d", &w.pick, &w.numbers, &w.hit, &w.keep) != 4)
                return 2;
            only = w;
        } else {
            std::fprintf(stderr, "usage: zelvor-wheelsearch --out DIR [--seconds S] [--seed X] [--only K,V,P,T] [--keep-better] [--group N|auto] [--gens G] [--cool F] [--missing LIB] [--weights] [--sample S] [--to-limit] [--start FILE] [--descend] [--exhaustive] [--ilp] [--cover] [--restart S] [--lns] [--cluster D] [--candidates M] [--step-seconds S] [--shake P]\n"
                         "       zelvor-wheelsearch --stage LIB DIR...\n");
            return 2;
        }
    }
    if (out.empty())
        return 2;
    const std::vector<Mask> fileRows = startFile.empty() ? std::vector<Mask>{} : readLibraryFile(startFile);
    std::filesystem::create_directories(out);

    std::vector<WheelType> types = wheelLibraryTypes();
    if (only)
        types = {*only};
    if (!missingIn.empty())
        std::erase_if(types, [&](const WheelType& w) {
            const std::filesystem::path file = missingIn / std::filesystem::u8path(fileName(w));
            return std::filesystem::exists(file) && withinLimit(w, readLibraryFile(file).size());
        });
    Library wheels;
    for (const WheelType& w : types) {
        const std::filesystem::path file = out / std::filesystem::u8path(fileName(w));
        // Every better wheel is written at once (a checkpoint for long runs),
        // unless --keep-better finds a smaller one there.
        auto checkpoint = [&](const std::vector<Mask>& rows) {
            if (keepBetter && std::filesystem::exists(file)) {
                const std::vector<Mask> old = readLibraryFile(file);
                if (!old.empty() && old.size() <= rows.size())
                    return;
            }
            writeLibraryFile(file, rows);
            std::fprintf(stderr, "%s rows=%zu (checkpoint)\n", fileName(w).c_str(), rows.size());
        };
        const std::optional<int> limit = wheelSizeLimit(w);
        const int n = group > 0 ? std::min(group, w.numbers) : (limit && *limit >= 10 * w.numbers ? w.numbers : 1);
        std::vector<Permutation> gens;
        if (!generators.empty()) {
            gens = parseGenerators(generators, w.numbers);
            if (gens.empty())
                return 2;
        } else if (n > 1) {
            Permutation shift(static_cast<std::size_t>(w.numbers));
            for (int x = 0; x < w.numbers; ++x)
                shift[static_cast<std::size_t>(x)] = x < n ? (x + 1) % n : x;
            gens.push_back(shift);
        }
        startRows = startFromDesign ? designWheel(w) : fileRows;
        if ((exhaustiveSearch || integerProgramSearch) && gens.empty()) {
            std::fprintf(stderr, "--exhaustive and --ilp need --group or --gens\n");
            return 2;
        }
        if (integerProgramSearch) {
            const std::vector<Mask> rows = integerProgram(w, gens, out, seconds);
            if (!rows.empty())
                checkpoint(rows);
            std::fprintf(stderr, "%s %s\n", fileName(w).c_str(),
                         rows.empty() ? "no solution" : ("rows=" + std::to_string(rows.size())).c_str());
            continue;
        }
        if (neighbourhoodMode) {
            const std::vector<Mask> rows = neighbourhoodSearch(w, seconds, seed, out, checkpoint);
            std::fprintf(stderr, "%s rows=%zu\n", fileName(w).c_str(), rows.size());
            continue;
        }
        if (setCoverMode) {
            std::vector<Mask> rows = setCoverSearch(w, gens, seconds, seed, checkpoint);
            std::fprintf(stderr, "%s rows=%zu\n", fileName(w).c_str(), rows.size());
            continue;
        }
        if (exhaustiveSearch) {
            bool complete = false;
            const std::vector<Mask> rows = exhaustive(w, gens, deadlineAfter(seconds), complete);
            if (!rows.empty())
                checkpoint(rows);
            std::fprintf(stderr, "%s %s\n", fileName(w).c_str(),
                         !rows.empty() ? ("rows=" + std::to_string(rows.size())).c_str() : complete ? "none within the limit" : "time out");
            continue;
        }
        std::vector<Mask> rows = search(w, seconds, seed ^ (static_cast<std::uint64_t>(w.pick) << 24)
                                                        ^ (static_cast<std::uint64_t>(w.numbers) << 16)
                                                        ^ (static_cast<std::uint64_t>(w.hit) << 8) ^ w.keep,
                                        gens, checkpoint);
        if (keepBetter && std::filesystem::exists(file)) {
            std::vector<Mask> old = readLibraryFile(file);
            if (!old.empty() && old.size() < rows.size())
                rows = old;
        }
        wheels[keyOf(w)] = libraryOrder(rows);
        const std::optional<int> b = bestKnownWheelSize(w);
        std::fprintf(stderr, "%s rows=%zu%s\n", fileName(w).c_str(), rows.size(),
                     b ? (" best-known=" + std::to_string(*b)).c_str() : "");
    }
    applyConstructions(wheels);
    for (const auto& [k, rows] : wheels) {
        const auto [pick, v, p, t] = k;
        writeLibraryFile(out / std::filesystem::u8path(fileName({pick, v, p, t})), rows);
    }
    return 0;
}
