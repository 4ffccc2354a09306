// The history bar chart: a readable value scale whatever came before, and no
// axis left over from an earlier chart when there is nothing to plot.
#include <QBarCategoryAxis>
#include <QValueAxis>
#include <QtTest>

#include "ui/bar_chart.h"

using namespace zelvor;

namespace {

BarSetData series(const QVector<int>& values, bool visible = true)
{
    return BarSetData{"Series1", QStringLiteral("和值"), QColor(Qt::red), values, visible};
}

QStringList issues(int n)
{
    QStringList c;
    for (int i = 0; i < n; ++i)
        c << QString::number(2003001 + i);
    return c;
}

} // namespace

class BarChartTest : public QObject {
    Q_OBJECT

private slots:
    void valueAxisHasAtLeastFourTicksAfterAnyChart()
    {
        // Each chart is drawn after the one before it in the same view, as the
        // windows redraw: small counts, zeros, then sums.
        struct Case {
            QVector<int> values;
            bool marks;
            int leastMax; // the tallest bar must fit
        } cases[] = {
            {{3, 1, 2}, false, 3},
            {{0, 0, 0}, false, 0},
            {{150, 98, 120}, false, 150},
            {{183, 21, 100}, true, 183},
            {{11, 12, 12}, false, 12},
            {{0}, true, 0},
            {{102, 99, 101}, false, 102},
            {{1500, 200}, false, 1500},
        };
        BarChart chart;
        chart.resize(600, 400);
        for (const Case& c : cases) {
            chart.setBars(issues(c.values.size()), {series(c.values)}, c.marks);
            QValueAxis* axis = chart.valueAxis();
            QVERIFY2(axis->tickCount() >= 4, qPrintable(QString::number(axis->tickCount())));
            QCOMPARE(axis->min(), 0.0);
            QVERIFY(axis->max() >= c.leastMax);
            // Ticks stand on whole numbers.
            const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
            QCOMPARE(step, std::round(step));
        }
    }

    void nothingToPlotClearsTheCategoryAxis()
    {
        BarChart chart;
        chart.setBars(issues(3), {series({5, 6, 7})}, false);
        QCOMPARE(chart.categoryAxis()->categories().size(), 3);

        struct Case {
            const char* what;
            QStringList categories;
            QList<BarSetData> sets;
        } cases[] = {
            {"no rows", {}, {series({})}},
            {"every set hidden", issues(3), {series({5, 6, 7}, false)}},
            {"no sets", issues(3), {}},
        };
        for (const Case& c : cases) {
            chart.setBars(issues(3), {series({5, 6, 7})}, false);
            chart.setBars(c.categories, c.sets, false);
            QVERIFY2(chart.categoryAxis()->categories().isEmpty(), c.what);
            QVERIFY2(chart.categories().isEmpty(), c.what);
            QCOMPARE(chart.barCount(), 0);
            QVERIFY(chart.valueAxis()->tickCount() >= 4);
        }
    }
};

QTEST_MAIN(BarChartTest)
#include "tst_bar_chart.moc"
