// The lottery database and the open-lottery state, on real SQLite files.
#include <QFile>
#include <gtest/gtest.h>

#include "common/error.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/temp_home.h"

using namespace zelvor;
using zelvor::testing::TempHome;

namespace {

const QString SSQ = QStringLiteral("中国福彩双色球");
const QString SIX = QStringLiteral("中国香港六合彩");

// Inserts n draws into the two-colour-ball table with issues from first on.
void insertDraws(const TempHome& home, int first, int n, bool reversed = false)
{
    ScopedConnection con(home.database());
    QSqlQuery q(con.db());
    con.db().transaction();
    q.prepare(QStringLiteral("insert into 中国福彩双色球彩票号码表 values (?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < n; ++i) {
        const int issue = reversed ? first + n - 1 - i : first + i;
        q.bindValue(0, QString::number(issue));
        for (int j = 0; j < 6; ++j)
            q.bindValue(1 + j, 1 + (i + j * 5) % 33);
        q.bindValue(7, 1 + i % 16);
        q.bindValue(8, QStringLiteral("2003-2-23"));
        q.exec();
    }
    con.db().commit();
}

struct Opened {
    Tdatamod datamod;
    LotteryState state{datamod};
};

} // namespace

TEST(Catalogue, ListsDrawTablesOnly)
{
    TempHome home;
    home.exec({QStringLiteral("create table 其他(a integer)"),
               QStringLiteral("create table 只有选项彩票选项表(彩票名称 varchar(20))"),
               QStringLiteral("create table 只有号码彩票号码表(记录期号 varchar(7),\"1\" integer,开奖日期 varchar(10))")});
    const QStringList names = LotteryCatalogue(home.database());
    EXPECT_EQ(names, (QStringList{SSQ, SIX, QStringLiteral("中国福彩3D"), QStringLiteral("只有号码")}));
    // A draw table without its options table is listed, and reading it fails.
    EXPECT_THROW(readLotteryOptions(home.database(), QStringLiteral("只有号码")), Error);
}

TEST(Catalogue, ShippedOptionsRows)
{
    TempHome home;
    struct Case {
        QString name;
        int kind, N, k;
        QString weekdays;
    } cases[] = {{SSQ, 0, 33, 6, "247"}, {SIX, 0, 49, 7, "246"}, {QStringLiteral("中国福彩3D"), 1, 10, 3, "1234567"}};
    for (const Case& c : cases) {
        const LotteryOptions o = readLotteryOptions(home.database(), c.name);
        EXPECT_EQ(o.name, c.name);
        EXPECT_EQ(o.kind, c.kind);
        EXPECT_EQ(o.numberRange, c.N);
        EXPECT_EQ(o.pickCount, c.k);
        EXPECT_EQ(o.weekdays, c.weekdays);
    }
}

TEST(Catalogue, MissingDatabaseFileIsReportedNotCreated)
{
    TempHome home;
    const QString missing = home.file(QStringLiteral("无此文件.mdb"));
    try {
        LotteryCatalogue(missing);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains(missing));
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(OpenLottery, TrimsToTheNewest20000Draws)
{
    struct Case {
        int rows;
        int kept;
        int firstIssue;
    } cases[] = {{20005, 20000, 1000005}, {20000, 20000, 1000000}, {0, 0, 0}};
    for (const Case& c : cases) {
        TempHome home;
        // Stored newest first, so the trim must follow issue order, not row order.
        insertDraws(home, 1000000, c.rows, true);
        Opened o;
        o.state.OpenLottery(SSQ, 0, home.database());
        EXPECT_EQ(o.state.DrawCount(), c.kept);
        EXPECT_EQ(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表")), c.kept);
        if (c.kept > 0) {
            EXPECT_EQ(o.state.DrawHistory().issue(0), c.firstIssue);
            EXPECT_EQ(home.count(QStringLiteral("select min(记录期号) from 中国福彩双色球彩票号码表")), c.firstIssue);
        }
        EXPECT_EQ(o.state.DrawDates().size(), static_cast<std::size_t>(c.kept));
        EXPECT_TRUE(o.state.LotteryOpen());
    }
}

TEST(OpenLottery, KnownLotteriesAlwaysGetAllFourNumbers)
{
    TempHome home;
    Opened o;
    o.state.OpenLottery(SIX, 0, home.database());
    EXPECT_EQ(o.state.CurrentLottery().specialRange, 0);
    EXPECT_EQ(o.state.CurrentLottery().specialCount, 0);
    EXPECT_TRUE(o.state.AllCombinations().empty()); // C(49,7) is not held
    o.state.OpenLottery(SSQ, 0, home.database());
    EXPECT_EQ(o.state.CurrentLottery().numberRange, 33);
    EXPECT_EQ(o.state.CurrentLottery().pickCount, 6);
    EXPECT_EQ(o.state.CurrentLottery().specialRange, 16);
    EXPECT_EQ(o.state.CurrentLottery().specialCount, 1);
    EXPECT_EQ(o.state.AllCombinations().size(), 1107568);
    o.state.OpenLottery(QStringLiteral("中国福彩3D"), 1, home.database());
    EXPECT_EQ(o.state.CurrentLottery().numberRange, 10);
    EXPECT_EQ(o.state.CurrentLottery().pickCount, 3);
    EXPECT_EQ(o.state.CurrentLottery().specialCount, 0);
}

TEST(OpenLottery, UnreadableRowAbandonsTheOpenNamingTheIssue)
{
    TempHome home;
    insertDraws(home, 2003001, 3);
    home.exec({QStringLiteral("update 中国福彩双色球彩票号码表 set \"4\" = 'x' where 记录期号 = '2003002'")});
    Opened o;
    try {
        o.state.OpenLottery(SSQ, 0, home.database());
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains("2003002")) << e.what();
    }
    EXPECT_FALSE(o.state.LotteryOpen());
    EXPECT_FALSE(o.datamod.isOpen());
}

TEST(OpenLottery, UnreadableDateLeavesTheDateEmpty)
{
    TempHome home;
    insertDraws(home, 2003001, 2);
    home.exec({QStringLiteral("update 中国福彩双色球彩票号码表 set 开奖日期 = '星期三' where 记录期号 = '2003001'")});
    Opened o;
    o.state.OpenLottery(SSQ, 0, home.database());
    ASSERT_EQ(o.state.DrawDates().size(), 2u);
    EXPECT_EQ(o.state.DrawDates()[0], "");
    EXPECT_EQ(o.state.DrawDates()[1], "2003-2-23");
}

TEST(CloseLottery, KeepsTheTablesOfTheLastLottery)
{
    TempHome home;
    insertDraws(home, 2003001, 4);
    Opened o;
    o.state.OpenLottery(SSQ, 0, home.database());
    o.state.CloseLottery();
    EXPECT_FALSE(o.state.LotteryOpen());
    EXPECT_FALSE(o.datamod.isOpen());
    EXPECT_EQ(o.state.DrawCount(), 4);
    EXPECT_EQ(o.state.CurrentLottery().numberRange, 33);
}

TEST(Import, GoodFileGoesInOnceAndRepeatsAreSkipped)
{
    TempHome home;
    const QString file = home.write("h.txt",
                                    "issue,date,r1,r2,r3,r4,r5,r6,blue\n"
                                    "2003001,2003-02-23,10,11,12,13,26,28,11\r\n"
                                    "2003002 4 9 19 20 21 26 12\n"
                                    "2003003\t2003/3/2\t1\t7\t10\t23\t28\t32\t16\n");
    ImportResult r = importHistoryFile(home.database(), SSQ, file);
    EXPECT_EQ(r.imported, 3);
    EXPECT_EQ(r.skipped, 0);
    r = importHistoryFile(home.database(), SSQ, file);
    EXPECT_EQ(r.imported, 0);
    EXPECT_EQ(r.skipped, 3);
    Opened o;
    o.state.OpenLottery(SSQ, 0, home.database());
    ASSERT_EQ(o.state.DrawCount(), 3);
    EXPECT_EQ(o.state.DrawDates()[0], "2003-2-23");
    EXPECT_EQ(o.state.DrawDates()[1], "");
    EXPECT_EQ(o.state.DrawDates()[2], "2003-3-2");
    EXPECT_EQ(o.state.DrawHistory().special(2)[0], 16);
}

TEST(Import, BadFileIsRefusedWholeNamingTheLine)
{
    struct Case {
        const char* line;
        const char* mentions;
    } cases[] = {
        {"203001 1 2 3 4 5 6 7", "203001"},          // issue not seven digits
        {"2003002 1 2 3 4 5 6", "7"},                // a number missing
        {"2003002 1 2 3 4 5 34 7", "34"},            // red out of range
        {"2003002 1 2 3 4 5 6 17", "17"},            // blue out of range
        {"2003002 1 2 3 4 5 5 7", "重复"},           // repeated red
        {"2003002 2003-02-30 1 2 3 4 5 6 7", "2003-02-30"}, // no such date
        {"2003002 1 2 x 4 5 6 7", "x"},              // not a number
    };
    for (const Case& c : cases) {
        TempHome home;
        const QString file = home.write("bad.txt", QByteArray("2003001 1 2 3 4 5 6 7\n") + c.line + "\n");
        try {
            importHistoryFile(home.database(), SSQ, file);
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const Error& e) {
            const QString msg = QString::fromStdString(e.what());
            EXPECT_TRUE(msg.contains(QStringLiteral("第2行"))) << e.what();
            EXPECT_TRUE(msg.contains(QString::fromUtf8(c.mentions))) << e.what();
        }
        EXPECT_EQ(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表")), 0) << c.line;
    }
}

TEST(Import, DigitLotteryTakesDigitsFromZero)
{
    TempHome home;
    const QString file = home.write("3d.txt", "issue,date,d1,d2,d3\n2002001,2002-01-01,0,7,3\n2002002,2002-01-02,9,9,0\n");
    EXPECT_EQ(importHistoryFile(home.database(), QStringLiteral("中国福彩3D"), file).imported, 2);
    const QString bad = home.write("bad.txt", "2002003 10 1 2\n");
    EXPECT_THROW(importHistoryFile(home.database(), QStringLiteral("中国福彩3D"), bad), Error);
}

TEST(Export, OneLinePerDrawWithTrailingBlankAndCrLf)
{
    TempHome home;
    const QString file = home.write("h.txt", "2001002 3 7 10 20 30 33 9\n2001001 1 5 12 17 22 33 9\n");
    importHistoryFile(home.database(), SSQ, file);
    const QString out = home.file("out.txt");
    EXPECT_EQ(exportHistoryFile(home.database(), SSQ, out), 2);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("2001001 01 05 12 17 22 33 09 \r\n2001002 03 07 10 20 30 33 09 \r\n"));
}

TEST(Import, RealTwoColourBallHistory)
{
    const QString csv = zelvor::testing::sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "shared draw data not found at " << csv.toStdString();
    TempHome home;
    EXPECT_EQ(importHistoryFile(home.database(), SSQ, csv).imported, 3508);
    Opened o;
    o.state.OpenLottery(SSQ, 0, home.database());
    EXPECT_EQ(o.state.DrawCount(), 3508);
    EXPECT_EQ(o.state.DrawHistory().issue(0), 2003001);
    EXPECT_EQ(o.state.nextIssue(), 2026112);
}

TEST(TrendSwitch, RefusedVariableBuildKeepsTheCurrentView)
{
    Opened o;
    DrawHistory h(6, 1);
    const int draw[] = {1, 2, 3, 4, 5, 6, 7};
    h.append(2003001, std::span<const int>(draw, 6), std::span<const int>(draw + 6, 1));
    o.state.openWithHistory(TwoColourBall(), h);
    VariableSettings notAPermutation;
    notAPermutation.window = 5;
    notAPermutation.permutation.assign(34, 1);
    EXPECT_THROW(o.state.BuildVariableTrend(notAPermutation), std::invalid_argument);
    EXPECT_EQ(o.state.TrendMode(), TrendMode::Standard);
    ASSERT_EQ(o.state.TrendRows().size(), 1u);
    EXPECT_EQ(o.state.TrendRows()[0].numbers, "01 02 03 04 05 06 + 07");
}
