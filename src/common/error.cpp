#include "common/error.h"

#include <charconv>

namespace zelvor {

std::string integerConversionMessage(const std::string& text)
{
    return "“" + text + "”不是有效的整数。";
}

bool tryParseInteger(const std::string& text, int& value)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r' || text[e - 1] == '\n'))
        --e;
    if (b == e)
        return false;
    const char* first = text.data() + b;
    if (*first == '+')
        ++first;
    int v = 0;
    auto [ptr, ec] = std::from_chars(first, text.data() + e, v);
    if (ec != std::errc() || ptr != text.data() + e)
        return false;
    value = v;
    return true;
}

int parseInteger(const std::string& text)
{
    int v = 0;
    if (!tryParseInteger(text, v))
        throw Error(integerConversionMessage(text));
    return v;
}

} // namespace zelvor
