#include "common/error.h"

#include <charconv>

namespace zelvor {

std::string clipped(const std::string& text, std::size_t maxChars)
{
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (chars == maxChars)
            return text.substr(0, i) + "…";
        // One character: a UTF-8 lead byte with the continuation bytes that
        // follow it, or any other single byte (text need not be valid UTF-8).
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
        std::size_t next = i + 1;
        while (next < i + length && next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        i = next;
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
