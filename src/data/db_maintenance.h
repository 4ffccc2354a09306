#pragma once
// Writing the lottery database outside the history import: one typed draw,
// the results download, and backup and restore of the whole file.
#include <QSqlDatabase>
#include <QString>
#include <string>
#include <vector>

#include "data/draw_entry.h"
#include "data/lottery.h"
#include "data/results_page.h"

namespace zelvor {

// The parameters of a catalogued lottery, with its draw table checked to hold
// exactly k + m number columns. Throws Error otherwise.
LotteryParams catalogueLotteryParams(QSqlDatabase& db, const QString& lottery);

// How many stored rows of the lottery's draw table have this issue.
int storedIssueCount(QSqlDatabase& db, const QString& lottery, const QString& issue);

// Checks a typed draw (checkDrawEntry) and that its issue is not stored yet,
// then appends it. Throws Error naming the field; nothing is stored then.
CheckedDraw addDrawRow(const QString& databaseFile, const QString& lottery, const std::string& issue,
                       const std::vector<std::string>& numberTexts, const std::string& date);

struct DownloadResult {
    std::vector<PageDraw> added; // oldest first, dated
    long long lastIssue = 0;     // the newest stored issue afterwards
};

// Appends the draws of a results page (parseResultsPage) that are newer than
// the newest stored draw of 中国福彩双色球, dated from its date, oldest first,
// in one transaction: all of them or, on any failure, none. An empty draw
// table, an unreadable latest date or a draw whose numbers fail the editor's
// checks throws Error and leaves the database as it was.
DownloadResult applyResultsPage(const QString& databaseFile, const std::string& page);

// A consistent copy of the database file (even while it is open elsewhere),
// written beside the target first and then renamed over it. Throws Error with
// the reason; an existing target is then left as it was.
void backupDatabase(const QString& databaseFile, const QString& target);

// Throws Error unless the file is an SQLite database holding at least one
// lottery, each with its options table and a draw table of the columns
// 记录期号, "1".."n", 开奖日期.
void checkLotteryDatabase(const QString& file);

// The safety copy kept beside the database file before a restore.
QString safetyCopyPath(const QString& databaseFile);

// Checks `source` (checkLotteryDatabase), keeps the current database as the
// safety copy, and puts the source in place through a temporary file in the
// same folder and a rename. Returns the safety copy's path (empty when there
// was no database to keep). A refused or failed restore throws Error and
// leaves the database and the previous safety copy as they were.
QString restoreDatabase(const QString& source, const QString& databaseFile);

} // namespace zelvor
