#include "data/trend_tables.h"

namespace zelvor {

int VariableTrend::nextValue(int n) const
{
    const int internal = digits ? n + 1 : n;
    if (internal < 1 || internal > numberRange
        || static_cast<int>(settings.permutation.size()) <= numberRange)
        return -1;
    const int t = (settings.permutation[static_cast<std::size_t>(internal)] + drawCount) % numberRange + 1;
    const int rank = snapshotRank[static_cast<std::size_t>(t)];
    return digits ? rank - 1 : rank;
}

int VariableTrend::numberForNextValue(int c) const
{
    const int first = digits ? 0 : 1;
    for (int b = first; b < first + numberRange; ++b)
        if (nextValue(b) == c)
            return b;
    return -1;
}

} // namespace zelvor
