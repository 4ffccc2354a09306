// The intersection window: import, intersection with the special choices,
// double-click view, save, clear and refusals.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "data/program_dir.h"
#include "filter/u_jiaoqi.h"
#include "support/fake_dialogs.h"
#include "support/temp_home.h"
#include "support/window_context.h"
#include "ui/bet_list_view.h"

using namespace zelvor;
using namespace zelvor::testing;

namespace {

QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

DrawHistory oneDraw()
{
    DrawHistory h(6, 1);
    h.append(2003001, std::vector<int>{1, 2, 3, 4, 5, 6}, std::vector<int>{7});
    return h;
}

struct Fixture : WindowContext {
    Fixture() : WindowContext(TwoColourBall(), oneDraw())
    {
        a = home.write("a.txt", "01 02 03 04 05 06+01\r\n01 02 03 04 05 07+02\r\n01 02 03 04 05 08+02\r\n");
        b = home.write("b.txt", "01 02 03 04 05 07+03\r\n01 02 03 04 05 06+03\r\n");
        w = std::make_unique<Tfrmjiaoqi>(context);
    }
    void click(const char* name) { QTest::mouseClick(w->findChild<QPushButton*>(name), Qt::LeftButton); }
    void import(const QStringList& files)
    {
        dialogs->openManyAnswers << files;
        click("btndaoru");
    }
    QStringList shown() const
    {
        QStringList l;
        for (qint64 i = 0; i < w->memdadi()->lineCount(); ++i)
            l << w->memdadi()->lineText(i);
        return l;
    }

    TempHome home;
    DialogScript dialogs;
    QString a, b;
    std::unique_ptr<Tfrmjiaoqi> w;
};

} // namespace

class IntersectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void importIntersectSaveAndClear()
    {
        Fixture f;
        QCOMPARE(f.w->windowTitle(), QStringLiteral("多重大底交集"));
        QVERIFY(!f.w->edtteima()->isEnabled());
        f.import({f.a, f.b});
        QCOMPARE(f.w->lstdadi()->count(), 2);
        QCOMPARE(f.w->lstdadi()->item(0)->text(), QStringLiteral("a.txt"));
        QCOMPARE(f.w->lstdadi()->selectedItems().size(), 2);
        QCOMPARE(f.w->lbldadi()->text(), QStringLiteral("最终交集："));

        f.click("btnjiaoqi");
        QVERIFY2(f.dialogs->messages.isEmpty(), qPrintable(f.dialogs->lastText()));
        QCOMPARE(f.w->lbldadi()->text(), QStringLiteral("最终交集：6注"));
        QCOMPARE(f.shown(), QStringList({"0000001    01 02 03 04 05 06+01", "0000002    01 02 03 04 05 06+02",
                                         "0000003    01 02 03 04 05 06+03", "0000004    01 02 03 04 05 07+01",
                                         "0000005    01 02 03 04 05 07+02", "0000006    01 02 03 04 05 07+03"}));
        QCOMPARE(readAll(ListFilePath()).count("\r\n"), 6);

        // Typed specials.
        f.w->optteima(3)->click();
        QVERIFY(f.w->edtteima()->isEnabled());
        f.w->edtteima()->setText("11,03");
        f.click("btnjiaoqi");
        QCOMPARE(f.shown(), QStringList({"0000001    01 02 03 04 05 06+03", "0000002    01 02 03 04 05 06+11",
                                         "0000003    01 02 03 04 05 07+03", "0000004    01 02 03 04 05 07+11"}));

        f.dialogs->saveAnswers << f.home.file("saved.txt");
        f.click("btnsave");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("成功保存！"));
        QCOMPARE(readAll(f.home.file("saved.txt")),
                 QByteArray("0000001    01 02 03 04 05 06+03 \r\n0000002    01 02 03 04 05 06+11 \r\n"
                            "0000003    01 02 03 04 05 07+03 \r\n0000004    01 02 03 04 05 07+11 \r\n"));

        f.w->lstdadiDblClick(0);
        QCOMPARE(f.w->lbldadi()->text(), QStringLiteral("最终交集：3注"));
        QCOMPARE(f.shown().first(), QStringLiteral("01 02 03 04 05 06+01"));

        f.click("btncls");
        QCOMPARE(f.w->lstdadi()->count(), 0);
        QCOMPARE(f.w->memdadi()->lineCount(), 0);
        QCOMPARE(f.w->lbldadi()->text(), QStringLiteral("最终交集："));
        QVERIFY(f.w->optteima(0)->isChecked());
        QVERIFY(!f.w->edtteima()->isEnabled());
        QVERIFY(f.w->edtteima()->text().isEmpty());
    }

    void refusalsKeepTheListFile()
    {
        Fixture f;
        f.click("btnjiaoqi");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("请先导入大底文件！"));
        f.import({f.a, f.b});
        QFile::remove(ListFilePath());
        f.home.write("temp.txt", "old\r\n");
        f.w->edtnum2()->setText("2");
        f.click("btnjiaoqi");
        QVERIFY(f.dialogs->lastText().startsWith(QStringLiteral("交集容错")));
        f.w->edtnum2()->setText("x");
        f.click("btnjiaoqi");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("“x”不是有效的整数。"));
        f.w->edtnum2()->setText("0");
        f.w->optteima(3)->click();
        f.w->edtteima()->setText("17");
        f.click("btnjiaoqi");
        QCOMPARE(f.dialogs->lastText(), QStringLiteral("特码必须在1到16之间！"));
        QCOMPARE(readAll(ListFilePath()), QByteArray("old\r\n"));
        QCOMPARE(f.w->lbldadi()->text(), QStringLiteral("最终交集："));
    }
};

QTEST_MAIN(IntersectionWindowTest)
#include "tst_jiaoqi.moc"
