// The eight single-metric windows: one table over the family, the recent
// count box, the two sources, scrolling and the empty history.
#include <QtTest>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "analysis/u_metric.h"
#include "app/window_registry.h"
#include "common/error.h"
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

DrawHistory history(std::initializer_list<std::array<int, 7>> draws, int firstIssue = 2003001)
{
    DrawHistory h(6, 1);
    int issue = firstIssue;
    for (const auto& d : draws)
        h.append(issue++, std::span<const int>(d.data(), 6), std::span<const int>(d.data() + 6, 1));
    return h;
}

// Four draws; the newest (01 07 12 20 25 33) has big 3, odd 4, sum 98, span 32,
// dispersion 4 (gaps 12-20, 25-33), skewness 3 (20 from 23), AC 11 and
// repeats 2 (01, 07) against 01 07 10 23 28 32.
DrawHistory fixture() { return windowDraws(); }

// The numbers cell as the grid shows it, written out here rather than taken
// from the core's formatter.
QString numbersText(std::span<const int> x)
{
    QString s;
    for (int v : x)
        s += QString::asprintf("%02d ", v);
    return s;
}

// One window of the family on a history, with its own state.
struct Harness : WindowContext {
    std::unique_ptr<MetricWindow> window;

    explicit Harness(const DrawHistory& h) : WindowContext(kSsq, h, 5) {}
    MetricWindow& open(int tab)
    {
        QWidget* w = childWindowFactory(tab)(context, nullptr);
        window.reset(qobject_cast<MetricWindow*>(w));
        return *window;
    }
};

QStringList gridColumn(const HistoryGrid& g, int column)
{
    QStringList cells;
    for (int r = 1; r < g.rowCount(); ++r)
        cells << g.cellText(column, r);
    return cells;
}

QStringList numbersColumn(const DrawHistory& h)
{
    QStringList cells;
    for (int i = 0; i < h.size(); ++i)
        cells << numbersText(h.main(i));
    return cells;
}

} // namespace

class MetricWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyMemberOpensWithItsCaptionGridSummaryAndChart()
    {
        struct Case {
            int tab;
            const char* className;
            const char* caption;
            const char* title;
            const char* valueTitle;
            const char* newest;
            // Memo values worked by hand for N = 33, k = 6: theoretical most
            // and least, and the total of the last three draws (empty: not checked).
            const char* most;
            const char* least;
            const char* recentTotal;
        } cases[] = {
            {1, "Tfrmdaxiao", "大小分析", "最近各期开奖号码大数个数", "大数个数", "3", "6.0", "0.0", "9.0"},
            {2, "Tfrmjiou", "奇数分析", "最近各期开奖号码奇数个数", "奇数个数", "4", "6.0", "0.0", "11.0"},
            // 86 + 101 + 98
            {3, "Tfrmhei", "和值分析", "最近各期开奖号码和值", "和值", "98", "183.0", "21.0", "285.0"},
            // 27 + 31 + 32
            {4, "Tfrmkuadu", "跨度分析", "最近各期开奖号码跨度", "跨度", "32", "32.0", "5.0", "90.0"},
            // least: f = (32 - 32 mod 5) / 5 = 6, half of it
            {5, "Tfrmsandu", "散度分析", "最近各期开奖号码散度", "散度", "4", "27.0", "3.0", ""},
            // 7 (05 from 10) + 2 + 3
            {6, "Tfrmpiandu", "偏度分析", "最近各期开奖号码偏度", "偏度", "3", "27.0", "0.0", "12.0"},
            // distinct differences: 13 + 13 + 11
            {7, "Tfrmac", "AC值分析", "最近各期开奖号码AC值", "AC值", "11", "15.0", "5.0", "37.0"},
            {8, "Tfrmcongma", "重码分析", "最近各期开奖号码重码个数", "重码个数", "2", "6.0", "0.0", "2.0"},
        };
        DialogScript dialogs;
        const DrawHistory h = fixture();
        for (const Case& c : cases) {
            Harness t(h);
            MetricWindow& w = t.open(c.tab);
            const QString name = QString::fromUtf8(c.className);
            QCOMPARE(QString(w.metaObject()->className()), "zelvor::" + name);
            QCOMPARE(w.windowTitle(), QString::fromUtf8(c.caption));
            for (const char* control : {"Label1", "tabhistory", "chthistory", "GroupBox1", "chkhistorybiao", "Label5",
                                        "mem", "Label6", "comzuijingqishu", "btntongji"})
                QVERIFY2(w.findChild<QWidget*>(control), control);
            QCOMPARE(w.findChild<QPushButton*>("btntongji")->text(), QStringLiteral("重新统计"));
            QCOMPARE(w.findChild<QCheckBox*>("chkhistorybiao")->text(), QStringLiteral("显示标注"));

            HistoryGrid& g = *w.grid();
            QCOMPARE(g.columnCount(), 3);
            QCOMPARE(g.rowCount(), 5);
            QCOMPARE(g.cellText(0, 0), QStringLiteral("记录期号"));
            QCOMPARE(g.cellText(1, 0), QStringLiteral("开奖号码"));
            QCOMPARE(g.cellText(2, 0), QString::fromUtf8(c.valueTitle));
            QCOMPARE(g.cellText(0, 4), QStringLiteral("2003004"));
            QCOMPARE(g.cellText(1, 4), QStringLiteral("01 07 12 20 25 33 "));
            QCOMPARE(g.cellText(2, 4), QString::fromUtf8(c.newest));

            const QStringList memo = w.memo()->toPlainText().split('\n');
            QVERIFY(memo.size() >= 5);
            QVERIFY2(memo[0].endsWith(QStringLiteral("：") + c.most), qPrintable(memo[0]));
            QVERIFY2(memo[1].endsWith(QStringLiteral("：") + c.least), qPrintable(memo[1]));
            QVERIFY2(memo[3].startsWith(QStringLiteral("最近3期")), qPrintable(memo[3]));
            if (*c.recentTotal)
                QVERIFY2(memo[3].endsWith(QStringLiteral("：") + c.recentTotal), qPrintable(memo[3]));

            BarChart& chart = *w.chart();
            QCOMPARE(chart.title(), QString::fromUtf8(c.title));
            QCOMPARE(chart.categories(), QStringList({"2003002", "2003003", "2003004"}));
            QBarSet* set = chart.barSet("Series1");
            QVERIFY(set);
            QCOMPARE(set->label(), QString::fromUtf8(c.valueTitle));
            QCOMPARE(set->count(), 3);
            QCOMPARE(QString::number(set->at(2)), QString::fromUtf8(c.newest));
            QCOMPARE(set->color(), QColor(Qt::red));
            QVERIFY(!chart.marksVisible());
        }
        QVERIFY(dialogs->messages.isEmpty());
    }

    void summaryLinesWorkedByHand()
    {
        // Big: 3 + 3 + 3 over the last three draws against k * R / 2 = 9.
        // Repeat: 0 + 0 + 2 = 2 against (6 * 3 * 6) div 33 = 3, and 3 >= 1.5 * 2.
        struct Case {
            int tab;
            QStringList memo;
        } cases[] = {
            {1,
             {"理论最多大数个数：6.0", "理论最少大数个数：0.0", "理论平均大数个数：3.0", "最近3期大数个数总和：9.0",
              "最近3期理论大数个数总和：9.0"}},
            {8,
             {"理论最多重码个数：6.0", "理论最少重码个数：0.0", "理论平均重码个数：1.0", "最近3期重码个数总和：2.0",
              "最近3期理论重码个数总和：3.0",
              "最近3期重码个数总和远远低于理论个数总和，建议选择大于理论平均重码个数的组合！"}},
        };
        for (const Case& c : cases) {
            Harness t(fixture());
            QCOMPARE(t.open(c.tab).memo()->toPlainText(), c.memo.join('\n'));
        }
    }

    void allDrawsThenRecountAndMarks()
    {
        DialogScript dialogs;
        Harness t(fixture());
        MetricWindow& w = t.open(3);
        QComboBox* box = w.recentCountBox();
        QCOMPARE(box->count(), 5);
        QCOMPARE(box->itemText(0), QStringLiteral("全部期"));
        QCOMPARE(box->itemText(4), QStringLiteral("4"));
        QCOMPARE(box->currentText(), QStringLiteral("3"));

        // Choosing an item sets R only; the chart and memo wait for "重新统计".
        box->setCurrentIndex(0);
        QVERIFY(w.comzuijingqishuChange());
        QCOMPARE(w.recentCount(), 4);
        QCOMPARE(w.chart()->barCount(), 3);
        w.recountButton()->click();
        QCOMPARE(w.chart()->barCount(), 4);
        QCOMPARE(w.chart()->categories().first(), QStringLiteral("2003001"));
        // R = n: the sum window's recent theoretical total is S = 100 + 86 + 101 + 98.
        QVERIFY(w.memo()->toPlainText().contains(QStringLiteral("最近4期理论和值总和：385.0")));

        // The marks box redraws at once, with the R in force.
        QTest::mouseClick(w.marksBox(), Qt::LeftButton);
        QVERIFY(w.chart()->marksVisible());

        // Typing a number and Enter: R, then the default button.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "2");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.recentCount(), 2);
        QCOMPARE(w.chart()->categories(), QStringList({"2003003", "2003004"}));
        QVERIFY(w.memo()->toPlainText().contains(QStringLiteral("最近2期和值总和：199.0")));
        QVERIFY(dialogs->messages.isEmpty());
    }

    void nonIntegerRecentCountIsRefusedOnce()
    {
        DialogScript dialogs;
        Harness t(fixture());
        MetricWindow& w = t.open(1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLineEdit* edit = w.recentCountBox()->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, "2x");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages[0].kind, QStringLiteral("error"));
        QCOMPARE(dialogs->lastText(), QString::fromStdString(integerConversionMessage("2x")));
        QCOMPARE(w.recentCount(), 3);
        QCOMPARE(w.chart()->barCount(), 3); // no recount after a refused text
        // The handler called directly refuses too.
        QVERIFY(!w.comzuijingqishuChange());
        QCOMPARE(w.recentCount(), 3);
    }

    void recentCountOfZeroOrLessIsRefused()
    {
        DialogScript dialogs;
        Harness t(fixture());
        MetricWindow& w = t.open(3);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QString memo = w.memo()->toPlainText();
        for (const char* text : {"0", "-5"}) {
            dialogs->messages.clear();
            QLineEdit* edit = w.recentCountBox()->lineEdit();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(dialogs->texts(), QStringList({QStringLiteral("最近期数必须大于0！")}));
            QCOMPARE(dialogs->messages[0].kind, QStringLiteral("error"));
            QCOMPARE(w.recentCount(), 3);
            // Nothing recounted: the chart keeps its three issues, the memo its "最近3期".
            QCOMPARE(w.chart()->categories(), QStringList({"2003002", "2003003", "2003004"}));
            QCOMPARE(w.memo()->toPlainText(), memo);
            w.recountButton()->click();
            QCOMPARE(w.chart()->categoryAxis()->categories().size(), 3);
            QVERIFY(!w.memo()->toPlainText().contains(QStringLiteral("最近") + text));
        }
    }

    void eachMemberReadsItsSourceAtOpeningAndRecount()
    {
        // V: the variable view, S: the stored draws.
        struct Case {
            int tab;
            char opening;
            char recount;
        } cases[] = {{1, 'V', 'V'}, {2, 'S', 'S'}, {3, 'S', 'S'}, {4, 'S', 'S'},
                     {5, 'S', 'S'}, {6, 'S', 'S'}, {7, 'S', 'S'}, {8, 'V', 'S'}};
        const DrawHistory h = fixture();
        for (const Case& c : cases) {
            Harness t(h);
            t.state.BuildVariableTrend(t.random);
            QCOMPARE(t.state.TrendMode(), TrendMode::Variable);
            const QStringList standard = numbersColumn(h);
            const QStringList variable = numbersColumn(t.state.VariableHistory());
            QVERIFY2(standard != variable, "the variable view should differ from the draws");
            auto expect = [&](char source) { return source == 'V' ? variable : standard; };

            MetricWindow& w = t.open(c.tab);
            QCOMPARE(gridColumn(*w.grid(), 1), expect(c.opening));
            w.recountButton()->click();
            QCOMPARE(gridColumn(*w.grid(), 1), expect(c.recount));
            // The main window's switches always use the view they name.
            w.trendChanged(TrendMode::Variable);
            QCOMPARE(gridColumn(*w.grid(), 1), variable);
            w.trendChanged(TrendMode::Standard);
            QCOMPARE(gridColumn(*w.grid(), 1), standard);
        }
    }

    void longHistoryOpensAtTheNewestRows()
    {
        DrawHistory longer(6, 1);
        for (int i = 0; i < 30; ++i) {
            const int x[7] = {1 + i % 27, 2 + i % 27, 3 + i % 27, 4 + i % 27, 5 + i % 27, 7 + i % 27, 1};
            longer.append(2010001 + i, std::span<const int>(x, 6), std::span<const int>(x + 6, 1));
        }
        struct Case {
            DrawHistory h;
            bool scrolled;
        } cases[] = {{longer, true}, {fixture(), false}};
        for (const Case& c : cases) {
            Harness t(c.h);
            MetricWindow& w = t.open(4);
            w.resize(900, 420);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            HistoryGrid& g = *w.grid();
            QCOMPARE(g.rowCount(), c.h.size() + 1);
            QVERIFY(g.rowInView(g.rowCount() - 1));
            QCOMPARE(g.topRow() > 1, c.scrolled);
            if (c.scrolled)
                QVERIFY(!g.rowInView(1));
        }
    }

    void emptyHistoryGivesHeaderOnlyAndNoBars()
    {
        DialogScript dialogs;
        for (int tab = 1; tab <= 8; ++tab) {
            Harness t(DrawHistory(6, 1));
            MetricWindow& w = t.open(tab);
            QCOMPARE(w.grid()->rowCount(), 1);
            QCOMPARE(w.grid()->cellText(0, 0), QStringLiteral("记录期号"));
            QCOMPARE(w.chart()->barCount(), 0);
            QCOMPARE(w.recentCountBox()->count(), 1);
            w.marksBox()->click();
            w.recountButton()->click();
            w.recentCountBox()->setCurrentIndex(0);
            QVERIFY(w.comzuijingqishuChange());
            QCOMPARE(w.recentCount(), 0);
            w.recountButton()->click();
            QCOMPARE(w.chart()->barCount(), 0);
            QCOMPARE(w.memo()->toPlainText().split('\n').size(), 3);
        }
        // Fewer draws than the default R: the chart shows what there is.
        Harness t(history({{1, 2, 3, 4, 5, 6, 1}, {7, 8, 9, 10, 11, 12, 2}}));
        MetricWindow& w = t.open(1);
        QCOMPARE(w.chart()->barCount(), 2);
        QVERIFY(w.memo()->toPlainText().contains(QStringLiteral("最近2期大数个数总和：0.0")));
        QVERIFY(dialogs->messages.isEmpty());
    }

    void manyBarsKeepTheirLabelsReadable()
    {
        DrawHistory longer(6, 1);
        for (int i = 0; i < 400; ++i) {
            const int x[7] = {1 + i % 27, 2 + i % 27, 3 + i % 27, 4 + i % 27, 5 + i % 27, 7 + i % 27, 1};
            longer.append(2010001 + i, std::span<const int>(x, 6), std::span<const int>(x + 6, 1));
        }
        // Issue labels flat, upright, or none; marks only where a bar can hold one.
        struct Case {
            int R;
            bool labels;
            int angle;
            bool marks;
        } cases[] = {{3, true, 0, true}, {20, true, -90, true}, {400, false, -90, false}};
        for (const Case& c : cases) {
            Harness t(longer);
            MetricWindow& w = t.open(3);
            w.resize(1000, 600);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.marksBox()->click();
            w.recentCountBox()->setEditText(QString::number(c.R));
            QVERIFY(w.comzuijingqishuChange());
            w.recountButton()->click();
            QCOMPARE(w.chart()->barCount(), c.R);
            QCOMPARE(w.chart()->categoryLabelsShown(), c.labels);
            QCOMPARE(w.chart()->categoryLabelAngle(), c.angle);
            QVERIFY(w.chart()->marksVisible());
            QCOMPARE(w.chart()->marksShown(), c.marks);
        }
    }
};

QTEST_MAIN(MetricWindowTest)
#include "tst_metric.moc"
