// What the program does with damaged, hostile or impossible stored data and
// history files: it refuses them with a message and writes nothing.
#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/history_import.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/temp_home.h"

using namespace zelvor;
using zelvor::testing::TempHome;

namespace {

const QString SSQ = QStringLiteral("中国福彩双色球");
const QString SSQ_TABLE = QStringLiteral("中国福彩双色球彩票号码表");

QString drawLine(int issue, int i)
{
    // Six distinct reds from 1..33 and a blue from 1..16, varying with i.
    QStringList f{QString::number(issue)};
    for (int j = 0; j < 6; ++j)
        f << QString::number(1 + (i + j * 5) % 33);
    f << QString::number(1 + i % 16);
    return f.join(' ');
}

QByteArray historyText(int firstIssue, int n)
{
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += drawLine(firstIssue + i, i).toUtf8() + "\n";
    return text;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

struct Opened {
    Tdatamod datamod;
    LotteryState state{datamod};
};

int rows(const TempHome& home) { return home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表")); }

} // namespace

TEST(DamagedDatabase, ReadErrorStopsImportExportAndOpenWritingNothing)
{
    TempHome home;
    ImportResult first = importHistoryFile(home.database(), SSQ, home.write("h.txt", historyText(1000000, 5000)));
    ASSERT_EQ(first.imported, 5000);
    // 8 KiB in the middle of the file (inside the draw table's pages) overwritten.
    {
        QFile db(home.database());
        ASSERT_TRUE(db.open(QIODevice::ReadWrite));
        ASSERT_GT(db.size(), 64 * 1024);
        ASSERT_TRUE(db.seek(db.size() / 2));
        ASSERT_EQ(db.write(QByteArray(8192, '\xff')), 8192);
    }
    const QByteArray damaged = fileBytes(home.database());

    // The file again: every issue is stored, so nothing may be appended.
    const QString again = home.write("again.txt", historyText(1000000, 5000) + historyText(2000000, 10));
    const std::string importError = errorOf([&] { importHistoryFile(home.database(), SSQ, again); });
    EXPECT_NE(importError.find("无法读取"), std::string::npos) << importError;
    EXPECT_EQ(fileBytes(home.database()), damaged);

    const std::string exportError = errorOf([&] { exportHistoryFile(home.database(), SSQ, home.file("out.txt")); });
    EXPECT_FALSE(exportError.empty());
    EXPECT_FALSE(QFile::exists(home.file("out.txt")));

    Opened o;
    EXPECT_THROW(o.state.OpenLottery(SSQ, 0, home.database()), Error);
    EXPECT_FALSE(o.state.LotteryOpen());
}

TEST(Export, UnreadableStoredValuesRefuseTheExport)
{
    struct Case {
        const char* what;
        const char* sql;
        const char* mentions;
    } cases[] = {
        {"text in a number column", "update 中国福彩双色球彩票号码表 set \"3\" = 'abc' where 记录期号 = '2003002'", "abc"},
        {"a number beyond 32 bits", "update 中国福彩双色球彩票号码表 set \"3\" = 99999999999 where 记录期号 = '2003002'",
         "99999999999"},
        {"an issue that is no number", "update 中国福彩双色球彩票号码表 set 记录期号 = 'x200300' where 记录期号 = '2003002'",
         "x200300"},
        {"an issue beyond seven digits", "update 中国福彩双色球彩票号码表 set 记录期号 = '12345678' where 记录期号 = '2003002'",
         "12345678"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        importHistoryFile(home.database(), SSQ, home.write("h.txt", historyText(2003001, 3)));
        home.exec({QString::fromUtf8(c.sql)});
        home.write("out.txt", "old\r\n");
        const std::string error = errorOf([&] { exportHistoryFile(home.database(), SSQ, home.file("out.txt")); });
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
        EXPECT_EQ(fileBytes(home.file("out.txt")), QByteArray("old\r\n"));
    }
}

TEST(Export, IssueIsWrittenWithSevenDigitsAndImportsBack)
{
    TempHome home;
    home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('0000123',1,5,12,17,22,33,9,'')")});
    ASSERT_EQ(exportHistoryFile(home.database(), SSQ, home.file("out.txt")), 1);
    EXPECT_EQ(fileBytes(home.file("out.txt")), QByteArray("0000123 01 05 12 17 22 33 09 \r\n"));

    TempHome other;
    const ImportResult r = importHistoryFile(other.database(), SSQ, home.file("out.txt"));
    EXPECT_EQ(r.imported, 1);
    EXPECT_EQ(other.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表 where 记录期号 = '0000123'")), 1);
}

TEST(LotteryOptions, ImpossibleRangesAreRefusedWhenOpened)
{
    struct Case {
        int kind, N, k;
        const char* mentions;
    } cases[] = {
        {0, 0, 6, "号码总数"},          {0, -5, 6, "号码总数"},         {0, 2000000000, 6, "号码总数"},
        {0, 33, 0, "选择号码数"},       {0, 33, -1, "选择号码数"},      {0, 33, 2000000000, "选择号码数"},
        {0, 10, 11, "选择号码数"},      {1, 11, 3, "号码总数"},         {7, 33, 6, "彩票类型"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.N) + "/" + std::to_string(c.k));
        TempHome home;
        home.exec({QStringLiteral("create table 试验彩票号码表(记录期号 varchar(7),\"1\" integer,开奖日期 varchar(10))"),
                   QStringLiteral("create table 试验彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,"
                                  "选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7))"),
                   QStringLiteral("insert into 试验彩票选项表 values('试验',%1,%2,%3,'','1')").arg(c.kind).arg(c.N).arg(c.k)});
        Opened o;
        const std::string error = errorOf([&] { o.state.OpenLottery(QStringLiteral("试验"), c.kind, home.database()); });
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
        EXPECT_FALSE(o.state.LotteryOpen());
        const std::string importError = errorOf(
            [&] { importHistoryFile(home.database(), QStringLiteral("试验"), home.write("h.txt", "2003001 1\n")); });
        EXPECT_NE(importError.find(c.mentions), std::string::npos) << importError;
    }
}

TEST(LotteryNames, OnlyCataloguedNamesReachTheDatabase)
{
    TempHome home;
    importHistoryFile(home.database(), SSQ, home.write("h.txt", historyText(2003001, 3)));
    const QString injected = SSQ_TABLE + QStringLiteral(" where 0 union select name,1,2,3,4,5,6,7,8 from sqlite_master --");
    const std::string error = errorOf([&] { exportHistoryFile(home.database(), injected, home.file("out.txt")); });
    EXPECT_NE(error.find("没有彩票"), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(home.file("out.txt")));
    EXPECT_THROW(importHistoryFile(home.database(), injected, home.file("h.txt")), Error);
    Opened o;
    EXPECT_THROW(o.state.OpenLottery(injected, 0, home.database()), Error);
    EXPECT_EQ(rows(home), 3);

    // A catalogued name with a double quote works: names are quoted as identifiers.
    home.exec({QStringLiteral("create table \"引\"\"号彩票号码表\"(记录期号 varchar(7),\"1\" integer,\"2\" integer,开奖日期 varchar(10))"),
               QStringLiteral("create table \"引\"\"号彩票选项表\"(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,"
                              "选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7))"),
               QStringLiteral("insert into \"引\"\"号彩票选项表\" values('引\"号',0,10,2,'','1')")});
    const QString quoted = QStringLiteral("引\"号");
    EXPECT_EQ(importHistoryFile(home.database(), quoted, home.write("q.txt", "2003001 1 2\n2003002 3 4\n")).imported, 2);
    o.state.OpenLottery(quoted, 0, home.database());
    EXPECT_EQ(o.state.DrawCount(), 2);
    EXPECT_EQ(exportHistoryFile(home.database(), quoted, home.file("q-out.txt")), 2);
}

TEST(Import, SameIssueWithOtherNumbersIsAConflict)
{
    struct Case {
        const char* what;
        QByteArray stored; // imported first
        QByteArray file;
        const char* line;  // "" when accepted
        int imported, skipped;
    } cases[] = {
        {"twice in one file", "", "2003001 1 2 3 4 5 6 7\n2003002 1 2 3 4 5 7 7\n2003001 1 2 3 4 5 6 8\n", "第3行", 0, 0},
        {"against a stored draw", "2003001 1 2 3 4 5 6 7\n", "2003002 4 5 6 7 8 9 1\n2003001 1 2 3 4 5 9 7\n", "第2行", 0, 0},
        {"twice in one file, same numbers", "", "2003001 1 2 3 4 5 6 7\n2003001 01 02 03 04 05 06 07\n", "", 1, 1},
        {"stored with the same numbers", "2003001 1 2 3 4 5 6 7\n", "2003001 1 2 3 4 5 6 7\n2003002 4 5 6 7 8 9 1\n", "", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        if (!c.stored.isEmpty())
            importHistoryFile(home.database(), SSQ, home.write("stored.txt", c.stored));
        const int before = rows(home);
        const QString file = home.write("h.txt", c.file);
        if (*c.line) {
            const std::string error = errorOf([&] { importHistoryFile(home.database(), SSQ, file); });
            EXPECT_NE(error.find(c.line), std::string::npos) << error;
            EXPECT_NE(error.find("2003001"), std::string::npos) << error;
            EXPECT_EQ(rows(home), before);
        } else {
            const ImportResult r = importHistoryFile(home.database(), SSQ, file);
            EXPECT_EQ(r.imported, c.imported);
            EXPECT_EQ(r.skipped, c.skipped);
        }
    }
}

TEST(Import, BeyondTheStoredLimitSaysTheOpenWillTrim)
{
    const std::string note = "打开彩票时只保留最新 20000 期";
    struct Case {
        int draws;
        bool noted;
    } cases[] = {{20000, false}, {20005, true}};
    for (const Case& c : cases) {
        TempHome home;
        const ImportResult r = importHistoryFile(home.database(), SSQ, home.write("h.txt", historyText(1000000, c.draws)));
        EXPECT_EQ(r.imported, c.draws);
        EXPECT_EQ(r.storedRows, c.draws);
        EXPECT_EQ(r.note.find(note) != std::string::npos, c.noted) << r.note;
        EXPECT_EQ(rows(home), c.draws);
    }
}

TEST(DatabaseFile, EmptyFileIsNotADatabase)
{
    TempHome home;
    QFile::resize(home.database(), 0);
    const std::string error = errorOf([&] { LotteryCatalogue(home.database()); });
    EXPECT_NE(error.find("不是数据库文件"), std::string::npos) << error;
    EXPECT_NE(error.find(home.database().toStdString()), std::string::npos) << error;
    EXPECT_EQ(QFile(home.database()).size(), 0);
}

TEST(HistoryText, MessagesNameTheRealProblem)
{
    const LotteryParams ssq = TwoColourBall();
    const std::string huge(10 * 1024 * 1024, '7');
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> mentions;
        std::vector<std::string> never;
    } cases[] = {
        {"a negative number after a date", "2003001 2003-02-23 -5 2 3 4 5 6 7\n", {"第1行", "-5", "超出范围"}, {"日期"}},
        {"a negative number without a date", "2003001 1 2 3 4 5 6 -7\n", {"第1行", "-7", "超出范围"}, {"日期"}},
        {"a 10 MB field", "2003001 1 2 3 4 5 6 x" + huge + "\n", {"第1行", "x7777", "…"}, {}},
        {"a 10 MB issue", huge + " 1 2 3 4 5 6 7\n", {"第1行", "…"}, {}},
        // Bytes that are no UTF-8 still count as characters when cut.
        {"a long field of stray bytes", "2003001" + std::string(5000, '\xa3') + " 1 2 3 4 5 6 7\n", {"第1行", "…"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string error = errorOf([&] { parseHistoryText(c.text, ssq); });
        ASSERT_FALSE(error.empty());
        EXPECT_LT(error.size(), 200u) << error.substr(0, 200);
        for (const std::string& m : c.mentions)
            EXPECT_NE(error.find(m), std::string::npos) << error.substr(0, 200);
        for (const std::string& n : c.never)
            EXPECT_EQ(error.find(n), std::string::npos) << error.substr(0, 200);
    }
}

TEST(HistoryText, EveryLineEndIsALineEnd)
{
    const LotteryParams ssq = TwoColourBall();
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"CR LF", "2003001 1 2 3 4 5 6 7\r\n2003002 4 5 6 7 8 9 1\r\n"},
        {"LF", "2003001 1 2 3 4 5 6 7\n2003002 4 5 6 7 8 9 1\n"},
        {"CR", "2003001 1 2 3 4 5 6 7\r2003002 4 5 6 7 8 9 1\r"},
        {"CR without a last line end", "2003001 1 2 3 4 5 6 7\r2003002 4 5 6 7 8 9 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<ImportedDraw> draws = parseHistoryText(c.text, ssq);
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[1].issue, "2003002");
        EXPECT_EQ(draws[1].line, 2);
    }
    // A CR LF is one line end: the bad line is still counted as line 2.
    const std::string error = errorOf([&] { parseHistoryText("2003001 1 2 3 4 5 6 7\r\n2003002 1 2 3\r\n", ssq); });
    EXPECT_NE(error.find("第2行"), std::string::npos) << error;
}

TEST(Messages, QuotedTextIsCutToFortyCharacters)
{
    struct Case {
        std::string text, shown;
    } cases[] = {
        {"", ""},
        {std::string(40, 'x'), std::string(40, 'x')},
        {std::string(41, 'x'), std::string(40, 'x') + "…"},
        // 41 Chinese characters of three bytes each: cut after the 40th, never inside one.
        {[] { std::string s; for (int i = 0; i < 41; ++i) s += "号"; return s; }(),
         [] { std::string s; for (int i = 0; i < 40; ++i) s += "号"; return s + "…"; }()},
        {std::string(45, '\xa3'), std::string(40, '\xa3') + "…"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clipped(c.text), c.shown) << c.text.size();
}
