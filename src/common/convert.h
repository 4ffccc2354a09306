#pragma once
// Whole numbers typed into fields or read from files. Every place that needs
// one uses these, so a bad text always gets the same message naming it.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zelvor {

// "“abc”不是有效的整数。"
std::string integerConversionMessage(std::string_view text);

// A decimal integer with an optional sign, blanks allowed around it, within
// the range of int. Anything else (empty, "3,", "1.5", "0x10") is not.
std::optional<int> tryParseInteger(std::string_view text);

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text)
        : std::runtime_error(integerConversionMessage(text)), text_(text) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// tryParseInteger, throwing ConversionError when the text is not a whole number.
int parseInteger(std::string_view text);

} // namespace zelvor
