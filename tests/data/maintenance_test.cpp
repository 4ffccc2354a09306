// Typed draws, the results page, and backup and restore of the database file.
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/db_maintenance.h"
#include "data/draw_entry.h"
#include "data/results_page.h"
#include "support/temp_home.h"

using namespace zelvor;
using zelvor::testing::TempHome;

namespace {

const QString SSQ = QStringLiteral("中国福彩双色球");

// A 49-byte issue line: markup, the seven-digit issue, five bytes of markup.
std::string issueLine(const std::string& issue)
{
    std::string head = "<tr><td class=\"kj\">";
    head += std::string(37 - head.size(), 'a');
    return "  " + head + issue + "</td>\t";
}

// A numbers line: the 14 digits, then seven bytes of markup.
std::string numbersLine(const std::string& digits) { return "<td><span class=\"r\">" + digits + "</span>"; }

std::string page(const std::vector<std::pair<std::string, std::string>>& draws)
{
    std::string text = "<html>\r\n<table>\r\n";
    for (const auto& [issue, digits] : draws)
        text += issueLine(issue) + "\r\n" + numbersLine(digits) + "\r\n";
    return text + "</table>\r\n";
}

std::vector<std::string> issues(const std::vector<PageDraw>& draws)
{
    std::vector<std::string> out;
    for (const PageDraw& d : draws)
        out.push_back(d.issue);
    return out;
}

std::string storedRows(const TempHome& home)
{
    ScopedConnection con(home.database());
    QSqlQuery q(con.db());
    q.exec(QStringLiteral("select * from 中国福彩双色球彩票号码表 order by 记录期号"));
    std::string rows;
    while (q.next()) {
        for (int c = 0; c < 9; ++c)
            rows += q.value(c).toString().toStdString() + (c < 8 ? " " : "\n");
    }
    return rows;
}

void storeLatest(const TempHome& home, const QString& issue, const QString& date)
{
    home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('%1',1,2,3,4,5,6,7,'%2')").arg(issue, date)});
}

} // namespace

TEST(DrawEntry, ChecksEveryFieldAndNamesIt)
{
    const LotteryParams ssq = TwoColourBall();
    const LotteryParams digits{"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0};
    struct Case {
        const LotteryParams* lottery;
        const char* issue;
        std::vector<std::string> numbers;
        const char* date;
        const char* errorPart; // nullptr: accepted
    } cases[] = {
        {&ssq, "2026112", {"01", "5", "12", "17", "22", "33", "09"}, "2026-12-10", nullptr},
        {&ssq, "202611", {"1", "2", "3", "4", "5", "6", "7"}, "2026-12-10", "期号“202611”"},
        {&ssq, "20261a2", {"1", "2", "3", "4", "5", "6", "7"}, "2026-12-10", "期号"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "40", "7"}, "2026-12-10", "号码列“6”：号码40超出范围1-33"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "6", "17"}, "2026-12-10", "号码列“7”：号码17超出范围1-16"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "5", "7"}, "2026-12-10", "号码有重复"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "x", "7"}, "2026-12-10", "号码列“6”：“x”不是整数"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "6"}, "2026-12-10", "应有7个号码，实有6个"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "6", "7"}, "2026-2-30", "开奖日期“2026-2-30”"},
        {&ssq, "2026112", {"1", "2", "3", "4", "5", "6", "7"}, "", "开奖日期"},
        {&digits, "2026112", {"0", "0", "9"}, "2026/12/10", nullptr},
        {&digits, "2026112", {"0", "10", "9"}, "2026-12-10", "号码列“2”：号码10超出范围0-9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.issue) + " " + c.date);
        if (!c.errorPart) {
            EXPECT_NO_THROW(checkDrawEntry(c.issue, c.numbers, c.date, *c.lottery));
            continue;
        }
        try {
            checkDrawEntry(c.issue, c.numbers, c.date, *c.lottery);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.errorPart), std::string::npos) << e.what();
        }
    }
    const CheckedDraw d = checkDrawEntry(" 2026112 ", {"01", "5", "12", "17", "22", "33", "09"}, "2026-02-03", ssq);
    EXPECT_EQ(d.issue, "2026112");
    EXPECT_EQ(d.numbers, (std::vector<int>{1, 5, 12, 17, 22, 33, 9}));
    EXPECT_EQ(d.date, "2026-2-3");
}

TEST(ResultsPage, NextDrawDayByWeekday)
{
    // 2026-12-6 is a Sunday.
    const std::pair<const char*, const char*> cases[] = {
        {"2026-12-6", "2026-12-8"},   {"2026-12-7", "2026-12-8"},   {"2026-12-8", "2026-12-10"},
        {"2026-12-9", "2026-12-10"},  {"2026-12-10", "2026-12-13"}, {"2026-12-11", "2026-12-13"},
        {"2026-12-12", "2026-12-13"}, {"2026-12-31", "2027-1-3"},   {"2024/02/29", "2024-3-3"},
        {"2026-13-1", ""},
    };
    for (const auto& [from, to] : cases)
        EXPECT_EQ(nextDrawDate(from), to) << from;
}

TEST(ResultsPage, PicksIssueLinesByBytePositions)
{
    struct Case {
        const char* what;
        std::string page;
        long long latest;
        std::vector<std::string> issues;
    } cases[] = {
        {"newest first, only newer ones",
         page({{"2026103", "01020304050607"}, {"2026102", "11121314151616"}, {"2026101", "21222324252601"},
               {"2026100", "01020304050607"}}),
         2026100,
         {"2026103", "2026102", "2026101"}},
        {"equal newest issue", page({{"2026100", "01020304050607"}}), 2026100, {}},
        {"0-byte page", "", 0, {}},
        {"garbage", std::string("\x00\xff\xfe garbage\r\n\n\r", 14) + std::string(49, 'x'), 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(issues(parseResultsPage(c.page, c.latest, 7)), c.issues) << c.what;

    // 49 bytes whose last 12 begin with eight digits: not an issue line.
    std::string eight = issueLine("2026101");
    eight.replace(eight.find("</td>"), 1, "9");
    EXPECT_TRUE(parseResultsPage(eight + "\n" + numbersLine("01020304050607") + "\n", 0, 7).empty());

    // The line after an issue line is its numbers line even when it looks
    // like an issue line itself.
    const std::string shadow = issueLine("2026101") + "\n" + issueLine("2026102") + "\n";
    const std::vector<PageDraw> d = parseResultsPage(shadow, 0, 7);
    ASSERT_EQ(issues(d), std::vector<std::string>{"2026101"});

    // The numbers are the pairs of the first 14 of the last 21 bytes.
    const std::vector<PageDraw> one = parseResultsPage(page({{"2026101", "01051217223309"}}), 0, 7);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].numbers, (std::vector<std::string>{"01", "05", "12", "17", "22", "33", "09"}));

    // At most maxDraws draws.
    EXPECT_EQ(parseResultsPage(page({{"2026103", "01020304050607"}, {"2026102", "01020304050607"}}), 0, 7, 1).size(),
              1u);
}

TEST(ResultsDownload, ThreeNewDrawsAfterASundayGoInOldestFirst)
{
    TempHome home;
    storeLatest(home, "2026100", "2026-12-6");
    const DownloadResult r = applyResultsPage(
        home.database(), page({{"2026103", "01020304050607"}, {"2026102", "11121314151616"},
                               {"2026101", "21222324252601"}, {"2026100", "01020304050607"}}));
    ASSERT_EQ(r.added.size(), 3u);
    EXPECT_EQ(r.lastIssue, 2026103);
    EXPECT_EQ(storedRows(home), "2026100 1 2 3 4 5 6 7 2026-12-6\n"
                                "2026101 21 22 23 24 25 26 1 2026-12-8\n"
                                "2026102 11 12 13 14 15 16 16 2026-12-10\n"
                                "2026103 1 2 3 4 5 6 7 2026-12-13\n");
    // Inserted oldest first: rowid order is issue order.
    EXPECT_EQ(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表 a, 中国福彩双色球彩票号码表 b "
                                        "where a.rowid < b.rowid and a.记录期号 > b.记录期号")),
              0);
    // The same page again adds nothing.
    EXPECT_TRUE(applyResultsPage(home.database(), page({{"2026103", "01020304050607"}})).added.empty());
}

TEST(ResultsDownload, ABadDrawOrAnEmptyTableLeavesTheDatabaseUnchanged)
{
    TempHome home;
    EXPECT_THROW(applyResultsPage(home.database(), page({{"2026101", "01020304050607"}})), Error);
    storeLatest(home, "2026100", "2026-12-6");
    const std::string before = storedRows(home);
    struct Case {
        const char* what;
        std::string page;
    } cases[] = {
        {"number out of range", page({{"2026102", "01020304050607"}, {"2026101", "01020304054007"}})},
        {"truncated numbers line", page({{"2026102", "01020304050607"}}) + issueLine("2026101") + "\r\n0102\r\n"},
        {"repeated red number", page({{"2026101", "01010304050607"}})},
    };
    for (const Case& c : cases) {
        EXPECT_THROW(applyResultsPage(home.database(), c.page), Error) << c.what;
        EXPECT_EQ(storedRows(home), before) << c.what;
    }
}

TEST(AddDraw, StoresACheckedRowAndRefusesAStoredIssue)
{
    TempHome home;
    addDrawRow(home.database(), SSQ, "2026101", {"1", "5", "12", "17", "22", "33", "9"}, "2026-12-8");
    EXPECT_EQ(storedRows(home), "2026101 1 5 12 17 22 33 9 2026-12-8\n");
    EXPECT_THROW(addDrawRow(home.database(), SSQ, "2026101", {"1", "5", "12", "17", "22", "33", "9"}, "2026-12-8"),
                 Error);
    EXPECT_THROW(addDrawRow(home.database(), SSQ, "2026102", {"1", "5", "12", "17", "22", "40", "9"}, "2026-12-10"),
                 Error);
    EXPECT_EQ(storedRows(home), "2026101 1 5 12 17 22 33 9 2026-12-8\n");
}

TEST(BackupRestore, ARestoredBackupBringsBackThatMomentsDraws)
{
    TempHome home;
    storeLatest(home, "2026100", "2026-12-6");
    const std::string atBackup = storedRows(home);
    {
        // A connection holding the file open does not stop the backup.
        ScopedConnection open(home.database());
        backupDatabase(home.database(), home.file("backup.mdb"));
    }
    storeLatest(home, "2026101", "2026-12-8");
    home.exec({QStringLiteral("delete from 中国福彩双色球彩票号码表 where 记录期号 = '2026100'")});
    const QString safety = restoreDatabase(home.file("backup.mdb"), home.database());
    EXPECT_EQ(safety, home.database() + ".bak");
    EXPECT_EQ(storedRows(home), atBackup);
    EXPECT_TRUE(QFile::exists(safety));
    EXPECT_FALSE(QFile::exists(home.database() + ".part"));
}

TEST(BackupRestore, RefusesFilesThatAreNotLotteryDatabases)
{
    TempHome home;
    storeLatest(home, "2026100", "2026-12-6");
    const QByteArray safetyBefore = "earlier safety copy";
    home.write(QStringLiteral("数据库/彩票数据.mdb.bak"), safetyBefore);
    const std::string before = storedRows(home);

    QFile db(home.database());
    ASSERT_TRUE(db.open(QIODevice::ReadOnly));
    const QByteArray whole = db.readAll();
    db.close();
    home.write("truncated.mdb", whole.left(whole.size() / 2 > 4096 ? 4096 : whole.size() / 2));
    home.write("text.mdb", "2026100 01 02 03 04 05 06 07\r\n");
    home.write("empty.mdb", "");
    createDatabaseFromSchema(home.write("other.sql", "create table 中国福彩双色球彩票号码表(期号 text, a integer);\n"
                                                      "create table 中国福彩双色球彩票选项表(彩票名称 text);\n"),
                             home.file("other.mdb"));
    createDatabaseFromSchema(home.write("none.sql", "create table t(a integer);\n"), home.file("none.mdb"));

    for (const char* name : {"text.mdb", "empty.mdb", "truncated.mdb", "other.mdb", "none.mdb", "missing.mdb"}) {
        EXPECT_THROW(restoreDatabase(home.file(name), home.database()), Error) << name;
        EXPECT_EQ(storedRows(home), before) << name;
        QFile safety(home.database() + ".bak");
        ASSERT_TRUE(safety.open(QIODevice::ReadOnly));
        EXPECT_EQ(safety.readAll(), safetyBefore) << name;
    }
}

TEST(BackupRestore, BackupToAnUnwritableFolderIsReported)
{
    TempHome home;
    EXPECT_THROW(backupDatabase(home.database(), home.file("no/such/folder/backup.mdb")), Error);
    EXPECT_FALSE(QFile::exists(home.file("no/such/folder/backup.mdb")));
}
