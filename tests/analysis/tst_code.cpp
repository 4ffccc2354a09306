// The trend window: layout of the grid, newest draw on top, trend switches.
#include <QtTest>

#include "analysis/u_code.h"
#include "app/u_main.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/trend_grid.h"

using namespace zelvor;
using namespace zelvor::testing;

class TrendWindowTest : public QObject {
    Q_OBJECT

    static QString g(Tfrmcode& w, int row) { return w.grid()->cellText(1, row); }

    static DrawHistory smallHistory() { return windowDraws(3); }

private slots:
    void gridLayoutOfBothKnownLotteries()
    {
        struct Case {
            LotteryParams lottery;
            int columns;
            QString lastHeader;
        } cases[] = {{{"中国福彩双色球", LotteryKind::Lotto, 33, 6, 16, 1}, 53, "16"},
                     {{"中国香港六合彩", LotteryKind::Lotto, 49, 7, 0, 0}, 53, ""},
                     {{"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0}, 14, ""}};
        for (const Case& c : cases) {
            WindowContext env(c.lottery, DrawHistory(c.lottery.pickCount, c.lottery.specialCount));
            Tfrmcode w(env.context);
            w.resize(1200, 600);
            TrendGrid* g = w.grid();
            QCOMPARE(g->columnCount(), c.columns);
            QCOMPARE(g->rowCount(), 1); // header only for D = 0
            QCOMPARE(g->cellText(0, 0), QStringLiteral("记录期号"));
            QCOMPARE(g->cellText(1, 0), QStringLiteral("开奖号码"));
            QCOMPARE(g->cellText(2, 0), QString());
            QCOMPARE(g->cellText(c.columns - 1, 0), c.lastHeader);
            QCOMPARE(g->columnWidth(2), 8);
        }
    }

    void gridFillsTheWindowWidthAndItsEmptyAreaHasTheGridColour()
    {
        struct Case {
            LotteryParams lottery;
            int width;
        } cases[] = {{TwoColourBall(), 1366}, {TwoColourBall(), 1920}, {MarkSix(), 1366}};
        for (const Case& c : cases) {
            WindowContext env(c.lottery, c.lottery.specialCount ? smallHistory() : DrawHistory(7, 0));
            Tfrmcode w(env.context);
            w.resize(c.width, 500);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            TrendGrid* g = w.grid();
            int total = 0;
            for (int col = 0; col < g->columnCount(); ++col)
                total += g->columnWidth(col);
            // The last column ends at the right edge: no band beside it.
            QCOMPARE(total, g->viewport()->width());
            // Number columns differ by at most one pixel.
            int narrowest = 1 << 20, widest = 0;
            for (int col = 3; col < g->columnCount(); ++col)
                if (col != trendLayout(c.lottery).specialSeparator) {
                    narrowest = std::min(narrowest, g->columnWidth(col));
                    widest = std::max(widest, g->columnWidth(col));
                }
            QVERIFY(widest - narrowest <= 1);
            // Below the last draw the grid shows its own colour, not white.
            const QImage shot = g->viewport()->grab().toImage();
            const QColor below = shot.pixelColor(g->columnWidth(0) / 2, shot.height() - 3);
            QCOMPARE(below, g->palette().color(QPalette::ToolTipBase));
            QVERIFY(below != QColor(Qt::white));
        }
    }

    void newestDrawOnTopInStoredOrder()
    {
        WindowContext env(TwoColourBall(), smallHistory());
        Tfrmcode w(env.context);
        TrendGrid* g = w.grid();
        QCOMPARE(g->rowCount(), 4);
        QCOMPARE(g->cellText(0, 1), QStringLiteral("2003003"));
        QCOMPARE(g->cellText(0, 2), QStringLiteral("2003002"));
        QCOMPARE(g->cellText(1, 2), QStringLiteral("05 03 22 17 09 30 + 11"));
        QCOMPARE(g->cellText(3, 3), QString()); // separator never marked
        QCOMPARE(g->cellText(3 + 9, 3), QStringLiteral("●"));  // number 10 of 2003001
        QCOMPARE(g->cellText(37 + 10, 3), QStringLiteral("●")); // blue 11: column N + 4 + 10
        QCOMPARE(g->cellColour(5, 1), QColor(150, 150, 100));
        QCOMPARE(g->cellColour(40, 1), QColor(100, 150, 150));
        QCOMPARE(g->cellColour(36, 1), QColor(100, 100, 100));
    }

    void variableTrendChangesRedsAndKeepsBlues()
    {
        WindowContext env(TwoColourBall(), smallHistory(), 11);
        LotteryState& state = env.state;
        Random& random = env.random;
        Tfrmcode w(env.context);
        const QString standard = w.grid()->cellText(1, 2);
        QCOMPARE(standard, QStringLiteral("05 03 22 17 09 30 + 11"));
        state.BuildVariableTrend(random);
        w.trendChanged(TrendMode::Variable);
        const QString first = w.grid()->cellText(1, 2);
        QVERIFY(first.endsWith(QStringLiteral(" + 11")));
        // Six ascending ranks.
        const QStringList reds = first.left(17).split(' ');
        QCOMPARE(reds.size(), 6);
        for (int i = 1; i < 6; ++i)
            QVERIFY(reds[i].toInt() > reds[i - 1].toInt());
        // Each press draws a new view; views may repeat by chance, so allow a few presses.
        auto view = [&] { return g(w, 1) + "|" + g(w, 2) + "|" + g(w, 3); };
        const QString firstView = view();
        bool changed = false;
        for (int i = 0; i < 5 && !changed; ++i) {
            state.BuildVariableTrend(random);
            w.trendChanged(TrendMode::Variable);
            changed = view() != firstView;
        }
        QVERIFY(changed);
        QCOMPARE(g(w, 2).right(5), QStringLiteral(" + 11"));
        // Back to the standard view: the stored numbers again, in stored order.
        state.BuildStandardTrend();
        w.trendChanged(TrendMode::Standard);
        QCOMPARE(g(w, 2), standard);
        QCOMPARE(g(w, 1), QStringLiteral("01 07 10 23 28 32 + 16"));
    }
};

QTEST_MAIN(TrendWindowTest)
#include "tst_code.moc"
