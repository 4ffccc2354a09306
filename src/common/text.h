#pragma once
// Small helpers for reading text files line by line.
#include <string_view>

namespace zelvor {

inline bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// s without the characters of `blanks` at either end.
inline std::string_view trimmedOf(std::string_view s, std::string_view blanks)
{
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

} // namespace zelvor
