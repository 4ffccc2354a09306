// "回测" of the total filter: the ticked ranges as they stand, replayed on the
// recent draws, shown in the back-test window.
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "filter/u_huice.h"
#include "filter/u_totalfilt.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bar_chart.h"
#include "ui/busy_scope.h"
#include "ui/bet_list_view.h"
#include "ui/history_grid.h"
#include "ui/number_panels.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

// 2003001 01..06, 2003002 07..12, 2003003 03 09 16 22 30 33.
struct Fixture : WindowContext {
    Fixture() : WindowContext(TwoColourBall(), threeDraws(), 11) { w = std::make_unique<Tfrmtotalfilt>(context); }
    template <class T> T* get(QWidget* in, const char* name) const
    {
        T* c = in->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    void range(const char* check, const char* lower, const QString& lo, const char* upper, const QString& hi) const
    {
        get<QCheckBox>(w.get(), check)->setChecked(true);
        get<QComboBox>(w.get(), lower)->setCurrentText(lo);
        get<QComboBox>(w.get(), upper)->setCurrentText(hi);
    }
    void backtest() const { QTest::mouseClick(get<QPushButton>(w.get(), "btnhuice"), Qt::LeftButton); }
    QString label(const char* name) const { return get<QLabel>(w->huice(), name)->text(); }

    TempHome home;
    DialogScript dialogs;
    std::unique_ptr<Tfrmtotalfilt> w;
};

} // namespace

class BacktestWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsEachDrawTheLossesAndTheShares()
    {
        Fixture f;
        f.w->show();
        auto* button = f.get<QPushButton>(f.w.get(), "btnhuice");
        QCOMPARE(button->text(), QStringLiteral("回测"));
        f.range("chkdashu", "comdaxiao1", "0", "comdaxiao2", "3");
        f.range("chkpiandu", "compiandu1", "0", "compiandu2", "10");
        f.backtest();
        QVERIFY2(f.dialogs->messages.isEmpty(), qPrintable(f.dialogs->texts().join('|')));
        Tfrmhuice* h = f.w->huice();
        QVERIFY(h && h->isVisible());
        QCOMPARE(h->windowTitle(), QStringLiteral("条件回测"));

        // 2003003 has four numbers of 16..33 and lies 21 from 2003002.
        HistoryGrid* grid = h->grid();
        QCOMPARE(grid->rowCount(), 3);
        const QStringList expected[] = {{"期号", "号码", "结果"},
                                        {"2003002", "07 08 09 10 11 12", "通过"},
                                        {"2003003", "03 09 16 22 30 33", "大数、偏度"}};
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                QCOMPARE(grid->cellText(column, row), expected[row][column]);

        // Big 0..3 keeps 639184 of 1107568 (57.7%); 0.5 / 0.5771 = 0.87.
        QCOMPARE(f.label("lblpass"), QStringLiteral("通过：1/2期（50.0%）"));
        QCOMPARE(f.label("lblkept"), QStringLiteral("保留：639184/1107568注（57.7%）"));
        QCOMPARE(f.label("lblxiaolv"), QStringLiteral("效率：0.87"));

        QTableWidget* fails = h->failTable();
        QCOMPARE(fails->rowCount(), 2);
        QCOMPARE(fails->item(0, 0)->text(), QStringLiteral("大数"));
        QCOMPARE(fails->item(0, 1)->text(), QStringLiteral("0到3"));
        QCOMPARE(fails->item(0, 2)->text(), QStringLiteral("1"));
        QCOMPARE(fails->item(1, 0)->text(), QStringLiteral("偏度"));
        QCOMPARE(fails->item(1, 2)->text(), QStringLiteral("1"));
        QCOMPARE(h->chart()->categories(), QStringList({"大数", "偏度"}));
        QBarSet* bars = h->chart()->barSet("Series1");
        QVERIFY(bars);
        QCOMPARE(bars->count(), 2);
        QCOMPARE(bars->at(0), 1.0);
        QCOMPARE(bars->at(1), 1.0);

        // The filter's own state is left as it was: ticks, no list, start from all.
        QVERIFY(f.get<QCheckBox>(f.w.get(), "chkdashu")->isChecked());
        QVERIFY(f.w->startFromAll());
        QVERIFY(button->isEnabled());
    }

    void recentDrawsAreChosenInTheBacktestWindow()
    {
        Fixture f;
        f.range("chkhei", "comhei1", "60", "comhei2", "120");
        f.backtest();
        Tfrmhuice* h = f.w->huice();
        QVERIFY(h);
        // 2003002 sums to 57.
        QCOMPARE(h->grid()->cellText(2, 1), QStringLiteral("和值"));
        auto* recent = f.get<QComboBox>(h, "comqishu");
        QCOMPARE(recent->currentText(), QStringLiteral("100"));

        recent->setCurrentText("1");
        QTest::mouseClick(f.get<QPushButton>(h, "btnhuice"), Qt::LeftButton);
        QCOMPARE(h->grid()->rowCount(), 2);
        QCOMPARE(h->grid()->cellText(0, 1), QStringLiteral("2003003"));
        QCOMPARE(f.label("lblpass"), QStringLiteral("通过：1/1期（100.0%）"));

        recent->setCurrentText(QStringLiteral("全部"));
        QTest::mouseClick(f.get<QPushButton>(h, "btnhuice"), Qt::LeftButton);
        QCOMPARE(h->grid()->rowCount(), 3);

        // The window's "回测" takes the filter's ranges as they stand now.
        f.range("chkhei", "comhei1", "50", "comhei2", "120");
        QTest::mouseClick(f.get<QPushButton>(h, "btnhuice"), Qt::LeftButton);
        QCOMPARE(f.label("lblpass"), QStringLiteral("通过：2/2期（100.0%）"));

        for (const char* text : {"0", "1x"}) {
            recent->setCurrentText(text);
            QTest::mouseClick(f.get<QPushButton>(h, "btnhuice"), Qt::LeftButton);
        }
        QCOMPARE(f.dialogs->texts(), QStringList({"回测期数至少为1期！", "“1x”不是有效的整数。"}));
        QCOMPARE(h->grid()->rowCount(), 3);
    }

    void rangesTheFilterRefusesAreRefusedWithItsMessages()
    {
        Fixture f;
        f.backtest();
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("请选择过滤条件！"));
        QVERIFY(!f.w->huice());
        f.range("chkhei", "comhei1", "120", "comhei2", "90");
        f.backtest();
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("请前面组合框中的数值应该小于等于后面组合框中的数值！"));
        QVERIFY(!f.w->huice());
    }

    void aFilteredSetStaysAsItIs()
    {
        Fixture f;
        f.range("chkhei", "comhei1", "90", "comhei2", "110");
        f.w->bluePanels()->choose({7});
        QTest::mouseClick(f.get<QPushButton>(f.w.get(), "btnfilt"), Qt::LeftButton);
        QVERIFY(!f.w->startFromAll());
        const std::int64_t kept = f.state.AllCombinations().countKept();
        const QString count = f.get<QLabel>(f.w.get(), "lblcode")->text();

        // The back-test counts from all combinations: span 5..32 keeps all.
        f.range("chkkuadu", "comkuadu1", "5", "comkuadu2", "32");
        f.backtest();
        QCOMPARE(f.label("lblkept"), QStringLiteral("保留：1107568/1107568注（100.0%）"));
        QCOMPARE(f.state.AllCombinations().countKept(), kept);
        QCOMPARE(f.get<QLabel>(f.w.get(), "lblcode")->text(), count);
        QVERIFY(!f.w->startFromAll());
    }

    void closedForGoodWhileCountingStopsTheCount()
    {
        Fixture f;
        f.range("chkhei", "comhei1", "60", "comhei2", "120");
        // As closing the lottery does: retired from inside the count's event pump.
        QPointer<Tfrmtotalfilt> alive(f.w.release());
        bool retiredDuringRun = false;
        QTimer::singleShot(0, alive.data(), [&] {
            retiredDuringRun = alive && alive->isRunning();
            retireWindow(alive);
        });
        QTest::mouseClick(alive->findChild<QPushButton*>("btnhuice"), Qt::LeftButton);
        QVERIFY(retiredDuringRun);
        QVERIFY(alive);
        QVERIFY(!alive->isRunning());
        QVERIFY(!alive->huice() || !alive->huice()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);
        QVERIFY(f.dialogs->messages.isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(BacktestWindowTest)
#include "tst_huice.moc"
