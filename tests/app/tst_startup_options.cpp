// The program's own command line.
#include <QtTest>

#include "app/startup_options.h"

using namespace zelvor;

class StartupOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void goodLines_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("open");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("window");
        QTest::newRow("nothing") << QStringList{} << "" << "" << 0 << "";
        QTest::newRow("home") << QStringList{"--home", "/tmp/z"} << "/tmp/z" << "" << 0 << "";
        QTest::newRow("open, tab, window")
            << QStringList{"--open", "中国福彩双色球", "--tab", "9", "--window", "Tfrmtotalfilt"} << ""
            << "中国福彩双色球" << 9 << "Tfrmtotalfilt";
    }
    void goodLines()
    {
        QFETCH(QStringList, args);
        QString error;
        const auto o = parseStartupOptions(QStringList{"zelvor"} + args, error);
        QVERIFY2(o, qPrintable(error));
        QTEST(o->home, "home");
        QTEST(o->openLottery, "open");
        QTEST(o->tab, "tab");
        QTEST(o->window, "window");
    }

    void splashIsSkippedOnlyWithNoSplash()
    {
        QString error;
        QVERIFY(parseStartupOptions({"zelvor"}, error)->splash);
        QVERIFY(!parseStartupOptions({"zelvor", "--no-splash", "--home", "/tmp/z"}, error)->splash);
    }

    // A bad value is named, never silently taken as something else.
    void badLinesAreRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("tab not a number") << QStringList{"--open", "X", "--tab", "x"} << "'x'";
        QTest::newRow("tab out of range") << QStringList{"--open", "X", "--tab", "10"} << "'10'";
        QTest::newRow("no value") << QStringList{"--open"} << "open";
        QTest::newRow("unknown option") << QStringList{"--opne", "X"} << "opne";
        QTest::newRow("stray argument") << QStringList{"X"} << "'X'";
        QTest::newRow("tab without open") << QStringList{"--tab", "3"} << "--open";
        QTest::newRow("unknown window") << QStringList{"--open", "X", "--window", "Tfrmnone"} << "Tfrmnone";
    }
    void badLinesAreRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        QString error;
        QVERIFY(!parseStartupOptions(QStringList{"zelvor"} + args, error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }
};

QTEST_MAIN(StartupOptionsTest)
#include "tst_startup_options.moc"
