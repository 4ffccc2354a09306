// The compound search window: a search on given views, its stop, refusals and copy.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <optional>
#include <set>

#include "analysis/trend.h"
#include "data/lottery_state.h"
#include "filter/compound_search.h"
#include "filter/u_fushi.h"
#include "support/fake_dialogs.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

DrawHistory someDraws(int count)
{
    Random random(5);
    DrawHistory h(6, 1);
    for (int d = 0; d < count; ++d) {
        std::vector<int> all(33);
        for (int i = 0; i < 33; ++i)
            all[i] = i + 1;
        std::vector<int> main;
        for (int j = 0; j < 6; ++j) {
            std::swap(all[j], all[j + random.below(33 - j)]);
            main.push_back(all[j]);
        }
        h.append(2003001 + d, main, std::vector<int>{random.below(16) + 1});
    }
    return h;
}

} // namespace

class CompoundWindowTest : public QObject {
    Q_OBJECT
private slots:
    void defaults()
    {
        WindowContext c(TwoColourBall(), someDraws(60));
        Tfrmfushi w(c.context);
        QCOMPARE(w.windowTitle(), QStringLiteral("自动复式搜索"));
        QCOMPARE(w.edtnum()->text(), QStringLiteral("28"));
        QVERIFY(w.chkyilou()->isChecked());
        QCOMPARE(w.edtyilouqishu()->text(), QStringLiteral("50"));
        QCOMPARE(w.btnsou()->text(), QStringLiteral("开始搜索"));
        QVERIFY(w.edtfushicode()->text().isEmpty());
    }

    void searchStrikesTheNumbersTheViewsName()
    {
        WindowContext c(TwoColourBall(), someDraws(60));
        DialogScript dialogs;
        Tfrmfushi w(c.context);
        w.chkyilou()->setChecked(false);
        // Views from the generator, kept so the test can replay each pass.
        Random views(3);
        std::vector<VariableSettings> used;
        w.setViewSource([&]() -> std::optional<VariableSettings> {
            used.push_back(drawVariableSettings(33, views));
            return used.back();
        });
        std::vector<int> struck;
        connect(&w, &Tfrmfushi::passDone, this, [&](int, int b, int) { struck.push_back(b); });
        QTest::mouseClick(w.btnsou(), Qt::LeftButton);
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(w.btnsou()->text(), QStringLiteral("开始搜索"));
        QCOMPARE(c.state.TrendMode(), TrendMode::Standard);
        QCOMPARE(int(used.size()), w.passes());
        // Each pass struck the number its view's most overdue column stands for.
        std::set<int> gone;
        for (std::size_t i = 0; i < used.size(); ++i) {
            const VariableTrend t = buildVariableTrend(TwoColourBall(), c.state.DrawHistory(), used[i]);
            QCOMPARE(struck[i], t.numberForNextValue(mostOverdueColumn(columnOmissions(t.history, 33), 33)));
            gone.insert(struck[i]);
        }
        QCOMPARE(int(gone.size()), 5);
        QString expected;
        for (int n = 1; n <= 33; ++n)
            if (!gone.count(n))
                expected += QString::asprintf("%.2d ", n);
        QCOMPARE(w.edtfushicode()->text(), expected);

        w.btncopyClick();
        QCOMPARE(QApplication::clipboard()->text(), expected);
    }

    void stopLeavesTheResultAndTheStandardTrend()
    {
        WindowContext c(TwoColourBall(), someDraws(60));
        DialogScript dialogs;
        Tfrmfushi w(c.context);
        w.edtfushicode()->setText("before");
        w.edtnum()->setText("1"); // 32 strikes: far more passes than the three before the stop
        w.chkyilou()->setChecked(false);
        Random views(4);
        int given = 0;
        w.setViewSource([&]() -> std::optional<VariableSettings> {
            if (++given == 3)
                QTimer::singleShot(0, &w, [&w] { QTest::mouseClick(w.btnsou(), Qt::LeftButton); });
            return drawVariableSettings(33, views);
        });
        QTest::mouseClick(w.btnsou(), Qt::LeftButton);
        QVERIFY(given >= 3);
        QVERIFY(!w.isRunning());
        QCOMPARE(w.btnsou()->text(), QStringLiteral("开始搜索"));
        QCOMPARE(w.edtfushicode()->text(), QStringLiteral("before"));
        QCOMPARE(c.state.TrendMode(), TrendMode::Standard);

        // Views running out end the search the same way.
        w.setViewSource([]() -> std::optional<VariableSettings> { return std::nullopt; });
        QTest::mouseClick(w.btnsou(), Qt::LeftButton);
        QCOMPARE(w.btnsou()->text(), QStringLiteral("开始搜索"));
        QCOMPARE(w.edtfushicode()->text(), QStringLiteral("before"));
    }

    void refusals()
    {
        WindowContext c(TwoColourBall(), someDraws(60));
        DialogScript dialogs;
        Tfrmfushi w(c.context);
        w.setViewSource([]() -> std::optional<VariableSettings> { return std::nullopt; });
        struct Case {
            QString count, threshold, message;
        } cases[] = {
            {"33", "50", QStringLiteral("号码个数必须在1到32之间！")},
            {"0", "50", QStringLiteral("号码个数必须在1到32之间！")},
            {"28", "61", QStringLiteral("遗漏期数不能大于历史期数60！")},
            {"2x", "50", QStringLiteral("“2x”不是有效的整数。")},
            {"28", "", QStringLiteral("“”不是有效的整数。")},
        };
        for (const Case& k : cases) {
            w.edtnum()->setText(k.count);
            w.edtyilouqishu()->setText(k.threshold);
            QTest::mouseClick(w.btnsou(), Qt::LeftButton);
            QCOMPARE(dialogs->lastText(), k.message);
            QCOMPARE(w.passes(), 0);
        }
    }
};

QTEST_MAIN(CompoundWindowTest)
#include "tst_fushi.moc"
