// zelvor-cli prize: counts per level against one draw and over the history,
// worked by hand on small histories, and refused files.
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

void importInto(const TempHome& home, const QString& lottery, const QByteArray& draws)
{
    const CliRun r = cli(home, {"import", lottery, home.write("draws.txt", draws)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
}

// 2003001: the first bet 6+1. 2003002: the second 5+1 (3000 元).
// 2003003: the third 4+1 (200 元), the fourth 0+1 (5 元).
const QByteArray kDraws = "2003001 01 02 03 04 05 06 07\n"
                          "2003002 10 11 12 13 14 15 01\n"
                          "2003003 01 02 03 10 11 12 16\n";
const QByteArray kBets = "01 02 03 04 05 06+07\r\n"
                         "0000002    10 11 12 13 14 33+01\r\n"
                         "01,02,03,10,20,21|16\r\n"
                         "20 21 22 23 24 25 16\r\n";

} // namespace

TEST(CliPrize, OneDrawAndTheWholeHistoryByHand)
{
    TempHome home;
    importInto(home, kSsq, kDraws);
    const QString bets = home.write("bets.txt", kBets);

    struct Case {
        QStringList extra;
        QString out;
    } const cases[] = {
        {{}, QStringLiteral("四等奖\t1\t200\n六等奖\t1\t5\nbets=4 cost=8 fixed=205\n")},
        {{"--issue", "2003001"}, QStringLiteral("一等奖\t1\t浮动\nbets=4 cost=8 fixed=0\n")},
        {{"--issue", "2003002"}, QStringLiteral("三等奖\t1\t3000\nbets=4 cost=8 fixed=3000\n")},
        {{"--all"}, QStringLiteral("2003001\t一等奖:1\t0\n"
                                   "2003002\t三等奖:1\t3000\n"
                                   "2003003\t四等奖:1 六等奖:1\t205\n"
                                   "draws=3 bets=4 cost=24 fixed=3205\n")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, QStringList{"prize", kSsq, bets} + c.extra);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.extra.join(' ').toStdString();
    }
}

TEST(CliPrize, RedOnlyLinesAndOtherGames)
{
    TempHome home;
    importInto(home, kSsq, kDraws);
    // Against 2003003 (01 02 03 10 11 12 + 16): six, five and three reds.
    CliRun r = cli(home, {"prize", kSsq, home.write("red.txt", "01 02 03 10 11 12\r\n01 02 03 10 11 33\r\n"
                                                                 "01 02 03 31 32 33\r\n")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("红球中6个\t1\t-\n红球中5个\t1\t-\nbets=3 cost=6 fixed=0\n"));

    importInto(home, QStringLiteral("中国福彩3D"), "2002001 0 7 3\n2002002 2 3 7\n");
    r = cli(home, {"prize", QStringLiteral("中国福彩3D"), home.write("d.txt", "2 3 7\n237\n7 3 2\n"), "--all"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2002002\t直选:2\t2080\ndraws=2 bets=3 cost=12 fixed=2080\n"));

    // Mark Six: all seven drawn numbers on one line are seven bets: leaving
    // out the extra wins 头奖, leaving out any other 5 + extra.
    importInto(home, QStringLiteral("中国香港六合彩"), "2026001 01 02 03 04 05 06 07\n");
    r = cli(home, {"prize", QStringLiteral("中国香港六合彩"), home.write("m.txt", "01 02 03 04 05 06 07\n")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("头奖\t1\t浮动\n二奖\t6\t浮动\nbets=7 cost=14 fixed=0\n"));
}

TEST(CliPrize, RefusedFilesAndOptions)
{
    TempHome home;
    importInto(home, kSsq, kDraws);
    struct Case {
        QByteArray file;
        QString err;
    } const cases[] = {
        {"01 02 03 04 05 06+07\nrubbish\n", QStringLiteral("第2行不是本彩票的投注号码（格式有误）：“rubbish”\n")},
        {"01 02 03 04 05 06+07\n\n1 2 3 4 5 6+7\n",
         QStringLiteral("第3行不是本彩票的投注号码（号码应为两位数）：“1 2 3 4 5 6+7”\n")},
        {"01 02 03 04 05 34+07\n", QStringLiteral("第1行不是本彩票的投注号码（号码超出范围）：“01 02 03 04 05 34+07”\n")},
        {"01 02 03 04 06 06+07\n", QStringLiteral("第1行不是本彩票的投注号码（号码重复）：“01 02 03 04 06 06+07”\n")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, {"prize", kSsq, home.write("bad.txt", c.file), "--all"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err, c.err);
    }
    const QString good = home.write("good.txt", "01 02 03 04 05 06+07\n");
    CliRun r = cli(home, {"prize", kSsq, good, "--issue", "2003009"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("没有第2003009期的开奖号码。\n"));
    EXPECT_EQ(cli(home, {"prize", kSsq, good, "--issue", "2003001", "--all"}).status, 2);
    EXPECT_EQ(cli(home, {"prize", kSsq, good, "--issue", "x"}).status, 2);
    EXPECT_EQ(cli(home, {"prize", kSsq, home.file("missing.txt")}).status, 1);
}

TEST(CliPrize, NewestRealDrawWinsTheFirstPrize)
{
    const QString csv = zelvor::testing::sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "shared draw data not found at " << csv.toStdString();
    TempHome home;
    ASSERT_EQ(cli(home, {"import", kSsq, csv}).status, 0);
    // The newest draw of the file: 2026111, 06 07 14 22 31 32 + 05.
    const QString bets = home.write("b.txt", "06 07 14 22 31 32+05\n");
    CliRun r = cli(home, {"prize", kSsq, bets});
    EXPECT_EQ(r.out, QStringLiteral("一等奖\t1\t浮动\nbets=1 cost=2 fixed=0\n"));
    r = cli(home, {"prize", kSsq, bets, "--all"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("2026111\t一等奖:1\t0\ndraws=3508 bets=1 cost=7016 fixed=")))
        << r.out.right(200).toStdString();
}
