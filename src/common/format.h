#pragma once
// Display formats shared by every window, the command line and saved files.
#include <span>
#include <string>

namespace zelvor {

// "%.2d": a drawn number with at least two digits.
std::string two(int n);
// "%.7d": a bet-list sequence number.
std::string seven(long long n);
// "%.0f" with halves rounded away from zero (13.5 -> "14", 12.5 -> "13", -0.5 -> "-1").
std::string roundedText(double v);
// Rounds halves away from zero, as roundedText shows it.
long long roundHalfAway(double v);
// "%.1f" for averages and totals.
std::string oneDecimal(double v);
// Each number "%.2d" followed by one blank ("01 07 12 ").
std::string numbersWithBlanks(std::span<const int> numbers);
// Numbers "%.2d" joined by one blank, no trailing blank ("01 07 12").
std::string numbersJoined(std::span<const int> numbers);

} // namespace zelvor
