#pragma once
// Plain counts of two-colour-ball combinations, by nested loops, to check
// the filters against.

namespace zelvor::testing {

// 6-subsets of 1..33 whose sum lies in lo..hi.
inline long long subsetsWithSum(int lo, int hi)
{
    long long n = 0;
    for (int a = 1; a <= 28; ++a)
        for (int b = a + 1; b <= 29; ++b)
            for (int c = b + 1; c <= 30; ++c)
                for (int d = c + 1; d <= 31; ++d)
                    for (int e = d + 1; e <= 32; ++e)
                        for (int f = e + 1; f <= 33; ++f) {
                            const int s = a + b + c + d + e + f;
                            n += s >= lo && s <= hi;
                        }
    return n;
}

} // namespace zelvor::testing
