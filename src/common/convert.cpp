#include "common/convert.h"

#include <charconv>

namespace zelvor {

std::string integerConversionMessage(std::string_view text)
{
    std::string s = "“";
    s += text;
    s += "”不是有效的整数。";
    return s;
}

std::optional<int> tryParseInteger(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    // from_chars takes a minus sign itself, but not after a plus ("+-1").
    if (text.empty() || ((plus || text.front() != '-') && (text.front() < '0' || text.front() > '9')))
        return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int parseInteger(std::string_view text)
{
    if (auto v = tryParseInteger(text))
        return *v;
    throw ConversionError(text);
}

} // namespace zelvor
