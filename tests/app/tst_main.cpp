// The main window: menus, opened state, tab changes, CloseLottery.
#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "analysis/u_code.h"
#include "analysis/u_metric.h"
#include "app/u_main.h"
#include "analysis/trend.h"
#include "analysis/u_piantai.h"
#include "filter/u_fushi.h"
#include "filter/u_duijiang.h"
#include "filter/u_jiaoqi.h"
#include "app/window_registry.h"
#include "common/format.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "data/u_index.h"
#include "filter/u_baohao.h"
#include "filter/u_totalfilt.h"
#include "ui/number_panels.h"
#include "support/catalogue_script.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/temp_home.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

    struct Program : WindowContext {
        Program() : WindowContext(7) {}
        Tfrmmain main{context};
    };

    static void importThreeDraws(const TempHome& home)
    {
        home.write("h.txt", kThreeDrawsFile);
        importHistoryFile(home.database(), QStringLiteral("中国福彩双色球"), home.file("h.txt"));
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

        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        QVERIFY(p.state.LotteryOpen());
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor《中国福彩双色球》"));
        QVERIFY(enabled("mnuanalysis0"));
        QVERIFY(enabled("tlbbiaozhun"));
        QVERIFY(enabled("tlbbianwan"));
        QVERIFY(p.main.currentChild());

        p.main.findChild<QAction*>("mnuclose")->trigger();
        QVERIFY(!p.state.LotteryOpen());
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor"));
        QVERIFY(!enabled("mnuanalysis0"));
        QVERIFY(!p.main.currentChild());
        QVERIFY(dialogs->messages.isEmpty());
    }

    void allTenTabsShowAt1366PixelsWide()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        p.main.resize(1366, 740);
        p.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.main));
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        auto* tabs = p.main.findChild<QTabBar*>("tabmain");
        QTRY_VERIFY(tabs->isVisible());
        QCOMPARE(tabs->count(), 10);
        // No scroll arrows, and the first and the last tab wholly inside the
        // strip, which ends inside the window.
        QTRY_VERIFY(tabs->tabRect(9).right() <= tabs->width());
        QVERIFY(tabs->tabRect(0).left() >= 0);
        for (QToolButton* arrow : tabs->findChildren<QToolButton*>())
            QVERIFY(!arrow->isVisible());
        QVERIFY(tabs->mapTo(&p.main, QPoint(tabs->width(), 0)).x() <= p.main.width());
        // Nothing is lost on a wide screen: the tabs keep the window's font there.
        p.main.resize(1920, 1000);
        QTRY_COMPARE(tabs->font().pointSizeF(), p.main.font().pointSizeF());
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
        QVERIFY(!state.LotteryOpen());

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
        QVERIFY(state.LotteryOpen());
        QCOMPARE(state.CurrentLottery().numberRange, 20);
        QCOMPARE(state.CurrentLottery().pickCount, 5);
        QCOMPARE(state.CurrentLottery().specialCount, 0);
    }

    void failedOpenKeepsTheNoLotteryState()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values('2003001',1,2,3,'',5,6,7,'2003-2-23')")});
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        QVERIFY(!p.state.LotteryOpen());
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
        QVERIFY(!p.state.LotteryOpen());
        QVERIFY(p.main.findChild<QAction*>("mnuopen")->isEnabled());
    }

    void analysisTabsReplaceTheChildWindow()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
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
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
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
        // Deleted once control is back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (auto& w : windows)
            QVERIFY(!w);
    }

    void omissionSearchAndIntersectionOpenFromTheMenu()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        p.main.findChild<QAction*>("mnupiantai")->trigger();
        auto* skew = qobject_cast<Tfrmpiantai*>(p.main.toolWindow("Tfrmpiantai"));
        QVERIFY(skew && skew->isVisible());
        QCOMPARE(int(skew->rows().size()), 33);
        p.main.findChild<QAction*>("mnuyilou")->trigger();
        QVERIFY(qobject_cast<Tfrmyilou*>(p.main.toolWindow("Tfrmyilou")));
        p.main.findChild<QAction*>("mnujiaoqi")->trigger();
        QVERIFY(qobject_cast<Tfrmjiaoqi*>(p.main.toolWindow("Tfrmjiaoqi")));
        p.main.findChild<QAction*>("mnuduijiang")->trigger();
        auto* prize = qobject_cast<Tfrmduijiang*>(p.main.toolWindow("Tfrmduijiang"));
        QVERIFY(prize && prize->isVisible());
        prize->hide();
        p.main.findChild<QAction*>("tlbduijiang")->trigger();
        QCOMPARE(p.main.toolWindow("Tfrmduijiang"), prize);
        QVERIFY(prize->isVisible());

        // The search presses the variable build through the main window.
        p.main.findChild<QAction*>("mnufushi")->trigger();
        auto* search = qobject_cast<Tfrmfushi*>(p.main.toolWindow("Tfrmfushi"));
        QVERIFY(search);
        search->chkyilou()->setChecked(false);
        Random views(9);
        int built = 0;
        search->setViewSource([&]() -> std::optional<VariableSettings> {
            ++built;
            return drawVariableSettings(33, views);
        });
        QTest::mouseClick(search->btnsou(), Qt::LeftButton);
        QVERIFY(built >= 5);
        QCOMPARE(search->edtfushicode()->text().size(), 28 * 3);
        QCOMPARE(p.state.TrendMode(), TrendMode::Standard);
    }

    void adviserWindowsOpenFromMenuAndToolbar()
    {
        TempHome home;
        importThreeDraws(home);
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        struct Opening {
            const char* action;
            const char* cls;
            const char* caption;
        } const openings[] = {
            {"mnusep", "Tfrmsep", "最优间隔回补选号"},
            {"mnuqingmi", "Tfrmqingmi", "最优亲密数字选号"},
            {"mnuganzhi", "Tfrmganzhi", "最优开奖干支选号"},
            {"tlbpiantai", "Tfrmganzhi", "最优开奖干支选号"},
            {"mnusibu", "Tfrmsibu", "最优四步综合选号"},
            {"tlbyilou", "Tfrmsibu", "最优四步综合选号"},
        };
        for (const Opening& o : openings) {
            p.main.findChild<QAction*>(o.action)->trigger();
            QWidget* w = p.main.toolWindow(o.cls);
            QVERIFY2(w && w->isVisible(), o.action);
            QCOMPARE(w->windowTitle(), QString::fromUtf8(o.caption));
            QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
            // Closing hides; the same window comes back.
            w->close();
            QVERIFY(w->isHidden());
            p.main.findChild<QAction*>(o.action)->trigger();
            QCOMPARE(p.main.toolWindow(o.cls), w);
            QVERIFY(w->isVisible());
        }
        QVERIFY(dialogs->messages.isEmpty());
    }

    void listWindowsOpenTheCoverOnTheirList()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        auto* filter = qobject_cast<Tfrmtotalfilt*>(p.main.openToolWindow("Tfrmtotalfilt"));
        filter->bluePanels()->choose({7});
        filter->findChild<QCheckBox*>("chkhei")->setChecked(true);
        filter->findChild<QComboBox*>("comhei1")->setEditText("21");
        filter->findChild<QComboBox*>("comhei2")->setEditText("22");
        filter->findChild<QPushButton*>("btnfilt")->click();
        QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->lastText()));
        filter->findChild<QPushButton*>("btnbaohao")->click();
        auto* cover = qobject_cast<Tfrmbaohao*>(p.main.toolWindow("Tfrmbaohao"));
        QVERIFY(cover && cover->isVisible());
        // Sums 21 and 22: 01 02 03 04 05 06 and 01 02 03 04 05 07.
        QCOMPARE(cover->sourceCount(), 2);
        for (const char* cls : {"Tfrmallcongma", "Tfrmjiaoqi"}) {
            QWidget* w = p.main.openToolWindow(cls);
            QVERIFY2(w && w->findChild<QPushButton*>("btnbaohao"), cls);
        }
    }

    void closingTheLotteryDuringARunStopsIt()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        auto* filter = qobject_cast<Tfrmtotalfilt*>(p.main.openToolWindow("Tfrmtotalfilt"));
        QVERIFY(filter);
        // Every combination with all sixteen blues: 17.7 million lines, long
        // enough for the lottery to be closed from inside the run's event pump.
        std::vector<int> blues;
        for (int b = 1; b <= 16; ++b)
            blues.push_back(b);
        filter->bluePanels()->choose(blues);
        filter->findChild<QCheckBox*>("chkdashu")->setChecked(true);
        filter->findChild<QComboBox*>("comdaxiao1")->setEditText("0");
        filter->findChild<QComboBox*>("comdaxiao2")->setEditText("6");
        QPointer<Tfrmtotalfilt> alive(filter);
        bool closedDuringRun = false;
        QTimer::singleShot(20, &p.main, [&] {
            closedDuringRun = alive && alive->isRunning();
            p.main.CloseLottery();
        });
        // A real click: the handler runs inside event delivery, as for the user.
        QTest::mouseClick(filter->findChild<QPushButton*>("btnfilt"), Qt::LeftButton);
        QVERIFY2(closedDuringRun, qPrintable(dialogs->texts().join('|')));
        // The handler returned on a live window; it goes once the loop runs.
        QVERIFY(alive);
        QVERIFY(!alive->isRunning());
        QVERIFY(!p.main.toolWindow("Tfrmtotalfilt"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QVERIFY(dialogs->messages.isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
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
        // Start-up does not wait for the banner: it arrives afterwards.
        QFrame* pan = p.main.findChild<QFrame*>("pan");
        QVERIFY(pan->isHidden());
        QTRY_VERIFY(!pan->isHidden());
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
        importThreeDraws(home);
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        QCOMPARE(p.state.TrendMode(), TrendMode::Standard);
        p.main.findChild<QAction*>("tlbbianwan")->trigger();
        QCOMPARE(p.state.TrendMode(), TrendMode::Variable);
        QCOMPARE(p.state.VariableHistory().size(), 3);
        p.main.findChild<QAction*>("tlbbiaozhun")->trigger();
        QCOMPARE(p.state.TrendMode(), TrendMode::Standard);
        QCOMPARE(QString::fromStdString(p.state.TrendRows()[2].numbers), QStringLiteral("03 09 16 22 30 33 + 05"));
    }
    void captionsHintsAndMenuStateOfEveryItem()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        // Enabled without a lottery / with one. Windows not part of this build stay disabled.
        struct Item {
            const char* name;
            const char* text;
            const char* hint; // toolbar only
            bool closed, open;
        } const items[] = {
            {"tlbopen", "打开彩票", "打开彩票", true, true},
            {"tlbdata", "彩票数据", "彩票数据", true, true},
            {"tlbpiantai", "干支选号", "最优开奖干支选号", false, true},
            {"tlbyilou", "四步选号", "最优四步综合选号", false, true},
            {"tlbala", "总体过滤", "总体过滤", false, true},
            {"tlbduijiang", "对奖", "对奖", false, true},
            {"tlbbiaozhun", "标准走势", "标准走势", false, true},
            {"tlbbianwan", "变幻走势", "变幻走势", false, true},
            {"tlbyansi", "软件演示", "软件演示", true, true},
            {"tlbexit", "退出", "退出系统", true, true},
            {"mnuopen", "打开彩票(&O)", nullptr, true, true},
            {"mnuclose", "关闭彩票(&G)", nullptr, true, true},
            {"mnuexit", "退出(&X)", nullptr, true, true},
            {"mnumoddata", "数据添加(&M)", nullptr, true, true},
            {"mnudownload", "数据下载(&D)", nullptr, true, true},
            {"mnubackupdata", "数据备份(&B)", nullptr, true, true},
            {"mnustoredata", "数据恢复(&C)", nullptr, true, true},
            {"mnuanalysis0", "开奖号码走势(&C)", nullptr, false, true},
            {"mnuanalysis4", "号码跨度分析(&k)", nullptr, false, true},
            {"mnuanalysis9", "号码区间分析(&Q)", nullptr, false, true},
            {"mnutotalfilt", "总体号码缩水过滤(&T)", nullptr, false, true},
            {"mnujuzheng", "旋转矩阵组号缩水(&X)", nullptr, true, true},
            {"mnujiaoqi", "    大底交集(&A)", nullptr, false, true},
            {"mnubaohao", "保号缩水(&B)", nullptr, false, true},
            {"mnupiantai", "中奖偏态分析选号(&P)", nullptr, false, true},
            {"mnuyilou", "中奖回补分析选号(&H)", nullptr, false, true},
            {"mnufushi", "最优复式搜索选号(&F)", nullptr, false, true},
            {"mnusep", "最优间隔回补选号(&L)", nullptr, false, true},
            {"mnuqingmi", "最优亲密数字选号(&Q)", nullptr, false, true},
            {"mnuganzhi", "最优开奖干支选号(&G)", nullptr, false, true},
            {"mnusibu", "最优四步综合选号(&Z)", nullptr, false, true},
            {"mnuduijiang", "对奖(&J)", nullptr, false, true},
            {"mnuweb1", "Marvane彩票信息网", nullptr, true, true},
            {"mnuweb4", "中国时时彩官网", nullptr, true, true},
            {"mnuhelpcotent", "使用帮助(&C)", nullptr, true, true},
            {"mnumyname", "官方网站(&G)", nullptr, true, true},
            {"mnumail", "有事Q我(&M)", nullptr, true, true},
            {"mnuhelpabout", "关于(&A)...", nullptr, true, true},
        };
        auto check = [&](bool open) {
            for (const Item& item : items) {
                auto* a = p.main.findChild<QAction*>(item.name);
                QVERIFY2(a, item.name);
                QCOMPARE(a->text(), QString::fromUtf8(item.text));
                if (item.hint)
                    QCOMPARE(a->toolTip(), QString::fromUtf8(item.hint));
                QVERIFY2(a->isEnabled() == (open ? item.open : item.closed), item.name);
            }
        };
        check(false);
        // Toolbar buttons left to right.
        QStringList order;
        for (QAction* a : p.main.findChild<QToolBar*>("tlbmain")->actions())
            if (a->objectName().startsWith("tlb"))
                order << a->objectName();
        QCOMPARE(order, (QStringList{"tlbopen", "tlbdata", "tlbpiantai", "tlbyilou", "tlbala", "tlbduijiang",
                                     "tlbbiaozhun", "tlbbianwan", "tlbyansi", "tlbexit"}));
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        QVERIFY(p.state.LotteryOpen());
        check(true);
        QCOMPARE(p.main.findChild<QTabBar*>("tabmain")->currentIndex(), 0);
        QVERIFY(qobject_cast<Tfrmcode*>(p.main.currentChild()));
    }

    void catalogueDialogForgottenAfterOpenKeptAfterExit()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        scriptCatalogue(p.main, QStringLiteral("中国香港六合彩"), "btnext");
        p.main.mnuopenClick();
        QPointer<Tfrmindex> kept = p.main.catalogueDialog();
        QVERIFY(kept);
        QVERIFY(!p.state.LotteryOpen());
        // "退出" keeps the dialog with its displayed values; the next open shows the same one.
        QTimer::singleShot(0, &p.main, [&] {
            QCOMPARE(p.main.catalogueDialog(), kept.data());
            QCOMPARE(kept->findChild<QLineEdit*>("edtcainame")->text(), QStringLiteral("中国香港六合彩"));
            kept->findChild<QPushButton*>("btnopen")->click();
        });
        p.main.mnuopenClick();
        QVERIFY(p.state.LotteryOpen());
        QCOMPARE(p.main.windowTitle(), QStringLiteral("Zelvor《中国香港六合彩》"));
        // An open forgets the dialog: the next "打开彩票" builds a fresh one.
        QVERIFY(!p.main.catalogueDialog());
        QTRY_VERIFY(!kept);
        QVERIFY(dialogs->messages.isEmpty());
    }

    void catalogueReadsTheOptionsOnceOnTheUsersSelection()
    {
        TempHome home;
        DialogScript dialogs;
        // A draw table without its options table: selecting it fails with one error.
        home.exec({QStringLiteral("create table 乙彩票号码表(记录期号 varchar(7),\"1\" integer,\"2\" integer,\"3\" integer,"
                                  "\"4\" integer,\"5\" integer,开奖日期 varchar(10))")});
        Tdatamod datamod;
        LotteryState state(datamod);
        Tfrmindex dlg(state);
        dlg.show();
        auto* list = dlg.findChild<QListWidget*>("lstcaipiao");
        // Nothing is chosen yet, so no field shows a lottery's options (not
        // the digit lottery's 10 and 3 without its name).
        auto blank = [&dlg] {
            for (const char* edit : {"edtcainame", "edtcaisum", "edtcaisel", "edtcaitime"})
                if (!dlg.findChild<QLineEdit*>(edit)->text().isEmpty())
                    return false;
            for (QRadioButton* type : dlg.findChild<QGroupBox*>("optcaitype")->findChildren<QRadioButton*>())
                if (type->isChecked())
                    return false;
            for (int d = 1; d <= 7; ++d)
                if (dlg.weekdayBox(d)->isChecked())
                    return false;
            return true;
        };
        QVERIFY(blank());
        // Focus reaching the list selects nothing, so nothing is filled in yet.
        list->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QVERIFY(dlg.findChild<QLineEdit*>("edtcainame")->text().isEmpty());
        QVERIFY(blank());
        QVERIFY(dialogs->messages.isEmpty());
        // The digit lottery chosen: its name with its options.
        QListWidgetItem* threeD = list->findItems(QStringLiteral("中国福彩3D"), Qt::MatchExactly).value(0);
        QVERIFY(threeD);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(threeD).center());
        QCOMPARE(dlg.findChild<QLineEdit*>("edtcainame")->text(), QStringLiteral("中国福彩3D"));
        QCOMPARE(dlg.findChild<QLineEdit*>("edtcaisum")->text(), QStringLiteral("10"));
        QCOMPARE(dlg.findChild<QLineEdit*>("edtcaisel")->text(), QStringLiteral("3"));
        QVERIFY(dlg.findChild<QRadioButton*>()->group()->checkedId() == 1);
        QVERIFY(dialogs->messages.isEmpty());
        QListWidgetItem* item = list->findItems(QStringLiteral("乙"), Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        QCOMPARE(list->currentItem(), item);
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(dialogs->lastText().contains(QStringLiteral("乙彩票选项表")));
        // Its options could not be read: none shown, not the 3D's left over.
        QVERIFY(blank());
        // A double click on an entry selects it and opens it.
        QListWidgetItem* ssq = list->findItems(QStringLiteral("中国福彩双色球"), Qt::MatchExactly).value(0);
        QVERIFY(ssq);
        const QPoint at = list->visualItemRect(ssq).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); // as a real double click starts
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(state.LotteryOpen());
        QCOMPARE(QString::fromStdString(state.CurrentLottery().name), QStringLiteral("中国福彩双色球"));
    }

    void enterInTheCatalogueOpensAndAFocusedExitStaysExit()
    {
        TempHome home;
        DialogScript dialogs;
        Tdatamod datamod;
        LotteryState state(datamod);
        {
            // Enter on the exit button leaves without opening anything.
            Tfrmindex dlg(state);
            dlg.show();
            auto* list = dlg.findChild<QListWidget*>("lstcaipiao");
            list->setCurrentItem(list->findItems(QStringLiteral("中国福彩双色球"), Qt::MatchExactly).value(0));
            auto* exit = dlg.findChild<QPushButton*>("btnext");
            exit->setFocus();
            QTest::keyClick(exit, Qt::Key_Return);
            QVERIFY(!dlg.isVisible());
            QVERIFY(!state.LotteryOpen());
        }
        Tfrmindex dlg(state);
        dlg.show();
        auto* list = dlg.findChild<QListWidget*>("lstcaipiao");
        list->setFocus();
        // Nothing chosen: Enter asks for a lottery, as the button does.
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(dialogs->lastText(), QStringLiteral("请选择彩票！"));
        list->setCurrentItem(list->findItems(QStringLiteral("中国福彩双色球"), Qt::MatchExactly).value(0));
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(state.LotteryOpen());
        QCOMPARE(dialogs->messages.size(), 1);
    }

    void everyTabChangeReplacesTheChild()
    {
        TempHome home;
        DialogScript dialogs;
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        auto* tabs = p.main.findChild<QTabBar*>("tabmain");
        // Keyboard and wheel change the tab without a click; the child follows all the same.
        QTest::keyClick(tabs, Qt::Key_Right);
        QCOMPARE(tabs->currentIndex(), 1);
        QTRY_COMPARE(p.main.findChild<QMdiArea*>("mdi")->subWindowList().size(), 1);
        QCOMPARE(p.main.currentChild()->windowTitle(), QStringLiteral("大小分析"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(9).center());
        QCOMPARE(tabs->currentIndex(), 9);
        QTRY_COMPARE(p.main.findChild<QMdiArea*>("mdi")->subWindowList().size(), 1);
        QCOMPARE(p.main.currentChild()->windowTitle(), QStringLiteral("区间分析"));
    }

    void trendSwitchesRefreshTheShownChildAndReachTheTotalFilter()
    {
        TempHome home;
        DialogScript dialogs;
        importThreeDraws(home);
        Program p;
        openThroughMenu(p.main, QStringLiteral("中国福彩双色球"));
        p.main.findChild<QAction*>("mnuanalysis1")->trigger();
        auto numbers = [&] {
            auto* w = dynamic_cast<MetricWindow*>(p.main.currentChild());
            QStringList out;
            if (w)
                for (const MetricRow& row : w->analysis().rows)
                    out << QString::fromStdString(row[1]);
            return out;
        };
        auto expected = [](const DrawHistory& h) {
            QStringList out;
            for (int i = 0; i < h.size(); ++i)
                out << QString::fromStdString(numbersWithBlanks(h.main(i)));
            return out;
        };
        QVERIFY(!p.main.toolWindow("Tfrmtotalfilt"));
        p.main.findChild<QAction*>("tlbbianwan")->trigger();
        QVERIFY(p.main.toolWindow("Tfrmtotalfilt"));
        QVERIFY(p.main.toolWindow("Tfrmtotalfilt")->isHidden());
        QCOMPARE(numbers(), expected(p.state.VariableHistory()));
        const std::vector<int> firstPermutation = p.state.Variable().settings.permutation;
        p.main.findChild<QAction*>("tlbbianwan")->trigger();
        QVERIFY(p.state.Variable().settings.permutation != firstPermutation);
        QCOMPARE(numbers(), expected(p.state.VariableHistory()));
        p.main.findChild<QAction*>("tlbbiaozhun")->trigger();
        QCOMPARE(numbers(), expected(p.state.DrawHistory()));
        QVERIFY(p.main.toolWindow("Tfrmtotalfilt")->isHidden());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main.moc"
