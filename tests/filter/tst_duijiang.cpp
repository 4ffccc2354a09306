// The prize check window: one draw, the whole history, the winning bets of a
// history row, a refused file, and a stop in the middle of a long check.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "filter/u_duijiang.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bet_list_view.h"
#include "ui/busy_scope.h"
#include "ui/history_grid.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

// 2003001: the first bet 6+1. 2003002: the second 5+1 (3000 元).
// 2003003: the third 4+1 (200 元), the fourth 0+1 (5 元).
DrawHistory threeDraws()
{
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{7});
    h.append(2003002, std::vector<int>{10, 11, 12, 13, 14, 15}, std::vector<int>{1});
    h.append(2003003, std::vector<int>{1, 2, 3, 10, 11, 12}, std::vector<int>{16});
    return h;
}

const QByteArray kBets = "0000001    01 02 03 04 05 06+07\r\n"
                         "0000002    10 11 12 13 14 33+01\r\n"
                         "0000003    01 02 03 10 20 21+16\r\n"
                         "0000004    20 21 22 23 24 25+16\r\n";

// 3,508 draws and 200,000 lines: long enough to press "停止" midway.
DrawHistory longHistory()
{
    DrawHistory h(6, 1);
    for (int d = 0; d < 3508; ++d) {
        std::vector<int> main;
        for (int j = 0; j < 6; ++j)
            main.push_back(1 + (d * 7 + j * 5) % 33);
        std::sort(main.begin(), main.end());
        main.erase(std::unique(main.begin(), main.end()), main.end());
        for (int n = 1; main.size() < 6; ++n)
            if (!std::binary_search(main.begin(), main.end(), n)) {
                main.push_back(n);
                std::sort(main.begin(), main.end());
            }
        h.append(2003001 + d, main, std::vector<int>{d % 16 + 1});
    }
    return h;
}

QByteArray manyLines()
{
    QByteArray lines;
    for (int i = 0; i < 200000; ++i)
        lines += QStringLiteral("%1 29 30 31 32 33+%2\r\n")
                     .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                     .arg(1 + i % 16, 2, 10, QLatin1Char('0'))
                     .toLatin1();
    return lines;
}

struct Fixture : WindowContext {
    explicit Fixture(const DrawHistory& h = threeDraws()) : WindowContext(TwoColourBall(), h)
    {
        w = std::make_unique<Tfrmduijiang>(context);
    }
    void click(const char* name) { QTest::mouseClick(w->findChild<QPushButton*>(name), Qt::LeftButton); }
    void choose(const QString& file)
    {
        dialogs->openAnswers << file;
        click("btnfile");
    }
    QStringList row(int r) const
    {
        QStringList l;
        for (int c = 0; c < w->grdprize()->columnCount(); ++c)
            l << w->grdprize()->item(r, c)->text();
        return l;
    }
    QStringList winners() const
    {
        QStringList l;
        for (qint64 i = 0; i < w->lstwin()->lineCount(); ++i)
            l << w->lstwin()->lineText(i);
        return l;
    }

    TempHome home;
    DialogScript dialogs;
    std::unique_ptr<Tfrmduijiang> w;
};

} // namespace

class PrizeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void newestDrawByDefault()
    {
        Fixture f;
        QCOMPARE(f.w->windowTitle(), QStringLiteral("对奖"));
        QCOMPARE(f.w->comqi()->count(), 4);
        QCOMPARE(f.w->comqi()->itemText(0), QStringLiteral("全部历史"));
        QCOMPARE(f.w->comqi()->currentText(), QStringLiteral("2003003"));

        f.click("btncheck");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("请先选择投注文件！"));

        f.choose(f.home.write("bets.txt", kBets));
        f.click("btncheck");
        QCOMPARE(f.dialogs->messages.size(), 1);
        QCOMPARE(f.w->lbldraw()->text(), QStringLiteral("第2003003期开奖号码：01 02 03 10 11 12+16"));
        QCOMPARE(f.w->grdprize()->rowCount(), 9);
        QCOMPARE(f.row(0), (QStringList{"一等奖", "0", "浮动", "浮动"}));
        QCOMPARE(f.row(3), (QStringList{"四等奖", "1", "200元", "200元"}));
        QCOMPARE(f.row(5), (QStringList{"六等奖", "1", "5元", "5元"}));
        QCOMPARE(f.row(8), (QStringList{"红球中4个", "0", "-", "-"}));
        QCOMPARE(f.w->lblsum()->text(), QStringLiteral("投注：4注  成本：8元  固定奖金合计：205元"));
        QCOMPARE(f.w->lblwin()->text(), QStringLiteral("中奖号码：2注"));
        QCOMPARE(f.winners(), (QStringList{"0000003    01 02 03 10 20 21+16    四等奖",
                                           "0000004    20 21 22 23 24 25+16    六等奖"}));
        QVERIFY(f.w->grdhistory()->isHidden());

        // Another draw of the list.
        f.w->comqi()->setCurrentIndex(3);
        f.click("btncheck");
        QCOMPARE(f.row(0), (QStringList{"一等奖", "1", "浮动", "浮动"}));
        QCOMPARE(f.w->lblsum()->text(), QStringLiteral("投注：4注  成本：8元  固定奖金合计：0元"));
        QCOMPARE(f.winners(), (QStringList{"0000001    01 02 03 04 05 06+07    一等奖"}));
    }

    void wholeHistoryAndTheWinnersOfARow()
    {
        Fixture f;
        f.choose(f.home.write("bets.txt", kBets));
        f.w->comqi()->setCurrentIndex(0);
        f.click("btncheck");
        QVERIFY2(f.dialogs->messages.isEmpty(), qPrintable(f.dialogs->lastText()));
        HistoryGrid* g = f.w->grdhistory();
        QVERIFY(!g->isHidden());
        QCOMPARE(g->rowCount(), 4); // header + three draws with wins
        QCOMPARE(g->cellText(0, 0), QStringLiteral("期号"));
        QCOMPARE(g->cellText(2, 0), QStringLiteral("一等奖"));
        QCOMPARE(g->cellText(11, 0), QStringLiteral("固定奖金"));
        QCOMPARE(g->cellText(0, 2), QStringLiteral("2003002"));
        QCOMPARE(g->cellText(4, 2), QStringLiteral("1"));
        QCOMPARE(g->cellText(11, 2), QStringLiteral("3000"));
        QCOMPARE(g->cellText(11, 3), QStringLiteral("205"));
        QCOMPARE(f.row(2), (QStringList{"三等奖", "1", "3000元", "3000元"}));
        QCOMPARE(f.w->lblsum()->text(),
                 QStringLiteral("对奖期数：3期  投注：4注/期  成本：24元  固定奖金合计：3205元"));
        QCOMPARE(f.w->lbldraw()->text(), QStringLiteral("全部历史：2003001期至2003003期，共3期，中奖3期"));
        QCOMPARE(f.w->lstwin()->lineCount(), 0);

        f.w->grdhistoryClick(1);
        QCOMPARE(f.winners(), (QStringList{"0000002    10 11 12 13 14 33+01    三等奖"}));
        QCOMPARE(f.w->lblwin()->text(), QStringLiteral("第2003002期中奖号码：1注"));
    }

    void drawDatesAreShown()
    {
        Fixture f;
        f.state.openWithHistory(TwoColourBall(), threeDraws(), {"2003-2-23", "2003-2-27", "2003-3-2"});
        f.w = std::make_unique<Tfrmduijiang>(f.context);
        f.choose(f.home.write("bets.txt", kBets));
        f.click("btncheck");
        QCOMPARE(f.w->lbldraw()->text(), QStringLiteral("第2003003期（2003-3-2）开奖号码：01 02 03 10 11 12+16"));
        f.w->comqi()->setCurrentIndex(0);
        f.click("btncheck");
        QCOMPARE(f.w->grdhistory()->cellText(1, 1), QStringLiteral("2003-2-23"));
        QCOMPARE(f.w->grdhistory()->cellText(1, 3), QStringLiteral("2003-3-2"));
    }

    void refusedFileShowsNothing()
    {
        Fixture f;
        f.choose(f.home.write("bets.txt", kBets));
        f.click("btncheck");
        QCOMPARE(f.w->lstwin()->lineCount(), 2);
        // A refused file leaves nothing of the earlier check on show.
        f.choose(f.home.write("bad.txt", "01 02 03 04 05 06+07\r\n01 02 03 04 05 06+17\r\n"));
        f.click("btncheck");
        QCOMPARE(f.dialogs->lastText(),
                 QStringLiteral("第2行不是本彩票的投注号码（号码超出范围）：“01 02 03 04 05 06+17”"));
        QCOMPARE(f.w->grdprize()->rowCount(), 0);
        QCOMPARE(f.w->lstwin()->lineCount(), 0);
        QCOMPARE(f.w->lblsum()->text(), QString());
        QVERIFY(f.w->findChild<QPushButton*>("btncheck")->isEnabled());
        QVERIFY(!f.w->isRunning());

        f.choose(f.home.write("empty.txt", "\r\n"));
        f.click("btncheck");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("投注文件中没有投注号码！"));
        QCOMPARE(f.w->grdprize()->rowCount(), 0);
    }

    void stopEndsALongCheck()
    {
        Fixture f(longHistory());
        f.choose(f.home.write("many.txt", manyLines()));
        f.w->comqi()->setCurrentIndex(0);
        bool sawRunning = false;
        QTimer::singleShot(1, f.w.get(), [&] {
            sawRunning = f.w->isRunning();
            QVERIFY(!f.w->findChild<QPushButton*>("btncheck")->isEnabled());
            f.click("btnstop");
        });
        f.click("btncheck");
        QVERIFY(sawRunning);
        QVERIFY(!f.w->isRunning());
        QVERIFY(f.w->grdhistory()->isHidden());
        QVERIFY(f.w->findChild<QPushButton*>("btncheck")->isEnabled());
        QVERIFY(f.dialogs->messages.isEmpty());
    }

    void closedForGoodDuringACheck()
    {
        // As when the lottery is closed mid-run: the window stops, and goes
        // only once its handler has returned.
        WindowContext c(TwoColourBall(), longHistory());
        TempHome home;
        DialogScript dialogs;
        QPointer<Tfrmduijiang> w(new Tfrmduijiang(c.context));
        dialogs->openAnswers << home.write("many.txt", manyLines());
        QTest::mouseClick(w->findChild<QPushButton*>("btnfile"), Qt::LeftButton);
        w->comqi()->setCurrentIndex(0);
        bool retiredDuringRun = false;
        QTimer::singleShot(1, w.data(), [&] {
            retiredDuringRun = w && w->isRunning();
            retireWindow(w);
        });
        QTest::mouseClick(w->findChild<QPushButton*>("btncheck"), Qt::LeftButton);
        QVERIFY(retiredDuringRun);
        QVERIFY(w);
        QVERIFY(!w->isRunning());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(dialogs->messages.isEmpty());
    }
};

QTEST_MAIN(PrizeWindowTest)
#include "tst_duijiang.moc"
