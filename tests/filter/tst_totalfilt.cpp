// The total filter window: controls, panel choices, runs, save/load, clear,
// trend switches from the main window, and the long list view.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QStorageInfo>
#include <QtTest>
#include <functional>

#include "app/u_main.h"
#include "common/error.h"
#include "data/history_import.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "data/u_datamod.h"
#include "data/u_index.h"
#include "filter/u_totalfilt.h"
#include "support/catalogue_script.h"
#include "support/fake_dialogs.h"
#include "support/histories.h"
#include "support/combinatorics.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bet_list_view.h"
#include "ui/number_panels.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {



QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A window over a small two-colour-ball history, without a database.
struct Fixture : WindowContext {
    explicit Fixture(const LotteryParams& lottery = TwoColourBall(), const DrawHistory& history = threeDraws())
        : WindowContext(lottery, history, 11)
    {
        w = std::make_unique<Tfrmtotalfilt>(context);
    }
    template <class T> T* get(const char* name) const
    {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QCheckBox* check(const char* name) const { return get<QCheckBox>(name); }
    QComboBox* combo(const char* name) const { return get<QComboBox>(name); }
    QLineEdit* edit(const char* name) const { return get<QLineEdit>(name); }
    QString label() const { return get<QLabel>("lblcode")->text(); }
    BetListView* memcode() const { return get<BetListView>("memcode"); }
    void click(const char* button) const { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    void clickPanel(const QString& name) const
    {
        QTest::mouseClick(w->findChild<NumberPanel*>(name), Qt::LeftButton);
    }
    void clickBlue(int n) const { clickPanel(QStringLiteral("panblue%1").arg(n, 2, 10, QLatin1Char('0'))); }
    void clickRed(int n) const { clickPanel(QStringLiteral("panred%1").arg(n, 2, 10, QLatin1Char('0'))); }
    void range(const char* check, const char* lower, const QString& lo, const char* upper, const QString& hi) const
    {
        this->check(check)->setChecked(true);
        combo(lower)->setCurrentText(lo);
        combo(upper)->setCurrentText(hi);
    }

    TempHome home; // ProgramDir with temp.txt
    DialogScript dialogs;
    std::unique_ptr<Tfrmtotalfilt> w;
};

const char* const kConditionBoxes[] = {"chkdashu", "chkjishu", "chkhei",   "chkkuadu",
                                       "chksandu", "chkpiandu", "chkac",  "chkdanma"};
const char* const kRangeBoxes[] = {"comdaxiao1", "comdaxiao2", "comjiou1",   "comjiou2",   "comhei1",
                                   "comhei2",    "comkuadu1",  "comkuadu2",  "comsandu1",  "comsandu2",
                                   "compiandu1", "compiandu2", "comac1",     "comac2"};

} // namespace

class TotalFilterWindowTest : public QObject {
    Q_OBJECT

private slots:
    void createdWithTheFormsDefaults()
    {
        Fixture f;
        QCOMPARE(f.w->windowTitle(), QStringLiteral("总体过滤"));
        QVERIFY(f.w->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(f.get<QLabel>("Label21")->text(), QStringLiteral("常规过滤："));
        // Lists from their bounds, nothing chosen.
        struct List {
            const char* box;
            QString first, last;
            int count;
        } lists[] = {{"comdaxiao1", "0", "6", 7}, {"comjiou2", "0", "6", 7},     {"comhei1", "21", "183", 163},
                     {"comkuadu2", "5", "32", 28}, {"comsandu1", "3", "27", 25}, {"compiandu2", "0", "27", 28},
                     {"comac1", "5", "15", 11}};
        for (const List& l : lists) {
            QComboBox* box = f.combo(l.box);
            QCOMPARE(box->count(), l.count);
            QCOMPARE(box->itemText(0), l.first);
            QCOMPARE(box->itemText(l.count - 1), l.last);
            QCOMPARE(box->currentIndex(), -1);
            QVERIFY(box->currentText().isEmpty());
            QVERIFY(box->isEditable());
        }
        QCOMPARE(f.edit("edtnum1")->text(), QStringLiteral("1"));
        QCOMPARE(f.edit("edtnum2")->text(), QStringLiteral("1"));
        QCOMPARE(f.edit("edtzhong1")->text(), QStringLiteral("6"));
        QCOMPARE(f.edit("edtzhong2")->text(), QStringLiteral("6"));
        QCOMPARE(f.edit("edtsuiji1")->text(), QStringLiteral("6"));
        QCOMPARE(f.edit("edtsuiji2")->text(), QStringLiteral("1"));
        QVERIFY(!f.check("chkhongqiu")->isChecked());
        QVERIFY(!f.get<QPushButton>("btnsuiji1")->isEnabled());
        QVERIFY(f.check("chklanqiu")->isChecked());
        QVERIFY(!f.check("chklanqiu")->isEnabled());
        QCOMPARE(f.label(), QStringLiteral("过滤结果："));
        QCOMPARE(f.memcode()->lineCount(), 0);
        QVERIFY(f.get<QProgressBar>("pb")->isHidden());
        QVERIFY(f.get<QPushButton>("btnfilt")->isDefault());
        QVERIFY(f.w->startFromAll());
        // Panels: captions up to N (red) and M (blue); the rest blank and disabled.
        auto* red33 = f.w->findChild<NumberPanel*>("panred33");
        auto* red34 = f.w->findChild<NumberPanel*>("panred34");
        auto* blue16 = f.w->findChild<NumberPanel*>("panblue16");
        auto* blue17 = f.w->findChild<NumberPanel*>("panblue17");
        QCOMPARE(red33->caption(), QStringLiteral("33"));
        QVERIFY(red33->isEnabled());
        QVERIFY(red34->caption().isEmpty() && !red34->isEnabled());
        QCOMPARE(blue16->caption(), QStringLiteral("16"));
        QVERIFY(blue17->caption().isEmpty() && !blue17->isEnabled());
        QVERIFY(f.w->findChild<NumberPanel*>("panred50") && f.w->findChild<NumberPanel*>("panblue30"));
        QVERIFY(!f.w->findChild<NumberPanel*>("panred51"));
        QCOMPARE(red33->parentWidget(), f.get<QGroupBox>("GroupBox2"));
        QCOMPARE(blue16->parentWidget(), f.get<QGroupBox>("GroupBox3"));
    }

    void typicalRoadNarrowsAndClearStartsOver()
    {
        Fixture f;
        f.range("chkhei", "comhei1", "90", "comhei2", "110");
        f.clickBlue(7);
        QCOMPARE(f.w->findChild<NumberPanel*>("panblue07")->colour(), QColor(50, 50, 255));
        f.click("btnfilt");
        QVERIFY2(f.dialogs->messages.isEmpty(), qPrintable(f.dialogs->texts().join('|')));
        const qint64 first = subsetsWithSum(90, 110);
        QCOMPARE(f.label(), QStringLiteral("过滤结果：%1注").arg(first));
        QCOMPARE(f.memcode()->lineCount(), first);
        QCOMPARE(f.memcode()->lineText(0), QStringLiteral("0000001    01 02 03 19 32 33+07"));
        for (const char* box : kConditionBoxes)
            QVERIFY2(!f.check(box)->isChecked(), box);
        QCOMPARE(f.combo("comhei1")->currentText(), QStringLiteral("90")); // texts stay
        QVERIFY(!f.w->startFromAll());
        QVERIFY(f.get<QProgressBar>("pb")->isHidden());

        // A second run narrows the survivors of the first.
        f.range("chkhei", "comhei1", "80", "comhei2", "100");
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：%1注").arg(subsetsWithSum(90, 100)));

        // "清空" resets the window; the same run then starts from all combinations.
        f.check("chkdanma")->setChecked(true);
        f.edit("edtdanma")->setText("03 07");
        f.click("btnclear");
        QCOMPARE(f.label(), QStringLiteral("过滤结果："));
        QCOMPARE(f.memcode()->lineCount(), 0);
        QVERIFY(f.w->startFromAll());
        QVERIFY(!f.check("chkdanma")->isChecked());
        QVERIFY(f.edit("edtdanma")->text().isEmpty());
        QCOMPARE(f.edit("edtnum1")->text(), QStringLiteral("1"));
        QCOMPARE(f.edit("edtnum2")->text(), QStringLiteral("2"));
        for (const char* box : kRangeBoxes)
            QVERIFY2(f.combo(box)->currentText().isEmpty() && f.combo(box)->currentIndex() == -1, box);
        QVERIFY(f.w->bluePanels()->chosenNumbers().empty());
        QCOMPARE(f.w->findChild<NumberPanel*>("panblue07")->colour(), f.w->palette().color(QPalette::Window));
        f.range("chkhei", "comhei1", "80", "comhei2", "100");
        f.clickBlue(7);
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：%1注").arg(subsetsWithSum(80, 100)));
    }

    void panelsAndRandomChoice()
    {
        Fixture f;
        f.clickRed(5);
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("请先在《选择红球》框上打勾！"));
        QCOMPARE(f.dialogs->messages.last().caption, QStringLiteral("错误"));
        QVERIFY(f.w->redPanels()->chosenNumbers().empty());

        f.check("chkhongqiu")->setChecked(true);
        QVERIFY(f.get<QPushButton>("btnsuiji1")->isEnabled());
        for (int n : {1, 2, 3, 5, 8, 13, 21, 34})
            f.clickRed(n); // 34 is disabled: nothing happens
        QCOMPARE(f.edit("edtsuiji1")->text(), QStringLiteral("7"));
        f.clickRed(2);
        QCOMPARE(f.edit("edtsuiji1")->text(), QStringLiteral("6"));
        QCOMPARE(f.w->findChild<NumberPanel*>("panred01")->colour(), QColor(255, 50, 50));
        QCOMPARE(f.w->findChild<NumberPanel*>("panred02")->colour(), f.w->palette().color(QPalette::Window));
        QCOMPARE(f.w->redPanels()->chosenNumbers(), (std::vector<int>{1, 3, 5, 8, 13, 21}));
        f.check("chkhongqiu")->setChecked(false);
        QVERIFY(!f.get<QPushButton>("btnsuiji1")->isEnabled());
        f.check("chkhongqiu")->setChecked(true);

        // Random counts outside the range are refused and change nothing.
        const int before = f.dialogs->messages.size();
        f.edit("edtsuiji1")->setText("34");
        f.click("btnsuiji1");
        QCOMPARE(f.dialogs->messages.size(), before + 1);
        QCOMPARE(f.w->redPanels()->chosenNumbers().size(), std::size_t(6));
        f.edit("edtsuiji1")->setText("x");
        f.click("btnsuiji1");
        QCOMPARE(f.dialogs->lastText(), QString::fromStdString(integerConversionMessage("x")));
        f.edit("edtsuiji1")->setText("8");
        f.click("btnsuiji1");
        QCOMPARE(f.w->redPanels()->chosenNumbers().size(), std::size_t(8));

        // Eight red numbers, hits 6 to 6, three blues: C(8,6) = 28 rows, three lines each.
        for (int n : {3, 9, 12})
            f.clickBlue(n);
        QCOMPARE(f.edit("edtsuiji2")->text(), QStringLiteral("3"));
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：84注"));
        const auto reds = f.w->redPanels()->chosenNumbers();
        QString firstReds;
        for (int i = 0; i < 6; ++i)
            firstReds += QStringLiteral("%1%2").arg(i ? " " : "").arg(reds[i], 2, 10, QLatin1Char('0'));
        QCOMPARE(f.memcode()->lineText(0), QStringLiteral("0000001    %1+03").arg(firstReds));
        QCOMPARE(f.memcode()->lineText(1), QStringLiteral("0000002    %1+09").arg(firstReds));
        QCOMPARE(f.memcode()->lineText(2), QStringLiteral("0000003    %1+12").arg(firstReds));
        // The red choice box stays ticked after a run.
        QVERIFY(f.check("chkhongqiu")->isChecked());
    }

    void validationStopsAtTheFirstMessage()
    {
        struct Case {
            const char* why;
            std::function<void(Fixture&)> set;
            QString message;
        };
        const Case cases[] = {
            {"nothing ticked", [](Fixture& f) { f.clickBlue(1); }, QStringLiteral("请选择过滤条件！")},
            {"empty range box before empty banker",
             [](Fixture& f) {
                 f.check("chkhei")->setChecked(true);
                 f.combo("comhei1")->setCurrentText("90");
                 f.check("chkdanma")->setChecked(true);
             },
             QStringLiteral("请选择组合框中的数值！")},
            {"empty banker before reversed range",
             [](Fixture& f) {
                 f.check("chkdanma")->setChecked(true);
                 f.combo("comac1")->setCurrentText("9");
                 f.combo("comac2")->setCurrentText("6");
             },
             QStringLiteral("请输入胆码以及最少中奖个数和最多中奖个数！")},
            {"reversed unticked range before reversed hits",
             [](Fixture& f) {
                 f.range("chkhei", "comhei1", "90", "comhei2", "110");
                 f.combo("comjiou1")->setCurrentText("4");
                 f.combo("comjiou2")->setCurrentText("2");
                 f.edit("edtnum1")->setText("3");
             },
             QStringLiteral("请前面组合框中的数值应该小于等于后面组合框中的数值！")},
            {"reversed hits before the red choice",
             [](Fixture& f) {
                 f.check("chkhongqiu")->setChecked(true);
                 f.edit("edtnum1")->setText("3");
             },
             QStringLiteral("胆码前面的中奖个数应该小于等于后面的中奖个数！")},
            {"no red before no blue", [](Fixture& f) { f.check("chkhongqiu")->setChecked(true); },
             QStringLiteral("请点击你要选择的红球！")},
            {"too few reds",
             [](Fixture& f) {
                 f.check("chkhongqiu")->setChecked(true);
                 for (int n : {4, 5, 6, 7, 8})
                     f.clickRed(n);
             },
             QStringLiteral("请至少选择6个红球！")},
            {"no blue", [](Fixture& f) { f.range("chkhei", "comhei1", "90", "comhei2", "110"); },
             QStringLiteral("请点击你要选择的蓝球！")},
            {"typed text that is not a number",
             [](Fixture& f) {
                 f.range("chkhei", "comhei1", "9x", "comhei2", "110");
                 f.clickBlue(1);
             },
             QString::fromStdString(integerConversionMessage("9x"))},
        };
        for (const Case& c : cases) {
            Fixture f;
            c.set(f);
            f.dialogs->messages.clear();
            f.click("btnfilt");
            QVERIFY2(f.dialogs->messages.size() == 1, c.why);
            QVERIFY2(f.dialogs->lastText() == c.message, qPrintable(QString(c.why) + ": " + f.dialogs->lastText()));
            QCOMPARE(f.label(), QStringLiteral("过滤结果："));
            QVERIFY(f.w->startFromAll());
            QVERIFY(!QFile::exists(ListFilePath()));
        }
    }

    void saveClearLoadSaveGivesTheSameFile()
    {
        Fixture f;
        // An empty list saves as an empty file.
        const QString empty = f.home.file("empty.txt");
        f.dialogs->saveAnswers << empty;
        f.click("btnsave");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("成功保存！"));
        QVERIFY(QFile::exists(empty));
        QCOMPARE(readAll(empty).size(), 0);

        f.check("chkhongqiu")->setChecked(true);
        for (int n : {2, 6, 11, 17, 23, 28, 30, 33})
            f.clickRed(n);
        f.clickBlue(3);
        f.clickBlue(16);
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：56注"));

        const QString saved = f.home.file("a.txt");
        f.dialogs->saveAnswers << saved;
        f.click("btnsave");
        QCOMPARE(f.dialogs->proposedNames.last(),
                 ShellFolderPath("Desktop") + "|" + QStringLiteral("中国福彩双色球2003004期总体过滤投注号码.txt"));
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("成功保存！"));
        const QByteArray content = readAll(saved);
        QVERIFY(content.startsWith("02 06 11 17 23 28+03\r\n02 06 11 17 23 28+16\r\n02 06 11 17 23 30+03\r\n"));
        QVERIFY(content.endsWith("11 17 23 28 30 33+16\r\n"));
        QCOMPARE(content.count("\r\n"), 56);

        f.click("btnclear");
        f.check("chkhei")->setChecked(true);
        f.combo("comhei1")->setCurrentText("1");
        f.edit("edtsuiji1")->setText("9");
        f.dialogs->openAnswers << saved;
        f.click("btnload");
        QCOMPARE(f.dialogs->proposedNames.last(), ShellFolderPath("Desktop") + "|");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：56注"));
        QCOMPARE(f.memcode()->lineText(0), QStringLiteral("0000001    02 06 11 17 23 28+03"));
        QCOMPARE(f.memcode()->lineText(55), QStringLiteral("0000056    11 17 23 28 30 33+16"));
        QVERIFY(!f.w->startFromAll());
        QVERIFY(f.check("chkhongqiu")->isChecked());
        QVERIFY(f.get<QPushButton>("btnsuiji1")->isEnabled());
        QCOMPARE(f.w->redPanels()->chosenNumbers(), (std::vector<int>{2, 6, 11, 17, 23, 28, 30, 33}));
        QCOMPARE(f.w->bluePanels()->chosenNumbers(), (std::vector<int>{3, 16}));
        QVERIFY(!f.check("chkhei")->isChecked());
        QVERIFY(f.combo("comhei1")->currentText().isEmpty());
        QCOMPARE(f.edit("edtsuiji1")->text(), QStringLiteral("6"));
        QCOMPARE(f.edit("edtsuiji2")->text(), QStringLiteral("1"));

        const QString again = f.home.file("b.txt");
        f.dialogs->saveAnswers << again;
        f.click("btnsave");
        QCOMPARE(readAll(again), content);

        // The loaded set is what the next run narrows: a span of at most 28
        // drops the 15 rows holding both 02 and 33; 13 rows with two blues stay.
        f.range("chkkuadu", "comkuadu1", "5", "comkuadu2", "28");
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：26注"));

        // A file that does not load changes nothing.
        const QString bad = f.home.write("bad.txt", "02 06 11 17 23 28+03\r\n02 06 11 17 2x 28+03\r\n");
        f.dialogs->openAnswers << bad;
        f.click("btnload");
        QVERIFY(f.dialogs->lastText().contains("2x"));
        QCOMPARE(f.label(), QStringLiteral("过滤结果：26注"));
        QCOMPARE(f.memcode()->lineCount(), 26);
    }

    void noSurvivorsAndLoadKeepTheirControls()
    {
        Fixture f;
        f.range("chkhei", "comhei1", "21", "comhei2", "22");
        f.clickBlue(1);
        f.click("btnfilt");
        QCOMPARE(f.memcode()->lineCount(), 2);

        // No survivor: the message, an empty memo, the boxes stay ticked, and
        // the narrowed set stays narrowed (no start from all combinations).
        f.range("chkjishu", "comjiou1", "0", "comjiou2", "0");
        f.click("btnfilt");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("没有符合条件的投注号码，请重新选择过滤条件！"));
        QCOMPARE(f.memcode()->lineCount(), 0);
        QVERIFY(f.check("chkjishu")->isChecked());
        QVERIFY(!f.w->startFromAll());
        f.check("chkjishu")->setChecked(false);
        f.range("chkhei", "comhei1", "21", "comhei2", "183");
        f.click("btnfilt");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("没有符合条件的投注号码，请重新选择过滤条件！"));

        // A random choice leaves its count as typed and unchooses the rest.
        f.check("chkhongqiu")->setChecked(true);
        f.clickRed(33);
        f.edit("edtsuiji1")->setText("7");
        f.click("btnsuiji1");
        QCOMPARE(f.edit("edtsuiji1")->text(), QStringLiteral("7"));
        QCOMPARE(f.w->redPanels()->chosenNumbers().size(), std::size_t(7));

        // A load unticks the seven metric boxes but not the banker box.
        f.check("chkdanma")->setChecked(true);
        f.check("chkac")->setChecked(true);
        f.dialogs->openAnswers << f.home.write("l.txt", "01 02 03 04 05 06+01\r\n01 02 03 04 05 07\r\n01 02 03 04 05 08+09\r\n");
        f.click("btnload");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：3注"));
        QVERIFY(f.check("chkdanma")->isChecked());
        QVERIFY(!f.check("chkac")->isChecked() && !f.check("chkhei")->isChecked());
        QCOMPARE(f.w->redPanels()->chosenNumbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(f.w->bluePanels()->chosenNumbers(), (std::vector<int>{1})); // no blue read after the short line
        QVERIFY(!f.w->startFromAll());
    }

    void enterRunsTheFilterUnlessAnotherButtonHasFocus()
    {
        Fixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        f.range("chkhei", "comhei1", "21", "comhei2", "22");
        f.clickBlue(1);
        QLineEdit* banker = f.edit("edtdanma");
        banker->setFocus();
        QTest::keyClick(banker, Qt::Key_Return);
        QCOMPARE(f.label(), QStringLiteral("过滤结果：2注"));
        // Enter on a focused "清空" clears instead of running again.
        auto* clear = f.get<QPushButton>("btnclear");
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Return);
        QCOMPARE(f.label(), QStringLiteral("过滤结果："));
        QCOMPARE(f.memcode()->lineCount(), 0);
        QVERIFY(f.dialogs->messages.isEmpty());
    }

    void focusReturnsToFilterAfterEveryRunAndLoad()
    {
        Fixture f;
        f.w->show();
        f.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.w.get()));
        auto* filter = f.get<QPushButton>("btnfilt");
        f.range("chkhei", "comhei1", "21", "comhei2", "22");
        f.clickBlue(1);
        filter->setFocus();
        // A run that lists bets, then Enter runs again (a refused run: no condition left).
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(f.label(), QStringLiteral("过滤结果：2注"));
        QCOMPARE(QApplication::focusWidget(), filter);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.dialogs->texts(), QStringList({QStringLiteral("请选择过滤条件！")}));
        QCOMPARE(QApplication::focusWidget(), filter);

        // Save, then load the file back: focus is on "过滤" again.
        const QString file = f.home.file("two.txt");
        f.dialogs->saveAnswers << file;
        f.click("btnsave");
        f.dialogs->openAnswers << file;
        f.click("btnload");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：2注"));
        QCOMPARE(QApplication::focusWidget(), filter);
    }

    void handEditIsKeptAndSaved()
    {
        Fixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        f.range("chkhei", "comhei1", "21", "comhei2", "22");
        f.clickBlue(1);
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：2注"));
        BetListView* memo = f.memcode();
        memo->setFocus();
        memo->setCurrentLine(1);
        QTest::keyClick(memo, Qt::Key_F2);
        QLineEdit* editor = memo->editor();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), QStringLiteral("0000002    01 02 03 04 05 07+01"));
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("0000002    08 09 10 11 12 13+05"));
        QTest::keyClick(editor, Qt::Key_Return); // keeps the edit; no run starts
        QVERIFY(!editor->isVisible());
        QCOMPARE(memo->lineText(1), QStringLiteral("0000002    08 09 10 11 12 13+05"));
        QVERIFY(memo->isEdited(1));
        QCOMPARE(f.label(), QStringLiteral("过滤结果：2注"));
        QVERIFY(f.dialogs->messages.isEmpty());

        // Another window writing the shared list file does not change this list.
        CombinationTable other;
        const int row[6] = {3, 7, 11, 19, 25, 33};
        other.appendRow(row);
        QVERIFY(writeBetList(fsPath(ListFilePath()), other, BetLineLayout::RedOnly).ok());
        QCOMPARE(readAll(ListFilePath()), QByteArray("0000001    03 07 11 19 25 33 \r\n"));
        QCOMPARE(memo->lineText(0), QStringLiteral("0000001    01 02 03 04 05 06+01"));

        const QString saved = f.home.file("edited.txt");
        f.dialogs->saveAnswers << saved;
        f.click("btnsave");
        QCOMPARE(readAll(saved), QByteArray("01 02 03 04 05 06+01\r\n08 09 10 11 12 13+05\r\n"));
    }

    void trendSwitchesOfTheMainWindowReachTheWindow()
    {
        TempHome home;
        DialogScript dialogs;
        home.write("h.txt", kThreeDrawsFile);
        importHistoryFile(home.database(), QStringLiteral("中国福彩双色球"), home.file("h.txt"));
        WindowContext env(5);
        LotteryState& state = env.state;
        Tfrmmain main(env.context);
        openThroughMenu(main, QStringLiteral("中国福彩双色球"));
        QVERIFY(state.LotteryOpen());

        // "变幻走势" creates the window hidden and takes the red choice away.
        main.findChild<QAction*>("tlbbianwan")->trigger();
        auto* w = qobject_cast<Tfrmtotalfilt*>(main.toolWindow("Tfrmtotalfilt"));
        QVERIFY(w);
        QVERIFY(!w->isVisible());
        auto* chkhongqiu = w->findChild<QCheckBox*>("chkhongqiu");
        auto* group = w->findChild<QGroupBox*>("GroupBox2");
        QVERIFY(!chkhongqiu->isChecked() && !chkhongqiu->isEnabled());
        QVERIFY(!group->isEnabled());
        main.findChild<QAction*>("tlbbiaozhun")->trigger();
        QVERIFY(chkhongqiu->isEnabled() && !chkhongqiu->isChecked());
        QVERIFY(group->isEnabled());

        // The menu item shows the same window; a ticked red choice is taken
        // away by the next variable switch.
        main.findChild<QAction*>("mnutotalfilt")->trigger();
        QCOMPARE(main.toolWindow("Tfrmtotalfilt"), w);
        QVERIFY(w->isVisible());
        chkhongqiu->setChecked(true);
        main.findChild<QAction*>("tlbbianwan")->trigger();
        QVERIFY(!chkhongqiu->isChecked() && !chkhongqiu->isEnabled());

        // A run in the variable trend; "清空" then switches the main window
        // back to the standard trend.
        QCOMPARE(state.TrendMode(), TrendMode::Variable);
        w->findChild<QCheckBox*>("chkdashu")->setChecked(true);
        w->findChild<QComboBox*>("comdaxiao1")->setCurrentText("0");
        w->findChild<QComboBox*>("comdaxiao2")->setCurrentText("6");
        QTest::mouseClick(w->findChild<NumberPanel*>("panblue07"), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QPushButton*>("btnfilt"), Qt::LeftButton);
        QCOMPARE(w->findChild<BetListView*>("memcode")->lineCount(), 1107568);
        QTest::mouseClick(w->findChild<QPushButton*>("btnclear"), Qt::LeftButton);
        QCOMPARE(state.TrendMode(), TrendMode::Standard);
        QVERIFY(chkhongqiu->isEnabled() && group->isEnabled());
        QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->texts().join('|')));
    }

    void lotteriesTheWindowCannotFilter()
    {
        {
            // No blue numbers: no enabled blue panel, every run stops there.
            Fixture f(MarkSix(), DrawHistory(7, 0));
            QVERIFY(!f.w->findChild<NumberPanel*>("panblue01")->isEnabled());
            QVERIFY(f.w->findChild<NumberPanel*>("panred49")->isEnabled());
            f.range("chkhei", "comhei1", "100", "comhei2", "200");
            f.clickBlue(1);
            f.click("btnfilt");
            QCOMPARE(f.dialogs->lastText(), QStringLiteral("请点击你要选择的蓝球！"));
        }
        {
            // Four numbers a bet: no table of all combinations is held.
            LotteryParams four{"甲", LotteryKind::Lotto, 20, 4, 10, 1};
            Fixture f(four, DrawHistory(4, 1));
            QVERIFY(f.state.AllCombinations().empty());
            f.range("chkhei", "comhei1", "10", "comhei2", "60");
            f.clickBlue(1);
            f.click("btnfilt");
            QCOMPARE(f.dialogs->lastText(), QString::fromUtf8(kNoCombinationsMessage));
            QCOMPARE(f.label(), QStringLiteral("过滤结果："));
        }
    }

    void everyCombinationWithEveryBlue()
    {
        // The list file and the saved copy take about 1 GB.
        const QStorageInfo disk(QDir::tempPath());
        if (disk.isValid() && disk.bytesAvailable() < qint64(3) * 1024 * 1024 * 1024)
            QSKIP("less than 3 GB free in the temporary folder for the 17.7-million-line list");
        Fixture f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w.get()));
        f.range("chkdashu", "comdaxiao1", "0", "comdaxiao2", "6");
        for (int n = 1; n <= 16; ++n)
            f.clickBlue(n);
        f.click("btnfilt");
        QCOMPARE(f.label(), QStringLiteral("过滤结果：17721088注"));
        BetListView* memo = f.memcode();
        QCOMPARE(memo->lineCount(), 17721088);
        memo->resize(320, 200);
        memo->scrollToLine(17721087);
        QCOMPARE(memo->visibleLines().last(), QStringLiteral("17721088    28 29 30 31 32 33+16"));
        QCOMPARE(memo->lineText(9999999).left(12), QStringLiteral("10000000    "));

        const QString saved = f.home.file("all.txt");
        f.dialogs->saveAnswers << saved;
        f.click("btnsave");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("成功保存！"));
        QFile file(saved);
        const qint64 line = 22; // "01 02 03 04 05 06+01\r\n"
        QCOMPARE(file.size(), 17721088 * line);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.seek(9999999 * line));
        QCOMPARE(file.read(line), (memo->lineText(9999999).mid(12) + "\r\n").toLatin1());
        QVERIFY(file.seek(file.size() - line));
        QCOMPARE(file.read(line), QByteArray("28 29 30 31 32 33+16\r\n"));
    }
};

QTEST_MAIN(TotalFilterWindowTest)
#include "tst_totalfilt.moc"
