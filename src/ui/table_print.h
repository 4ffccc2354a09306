#pragma once
// Printing of ruled tables the way the investment windows print them: a
// title in "录书" 18 pt bold italic, centred; a parameter line and the cells
// in "宋体" 10 pt; 25 rows a page under a header band; the footer
// "共" + pages + "页\第" + page + "页".
#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

#include "ui/table_layout.h"

class QPrinter;

namespace zelvor {

struct PrintedTable {
    QString title;
    QString parameterLine;
    QStringList headers;
    std::vector<QStringList> rows;
    TableLayout layout = TableLayout::SevenColumns;
};

// Prints the table; returns the page count, or 0 when the printer failed.
int printTable(QPrinter& printer, const PrintedTable& table);
// A bet list: under the title the head line, then 75 bets a page in three
// blocks of 25 rows headed "序号" and "投注号码". Returns the page count or 0.
int printBetBlocks(QPrinter& printer, const QString& title, const QString& headLine, const QStringList& bets);
// Settings: under the title the head line, then two columns of lines (left
// at a tenth of the width, right at the middle plus a tenth). False on failure.
bool printTwoColumns(QPrinter& printer, const QString& title, const QString& headLine,
                     const std::vector<std::pair<QString, QString>>& lines);

// Today's date as year-month-day without leading zeros (2007-3-9).
QString printDate(const QDate& date = QDate::currentDate());

} // namespace zelvor
