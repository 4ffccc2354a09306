// zelvor-cli advise: the advisers' recommendation and history replay of an
// imported history, worked by hand, and the refusals with their messages.
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::sharedData;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

// Four draws on Sunday, Tuesday, Thursday and Sunday.
const QByteArray kFourDraws = "2003001 2003-02-23 10 11 12 13 26 28 11\r\n"
                              "2003002 2003-02-25 05 03 22 17 09 30 11\r\n"
                              "2003003 2003-02-27 01 07 10 23 28 32 16\r\n"
                              "2003004 2003-03-02 01 07 12 20 25 33 05\r\n";

QString lines(const QStringList& l) { return l.join('\n') + '\n'; }

class CliAdvise : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CliRun r = cli(home, {"import", kSsq, home.write("four.txt", kFourDraws)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    CliRun advise(const QStringList& args) { return cli(home, QStringList{"advise", kSsq} + args); }
    TempHome home;
};

} // namespace

TEST_F(CliAdvise, IntervalReplayByHand)
{
    // P = 1: intervals {1: 6}, order 2 3 4 5 1; the 18 first numbers not in draw 0.
    // P = 2: {1: 6, 2: 6}, order 3 4 5 2 1; the numbers never drawn.
    // P = 3: {1: 6, 2: 8, 3: 4}, order 4 5 3 1 2; the 17 never drawn, then 11.
    const CliRun r = advise({"interval", "--replay"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, lines({"记录期号\t开奖号码\t投注号码\t中奖个数",
                            "2003001\t10 11 12 13 26 28 \t\t0",
                            "2003002\t05 03 22 17 09 30 \t01 02 03 04 05 06 07 08 09 14 15 16 17 18 19 20 21 22 \t5",
                            "2003003\t01 07 10 23 28 32 \t01 02 04 06 07 08 14 15 16 18 19 20 21 23 24 25 27 29 \t3",
                            "2003004\t01 07 12 20 25 33 \t02 04 06 08 14 15 16 18 19 20 21 24 25 27 29 31 33 11 \t3",
                            "最大中奖号码数为5个，最小中奖号码数为3个", "chart=4 first=2003001", "hits=0 0 0 2 0 1 0"}));
}

TEST_F(CliAdvise, RecommendationsByHand)
{
    struct Case {
        QStringList args;
        QStringList expected;
    } cases[] = {
        // The oldest issue: every current interval is 1, the numbers 1 … S.
        {{"interval", "--issue", "2003001", "--count", "5"}, {"2003001期推荐投注号码：01 02 03 04 05 "}},
        // 2003-2-23 is 丁卯.
        {{"stembranch", "--issue", "2003001"},
         {"开奖日期：2003-2-23", "天干：丁", "地支：卯",
          "2003001期推荐投注号码：1 4 5 6 9 10 11 14 15 16 19 20 21 24 25 26 29 30 31 "}},
        {{"stembranch", "--issue", "2003001", "--extra"},
         {"开奖日期：2003-2-23", "天干：丁", "地支：卯", "2003001期推荐投注号码：4 5 9 10 14 15 19 20 24 25 29 30 "}},
        // After a Sunday draw the next is on Tuesday, 2003-3-4: 丙子 (classes 2 and 1).
        {{"stembranch"},
         {"开奖日期：2003-3-4", "天干：丙", "地支：子",
          "2003005期推荐投注号码：3 4 5 8 9 10 13 14 15 18 19 20 23 24 25 28 29 30 33 "}},
        // A date of one's own: 2001-4-30 is 癸亥.
        {{"stembranch", "--date", "2001-4-30", "--extra"},
         {"开奖日期：2001-4-30", "天干：癸", "地支：亥", "2003005期推荐投注号码：1 6 11 16 21 26 31 "}},
    };
    for (const Case& c : cases) {
        const CliRun r = advise(c.args);
        EXPECT_EQ(r.status, 0) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, lines(c.expected)) << c.args.join(' ').toStdString();
    }
}

TEST_F(CliAdvise, RefusalsPrintOneMessage)
{
    struct Case {
        QStringList args;
        int status;
        QString message; // stderr's first line for status 1
    } cases[] = {
        {{"interval", "--draws", "0"}, 1, "间隔期数须为1到20的整数！"},
        {{"interval", "--count", "34"}, 1, "选号个数须为1到33的整数！"},
        {{"interval", "--count", "x"}, 1, "“x”不是有效的整数。"},
        {{"interval", "--issue", "2003006"}, 1, "目前投注期须为历史中的一期或下一期！"},
        {{"intimate", "--stage", "5"}, 1, "阶段次数须为全部期数或1到4的整数！"},
        {{"intimate", "--mode", "position", "--count", "0"}, 1, "各位号码数须为1到33的整数！"},
        {{"intimate", "--count", "40"}, 1, "总体号码数须为1到33的整数！"},
        {{"intimate", "--issue", "2003001"}, 1, "目前投注期之前没有开奖号码！"},
        {{"composite", "--w1", "5"}, 1, "第一步期数须为1到4的整数！"},
        {{"composite", "--w2", "6"}, 1, "第二步期数须为1到5的整数！"},
        {{"stembranch", "--date", "2003-2-30"}, 1, "请输入正确的开奖日期！"},
        {{"horoscope"}, 2, ""},
        {{"interval", "--w1", "3"}, 2, ""},
        {{"intimate", "--mode", "both"}, 2, ""},
    };
    for (const Case& c : cases) {
        const CliRun r = advise(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        if (c.status == 1) {
            EXPECT_EQ(r.err, c.message + '\n') << c.args.join(' ').toStdString();
        }
    }
    // A replay ignores the target and the date.
    EXPECT_EQ(advise({"stembranch", "--replay", "--issue", "x", "--date", "y"}).status, 0);
}

TEST_F(CliAdvise, FewDrawsAndMissingDates)
{
    const CliRun composite = advise({"composite", "--replay"});
    ASSERT_EQ(composite.status, 0) << composite.err.toStdString();
    EXPECT_EQ(composite.out, lines({"记录期号\t开奖号码\t投注号码\t中奖个数", "历史期数不足，无法统计！", "chart=0"}));

    TempHome other;
    ASSERT_EQ(cli(other, {"import", kSsq, other.write("nodate.txt", "2003001 10 11 12 13 26 28 11\r\n")}).status, 0);
    const CliRun replay = cli(other, {"advise", kSsq, "stembranch", "--replay"});
    EXPECT_EQ(replay.status, 1);
    EXPECT_EQ(replay.err, "第2003001期没有正确的开奖日期！\n");
    const CliRun next = cli(other, {"advise", kSsq, "stembranch"});
    EXPECT_EQ(next.status, 1);
    EXPECT_EQ(next.err, "请输入正确的开奖日期！\n");
}

TEST(CliAdviseRealData, EveryAdviserOnEveryLottery)
{
    struct Lottery {
        const char* name;
        const char* file;
        int k;
    } lotteries[] = {{"中国福彩双色球", "ssq.csv", 6}, {"中国福彩3D", "fc3d.csv", 3}, {"中国香港六合彩", "marksix.csv", 7}};
    for (const Lottery& l : lotteries) {
        if (!QFile::exists(sharedData(l.file))) {
            GTEST_SKIP() << "shared draw histories are absent";
        }
        TempHome home;
        const CliRun imported = cli(home, {"import", l.name, sharedData(l.file)});
        ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
        for (const char* adviser : {"interval", "intimate", "composite", "stembranch"}) {
            SCOPED_TRACE(std::string(l.name) + " " + adviser);
            const CliRun r = cli(home, {"advise", l.name, adviser, "--replay"});
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
            const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
            ASSERT_GT(out.size(), 100);
            EXPECT_EQ(out[0], "记录期号\t开奖号码\t投注号码\t中奖个数");
            // Every row: four cells, a hit count of 0..k.
            for (int i = 1; i < out.size() - 3; ++i) {
                const QStringList cells = out[i].split('\t');
                ASSERT_EQ(cells.size(), 4) << out[i].toStdString();
                bool ok = false;
                const int hits = cells[3].toInt(&ok);
                if (!cells[2].isEmpty()) {
                    EXPECT_TRUE(ok && hits >= 0 && hits <= l.k) << out[i].toStdString();
                }
            }
            const CliRun g = cli(home, {"advise", l.name, adviser});
            EXPECT_EQ(g.status, 0) << g.err.toStdString();
            EXPECT_TRUE(g.out.contains("期推荐投注号码：")) << g.out.toStdString();
        }
    }
}
