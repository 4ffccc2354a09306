// The results download window against a page served on 127.0.0.1.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "data/u_download2.h"
#include "support/fake_dialogs.h"
#include "support/page_server.h"
#include "support/temp_home.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

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

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

    static void prepare(const TempHome& home, const std::string& address)
    {
        home.write(QStringLiteral("附属/settings.ini"),
                   QByteArray::fromStdString("[download]\naddress=" + address + "\ntimeout_ms=10000\n"));
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026100',1,2,3,4,5,6,7,'2026-12-6')")});
    }
    static int rows(const TempHome& home)
    {
        return home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表"));
    }

private slots:
    void controls()
    {
        TempHome home;
        DialogScript dialogs;
        Tfrmdownload2 w;
        QCOMPARE(w.windowTitle(), QStringLiteral("数据下载"));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        auto* com = w.findChild<QComboBox*>("comdown");
        QCOMPARE(com->count(), 2);
        QCOMPARE(com->itemText(0), QStringLiteral("所有彩票"));
        QCOMPARE(com->itemText(1), QStringLiteral("中国福彩双色球"));
        QCOMPARE(com->currentIndex(), 0);
        QVERIFY(w.findChild<QPushButton*>("btndown")->isDefault());
        QCOMPARE(w.findChild<QPushButton*>("btnclose")->text(), QStringLiteral("退出"));
        QCOMPARE(w.findChild<QLabel*>("lbltitle")->text(), QStringLiteral("正在更新中国福彩双色球。。。"));
        QVERIFY(w.findChild<QLabel*>("lbltitle")->isHidden());
    }

    void newDrawsGoInOldestFirstWithTheirDrawDays()
    {
        TempHome home;
        DialogScript dialogs;
        PageServer server(200, resultsPage());
        prepare(home, server.address());
        Tfrmdownload2 w;
        w.show();
        QSignalSpy ended(&w, &Tfrmdownload2::downloadEnded);
        w.findChild<QPushButton*>("btndown")->click();
        // The window is not blocked while the page comes.
        QVERIFY(w.findChild<QLabel*>("lbltitle")->isVisible());
        QVERIFY(w.findChild<QPushButton*>("btnclose")->isVisible());
        QVERIFY(ended.wait(15000));
        QCOMPARE(dialogs->lastText(), QStringLiteral("下载完成！新增 3 期"));
        QVERIFY(!w.isVisible());
        QCOMPARE(rows(home), 4);
        QCOMPARE(home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表 where "
                                           "(记录期号 = '2026101' and 开奖日期 = '2026-12-8' and \"1\" = 21 and \"7\" = 1) or "
                                           "(记录期号 = '2026102' and 开奖日期 = '2026-12-10') or "
                                           "(记录期号 = '2026103' and 开奖日期 = '2026-12-13')")),
                 3);
        QVERIFY(QFile::exists(home.file(QStringLiteral("号码.txt"))));
    }

    void aServerErrorIsReportedAndChangesNothing()
    {
        TempHome home;
        DialogScript dialogs;
        PageServer server(503, resultsPage());
        prepare(home, server.address());
        Tfrmdownload2 w;
        w.show();
        QSignalSpy ended(&w, &Tfrmdownload2::downloadEnded);
        w.findChild<QPushButton*>("btndown")->click();
        QVERIFY(ended.wait(15000));
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY2(dialogs->lastText().contains("HTTP 503"), qPrintable(dialogs->lastText()));
        QVERIFY(!dialogs->lastText().contains(QStringLiteral("下载完成")));
        QCOMPARE(rows(home), 1);
        QVERIFY(w.isVisible());
        QVERIFY(w.findChild<QPushButton*>("btndown")->isVisible());
    }

    void noAddressAndNoNewDrawAreSaid()
    {
        TempHome home;
        DialogScript dialogs;
        prepare(home, "");
        Tfrmdownload2 w;
        w.show();
        w.findChild<QPushButton*>("btndown")->click();
        QVERIFY(dialogs->lastText().contains(QStringLiteral("没有设置开奖结果网页的地址")));
        PageServer server(200, "<html>nothing here</html>\r\n");
        home.write(QStringLiteral("附属/settings.ini"),
                   QByteArray::fromStdString("[download]\naddress=" + server.address() + "\n"));
        QSignalSpy ended(&w, &Tfrmdownload2::downloadEnded);
        w.findChild<QPushButton*>("btndown")->click();
        QVERIFY(ended.wait(15000));
        QCOMPARE(dialogs->lastText(), QStringLiteral("没有找到新的开奖号码。"));
        QCOMPARE(rows(home), 1);
    }
};

QTEST_MAIN(DownloadTest)
#include "tst_download2.moc"
