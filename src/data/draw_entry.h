#pragma once
// The checks one typed draw passes before it is stored (the draw editor and
// `zelvor-cli add`): the same rules as the history import.
#include <string>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

struct CheckedDraw {
    std::string issue;        // seven digits
    std::vector<int> numbers; // k + m numbers in column order
    std::string date;         // short form yyyy-M-d
};

// issue: seven digits; numberTexts: k + m whole numbers, each inside the
// lottery's range (0..9 for digit lotteries), the main numbers distinct;
// date: a real date. Throws Error naming the field otherwise.
CheckedDraw checkDrawEntry(const std::string& issue, const std::vector<std::string>& numberTexts,
                           const std::string& date, const LotteryParams& lottery);

} // namespace zelvor
