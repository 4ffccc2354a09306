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
