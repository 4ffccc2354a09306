// zelvor-cli exclude: runs with given views and statistics of the endless
// exclusion windows, on three hand-made draws of the two-colour-ball game.
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/histories.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

QString identity()
{
    QStringList p;
    for (int x = 1; x <= 33; ++x)
        p << QString::number(x);
    return p.join(' ');
}

class ExcludeCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.write("h.txt", zelvor::testing::kThreeDrawsFile);
        const CliRun r = cli(home, {"import", kSsq, home.file("h.txt")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    CliRun exclude(const QStringList& args) { return cli(home, QStringList{"exclude", kSsq} + args); }
    TempHome home;
};

TEST_F(ExcludeCli, StandardFollowPassWithHandCountedFollowers)
{
    // Draw before the bet {3,9,16,22,30,33}; with h = 1, 3 was last in draw 0
    // (follower draw 1) and 9 in draw 1 (follower draw 2 itself). Fails: the
    // two followers (6 of 6) and the C(22, 6) = 74613 sets missing both.
    const CliRun r = exclude({"follow", "--standard", "--compare", "1", "--upper", "6", "--lower", "0", "--passes",
                              "1", "--out", home.file("f.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "pass 1: W=0 excluded=74615 left=1032953\n过滤结果：1032953注\n");
    QFile f(home.file("f.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readLine(), QByteArray("01 02 03 04 05 06\r\n")); // shares 03 with draw 2
}

TEST_F(ExcludeCli, SumPassWithAGivenViewAtTheFirstDraw)
{
    // b = 0: no records, so the view is the wheel position x mod 33 + 1. View
    // sums <= 27: {1..6} and the 29 sets {33 + five numbers summing <= 21};
    // >= 183: {27..32}. 31 excluded.
    const CliRun r = exclude({"sum", "--at", "2003001", "--upper", "183", "--lower", "27", "--passes", "1", "--perm",
                              identity(), "--window", "1", "--out", home.file("s.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "pass 1: W=1 excluded=31 left=1107537\n过滤结果：1107537注\n");
}

TEST_F(ExcludeCli, RepeatStatisticsTable)
{
    const CliRun r = exclude({"repeat", "--stats", "--span", "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "记录期号\t开奖号码\t理论最小重码数\t理论最大重码数\t理论平均重码数\t实际重码数\n"
                     "2003001\t01 02 03 04 05 06 \t0\t6\t3.0\t\n"
                     "2003002\t07 08 09 10 11 12 \t0\t6\t3.0\t0\n"
                     "2003003\t03 09 16 22 30 33 \t0\t6\t3.0\t1\n"
                     "最大重码个数：1 最小重码个数：0\n");
    const CliRun none = exclude({"repeat", "--stats"});
    EXPECT_TRUE(none.out.endsWith("最大重码个数：- 最小重码个数：-\n")) << none.out.toStdString();
}

TEST_F(ExcludeCli, StopAfterPrintsTheCompletedPassesAndWritesNothing)
{
    const CliRun r = exclude({"repeat", "--passes", "3", "--stop-after", "1", "--perm", identity(), "--window", "2",
                              "--out", home.file("r.txt")});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("pass 1: W=2 excluded="));
    EXPECT_TRUE(lines[1].startsWith("stopped after 1 passes: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" left, nothing written"));
    EXPECT_FALSE(QFile::exists(home.file("r.txt")));
}

TEST_F(ExcludeCli, GivenViewsRepeatExactly)
{
    const QStringList args = {"repeat", "--passes", "2", "--min-repeats", "3", "--perm", identity(), "--window", "3",
                              "--out", home.file("a.txt")};
    const CliRun a = exclude(args);
    const CliRun b = exclude(args);
    ASSERT_EQ(a.status, 0) << a.err.toStdString();
    EXPECT_EQ(a.out, b.out);
    EXPECT_TRUE(a.out.startsWith("pass 1: W=3 excluded=")) << a.out.toStdString();
}

TEST_F(ExcludeCli, WindowRulesAndConversionsExitOne)
{
    struct Case {
        QStringList args;
        QString message;
    };
    const std::vector<Case> cases = {
        {{"repeat", "--target", "1x", "--out", home.file("x.txt")}, "“1x”不是有效的整数。"},
        {{"sum", "--upper", "16 6", "--passes", "1", "--out", home.file("x.txt")}, "“16 6”不是有效的整数。"},
        {{"follow", "--compare", "4", "--passes", "1", "--out", home.file("x.txt")}, "对比号码数只能是1、2或3！"},
        {{"follow", "--stage", "0", "--passes", "1", "--out", home.file("x.txt")}, "阶段统计期数必须大于0！"},
        {{"skew", "--high", "5:0-x", "--passes", "1", "--out", home.file("x.txt")}, "“x”不是有效的整数。"},
    };
    for (const Case& c : cases) {
        const CliRun r = exclude(c.args);
        EXPECT_EQ(r.status, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(home.file("x.txt")));
    }
}

TEST_F(ExcludeCli, UsageMistakesExitTwo)
{
    const QString out = home.file("x.txt");
    const std::vector<QStringList> cases = {
        {"colour", "--passes", "1", "--out", out},
        {"repeat", "--out", out},
        {"repeat", "--passes", "1", "--target", "5", "--out", out},
        {"follow", "--standard", "--target", "5", "--out", out},
        {"skew", "--stats"},
        {"repeat", "--passes", "1", "--perm", "1 2 3", "--window", "1", "--out", out},
        {"repeat", "--passes", "1", "--perm", identity(), "--out", out},
        {"repeat", "--passes", "1", "--perm", identity(), "--window", "4", "--out", out},
        {"repeat", "--passes", "1", "--at", "1999001", "--out", out},
        {"sum", "--span", "3", "--passes", "1", "--out", out},
        {"repeat", "--stats", "--passes", "1"},
    };
    for (const QStringList& c : cases) {
        const CliRun r = exclude(c);
        EXPECT_EQ(r.status, 2) << c.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(ExcludeCli, LoadedBetFileIsTheStartSet)
{
    home.write("bets.txt", "01 02 03 04 05 06\r\n07 08 09 10 11 12\r\n01 02 03 04 05 33\r\n");
    // Standard follow, h = 1: the two followers themselves fail (count 6).
    const CliRun r = exclude({"follow", "--standard", "--compare", "1", "--upper", "6", "--lower", "0", "--passes",
                              "1", "--from", home.file("bets.txt"), "--out", home.file("f.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "pass 1: W=0 excluded=1 left=2\n过滤结果：2注\n");
    QFile f(home.file("f.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("01 02 03 04 05 06\r\n01 02 03 04 05 33\r\n"));

    home.write("bad.txt", "01 02 03 04 05 06\r\n01 02 03 04 05 34\r\n");
    const CliRun bad = exclude({"repeat", "--passes", "1", "--from", home.file("bad.txt"), "--out", home.file("g.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("g.txt")));
}

} // namespace
