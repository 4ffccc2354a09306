#pragma once
// What the benchmark programs share.
#include <numeric>
#include <utility>
#include <vector>

#include "common/random.h"
#include "data/lottery.h"

namespace zelvor::bench {

// count random two-colour-ball draws (6 of 33, 1 of 16), the same for every
// program and run, issues from 2000001.
inline DrawHistory syntheticDraws(int count = MaxStoredDraws)
{
    Random random(20030223);
    DrawHistory out(6, 1);
    out.reserve(count);
    std::vector<int> all(33);
    for (int d = 0; d < count; ++d) {
        std::iota(all.begin(), all.end(), 1);
        std::vector<int> main;
        for (int j = 0; j < 6; ++j) {
            std::swap(all[j], all[j + random.below(33 - j)]);
            main.push_back(all[j]);
        }
        out.append(2000001 + d, main, std::vector<int>{random.below(16) + 1});
    }
    return out;
}

} // namespace zelvor::bench
