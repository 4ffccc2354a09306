// zelvor-cli omission, compound and intersect: the windows' tables, search and
// intersection with their messages.
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>

#include "support/cli_runner.h"
#include "support/histories.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::readAll;
using zelvor::testing::CliRun;
using zelvor::testing::sharedData;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");


using ThreeDraws = zelvor::testing::ThreeDrawsHome;

TEST_F(ThreeDraws, OmissionTables)
{
    struct Case {
        QStringList options;
        int rows;
        int line; // 1 = first row after the header
        QString text;
    } cases[] = {
        {{}, 33, 1, "01\t5.5\t0.5\t1\t2\t2\t0.4\t19%"},
        {{}, 33, 3, "03\t5.5\t0.5\t2\t2\t0\t0.0\t0%"},
        {{}, 33, 7, "07\t5.5\t0.5\t1\t1\t1\t0.2\t9%"},
        {{}, 33, 13, "13\t5.5\t0.5\t0\t0\t0\t0\t0%"},
        {{"--backfill"}, 33, 1, "01\t5.5\t0.5\t1\t2\t0\t0\t0%"},
        {{"--blue"}, 16, 1, "01\t16.0\t0.2\t1\t1\t1\t0.1\t1%"},
        {{"--blue"}, 16, 5, "05\t16.0\t0.2\t1\t0\t0\t0.0\t0%"},
        {{"--sort", "chase"}, 33, 3, "04\t5.5\t0.5\t1\t2\t2\t0.4\t19%"},
        {{"--sort", "wins"}, 33, 1, "13\t5.5\t0.5\t0\t0\t0\t0\t0%"},
        {{"--sort", "omission"}, 33, 1, "01\t5.5\t0.5\t1\t2\t2\t0.4\t19%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const CliRun r = cli(home, QStringList{"omission", kSsq} + c.options);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), c.rows + 1);
        EXPECT_EQ(lines[0], c.options.contains("--backfill")
                                ? QStringLiteral("待选号码\t理论周期\t理论中奖总次数\t实际总奖总次数\t历史最大遗漏\t前次遗漏\t目前冷态倍数\t追号价值")
                                : QStringLiteral("待选号码\t理论周期\t理论中奖总次数\t实际总奖总次数\t历史最大遗漏\t目前遗漏\t目前冷态倍数\t追号价值"));
        EXPECT_EQ(lines[c.line], c.text);
    }
    const CliRun six = cli(home, {"omission", QStringLiteral("中国香港六合彩"), "--blue"});
    EXPECT_EQ(six.status, 1);
    EXPECT_EQ(six.err, QStringLiteral("本彩种没有蓝球，不能分析蓝球！\n"));
    EXPECT_EQ(cli(home, {"omission", kSsq, "--sort", "size"}).status, 2);
}

TEST_F(ThreeDraws, CompoundRefusalsAndViews)
{
    struct Case {
        QStringList options;
        int status;
        QString err;
    } cases[] = {
        {{}, 1, QStringLiteral("遗漏期数不能大于历史期数3！\n")},
        {{"--count", "33", "--no-threshold"}, 1, QStringLiteral("号码个数必须在1到32之间！\n")},
        {{"--count", "0", "--no-threshold"}, 1, QStringLiteral("号码个数必须在1到32之间！\n")},
        {{"--count", "x"}, 1, QStringLiteral("“x”不是有效的整数。\n")},
        {{"--threshold", "2.5"}, 1, QStringLiteral("“2.5”不是有效的整数。\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const CliRun r = cli(home, QStringList{"compound", kSsq} + c.options);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, QString());
    }

    QString identity = "5";
    for (int n = 1; n <= 33; ++n)
        identity += " " + QString::number(n);
    home.write("views.txt", (identity + "\n\n" + identity + "\n").toUtf8());
    home.write("bad.txt", (identity + "\n5 1 2 3\n").toUtf8());
    const CliRun bad = cli(home, {"compound", kSsq, "--no-threshold", "--views", home.file("bad.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("第2行"))) << bad.err.toStdString();
    EXPECT_EQ(bad.out, QString());

    // Two views strike at most two numbers; 31 cannot be reached.
    const CliRun out = cli(home, {"compound", kSsq, "--no-threshold", "--count", "31", "--views", home.file("views.txt")});
    EXPECT_EQ(out.status, 1);
    const QStringList lines = out.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], "stopped");
    // The same view twice names the same column and number: the repeat changes nothing.
    const QStringList first = lines[0].split('\t');
    const QStringList second = lines[1].split('\t');
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first[0], "1");
    EXPECT_EQ(second[0], "2");
    EXPECT_EQ(first.mid(1, 3), second.mid(1, 3));
    EXPECT_EQ(first[4], "32");
    EXPECT_EQ(second[4], "32");
}

TEST(CompoundOnRealDraws, SearchEndsWithTheNumbersNotStruck)
{
    const QString csv = sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "no draw history at " << csv.toStdString();
    TempHome home;
    ASSERT_EQ(cli(home, {"import", kSsq, csv}).status, 0);
    const CliRun r = cli(home, {"--seed", "7", "compound", kSsq, "--threshold", "30"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 6);
    std::set<int> struck;
    const QRegularExpression pass("^(\\d+)\\t(\\d+)\\t(\\d+)\\t(\\d\\d|-)\\t(\\d+)$");
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const auto m = pass.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i + 1);
        if (m.captured(4) == "-") {
            EXPECT_LT(m.captured(3).toInt(), 30);
        } else {
            EXPECT_GE(m.captured(3).toInt(), 30);
            struck.insert(m.captured(4).toInt());
        }
        EXPECT_EQ(m.captured(5).toInt(), 33 - static_cast<int>(struck.size()));
    }
    EXPECT_EQ(struck.size(), 5u);
    QString expected = QStringLiteral("复式号码：");
    for (int n = 1; n <= 33; ++n)
        if (!struck.count(n))
            expected += QString::asprintf("%.2d ", n);
    EXPECT_EQ(lines.last(), expected);
}

TEST_F(ThreeDraws, IntersectWritesTheListAndTheSavedFile)
{
    home.write("a.txt", "01 02 03 04 05 06+01\r\n01 02 03 04 05 07+02\r\n");
    home.write("b.txt", "01 02 03 04 05 07+03\r\n01 02 03 04 05 06\r\n");
    const CliRun r = cli(home, {"intersect", kSsq, "--specials", "all", "--out", home.file("out.txt"),
                                home.file("a.txt"), home.file("b.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("最终交集：2注\n"));
    EXPECT_EQ(readAll(home.file("temp.txt")), "0000001    01 02 03 04 05 06 \r\n0000002    01 02 03 04 05 07 \r\n");
    EXPECT_EQ(readAll(home.file("out.txt")), "0000001    01 02 03 04 05 06  \r\n0000002    01 02 03 04 05 07  \r\n");

    const CliRun typed = cli(home, {"intersect", kSsq, "--typed", "03 11", "--out", home.file("out2.txt"),
                                    home.file("b.txt"), home.file("a.txt")});
    ASSERT_EQ(typed.status, 0) << typed.err.toStdString();
    EXPECT_EQ(typed.out, QStringLiteral("最终交集：4注\n"));
    EXPECT_EQ(readAll(home.file("out2.txt")),
              "0000001    01 02 03 04 05 06+03 \r\n0000002    01 02 03 04 05 06+11 \r\n"
              "0000003    01 02 03 04 05 07+03 \r\n0000004    01 02 03 04 05 07+11 \r\n");
}

TEST_F(ThreeDraws, IntersectRefusalsLeaveEveryFile)
{
    home.write("a.txt", "01 02 03 04 05 06+01\r\n");
    home.write("bad.txt", "01 02 03 04 05 06+01\r\n01 02 03 04 05 44+01\r\n");
    home.write("temp.txt", "old\r\n");
    struct Case {
        QStringList args;
        QString err;
    } cases[] = {
        {{"--tolerance", "0-1", home.file("a.txt")}, QStringLiteral("交集容错")},
        {{"--tolerance", "x-0", home.file("a.txt")}, QStringLiteral("“x”不是有效的整数。")},
        {{"--specials", "typed", home.file("a.txt")}, QStringLiteral("请输入特码！")},
        {{"--typed", "17", home.file("a.txt")}, QStringLiteral("特码必须在1到16之间！")},
        {{home.file("a.txt"), home.file("bad.txt")}, QStringLiteral("bad.txt”第2行")},
        {{home.file("a.txt"), home.file("missing.txt")}, QStringLiteral("missing.txt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = cli(home, QStringList{"intersect", kSsq, "--out", home.file("out.txt")} + c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(home.file("out.txt")));
        EXPECT_EQ(readAll(home.file("temp.txt")), "old\r\n");
    }
}

} // namespace
