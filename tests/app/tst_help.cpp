// The help items: "使用帮助(&C)" and "软件演示" open pages of the manual in the
// desktop's browser; a missing page is named in a message.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

#include "app/u_main.h"
#include "app/window_registry.h"
#include "data/program_dir.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

class HelpTest : public QObject {
    Q_OBJECT

    struct Program : WindowContext {
        Program() : WindowContext(7) {}
        Tfrmmain main{context};
    };

    static void trigger(Tfrmmain& main, const char* name)
    {
        QAction* a = main.findChild<QAction*>(name);
        QVERIFY2(a, name);
        QVERIFY(a->isEnabled());
        a->trigger();
    }

    static void writePage(const TempHome& home, const QString& page)
    {
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("帮助")));
        home.write(QStringLiteral("帮助/") + page, "<html></html>");
    }

private slots:
    void helpItemsOpenTheirPagesWithoutALotteryOpen_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("page");
        QTest::newRow("contents") << "mnuhelpcotent" << QStringLiteral("Zelvor帮助.html");
        QTest::newRow("tour") << "tlbyansi" << QStringLiteral("tour.html");
    }
    void helpItemsOpenTheirPagesWithoutALotteryOpen()
    {
        QFETCH(QString, action);
        QFETCH(QString, page);
        TempHome home;
        writePage(home, page);
        DialogScript dialogs;
        Program p;
        trigger(p.main, action.toLatin1().constData());
        QCOMPARE(dialogs->messages.size(), 0);
        QCOMPARE(dialogs->openedUrls.size(), 1);
        const QUrl url = dialogs->openedUrls.first();
        QVERIFY(url.isLocalFile());
        QCOMPARE(QFileInfo(url.toLocalFile()).canonicalFilePath(),
                 QFileInfo(home.file(QStringLiteral("帮助/") + page)).canonicalFilePath());
    }

    void aMissingPageIsNamedAndNothingIsOpened_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("page");
        QTest::newRow("contents") << "mnuhelpcotent" << QStringLiteral("Zelvor帮助.html");
        QTest::newRow("tour") << "tlbyansi" << QStringLiteral("tour.html");
    }
    void aMissingPageIsNamedAndNothingIsOpened()
    {
        QFETCH(QString, action);
        QFETCH(QString, page);
        TempHome home; // no 帮助 folder at all
        DialogScript dialogs;
        Program p;
        trigger(p.main, action.toLatin1().constData());
        QCOMPARE(dialogs->openedUrls.size(), 0);
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages.first().kind, QStringLiteral("error"));
        QCOMPARE(dialogs->lastText(),
                 QStringLiteral("找不到帮助文件：") + QDir::toNativeSeparators(ProgramDir() + "帮助/" + page));
    }

    void webItemsStillGoToTheDesktopAsAddresses()
    {
        TempHome home;
        home.write(QStringLiteral("附属/settings.ini"), "[web]\nhome=http://example.test/index.asp\n");
        DialogScript dialogs;
        Program p;
        trigger(p.main, "mnumyname");
        QCOMPARE(dialogs->messages.size(), 0);
        QCOMPARE(dialogs->openedUrls, QList<QUrl>{QUrl(QStringLiteral("http://example.test/index.asp"))});
    }

    // The shipped manual: the pages both items open exist in the staged
    // program tree, and every page and picture a page links to is there.
    void theShippedManualHasBothPagesAndNoBrokenLinks()
    {
        const QDir help(QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/帮助"));
        QVERIFY(QFileInfo::exists(help.filePath(QStringLiteral("Zelvor帮助.html"))));
        QVERIFY(QFileInfo::exists(help.filePath(QStringLiteral("tour.html"))));
        const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)(?:#[^\"]*)?\""));
        int pages = 0;
        for (const QString& name : help.entryList({QStringLiteral("*.html")}, QDir::Files)) {
            QFile f(help.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll());
            QVERIFY2(!text.contains(QStringLiteral("<script"), Qt::CaseInsensitive), qPrintable(name));
            auto it = link.globalMatch(text);
            while (it.hasNext()) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFileInfo::exists(help.filePath(target)), qPrintable(name + " → " + target));
            }
            ++pages;
        }
        QVERIFY(pages > 10);
    }

    // Every window the program can open has its place in the manual's table
    // of windows, so a new window cannot be left out unnoticed.
    void everyWindowIsListedInTheContents()
    {
        QFile f(QStringLiteral(ZELVOR_BIN_DIR) + QStringLiteral("/帮助/Zelvor帮助.html"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString contents = QString::fromUtf8(f.readAll());
        QStringList classes = toolWindowClasses();
        for (int tab = 0; tab < 10; ++tab)
            classes << childWindowClass(tab);
        classes << QStringLiteral("Tfrmindex") << QStringLiteral("Tfrmdata") << QStringLiteral("Tfrmabout");
        for (const QString& cls : classes) {
            const QRegularExpression listed(QStringLiteral("<code>[^<]*\\b%1\\b[^<]*</code>").arg(cls));
            QVERIFY2(contents.contains(listed), qPrintable(cls));
        }
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
