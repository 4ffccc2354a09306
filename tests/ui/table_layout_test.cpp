#include <gtest/gtest.h>

#include "ui/table_layout.h"

using namespace zelvor;

namespace {

// A page of 7000 x 2900 units: a 29th of the height is 100.
constexpr int W = 7000, H = 2900;

struct ColumnCase {
    const char* name;
    TableLayout layout;
    std::vector<int> columnX;
    int right, headerOffset, cellOffset, footerX;
};

class TableColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(TableColumns, RulesAndTextsWhereThePlanWindowsPrintThem)
{
    const ColumnCase& c = GetParam();
    const PageLayout l = tablePageLayout(c.layout, W, H);
    EXPECT_EQ(l.left, 538);
    EXPECT_EQ(l.columnX, c.columnX);
    EXPECT_EQ(l.right, c.right);
    EXPECT_EQ(l.headerOffset, c.headerOffset);
    EXPECT_EQ(l.cellOffset, c.cellOffset);
    EXPECT_EQ(l.footerX, c.footerX);
    EXPECT_EQ(l.footerY, 2930);
    EXPECT_EQ(l.headerY, 290);
    EXPECT_EQ(l.columnTop, 180);
    EXPECT_EQ(l.columnBottom, 2780);
    ASSERT_EQ(l.rowY.size(), 27u);
    EXPECT_EQ(l.rowY.front(), 180);
    EXPECT_EQ(l.rowY.back(), 2780);
    EXPECT_EQ(l.rowBaseline(1), 400);
    EXPECT_EQ(l.rowBaseline(25), 2800);
    EXPECT_EQ(l.headLineX, 583);
    EXPECT_EQ(l.headLineY, 180);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TableColumns,
    ::testing::Values(
        // 9W/70 = 900 a column
        ColumnCase{"SevenColumns", TableLayout::SevenColumns, {538, 1438, 2338, 3238, 4138, 5038, 5938, 6838}, 6838, 100, 220, 5700},
        // (i * 9W/10) / 8: 787.5 truncated, and so on
        ColumnCase{"EightColumns", TableLayout::EightColumns, {538, 1325, 2113, 2900, 3688, 4475, 5263, 6050, 6838},
                   6838, 80, 180, 5950}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

TEST(BetBlockLayout, EightEqualColumnsUnderTheSevenColumnWidth)
{
    const PageLayout l = betBlockPageLayout(W, H);
    EXPECT_EQ(l.left, 538);
    EXPECT_EQ(l.right, 6838);
    EXPECT_EQ(l.columnX, (std::vector<int>{538, 1325, 2113, 2900, 3688, 4475, 5263, 6050, 6838}));
    EXPECT_EQ(l.footerX, 5700);
    EXPECT_EQ(l.rowBaseline(3), 600);
}

TEST(PageCounts, TwentyFiveRowsOrSeventyFiveBetsAPage)
{
    const std::vector<std::pair<int, int>> tables{{0, 0}, {1, 1}, {25, 1}, {26, 2}, {50, 2}, {51, 3}};
    for (auto [rows, pages] : tables)
        EXPECT_EQ(tablePageCount(rows), pages) << rows;
    const std::vector<std::pair<int, int>> bets{{0, 0}, {1, 1}, {75, 1}, {76, 2}, {150, 2}, {151, 3}};
    for (auto [n, pages] : bets)
        EXPECT_EQ(betBlockPageCount(n), pages) << n;
}

TEST(PageTexts, FooterAndDateWithoutLeadingZeros)
{
    EXPECT_EQ(pageFooter(3, 2), "共3页\\第2页");
    EXPECT_EQ(printDateText(2007, 3, 9), "2007-3-9");
    EXPECT_EQ(printDateText(2026, 12, 10), "2026-12-10");
}

} // namespace
