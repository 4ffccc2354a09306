// The plan windows: generation and its messages, the variable plan's entry
// states and refusals, save and load (a bad file leaves the window as it
// was), and printing to PDF.
#include <QtTest>

#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

#include "app/window_registry.h"
#include "invest/u_jihua.h"
#include "support/fake_dialogs.h"
#include "support/window_context.h"

using namespace zelvor;
using namespace zelvor::invest;
using namespace zelvor::testing;

namespace {

std::unique_ptr<TfrmjihuaBase> open(WindowContext& c, const char* cls)
{
    return std::unique_ptr<TfrmjihuaBase>(
        qobject_cast<TfrmjihuaBase*>(toolWindowFactory(QString::fromLatin1(cls))(c.context, nullptr)));
}

QString cell(QTableWidget* g, int r, int c) { return g->item(r, c) ? g->item(r, c)->text() : QString(); }

int pdfPages(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page>>") +
                            pdf.count("/Type /Page "));
}

} // namespace

class TestJihua : public QObject {
    Q_OBJECT
private slots:
    void fixedPlanGeneratesAndRefuses()
    {
        WindowContext c;
        DialogScript script;
        auto w = open(c, "Tfrmgudingjihua");
        QCOMPARE(w->windowTitle(), QStringLiteral("固定计划投资"));
        w->findChild<QPushButton*>("btnala")->click();
        QTableWidget* g = w->grid();
        QCOMPARE(g->rowCount(), 80);
        QCOMPARE(g->horizontalHeaderItem(0)->text(), QStringLiteral("投注期号"));
        QCOMPARE(cell(g, 79, 3), QStringLiteral("1584"));
        QCOMPARE(script->lastText(), QStringLiteral("平均每期净利润为:551"));

        w->field(FieldW)->setText("16");
        w->findChild<QPushButton*>("btnala")->click();
        QCOMPARE(script->lastText(), QStringLiteral("所需倍数太大，无法投注！"));
        QCOMPARE(g->rowCount(), 80);
    }

    void variablePlanStatesAndRefusals()
    {
        WindowContext c;
        DialogScript script;
        auto w = open(c, "Tfrmkeibianjihua");
        auto* add = w->findChild<QPushButton*>("btnjisuan");
        auto* nw = w->findChild<QPushButton*>("btnnew");
        QVERIFY(!add->isEnabled());
        nw->click();
        QCOMPARE(nw->text(), QStringLiteral("取消保存"));
        QVERIFY(add->isEnabled());
        QVERIFY(!w->findChild<QPushButton*>("btnclose")->isEnabled());
        w->field(FieldN)->setText("2");
        add->click();
        QCOMPARE(cell(w->grid(), 0, 6), QStringLiteral("984"));
        w->field(FieldB)->setText("600");
        add->click();
        QCOMPARE(script->lastText(), QStringLiteral("所需倍数太大，无法投注！"));
        QCOMPARE(w->grid()->rowCount(), 1);
        w->field(FieldB)->setText("8");
        add->click();
        QCOMPARE(cell(w->grid(), 1, 4), QStringLiteral("32"));
        add->click();
        QCOMPARE(script->lastText(), QStringLiteral("投资期限已满2天!"));
        nw->click();
        QCOMPARE(nw->text(), QStringLiteral("新建"));
        QCOMPARE(w->grid()->rowCount(), 0);
        QVERIFY(!add->isEnabled());
    }

    void saveLoadAndBadFile()
    {
        QTemporaryDir dir;
        WindowContext c;
        DialogScript script;
        auto w = open(c, "Tfrmjieduanjihua");
        w->findChild<QPushButton*>("btnala")->click();
        const QString file = dir.filePath("plan.txt");
        script->saveAnswers << file;
        w->btnsaveClick();
        QCOMPARE(script->lastText(), QStringLiteral("成功保存！"));

        auto other = open(c, "Tfrmjieduanjihua");
        QFile bad(dir.filePath("bad.txt"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("0\r\n10\r\n16\r\n1000\r\n80\r\n10\r\n1\r\n1\r\nx\r\n");
        bad.close();
        script->openAnswers << bad.fileName();
        other->btnloadClick();
        QCOMPARE(script->messages.last().kind, QStringLiteral("error"));
        QVERIFY(script->lastText().startsWith(QStringLiteral("计划文件第")));
        QCOMPARE(other->grid()->rowCount(), 0);

        script->openAnswers << file;
        other->btnloadClick();
        QCOMPARE(other->grid()->rowCount(), 80);
        QCOMPARE(cell(other->grid(), 79, 3), QStringLiteral("1664"));
        QCOMPARE(script->lastText(), QStringLiteral("平均每期净利润为:592"));
    }

    void printsTwentySixRowsOnTwoPages()
    {
        QTemporaryDir dir;
        WindowContext c;
        DialogScript script;
        auto w = open(c, "Tfrmgudingjihua");
        w->field(FieldN)->setText("26");
        w->btnalaClick();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir.filePath("plan.pdf");
        printer.setOutputFileName(pdf);
        QVERIFY(w->printTo(printer));
        QCOMPARE(pdfPages(pdf), 2);

        auto empty = open(c, "Tfrmkeibianjihua");
        empty->btnprintClick();
        QCOMPARE(script->lastText(), QStringLiteral("请先生成表格！"));
    }
};

QTEST_MAIN(TestJihua)
#include "tst_jihua.moc"
