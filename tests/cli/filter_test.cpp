// zelvor-cli filter: one total-filter run with the window's rules and messages.
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/histories.h"
#include "support/combinatorics.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::readAll;
using zelvor::testing::CliRun;
using zelvor::testing::subsetsWithSum;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");



using FilterCli = zelvor::testing::ThreeDrawsHome;

TEST_F(FilterCli, SumRangeWithOneBlueWritesTheBetFile)
{
    const CliRun r = cli(home, {"filter", kSsq, "--sum", "90-110", "--blues", "07", "--out", home.file("a.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const long long n = subsetsWithSum(90, 110);
    EXPECT_EQ(r.out, QStringLiteral("过滤结果：%1注\n").arg(n));
    const QByteArray file = readAll(home.file("a.txt"));
    EXPECT_EQ(file.count("\r\n"), n);
    // 01 02 03 needs 84 from three more numbers: 19 32 33 is the first such row.
    EXPECT_TRUE(file.startsWith("01 02 03 19 32 33+07\r\n01 02 03 20 31 33+07\r\n")) << file.left(60).toStdString();
    EXPECT_TRUE(file.endsWith("+07\r\n"));
}

TEST_F(FilterCli, RefusedRunsExitWithTheWindowsMessage)
{
    struct Case {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--blues", "07"}, QStringLiteral("请选择过滤条件！")},
        {{"--sum", "110-90", "--blues", "07"}, QStringLiteral("请前面组合框中的数值应该小于等于后面组合框中的数值！")},
        {{"--sum", "90-110"}, QStringLiteral("请点击你要选择的蓝球！")},
        {{"--reds", "01 02 03", "--blues", "07"}, QStringLiteral("请至少选择6个红球！")},
        {{"--sum", "200-210", "--blues", "07"}, QStringLiteral("没有符合条件的投注号码，请重新选择过滤条件！")},
        // The reversed hit counts are checked even without the banker box.
        {{"--sum", "90-110", "--banker-hits", "3-1", "--blues", "07"},
         QStringLiteral("胆码前面的中奖个数应该小于等于后面的中奖个数！")},
        // Banker numbers joined by a comma alone are one item, not a whole number.
        {{"--banker", "03,07", "--blues", "07"}, QStringLiteral("“03,07”不是有效的整数。")},
        {{"--banker", "", "--blues", "07"}, QStringLiteral("请输入胆码以及最少中奖个数和最多中奖个数！")},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, QStringList{"filter", kSsq} + c.args + QStringList{"--out", home.file("x.txt")});
        EXPECT_EQ(r.status, 1) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.trimmed(), c.message) << c.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(home.file("x.txt")));
    }
}

TEST_F(FilterCli, LoadedFileIsTheStartSetOfTheNextRun)
{
    ASSERT_EQ(cli(home, {"filter", kSsq, "--sum", "90-110", "--blues", "03 07", "--out", home.file("a.txt")}).status, 0);
    // Loaded and written straight back: the same file.
    CliRun r = cli(home, {"filter", kSsq, "--from", home.file("a.txt"), "--out", home.file("b.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("过滤结果：%1注\n").arg(2 * subsetsWithSum(90, 110)));
    EXPECT_EQ(readAll(home.file("a.txt")), readAll(home.file("b.txt")));
    // A further condition narrows the loaded set, still with both blues.
    r = cli(home, {"filter", kSsq, "--from", home.file("a.txt"), "--sum", "100-100", "--out", home.file("c.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("过滤结果：%1注\n").arg(2 * subsetsWithSum(100, 100)));
    // Outside the loaded set nothing is left.
    r = cli(home, {"filter", kSsq, "--from", home.file("a.txt"), "--sum", "50-60", "--out", home.file("d.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("没有符合条件的投注号码，请重新选择过滤条件！"));
}

TEST_F(FilterCli, RealHistoryTypicalRoad)
{
    const QString csv = zelvor::testing::sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "shared draw data not found at " << csv.toStdString();
    TempHome real;
    ASSERT_EQ(cli(real, {"import", kSsq, csv}).status, 0);
    const CliRun r = cli(real, {"filter", kSsq, "--sum", "90-110", "--blues", "07", "--out", real.file("a.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("过滤结果：%1注\n").arg(subsetsWithSum(90, 110)));
}

} // namespace

TEST_F(FilterCli, WriteErrorsNameTheUsersFile)
{
    // A folder that does not exist: neither the list beside it nor the file can be made.
    const QString out = home.file("无此目录/a.txt");
    const CliRun r = cli(home, {"filter", kSsq, "--sum", "90-110", "--blues", "07", "--out", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(out)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(".zelvor-list")) << r.err.toStdString();
}
