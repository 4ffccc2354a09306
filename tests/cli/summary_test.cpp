// zelvor-cli summary and zones: the metric windows' memo and the zone table
// of an imported history, as the windows show them after opening.
#include <QFile>
#include <gtest/gtest.h>

#include "analysis/metric_analysis.h"
#include "analysis/zones.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/cli_runner.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::TempHome;

namespace {

const QString kSsq = QStringLiteral("中国福彩双色球");

// Four draws; see the hand-worked totals in the tests below.
const QByteArray kFourDraws = "2003001 10 11 12 13 26 28 11\r\n"
                              "2003002 05 03 22 17 09 30 11\r\n"
                              "2003003 01 07 10 23 28 32 16\r\n"
                              "2003004 01 07 12 20 25 33 05\r\n";

QString lines(const QStringList& l) { return l.join('\n') + '\n'; }

void importInto(const TempHome& home, const QString& file)
{
    const CliRun r = cli(home, {"import", kSsq, file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
}

} // namespace

TEST(CliSummary, HandWorkedMemosAndZonesOfASmallHistory)
{
    TempHome home;
    importInto(home, home.write("four.txt", kFourDraws));

    struct Case {
        QStringList args;
        QStringList expected;
    } cases[] = {
        // Big counts 3, 3, 3 against k * R / 2 = 9.
        {{"big"},
         {"理论最多大数个数：6.0", "理论最少大数个数：0.0", "理论平均大数个数：3.0", "最近3期大数个数总和：9.0",
          "最近3期理论大数个数总和：9.0"}},
        // Repeats 0, 0, 2 against (6 * 3 * 6) div 33 = 3: 3 >= 1.5 * 2.
        {{"repeat"},
         {"理论最多重码个数：6.0", "理论最少重码个数：0.0", "理论平均重码个数：1.0", "最近3期重码个数总和：2.0",
          "最近3期理论重码个数总和：3.0",
          "最近3期重码个数总和远远低于理论个数总和，建议选择大于理论平均重码个数的组合！"}},
        // Sums 100, 86, 101, 98: S = 385, mean 96.25 (shown 96.3); all four draws give T = S.
        {{"sum", "--recent", "all"},
         {"理论最大和值：183.0", "理论最小和值：21.0", "理论平均和值：96.3", "最近4期和值总和：385.0",
          "最近4期理论和值总和：385.0"}},
        // Odd counts of the newest draw only: 4 against 3.
        {{"odd", "--recent", "1"},
         {"理论最多奇数个数：6.0", "理论最少奇数个数：0.0", "理论平均奇数个数：3.0", "最近1期奇数个数总和：4.0",
          "最近1期理论奇数个数总和：3.0"}},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(home, QStringList{"summary", kSsq} + c.args);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, lines(c.expected)) << c.args.join(' ').toStdString();
    }

    CliRun r = cli(home, {"zones", kSsq});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], QStringLiteral("记录期号\t开奖号码\t01-06号码总数\t07-12号码总数\t13-18号码总数\t19-24号码总数\t"
                                     "25-30号码总数\t31-33号码总数"));
    EXPECT_EQ(out[4], QStringLiteral("2003004\t01 07 12 20 25 33 \t1\t2\t0\t1\t1\t1"));

    r = cli(home, {"zones", kSsq, "--zones", "7"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("2003004\t01 07 12 20 25 33 \t1\t1\t1\t1\t1\t0\t1\n")));
}

TEST(CliSummary, DigitLotteryShowsTheDigitsZeroToNine)
{
    // 中国福彩3D: three digits of 0..9 per draw, repeats allowed.
    TempHome home;
    const QString file = home.write("3d.txt", "2004001 0 0 9\r\n2004002 0 2 3\r\n2004003 5 5 5\r\n2004004 4 7 8\r\n");
    CliRun r = cli(home, {"import", QStringLiteral("中国福彩3D"), file});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    // Sums 9, 5, 15, 19: mean 12.0; the last three give 39 against 3 * 48 / 4 = 36.
    r = cli(home, {"summary", QStringLiteral("中国福彩3D"), "sum"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, lines({"理论最大和值：27.0", "理论最小和值：0.0", "理论平均和值：12.0", "最近3期和值总和：39.0",
                            "最近3期理论和值总和：36.0"}));
    // Big digits (5..9): 1, 0, 3, 2.
    r = cli(home, {"summary", QStringLiteral("中国福彩3D"), "big", "--recent", "1"});
    EXPECT_EQ(r.out, lines({"理论最多大数个数：3.0", "理论最少大数个数：0.0", "理论平均大数个数：1.5",
                            "最近1期大数个数总和：2.0", "最近1期理论大数个数总和：1.5"}));

    r = cli(home, {"zones", QStringLiteral("中国福彩3D")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList zones = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(zones.size(), 5);
    EXPECT_EQ(zones[0], QStringLiteral("记录期号\t开奖号码\t0-3号码总数\t4-7号码总数\t8-9号码总数"));
    EXPECT_EQ(zones[1], QStringLiteral("2004001\t00 00 09 \t2\t0\t1"));
    EXPECT_EQ(zones[4], QStringLiteral("2004004\t04 07 08 \t0\t2\t1"));

    // Per draw: big, odd, sum, span, dispersion, skewness, AC, repeats, as the windows show them.
    r = cli(home, {"metrics", QStringLiteral("中国福彩3D")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList rows = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("\t0\t1\t5\t3\t6\t3\t3\t1"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("\t3\t3\t15\t0\t5\t2\t1\t0"))) << rows[2].toStdString();
}

TEST(CliSummary, BadArgumentsExitWithUsage)
{
    TempHome home;
    importInto(home, home.write("four.txt", kFourDraws));
    const QStringList bad[] = {
        {"summary", kSsq, "size"},
        {"summary", kSsq, "big", "--recent", "x3"},
        {"summary", kSsq, "big", "--recent", "-1"},
        {"summary", kSsq, "big", "--recent"},
        {"summary", kSsq},
        {"zones", kSsq, "--zones", "8"},
        {"zones", kSsq, "--zones", "0"},
    };
    for (const QStringList& args : bad) {
        const CliRun r = cli(home, args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliSummary, RealHistoryMatchesTheWindowsCore)
{
    const QString csv = zelvor::testing::sharedData("ssq.csv");
    if (!QFile::exists(csv))
        GTEST_SKIP() << "shared draw data not found at " << csv.toStdString();
    TempHome home;
    importInto(home, csv);

    zelvor::Tdatamod datamod;
    zelvor::LotteryState state(datamod);
    state.OpenLottery(kSsq, zelvor::readLotteryOptions(home.database(), kSsq).kind, home.database());
    const zelvor::DrawHistory& h = state.DrawHistory();
    ASSERT_GT(h.size(), 0);

    const char* names[] = {"big", "odd", "sum", "span", "dispersion", "skewness", "ac", "repeat"};
    for (std::size_t m = 0; m < std::size(names); ++m) {
        const auto& d = zelvor::metricWindowFamily()[m];
        QStringList expected;
        for (const std::string& line : zelvor::Compute(d, h, 33, 6, 10).summary)
            expected << QString::fromStdString(line);
        const CliRun r = cli(home, {"summary", kSsq, names[m], "--recent", "10"});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, lines(expected)) << names[m];
    }

    const zelvor::ZoneAnalysis zones = zelvor::ComputeZones(h, 33, 6, 3);
    const CliRun r = cli(home, {"zones", kSsq});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), h.size() + 1);
    auto joined = [](const std::vector<std::string>& cells) {
        QStringList parts;
        for (const std::string& c : cells)
            parts << QString::fromStdString(c);
        return parts.join('\t');
    };
    EXPECT_EQ(out.first(), joined(zones.header));
    EXPECT_EQ(out.last(), joined(zones.rows.back()));
    EXPECT_EQ(out[1], joined(zones.rows.front()));
}
