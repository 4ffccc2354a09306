// The busy section of a window: whatever way it ends, the window is usable again.
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <stdexcept>

#include "ui/busy_scope.h"
#include "support/fake_dialogs.h"
#include "ui/errors.h"

using namespace zelvor;
using namespace zelvor::testing;

class TestBusyScope : public QObject {
    Q_OBJECT
private slots:
    void restoresTheWindowOnEveryExit_data()
    {
        QTest::addColumn<bool>("throws");
        QTest::newRow("normal end") << false;
        QTest::newRow("thrown error") << true;
    }

    void restoresTheWindowOnEveryExit()
    {
        QFETCH(bool, throws);
        DialogScript dialogs;
        QWidget window;
        auto* run = new QPushButton("run", &window);
        auto* off = new QPushButton("off", &window);
        off->setEnabled(false); // disabled before: stays disabled after
        auto* bar = new QProgressBar(&window);
        bar->hide();
        window.show();
        bool running = false;
        bool seenBusy = false;
        const bool finished = guarded([&] {
            BusyScope busy(&window, running, {run, off}, bar);
            seenBusy = running && !run->isEnabled() && !bar->isHidden() && QGuiApplication::overrideCursor();
            if (throws)
                throw std::runtime_error("out of memory");
        });
        QCOMPARE(finished, !throws);
        // The error reached the general error display, once.
        QCOMPARE(dialogs->messages.size(), throws ? 1 : 0);
        QVERIFY(seenBusy);
        QVERIFY(!running);
        QVERIFY(run->isEnabled());
        QVERIFY(!off->isEnabled());
        QVERIFY(bar->isHidden());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestBusyScope)
#include "tst_busy_scope.moc"
