// zelvor-cli end to end, on a temporary program folder.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::TempHome;



TEST(Cli, ListsTheCatalogueInOrder)
{
    TempHome home;
    const CliRun r = cli(home, {"lotteries"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringLiteral("中国福彩双色球\n中国香港六合彩\n中国福彩3D\n"));
}

TEST(Cli, ImportInfoExportOfTheRealHistory)
{
    const QString csv = zelvor::testing::sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "shared draw data not found at " << csv.toStdString();
    TempHome home;
    CliRun r = cli(home, {"import", QStringLiteral("中国福彩双色球"), csv});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("imported=3508 skipped=0\n"));
    r = cli(home, {"info", QStringLiteral("中国福彩双色球")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const char* line : {"draws=3508\n", "first_issue=2003001\n", "last_issue=2026111\n", "next_issue=2026112\n",
                             "combinations=1107568\n", "N=33\n", "M=16\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line;
    r = cli(home, {"export", QStringLiteral("中国福彩双色球"), home.file("out.txt")});
    ASSERT_EQ(r.status, 0);
    QFile f(home.file("out.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readLine(), QByteArray("2003001 10 11 12 13 26 28 11 \r\n"));
}

TEST(Cli, RefusedImportExitsWithTheMessage)
{
    TempHome home;
    const QString bad = home.write("bad.txt", "2003001 1 2 3 4 5 6 7\n2003002 1 2 3 4 5 6 99\n");
    const CliRun r = cli(home, {"import", QStringLiteral("中国福彩双色球"), bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("第2行"))) << r.err.toStdString();
    EXPECT_EQ(cli(home, {"info", QStringLiteral("中国福彩双色球")}).out.contains("draws=0"), true);
}

TEST(Cli, MissingDatabaseNamesThePath)
{
    TempHome home;
    QFile::remove(home.database());
    const CliRun r = cli(home, {"lotteries"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(home.database()));
}

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

QByteArray smallHistory()
{
    return "2003001 10 11 12 13 26 28 11\n2003002 04 09 19 20 21 26 12\n2003003 01 07 10 23 28 32 16\n"
           "2003004 01 07 12 20 25 33 05\n2003005 03 05 09 14 18 30 08\n2003006 02 08 15 19 24 31 02\n";
}

} // namespace

TEST(Cli, VariableTrendFollowsTheSeedWhereverItStands)
{
    TempHome home;
    ASSERT_EQ(cli(home, {"import", kSsq, home.write("h.txt", smallHistory())}).status, 0);
    const CliRun before = cli(home, {"--seed", "5", "trend", kSsq, "--variable"});
    const CliRun after = cli(home, {"trend", kSsq, "--variable", "--seed", "5"});
    const CliRun again = cli(home, {"trend", kSsq, "--seed", "5", "--variable"});
    const CliRun other = cli(home, {"trend", kSsq, "--variable", "--seed", "6"});
    for (const CliRun* r : {&before, &after, &again, &other}) {
        ASSERT_EQ(r->status, 0) << r->err.toStdString();
        EXPECT_TRUE(r->out.contains(QStringLiteral("\nnext\t")));
    }
    EXPECT_EQ(before.out, after.out);
    EXPECT_EQ(before.out, again.out);
    EXPECT_NE(before.out, other.out);
}

TEST(Cli, CommandLineMistakesExitWithTheCommandsUsage)
{
    TempHome home;
    struct Case {
        QStringList args;
        QString mentions;
    } cases[] = {
        {{"zones", kSsq, "--zones", "x"}, "--zones"},
        {{"zones", kSsq, "--zones", "3", "--zones", "4"}, "--zones"},
        {{"zones", kSsq, "--zone", "3"}, "--zone"},
        {{"trend", kSsq, "--variable", "--window", "x", "--perm", "1"}, "--window"},
        {{"trend", kSsq, "--window", "5"}, "--variable"},
        {{"--seed", "x", "lotteries"}, "--seed"},
        {{"lotteries", "--seed", "-1"}, "--seed"},
        {{"--seed", "1", "lotteries", "--seed", "2"}, "--seed"},
        {{"info"}, "info NAME"},
        {{"info", kSsq, "extra"}, "info NAME"},
        {{"filter", kSsq, "--blues", "07"}, "--out"},
        {{"filter", kSsq, "--blues", "07", "--out"}, "--out"},
        {{"summary", kSsq, "big", "--recent", "1", "--recent", "2"}, "--recent"},
        {{"--bogus", "lotteries"}, "--bogus"},
        {{"nosuchcommand"}, "nosuchcommand"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage: zelvor-cli")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.mentions)) << r.err.toStdString();
        EXPECT_EQ(r.err.count("usage: zelvor-cli"), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Cli, ImpossibleLotteryOptionsEndWithAMessageNotAnAbort)
{
    for (const char* numbers : {"0", "-3", "2000000000"}) {
        TempHome home;
        home.exec({QStringLiteral("create table 坏彩票号码表(记录期号 varchar(7),\"1\" integer,开奖日期 varchar(10))"),
                   QStringLiteral("create table 坏彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,"
                                  "选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7))"),
                   QStringLiteral("insert into 坏彩票选项表 values('坏',0,%1,%1,'','1')").arg(numbers)});
        for (const QString& command : {QStringLiteral("info"), QStringLiteral("trend"), QStringLiteral("metrics")}) {
            const CliRun r = cli(home, {command, QStringLiteral("坏")});
            EXPECT_EQ(r.status, 1) << numbers << " " << command.toStdString() << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QStringLiteral("号码总数"))) << r.err.toStdString();
        }
    }
}

TEST(Cli, NamesOutsideTheCatalogueNeverReachTheDatabase)
{
    TempHome home;
    ASSERT_EQ(cli(home, {"import", kSsq, home.write("h.txt", smallHistory())}).status, 0);
    const QString injected = QStringLiteral("中国福彩双色球彩票号码表 where 0 union select name,1,2,3,4,5,6,7,8 from sqlite_master --");
    const CliRun r = cli(home, {"export", injected, home.file("out.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有彩票"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(home.file("out.txt")));
}

TEST(Cli, ImportBeyondTheStoredLimitIsNotedAndStillDone)
{
    TempHome home;
    QByteArray text;
    for (int i = 0; i < 20001; ++i)
        text += QByteArray::number(1000000 + i) + " 1 2 3 4 5 6 7\n";
    const CliRun r = cli(home, {"import", kSsq, home.write("h.txt", text)});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("imported=20001 skipped=0\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("打开彩票时只保留最新 20000 期"))) << r.err.toStdString();
}

TEST(Cli, EmptyDatabaseFileIsRefused)
{
    TempHome home;
    QFile::resize(home.database(), 0);
    const CliRun r = cli(home, {"lotteries"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("不是数据库文件"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}
