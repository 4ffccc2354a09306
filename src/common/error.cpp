#include "common/error.h"

#include <charconv>

namespace zelvor {

std::string clipped(const std::string& text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Count lead bytes only; continuation bytes are 10xxxxxx.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (chars == maxChars)
            return text.substr(0, i) + "…";
        ++chars;
    }
    return text;
}

std::string integerConversionMessage(const std::string& text)
{
    return "“" + clipped(text) + "”不是有效的整数。";
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
