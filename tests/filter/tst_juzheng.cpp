// The rotating-matrix window: box rule, generation from a wheel file, saving.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include "app/window_registry.h"
#include "filter/u_juzheng.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::testing;

class WheelWindowTest : public QObject {
    Q_OBJECT

    struct Harness : WindowContext {
        TempHome home;
        std::unique_ptr<Tfrmjuzheng> w;
        Harness()
        {
            // No lottery is open: the window needs none.
            QDir(home.path()).mkpath(QStringLiteral("旋转矩阵"));
            w.reset(qobject_cast<Tfrmjuzheng*>(toolWindowFactory("Tfrmjuzheng")(context, nullptr)));
        }
        void type(const QStringList& numbers)
        {
            for (int n = 0; n < numbers.size(); ++n)
                w->numberBox(n)->setText(numbers[n]);
        }
        QString cell(int row, int column) const
        {
            auto* grid = w->findChild<QTableView*>("tabcode");
            return grid->model()->index(row, column).data().toString();
        }
    };

private slots:
    void boxRuleFollowsTheMatrixType()
    {
        Harness t;
        auto visible = [&] {
            int n = 0;
            while (n < WheelBoxCount && !t.w->numberBox(n)->isHidden())
                ++n;
            return n;
        };
        QCOMPARE(visible(), 10);
        t.w->findChild<QRadioButton*>()->parentWidget()->findChildren<QRadioButton*>()[1]->click(); // 胆拖式
        QCOMPARE(t.w->findChild<QComboBox*>("commainnum")->currentText(), QStringLiteral("9"));
        QCOMPARE(t.w->findChild<QComboBox*>("comdannum")->currentText(), QStringLiteral("1"));
        QVERIFY(t.w->findChild<QComboBox*>("comdannum")->isEnabled());
        QCOMPARE(visible(), 10);
        QVERIFY(t.w->numberBox(9)->styleSheet().contains("red"));
        QVERIFY(t.w->numberBox(8)->styleSheet().contains("white"));
        // Changing the pick type alone changes neither counts nor boxes.
        t.w->findChild<QComboBox*>("comcainum")->setCurrentIndex(3);
        QCOMPARE(visible(), 10);
    }

    void generatesSavesAndKeepsTheGridOnARefusal()
    {
        DialogScript dialogs;
        Harness t;
        t.home.write(QStringLiteral("旋转矩阵/选六型07码中6保5.txt"), "1 2 3 4 5 6\r\n2 3 4 5 6 7\r\n");
        t.w->findChild<QComboBox*>("commainnum")->setCurrentText("7");
        t.type({"33", "1", "17", "8", "21", "05", "12"});
        t.w->findChild<QPushButton*>("btngen")->click();
        QVERIFY2(dialogs->messages.isEmpty(), qPrintable(dialogs->lastText()));
        QCOMPARE(t.w->findChild<QLabel*>("Label1")->text(), QStringLiteral("投注号码：共2 注"));
        QCOMPARE(t.w->findChild<QLineEdit*>("edtjushu")->text(), QStringLiteral("2"));
        QCOMPARE(t.cell(0, 0), QStringLiteral("1"));
        QCOMPARE(t.cell(0, 1), QStringLiteral("01"));
        QCOMPARE(t.cell(0, 6), QStringLiteral("33"));
        QCOMPARE(t.cell(1, 1), QStringLiteral("01"));
        QCOMPARE(t.cell(1, 6), QStringLiteral("21"));

        // 5 and 05 are one number: refused, the grid stays.
        t.w->numberBox(0)->setText("5");
        t.w->findChild<QPushButton*>("btngen")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("请不要输入重复的号码数字！"));
        QCOMPARE(t.w->bets().size(), 2u);
        QCOMPARE(t.w->findChild<QLabel*>("Label1")->text(), QStringLiteral("投注号码：共2 注"));

        // Saving: proposed in 附属 as 选六型7码中6保5投注号码.txt, lines of "%.2d " and CR LF.
        const QString out = t.home.file("bets.txt");
        dialogs->saveAnswers << out;
        t.w->findChild<QPushButton*>("btnsave")->click();
        QCOMPARE(dialogs->proposedNames.last(), t.home.path() + QStringLiteral("/附属/|选六型7码中6保5投注号码.txt"));
        QCOMPARE(dialogs->lastText(), QStringLiteral("成功保存！"));
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("01 05 08 17 21 33 \r\n01 05 08 12 17 21 \r\n"));
    }

    void nothingToSaveAndNoMatrix()
    {
        DialogScript dialogs;
        Harness t;
        t.w->findChild<QPushButton*>("btnsave")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("号码表格为空，无法保存！"));
        t.w->findChild<QPushButton*>("btngen")->click();
        QCOMPARE(dialogs->lastText(), QStringLiteral("没有该类型的矩阵！"));
    }
};

QTEST_MAIN(WheelWindowTest)
#include "tst_juzheng.moc"
