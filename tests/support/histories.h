#pragma once
// Small histories shared by the tests.
#include <span>

#include "data/lottery.h"

namespace zelvor::testing {

// The window tests' draws 2003001 ... 2003004 of 中国福彩双色球 in stored
// order: the first three real draws, then 01 07 12 20 25 33 + 05. count
// takes the first ones only.
inline DrawHistory windowDraws(int count = 4)
{
    static const int draws[4][7] = {{10, 11, 12, 13, 26, 28, 11},
                                    {5, 3, 22, 17, 9, 30, 11},
                                    {1, 7, 10, 23, 28, 32, 16},
                                    {1, 7, 12, 20, 25, 33, 5}};
    DrawHistory h(6, 1);
    for (int i = 0; i < count && i < 4; ++i)
        h.append(2003001 + i, std::span<const int>(draws[i], 6), std::span<const int>(draws[i] + 6, 1));
    return h;
}

// The draws of kThreeDrawsFile as a history.
inline DrawHistory threeDraws()
{
    DrawHistory h(6, 1);
    const int draws[3][8] = {{2003001, 1, 2, 3, 4, 5, 6, 7},
                             {2003002, 7, 8, 9, 10, 11, 12, 1},
                             {2003003, 3, 9, 16, 22, 30, 33, 5}};
    for (const auto& d : draws)
        h.append(d[0], std::span<const int>(d + 1, 6), std::span<const int>(d + 7, 1));
    return h;
}

// A three-draw 中国福彩双色球 history file for the import.
inline constexpr const char* kThreeDrawsFile =
    "2003001 1 2 3 4 5 6 7\n2003002 7 8 9 10 11 12 1\n2003003 3 9 16 22 30 33 5\n";

} // namespace zelvor::testing
