#pragma once
// The wheel library the program ships: which wheels there are and how small
// each must be. One table for the search tool that makes the wheels and the
// test that checks them.
#include <optional>
#include <vector>

namespace zelvor {

struct WheelType {
    int pick;    // k
    int numbers; // v
    int hit;     // p (中)
    int keep;    // t (保)
};

// Every shipped wheel: pick types k = 4..7, v = k+1..21, 保 t = max(1, k-3)..k-1,
// 中 p = t..k (558 wheels).
inline std::vector<WheelType> wheelLibraryTypes()
{
    std::vector<WheelType> types;
    for (int k = 4; k <= 7; ++k)
        for (int v = k + 1; v <= 21; ++v)
            for (int t = k - 3 < 1 ? 1 : k - 3; t <= k - 1; ++t)
                for (int p = t; p <= k; ++p)
                    types.push_back({k, v, p, t});
    return types;
}

// The best size known from published tables, where there is one.
inline std::optional<int> bestKnownWheelSize(const WheelType& w)
{
    struct Row {
        int k, p, t, firstV;
        std::vector<int> sizes; // v = firstV, firstV + 1, ...
    };
    static const std::vector<Row> rows = {
        {6, 6, 5, 7, {1, 4, 7, 14, 22, 38, 61, 98, 142, 224, 338, 484, 684, 850, 1130}},
        {6, 6, 4, 7, {1, 1, 3, 3, 5, 6, 10, 14, 19, 25, 33, 42, 54, 66, 80}},
        {6, 6, 3, 7, {1, 1, 1, 2, 2, 2, 2, 4, 4, 5, 7, 10, 11, 14, 16}},
        {6, 5, 4, 7, {1, 3, 3, 7, 10, 14, 22, 33, 44}},
        {6, 5, 5, 7, {6, 12, 30, 50, 100, 132, 245, 371, 578, 808, 1202, 1530, 2167, 2800, 3863}},
        {6, 4, 4, 7, {5, 7, 12, 20, 32, 41, 66, 80, 117, 152, 188, 236, 325, 382, 484}},
        {6, 3, 3, 7, {4, 4, 7, 10, 11, 15, 21, 25, 31, 38, 44, 48, 60, 71, 77}},
        {5, 4, 4, 7, {9, 20, 30, 51, 66, 113, 157, 229, 294, 404, 491, 664, 839, 1063, 1246}},
        {5, 3, 3, 7, {5, 8, 12, 17, 20, 29, 34, 43, 55, 65, 68, 94, 108, 133, 151}},
        {4, 3, 3, 7, {12, 14, 25, 30, 47, 57, 78, 91, 124, 140, 183, 207, 258, 285, 352}},
        {7, 6, 6, 8, {7, 16, 45, 84, 176, 264, 501, 817, 1326, 2048, 3246, 4411, 6537, 8704}},
        {7, 5, 5, 8, {6, 9, 20, 34, 59, 78, 138, 189, 283, 398, 548, 703, 977, 1279}},
        {7, 4, 4, 8, {5, 6, 10, 17, 24, 30, 44, 57, 76, 98, 126, 151, 198, 235}},
    };
    // 选四型 中p保1: exactly ceil((v - p + 1) / 4).
    if (w.pick == 4 && w.keep == 1)
        return (w.numbers - w.hit + 1 + 3) / 4;
    for (const Row& r : rows)
        if (r.k == w.pick && r.p == w.hit && r.t == w.keep) {
            const int i = w.numbers - r.firstV;
            if (i >= 0 && i < static_cast<int>(r.sizes.size()))
                return r.sizes[static_cast<std::size_t>(i)];
        }
    return std::nullopt;
}

// The most rows a shipped wheel may have: b when b <= 20, 1.05 b when b <= 500,
// 1.10 b above (rounded down); nullopt where no size is known.
inline std::optional<int> wheelSizeLimit(const WheelType& w)
{
    const std::optional<int> b = bestKnownWheelSize(w);
    if (!b)
        return std::nullopt;
    if (*b <= 20)
        return *b;
    if (*b <= 500)
        return *b * 105 / 100;
    return *b * 110 / 100;
}

} // namespace zelvor
