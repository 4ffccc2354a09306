#include "common/format.h"

#include <cmath>
#include <cstdio>

namespace zelvor {

std::string two(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", n);
    return buf;
}

std::string seven(long long n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7lld", n);
    return buf;
}

long long roundHalfAway(double v)
{
    return static_cast<long long>(std::llround(v)); // llround rounds halves away from zero
}

std::string roundedText(double v)
{
    return std::to_string(roundHalfAway(v));
}

std::string oneDecimal(double v)
{
    char buf[64];
    // Round half away from zero at one decimal, so 0.25 shows as 0.3 on every platform.
    double scaled = std::round(v * 10.0) / 10.0;
    std::snprintf(buf, sizeof buf, "%.1f", scaled);
    return buf;
}

std::string numbersWithBlanks(std::span<const int> numbers)
{
    std::string s;
    s.reserve(numbers.size() * 3);
    for (int n : numbers) {
        s += two(n);
        s += ' ';
    }
    return s;
}

std::string numbersJoined(std::span<const int> numbers)
{
    std::string s = numbersWithBlanks(numbers);
    if (!s.empty())
        s.pop_back();
    return s;
}

} // namespace zelvor
