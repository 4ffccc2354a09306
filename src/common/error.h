#pragma once
// The program's one error type. Core code throws it for failures a window does
// not handle itself (file, database, conversion); the general error display
// shows its text and only the current action ends.
#include <stdexcept>
#include <string>

namespace zelvor {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text to quote in a message: at most maxChars characters (UTF-8 aware),
// cut ones ending in "…", so a huge field never fills the message.
std::string clipped(const std::string& text, std::size_t maxChars = 40);

// The one wording of the integer-conversion failure, naming the (clipped) text.
std::string integerConversionMessage(const std::string& text);
// Reads a whole decimal number (blanks around it allowed); throws Error with
// integerConversionMessage otherwise.
int parseInteger(const std::string& text);
// Same, without throwing.
bool tryParseInteger(const std::string& text, int& value);

} // namespace zelvor
