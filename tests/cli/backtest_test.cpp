// zelvor-cli backtest: the recent draws against the total filter's ranges.
#include <gtest/gtest.h>

#include "support/cli_runner.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

// 2003001 01..06, 2003002 07..12, 2003003 03 09 16 22 30 33.
using BacktestCli = zelvor::testing::ThreeDrawsHome;

TEST_F(BacktestCli, PrintsEachDrawTheLossesAndTheEfficiency)
{
    // 2003002: no number of 16..33, 6 from 2003001. 2003003: four of 16..33
    // and 21 from 2003002 (33 to 12). Against the latest draw no number lies
    // more than 4 away, so the skew range keeps every combination and the
    // big range keeps C(15,6) + 18 C(15,5) + C(18,2) C(15,4) + C(18,3) C(15,3)
    // = 639184; 0.5 / (639184 / 1107568) = 0.866.
    const CliRun r = cli(home, {"backtest", kSsq, "--skew", "0-10", "--big", "0-3"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2003002\t07 08 09 10 11 12\t-\n"
                                    "2003003\t03 09 16 22 30 33\tbig,skew\n"
                                    "fail.big=1\n"
                                    "fail.skew=1\n"
                                    "passed=1/2\n"
                                    "kept=639184/1107568\n"
                                    "efficiency=0.87\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(BacktestCli, RecentCountIsCappedAndOneKeepsTheNewest)
{
    struct Case {
        QStringList recent;
        QString out;
    } cases[] = {
        // More draws asked for than have a draw before them: both.
        {{"--recent", "500"}, QStringLiteral("2003002\t07 08 09 10 11 12\tskew\n2003003\t03 09 16 22 30 33\tskew\n"
                                             "fail.skew=2\npassed=0/2\nkept=1107568/1107568\nefficiency=0.00\n")},
        {{"--recent", "all"}, QStringLiteral("2003002\t07 08 09 10 11 12\tskew\n2003003\t03 09 16 22 30 33\tskew\n"
                                             "fail.skew=2\npassed=0/2\nkept=1107568/1107568\nefficiency=0.00\n")},
        {{"--recent", "1"}, QStringLiteral("2003003\t03 09 16 22 30 33\tskew\n"
                                           "fail.skew=1\npassed=0/1\nkept=1107568/1107568\nefficiency=0.00\n")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, QStringList{"backtest", kSsq, "--skew", "0-5"} + c.recent);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.recent.join(' ').toStdString();
    }
}

TEST_F(BacktestCli, RangesTheTotalFilterRefusesAreRefusedWithItsMessages)
{
    struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{}, QStringLiteral("请选择过滤条件！")},
        {{"--recent", "all"}, QStringLiteral("请选择过滤条件！")},
        {{"--sum", "120-50"}, QStringLiteral("请前面组合框中的数值应该小于等于后面组合框中的数值！")},
        {{"--big", "1-2", "--sum", "50-"}, QStringLiteral("请选择组合框中的数值！")},
        {{"--sum", "5x-120"}, QStringLiteral("“5x”不是有效的整数。")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, QStringList{"backtest", kSsq} + c.args);
        EXPECT_EQ(r.status, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.trimmed(), c.message) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
    }
    for (const QStringList& args : {QStringList{"--sum", "50-120", "--recent", "0"},
                                    QStringList{"--sum", "50-120", "--recent", "x"}, QStringList{"--sum", "50"}}) {
        const CliRun r = cli(home, QStringList{"backtest", kSsq} + args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace

namespace {

TEST(BacktestCliMarkSix, WithoutAllCombinationsHeldTheKeptShareIsNotGiven)
{
    // C(49, 7) combinations are more than the program holds: the draws are
    // replayed all the same, the kept share and efficiency are shown as "-".
    zelvor::testing::TempHome home;
    home.write("m.txt", "2020001 1 2 3 4 5 6 7\n2020002 8 9 10 11 12 13 14\n");
    const QString markSix = QStringLiteral("中国香港六合彩");
    ASSERT_EQ(cli(home, {"import", markSix, home.file("m.txt")}).status, 0);
    const CliRun r = cli(home, {"backtest", markSix, "--sum", "80-200"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // 08..14 sums to 77.
    EXPECT_EQ(r.out, QStringLiteral("2020002\t08 09 10 11 12 13 14\tsum\nfail.sum=1\npassed=0/1\nkept=-\nefficiency=-\n"));
}

} // namespace
