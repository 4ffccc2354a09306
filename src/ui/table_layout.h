#pragma once
// Where the printed tables put their lines and texts on a page of W x H
// device units: 25 rows a page under a header band, the title and a
// parameter line above, the footer "共" + pages + "页\第" + page + "页".
// Plain C++: the painting itself is in table_print.
#include <string>
#include <vector>

namespace zelvor {

// How the columns are laid out: the plan windows with 7 columns of 9W′/70,
// the variable plan with 8 columns of (9W′/10)/8.
enum class TableLayout { SevenColumns, EightColumns };

struct PageLayout {
    int left = 0, right = 0;       // the ruled area's sides
    std::vector<int> columnX;      // the column rules, left to right
    std::vector<int> rowY;         // the 27 row rules, top to bottom
    int columnTop = 0, columnBottom = 0;
    int headerY = 0;               // the baseline of the header texts
    int headerOffset = 0;          // header text right of its column rule
    int cellOffset = 0;            // cell text right of its column rule
    int footerX = 0, footerY = 0;
    int titleTop = 0, titleHeight = 0;
    int headLineX = 0, headLineY = 0;
    int pageHeight = 0;

    // The baseline of row r (1..25) on its page.
    int rowBaseline(int r) const;
};

inline constexpr int kRowsPerPage = 25;

// A plan table's page.
PageLayout tablePageLayout(TableLayout layout, int width, int height);
// A bet list's page: 8 column rules, three blocks of "序号" and "投注号码".
PageLayout betBlockPageLayout(int width, int height);

// The number of pages a table of `rows` plan rows takes (rounded up).
int tablePageCount(int rows);
// The number of pages a bet list takes at 75 bets a page.
int betBlockPageCount(int bets);
// "共" + pages + "页\第" + page + "页".
std::string pageFooter(int pages, int page);
// A date as year-month-day without leading zeros (2007-3-9).
std::string printDateText(int year, int month, int day);

} // namespace zelvor
