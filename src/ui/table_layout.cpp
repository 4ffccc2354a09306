#include "ui/table_layout.h"

namespace zelvor {

int PageLayout::rowBaseline(int r) const
{
    return (r + 3) * pageHeight / 29;
}

namespace {

PageLayout ruledPage(int width, int height)
{
    PageLayout l;
    l.pageHeight = height;
    l.left = width / 13;
    for (int i = 0; i <= 26; ++i)
        l.rowY.push_back((i + 3) * height / 29 - 120);
    l.columnTop = 3 * height / 29 - 120;
    l.columnBottom = height - 120;
    l.headerY = 3 * height / 30;
    l.footerY = 28 * height / 29 + 130;
    l.titleTop = height / 29 - 50;
    l.titleHeight = height / 29;
    l.headLineX = width / 12;
    l.headLineY = 2 * height / 29 - 20;
    return l;
}

} // namespace

PageLayout tablePageLayout(TableLayout layout, int width, int height)
{
    PageLayout l = ruledPage(width, height);
    const bool seven = layout == TableLayout::SevenColumns;
    const int columns = seven ? 7 : 8;
    for (int i = 0; i <= columns; ++i)
        l.columnX.push_back(seven ? l.left + i * 9 * width / 70 : l.left + (i * 9 * width / 10) / 8);
    l.right = seven ? l.left + 63 * width / 70 : l.left + (72 * width / 10) / 8;
    l.headerOffset = seven ? 100 : 80;
    l.cellOffset = seven ? 220 : 180;
    l.footerX = seven ? 7 * width / 10 + 800 : 8 * width / 10 + 350;
    return l;
}

PageLayout betBlockPageLayout(int width, int height)
{
    PageLayout l = ruledPage(width, height);
    l.right = l.left + 63 * width / 70;
    for (int i = 0; i <= 8; ++i)
        l.columnX.push_back(l.left + i * (l.right - l.left) / 8);
    l.headerOffset = 100;
    l.cellOffset = 100;
    l.footerX = 7 * width / 10 + 800;
    return l;
}

int tablePageCount(int rows) { return (rows + kRowsPerPage - 1) / kRowsPerPage; }

int betBlockPageCount(int bets) { return (bets + 3 * kRowsPerPage - 1) / (3 * kRowsPerPage); }

std::string pageFooter(int pages, int page)
{
    return "共" + std::to_string(pages) + "页\\第" + std::to_string(page) + "页";
}

std::string printDateText(int year, int month, int day)
{
    return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

} // namespace zelvor
