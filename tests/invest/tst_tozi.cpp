// The investment mode window: generation and its checks, the hit and
// interval grids, the interval-mode rule, a run, the search on its worker
// (to the end and stopped), files and printing.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

#include "app/window_registry.h"
#include "invest/u_tozi.h"
#include "support/fake_dialogs.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::invest;
using namespace zelvor::testing;

namespace {

const LotteryParams k3D{"中国福彩3D", LotteryKind::Digit, 10, 3, 0, 0};

// Seven draws: 1 2 3 at draws 2 and 5 (from 0), 9 9 9 elsewhere.
DrawHistory sevenDraws()
{
    DrawHistory h(3, 0);
    const int miss[] = {9, 9, 9}, hit[] = {1, 2, 3};
    for (int i = 0; i < 7; ++i)
        h.append(2004001 + i, i == 2 || i == 5 ? std::span<const int>(hit) : std::span<const int>(miss));
    return h;
}

// 400 draws of a fixed pseudo-random sequence.
DrawHistory longHistory()
{
    DrawHistory h(3, 0);
    Random r(11);
    for (int i = 0; i < 400; ++i) {
        const int d[] = {r.below(10), r.below(10), r.below(10)};
        h.append(2010001 + i, d);
    }
    return h;
}

struct Harness : WindowContext {
    std::unique_ptr<Tfrmtozi> w;
    explicit Harness(const DrawHistory& h, const LotteryParams& l = k3D) : WindowContext(l, h, 5)
    {
        w.reset(qobject_cast<Tfrmtozi*>(toolWindowFactory("Tfrmtozi")(context, nullptr)));
    }
    template <class T> T* get(const char* name) { return w->findChild<T*>(QString::fromLatin1(name)); }
    QString cell(const char* grid, int r, int c)
    {
        QTableWidgetItem* i = get<QTableWidget>(grid)->item(r, c);
        return i ? i->text() : QString();
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return f.fileName();
}

} // namespace

class TestTozi : public QObject {
    Q_OBJECT
private slots:
    void generationAndChecks()
    {
        Harness h(sevenDraws());
        DialogScript script;
        h.w->showSettings([] {
            ModeSettings s;
            s.type = Group3;
            s.bets = 91;
            return s;
        }());
        h.w->btnfiltClick();
        QCOMPARE(script->lastText(), QStringLiteral("请请输入1到90的组选3注数！"));
        h.get<QLineEdit>("edtjushu")->setText("90");
        h.w->btnfiltClick();
        QCOMPARE(h.get<QTableWidget>("grdcode")->rowCount(), 90);
        QCOMPARE(h.cell("grdcode", 0, 1) + h.cell("grdcode", 0, 2) + h.cell("grdcode", 0, 3), QStringLiteral("001"));
        QCOMPARE(h.cell("grdcode", 89, 1) + h.cell("grdcode", 89, 2) + h.cell("grdcode", 89, 3), QStringLiteral("899"));

        Harness ssq(sevenDraws(), LotteryParams{"中国福彩双色球", LotteryKind::Lotto, 33, 6, 16, 1});
        ssq.w->btnfiltClick();
        QCOMPARE(script->lastText(), QString::fromUtf8(kWrongLottery));
    }

    void hitGridIntervalsAndModeRule()
    {
        Harness h(sevenDraws());
        DialogScript script;
        QTemporaryDir dir;
        script->openAnswers << writeFile(dir, "bets.txt", "0\r\n1\r\n123\r\n");
        h.w->mnucodeloadClick();
        QStringList d;
        for (int r = 0; r < 7; ++r)
            d << h.cell("grdsep", r, 1);
        QCOMPARE(d, (QStringList{"1", "2", "●", "1", "2", "●", "1"}));
        QCOMPARE(h.get<QTableWidget>("grdsepmode")->rowCount(), 0);

        h.get<QComboBox>("comsepindex")->setCurrentIndex(6);
        h.get<QCheckBox>("chksepmode")->click();
        QCOMPARE(h.get<QComboBox>("comsepindex")->currentText(), QStringLiteral("1"));
        QVERIFY(!h.get<QComboBox>("comsepnum")->isEnabled());

        // A bad bets file leaves the grids as they were.
        script->openAnswers << writeFile(dir, "bad.txt", "0\r\n1\r\n12\r\n");
        h.w->mnucodeloadClick();
        QCOMPARE(script->messages.last().kind, QStringLiteral("error"));
        QCOMPARE(h.get<QTableWidget>("grdsep")->rowCount(), 7);
    }

    void runSearchAndStop()
    {
        Harness h(longHistory());
        DialogScript script;
        h.w->btnalaClick();
        QCOMPARE(script->lastText(), QStringLiteral("请生成号码！"));
        h.w->btnclearClick();
        h.w->btnfiltClick();
        QCOMPARE(h.get<QTableWidget>("grdcode")->rowCount(), 100);
        h.w->btnalaClick();
        Simulator sim(h.w->hits());
        const RunResult expected = sim.run(h.w->readSettings());
        QCOMPARE(h.get<QLineEdit>("edtallwin")->text(), QString::number(expected.surplus));
        QCOMPARE(h.get<QTableWidget>("grdtozi")->rowCount(), static_cast<int>(expected.cycles.size()));

        // The whole search with the interval mode off.
        h.get<QCheckBox>("chksepmode")->click();
        ModeSettings s = h.w->readSettings();
        const SearchResult best = searchSettings(sim, s);
        QSignalSpy done(h.w.get(), &Tfrmtozi::searchFinished);
        auto* search = h.get<QPushButton>("btnyouhua");
        search->click();
        QCOMPARE(search->text(), QStringLiteral("停止搜索"));
        QVERIFY(!h.get<QPushButton>("btnala")->isEnabled());
        QVERIFY(done.wait(60000));
        QCOMPARE(search->text(), QStringLiteral("搜索"));
        QVERIFY(h.get<QPushButton>("btnala")->isEnabled());
        QVERIFY(h.get<QProgressBar>("pb")->isHidden());
        QCOMPARE(h.get<QComboBox>("comsepnum")->currentText(), QStringLiteral("1"));
        QCOMPARE(h.get<QComboBox>("comtozisep")->currentIndex(), best.waitPos);
        QCOMPARE(h.get<QComboBox>("comtozirep")->currentIndex(), best.repPos);
        QCOMPARE(h.get<QLineEdit>("edtallwin")->text(), QString::number(best.best));
        QVERIFY(script->messages.size() == 1); // no messages from the search

        // A stop request ends it early with the best found so far shown.
        search->click();
        search->click();
        QVERIFY(done.wait(60000));
        QCOMPARE(search->text(), QStringLiteral("搜索"));
    }

    void filesAndPrinting()
    {
        Harness h(longHistory());
        DialogScript script;
        QTemporaryDir dir;
        h.w->btnfiltClick();
        const QString both = dir.filePath("both.txt");
        script->saveAnswers << both;
        h.w->mnubothsaveClick();
        QCOMPARE(script->lastText(), QStringLiteral("成功保存！"));
        QFile f(both);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 114);

        Harness other(longHistory());
        script->openAnswers << both;
        other.w->mnubothloadClick();
        QCOMPARE(other.w->bets(), h.w->bets());
        QVERIFY(!other.get<QLineEdit>("edtallwin")->text().isEmpty());

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("bets.pdf"));
        QVERIFY(h.w->printBetsTo(printer));
        QVERIFY(QFileInfo(dir.filePath("bets.pdf")).size() > 0);
        printer.setOutputFileName(dir.filePath("settings.pdf"));
        QVERIFY(h.w->printSettingsTo(printer));
    }
};

QTEST_MAIN(TestTozi)
#include "tst_tozi.moc"
