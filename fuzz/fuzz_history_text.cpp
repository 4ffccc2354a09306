// libFuzzer target: the history-file parser. The first byte picks the
// lottery; the rest is the file. A bad file may only be refused with Error,
// and an accepted one must hold draws the history load can take.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "common/error.h"
#include "data/history_import.h"
#include "data/lottery.h"

namespace {

zelvor::LotteryParams lotteryFor(std::uint8_t pick)
{
    switch (pick % 4) {
    case 0: return zelvor::TwoColourBall();
    case 1: return zelvor::MarkSix();
    case 2: return {"中国福彩3D", zelvor::LotteryKind::Digit, 10, 3, 0, 0};
    default: return {"试验", zelvor::LotteryKind::Lotto, 1 + pick / 4 % 99, 1 + pick / 8 % 20, 0, 0};
    }
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const zelvor::LotteryParams lottery = lotteryFor(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<zelvor::ImportedDraw> draws;
    try {
        draws = zelvor::parseHistoryText(text, lottery);
    } catch (const zelvor::Error& e) {
        check(std::string(e.what()).size() < 400); // messages clip what they quote
        return 0;
    }
    const int k = lottery.pickCount;
    const int m = lottery.specialCount;
    const bool digits = lottery.kind == zelvor::LotteryKind::Digit;
    int lastLine = 0;
    for (const zelvor::ImportedDraw& d : draws) {
        check(d.issue.size() == 7);
        for (char c : d.issue)
            check(c >= '0' && c <= '9');
        check(static_cast<int>(d.numbers.size()) == k + m);
        check(d.line > lastLine);
        lastLine = d.line;
        for (int j = 0; j < k + m; ++j) {
            const int v = d.numbers[static_cast<std::size_t>(j)];
            if (digits)
                check(v >= 0 && v < lottery.numberRange);
            else
                check(v >= 1 && v <= (j < k ? lottery.numberRange : lottery.specialRange));
        }
        if (!digits)
            check(std::set<int>(d.numbers.begin(), d.numbers.begin() + k).size() == static_cast<std::size_t>(k));
        check(d.date.empty() || zelvor::normaliseDate(d.date) == d.date);
    }
    return 0;
}
