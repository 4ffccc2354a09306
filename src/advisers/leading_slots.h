#pragma once
// The ranked tables of the advisers are ordered by an exchange sort, largest
// value first: pass a compares slot a with every later slot and swaps when the
// later value is strictly greater. Ties therefore do not keep their starting
// order, and which of several tied items reach the front depends on the swaps.
//
// markLeadingSlots finds the items of the first `slots` slots after that sort
// of value[0..n) (items start in index order) without running the passes:
//  * t is the value of the slots-th largest item; every item above t is in,
//    every item below t is out;
//  * the items >= t, taken alone in index order, move exactly as they do in
//    the whole table (a smaller item never changes their relative order);
//  * among those, a tied item only moves while it stands in the slot of the
//    current pass, and then it goes to the place of the first item above t
//    behind it; the items above t fill the first slots, and the ties standing
//    right behind them take the remaining slots.
// That is O(n) plus a small histogram (or one nth_element), against
// O(slots * n) for the passes.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace zelvor {

// Scratch space for markLeadingSlots, kept between calls.
struct LeadingSlotsScratch {
    std::vector<int> values;
    std::vector<int> items;
    std::vector<char> above;
};

// The value of the slots-th largest of value[0..n), 1 <= slots <= n. Tables
// whose values lie close together (window counts) are counted into a small
// histogram; others go through nth_element.
inline int slotThreshold(const int* value, int n, int slots, LeadingSlotsScratch& x)
{
    int lo = value[0];
    int hi = value[0];
    for (int i = 1; i < n; ++i) {
        lo = std::min(lo, value[i]);
        hi = std::max(hi, value[i]);
    }
    constexpr int kSpan = 512;
    if (static_cast<long long>(hi) - lo < kSpan) {
        int histogram[kSpan];
        const int span = hi - lo + 1;
        std::fill(histogram, histogram + span, 0);
        for (int i = 0; i < n; ++i)
            ++histogram[value[i] - lo];
        int seen = 0;
        int v = span - 1;
        while ((seen += histogram[v]) < slots)
            --v;
        return v + lo;
    }
    x.values.assign(value, value + n);
    std::nth_element(x.values.begin(), x.values.begin() + (slots - 1), x.values.end(), std::greater<int>());
    return x.values[static_cast<std::size_t>(slots - 1)];
}

// The items >= t of value[0..n) in the order the exchange sort's passes leave
// them once every item above t is in front: items[0..above) are the items
// above t (in no particular order), items[above..c) the items equal to t in
// their sorted order. Returns c; *above receives the number above t.
// The passes on a list already made: items[0..c) in index order, isAbove[i]
// for each; `above` of them are above t. Returns c.
inline int orderAtThreshold(int* items, char* isAbove, int c, int above)
{
    // Passes 0 .. above-1 put the items above t in front; a tie standing in
    // the pass's slot trades places with the first item above t behind it.
    if (c > above) {
        int q = 0;
        for (int a = 0; a < above; ++a) {
            if (isAbove[a])
                continue;
            q = std::max(q, a + 1);
            while (!isAbove[q])
                ++q;
            std::swap(items[a], items[q]);
            isAbove[a] = 1;
            isAbove[q] = 0;
            ++q;
        }
    }
    return c;
}

inline int orderAtThreshold(const int* value, int n, int t, int* items, char* isAbove, int* above)
{
    int c = 0;
    int aboveCount = 0;
    for (int i = 0; i < n; ++i) {
        const bool big = value[i] > t;
        items[c] = i;
        isAbove[c] = big;
        c += value[i] >= t;
        aboveCount += big;
    }
    *above = aboveCount;
    return orderAtThreshold(items, isAbove, c, aboveCount);
}

// Sets mark[i] = 1 for every item i in the first `slots` slots; other marks
// are left as they are, so several tables can mark into one set.
inline void markLeadingSlots(const int* value, int n, int slots, char* mark, LeadingSlotsScratch& x)
{
    if (slots <= 0 || n <= 0)
        return;
    if (slots >= n) {
        std::fill(mark, mark + n, 1);
        return;
    }
    if (slots == 1) {
        // One pass leaves the first of the largest values in front. With the
        // index inverted into the low bits the first of them has the largest
        // key, so a plain maximum finds it without a branch.
        if (n <= 256) {
            long long best = static_cast<long long>(value[0]) * 256 + 255;
            for (int i = 1; i < n; ++i)
                best = std::max(best, static_cast<long long>(value[i]) * 256 + (255 - i));
            mark[255 - static_cast<int>(best & 255)] = 1;
            return;
        }
        int best = 0;
        for (int i = 1; i < n; ++i)
            if (value[i] > value[best])
                best = i;
        mark[best] = 1;
        return;
    }
    const int t = slotThreshold(value, n, slots, x);
    if (x.items.size() < static_cast<std::size_t>(n)) {
        x.items.resize(static_cast<std::size_t>(n));
        x.above.resize(static_cast<std::size_t>(n));
    }
    int aboveCount = 0;
    orderAtThreshold(value, n, t, x.items.data(), x.above.data(), &aboveCount);
    // Every item above t stands in front, then the ties in their order.
    for (int a = 0; a < slots; ++a)
        mark[x.items[static_cast<std::size_t>(a)]] = 1;
}

} // namespace zelvor
