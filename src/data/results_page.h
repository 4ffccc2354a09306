#pragma once
// The operator's results page of 中国福彩双色球: its draws picked out by byte
// positions, and the dates of new draws counted from the game's draw days.
#include <string>
#include <vector>

namespace zelvor {

inline constexpr int kMaxDownloadedDraws = 1000;
// The path of the results page below the configured address.
inline constexpr const char* kResultsPagePath = "/play_list_game_5.html";

struct PageDraw {
    std::string issue;                // seven digits
    std::vector<std::string> numbers; // two-character texts, page order
    std::string date;                 // filled by datePageDraws
};

// Every draw of the page newer than latestIssue, in page order (newest first).
// An issue line is 49 bytes long once blanks and control bytes are trimmed
// from both ends; of its last 12 bytes the first 7 are digits and the 8th is
// not. The line after it is always its numbers line: of its last 21 bytes
// (after trimming) the first 14 are the numbers as two-character pairs, one
// pair per number column (numberColumns of them, at most 7). At most maxDraws
// draws are taken; an issue already taken from the page is not taken again.
std::vector<PageDraw> parseResultsPage(const std::string& page, long long latestIssue, int numberColumns,
                                       int maxDraws = kMaxDownloadedDraws);

// Days from a draw on the given weekday (0 = Sunday .. 6 = Saturday) to the
// next draw of 中国福彩双色球.
int daysToNextDraw(int weekday);
// The next draw date after `date` (yyyy-M-d, also yyyy-MM-dd or with '/'),
// written yyyy-M-d; empty when `date` is not a valid date.
std::string nextDrawDate(const std::string& date);

// Dates the draws (page order, newest first): the oldest gets the draw day
// after latestDate, each newer one the draw day after that. Throws Error when
// latestDate is not a valid date.
void datePageDraws(std::vector<PageDraw>& draws, const std::string& latestDate);

} // namespace zelvor
