#pragma once
// A direct, unoptimised version of the variable trend build, slow on purpose:
// the omission step scans back through the history for every value and the
// rank table is ordered by the plain exchange sort. Used by the tests and the
// benchmark as the yardstick for the fast build; never linked into the program.
#include <algorithm>
#include <vector>

#include "analysis/trend.h"
#include "common/random.h"
#include "data/lottery.h"

namespace zelvor::reference {

// W := random(100) + 1; p(n) := random(N) + 1, drawn again while it repeats an earlier p.
inline VariableSettings drawSettingsDirect(int N, Random& random)
{
    VariableSettings s;
    s.window = random.below(100) + 1;
    s.permutation.assign(static_cast<std::size_t>(N) + 1, 0);
    for (int n = 1; n <= N; ++n) {
        s.permutation[n] = random.below(N) + 1;
        bool repeats = true;
        while (repeats) {
            repeats = false;
            for (int m = 1; m < n; ++m)
                if (s.permutation[m] == s.permutation[n])
                    repeats = true;
            if (repeats)
                s.permutation[n] = random.below(N) + 1;
        }
    }
    return s;
}

inline VariableTrend buildVariableTrendDirect(const LotteryParams& lottery, const DrawHistory& history,
                                               const VariableSettings& settings)
{
    const int N = lottery.numberRange;
    const int k = history.pickCount();
    const int D = history.size();
    const int W = settings.window;
    const int shift = lottery.digitsFromZero() ? 1 : 0;
    const auto& p = settings.permutation;
    auto x = [&](int d, int j) { return history.main(d)[j - 1] + shift; }; // j = 1..k
    auto S = [&](int n, int d) { return ((p[n] + d) % N) + 1; };

    VariableTrend out;
    out.settings = settings;
    out.drawCount = D;
    out.numberRange = N;
    out.digits = shift != 0;
    out.history = DrawHistory(k, 0);

    std::vector<RankEntry> base(static_cast<std::size_t>(N) + 1);
    for (int t = 1; t <= N; ++t)
        base[t] = {t, 0, 0};

    for (int i = 0; i <= D; ++i) {
        for (int j = 1; j <= k; ++j) {
            if (i >= 1)
                base[S(x(i - 1, j), i - 1)].count += 1;
            if (i >= W + 1)
                base[S(x(i - W - 1, j), i - W - 1)].count -= 1;
        }
        for (int t = 1; t <= N; ++t) {
            bool found = false;
            for (int d = i - 1; d >= 0 && !found; --d)
                for (int j = 1; j <= k && !found; ++j)
                    if (S(x(d, j), d) == t) {
                        base[t].omission = i - d;
                        found = true;
                    }
        }
        std::vector<RankEntry> work(base); // slots 1..N
        for (int a = 1; a <= N - 1; ++a)
            for (int b = a + 1; b <= N; ++b)
                if (work[a].omission < work[b].omission
                    || (work[a].omission == work[b].omission && work[a].count > work[b].count))
                    std::swap(work[a], work[b]);
        std::vector<int> rank(static_cast<std::size_t>(N) + 1, 0);
        for (int a = 1; a <= N; ++a)
            rank[work[a].value] = a;

        if (i < D) {
            std::vector<int> cells(static_cast<std::size_t>(k) + 1);
            cells[0] = history.issue(i);
            for (int j = 1; j <= k; ++j)
                cells[j] = rank[S(x(i, j), i)];
            for (int a = 1; a <= k - 1; ++a)
                for (int b = a + 1; b <= k; ++b)
                    if (cells[b] < cells[a])
                        std::swap(cells[a], cells[b]);
            for (int j = 1; j <= k; ++j)
                cells[j] -= shift;
            out.history.append(cells[0], std::span<const int>(cells).subspan(1));
        } else {
            out.snapshot.assign(work.begin() + 1, work.end());
            out.snapshotRank = rank;
        }
    }
    return out;
}

} // namespace zelvor::reference
