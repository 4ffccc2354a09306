#pragma once
// Reading a user's draw-history text file: one draw per line, fields separated
// by blanks, tabs or commas; the first field is the issue, a field written as a
// date is the draw date, the others are the numbers in order. A first line that
// does not start with a number is a header. Every line is checked before
// anything is stored, so a bad file is refused whole.
#include <string>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

struct ImportedDraw {
    std::string issue;           // seven digits, as stored
    std::vector<int> numbers;    // k + m numbers in column order
    std::string date;            // short form yyyy-M-d, empty when the line has none
    int line = 0;                // 1-based line of the file
};

// Lines end CR LF, LF or CR. The same issue twice with different numbers is
// a conflict that refuses the file; twice with the same numbers, the later
// line is kept as a repeat (the import skips it).
// Throws Error naming the line number and the problem.
std::vector<ImportedDraw> parseHistoryText(const std::string& text, const LotteryParams& lottery);

// A history text file read and checked as the import does, as a DrawHistory
// (file order). Throws Error on an unreadable or bad file.
DrawHistory readHistoryFile(const std::string& path, const LotteryParams& lottery);

// "2003-02-23", "2003/2/23" -> "2003-2-23"; empty when the text is not a valid date.
std::string normaliseDate(const std::string& text);

// The history export: every column but the date, each value with a leading 0
// below 10 and one blank after it; lines end CR LF.
std::string exportLine(const std::string& issue, const std::vector<int>& numbers);

// "01 05 12 17 22 33 09" (blanks, tabs or commas between) -> the fields.
std::vector<std::string> splitNumberFields(const std::string& text);

} // namespace zelvor
