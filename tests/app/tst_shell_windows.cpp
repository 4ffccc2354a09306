// The splash and about windows, and backup and restore from the main window.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/u_about.h"
#include "app/u_flash.h"
#include "app/u_main.h"
#include "data/db_lottery.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

class ShellWindowsTest : public QObject {
    Q_OBJECT

    static QString text(QWidget& w, const char* label) { return w.findChild<QLabel*>(label)->text(); }
    static int rows(const TempHome& home)
    {
        return home.count(QStringLiteral("select count(*) from 中国福彩双色球彩票号码表"));
    }

private slots:
    void splashShowsItsLinesAndClosesAfterFiveTicks()
    {
        TempHome home;
        home.write(QStringLiteral("附属/flash.txt"), "出品一\n第二行\n网址\nQQ\n邮箱\n电话\n");
        QFile::copy(QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/图片/flash.jpg"),
                    home.file(QStringLiteral("图片/flash.jpg")));
        Tfrmflash w;
        QVERIFY(w.missingFiles().isEmpty());
        QCOMPARE(text(w, "Label1"), QStringLiteral("Zelvor"));
        QCOMPARE(text(w, "lblshiyong"), QStringLiteral("适用：中国福彩双色球"));
        QCOMPARE(text(w, "lblchuping"), QStringLiteral("出品一"));
        QCOMPARE(text(w, "lblweb"), QStringLiteral("网址"));
        QCOMPARE(text(w, "lblqq"), QStringLiteral("QQ"));
        QCOMPARE(text(w, "lblmail"), QStringLiteral("邮箱"));
        QCOMPARE(text(w, "lblphone"), QStringLiteral("电话"));
        QVERIFY(!w.findChild<QLabel*>("Image1")->pixmap().isNull());
        for (int i = 0; i < 4; ++i)
            w.Timer1Timer();
        QCOMPARE(w.result(), 0);
        w.show();
        w.Timer1Timer();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(!w.isVisible());
    }

    void splashClosesOnAClickAndReportsMissingFiles()
    {
        TempHome home;
        Tfrmflash w;
        QCOMPARE(w.missingFiles().size(), 2);
        QCOMPARE(text(w, "lblshiyong"), QStringLiteral("适用：中国福彩双色球"));
        w.show();
        QTest::mouseClick(&w, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void aboutIsMadeOnceWithItsSevenLines()
    {
        TempHome home;
        DialogScript dialogs;
        home.write(QStringLiteral("附属/about.txt"), "l1\nl2\nl3\nl4\nl5\nl6\nl7\n");
        WindowContext c;
        Tfrmmain main(c.context);
        main.findChild<QAction*>("mnuhelpabout")->trigger();
        QDialog* about = qobject_cast<QDialog*>(main.aboutWindow());
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("关于本程序"));
        QCOMPARE(text(*about, "Label1"), QStringLiteral("Zelvor12.0版"));
        const char* labels[] = {"lblauthor", "lblbanquan", "lblweb", "lblqq", "lblphone1", "lblphone2", "lblmail"};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(text(*about, labels[i]), QStringLiteral("l%1").arg(i + 1));
        QVERIFY(!about->findChild<QLabel*>("Image1")->pixmap().isNull());
        QVERIFY(dialogs->messages.isEmpty());
        about->findChild<QPushButton*>("btnclose")->click();
        main.findChild<QAction*>("mnuhelpabout")->trigger();
        QCOMPARE(main.aboutWindow(), about);
    }

    void aboutWithoutItsFileReportsIt()
    {
        TempHome home;
        DialogScript dialogs;
        WindowContext c;
        Tfrmmain main(c.context);
        main.mnuhelpaboutClick();
        QVERIFY(dialogs->lastText().contains(QStringLiteral("about.txt")));
        QCOMPARE(text(*main.aboutWindow(), "Label1"), QStringLiteral("Zelvor12.0版"));
    }

    void backupThenRestoreBringsBackThatMoment()
    {
        TempHome home;
        DialogScript dialogs;
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026100',1,2,3,4,5,6,7,'2026-12-6')")});
        WindowContext c;
        Tfrmmain main(c.context);
        dialogs->saveAnswers << home.file("copy.mdb");
        main.findChild<QAction*>("mnubackupdata")->trigger();
        QCOMPARE(dialogs->lastText(), QStringLiteral("成功备份！"));
        QVERIFY(dialogs->proposedNames.last().endsWith(QStringLiteral("|彩票数据")));
        home.exec({QStringLiteral("insert into 中国福彩双色球彩票号码表 values ('2026101',1,2,3,4,5,6,7,'2026-12-8')")});

        // A text file is refused; the database and the safety copy stay.
        home.write(QStringLiteral("数据库/彩票数据.mdb.bak"), "earlier");
        dialogs->openAnswers << home.write("notes.mdb", "just text\r\n");
        main.findChild<QAction*>("mnustoredata")->trigger();
        QCOMPARE(dialogs->messages.last().kind, QStringLiteral("error"));
        QCOMPARE(rows(home), 2);
        QFile safety(home.database() + ".bak");
        QVERIFY(safety.open(QIODevice::ReadOnly));
        QCOMPARE(safety.readAll(), QByteArray("earlier"));
        safety.close();

        dialogs->openAnswers << home.file("copy.mdb");
        main.findChild<QAction*>("mnustoredata")->trigger();
        QCOMPARE(dialogs->lastText(), QStringLiteral("成功恢复！"));
        QCOMPARE(rows(home), 1);

        // A backup into a folder that does not exist is reported.
        dialogs->saveAnswers << home.file("no/such/folder/copy.mdb");
        main.findChild<QAction*>("mnubackupdata")->trigger();
        QCOMPARE(dialogs->messages.last().kind, QStringLiteral("error"));
        QVERIFY(!dialogs->lastText().contains(QStringLiteral("成功")));
    }

    void editorAndDownloadOpenFromTheMenus()
    {
        TempHome home;
        DialogScript dialogs;
        WindowContext c;
        Tfrmmain main(c.context);
        main.findChild<QAction*>("tlbdata")->trigger();
        QVERIFY(main.dataEditor());
        QCOMPARE(main.dataEditor()->windowTitle(), QStringLiteral("彩票数据"));
        main.dataEditor()->close();
        QTRY_VERIFY(!main.dataEditor());
        main.findChild<QAction*>("mnudownload")->trigger();
        QVERIFY(main.downloadWindow());
        QCOMPARE(main.downloadWindow()->windowTitle(), QStringLiteral("数据下载"));
        main.downloadWindow()->close();
    }
};

QTEST_MAIN(ShellWindowsTest)
#include "tst_shell_windows.moc"
