// The main window: menus, opened state, tab changes, CloseLottery.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "app/u_main.h"
#include "app/window_registry.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "data/u_index.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"

using namespace zelvor;
using namespace zelvor::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

    struct Program {
        Tdatamod datamod;
        LotteryState state{datamod};
        Random random{7};
        AppContext context{state, random, nullptr};
        Tfrmmain main{context};
    };

    // Drives the modal catalogue dialog: select a lottery, then press a button.
    static void scriptCatalogue(Tfrmmain& main, const QString& lottery, const QString& button)
    {
        QTimer::singleShot(0, &main, [&main, lottery, button] {
            Tfrmindex* dlg = main.catalogueDialog();
            QVERIFY(dlg);
            auto* list = dlg->findChild<QListWidget*>("lstcaipiao");
            if (!lottery.isEmpty()) {
                const auto items = list->findItems(lottery, Qt::MatchExactly);
                QVERIFY(!items.isEmpty());
                list->setCurrentItem(items.first());
            }
            dlg->findChild<QPushButton*>(button)->click();
            if (dlg->isVisible())
                dlg->reject();
        });
    }

private slots:
    void menuStateFollowsTheOpenLottery()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        auto enabled = [&](const char* name) { return p.main.findChild<QAction*>(name)->isEnabled(); };
        QVERIFY(enabled("mnuopen"));
        QVERIFY(enabled("mnuclose"));
        QVERIFY(enabled("mnuexit"));
        QVERIFY(enabled("tlbopen"));
        QVERIFY(enabled("tlbexit"));
        QVERIFY(enabled("tlbyansi"));
        QVERIFY(!enabled("mnuanalysis0"));
        QVERIFY(!enabled("tlbbiaozhun"));
        QVERIFY(!enabled("tlbbianwan"));
        QVERIFY(!enabled("mnutotalfilt"));
        QVERIFY(!p.main.findChild<QTabBar*>("tabmain")->isVisible());

        scriptCatalogue(p.main, QStringLiteral("中国福彩双色球"), "btnopen");
        p.main.mnuopenClick();
        QVERIFY(p.state.LotteryOpen);
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor《中国福彩双色球》"));
        QVERIFY(enabled("mnuanalysis0"));
        QVERIFY(enabled("tlbbiaozhun"));
        QVERIFY(enabled("tlbbianwan"));
        QVERIFY(p.main.currentChild());

        p.main.findChild<QAction*>("mnuclose")->trigger();
        QVERIFY(!p.state.LotteryOpen);
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor"));
        QVERIFY(!enabled("mnuanalysis0"));
        QVERIFY(!p.main.currentChild());
        QVERIFY(dialogs->messages.isEmpty());
    }

    void catalogueDialogRules()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("create table 甲彩票号码表(记录期号 varchar(7),\"1\" integer,\"2\" integer,\"3\" integer,\"4\" integer,\"5\" integer,开奖日期 varchar(10))"),
                   QStringLiteral("create table 甲彩票选项表(彩票名称 varchar(20),彩票类型 Integer,号码总数 integer,"
                                  "选择号码数 integer,开奖时间 varchar(10),开奖星期 varchar(7))"),
                   QStringLiteral("insert into 甲彩票选项表 values('甲',0,20,5,'','135')")});
        Tdatamod datamod;
        LotteryState state(datamod);
        Tfrmindex dlg(state);
        auto* list = dlg.findChild<QListWidget*>("lstcaipiao");
        QCOMPARE(list->count(), 4);
        // Nothing selected yet.
        dlg.findChild<QPushButton*>("btnopen")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("请选择彩票！"));
        QCOMPARE(dialogs->messages.last().caption, QStringLiteral("错误"));
        QVERIFY(!state.LotteryOpen);

        list->setCurrentRow(0); // weekdays 247
        list->setCurrentItem(list->findItems(QStringLiteral("甲"), Qt::MatchExactly).first()); // then 135
        QString ticked;
        for (int d = 1; d <= 7; ++d)
            if (dlg.weekdayBox(d)->isChecked())
                ticked += QString::number(d);
        QCOMPARE(ticked, QStringLiteral("135"));
        QCOMPARE(dlg.findChild<QLineEdit*>("edtcaisum")->text(), QStringLiteral("20"));
        QVERIFY(!dlg.findChild<QPushButton*>("btnadd")->isEnabled());
        QVERIFY(!dlg.findChild<QPushButton*>("btndel")->isEnabled());
        QVERIFY(!dlg.findChild<QLineEdit*>("edtcainame")->isEnabled());

        // A lottery that is not known by name takes N and k from its options row.
        dlg.findChild<QPushButton*>("btnopen")->click();
        QVERIFY(state.LotteryOpen);
        QCOMPARE(state.CurrentLottery.numberRange, 20);
        QCOMPARE(state.CurrentLottery.pickCount, 5);
        QCOMPARE(state.CurrentLottery.specialCount, 0);
    }

    void failedOpenKeepsTheNoLotteryState()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values('2003001',1,2,3,'',5,6,7,'2003-2-23')")});
        Program p;
        scriptCatalogue(p.main, QStringLiteral("中国福彩双色球"), "btnopen");
        p.main.mnuopenClick();
        QVERIFY(!p.state.LotteryOpen);
        QVERIFY(dialogs->lastText().contains("2003001"));
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor"));
        QVERIFY(!p.main.currentChild());
    }

    void missingDatabaseIsNamedAndTheWindowStaysUsable()
    {
        TempHome home;
        DialogScript dialogs;
        QFile::remove(home.database());
        Program p;
        scriptCatalogue(p.main, QString(), "btnext");
        p.main.mnuopenClick();
        QVERIFY(dialogs->texts().join("\n").contains(home.database()));
        QVERIFY(!p.state.LotteryOpen);
        QVERIFY(p.main.findChild<QAction*>("mnuopen")->isEnabled());
    }

    void analysisTabsReplaceTheChildWindow()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        scriptCatalogue(p.main, QStringLiteral("中国福彩双色球"), "btnopen");
        p.main.mnuopenClick();
        auto* mdi = p.main.findChild<QMdiArea*>("mdi");
        QCOMPARE(mdi->subWindowList().size(), 1);
        QPointer<QWidget> first = p.main.currentChild();
        p.main.findChild<QAction*>("mnuanalysis9")->trigger();
        QCOMPARE(p.main.findChild<QTabBar*>("tabmain")->currentIndex(), 9);
        QTRY_VERIFY(!first);
        QVERIFY(mdi->subWindowList().size() <= 1);
        p.main.findChild<QAction*>("mnuanalysis0")->trigger();
        QCOMPARE(p.main.findChild<QTabBar*>("tabmain")->currentIndex(), 0);
        QCOMPARE(mdi->subWindowList().size(), 1);
        QVERIFY(p.main.currentChild());
    }

    void closeLotteryForgetsToolWindows()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        scriptCatalogue(p.main, QStringLiteral("中国福彩双色球"), "btnopen");
        p.main.mnuopenClick();
        QStringList opened;
        for (const QString& cls : toolWindowClasses())
            if (p.main.openToolWindow(cls))
                opened << cls;
        QList<QPointer<QWidget>> windows;
        for (const QString& cls : opened)
            windows << p.main.toolWindow(cls);
        p.main.CloseLottery();
        for (const QString& cls : opened)
            QVERIFY(!p.main.toolWindow(cls));
        for (auto& w : windows)
            QVERIFY(!w);
    }

    void bannerHidesWithoutAnEndpointOrNetwork()
    {
        TempHome home;
        DialogScript dialogs;
        {
            Program p;
            QVERIFY(p.main.findChild<QFrame*>("pan")->isHidden());
        }
        // An endpoint nobody answers on: the fetch gives up and start-up goes on.
        QFile ini(home.file(QStringLiteral("附属/settings.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[banner]\nendpoint=http://127.0.0.1:9/\ntimeout_ms=500\n");
        ini.close();
        Program p;
        QVERIFY(p.main.findChild<QFrame*>("pan")->isHidden());
    }

    void bannerShowsWhatTheEndpointServes()
    {
        TempHome home;
        DialogScript dialogs;
        // A tiny HTTP server on 127.0.0.1 serving the banner picture and link text.
        QImage picture(40, 10, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QByteArray gif;
        QBuffer buffer(&gif);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG"); // any picture format the label can show
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QStringList requested;
        connect(&server, &QTcpServer::newConnection, &server, [&] {
            QTcpSocket* socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                const QByteArray request = socket->readAll();
                const QByteArray path = request.split(' ').value(1);
                requested << QString::fromLatin1(path);
                const QByteArray body = path.endsWith("guanggao.gif") ? gif : QByteArray("https://example.invalid/");
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
                              + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        QFile ini(home.file(QStringLiteral("附属/settings.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[banner]\nendpoint=http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/ad\n");
        ini.close();
        Program p;
        QVERIFY(!p.main.findChild<QFrame*>("pan")->isHidden());
        QVERIFY(QFile::exists(home.file("guanggao.gif")));
        QCOMPARE(requested, (QStringList{"/ad/guanggao.gif", "/ad/ggurl.txt"}));
        // The close box hides the banner.
        QTest::mouseClick(p.main.findChild<QLabel*>("panclose"), Qt::LeftButton);
        QVERIFY(p.main.findChild<QFrame*>("pan")->isHidden());
    }

    void trendSwitchesRebuildTheTrend()
    {
        TempHome home;
        DialogScript dialogs;
        home.write("h.txt", "2003001 1 2 3 4 5 6 7\n2003002 7 8 9 10 11 12 1\n2003003 3 9 16 22 30 33 5\n");
        importHistoryFile(home.database(), QStringLiteral("中国福彩双色球"), home.file("h.txt"));
        Program p;
        scriptCatalogue(p.main, QStringLiteral("中国福彩双色球"), "btnopen");
        p.main.mnuopenClick();
        QCOMPARE(p.state.Mode, TrendMode::Standard);
        p.main.findChild<QAction*>("tlbbianwan")->trigger();
        QCOMPARE(p.state.Mode, TrendMode::Variable);
        QCOMPARE(p.state.Variable.history.size(), 3);
        p.main.findChild<QAction*>("tlbbiaozhun")->trigger();
        QCOMPARE(p.state.Mode, TrendMode::Standard);
        QCOMPARE(QString::fromStdString(p.state.Rows[2].numbers), QStringLiteral("03 09 16 22 30 33 + 05"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main.moc"
