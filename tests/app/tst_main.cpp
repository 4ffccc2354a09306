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
};

QTEST_MAIN(MainWindowTest)
#include "tst_main.moc"
