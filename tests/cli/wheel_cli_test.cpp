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

TEST(CliCover, CoversABetFileAndCarriesTheBlues)
{
    TempHome home;
    // Every 6-subset of 01..08 with blues 03 and 11: 28 red combinations.
    QByteArray file;
    for (unsigned s = 0; s < 256; ++s)
        if (__builtin_popcount(s) == 6)
            for (const char* blue : {"03", "11"}) {
                QByteArray line;
                for (int n = 0; n < 8; ++n)
                    if (s >> n & 1)
                        line += QString::asprintf("%.2d ", n + 1).toLatin1();
                line.chop(1);
                file += line + "+" + blue + "\r\n";
            }
    home.write("list.txt", file);
    const QString out = home.file("cover.txt");
    CliRun r = cli(home, {"--seed", "5", "cover", QStringLiteral("中国福彩双色球"), home.file("list.txt"), "--keep", "5",
                          "--seconds", "1", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList fields = r.out.trimmed().split(' ');
    ASSERT_EQ(fields.size(), 4);
    const int reds = fields[1].mid(5).toInt();
    EXPECT_EQ(fields[0], QStringLiteral("bets=%1").arg(reds * 2));
    EXPECT_EQ(fields[2], QStringLiteral("blues=2"));
    EXPECT_EQ(fields[3], QStringLiteral("covered=28/28"));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    EXPECT_EQ(lines.size(), reds * 2 + 1); // CR LF each, nothing after the last
    EXPECT_TRUE(lines[0].endsWith("+03\r"));
    EXPECT_TRUE(lines[1].endsWith("+11\r"));
    EXPECT_EQ(lines[0].left(17), lines[1].left(17));

    // A refused file leaves --out untouched.
    home.write("bad.txt", "01 01 02 03 04 05+03\r\n");
    r = cli(home, {"cover", QStringLiteral("中国福彩双色球"), home.file("bad.txt"), "--out", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
    r = cli(home, {"cover", QStringLiteral("中国福彩双色球"), home.file("list.txt"), "--keep", "6", "--out", out});
    EXPECT_EQ(r.status, 2);
}
