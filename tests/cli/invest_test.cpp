// zelvor-cli plan and mode: the plan windows' grids and files, and the
// investment mode's grids, run and search on the imported 3D history.
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::sharedData;
using zelvor::testing::TempHome;

namespace {

const QString k3D = QStringLiteral("中国福彩3D");

QStringList outLines(const CliRun& r) { return r.out.split('\n', Qt::SkipEmptyParts); }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Imports the real 3D history; false (the test skips) when it is absent.
bool import3D(const TempHome& home)
{
    if (!QFile::exists(sharedData("fc3d.csv")))
        return false;
    const CliRun r = cli(home, {"import", k3D, sharedData("fc3d.csv")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    return r.status == 0;
}

} // namespace

TEST(CliPlan, GridsMessagesAndFiles)
{
    TempHome home;
    CliRun r = cli(home, {"plan", "fixed"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList l = outLines(r);
    ASSERT_EQ(l.size(), 82);
    EXPECT_EQ(l[0], "投注期号\t投注倍数\t当期投注\t当期总投入\t当期中奖\t当期净利润\t当期利润率(%)");
    EXPECT_EQ(l[62], "62\t2\t32\t1008\t2000\t992\t98");
    EXPECT_EQ(l[80], "80\t2\t32\t1584\t2000\t416\t26");
    EXPECT_EQ(l[81], "平均每期净利润为:551");

    r = cli(home, {"plan", "staged", "--prize", "16"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "所需倍数太大，无法投注！\n");

    // Save, load and save again: the same 565 lines; the loaded fixed plan
    // heads column 0 "投注时间".
    const QString a = home.file("a.txt"), b = home.file("b.txt");
    ASSERT_EQ(cli(home, {"plan", "fixed", "--save", a}).status, 0);
    r = cli(home, {"plan", "fixed", "--load", a, "--save", b});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_TRUE(outLines(r)[0].startsWith("投注时间\t"));
    EXPECT_EQ(outLines(r).last(), "平均每期净利润为:551");
    EXPECT_EQ(fileBytes(a).count("\r\n"), 565);
    EXPECT_EQ(fileBytes(a), fileBytes(b));

    // A bad file names its line and prints nothing else.
    home.write("bad.txt", "0\r\n10\r\n16\r\n1000\r\n2\r\n1\r\n1\r\n");
    r = cli(home, {"plan", "fixed", "--load", home.file("bad.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "计划文件第7行：计划行不完整\n");
}

TEST(CliPlan, VariablePlanAdditionsGoOnAfterARefusal)
{
    TempHome home;
    const CliRun r = cli(home, {"plan", "variable", "--issues", "2", "--bets", "8 600 8 8"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(outLines(r), (QStringList{"投注期号\t投注倍数\t当期注数\t当期投注\t当期总投入\t当期中奖\t当期净利润\t当期利润率(%)",
                                        "1\t1\t8\t16\t16\t1000\t984\t6150", "所需倍数太大，无法投注！",
                                        "2\t1\t8\t16\t32\t1000\t968\t3025", "投资期限已满2天!",
                                        "平均每期净利润为:976"}));
}

TEST(CliMode, GenerationRefusalsAndFiles)
{
    TempHome home;
    CliRun r = cli(home, {"mode", "中国福彩双色球", "run"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "投资模式只适用于3个号码的数字型彩票（中国福彩3D）！\n");
    if (!import3D(home))
        GTEST_SKIP() << "fc3d.csv is absent";

    r = cli(home, {"--seed", "5", "mode", k3D, "bets", "--type", "2", "--random", "90"});
    ASSERT_EQ(r.status, 0);
    QStringList l = outLines(r);
    ASSERT_EQ(l.size(), 91);
    EXPECT_EQ(l[0], "序号\t号码1\t号码2\t号码3");
    EXPECT_EQ(l[1], "1\t0\t0\t1");
    EXPECT_EQ(l[90], "90\t8\t9\t9");

    r = cli(home, {"mode", k3D, "bets", "--type", "2", "--random", "91"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "请请输入1到90的组选3注数！\n");
    r = cli(home, {"mode", k3D, "run"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "请生成号码！\n");
    r = cli(home, {"mode", k3D, "run", "--wait", "51"});
    EXPECT_EQ(r.status, 1);

    // Bets and settings: 13 + 1 + 100 lines; the unchecked interval mode
    // puts 观察间隔数 back at its first item whatever --gap-min said.
    const QString both = home.file("both.txt");
    r = cli(home, {"--seed", "9", "mode", k3D, "hits", "--random", "100", "--gap-min", "7", "--gap-mode", "0",
                   "--save-both", both});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    const QList<QByteArray> lines = fileBytes(both).split('\n');
    ASSERT_EQ(lines.size(), 115); // the last CR LF leaves one empty piece
    EXPECT_EQ(lines[3], "0\r");
    EXPECT_EQ(lines[11], "0\r");
    EXPECT_EQ(lines[13], "100\r");
    l = outLines(r);
    EXPECT_EQ(l[0], "记录期号\t中奖间隔");
    EXPECT_EQ(l.size(), 8730);
    EXPECT_TRUE(r.out.contains("\t●\n"));
}

TEST(CliMode, SearchPrintsEveryRunAndTheChosenRun)
{
    TempHome home;
    if (!import3D(home))
        GTEST_SKIP() << "fc3d.csv is absent";
    QByteArray bets = "0\r\n100\r\n";
    for (int n = 0; n < 100; ++n)
        bets += QByteArray::number(7 * n % 1000).rightJustified(3, '0') + "\r\n";
    const QString file = home.write("bets.txt", bets);

    CliRun r = cli(home, {"mode", k3D, "search", "--all", "--bets", file, "--gap-mode", "0"});
    ASSERT_EQ(r.status, 0) << r.out.toStdString();
    const QStringList l = outLines(r);
    ASSERT_GT(l.size(), 2550 + 3 + 2);
    EXPECT_TRUE(l[0].startsWith("1\t0\t1\t"));
    EXPECT_TRUE(l[2549].startsWith("1\t50\t50\t"));
    EXPECT_TRUE(l[2550].startsWith("观察间隔连续次数："));
    const QString wait = l[2551].section("：", 1), rep = l[2552].section("：", 1);
    EXPECT_TRUE(l[2551].startsWith("中出后间隔期数："));
    EXPECT_TRUE(l[2552].startsWith("连续投入期数："));
    EXPECT_EQ(l[2553], "投注时间\t投注倍数\t当期投注\t当期总投入\t当期中奖\t当期净利润\t当期利润率(%)");
    // The chosen run is the best of the listed runs, and a run with those
    // settings prints the same.
    const QString surplus = l.last().section("：", 1);
    EXPECT_TRUE(l.last().startsWith("总体赢余："));
    long long best = LLONG_MIN;
    for (int i = 0; i < 2550; ++i)
        best = std::max(best, l[i].section('\t', 3).toLongLong());
    EXPECT_EQ(surplus.toLongLong(), best);
    const CliRun again = cli(home, {"mode", k3D, "run", "--bets", file, "--wait", wait, "--rep", rep});
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(outLines(again), l.mid(2553));
}

TEST(CliPlan, PrintsToPdf)
{
    TempHome home;
    const QString pdf = home.file("plan.pdf");
    CliRun r = cli(home, {"plan", "staged", "--issues", "26", "--pdf", pdf, "--date", "2007-3-9"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray bytes = fileBytes(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF"));
    // Pages and the page tree: "/Type /Page" twice besides "/Type /Pages".
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 2);

    r = cli(home, {"plan", "fixed", "--pdf", home.file("no/such/folder/plan.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith("请安装打印机！\n"));
    r = cli(home, {"plan", "variable", "--pdf", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith("请先生成表格！\n"));
}

TEST(CliMode, PrintsBetsAndSettingsToPdf)
{
    TempHome home;
    if (!import3D(home))
        GTEST_SKIP() << "fc3d.csv is absent";
    const QString bets = home.file("bets.pdf"), settings = home.file("settings.pdf");
    CliRun r = cli(home, {"--seed", "4", "mode", k3D, "run", "--random", "100", "--print-bets", bets,
                          "--print-settings", settings, "--date", "2007-3-9"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    auto pages = [](const QByteArray& pdf) { return pdf.count("/Type /Page") - pdf.count("/Type /Pages"); };
    EXPECT_EQ(pages(fileBytes(bets)), 2); // 75 bets a page
    EXPECT_EQ(pages(fileBytes(settings)), 1);
    r = cli(home, {"mode", k3D, "bets", "--print-bets", bets});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith("请先生成表格！\n"));
}
