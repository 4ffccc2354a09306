// The four adviser windows: controls and defaults, the replay as the command
// line prints it, "生成号码", the refusals, and a 20,000-draw history.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <memory>

#include "advisers/advisers.h"
#include "advisers/u_adviser.h"
#include "app/window_registry.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/window_context.h"
#include "ui/bar_chart.h"
#include "ui/history_bars.h"
#include "ui/history_grid.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

const LotteryParams kSsq{"中国福彩双色球", LotteryKind::Lotto, 33, 6, 16, 1};
const std::vector<std::string> kDates = {"2003-2-23", "2003-2-25", "2003-2-27", "2003-3-2"};

struct Harness : WindowContext {
    std::unique_ptr<Tfrmadviser> window;

    Harness(const char* cls, const DrawHistory& h, std::vector<std::string> dates = kDates)
    {
        state.openWithHistory(kSsq, h, std::move(dates));
        window.reset(qobject_cast<Tfrmadviser*>(toolWindowFactory(cls)(context, nullptr)));
    }
    template <class T> T* get(const char* name) const
    {
        T* w = window->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString memo() const { return get<QPlainTextEdit>("mem")->toPlainText(); }
    QString code() const { return get<QLineEdit>("edtcurcode")->text(); }
    void setBox(const char* name, const QString& text) const { get<QComboBox>(name)->setEditText(text); }
    void press(const char* name) const { get<QPushButton>(name)->click(); }
};

// The window's grid, memo and chart against the replay the command line prints.
void compareWithReplay(const Harness& h, const AdviserReplay& r)
{
    const DrawHistory& history = h.state.DrawHistory();
    auto* grid = h.get<HistoryGrid>("tabhistory");
    QCOMPARE(grid->rowCount(), r.rowCount() + 1);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(grid->cellText(c, 0), QString::fromUtf8(kReplayHeader[c]));
    for (int row = 0; row < r.rowCount(); ++row)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(grid->cellText(c, row + 1), QString::fromStdString(replayCell(r, history, row, c)));
    QCOMPARE(h.memo(), QString::fromStdString(replayMemo(r)));
    auto* chart = h.get<HistoryBars>("chthistory");
    QCOMPARE(chart->barCount(), r.barCount());
    QCOMPARE(chart->seriesTitle(), QStringLiteral("中奖个数"));
    if (r.barCount() > 0) {
        QCOMPARE(chart->label(0), QString::number(history.issue(r.firstBar)));
        QCOMPARE(chart->value(r.barCount() - 1), r.hits[history.size() - 1]);
    }
}

DrawHistory longHistory(int draws)
{
    DrawHistory h(6, 1);
    std::uint32_t x = 12345;
    for (int d = 0; d < draws; ++d) {
        std::vector<int> pool(33);
        for (int i = 0; i < 33; ++i)
            pool[i] = i + 1;
        std::vector<int> row;
        for (int j = 0; j < 6; ++j) {
            x = x * 1103515245u + 12345u;
            const int pick = j + static_cast<int>((x >> 16) % static_cast<std::uint32_t>(33 - j));
            std::swap(pool[j], pool[pick]);
            row.push_back(pool[j]);
        }
        h.append(1000000 + d, row, std::vector<int>{1});
    }
    return h;
}

} // namespace

class AdviserWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void captionsControlsAndDefaults()
    {
        DialogScript dialogs;
        struct Case {
            const char* cls;
            const char* caption;
            const char* chartTitle;
            QStringList controls;
        } const cases[] = {
            {"Tfrmsep", "最优间隔回补选号", "最优间隔回补选号历史中奖图表",
             {"comqishu", "comcodenum", "chtcishu"}},
            {"Tfrmqingmi", "最优亲密数字选号", "最优亲密数字选号历史中奖图表",
             {"optsel", "comselnum", "comjieduanqi", "tabcode", "chtcishu", "Label5"}},
            {"Tfrmsibu", "最优四步综合选号", "最优四步综合选号历史中奖图表",
             {"com1", "com2", "com3", "com4", "edtcode1", "edtcode2", "edtcode3", "edtcode4", "btnclose"}},
            {"Tfrmganzhi", "最优开奖干支选号", "最优开奖干支选号历史中奖图表",
             {"edtdate", "edttiangan", "edtdizhi", "optadd", "btnclose"}},
        };
        for (const Case& c : cases) {
            Harness h(c.cls, windowDraws());
            QCOMPARE(h.window->objectName(), QString::fromUtf8(c.cls));
            QCOMPARE(h.window->windowTitle(), QString::fromUtf8(c.caption));
            QVERIFY(h.window->windowFlags() & Qt::WindowStaysOnTopHint);
            QCOMPARE(h.get<HistoryBars>("chthistory")->title(), QString::fromUtf8(c.chartTitle));
            for (const char* shared : {"comcurqi", "edtcurcode", "tabhistory", "chkhistorybiao", "mem", "btntongji",
                                       "btngen"})
                QVERIFY2(h.window->findChild<QWidget*>(shared), shared);
            for (const QString& name : c.controls)
                QVERIFY2(h.window->findChild<QWidget*>(name), qPrintable(name));
            auto* target = h.get<QComboBox>("comcurqi");
            QCOMPARE(target->count(), 5);
            QCOMPARE(target->currentText(), QStringLiteral("2003005"));
        }
        Harness sep("Tfrmsep", windowDraws());
        QCOMPARE(sep.get<QComboBox>("comqishu")->currentText(), QStringLiteral("5"));
        QCOMPARE(sep.get<QComboBox>("comcodenum")->currentText(), QStringLiteral("18"));
        Harness qingmi("Tfrmqingmi", windowDraws());
        QCOMPARE(qingmi.get<QComboBox>("comselnum")->currentText(), QStringLiteral("17"));
        QCOMPARE(qingmi.get<QComboBox>("comjieduanqi")->currentText(), QStringLiteral("4")); // min(7, n)
        QCOMPARE(qingmi.get<QComboBox>("comjieduanqi")->itemText(0), QStringLiteral("全部期数"));
        Harness sibu("Tfrmsibu", windowDraws());
        QCOMPARE(sibu.get<QComboBox>("com1")->currentText(), QStringLiteral("4")); // min(40, R)
        QCOMPARE(sibu.get<QComboBox>("com2")->currentText(), QStringLiteral("1"));
        QCOMPARE(sibu.get<QComboBox>("com3")->currentText(), QStringLiteral("10"));
        QCOMPARE(sibu.get<QComboBox>("com4")->currentText(), QStringLiteral("10"));
        Harness ganzhi("Tfrmganzhi", windowDraws());
        QCOMPARE(ganzhi.get<QLineEdit>("edtdate")->text(), QStringLiteral("2003-3-4"));
        QCOMPARE(ganzhi.get<QLineEdit>("edttiangan")->text(), QStringLiteral("丙"));
        QCOMPARE(ganzhi.get<QLineEdit>("edtdizhi")->text(), QStringLiteral("子"));
        QVERIFY(!ganzhi.get<QLineEdit>("edtdate")->isEnabled());
        QVERIFY(dialogs->messages.isEmpty());
    }

    void replayMatchesTheCore()
    {
        DialogScript dialogs;
        const DrawHistory draws = windowDraws();
        {
            Harness h("Tfrmsep", draws);
            compareWithReplay(h, replayInterval(draws, kSsq, {5, 18}));
            QCOMPARE(h.memo(), QStringLiteral("最大中奖号码数为5个，最小中奖号码数为3个"));
            auto* hits = h.get<BarChart>("chtcishu");
            QCOMPARE(hits->title(), QStringLiteral("历史中奖次数图表"));
            QCOMPARE(hits->barCount(), 7);
            // New settings apply through "历史统计".
            h.setBox("comqishu", "2");
            h.setBox("comcodenum", "6");
            compareWithReplay(h, replayInterval(draws, kSsq, {5, 18}));
            h.press("btntongji");
            compareWithReplay(h, replayInterval(draws, kSsq, {2, 6}));
        }
        {
            Harness h("Tfrmqingmi", draws);
            compareWithReplay(h, replayIntimate(draws, kSsq, {true, 17, 4}));
        }
        {
            Harness h("Tfrmsibu", draws);
            compareWithReplay(h, replayComposite(draws, kSsq, {4, 1, 10, 10}));
            QCOMPARE(h.memo(), QStringLiteral("历史期数不足，无法统计！"));
        }
        {
            Harness h("Tfrmganzhi", draws);
            compareWithReplay(h, replayStemBranch(draws, kSsq, kDates, {false}));
            h.get<QGroupBox>("optadd")->findChildren<QRadioButton*>()[1]->click();
            h.press("btntongji");
            compareWithReplay(h, replayStemBranch(draws, kSsq, kDates, {true}));
            h.get<QCheckBox>("chkhistorybiao")->click();
            QVERIFY(h.get<HistoryBars>("chthistory")->marksVisible());
        }
        QVERIFY(dialogs->messages.isEmpty());
    }

    void generateShowsWhatTheCommandLinePrints()
    {
        DialogScript dialogs;
        const DrawHistory draws = windowDraws();
        {
            Harness h("Tfrmsep", draws);
            h.get<QComboBox>("comcurqi")->setCurrentIndex(0);
            h.setBox("comcodenum", "5");
            h.press("btngen");
            QCOMPARE(h.code(), QStringLiteral("2003001期推荐投注号码：01 02 03 04 05 "));
        }
        {
            Harness h("Tfrmqingmi", draws);
            h.press("btngen");
            const IntimateResult r = recommendIntimate(draws, kSsq, 4, {true, 17, 4});
            QCOMPARE(h.code(), QString::fromStdString(recommendationText("2003005", r.bet, false)));
            auto* table = h.get<QTableWidget>("tabcode");
            QCOMPARE(table->rowCount(), 1);
            QCOMPARE(table->item(0, 0)->text(), QString::fromStdString(intimacyCells(r, true)[0][0]));
            // Per position: "1" and the other label, applied by "生成号码".
            h.get<QGroupBox>("optsel")->findChildren<QRadioButton*>()[0]->click();
            QCOMPARE(h.get<QComboBox>("comselnum")->currentText(), QStringLiteral("1"));
            QCOMPARE(h.get<QLabel>("Label5")->text(), QStringLiteral("各位号码数："));
            h.press("btngen");
            QCOMPARE(table->rowCount(), 34);
            QCOMPARE(table->columnCount(), 7);
            QCOMPARE(table->item(0, 0)->text(), QStringLiteral("参照号码"));
            QCOMPARE(table->item(0, 1)->text(), QStringLiteral("1"));
            QCOMPARE(table->item(2, 0)->text(), QStringLiteral("排名2"));
        }
        {
            Harness h("Tfrmsibu", draws);
            h.setBox("com1", "2");
            h.press("btngen");
            const CompositeResult r = recommendComposite(draws, kSsq, 4, {2, 1, 10, 10});
            const auto boxes = compositeBoxTexts(r);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(h.get<QLineEdit>(qPrintable(QStringLiteral("edtcode%1").arg(i + 1)))->text(),
                         QString::fromStdString(boxes[i]));
            QCOMPARE(h.code(), QString::fromStdString(recommendationText("2003005", r.bet, true)));
        }
        {
            Harness h("Tfrmganzhi", draws);
            h.get<QComboBox>("comcurqi")->setCurrentIndex(0);
            QCOMPARE(h.get<QLineEdit>("edtdate")->text(), QStringLiteral("2003-2-23"));
            h.press("btngen");
            QCOMPARE(h.code(),
                     QStringLiteral("2003001期推荐投注号码：1 4 5 6 9 10 11 14 15 16 19 20 21 24 25 26 29 30 31 "));
        }
        QVERIFY(dialogs->messages.isEmpty());
    }

    void refusalsKeepThePreviousValues()
    {
        DialogScript dialogs;
        const DrawHistory draws = windowDraws();
        Harness sep("Tfrmsep", draws);
        const QString memo = sep.memo();
        sep.setBox("comqishu", "x");
        sep.press("btntongji");
        QCOMPARE(dialogs->lastText(), QStringLiteral("“x”不是有效的整数。"));
        QCOMPARE(sep.memo(), memo);
        sep.setBox("comqishu", "21");
        sep.press("btngen");
        QCOMPARE(dialogs->lastText(), QStringLiteral("间隔期数须为1到20的整数！"));
        QVERIFY(sep.code().isEmpty());
        sep.setBox("comqishu", "5");
        sep.get<QComboBox>("comcurqi")->setEditText("1999");
        sep.press("btngen");
        QCOMPARE(dialogs->lastText(), QStringLiteral("目前投注期须为历史中的一期或下一期！"));

        Harness qingmi("Tfrmqingmi", draws);
        qingmi.get<QComboBox>("comcurqi")->setCurrentIndex(0);
        qingmi.press("btngen");
        QCOMPARE(dialogs->lastText(), QStringLiteral("目前投注期之前没有开奖号码！"));
        qingmi.setBox("comjieduanqi", "9");
        qingmi.press("btntongji");
        QCOMPARE(dialogs->lastText(), QStringLiteral("阶段次数须为全部期数或1到4的整数！"));

        // A draw without a date: the date fields clear and "生成号码" refuses.
        Harness ganzhi("Tfrmganzhi", draws, {"2003-2-23", "", "2003-2-27", "2003-3-2"});
        QCOMPARE(ganzhi.memo(), QStringLiteral("第2003002期没有正确的开奖日期！"));
        ganzhi.get<QComboBox>("comcurqi")->setCurrentIndex(1);
        QVERIFY(ganzhi.get<QLineEdit>("edtdate")->text().isEmpty());
        QVERIFY(ganzhi.get<QLineEdit>("edttiangan")->text().isEmpty());
        ganzhi.press("btngen");
        QCOMPARE(dialogs->lastText(), QStringLiteral("请输入正确的开奖日期！"));
        ganzhi.press("btntongji");
        QCOMPARE(dialogs->lastText(), QStringLiteral("第2003002期没有正确的开奖日期！"));
        QCOMPARE(ganzhi.memo(), QStringLiteral("第2003002期没有正确的开奖日期！"));
        QCOMPARE(ganzhi.get<HistoryGrid>("tabhistory")->rowCount(), 1);
    }

    void twentyThousandDraws()
    {
        DialogScript dialogs;
        const DrawHistory draws = longHistory(MaxStoredDraws);
        Harness h("Tfrmsep", draws, {});
        auto* chart = h.get<HistoryBars>("chthistory");
        QCOMPARE(chart->barCount(), MaxStoredDraws);
        QCOMPARE(h.get<HistoryGrid>("tabhistory")->rowCount(), MaxStoredDraws + 1);
        h.window->resize(1000, 700);
        h.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
        // The strip opens on the newest draws and paints only those in view.
        QVERIFY(chart->firstVisibleBar() > MaxStoredDraws - 200);
        chart->grab();
        QVERIFY(dialogs->messages.isEmpty());
    }
};

QTEST_MAIN(AdviserWindowsTest)
#include "tst_advisers.moc"
