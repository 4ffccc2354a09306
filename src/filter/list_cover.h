#pragma once
// Covering a filtered list: the fewest bets, chosen from the list itself, so
// that every combination of the list shares at least T numbers with one of
// them. Two combinations share T or more numbers exactly when they share a
// T-subset, so the list is indexed by its T-subsets. A lazy greedy cover
// comes first; an improvement phase then drops bets one at a time while
// simulated annealing (swapping a bet for another member of the list) repairs
// the coverage. The result is always a valid cover.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/random.h"
#include "filter/betlist.h"

namespace zelvor {

// A red combination as a set: number n is bit n - 1 (numbers 1..64).
using NumberSet = std::uint64_t;

struct ListCoverProgress {
    std::int64_t bets = 0; // the best valid cover so far
    double elapsedSeconds = 0;
};
// Called now and then during the improvement; false stops it (the best cover
// so far is kept).
using ListCoverReport = std::function<bool(const ListCoverProgress&)>;

struct ListCoverResult {
    std::vector<NumberSet> bets;       // ascending as number tuples
    std::int64_t greedyBets = 0;       // size of the greedy start
    bool stopped = false;              // the improvement was stopped early
};

// combinations: distinct sets of k numbers; keep: T (1..k). seconds: the
// improvement's budget (0: greedy only).
ListCoverResult coverList(const std::vector<NumberSet>& combinations, int keep, double seconds, Random& random,
                          const ListCoverReport& report = {});

// Whether every combination shares at least keep numbers with some bet (a
// direct check over the T-subsets, for tests and for every result).
bool coversList(const std::vector<NumberSet>& combinations, const std::vector<NumberSet>& bets, int keep);

// The numbers of a set, ascending.
std::vector<int> numbersOf(NumberSet set);

// What a loaded bet file gives the cover: its distinct red combinations and
// the blue numbers it holds.
struct CoverInput {
    std::vector<NumberSet> reds;
    std::vector<int> blues; // ascending
};
CoverInput coverInput(const BetFileLoad& load);

// The result as a shown list: each bet with every blue number (ascending), or
// red-only lines when there are no blues; sequence numbers from 1.
void forEachCoverLine(const std::vector<NumberSet>& bets, const std::vector<int>& blues,
                      const std::function<void(std::string_view shownLine)>& fn);

// The guarantee in words: "开奖号码在原号码中时，至少中5个红球".
std::string coverGuaranteeText(int keep);

} // namespace zelvor
