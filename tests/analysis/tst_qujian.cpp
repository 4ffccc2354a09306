// The zone analysis window: zone count and headers, counts per draw, series
// visibility, and a zone count changed before "开始统计".
#include <QtTest>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <memory>

#include "ui/history_grid.h"
#include "analysis/u_qujian.h"
#include "app/window_registry.h"
#include "common/format.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/window_context.h"
#include "ui/bar_chart.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

const LotteryParams kSsq{"中国福彩双色球", LotteryKind::Lotto, 33, 6, 16, 1};

DrawHistory fixture() { return windowDraws(); }

struct Harness : WindowContext {
    std::unique_ptr<Tfrmqujian> window;

    explicit Harness(const DrawHistory& h, const LotteryParams& lottery = kSsq) : WindowContext(lottery, h, 3)
    {
        window.reset(qobject_cast<Tfrmqujian*>(childWindowFactory(9)(context, nullptr)));
    }
};

QStringList row(const HistoryGrid& g, int r)
{
    QStringList cells;
    for (int c = 2; c < g.columnCount(); ++c)
        cells << g.cellText(c, r);
    return cells;
}

QList<int> values(const QBarSet* set)
{
    QList<int> v;
    for (int i = 0; set && i < set->count(); ++i)
        v << static_cast<int>(set->at(i));
    return v;
}

} // namespace

class ZoneWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithKZonesAndCountsEachDraw()
    {
        DialogScript dialogs;
        Harness t(fixture());
        Tfrmqujian& w = *t.window;
        QCOMPARE(QString(w.metaObject()->className()), QStringLiteral("zelvor::Tfrmqujian"));
        QCOMPARE(w.windowTitle(), QStringLiteral("区间分析"));
        QCOMPARE(w.zoneCount(), 6);
        QCOMPARE(w.zoneCountBox()->count(), 7);
        QCOMPARE(w.zoneCountBox()->currentText(), QStringLiteral("6"));
        QCOMPARE(w.findChild<QPushButton*>("btntongji")->text(), QStringLiteral("开始统计"));
        QCOMPARE(w.findChild<QComboBox*>("comzuijingqishu")->currentText(), QStringLiteral("3"));

        HistoryGrid& g = *w.grid();
        QCOMPARE(g.columnCount(), 8);
        QCOMPARE(g.rowCount(), 5);
        QStringList header;
        for (int c = 0; c < g.columnCount(); ++c)
            header << g.cellText(c, 0);
        QCOMPARE(header, QStringList({"记录期号", "开奖号码", "01-06号码总数", "07-12号码总数", "13-18号码总数",
                                      "19-24号码总数", "25-30号码总数", "31-33号码总数"}));
        QCOMPARE(g.cellText(1, 4), QStringLiteral("01 07 12 20 25 33 "));
        QCOMPARE(row(g, 4), QStringList({"1", "2", "0", "1", "1", "1"}));
        QCOMPARE(row(g, 2), QStringList({"2", "1", "1", "1", "1", "0"})); // 05 03 22 17 09 30

        // Only the first zone is ticked, so only Series1 is drawn.
        for (int z = 0; z < 7; ++z) {
            QCOMPARE(w.zoneBox(z)->text(), QString::number(z + 1) + QStringLiteral("区间"));
            QCOMPARE(w.zoneBox(z)->isChecked(), z == 0);
        }
        BarChart& chart = *w.chart();
        QCOMPARE(chart.title(), QStringLiteral("最近各期区间图表"));
        QCOMPARE(chart.visibleSetNames(), QStringList({"Series1"}));
        QCOMPARE(chart.categories(), QStringList({"2003002", "2003003", "2003004"}));
        QCOMPARE(chart.barSet("Series1")->label(), QStringLiteral("1区号码数"));
        QCOMPARE(values(chart.barSet("Series1")), QList<int>({2, 1, 1}));

        // Ticking zone 2 draws it at once (07-12: 09 | 07 10 | 07 12), in green.
        QTest::mouseClick(w.zoneBox(1), Qt::LeftButton);
        QCOMPARE(chart.visibleSetNames(), QStringList({"Series1", "Series2"}));
        QCOMPARE(values(chart.barSet("Series2")), QList<int>({1, 2, 2}));
        QCOMPARE(chart.barSet("Series2")->label(), QStringLiteral("2区号码数"));
        QCOMPARE(chart.barSet("Series2")->color(), QColor(0, 128, 0));
        QTest::mouseClick(w.marksBox(), Qt::LeftButton);
        QVERIFY(chart.marksVisible());
        QVERIFY(dialogs->messages.isEmpty());
    }

    void zoneCountTakesEffectAtStart()
    {
        struct Case {
            int item; // index in comqujian
            QStringList header2; // first and last zone headers
            QStringList newest;  // zone counts of 01 07 12 20 25 33
        } cases[] = {
            {6, {"01-05号码总数", "31-33号码总数"}, {"1", "1", "1", "1", "1", "0", "1"}},
            {0, {"01-33号码总数", "01-33号码总数"}, {"6"}},
        };
        for (const Case& c : cases) {
            Harness t(fixture());
            Tfrmqujian& w = *t.window;
            for (int z = 0; z < 7; ++z)
                w.zoneBox(z)->setChecked(true);
            w.zoneCountBox()->setCurrentIndex(c.item);
            QCOMPARE(w.zoneCount(), c.item + 1);
            // Nothing recomputed yet; a redraw keeps to the six zones of the table.
            QCOMPARE(w.grid()->columnCount(), 8);
            QTest::mouseClick(w.marksBox(), Qt::LeftButton);
            QCOMPARE(w.chart()->visibleSetNames().size(), 6);

            w.startButton()->click();
            HistoryGrid& g = *w.grid();
            QCOMPARE(g.columnCount(), c.newest.size() + 2);
            QCOMPARE(g.cellText(2, 0), c.header2[0]);
            QCOMPARE(g.cellText(g.columnCount() - 1, 0), c.header2[1]);
            QCOMPARE(row(g, 4), c.newest);
            QCOMPARE(w.chart()->visibleSetNames().size(), static_cast<int>(c.newest.size()));
            if (c.item == 0) { // one zone always holds all k numbers
                for (int r = 1; r < g.rowCount(); ++r)
                    QCOMPARE(g.cellText(2, r), QStringLiteral("6"));
                QCOMPARE(values(w.chart()->barSet("Series1")), QList<int>({6, 6, 6}));
            } else {
                QCOMPARE(w.analysis().zoneWidth, 5);
                QCOMPARE(w.chart()->barSet("Series5")->borderColor(), QColor(Qt::darkGray)); // white bars
            }
        }
    }

    void trendSwitchUsesItsViewAndStartReturnsToStandard()
    {
        Harness t(fixture());
        Tfrmqujian& w = *t.window;
        t.state.BuildVariableTrend(t.random);
        auto numbers = [&] {
            QStringList cells;
            for (int r = 1; r < w.grid()->rowCount(); ++r)
                cells << w.grid()->cellText(1, r);
            return cells;
        };
        const QStringList standard = numbers();
        w.trendChanged(TrendMode::Variable);
        const QStringList variable = numbers();
        QVERIFY(variable != standard);
        QCOMPARE(variable[3], QString::fromStdString(numbersWithBlanks(t.state.VariableHistory().main(3))));
        w.startButton()->click();
        QCOMPARE(numbers(), standard);
    }

    void digitLotteryZonesAreDigits()
    {
        DrawHistory h(3, 0);
        const int draws[][3] = {{0, 0, 9}, {0, 2, 3}, {4, 7, 8}};
        int issue = 2004001;
        for (const auto& d : draws)
            h.append(issue++, std::span<const int>(d, 3));
        Harness t(h, {"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0});
        Tfrmqujian& w = *t.window;
        HistoryGrid& g = *w.grid();
        // k = 3 zones of width 4 over the digits 0..9; 0 counts in the first.
        QCOMPARE(g.columnCount(), 5);
        QCOMPARE(g.cellText(2, 0), QStringLiteral("0-3号码总数"));
        QCOMPARE(g.cellText(3, 0), QStringLiteral("4-7号码总数"));
        QCOMPARE(g.cellText(4, 0), QStringLiteral("8-9号码总数"));
        QCOMPARE(g.cellText(1, 1), QStringLiteral("00 00 09 "));
        QCOMPARE(row(g, 1), QStringList({"2", "0", "1"}));
        QCOMPARE(row(g, 2), QStringList({"3", "0", "0"}));
        QCOMPARE(row(g, 3), QStringList({"0", "2", "1"}));
    }

    void refusedRecentCountAndNoZoneLeaveNoStaleAxis()
    {
        DialogScript dialogs;
        Harness t(fixture());
        Tfrmqujian& w = *t.window;
        w.recentCountBox()->setEditText(QStringLiteral("-5"));
        QVERIFY(!w.comzuijingqishuChange());
        QCOMPARE(dialogs->texts(), QStringList({QStringLiteral("最近期数必须大于0！")}));
        QCOMPARE(w.recentCount(), 3);
        w.startButton()->click();
        QCOMPARE(w.chart()->categories(), QStringList({"2003002", "2003003", "2003004"}));

        // Unticking the only shown zone empties the chart, issue labels included.
        w.zoneBox(0)->click();
        QVERIFY(w.chart()->visibleSetNames().isEmpty());
        QVERIFY(w.chart()->categoryAxis()->categories().isEmpty());
        QVERIFY(w.chart()->categories().isEmpty());
        w.zoneBox(0)->click();
        QCOMPARE(w.chart()->categoryAxis()->categories().size(), 3);
    }

    void emptyHistoryAndLargeK()
    {
        DialogScript dialogs;
        Harness empty(DrawHistory(6, 1));
        QCOMPARE(empty.window->grid()->rowCount(), 1);
        QCOMPARE(empty.window->grid()->columnCount(), 8);
        QCOMPARE(empty.window->chart()->barCount(), 0);
        empty.window->startButton()->click();
        empty.window->zoneBox(3)->click();
        QCOMPARE(empty.window->chart()->barCount(), 0);

        // k = 8 has no item of its own: the window opens with seven zones.
        DrawHistory h(8, 0);
        const int x[8] = {1, 5, 9, 13, 17, 21, 25, 29};
        h.append(2020001, std::span<const int>(x, 8));
        Harness wide(h, {"八码", LotteryKind::Lotto, 30, 8, 0, 0});
        QCOMPARE(wide.window->zoneCount(), 7);
        QCOMPARE(wide.window->zoneCountBox()->currentText(), QStringLiteral("7"));
        QCOMPARE(wide.window->grid()->columnCount(), 9);
        QVERIFY(dialogs->messages.isEmpty());
    }
};

QTEST_MAIN(ZoneWindowTest)
#include "tst_qujian.moc"
