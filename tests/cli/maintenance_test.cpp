// zelvor-cli backup, restore, download and add, end to end.
#include <QFile>
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/page_server.h"
#include "support/temp_home.h"

using zelvor::testing::cli;
using zelvor::testing::CliRun;
using zelvor::testing::PageServer;
using zelvor::testing::TempHome;

namespace {

const QString SSQ = QStringLiteral("中国福彩双色球");

std::string issueLine(const std::string& issue)
{
    std::string head = "<tr><td class=\"kj\">";
    head += std::string(37 - head.size(), 'a');
    return head + issue + "</td>\r\n";
}

std::string resultsPage()
{
    return "<table>\r\n" + issueLine("2026103") + "<td><span>01020304050607</span>\r\n" + issueLine("2026102")
           + "<td><span>11121314151616</span>\r\n" + issueLine("2026101") + "<td><span>21222324252601</span>\r\n"
           + issueLine("2026100") + "<td><span>01020304050607</span>\r\n</table>\r\n";
}

void configure(const TempHome& home, const std::string& address)
{
    home.write(QStringLiteral("附属/settings.ini"),
               QByteArray::fromStdString("[download]\naddress=" + address + "\ntimeout_ms=10000\n"));
}

int rows(const TempHome& home) { return home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表")); }

} // namespace

TEST(CliMaintenance, DownloadFromTheConfiguredAddress)
{
    TempHome home;
    ASSERT_EQ(cli(home, {"add", SSQ, "2026100", "01 02 03 04 05 06 07", "2026-12-6"}).status, 0);
    PageServer server(200, resultsPage());
    configure(home, server.address() + "/");
    CliRun r = cli(home, {"download", SSQ});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2026101\t21 22 23 24 25 26 01\t2026-12-8\n"
                                    "2026102\t11 12 13 14 15 16 16\t2026-12-10\n"
                                    "2026103\t01 02 03 04 05 06 07\t2026-12-13\n"
                                    "added=3 last_issue=2026103\n"));
    EXPECT_EQ(rows(home), 4);
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("号码.txt"))));
    // The same page again: nothing new.
    r = cli(home, {"download", SSQ, "--from", home.file(QStringLiteral("号码.txt"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("added=0 last_issue=2026103\n"));
}

TEST(CliMaintenance, FailedDownloadsAreReportedAndChangeNothing)
{
    TempHome home;
    ASSERT_EQ(cli(home, {"add", SSQ, "2026100", "01 02 03 04 05 06 07", "2026-12-6"}).status, 0);
    CliRun r = cli(home, {"download", SSQ});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有设置开奖结果网页的地址"))) << r.err.toStdString();
    {
        PageServer server(500, resultsPage());
        configure(home, server.address());
        r = cli(home, {"download", SSQ});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("HTTP 500")) << r.err.toStdString();
    }
    for (const QByteArray& page : {QByteArray(), QByteArray("\xff\xfe<\0h\0t\0m\0l\0>\0", 14), QByteArray(4000, '\x01')}) {
        r = cli(home, {"download", SSQ, "--from", home.write("page.html", page)});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QStringLiteral("added=0 last_issue=2026100\n"));
    }
    EXPECT_EQ(rows(home), 1);
}

TEST(CliMaintenance, BackupRestoreAndARefusedRestore)
{
    TempHome home;
    ASSERT_EQ(cli(home, {"add", SSQ, "2026100", "01 02 03 04 05 06 07", "2026-12-6"}).status, 0);
    CliRun r = cli(home, {"backup", home.file("copy.mdb")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "backup=" + home.file("copy.mdb") + "\n");
    ASSERT_EQ(cli(home, {"add", SSQ, "2026101", "01 02 03 04 05 06 07", "2026-12-8"}).status, 0);
    EXPECT_EQ(rows(home), 2);
    r = cli(home, {"restore", home.file("copy.mdb")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "restored=" + home.file("copy.mdb") + " safety=" + home.database() + ".bak\n");
    EXPECT_EQ(rows(home), 1);

    r = cli(home, {"restore", home.write("notes.txt", "not a database\r\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(rows(home), 1);
}

TEST(CliMaintenance, AddRefusesABadRow)
{
    TempHome home;
    const CliRun r = cli(home, {"add", SSQ, "2026100", "01 02 03 04 05 40 07", "2026-12-6"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("号码40超出范围1-33"))) << r.err.toStdString();
    EXPECT_EQ(rows(home), 0);
}
