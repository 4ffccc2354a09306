// The skew-state and win-backfill windows: table, sorts, selection, chart
// switches and refusals.
#include <QBarSet>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include "analysis/u_piantai.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/window_context.h"
#include "ui/bar_chart.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

QStringList gridRow(QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}

void click(QWidget* w, const char* name)
{
    auto* b = w->findChild<QPushButton*>(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

class OmissionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void skewStateOpensWithTheRedTable()
    {
        WindowContext c(TwoColourBall(), threeDraws());
        DialogScript dialogs;
        Tfrmpiantai w(c.context);
        QCOMPARE(w.windowTitle(), QStringLiteral("中奖偏态分析选号"));
        QCOMPARE(w.tabhistory()->rowCount(), 33);
        QCOMPARE(w.tabhistory()->horizontalHeaderItem(5)->text(), QStringLiteral("目前遗漏"));
        QCOMPARE(gridRow(w.tabhistory(), 0), QString("01|5.5|0.5|1|2|2|0.4|19%").split('|'));
        QCOMPARE(w.chthistory()->barCount(), 33);
        QCOMPARE(w.chthistory()->visibleSetNames(), QStringList({"Series1", "Series2", "Series3", "Series4"}));
        QVERIFY(dialogs->messages.isEmpty());

        click(&w, "Button1"); // chase value, largest first: 01 02 04 05 06
        QCOMPARE(gridRow(w.tabhistory(), 2)[0], QStringLiteral("04"));
        QCOMPARE(w.chthistory()->categories().mid(0, 3), QStringList({"01", "02", "04"}));
        click(&w, "Button3"); // least drawn first
        QCOMPARE(gridRow(w.tabhistory(), 0)[0], QStringLiteral("13"));

        // A new selection waits for the next button.
        w.blueButton()->click();
        QCOMPARE(w.tabhistory()->rowCount(), 33);
        click(&w, "btnala");
        QCOMPARE(w.tabhistory()->rowCount(), 16);
        QCOMPARE(gridRow(w.tabhistory(), 0), QString("01|16.0|0.2|1|1|1|0.1|1%").split('|'));

        w.chk(0)->click();
        w.chk(3)->click();
        QCOMPARE(w.chthistory()->visibleSetNames(), QStringList({"Series2", "Series3"}));
        w.chkhistorybiao()->click();
        QVERIFY(w.chthistory()->marksVisible());
    }

    void backfillReportsOnlyThePattern()
    {
        WindowContext c(TwoColourBall(), threeDraws());
        DialogScript dialogs;
        Tfrmyilou w(c.context);
        QCOMPARE(w.windowTitle(), QStringLiteral("中奖回补分析选号"));
        QCOMPARE(w.objectName(), QStringLiteral("frmyilou"));
        QCOMPARE(w.tabhistory()->horizontalHeaderItem(5)->text(), QStringLiteral("前次遗漏"));
        QCOMPARE(w.findChild<QPushButton*>("Button2")->text(), QStringLiteral("前次遗漏排序"));
        QCOMPARE(gridRow(w.tabhistory(), 0), QString("01|5.5|0.5|1|2|0|0|0%").split('|'));
    }

    void blueIsRefusedWithoutSpecials()
    {
        DrawHistory h(7, 0);
        h.append(1, std::vector<int>{1, 2, 3, 4, 5, 6, 49});
        WindowContext c(MarkSix(), h);
        DialogScript dialogs;
        Tfrmpiantai w(c.context);
        QCOMPARE(w.tabhistory()->rowCount(), 49);
        QCOMPARE(gridRow(w.tabhistory(), 48)[3], QStringLiteral("1"));
        w.blueButton()->click();
        click(&w, "btnala");
        QCOMPARE(dialogs->lastText(), QStringLiteral("本彩种没有蓝球，不能分析蓝球！"));
        QCOMPARE(w.tabhistory()->rowCount(), 0);
    }
};

QTEST_MAIN(OmissionWindowTest)
#include "tst_piantai.moc"
