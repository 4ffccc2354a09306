// The total filter window on a 1366 x 768 and a 1920 x 1080 screen: it opens
// clear of the main window's toolbar, within the screen, and what a larger
// window has to spare goes to the list.
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QMdiArea>
#include <QScreen>
#include <QToolBar>
#include <QtTest>

#include "app/u_main.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bet_list_view.h"

using namespace zelvor;
using namespace zelvor::testing;

class TotalFilterScreenTest : public QObject {
    Q_OBJECT

    static QScreen* screenNamed(const QString& name)
    {
        for (QScreen* s : QGuiApplication::screens())
            if (s->name() == name)
                return s;
        return nullptr;
    }

    struct Opened {
        QRect screen;
        QRect toolbar; // global
        QRect filter;  // global, with its frame
        QSize list;
        QSize panels;
    };

    static Opened openOn(const QString& screenName)
    {
        Opened o;
        QScreen* screen = screenNamed(screenName);
        if (!screen)
            return o;
        TempHome home;
        DialogScript dialogs;
        WindowContext env(5);
        Tfrmmain main(env.context);
        main.setScreen(screen);
        main.setGeometry(screen->availableGeometry());
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            return o;
        env.state.OpenLottery(QStringLiteral("中国福彩双色球"), 0, DatabaseFile());
        main.enterOpenedState();
        QWidget* w = main.openToolWindow(QStringLiteral("Tfrmtotalfilt"));
        if (!w || !QTest::qWaitForWindowExposed(w))
            return o;
        const QToolBar* bar = main.findChild<QToolBar*>("tlbmain");
        o.screen = screen->geometry();
        o.toolbar = QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        o.filter = w->frameGeometry();
        o.list = w->findChild<BetListView*>("memcode")->size();
        o.panels = w->findChild<QGroupBox*>("GroupBox2")->size();
        return o;
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QCOMPARE(screenNamed("small")->geometry().size(), QSize(1366, 768));
    }

    void opensBelowTheToolbarAndGivesTheListTheRoom()
    {
        const Opened small = openOn("small");
        const Opened large = openOn("large");
        for (const Opened& o : {small, large}) {
            QVERIFY(o.screen.isValid());
            // Clear of the toolbar, frame included, and inside the screen.
            QVERIFY2(o.filter.top() > o.toolbar.bottom(),
                     qPrintable(QStringLiteral("%1 vs %2").arg(o.filter.top()).arg(o.toolbar.bottom())));
            QVERIFY(o.screen.contains(o.filter));
        }
        // The larger screen gives the list more height and at least as much
        // width; the number panels keep the size they need.
        QVERIFY(large.list.height() > small.list.height());
        QVERIFY(large.list.width() >= small.list.width());
        QCOMPARE(large.panels, small.panels);
    }

    // The back-test window belongs to the total filter, not to the main
    // window, and still opens below the main window's toolbar.
    void backTestWindowOpensBelowTheToolbar()
    {
        const QString csv = sharedData(QStringLiteral("ssq.csv"));
        if (!QFile::exists(csv))
            QSKIP("ssq.csv is not present");
        for (const QString& name : {QStringLiteral("small"), QStringLiteral("large")}) {
            QScreen* screen = screenNamed(name);
            QVERIFY(screen);
            TempHome home;
            DialogScript dialogs;
            WindowContext env(5);
            importHistoryFile(DatabaseFile(), QStringLiteral("中国福彩双色球"), csv);
            Tfrmmain main(env.context);
            main.setScreen(screen);
            main.setGeometry(screen->availableGeometry());
            main.show();
            QVERIFY(QTest::qWaitForWindowExposed(&main));
            env.state.OpenLottery(QStringLiteral("中国福彩双色球"), 0, DatabaseFile());
            main.enterOpenedState();
            QWidget* w = main.openToolWindow(QStringLiteral("Tfrmtotalfilt"));
            QVERIFY(w && QTest::qWaitForWindowExposed(w));
            w->findChild<QCheckBox*>("chkhei")->setChecked(true);
            w->findChild<QComboBox*>("comhei1")->setCurrentText(QStringLiteral("80"));
            w->findChild<QComboBox*>("comhei2")->setCurrentText(QStringLiteral("130"));
            w->findChild<QPushButton*>("btnhuice")->click();
            QWidget* huice = w->findChild<QWidget*>("frmhuice");
            QVERIFY(huice && QTest::qWaitForWindowExposed(huice));
            const QToolBar* bar = main.findChild<QToolBar*>("tlbmain");
            const QRect toolbar(bar->mapToGlobal(QPoint(0, 0)), bar->size());
            QVERIFY2(huice->frameGeometry().top() > toolbar.bottom(),
                     qPrintable(QStringLiteral("%1: %2 vs %3")
                                    .arg(name)
                                    .arg(huice->frameGeometry().top())
                                    .arg(toolbar.bottom())));
            QVERIFY(screen->geometry().contains(huice->frameGeometry()));
            QVERIFY(dialogs->messages.isEmpty());
        }
    }

    void extraWidthAndHeightGoToTheList()
    {
        TempHome home;
        DialogScript dialogs;
        WindowContext env(5);
        Tfrmmain main(env.context);
        env.state.OpenLottery(QStringLiteral("中国福彩双色球"), 0, DatabaseFile());
        main.enterOpenedState();
        QWidget* w = main.openToolWindow(QStringLiteral("Tfrmtotalfilt"));
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->resize(w->minimumSizeHint());
        QTRY_COMPARE(w->size(), w->minimumSizeHint());
        auto* list = w->findChild<BetListView*>("memcode");
        auto* panels = w->findChild<QGroupBox*>("GroupBox2");
        const QSize list0 = list->size();
        const QSize panels0 = panels->size();
        w->resize(w->width() + 300, w->height() + 120);
        QTRY_COMPARE(list->width(), list0.width() + 300);
        QCOMPARE(list->height(), list0.height() + 120);
        QCOMPARE(panels->size(), panels0);
        // The least size fits a 1366 x 768 screen below a toolbar and a title bar.
        QVERIFY(w->minimumSizeHint().width() <= 1366);
        QVERIFY(w->minimumSizeHint().height() <= 768 - 100 - 30);
    }
};

// Two screens side by side for the offscreen platform.
int main(int argc, char** argv)
{
    const QString config = QDir::temp().filePath(QStringLiteral("zelvor-screens-%1.json").arg(QCoreApplication::applicationPid()));
    {
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(R"({"screens": [
            {"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "dpr": 1},
            {"name": "large", "x": 1366, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    int status = 0;
    {
        QApplication app(argc, argv);
        TotalFilterScreenTest test;
        status = QTest::qExec(&test, argc, argv);
    }
    QFile::remove(config);
    return status;
}

#include "tst_totalfilt_screens.moc"
