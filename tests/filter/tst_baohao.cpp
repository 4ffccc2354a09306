// The cover window: the shown list as the source, a search on its worker
// thread, the result list, stop and save.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <bit>
#include <random>
#include <set>

#include "app/window_registry.h"
#include "data/program_dir.h"
#include "filter/betlist.h"
#include "filter/list_cover.h"
#include "filter/u_baohao.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bet_list_view.h"

using namespace zelvor;
using namespace zelvor::testing;

class CoverWindowTest : public QObject {
    Q_OBJECT

    struct Harness : WindowContext {
        TempHome home;
        std::unique_ptr<Tfrmbaohao> w;
        Harness() : WindowContext(TwoColourBall(), DrawHistory(6, 1))
        {
            w.reset(qobject_cast<Tfrmbaohao*>(toolWindowFactory("Tfrmbaohao")(context, nullptr)));
        }
        // The shown list (temp.txt) from red sets, with blue 03.
        void showList(const std::vector<NumberSet>& sets) const
        {
            QByteArray text;
            std::int64_t n = 0;
            for (NumberSet s : sets) {
                std::vector<std::uint8_t> reds;
                for (int v : numbersOf(s))
                    reds.push_back(static_cast<std::uint8_t>(v));
                text += QByteArray::fromStdString(betLineWithSpecial(++n, reds, 3)) + "\r\n";
            }
            QFile f(ListFilePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        std::vector<NumberSet> shownBets() const
        {
            std::vector<NumberSet> bets;
            for (qint64 i = 0; i < w->memcode()->lineCount(); ++i) {
                const QStringList fields = w->memcode()->lineText(i).split(QRegularExpression("[ +]+"), Qt::SkipEmptyParts);
                NumberSet s = 0;
                for (int j = 1; j <= 6; ++j)
                    s |= NumberSet{1} << (fields[j].toInt() - 1);
                bets.push_back(s);
            }
            return bets;
        }
    };

    static std::vector<NumberSet> sixOfEight()
    {
        std::vector<NumberSet> sets;
        for (NumberSet s = 0; s < 256; ++s)
            if (std::popcount(s) == 6)
                sets.push_back(s);
        return sets;
    }

private slots:
    void coversTheShownListAndSavesIt()
    {
        DialogScript dialogs;
        Harness t;
        const std::vector<NumberSet> list = sixOfEight();
        t.showList(list);
        t.w->btnlistClick();
        QCOMPARE(t.w->sourceCount(), 28);
        t.w->findChild<QLineEdit*>("edtseconds")->setText("1");
        t.w->findChild<QPushButton*>("btnstart")->click();
        QVERIFY(t.w->isRunning());
        QCOMPARE(t.w->findChild<QPushButton*>("btnstart")->text(), QStringLiteral("停止"));
        QTRY_VERIFY_WITH_TIMEOUT(!t.w->isRunning(), 20000);
        QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->lastText()));
        const std::vector<NumberSet> bets = t.shownBets();
        QVERIFY(!bets.empty());
        QVERIFY(coversList(list, bets, 5));
        QCOMPARE(t.w->findChild<QLabel*>("lblcode")->text(), QStringLiteral("过滤结果：%1注").arg(bets.size()));
        QCOMPARE(t.w->findChild<QLabel*>("lblguarantee")->text(), QStringLiteral("开奖号码在原号码中时，至少中5个红球"));

        const QString out = t.home.file("cover.txt");
        dialogs->saveAnswers << out;
        t.w->findChild<QPushButton*>("btnsave")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("成功保存！"));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray first = f.readLine();
        QVERIFY2(first.endsWith("+03\r\n") && first.size() == 22, first.constData());
    }

    void stopKeepsAValidCover()
    {
        DialogScript dialogs;
        Harness t;
        std::mt19937 rng(3);
        std::set<NumberSet> sets;
        while (sets.size() < 3000) {
            NumberSet s = 0;
            while (std::popcount(s) < 6)
                s |= NumberSet{1} << (rng() % 20);
            sets.insert(s);
        }
        const std::vector<NumberSet> list(sets.begin(), sets.end());
        t.showList(list);
        t.w->btnlistClick();
        t.w->findChild<QComboBox*>("combao")->setCurrentText("4");
        t.w->findChild<QLineEdit*>("edtseconds")->setText("60");
        t.w->findChild<QPushButton*>("btnstart")->click();
        QTest::qWait(300);
        t.w->findChild<QPushButton*>("btnstart")->click(); // "停止"
        QTRY_VERIFY_WITH_TIMEOUT(!t.w->isRunning(), 20000);
        QVERIFY(coversList(list, t.shownBets(), 4));
    }

    void refusals()
    {
        DialogScript dialogs;
        Harness t;
        t.w->findChild<QPushButton*>("btnstart")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("号码表格为空，无法缩水！"));
        t.showList(sixOfEight());
        t.w->btnlistClick();
        t.w->findChild<QLineEdit*>("edtseconds")->setText("1x");
        t.w->findChild<QPushButton*>("btnstart")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("“1x”不是有效的整数。"));
        QVERIFY(!t.w->isRunning());
    }
};

QTEST_MAIN(CoverWindowTest)
#include "tst_baohao.moc"
