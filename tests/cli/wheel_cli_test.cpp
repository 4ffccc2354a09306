// zelvor-cli wheel and wheel-check.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::TempHome;

TEST(CliWheel, GeneratesPrintsAndSaves)
{
    TempHome home;
    QDir(home.path()).mkpath(QStringLiteral("旋转矩阵"));
    home.write(QStringLiteral("旋转矩阵/选五型07码中5保4.txt"), "1 2 3 4 5\r\n3 4 5 6 7\r\n");
    const QString out = home.file("bets.txt");
    CliRun r = cli(home, {"wheel", "--numbers", "9 3 12 1 30 27 5", "--bankers", "16", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("matrix=选五型07码中5保4.txt\n"
                                    "1\t01 03 09 12 16 30\n"
                                    "2\t01 05 12 16 27 30\n"
                                    "save=选六型1胆7拖中6保5投注号码.txt\n"
                                    "投注号码：共2 注\n"));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("01 03 09 12 16 30 \r\n01 05 12 16 27 30 \r\n"));

    // A refusal prints its message and leaves the file as it was.
    r = cli(home, {"wheel", "--numbers", "9 3 12 1 30 27 09", "--bankers", "16", "--out", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("请不要输入重复的号码数字！\n"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly) || f.isOpen());
    f.seek(0);
    EXPECT_EQ(f.readAll(), QByteArray("01 03 09 12 16 30 \r\n01 05 12 16 27 30 \r\n"));
    r = cli(home, {"wheel", "--numbers", "1 2 3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("没有该类型的矩阵！\n"));
}

TEST(CliWheel, ChecksFilesAndFolders)
{
    TempHome home;
    QDir(home.path()).mkpath("lib");
    home.write(QStringLiteral("lib/选三型04码中3保3.txt"), "1 2 3\r\n1 2 4\r\n1 3 4\r\n2 3 4\r\n");
    home.write(QStringLiteral("lib/选三型05码中3保3.txt"), "1 2 3\r\n");
    home.write(QStringLiteral("lib/选三型05码中3保2.txt"), "");
    home.write(QStringLiteral("lib/notes.md"), "not a wheel");
    CliRun r = cli(home, {"wheel-check", home.file("lib")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringLiteral("选三型04码中3保3.txt\trows=4\tok\n"
                                    "选三型05码中3保2.txt\tbad line 1\n"
                                    "选三型05码中3保3.txt\trows=1\tholes=9\tfirst=01 02 04\n"
                                    "checked=3 failed=2\n"));
    r = cli(home, {"wheel-check", home.file(QStringLiteral("lib/选三型04码中3保3.txt"))});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringLiteral("选三型04码中3保3.txt\trows=4\tok\nchecked=1 failed=0\n"));
}
